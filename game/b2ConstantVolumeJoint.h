#pragma once

#include "game/OutlineTracer.h"

#include <box2d/b2_joint.h>

#include <array>
#include <vector>

class b2DistanceJoint;
class b2World;

// Definition of a constant-volume joint (game joint type 10): a closed ring of bodies, in ring order.
struct b2ConstantVolumeJointDef : b2JointDef {
    static constexpr int kType = 10;

    b2ConstantVolumeJointDef() { bodies.reserve(256); }

    std::vector<b2Body*> bodies;
    // Spring of the distance joints along the ring's edges; 0 Hz makes the edges rigid.
    float frequencyHz = 0.0f;
    float dampingRatio = 0.0f;
    // Seconds over which a volume error is corrected; 0 (or anything not a positive normal float)
    // corrects it at once.
    float correctionTime = 0.0f;
};

// Holds a ring of bodies together and keeps the area it encloses near a target, so the ring
// behaves like a soft, incompressible blob. Distance joints along the ring's edges hold its shape;
// this joint, stepped inside Box2D's island solver, pushes the bodies along their outward normals
// to keep the area. It also traces the ring's outline for drawing.
//
// Made and linked into the world by JointFactory only (Box2D knows it as e_unknownJoint), and
// unlinked by it before any of its bodies is destroyed. The edge joints belong to the world.
class b2ConstantVolumeJoint : public b2Joint {
public:
    static constexpr int kType = b2ConstantVolumeJointDef::kType;
    static constexpr int kCapacity = OutlineTracer::kCapacity;

    // The def must hold 3 to kCapacity distinct dynamic bodies of one unlocked world (JointFactory
    // checks). Creates the edge joints in that world.
    explicit b2ConstantVolumeJoint(const b2ConstantVolumeJointDef& def);
    ~b2ConstantVolumeJoint() override = default;

    // Scales the area to keep. A factor that is not finite or is negative is ignored.
    void Inflate(float factor);

    int GetBodyCount() const { return m_BodyCount; }
    b2Body* const* GetBodies() const { return m_Bodies.data(); }
    bool HoldsBody(const b2Body* body) const;
    // The outline of the ring as last measured. The solver measures the ring in every iteration,
    // yet only the last measurement's outline is ever read, so it is traced on reading.
    const OutlineTracer& GetOutline() const;
    float GetTargetVolume() const { return m_TargetVolume; }
    float GetArea() const { return m_Area; }
    float GetPerimeter() const { return m_Perimeter; }

    // Linking into and out of the world's and bodies' joint lists, as b2World does for its joints.
    void Link();
    void Unlink();

    // An edge joint was destroyed with one of the ring's bodies: the ring is broken for good and the
    // joint stops touching its bodies.
    void ForgetEdgeJoint(const b2Joint* edge);

    b2Vec2 GetAnchorA() const override { return b2Vec2_zero; }
    b2Vec2 GetAnchorB() const override { return b2Vec2_zero; }
    b2Vec2 GetReactionForce(float) const override { return b2Vec2_zero; }
    float GetReactionTorque(float) const override { return 0.0f; }
    void Dump() override {}
    void Draw(b2Draw*) const override {}

protected:
    void InitVelocityConstraints(const b2SolverData& data) override;
    void SolveVelocityConstraints(const b2SolverData& data) override;
    bool SolvePositionConstraints(const b2SolverData& data) override;

private:
    static b2JointDef BaseDef(const b2ConstantVolumeJointDef& def);
    void CreateEdgeJoints(float frequencyHz, float dampingRatio);
    bool FindIslandIndices(const b2SolverData& data);
    void GatherCentres(const b2SolverData& data);
    void ScatterCentres(const b2SolverData& data) const;
    void MeasureRing();
    void RefilterContacts();

    std::array<b2Body*, kCapacity> m_Bodies{};
    int m_BodyCount = 0;
    float m_TargetVolume = 0.0f;
    float m_CorrectionTime = 0.0f;
    b2World* m_World = nullptr;
    // The ring's points at the last measurement, and their outline once traced.
    std::array<b2Vec2, kCapacity> m_MeasuredPoints{};
    int m_MeasuredCount = 0;
    mutable bool m_OutlineTraced = false;
    mutable OutlineTracer m_Outline;
    std::array<b2Vec2, kCapacity> m_Normals{};
    float m_Perimeter = 0.0f;
    float m_Area = 0.0f;
    // The distance joints along the ring's edges: edge i joins body i and body i + 1.
    std::array<b2DistanceJoint*, kCapacity> m_EdgeJoints{};
    // Working copies of the solver's state, by ring position.
    std::array<int, kCapacity> m_IslandIndices{};
    std::array<float, kCapacity> m_InvMasses{};
    std::array<bool, kCapacity> m_Touching{};
    std::array<b2Vec2, kCapacity> m_Centres{};
    std::array<b2Vec2, kCapacity> m_Velocities{};
    // False for a step whose island does not hold the whole ring, and for good once the ring broke.
    bool m_Solvable = false;
    bool m_Broken = false;
};
