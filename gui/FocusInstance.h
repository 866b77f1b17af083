#pragma once

#include "flash/FlashMovie.h"
#include "gui/FocusItem.h"

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Drawable.hpp>

#include <memory>
#include <optional>

class Controller;

// Where the ring around an item goes: cursor k of n cursors on the item is a circle about the
// item's centre, the k-th ring outwards, squeezed vertically into an ellipse by aspect.
struct RingGeometry {
    sf::Vector2f centre;
    float radius = 0.0f;
    float thickness = 0.0f;
    // Height over width of the item.
    float aspect = 1.0f;
};

// The ring k (0 to n - 1) of n around the rectangle: radius 0.47 w + k w / 15 / n and outline
// w / 15 / n for an item w pixels wide. None for a rectangle of no width (it has no ring) or a
// count below 1.
std::optional<RingGeometry> RingFor(const FocusRect& rect, int count, int index);

// The ring's brightness: it rises at 0.8 a second to 0.8 and falls at 1.25 a second to 0.2,
// reflecting at both turns.
struct RingPulse {
    bool rising = false;
    float value = 0.0f;

    void Step(float dt);
};

// A controller's cursor on a screen: a pulsing ring in the controller's colour around the item
// it is on (white for a cursor without a controller), and, for half a second after a controller
// first shows its cursor, the controller's flash "data/controller_init.swf" over the item.
class FocusInstance : public sf::Drawable {
public:
    // The flash movie is drawn this many units wide and high before it is scaled to the item.
    static constexpr float kFlashSize = 100.0f;

    FocusInstance(Controller* controller, std::shared_ptr<FocusItem> item);
    ~FocusInstance() override = default;

    Controller* GetController() const { return m_Controller; }
    FocusItem* GetItem() const { return m_Item.get(); }
    const std::shared_ptr<FocusItem>& GetItemHandle() const { return m_Item; }
    // Puts the cursor on the item (null: on none); its ring is not rebuilt.
    void SetItem(std::shared_ptr<FocusItem> item) { m_Item = std::move(item); }
    // Rebuilds the ring as ring index of count around the item.
    void BuildRing(int count, int index);
    // Plays the flash for seconds / 2 seconds (1.0: half a second).
    void SetFlashTimer(float timer) { m_FlashTimer = timer; }
    float GetFlashTimer() const { return m_FlashTimer; }

    // The flash fades, the ring pulses.
    void Update(float dt);
    virtual void Render(sf::RenderTarget& target, sf::RenderStates states) const;

    const sf::Color& GetColor() const { return m_Color; }
    const RingPulse& GetPulse() const { return m_Pulse; }
    // The ring as last built; none while the item has no ring.
    const std::optional<sf::CircleShape>& GetRing() const { return m_Ring; }

private:
    void draw(sf::RenderTarget& target, sf::RenderStates states) const override { Render(target, states); }

    Controller* m_Controller;
    std::shared_ptr<FocusItem> m_Item;
    RingPulse m_Pulse;
    std::optional<sf::CircleShape> m_Ring;
    FlashMovie m_Flash;
    float m_FlashTimer = 0.0f;
    sf::Color m_Color;
};
