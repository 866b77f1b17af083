// What a built creature does every step: steering, keeping its mouth in, the mouth's and the
// eyes' animations, which bodies are inside, taking balls in and spitting them out.
#include "app/GameRandom.h"
#include "app/Log.h"
#include "app/SoundManager.h"
#include "game/BodyRegistry.h"
#include "game/Globbo.h"
#include "game/PhysicalShape.h"
#include "game/b2ConstantVolumeJoint.h"

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_world.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr float kBoundsStart = 1.0e10f;

// The unit vector of v (its length taken in double, so that huge vectors keep their direction);
// v itself when it is too short to have a direction.
b2Vec2 Direction(const b2Vec2& v) {
    const double length = std::hypot(static_cast<double>(v.x), static_cast<double>(v.y));
    if (length < b2_epsilon) {
        return v;
    }
    return b2Vec2(static_cast<float>(v.x / length), static_cast<float>(v.y / length));
}

bool IsCreaturePart(const b2Body* body) {
    const BodyRecord* record = FindBodyRecord(body);
    return record != nullptr &&
           (record->kind == kRingBody || record->kind == kMouthBody || record->kind == kAnchorBody);
}

// A random wait from [delay, 1.5 x delay].
float Wait(float delay) {
    return GameRandom::GetInstance().Random(delay, 1.5f * delay);
}

}  // namespace

void Globbo::Update(float dt) {
    // A step that is not a finite length of time would leave the timers stuck for good.
    if (!std::isfinite(dt) || dt < 0.0f) {
        dt = 0.0f;
    }
    MeasureRing();
    for (EyeRecord& eye : m_Eyes) {
        eye.SetLookTarget(sf::Vector2f(m_Facing.x, m_Facing.y));
    }
    m_EyesMovie.Advance(dt);
    for (EyeRecord& eye : m_Eyes) {
        eye.Update(dt);
    }
    m_Facing.SetZero();
    if (m_AnchorBody != nullptr) {
        m_AnchorBody->SetTransform(m_Center, 0.0f);
    }
    KeepMouthInside();
    m_MouthMovie.Advance(dt);
    RunMouthTimer(dt);
    RunBlinkTimer(dt);
    if (m_Joint != nullptr) {
        b2Vec2 sum(0.0f, 0.0f);
        for (b2Body* body : m_RingBodies) {
            sum += body->GetPosition();
        }
        m_Center = (1.0f / static_cast<float>(m_RingBodies.size())) * sum;
    }
    m_SkinTop.Update(dt);
    if (m_MouthShape != nullptr) {
        m_MouthShape->Update(nullptr, m_World, dt);
    }
    CheckContents();
}

void Globbo::MeasureRing() {
    m_BoundsMin.Set(kBoundsStart, kBoundsStart);
    m_BoundsMax.Set(-kBoundsStart, -kBoundsStart);
    for (const b2Body* body : m_RingBodies) {
        m_BoundsMin = b2Min(m_BoundsMin, body->GetPosition());
        m_BoundsMax = b2Max(m_BoundsMax, body->GetPosition());
    }
}

void Globbo::KeepMouthInside() {
    if (m_MouthBody == nullptr) {
        return;
    }
    const b2Vec2 mouth = m_MouthBody->GetPosition();
    if (IsPointInside(mouth.x, mouth.y)) {
        return;
    }
    const b2Vec2 back = m_Center - mouth;
    const float distance = back.Length();
    if (distance >= kMouthReturn) {
        m_MouthBody->SetTransform(mouth + (kMouthReturn / distance) * back, m_MouthBody->GetAngle());
    } else {
        m_MouthBody->SetTransform(m_Center, 0.0f);
    }
}

void Globbo::PlayMouthLabel(const char* label) {
    m_MouthMovie.GotoLabel(label, true);
}

// The mouth closes from its resting frame and opens again from "closed"; whatever it is doing
// meanwhile (spitting, say) it is left to finish.
void Globbo::RunMouthTimer(float dt) {
    m_MouthTimer -= dt;
    if (m_MouthTimer > 0.0f) {
        return;
    }
    float delay = m_Data.m_Mouth.m_OpenDelay;
    const swfplayer::root* root = m_MouthMovie.GetRoot();
    if (root != nullptr && root->get_current_frame() == 0) {
        PlayMouthLabel("close");
        delay = m_Data.m_Mouth.m_ClosedDelay;
    } else if (root != nullptr) {
        int closed = -1;
        if (root->get_movie_definition()->get_labeled_frame("closed", &closed) && root->get_current_frame() == closed) {
            PlayMouthLabel("open");
        }
    }
    m_MouthTimer = Wait(delay);
}

