#pragma once

#include "gui/FlashGUI.h"
#include "gui/SelectionGrid.h"

class GUIDirector;

// The championship's creature selection (screen 8): up to four creatures are chosen from the
// pool, by any controllers in any number, and "Start" with at least two makes them the
// championship's players, in the order chosen, and opens the level-set selection. The
// description's first layer holds the clips "Back" (above and left of the pool) and "Start"
// (right of and below the slots).
class GUIChampionshipGlobbos : public FlashGUI {
public:
    // The pool's first and last cell centres and the slots' row, in pixels.
    static constexpr FocusRect kPool{198.0f, 116.0f, 636.0f, 245.0f};
    static constexpr FocusRect kSlotRow{65.0f, 495.0f, 620.0f, 495.0f};
    static constexpr int kSlots = 4;
    static constexpr int kFewestPlayers = 2;

    explicit GUIChampionshipGlobbos(GUIDirector& director);

    // Builds the items and the grid anew, with every slot empty and the focus on "Start".
    void Activate() override;
    // "Start" with two creatures chosen or more; with fewer it does nothing.
    void OnFSCommand(const std::string& command) override;
    // Presses in the grid move its creatures.
    void OnFocusItemEvent(Controller* controller, FocusItem* item, int kind) override;

    const SelectionGrid& GetGrid() const { return m_Grid; }

private:
    GUIDirector& m_Director;
    SelectionGrid m_Grid;
};
