#include "game/Ball.h"

#include "app/Log.h"
#include "app/SoundManager.h"
#include "game/BodyRegistry.h"
#include "game/PhysicsWorld.h"

#include <box2d/b2_body.h>
#include <box2d/b2_circle_shape.h>
#include <box2d/b2_fixture.h>

#include <cmath>

namespace {

constexpr const char* kBallMovie = "data/ball.swf";
constexpr const char* kGlowMovie = "data/ball_glow.swf";
constexpr float kDamping = 0.2f;
constexpr float kFriction = 0.1f;
constexpr float kRestitution = 0.9f;
constexpr float kDensity = 0.2f;
// A free ball's colour clip: white, mostly see-through.
constexpr float kFreeAlpha = 100.0f / 255.0f;

b2Body* CreateBallBody(PhysicsWorld& world, const b2Vec2& position) {
    b2BodyDef def;
    def.type = b2_dynamicBody;
    def.position = position;
    def.linearDamping = kDamping;
    def.angularDamping = kDamping;
    def.allowSleep = true;
    def.awake = true;
    def.enabled = true;
    BodyRecord pattern;
    pattern.alive = true;
    pattern.kind = kBallBody;
    pattern.owner = nullptr;
    pattern.state = kBallFree;
    pattern.neutralTimer = -1.0f;
    b2Body* body = CreateRegisteredBody(world, def, pattern);
    if (body == nullptr) {
        log_error("Ball: no ball at (%f, %f): the world refused its body", position.x, position.y);
        return nullptr;
    }
    b2CircleShape circle;
    circle.m_radius = Ball::kRadius;
    b2FixtureDef fixture;
    fixture.shape = &circle;
    fixture.friction = kFriction;
    fixture.restitution = kRestitution;
    fixture.density = kDensity;
    fixture.isSensor = false;
    fixture.filter.categoryBits = Ball::kCategory;
    fixture.filter.maskBits = Ball::kMask;
    fixture.filter.groupIndex = 0;
    body->CreateFixture(&fixture);
    return body;
}

}  // namespace

std::unique_ptr<Ball> Ball::Create(PhysicsWorld& world, const b2Vec2& position) {
    b2Body* body = CreateBallBody(world, position);
    return body != nullptr ? std::unique_ptr<Ball>(new Ball(body)) : nullptr;
}

Ball::Ball(b2Body* body) : FlashBody(body, kBallMovie) {
    if (m_Front.GotoLabel("normal", false)) {
        m_Front.SetCharacterColor("color", 1.0f, 1.0f, 1.0f, kFreeAlpha);
    }
    m_RotateWithBody = false;
    SoundManager::GetInstance().SetBodyType(body, "ball");
    m_Glow.Load(kGlowMovie);
    m_Glow.setOrigin(m_Glow.GetWidth() / 2.0f, m_Glow.GetHeight() / 2.0f);
}

int Ball::GlowFrameOffset(float distance) {
    return static_cast<int>(std::trunc(std::fmod(static_cast<double>(distance), 30.0) * 10.0 / 30.0));
}

void Ball::DrawFront(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld& world) {
    FlashBody::DrawFront(target, states, world);
    if (m_GlowVisible) {
        target.draw(m_Glow, states);
    }
}

bool Ball::Update(Application* application, const PhysicsWorld& world, float dt) {
    FlashBody::Update(application, world, dt);
    const float speedSquared = m_Body->GetLinearVelocity().LengthSquared();
    if (!m_GlowVisible && speedSquared < kGlowOnSpeedSquared) {
        ShowGlow();
    } else if (m_GlowVisible && speedSquared > kGlowOffSpeedSquared) {
        HideGlow();
    }
    if (m_GlowVisible) {
        m_Glow.Update(application, dt);
        m_Glow.setPosition(m_Front.getPosition());
    }
    return true;
}

void Ball::ShowGlow() {
    m_GlowVisible = true;
    swfplayer::root* root = m_Glow.GetRoot();
    if (root == nullptr) {
        return;
    }
    const BodyRecord* record = FindBodyRecord(m_Body);
    if (record != nullptr && record->owner != nullptr) {
        root->goto_frame(0);
        return;
    }
    if (m_Glow.GotoLabel("showup", true)) {
        const int offset = GlowFrameOffset(m_Body->GetPosition().Length());
        if (offset > 0) {
            // A jump to a frame stops the movie: it plays on from there.
            root->goto_frame(root->get_current_frame() + offset);
            root->set_play_state(swfplayer::character::PLAY);
        }
    }
}

void Ball::HideGlow() {
    m_GlowVisible = false;
    m_Glow.GotoLabel("hide", true);
}
