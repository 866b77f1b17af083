#pragma once

#include "app/Steerable.h"
#include "flash/FlashMovie.h"
#include "game/EyeRecord.h"
#include "game/GlobboData.h"
#include "game/ScreenMapping.h"
#include "game/SkinTopFollower.h"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <box2d/b2_math.h>
#include <box2d/b2_world_callbacks.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

class PhysicalShape;
class PhysicsWorld;
class b2Body;
class b2ConstantVolumeJoint;
struct BodyRecord;

// A player's creature: a soft body made of a ring of small circles that a constant-volume joint
// holds together, with a mouth body inside that the player pushes around, and Flash movies for
// its skin, eyes, mouth and decorations. It takes in the balls that strike it (the match hands
// them over), reports the balls inside it through its callbacks, spits them out again, and
// animates its eyes, pupils, blinking and mouth. The match, the scripted scenes and the menus'
// live previews all use it.
//
// The creature's bodies live in the physics world it was built in, which must outlive it (or at
// least its DestroyPhysics). It is built whole or not at all: when the world refuses any of its
// bodies or its joint, everything made so far is destroyed again and the creature has no
// physics (no volume joint, no bodies), so it neither moves nor draws its outline.
class Globbo : public Steerable {
public:
    static constexpr int kRingBodyCount = 42;
    // The ring's circles, in world units, which m_RingRadius takes at every build.
    static constexpr float kRingRadius = 0.5f;
    // The ring starts as an ellipse with these half axes around the start position.
    static constexpr float kRingHalfWidth = 3.0f;
    static constexpr float kRingHalfHeight = 4.0f;
    // The mouth starts this far below the start position.
    static constexpr float kMouthOffset = 1.6f;
    // The force on the mouth at full strength (N), which m_MoveForce takes at every build.
    static constexpr float kMoveForce = 200.0f;
    // A mouth outside the outline is brought back this far at once, or onto the centre when
    // nearer.
    static constexpr float kMouthReturn = 3.0f;
    // How far past its mouth a spat ball is put, and the impulse it gets (world units).
    static constexpr float kSpitDistance = 3.3f;
    static constexpr float kSpitImpulse = 40.0f;
    // The least inward speed a ball taken in gets, and how far it is pulled in at once.
    static constexpr float kTakeInSpeed = 20.0f;
    static constexpr float kTakeInStep = 3.0f;
    static constexpr float kPupilRange = 7.0f;
    // Seconds between blinks, drawn from this range.
    static constexpr float kBlinkMin = 5.0f;
    static constexpr float kBlinkMax = 8.0f;
    // The outline's edge, in twips.
    static constexpr int kOutlineWidth = 60;
    // Collision groups of the creatures' rings: each creature's own, counted down from the first
    // and starting again at it after the last, so that a group is never positive (a ring whose
    // bodies would collide with each other).
    static constexpr int kFirstGroup = -2;
    static constexpr int kLastGroup = -32768;
    // Speeds given to the bodies are kept below this (world units per second).
    static constexpr float kMaxSpeed = 1000.0f;
    // The movie every skin is drawn into.
    static constexpr const char* kSkinMovie = "data/empty.swf";

    // What the creature tells its match about a ball (or any body that is not a creature's) that
    // came inside (take) or left (let go), and what it asks before spitting one (may take).
    using BallEvent = void (*)(void* context, Globbo* creature, b2Body* ball);
    using BallQuestion = bool (*)(void* context, Globbo* creature, b2Body* ball);

    // The last steering: the direction and the force on the mouth body.
    struct Steering {
        b2Vec2 direction{0.0f, 0.0f};
        float force = 0.0f;
        b2Body* mouth = nullptr;
    };
    // The steering a fresh creature starts with.
    static constexpr float kFirstSteeringForce = 10.0f;

    // The turn (degrees, clockwise on the screen as SFML turns) that lays a skin attachment's
    // downward axis along the outward direction of a point of the outline.
    static float SkinAttachmentRotation(const b2Vec2& outwards);

    // The collision group the next creature's ring takes.
    static int NextGroup();

    // Builds the creature of the file at (x, y) (made finite and kept within 1,000 units of the
    // origin).
    Globbo(PhysicsWorld& world, const std::string& file, float x, float y);
    ~Globbo() override;
    Globbo(const Globbo&) = delete;
    Globbo& operator=(const Globbo&) = delete;

