#include "gui/GUITutorial.h"

#include "app/Application.h"
#include "app/ControllerFactory.h"
#include "app/EventPlayer.h"
#include "app/Log.h"
#include "app/ScriptedController.h"
#include "game/Globbo.h"
#include "game/Level.h"
#include "game/SpitGame.h"
#include "gui/GUIDirector.h"
#include "gui/MovieClips.h"
#include "gui/TutorialBlocks.h"

#include <SFML/Graphics/RectangleShape.hpp>

#include <charconv>
#include <cstdio>

namespace {

// The clips that are the screen's buttons.
constexpr const char* kPauseButton = "pausebutton";
constexpr const char* kNextButton = "nextbutton";
const sf::Color kWaterColor(92, 198, 232);
// The characters before a block command's number ("block").
constexpr size_t kBlockPrefix = 5;

// The number after the prefix of a block command: one or two digits and nothing else.
bool ReadBlockNumber(const std::string& command, int* number) {
    if (command.size() <= kBlockPrefix || command.size() > kBlockPrefix + 2) {
        return false;
    }
    const char* first = command.data() + kBlockPrefix;
    const char* last = command.data() + command.size();
    if (*first < '0' || *first > '9') {
        return false;
    }
    const auto [end, error] = std::from_chars(first, last, *number);
    return error == std::errc() && end == last && *number >= 0 && *number <= GUITutorial::kLastBlock;
}

}  // namespace

GUITutorial::GUITutorial(GUIDirector& director) : m_Director(director) {}

GUITutorial::~GUITutorial() {
    DeleteMatch();
}

void GUITutorial::Load(const std::string& file) {
    FlashGUI::Load(file);
    AddFlashFocusItem(kPauseButton);
    AddFlashFocusItem(kNextButton);
    FocusItem* pause = FindFocusItem(kPauseButton);
    FocusItem* next = FindFocusItem(kNextButton);
    pause->SetLink(FocusItem::kRight, next);
    next->SetLink(FocusItem::kLeft, pause);
    Reset();
}

void GUITutorial::Unload() {
    DeleteMatch();
    FlashGUI::Unload();
}

void GUITutorial::Activate() {
    FlashGUI::Activate();
    SetFocus(kPauseButton);
}

void GUITutorial::Reset() {
    DeleteMatch();
    SetAllTextsVisible(false);
    SetLoaded(true);
    m_Paused = false;
    m_Block = 0;
    m_Replay.Restart();
    if (FlashMovie* movie = GetFirstMovie(); movie != nullptr && movie->GetRoot() != nullptr) {
        movie->GetRoot()->goto_frame(0);
        movie->GetRoot()->set_play_state(swfplayer::character::PLAY);
    }
}

void GUITutorial::EnableButtons(bool enabled) {
    m_ButtonsEnabled = enabled;
    if (FlashMovie* movie = GetFirstMovie()) {
        SetClipEnabled(movie->GetCharacter(kPauseButton), enabled);
        SetClipEnabled(movie->GetCharacter(kNextButton), enabled);
    }
}

void GUITutorial::OnFSCommand(const std::string& command) {
    if (command.find("block") != std::string::npos) {
        int number = 0;
        if (!ReadBlockNumber(command, &number)) {
            log_error("GUITutorial::OnFSCommand: no block number in %s", command.c_str());
            return;
        }
        SetNavigationEnabled(false);
        FlashGUI::OnFSCommand(command);
        m_Block = number;
        SetUpBlock(number);
    } else if (command == "stopped" || command == " stopped") {
        SetLoaded(false);
    } else if (command == kPauseButton) {
        m_Paused = !m_Paused;
        if (FlashMovie* movie = GetFirstMovie(); movie != nullptr && movie->GetRoot() != nullptr) {
            movie->GetRoot()->set_play_state(m_Paused ? swfplayer::character::STOP : swfplayer::character::PLAY);
        }
    } else if (command == kNextButton) {
        const int block = m_Block;
        char label[16];
        std::snprintf(label, sizeof(label), "block%02d", block);
        // The label leads on to the next lesson. A jump from inside the movie's own frame runs
        // that lesson's first frames at once, and their block command may arrive before the jump
        // returns: the number grows from the block the jump was made for, not by one more.
        FlashMovie* movie = GetFirstMovie();
        if (movie != nullptr && movie->GotoLabel(label, true)) {
            m_Block = block + 1;
        }
    } else {
        // "EnableNavigation": each lesson turns the navigation that its block command took away
        // back on once its card is in, so the controllers reach the buttons again.
        FlashGUI::OnFSCommand(command);
    }
}

