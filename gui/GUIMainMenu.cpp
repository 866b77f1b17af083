#include "gui/GUIMainMenu.h"

#include "app/Application.h"
#include "app/Log.h"
#include "app/UserPreferences.h"
#include "app/VirtualFile.h"
#include "gui/FocusLinks.h"
#include "gui/GUIDirector.h"
#include "platform/OpenDocument.h"

void GUIMainMenu::Load(const std::string& file) {
    FlashGUI::Load(file);
    for (const char* name : {"newgamepvp", "newgamepvc", "stats", "howto", "quit"}) {
        AddFlashFocusItem(name);
    }
    LinkRight(*this, "newgamepvp", "newgamepvc");
    LinkRight(*this, "newgamepvc", "stats");
    LinkRight(*this, "stats", "howto");
    LinkDown(*this, "stats", "howto");
    LinkRight(*this, "howto", "quit");
    LinkRight(*this, "quit", "newgamepvp");
    LinkDown(*this, "newgamepvc", "stats");
    LinkDown(*this, "stats", "quit");
}

void GUIMainMenu::Activate() {
    FlashGUI::Activate();
    UserPreferences& preferences = UserPreferences::GetInstance();
    if (preferences.hintMenuControls) {
        m_Director.GetHint().ShowHint("gui controls", 1);
        preferences.hintMenuControls = false;
    }
    SetFocus("newgamepvp");
}

void GUIMainMenu::OnFSCommand(const std::string& command) {
    if (command == "newgamepvc") {
        Application::GetInstance().NewSetup(MatchSetup::Training);
        m_Director.PushScreen(GUIDirector::kTrainingSelection);
    } else if (command == "newgamepvp") {
        Application::GetInstance().NewSetup(MatchSetup::QuickMatch);
        m_Director.PushScreen(GUIDirector::kQuickMatchSelection);
    } else if (command == "newgamechampionship") {
        Application::GetInstance().NewSetup(MatchSetup::Championship);
        m_Director.PushScreen(GUIDirector::kChampionshipGlobbos);
    } else if (command == "tutorial") {
        m_Director.PushScreen(GUIDirector::kTutorialWithButtons);
    } else if (command == "statistics") {
        m_Director.PushScreen(GUIDirector::kStatistics);
    } else if (command == "howto") {
        OpenManual();
    } else if (command == "exit") {
        m_Director.PushScreen(GUIDirector::kExit);
    }
}

void GUIMainMenu::OpenManual() {
    const std::string path = VirtualFile::RealPath(kManual);
    if (path.empty()) {
        log_error("GUIMainMenu::OnFSCommand: the manual %s is not a file on the disk", kManual);
        return;
    }
    if (!platform::OpenDocument(path)) {
        log_error("GUIMainMenu::OnFSCommand: cannot start xdg-open for %s", path.c_str());
    }
}
