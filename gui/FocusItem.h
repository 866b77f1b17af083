#pragma once

#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>

#include <array>
#include <string>

class Controller;

// A rectangle of the screen in pixels of its view, by its edges.
struct FocusRect {
    float left = 0.0f;
    float top = 0.0f;
    float right = 0.0f;
    float bottom = 0.0f;
};

// Something on a screen that a controller's cursor can rest on and press: a menu button, a
// creature portrait, a row of them. Items are linked to a neighbour in each direction; a link
// is one-way, so a screen that wants to go back and forth sets both.
class FocusItem {
public:
    // The directions of the links, as the navigation commands give them.
    enum Direction { kLeft = 0, kRight = 1, kUp = 2, kDown = 3 };
    static constexpr int kDirections = 4;
    // How many items FindNeighbour walks past before it gives up.
    static constexpr int kMaxNeighbourSteps = 20;

    explicit FocusItem(std::string name) : m_Name(std::move(name)) {}
    virtual ~FocusItem() = default;
    FocusItem(const FocusItem&) = delete;
    FocusItem& operator=(const FocusItem&) = delete;

    // A cursor of the controller came onto the item. Items get the controller that gave the
    // command, so a cursor that all controllers share never binds the wrong player.
    virtual void OnFocus(Controller* controller) = 0;
    // The controller pressed the item.
    virtual void OnPress(Controller* controller) = 0;
    virtual bool IsEnabled() const = 0;
    virtual void Render(sf::RenderTarget& target, sf::RenderStates states) const;
    virtual void Update(float dt);
    // The item a cursor lands on when it comes here: the item itself (a group gives a child).
    virtual FocusItem* GetTarget();

    // The usable item in the direction: the first enabled one along the links (each through its
    // target); the item itself when the walk comes back to it or passes kMaxNeighbourSteps
    // items; null for a direction outside 0 to 3, no link, or a chain that ends in disabled
    // items.
    FocusItem* FindNeighbour(int direction);

    const std::string& GetName() const { return m_Name; }
    const FocusRect& GetRect() const { return m_Rect; }
    void SetRect(const FocusRect& rect) { m_Rect = rect; }
    // The neighbour in the direction (null for none or a direction outside 0 to 3).
    FocusItem* GetLink(int direction) const;
    void SetLink(int direction, FocusItem* item);

private:
    std::string m_Name;
    FocusRect m_Rect;
    std::array<FocusItem*, kDirections> m_Links{};
};