void Globbo::RunBlinkTimer(float dt) {
    m_BlinkTimer -= dt;
    if (m_BlinkTimer <= 0.0f) {
        for (EyeRecord& eye : m_Eyes) {
            eye.PlayLabel("blink");
        }
        m_BlinkTimer = GameRandom::GetInstance().Random(kBlinkMin, kBlinkMax);
    }
}

bool Globbo::IsPointInside(float x, float y) const {
    if (m_Joint == nullptr) {
        return false;
    }
    const size_t count = m_RingBodies.size();
    int crossings = 0;
    for (size_t i = 0; i < count; ++i) {
        const b2Vec2& a = m_RingBodies[i]->GetPosition();
        const b2Vec2& b = m_RingBodies[(i + 1) % count]->GetPosition();
        if (x >= std::min(a.x, b.x) && x < std::max(a.x, b.x) && (a.y >= y || b.y >= y)) {
            ++crossings;
        }
    }
    return crossings % 2 == 1;
}

void Globbo::MoveMouth(const b2Vec2& direction, float strength) {
    log_debug("Globbo::MoveMouth: direction=(%f,%f)", direction.x, direction.y);
    if (!direction.IsValid() || !std::isfinite(strength)) {
        return;
    }
    const b2Vec2 push = direction.LengthSquared() > 1.0f ? Direction(direction) : direction;
    const float force = m_MoveForce * std::clamp(strength, 0.0f, 1.0f);
    m_Steering = {push, force, m_MouthBody};
    if (m_MouthBody != nullptr) {
        m_MouthBody->ApplyForce(force * push, m_MouthBody->GetWorldCenter(), true);
    }
    b2Vec2 facing = 0.5f * (m_Facing + push);
    const float length = facing.Length();
    if (std::isfinite(length) && length > 0.0f) {
        facing *= 1.0f / length;
    }
    m_Facing = facing;
}

// ---- Contents ----

bool Globbo::ContentsHelper::ReportFixture(b2Fixture* fixture) {
    m_Globbo.CheckBody(fixture->GetBody());
    return true;
}

void Globbo::CheckContents() {
    if (m_Joint == nullptr) {
        return;
    }
    b2AABB bounds;
    bounds.lowerBound = m_BoundsMin;
    bounds.upperBound = m_BoundsMax;
    m_World.GetWorld()->QueryAABB(&m_ContentsHelper, bounds);
    // The callbacks may change the list: the walk goes over a copy.
    const std::vector<b2Body*> listed = m_Contents;
    for (b2Body* body : listed) {
        if (!IsCreaturePart(body) && !IsPointInside(body->GetPosition().x, body->GetPosition().y)) {
            LetGo(body);
        }
    }
}

void Globbo::CheckBody(b2Body* body) {
    if (IsCreaturePart(body)) {
        return;
    }
    const bool inside = IsPointInside(body->GetPosition().x, body->GetPosition().y);
    const bool listed = std::find(m_Contents.begin(), m_Contents.end(), body) != m_Contents.end();
    if (inside && !listed) {
        Take(body);
    } else if (!inside && listed) {
        LetGo(body);
    }
}

void Globbo::Take(b2Body* body) {
    if (std::find(m_Contents.begin(), m_Contents.end(), body) != m_Contents.end()) {
        return;
    }
    m_Contents.push_back(body);
    if (m_TakeBall.function != nullptr) {
        m_TakeBall.function(m_TakeBall.context, this, body);
    }
}

void Globbo::LetGo(b2Body* body) {
    if (std::find(m_Contents.begin(), m_Contents.end(), body) == m_Contents.end()) {
        return;
    }
    if (m_LetGoBall.function != nullptr) {
        m_LetGoBall.function(m_LetGoBall.context, this, body);
    }
    std::erase(m_Contents, body);
}

int Globbo::CountBallsInside(const Globbo* owner) const {
    return static_cast<int>(std::count_if(m_Contents.begin(), m_Contents.end(), [owner](const b2Body* body) {
        const BodyRecord* record = FindBodyRecord(body);
        return record != nullptr && record->kind == kBallBody && record->owner == owner;
    }));
}

// ---- Taking in and spitting ----

