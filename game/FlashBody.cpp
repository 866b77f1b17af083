#include "game/FlashBody.h"

#include "game/PhysicsWorld.h"

#include <box2d/b2_body.h>

#include <numbers>

namespace {

// Box2D's angles turn x towards y; with y down on screen that is clockwise, as SFML's rotation
// in degrees is.
float Degrees(float radians) {
    return radians / std::numbers::pi_v<float> * 180.0f;
}

}  // namespace

FlashBody::FlashBody(b2Body* body, const std::string& file) : m_Body(body), m_Outline(body, 1.0f) {
    m_Front.Load(file.c_str());
    m_Front.setOrigin(m_Front.GetWidth() / 2.0f, m_Front.GetHeight() / 2.0f);
    if (m_Front.GotoLabel("foreground", false)) {
        m_Back.Load(file.c_str());
        m_Back.setOrigin(m_Back.GetWidth() / 2.0f, m_Back.GetHeight() / 2.0f);
        m_Back.GotoLabel("background", false);
    }
}

void FlashBody::SetCentre(const sf::Vector2f& centre) {
    m_Front.setOrigin(centre);
    m_Back.setOrigin(centre);
}

void FlashBody::DrawFront(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld&) {
    target.draw(m_Front, states);
}

void FlashBody::DrawBack(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld&) {
    target.draw(m_Back, states);
}

void FlashBody::DrawOverlay(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld& world) {
    m_Outline.Update(nullptr, world, 0.0f);
    m_Outline.DrawFront(target, states, world);
}

bool FlashBody::Update(Application* application, const PhysicsWorld& world, float dt) {
    const sf::Vector2f position = world.ToPixels(m_Body->GetPosition());
    const float angle = m_RotateWithBody ? m_Body->GetAngle() + m_VisualRotation : m_VisualRotation;
    for (FlashMovie* movie : {&m_Front, &m_Back}) {
        movie->setPosition(position);
        movie->setRotation(Degrees(angle));
        movie->Update(application, dt);
    }
    return true;
}
