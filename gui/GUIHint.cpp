#include "gui/GUIHint.h"

#include "app/Application.h"
#include "app/Controller.h"
#include "app/UserPreferences.h"
#include "gui/MovieClips.h"

#include <cstdio>

namespace {

// Modes with these bits wait at the checkpoint for a move and a press.
constexpr int kWaitingModes = 1 | 2;
// The hint movie's frame where every hint starts (its first frame shows nothing).
constexpr int kStartFrame = 1;

std::string Formatted(const char* format, unsigned int index) {
    char text[96];
    std::snprintf(text, sizeof text, format, index);
    return text;
}

}  // namespace

void GUIHint::ShowHint(const std::string& name, int mode) {
    if (UserPreferences::GetInstance().disableHints) {
        return;
    }
    m_HintName = name;
    SetAllTextsVisible(false);
    SetTextVisible(name, true);
    m_NeedsMove = m_NeedsPress = (mode & kWaitingModes) != 0;
    m_Waiting = false;

    FlashMovie* movie = GetFirstMovie();
    swfplayer::root* root = movie != nullptr ? movie->GetRoot() : nullptr;
    if (root == nullptr) {
        return;
    }
    root->goto_frame(kStartFrame);
    root->set_play_state(swfplayer::character::PLAY);
    swfplayer::character* toppings = movie->GetCharacter("toppings");
    if (toppings != nullptr) {
        toppings->set_visible(GotoClipLabel(toppings, name.c_str(), false));
    }

    const Application& application = Application::GetInstance();
    if (name == "quickmatch controls") {
        ShowController("player1", application.player1Controller, "quickmatch controls p1c%u");
        ShowController("player2", application.player2Controller, "quickmatch controls p2c%u");
    } else if (name == "training controls") {
        ShowController("player", application.player1Controller, "training controls c%u");
    }
}

void GUIHint::ShowController(const char* clip, const Controller* controller, const char* textFormat) {
    swfplayer::character* picture = GetFirstMovie()->GetChildCharacter("toppings", clip);
    if (picture != nullptr) {
        picture->set_visible(controller != nullptr);
    }
    if (controller == nullptr) {
        return;
    }
    GotoClipFrame(picture, static_cast<int>(controller->GetGUIIndex()) - 1);
    SetTextVisible(Formatted(textFormat, controller->GetGUIIndex()), true);
}

bool GUIHint::IsPlaying() const {
    const FlashMovie* movie = GetFirstMovie();
    const swfplayer::root* root = movie != nullptr ? movie->GetRoot() : nullptr;
    return root != nullptr && root->get_play_state() == swfplayer::character::PLAY;
}

void GUIHint::Play() {
    if (FlashMovie* movie = GetFirstMovie(); movie != nullptr && movie->GetRoot() != nullptr) {
        movie->GetRoot()->set_play_state(swfplayer::character::PLAY);
    }
}

void GUIHint::OnFSCommand(const std::string& command) {
    if (command != "checkpoint") {
        return;
    }
    if (!m_NeedsMove && !m_NeedsPress) {
        Play();
    } else {
        m_Waiting = true;
    }
}

void GUIHint::OnCommand(Controller* /*controller*/, int command) {
    if (!m_Waiting) {
        return;
    }
    if (command >= Controller::kLeft && command <= Controller::kDown) {
        m_NeedsMove = false;
    } else if (command == Controller::kSpit) {
        m_NeedsPress = false;
    }
    if (!m_NeedsMove && !m_NeedsPress) {
        Play();
        m_Waiting = false;
    }
}

void GUIHint::Update(Application& application, float dt) {
    FlashGUI::Update(application, dt);
    if (!IsPlaying()) {
        return;
    }
    FlashMovie* movie = GetFirstMovie();
    swfplayer::character* background = movie->GetCharacter("background");
    const float alpha = ClipAlpha(background);
    SetTextAlpha(m_HintName, alpha);
    if (swfplayer::character* toppings = movie->GetCharacter("toppings")) {
        movie->SetCharacterPosition("toppings", ClipPosition(background));
        SetClipAlpha(toppings, alpha);
    }
}

void GUIHint::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    if (IsShown()) {
        FlashGUI::Render(target, states);
    }
}
