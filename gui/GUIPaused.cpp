#include "gui/GUIPaused.h"

#include "app/Application.h"
#include "gui/Championship.h"
#include "gui/FocusLinks.h"
#include "gui/GUIDirector.h"

void GUIPaused::Load(const std::string& file) {
    FlashGUI::Load(file);
    AddFlashFocusItem("Back");
    AddFlashFocusItem("EndGame");
    LinkRight(*this, "Back", "EndGame");
    LinkDown(*this, "Back", "EndGame");
    SetFocus("Back");
}

void GUIPaused::Activate() {
    SetFocus("Back");
}

void GUIPaused::OnFSCommand(const std::string& command) {
    FlashGUI::OnFSCommand(command);
    if (command != "EndGame") {
        return;
    }
    Application& application = Application::GetInstance();
    // The controllers let go before the match's creatures are deleted.
    application.DetachControllers();
    m_Director.PopAll();
    Championship(application.matchSetup, application).Abort();
    m_Director.PushScreen(GUIDirector::kMainMenu);
}