void GUITutorial::SetUpBlock(int number) {
    const TutorialBlock* block = FindTutorialBlock(number);
    if (block == nullptr) {
        return;
    }
    log_info("GUITutorial: block %d", number);
    if (block->recording != nullptr) {
        StartMatch(*block);
    } else if (m_Level) {
        AddTutorialBalls(*block, *m_Level);
    } else {
        log_error("GUITutorial: block %d has no level for its balls", number);
    }
}

void GUITutorial::StartMatch(const TutorialBlock& block) {
    DeleteMatch();
    m_Recording = std::make_unique<EventPlayer>(block.recording, m_RecordMode);
    if (!m_RecordMode && m_Recording->GetEvents().empty()) {
        log_error("GUITutorial: the recording %s is missing or empty; block %d shows no match", block.recording,
                  block.number);
        DeleteMatch();
        return;
    }
    m_Level = std::make_unique<Level>();
    m_LevelFile = block.level;
    if (m_RecordMode) {
        m_Controller1.reset(CreateController(kRecordGamepadFile));
        m_Controller2.reset(CreateController(kRecordKeyboardFile));
    } else {
        m_Controller1 = std::make_unique<ScriptedController>(m_Recording.get(), true);
        m_Controller2 = std::make_unique<ScriptedController>(m_Recording.get(), false);
    }
    m_Game = StartTutorialMatch(block, *m_Level, m_Controller1.get(), m_Controller2.get());
    if (!m_Game->HasLevel()) {
        log_error("GUITutorial: the level %s cannot be played; block %d shows no match", block.level, block.number);
        DeleteMatch();
        return;
    }
    if (m_Controller1) {
        m_Controller1->Attach(m_Game->GetGlobbo1());
    }
    if (m_Controller2) {
        m_Controller2->Attach(m_Game->GetGlobbo2());
    }
}

void GUITutorial::DeleteMatch() {
    m_Game.reset();
    m_Controller1.reset();
    m_Controller2.reset();
    m_Recording.reset();
    m_Level.reset();
    m_LevelFile.clear();
}

void GUITutorial::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    if (m_Game) {
        m_Game->Draw(target, states);
    } else {
        // Lessons whose match is missing show open water where the match would be.
        sf::RectangleShape water({SpitGame::kScreenWidth, SpitGame::kScreenHeight});
        water.setFillColor(kWaterColor);
        target.draw(water, states);
    }
    FlashGUI::Render(target, states);
}

void GUITutorial::Update(Application& application, float dt) {
    FlashGUI::Update(application, dt);
    if (m_Paused) {
        return;
    }
    if (!m_RecordMode && m_Recording) {
        m_Replay.Advance(application, *m_Recording, m_Level->GetPhysics().GetWorld(), *m_Game, dt);
    } else if (m_Game) {
        m_Game->Update(application, dt);
        if (m_Recording) {
            m_Recording->RecordFrame(dt, m_Level->GetPhysics().GetWorld());
        }
    }
    if (!IsLoaded()) {
        Leave();
    }
}

void GUITutorial::Leave() {
    if (m_Director.GetScreens().empty() || m_Director.GetScreens().front() != this) {
        return;
    }
    // Running again for the next visit: a later push of id 2, which does not reset, would
    // otherwise leave again at once.
    SetLoaded(true);
    m_Director.PopScreen();
    if (m_Director.GetIds().empty()) {
        // Nothing was below: the main menu is where a player goes on from here.
        m_Director.PushScreen(GUIDirector::kMainMenu);
        return;
    }
    m_Director.GetMainMenu().SetFocus("newgamepvp");
    Application::GetInstance().frameSkip = true;
}

void GUITutorial::OnEvent(const sf::Event& event) {
    FlashGUI::OnEvent(event);
    if (!m_RecordMode) {
        return;
    }
    if (const std::optional<InputEvent> input = m_Adapter.Translate(event)) {
        if (m_Recording) {
            m_Recording->OnEvent(*input);
        }
        // The record-mode controllers are not the application's, so the window's input reaches
        // them only here; without it their creatures could not spit.
        for (Controller* controller : {m_Controller1.get(), m_Controller2.get()}) {
            if (controller != nullptr) {
                controller->OnEvent(*input);
            }
        }
    }
    if (m_Game) {
        m_Game->HandleEvent(event);
    }
}

void GUITutorial::OnCommand(Controller* controller, int command) {
    if (!m_ButtonsEnabled) {
        SetLoaded(false);
    }
    FlashGUI::OnCommand(controller, command);
}
