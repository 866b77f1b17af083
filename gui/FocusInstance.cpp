#include "gui/FocusInstance.h"

#include "app/Controller.h"

#include <algorithm>

namespace {

constexpr float kRingRadius = 0.47f;
constexpr float kRingThickness = 1.0f / 15.0f;
constexpr float kPulseTop = 0.8f;
constexpr float kPulseBottom = 0.2f;
constexpr float kPulseRise = 0.8f;
constexpr float kPulseFallSeconds = 0.8f;
// The flash runs its timer down from 1 at this many units a second.
constexpr float kFlashFade = 2.0f;
// Points of a ring's circle.
constexpr std::size_t kRingPoints = 48;

}  // namespace

std::optional<RingGeometry> RingFor(const FocusRect& rect, int count, int index) {
    const float width = rect.right - rect.left;
    if (!(width > 0.0f) || count < 1) {
        return std::nullopt;
    }
    RingGeometry ring;
    ring.centre = {(rect.left + rect.right) / 2.0f, (rect.top + rect.bottom) / 2.0f};
    ring.aspect = (rect.bottom - rect.top) / width;
    const float thickness = width * kRingThickness;
    ring.radius = kRingRadius * width + static_cast<float>(index) * thickness / static_cast<float>(count);
    ring.thickness = thickness / static_cast<float>(count);
    return ring;
}

void RingPulse::Step(float dt) {
    if (rising) {
        value += kPulseRise * dt;
        if (value > kPulseTop) {
            rising = false;
            value = 2.0f * kPulseTop - value;
        }
    } else {
        value -= dt / kPulseFallSeconds;
        if (value < kPulseBottom) {
            rising = true;
            value = 2.0f * kPulseBottom - value;
        }
    }
}

FocusInstance::FocusInstance(Controller* controller, std::shared_ptr<FocusItem> item)
    : m_Controller(controller),
      m_Item(std::move(item)),
      m_Color(controller != nullptr ? sf::Color(controller->GetGUIColor()) : sf::Color::White) {
    m_Flash.Load("data/controller_init.swf");
}

void FocusInstance::BuildRing(int count, int index) {
    std::optional<RingGeometry> geometry = m_Item ? RingFor(m_Item->GetRect(), count, index) : std::nullopt;
    if (!geometry) {
        m_Ring.reset();
        return;
    }
    // The circle is drawn about its own centre and then squeezed about it, so the ellipse sits
    // centred on the item.
    sf::CircleShape ring(geometry->radius, kRingPoints);
    ring.setOrigin(geometry->radius, geometry->radius);
    ring.setPosition(geometry->centre);
    ring.setScale(1.0f, geometry->aspect);
    ring.setFillColor(sf::Color::Transparent);
    ring.setOutlineThickness(geometry->thickness);
    ring.setOutlineColor(m_Color);
    m_Ring = ring;
}

void FocusInstance::Update(float dt) {
    if (m_FlashTimer > 0.0f) {
        m_FlashTimer = std::max(0.0f, m_FlashTimer - kFlashFade * dt);
        const FocusRect rect = m_Item ? m_Item->GetRect() : FocusRect{};
        m_Flash.setPosition(rect.left, rect.top);
        m_Flash.setScale((rect.right - rect.left) / kFlashSize, (rect.bottom - rect.top) / kFlashSize);
        m_Flash.SetColor(m_Color.r / 255.0f, m_Color.g / 255.0f, m_Color.b / 255.0f, m_FlashTimer);
        m_Flash.Advance(dt);
    }
    m_Pulse.Step(dt);
    if (m_Ring) {
        sf::Color color = m_Color;
        color.a = static_cast<sf::Uint8>(std::clamp(m_Pulse.value, 0.0f, 1.0f) * 255.0f);
        m_Ring->setOutlineColor(color);
    }
}

void FocusInstance::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    if (m_Ring) {
        target.draw(*m_Ring, states);
    }
    if (m_FlashTimer > 0.0f) {
        target.draw(m_Flash, states);
    }
}
