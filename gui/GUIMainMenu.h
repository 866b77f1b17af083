#pragma once

#include "gui/FlashGUI.h"

class GUIDirector;

// The main menu (screen 4): starts a quick match, training against the computer or a
// championship, opens the tutorial, the statistics and the manual, and ends the program. The
// controllers move one shared cursor over the clips "newgamepvp", "newgamepvc", "stats", "howto"
// and "quit"; the clips' press scripts send the choices as FSCommands. The championship
// ("newgamechampionship") and the tutorial ("tutorial") have no item: the movie sends their
// commands when the mouse presses their clips.
class GUIMainMenu : public FlashGUI {
public:
    // The manual page, opened in the desktop's browser by "howto".
    static constexpr const char* kManual = "data/manual/index.html";

    explicit GUIMainMenu(GUIDirector& director) : m_Director(director) {}

    // Adds and links the items.
    void Load(const std::string& file) override;
    // Shows the menu-controls hint the first time while the preference asks for it, and puts the
    // shared cursor on "newgamepvp".
    void Activate() override;
    void OnFSCommand(const std::string& command) override;

private:
    void OpenManual();

    GUIDirector& m_Director;
};