// A ball queued by its touch is pulled through the skin; one that a creature took in since (held,
// or a burden where the two creatures overlap) keeps its state and is left where it is.
void Globbo::TakeIn(BodyRecord* record) {
    if (record == nullptr || record->body == nullptr || m_Joint == nullptr || record->state == kBallHeld ||
        record->state == kBallBurden) {
        return;
    }
    b2Body* ball = record->body;
    const b2Vec2 position = ball->GetPosition();
    if (IsPointInside(position.x, position.y)) {
        return;
    }
    const b2Vec2 inwards = Direction(m_Center - position);
    const b2Vec2 velocity = ball->GetLinearVelocity();
    if (b2Dot(velocity, inwards) < kTakeInSpeed) {
        ball->SetLinearVelocity(velocity + kTakeInSpeed * inwards);
    }
    ball->SetTransform(position + kTakeInStep * inwards, ball->GetAngle());
    record->state = kBallFree;
    const bool foreign = record->owner != nullptr && record->owner != this;
    SoundManager::GetInstance().PlayRandom(foreign ? "data/sounds/hit%d.wav" : "data/sounds/swallow%d.wav", 1, 5, 1.0f);
}

float Globbo::ShootingHelper::ReportFixture(b2Fixture* fixture, const b2Vec2&, const b2Vec2&, float) {
    if (FindBodyRecord(fixture->GetBody()) != nullptr) {
        return -1.0f;
    }
    m_Blocked = true;
    return 0.0f;
}

void Globbo::Shoot() {
    const b2Vec2 direction = m_MouthBody != nullptr ? Direction(m_MouthBody->GetPosition() - m_Center) : b2Vec2_zero;
    PlayMouthLabel("suckoff");
    if (b2Body* ball = FindBallToSpit()) {
        Spit(ball, direction);
    }
    PlayMouthLabel("spit");
    m_MouthTimer = Wait(m_Data.m_Mouth.m_OpenDelay);
    for (EyeRecord& eye : m_Eyes) {
        eye.PlayLabel("blinkfast");
    }
    m_BlinkTimer = GameRandom::GetInstance().Random(kBlinkMin, kBlinkMax);
}

b2Body* Globbo::FindBallToSpit() {
    if (m_Joint == nullptr) {
        return nullptr;
    }
    for (const BodyRecord* record : RegisteredBodies(m_World.GetWorld())) {
        if (record->kind != kBallBody) {
            continue;
        }
        b2Body* ball = record->body;
        if (m_MayTakeBall.function != nullptr && !m_MayTakeBall.function(m_MayTakeBall.context, this, ball)) {
            continue;
        }
        if (IsPointInside(ball->GetPosition().x, ball->GetPosition().y)) {
            return ball;
        }
    }
    return nullptr;
}

// The ball goes out past the mouth unless the level stands in the way (creatures and balls do
// not: the creature's own skin lies across every spit), and gets its push either way. With the
// mouth on the centre there is no way out: the ball stays and gets no push.
void Globbo::Spit(b2Body* ball, const b2Vec2& direction) {
    const b2Vec2 mouth = m_MouthBody->GetPosition();
    const b2Vec2 target = mouth + kSpitDistance * direction;
    if ((target - mouth).LengthSquared() > 0.0f) {
        ShootingHelper ray;
        m_World.GetWorld()->RayCast(&ray, mouth, target);
        if (!ray.m_Blocked) {
            ball->SetTransform(target, ball->GetAngle());
        }
    }
    ball->ApplyLinearImpulse(kSpitImpulse * direction, ball->GetPosition(), true);
    if (BodyRecord* record = FindBodyRecord(ball)) {
        record->state = kBallSpat;
    }
    SoundManager::GetInstance().PlayRandom("data/sounds/shoot%d.wav", 1, 5, 1.0f);
}

void Globbo::SetLinearVelocity(const b2Vec2& velocity) {
    b2Vec2 v(std::isfinite(velocity.x) ? velocity.x : 0.0f, std::isfinite(velocity.y) ? velocity.y : 0.0f);
    const double speed = std::hypot(static_cast<double>(v.x), static_cast<double>(v.y));
    if (speed > kMaxSpeed) {
        v *= static_cast<float>(kMaxSpeed / speed);
    }
    for (b2Body* body : m_RingBodies) {
        if (body->GetType() != b2_staticBody) {
            body->SetLinearVelocity(v);
        }
    }
    if (m_MouthBody != nullptr) {
        m_MouthBody->SetLinearVelocity(v);
    }
}
