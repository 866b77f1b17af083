#include "game/b2ConstantVolumeJoint.h"

#include "game/Box2DAccess.h"
#include "game/RingSolver.h"

#include <box2d/b2_body.h>
#include <box2d/b2_contact.h>
#include <box2d/b2_distance_joint.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_time_step.h>
#include <box2d/b2_world.h>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>

namespace {

// Box2D's joint constructor takes its definition by pointer.
const b2JointDef* AddressOf(const b2JointDef& def) {
    return &def;
}

}  // namespace

b2JointDef b2ConstantVolumeJoint::BaseDef(const b2ConstantVolumeJointDef& def) {
    b2JointDef base;
    base.type = e_unknownJoint;
    base.userData = def.userData;
    base.bodyA = def.bodies[0];
    base.bodyB = def.bodies[1];
    base.collideConnected = false;
    return base;
}

b2ConstantVolumeJoint::b2ConstantVolumeJoint(const b2ConstantVolumeJointDef& def)
    : b2Joint(AddressOf(BaseDef(def))),
      m_BodyCount(static_cast<int>(def.bodies.size())),
      m_CorrectionTime(def.correctionTime),
      m_World(def.bodies[0]->GetWorld()) {
    std::copy(def.bodies.begin(), def.bodies.end(), m_Bodies.begin());
    MeasureRing();
    m_TargetVolume = m_Area;
    CreateEdgeJoints(def.frequencyHz, def.dampingRatio);
}

void b2ConstantVolumeJoint::CreateEdgeJoints(float frequencyHz, float dampingRatio) {
    for (int i = 0; i < m_BodyCount; ++i) {
        b2Body* a = m_Bodies[i];
        b2Body* b = m_Bodies[(i + 1) % m_BodyCount];
        b2DistanceJointDef edge;
        edge.Initialize(a, b, a->GetWorldCenter(), b->GetWorldCenter());
        if (frequencyHz > 0.0f) {
            // A soft spring about the rest length, without hard limits.
            b2LinearStiffness(edge.stiffness, edge.damping, frequencyHz, dampingRatio, a, b);
            edge.minLength = 0.0f;
            edge.maxLength = FLT_MAX;
        }
        m_EdgeJoints[i] = static_cast<b2DistanceJoint*>(m_World->CreateJoint(&edge));
    }
}

void b2ConstantVolumeJoint::Inflate(float factor) {
    if (std::isfinite(factor) && factor >= 0.0f) {
        m_TargetVolume *= factor;
    }
}

bool b2ConstantVolumeJoint::HoldsBody(const b2Body* body) const {
    return std::find(m_Bodies.begin(), m_Bodies.begin() + m_BodyCount, body) != m_Bodies.begin() + m_BodyCount;
}

void b2ConstantVolumeJoint::ForgetEdgeJoint(const b2Joint* edge) {
    for (int i = 0; i < m_BodyCount; ++i) {
        if (m_EdgeJoints[i] == edge) {
            m_EdgeJoints[i] = nullptr;
            m_Broken = true;
        }
    }
}

void b2ConstantVolumeJoint::Link() {
    using namespace box2d_access;
    // Other joints' links are protected members of b2Joint, reached through a member pointer.
    b2Joint* b2Joint::*prev = &b2ConstantVolumeJoint::m_prev;
    b2Joint*& worldList = JointList(*m_World);
    m_prev = nullptr;
    m_next = worldList;
    if (worldList != nullptr) {
        worldList->*prev = this;
    }
    worldList = this;
    ++JointCount(*m_World);

    for (auto [edge, body, other] : {std::tuple{&m_edgeA, m_bodyA, m_bodyB}, std::tuple{&m_edgeB, m_bodyB, m_bodyA}}) {
        b2JointEdge*& bodyList = JointList(*body);
        edge->joint = this;
        edge->other = other;
        edge->prev = nullptr;
        edge->next = bodyList;
        if (bodyList != nullptr) {
            bodyList->prev = edge;
        }
        bodyList = edge;
    }
    // The joint keeps its first two bodies apart.
    RefilterContacts();
}

void b2ConstantVolumeJoint::Unlink() {
    using namespace box2d_access;
    b2Joint* b2Joint::*prev = &b2ConstantVolumeJoint::m_prev;
    b2Joint* b2Joint::*next = &b2ConstantVolumeJoint::m_next;
    if (m_prev != nullptr) {
        m_prev->*next = m_next;
    }
    if (m_next != nullptr) {
        m_next->*prev = m_prev;
    }
    b2Joint*& worldList = JointList(*m_World);
    if (worldList == this) {
        worldList = m_next;
    }
    --JointCount(*m_World);

    for (auto [edge, body] : {std::pair{&m_edgeA, m_bodyA}, std::pair{&m_edgeB, m_bodyB}}) {
        body->SetAwake(true);
        if (edge->prev != nullptr) {
            edge->prev->next = edge->next;
        }
        if (edge->next != nullptr) {
            edge->next->prev = edge->prev;
        }
        b2JointEdge*& bodyList = JointList(*body);
        if (bodyList == edge) {
            bodyList = edge->next;
        }
        edge->prev = nullptr;
        edge->next = nullptr;
    }
    RefilterContacts();
}

