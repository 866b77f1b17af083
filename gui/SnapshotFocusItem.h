#pragma once

#include "flash/FlashMovie.h"
#include "gui/FocusItem.h"
#include "gui/GlobboSnapshot.h"

#include <SFML/Graphics/Font.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstdint>
#include <memory>
#include <string>

// A place on a menu that holds one creature's portrait for the controllers to pick: a creature
// of the pool, or a player's slot. It is enabled while it holds a creature that may be chosen.
// A slot with the decoration flag shows the picture of the controller that chose its creature
// at its lower left. Its rectangle is the square of half-side 60 x scale round its position.
class SnapshotFocusItem : public FocusItem {
public:
    // Half the side of the item's square at scale 1, in pixels.
    static constexpr float kHalfSide = 60.0f;
    // The controller's picture sits this far left of and below the position (at scale 1) and is
    // drawn at this scale.
    static constexpr float kDecorationLeft = 70.0f;
    static constexpr float kDecorationDown = 50.0f;
    static constexpr float kDecorationScale = 0.6f;

    // An empty, disabled item; flags as GlobboSnapshot's, the tube at the offset in the
    // portrait's coordinates.
    SnapshotFocusItem(const sf::Vector2f& position, const std::string& name, const sf::Font& font, uint32_t flags,
                      const sf::Vector2f& tubeOffset, float scale);

    // A bubbling sound.
    void OnFocus(Controller* controller) override;
    // A plop.
    void OnPress(Controller* controller) override;
    bool IsEnabled() const override { return m_Enabled; }
    // The portrait and (with the decoration flag) the controller's picture; nothing without a
    // portrait.
    void Render(sf::RenderTarget& target, sf::RenderStates states) const override;
    void Update(float dt) override;

    // Shows the creature of the file, popping up; the item is enabled when the creature may be
    // chosen. False, and nothing changes, when the item holds a creature already.
    bool Load(const std::string& file);
    // Load, and with the decoration flag the controller's picture beside it.
    bool LoadWithController(const Controller* controller, const std::string& file);
    // Gives the creature's file up (empty when there was none): the item is disabled, the
    // controller's picture goes and the portrait hides; it stays until the item loads anew.
    std::string TakeOut();
    // Moves the item, its portrait and the controller's picture, keeping the scale.
    void SetPosition(const sf::Vector2f& position);
    // Moves and scales them.
    void Place(const sf::Vector2f& position, float scale);

    // The creature's file; empty when the item holds none.
    const std::string& GetFile() const { return m_File; }
    GlobboSnapshot* GetSnapshot() const { return m_Snapshot.get(); }
    const FlashMovie& GetDecoration() const { return m_Decoration; }
    uint32_t GetFlags() const { return m_Flags; }
    const sf::Vector2f& GetPosition() const { return m_Position; }
    const sf::Vector2f& GetTubeOffset() const { return m_TubeOffset; }
    float GetScale() const { return m_Scale; }

private:
    bool HasDecoration() const { return (m_Flags & GlobboSnapshot::kDecoration) != 0; }

    std::string m_File;
    std::unique_ptr<GlobboSnapshot> m_Snapshot;
    FlashMovie m_Decoration;
    uint32_t m_Flags;
    sf::Vector2f m_Position;
    sf::Vector2f m_TubeOffset;
    float m_Scale;
    bool m_Enabled = false;
    const sf::Font& m_Font;
};
