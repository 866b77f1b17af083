#pragma once

#include "gui/FlashGUI.h"
#include "gui/SelectionGrid.h"

class GUIDirector;

// The quick match's creature selection (screen 5): each of two players picks a creature from
// the pool with a controller of their own, moving the one cursor that every controller shares
// (whoever presses chooses), and "Start" sets the match up and opens the level selection. The
// description's first layer holds the clips "Back" and "Start": "Back" sits above and left of the
// pool, "Start" right of and below the players' slots, so that left and right go along the slots
// and "Start" in the order they show.
class GUIPlayerSelection : public FlashGUI {
public:
    // The pool's first and last cell centres and the slots' row, in pixels.
    static constexpr FocusRect kPool{198.0f, 116.0f, 636.0f, 245.0f};
    static constexpr FocusRect kSlotRow{170.0f, 495.0f, 620.0f, 495.0f};
    static constexpr int kPlayers = 2;

    explicit GUIPlayerSelection(GUIDirector& director);

    // Builds the items and the grid anew, with every slot empty and the focus on "Start".
    void Activate() override;
    // "Start" with two creatures chosen: they and their controllers become the match's players
    // (player 1 the first chosen); with fewer, the hint "select two".
    void OnFSCommand(const std::string& command) override;
    // Presses in the grid move its creatures.
    void OnFocusItemEvent(Controller* controller, FocusItem* item, int kind) override;

    const SelectionGrid& GetGrid() const { return m_Grid; }

private:
    void Start();

    GUIDirector& m_Director;
    SelectionGrid m_Grid;
};