    // Reads the definition of the file, then builds. An unreadable file is logged and builds the
    // creature of the default definition.
    void Load(const std::string& file, float x, float y);
    // Builds the creature at (x, y): its movies, its ring, joint, mouth and anchor, its timers.
    // Whatever an earlier build made is destroyed first.
    void Build(float x, float y);
    // Destroys the volume joint, then each ring body, the mouth and the anchor; each leaves the
    // registry before it is destroyed, and the body-removed signal carries it afterwards.
    void DestroyPhysics();

    // One step of dt seconds: eyes, anchor, keeping the mouth inside, the mouth's and the
    // blink's timers, the centre, the skin top, and which bodies are inside.
    void Update(float dt);
    // Logs the direction (debug), pushes the mouth body with the force direction x strength x
    // m_MoveForce, and turns the facing halfway towards the direction. A direction or strength
    // that is not finite pushes nothing; a direction longer than 1 counts as its unit vector and
    // the strength is kept within 0 to 1.
    void MoveMouth(const b2Vec2& direction, float strength) override;
    // Spits the first ball inside (in registration order) that the may-take callback accepts:
    // it is put kSpitDistance past the mouth (unless the level is in the way) and pushed out.
    // The mouth and the eyes animate even when there is nothing to spit.
    void Shoot() override;
    // Pulls a ball that touched the skin inside: at least kTakeInSpeed inwards and kTakeInStep
    // units in at once. A ball already inside, and a null record, are left alone.
    void TakeIn(BodyRecord* record);
    // Whether the point lies inside the ring: edges whose x range holds the point's x (the
    // smaller end included, the larger excluded) with an end at or below the point's y, counted
    // odd. False without a ring.
    bool IsPointInside(float x, float y) const;

    // The skin: the outline filled with the body colour and edged in black, the skin attachment
    // at each of its points; the mouth movie is placed on the mouth. Nothing while hidden or
    // without a volume joint.
    void DrawOutline(sf::RenderTarget& target, const sf::RenderStates& states, const ScreenMapping& mapping);
    // The skin again, the mouth, the eyes (and their attachment) on the centre, and the skin-top
    // attachment. Nothing while hidden.
    void DrawParts(sf::RenderTarget& target, const sf::RenderStates& states, const ScreenMapping& mapping);
    // The creature drawn with its screen centre on the point (menus): the mapping's offset is
    // shifted for this drawing only. Nothing while hidden.
    void Render(sf::RenderTarget& target, const sf::RenderStates& states, const ScreenMapping& mapping,
                const sf::Vector2f& point);

    // How many of the bodies inside are balls owned by the creature.
    int CountBallsInside(const Globbo* owner) const;
    // Sets the velocity (made finite and kept below kMaxSpeed) of every moving ring body and of
    // the mouth, waking them unless it is zero.
    void SetLinearVelocity(const b2Vec2& velocity);

    void SetTakeBallCallback(void* context, BallEvent function) { m_TakeBall = {context, function}; }
    void SetMayTakeBallCallback(void* context, BallQuestion function) { m_MayTakeBall = {context, function}; }
    void SetLetGoBallCallback(void* context, BallEvent function) { m_LetGoBall = {context, function}; }

    // The volume joint; null without physics.
    b2ConstantVolumeJoint* GetJoint() const { return m_Joint; }
    const std::vector<b2Body*>& GetRingBodies() const { return m_RingBodies; }
    b2Body* GetMouthBody() const { return m_MouthBody; }
    b2Body* GetAnchorBody() const { return m_AnchorBody; }
    // The bodies inside, in the order they came in.
    const std::vector<b2Body*>& GetContents() const { return m_Contents; }
    // The ring's collision group.
    int GetGroup() const { return m_Group; }
    const b2Vec2& GetFacing() const { return m_Facing; }
    const Steering& GetLastSteering() const { return m_Steering; }
    float GetMouthTimer() const { return m_MouthTimer; }
    float GetBlinkTimer() const { return m_BlinkTimer; }
    const EyeRecord& GetEye(int index) const { return m_Eyes[index]; }
    const SkinTopFollower& GetSkinTopFollower() const { return m_SkinTop; }
    // The debug outline of the mouth body (null without physics).
    PhysicalShape* GetMouthShape() const { return m_MouthShape.get(); }
    FlashMovie& GetSkinMovie() { return m_SkinMovie; }
    FlashMovie& GetMouthMovie() { return m_MouthMovie; }
    FlashMovie& GetEyesMovie() { return m_EyesMovie; }
    // The attachments: null when the definition names none.
    FlashMovie* GetEyesAttachment() const { return m_EyesAttachment.get(); }
    FlashMovie* GetSkinAttachment() const { return m_SkinAttachment.get(); }
    FlashMovie* GetSkinTopAttachment() const { return m_SkinTopAttachment.get(); }