// A contact between the first two bodies is filtered again, now that the joint's say changed.
// Box2D's own filter flag is out of reach; refiltering the first body's fixtures sets it.
void b2ConstantVolumeJoint::RefilterContacts() {
    for (b2ContactEdge* contact = m_bodyB->GetContactList(); contact != nullptr; contact = contact->next) {
        if (contact->other == m_bodyA) {
            for (b2Fixture* fixture = m_bodyA->GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
                fixture->Refilter();
            }
            return;
        }
    }
}

void b2ConstantVolumeJoint::MeasureRing() {
    if (m_Solvable) {
        // Inside a step the solver's positions are the current ones.
        std::copy(m_Centres.begin(), m_Centres.begin() + m_BodyCount, m_MeasuredPoints.begin());
    } else {
        for (int i = 0; i < m_BodyCount; ++i) {
            m_MeasuredPoints[i] = m_Bodies[i]->GetWorldCenter();
        }
    }
    m_MeasuredCount = m_BodyCount;
    m_OutlineTraced = false;
    m_Area = RingArea(m_MeasuredPoints.data(), m_BodyCount);
    m_Perimeter = RingPerimeter(m_MeasuredPoints.data(), m_BodyCount);
}

const OutlineTracer& b2ConstantVolumeJoint::GetOutline() const {
    if (!m_OutlineTraced) {
        m_Outline.Trace(m_MeasuredPoints.data(), m_MeasuredCount);
        m_OutlineTraced = true;
    }
    return m_Outline;
}

// Box2D solves each island with its own arrays, indexed by the bodies' island indices. The ring is
// solved only when every body is in this island: its index is in range and the solver's copy of
// its centre is its own (at the start of a step the solver copies the bodies' centres unchanged).
bool b2ConstantVolumeJoint::FindIslandIndices(const b2SolverData& data) {
    const int32 bodyCount = m_World->GetBodyCount();
    for (int i = 0; i < m_BodyCount; ++i) {
        const b2Body& body = *m_Bodies[i];
        const int32 index = box2d_access::IslandIndex(body);
        if (index < 0 || index >= bodyCount) {
            return false;
        }
        const b2Vec2& centre = data.positions[index].c;
        const b2Vec2& own = body.GetWorldCenter();
        if (centre.x != own.x || centre.y != own.y) {
            return false;
        }
        m_IslandIndices[i] = index;
    }
    return true;
}

void b2ConstantVolumeJoint::GatherCentres(const b2SolverData& data) {
    for (int i = 0; i < m_BodyCount; ++i) {
        m_Centres[i] = data.positions[m_IslandIndices[i]].c;
    }
}

void b2ConstantVolumeJoint::ScatterCentres(const b2SolverData& data) const {
    for (int i = 0; i < m_BodyCount; ++i) {
        data.positions[m_IslandIndices[i]].c = m_Centres[i];
    }
}

void b2ConstantVolumeJoint::InitVelocityConstraints(const b2SolverData& data) {
    m_Solvable = !m_Broken && FindIslandIndices(data);
    if (!m_Solvable) {
        return;
    }
    for (int i = 0; i < m_BodyCount; ++i) {
        const b2Body& body = *m_Bodies[i];
        m_InvMasses[i] = body.GetType() == b2_dynamicBody && body.GetMass() > 0.0f ? 1.0f / body.GetMass() : 0.0f;
        m_Touching[i] = false;
        for (const b2ContactEdge* contact = body.GetContactList(); contact != nullptr; contact = contact->next) {
            if (contact->contact->IsTouching()) {
                m_Touching[i] = true;
                break;
            }
        }
    }
    GatherCentres(data);
    RingNormals(m_Centres.data(), m_BodyCount, m_Normals.data());
    MeasureRing();
}

void b2ConstantVolumeJoint::SolveVelocityConstraints(const b2SolverData& data) {
    if (!m_Solvable) {
        return;
    }
    for (int i = 0; i < m_BodyCount; ++i) {
        m_Velocities[i] = data.velocities[m_IslandIndices[i]].v;
    }
    SolveRingVelocity(m_Centres.data(), m_Velocities.data(), m_InvMasses.data(), m_Normals.data(), m_BodyCount);
    for (int i = 0; i < m_BodyCount; ++i) {
        data.velocities[m_IslandIndices[i]].v = m_Velocities[i];
    }
}

bool b2ConstantVolumeJoint::SolvePositionConstraints(const b2SolverData& data) {
    if (!m_Solvable) {
        return true;
    }
    GatherCentres(data);
    MeasureRing();
    const bool gradual = std::isnormal(m_CorrectionTime) && m_CorrectionTime > 0.0f;
    const float share = gradual ? std::min(data.step.dt / m_CorrectionTime, 1.0f) : 1.0f;
    const float error = RingVolumeError(m_TargetVolume, m_Area, m_Perimeter, share);
    bool done =
        SolveRingVolume(m_Centres.data(), m_Normals.data(), m_InvMasses.data(), m_Touching.data(), m_BodyCount, error);
    if (done) {
        done = SolveRingSpikes(m_Centres.data(), m_InvMasses.data(), m_BodyCount);
    }
    ScatterCentres(data);
    return done;
}
