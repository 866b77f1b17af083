#pragma once

#include "gui/FlashGUI.h"

class GUIDirector;

// The pause (screen 14), drawn over the stopped match: "Back" (or the back command) goes on with
// the match, "EndGame" abandons it and goes to the main menu. Its one cursor, which every
// controller moves, stays where it was from one pause to the next.
class GUIPaused : public FlashGUI {
public:
    explicit GUIPaused(GUIDirector& director) : m_Director(director) {}

    // Adds and links "Back" and "EndGame", the focus on "Back".
    void Load(const std::string& file) override;
    // The focus on "Back"; the cursor of an earlier pause stays where it is.
    void Activate() override;
    // "EndGame": the controllers let go, the match and every screen go, the championship is
    // abandoned and the main menu shows.
    void OnFSCommand(const std::string& command) override;
    bool IsOverlay() const override { return true; }

private:
    GUIDirector& m_Director;
};