    // The definition, the creature's name ("characterName") and its file.
    GlobboData m_Data;
    std::string m_Name;
    std::string m_File;
    // The mean of the ring's positions (world units) and where it showed when last drawn.
    b2Vec2 m_Center{0.0f, 0.0f};
    b2Vec2 m_ScreenCenter{0.0f, 0.0f};
    // The ring's bounds, as of the last update.
    b2Vec2 m_BoundsMin{0.0f, 0.0f};
    b2Vec2 m_BoundsMax{0.0f, 0.0f};
    // Hidden creatures draw nothing.
    bool m_Visible = true;
    sf::Color m_BodyColor{0, 0, 0, 255};

private:
    template <typename Function>
    struct Callback {
        void* context = nullptr;
        Function function = nullptr;
    };

    // Reports every fixture of the ring's bounds to the contents check.
    class ContentsHelper : public b2QueryCallback {
    public:
        explicit ContentsHelper(Globbo& globbo) : m_Globbo(globbo) {}
        bool ReportFixture(b2Fixture* fixture) override;

    private:
        Globbo& m_Globbo;
    };

    // A spitting ray: blocked by the first fixture of a body that is not registered (the level),
    // while creatures and balls let it through.
    class ShootingHelper : public b2RayCastCallback {
    public:
        float ReportFixture(b2Fixture* fixture, const b2Vec2& point, const b2Vec2& normal, float fraction) override;
        bool m_Blocked = false;
    };

    void LoadMovies();
    bool BuildRing(float x, float y);
    bool BuildMouth(float x, float y);
    bool BuildAnchor(float x, float y);
    void DestroyBody(b2Body* body);

    void MeasureRing();
    void KeepMouthInside();
    void RunMouthTimer(float dt);
    void RunBlinkTimer(float dt);
    void CheckContents();
    void CheckBody(b2Body* body);
    void Take(b2Body* body);
    void LetGo(b2Body* body);
    b2Body* FindBallToSpit();
    void Spit(b2Body* ball, const b2Vec2& direction);
    void PlayMouthLabel(const char* label);

    // A point of the drawn outline: where it shows and its outward direction.
    struct OutlinePoint {
        sf::Vector2f screen;
        b2Vec2 outwards;
    };

    // The outline's points on the screen in walking order, each pushed out by the ring radius.
    std::vector<OutlinePoint> WalkedOutline(const ScreenMapping& mapping) const;
    void DrawSkin(const std::vector<OutlinePoint>& points);
    void DrawSkinAttachments(sf::RenderTarget& target, const sf::RenderStates& states,
                             const std::vector<OutlinePoint>& points);
    void FollowTopOfOutline(const std::vector<OutlinePoint>& points, const sf::Vector2f& centre);

    Callback<BallEvent> m_TakeBall;
    Callback<BallQuestion> m_MayTakeBall;
    Callback<BallEvent> m_LetGoBall;
    std::vector<b2Body*> m_Contents;
    ContentsHelper m_ContentsHelper{*this};
    PhysicsWorld& m_World;
    float m_RingRadius = kRingRadius;
    b2ConstantVolumeJoint* m_Joint = nullptr;
    std::vector<b2Body*> m_RingBodies;
    b2Body* m_MouthBody = nullptr;
    b2Body* m_AnchorBody = nullptr;
    std::unique_ptr<PhysicalShape> m_MouthShape;
    int m_Group = 0;

    FlashMovie m_SkinMovie;
    FlashMovie m_MouthMovie;
    FlashMovie m_EyesMovie;
    std::unique_ptr<FlashMovie> m_EyesAttachment;
    std::unique_ptr<FlashMovie> m_SkinAttachment;
    std::unique_ptr<FlashMovie> m_SkinTopAttachment;

    b2Vec2 m_Facing{0.0f, 0.0f};
    float m_MouthTimer = 0.0f;
    float m_BlinkTimer = 0.0f;
    std::array<EyeRecord, 2> m_Eyes;
    float m_MoveForce = kMoveForce;
    Steering m_Steering;
    SkinTopFollower m_SkinTop;
};
