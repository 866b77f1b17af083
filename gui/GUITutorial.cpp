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

#include <box2d/b2_body.h>
#include <box2d/b2_revolute_joint.h>
#include <box2d/b2_world.h>

#include <charconv>
#include <cstdio>
#include <vector>

struct GUITutorial::Block {
    int number;
    // Null for a block that only adds balls to the level already there.
    const char* recording;
    const char* level;
    b2Vec2 creature1;
    b2Vec2 creature2;
    std::vector<b2Vec2> balls;
};

namespace {

constexpr const char* kLevel = "data/tutorial_level.xml";
constexpr const char* kFunLevel = "data/tutorial_level_fun.xml";
constexpr const char* kPlank = "Plank";
// The clips that are the screen's buttons.
constexpr const char* kPauseButton = "pausebutton";
constexpr const char* kNextButton = "nextbutton";
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

const GUITutorial::Block* GUITutorial::FindBlock(int number) {
    // Creature 2 of block 4 starts below the arena and falls away: that lesson has one creature.
    static const Block kBlocks[] = {
        {4, "data/tutorial_block04.xml", kLevel, {0.0f, 15.0f}, {0.0f, 200.0f}, {}},
        {5, nullptr, nullptr, {}, {}, {{-20.0f, 15.0f}, {20.0f, 15.0f}}},
        {7,
         "data/tutorial_block07.xml",
         kLevel,
         {15.0f, 15.0f},
         {-15.0f, 15.0f},
         {{-20.0f, 15.0f}, {-20.0f, 0.0f}, {0.0f, 5.0f}, {20.0f, 0.0f}, {20.0f, 15.0f}}},
        {8,
         "data/tutorial_block08.xml",
         kLevel,
         {15.0f, 15.0f},
         {-15.0f, 15.0f},
         {{-20.0f, 0.0f}, {0.0f, 5.0f}, {20.0f, 0.0f}}},
        {11, "data/tutorial_block11.xml", kLevel, {15.0f, 15.0f}, {-15.0f, 15.0f}, {{0.0f, 5.0f}}},
        {12, "data/tutorial_block12.xml", kFunLevel, {15.0f, 5.0f}, {-15.0f, 5.0f}, {}},
    };
    for (const Block& block : kBlocks) {
        if (block.number == number) {
            return &block;
        }
    }
    return nullptr;
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
    m_PlaybackTime = 0.0f;
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
    const Block* block = FindBlock(number);
    if (block == nullptr) {
        return;
    }
    log_info("GUITutorial: block %d", number);
    if (block->recording == nullptr) {
        AddBalls(*block);
        return;
    }
    StartMatch(*block);
    if (!m_Game) {
        return;
    }
    AddBalls(*block);
    if (block->level == std::string(kFunLevel)) {
        PinPlank();
    }
}

void GUITutorial::StartMatch(const Block& block) {
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
    m_Game = std::make_unique<SpitGame>(block.level, m_Level.get(), kPlayer1File, block.creature1, m_Controller1.get(),
                                        kPlayer2File, block.creature2, m_Controller2.get());
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

void GUITutorial::AddBalls(const Block& block) {
    if (!m_Level) {
        if (!block.balls.empty()) {
            log_error("GUITutorial: block %d has no level for its balls", block.number);
        }
        return;
    }
    for (const b2Vec2& position : block.balls) {
        m_Level->AddBall(position);
    }
}

void GUITutorial::PinPlank() {
    b2Body* plank = m_Level->GetBodyByName(kPlank);
    b2Body* ground = m_Level->GetPhysics().GetGround();
    b2World* world = m_Level->GetPhysics().GetWorld();
    if (plank == nullptr || ground == nullptr || world == nullptr) {
        log_error("GUITutorial: %s has no %s to pin", m_LevelFile.c_str(), kPlank);
        return;
    }
    b2RevoluteJointDef pin;
    pin.Initialize(ground, plank, plank->GetPosition());
    world->CreateJoint(&pin);
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
    }
    FlashGUI::Render(target, states);
}

void GUITutorial::Update(Application& application, float dt) {
    FlashGUI::Update(application, dt);
    if (m_Paused) {
        return;
    }
    if (!m_RecordMode && m_Recording) {
        ReplaySteps(application, dt);
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

void GUITutorial::ReplaySteps(Application& application, float dt) {
    m_PlaybackTime += dt;
    for (int steps = 0;; ++steps) {
        const float next = m_Recording->NextFrameTime();
        if (m_PlaybackTime < next) {
            return;
        }
        if (steps == kMaxStepsPerUpdate) {
            m_PlaybackTime = 0.0f;
            return;
        }
        m_Recording->PlayFrame(m_Level->GetPhysics().GetWorld());
        if (next > kShortestStep) {
            m_Game->Update(application, next);
        }
        m_PlaybackTime -= next;
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
