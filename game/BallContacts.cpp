#include "game/BallContacts.h"

#include "app/SoundManager.h"
#include "game/BodyRegistry.h"
#include "game/Globbo.h"
#include "game/HitEffect.h"

#include <box2d/b2_body.h>
#include <box2d/b2_contact.h>
#include <box2d/b2_fixture.h>

#include <algorithm>

namespace {

b2Vec2 Direction(const b2Vec2& v) {
    const float length = v.Length();
    return length < b2_epsilon ? v : (1.0f / length) * v;
}

bool IsKind(const BodyRecord* record, int kind) {
    return record != nullptr && record->kind == kind;
}

}  // namespace

void BallContacts::OnPostSolve(Level& level, b2Contact* contact, const b2ContactImpulse* impulse) {
    b2Body* bodyA = contact->GetFixtureA()->GetBody();
    b2Body* bodyB = contact->GetFixtureB()->GetBody();
    BodyRecord* a = FindBodyRecord(bodyA);
    BodyRecord* b = FindBodyRecord(bodyB);
    if (IsKind(a, kBallBody) && IsKind(b, kRingBody) && b->owner != nullptr) {
        OnBallTouchesCreature(level, *a, *b->owner);
    } else if (IsKind(b, kBallBody) && IsKind(a, kRingBody) && a->owner != nullptr) {
        OnBallTouchesCreature(level, *b, *a->owner);
    }
    if (MakesSound(a, b)) {
        const float strength = impulse != nullptr && impulse->count > 0 ? impulse->normalImpulses[0] : 0.0f;
        SoundManager::GetInstance().PlayCollisionSound(bodyA, bodyB, strength);
    }
}

void BallContacts::OnBallTouchesCreature(Level& level, BodyRecord& ball, Globbo& creature) {
    const bool spatByAnother = ball.state == kBallSpat && ball.owner != &creature;
    if (ball.state != kBallFree && !(m_Takes == Takes::kFreeAndSpat && spatByAnother)) {
        return;
    }
    ball.state = kBallQueued;
    const std::pair<b2Body*, Globbo*> entry(ball.body, &creature);
    if (std::none_of(m_Pending.begin(), m_Pending.end(),
                     [&](const auto& queued) { return queued.first == ball.body; })) {
        m_Pending.push_back(entry);
    }
    if (ball.owner != nullptr && ball.owner != &creature) {
        AddHitEffect(level, creature, *ball.body, Direction(ball.body->GetPosition() - creature.m_Center));
    }
}

void BallContacts::TakeIn() {
    // Taking a ball in never reaches back into the queue, but the queue is emptied first anyway.
    std::vector<std::pair<b2Body*, Globbo*>> pending;
    pending.swap(m_Pending);
    for (const auto& [ball, creature] : pending) {
        creature->TakeIn(FindBodyRecord(ball));
    }
}

bool BallContacts::MakesSound(const BodyRecord* a, const BodyRecord* b) {
    if (IsKind(a, kRingBody) || IsKind(b, kRingBody)) {
        return false;
    }
    return !(IsKind(a, kBallBody) && IsKind(b, kBallBody) && a->state != kBallFree && b->state != kBallFree);
}
