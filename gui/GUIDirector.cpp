#include "gui/GUIDirector.h"

#include "app/Application.h"
#include "app/Log.h"
#include "app/SoundManager.h"
#include "flash/FSCommand.h"
#include "gui/GameScreens.h"

#include <algorithm>

namespace {

constexpr const char* kMenuMusic = "data/music/acoustic/track01.ogg";
constexpr const char* kHintDescription = "data/gui/hint.xml";

struct Description {
    int id;
    const char* file;
};

// The descriptions loaded once, at construction, in this order; the hint's follows them.
constexpr Description kDescriptions[] = {
    {GUIDirector::kTitle, "data/gui/gametitle.xml"},
    {GUIDirector::kMainMenu, "data/gui/mainmenu.xml"},
    {GUIDirector::kQuickMatchSelection, "data/gui/globbo_selection_quickmatch.xml"},
    {GUIDirector::kTrainingSelection, "data/gui/globbo_selection_training.xml"},
    {GUIDirector::kLevelSelection, "data/gui/level_selection.xml"},
    {GUIDirector::kStatistics, "data/gui/statistics.xml"},
    {GUIDirector::kPaused, "data/gui/paused.xml"},
};

// The game's own descriptions of the screens that have none above, loaded after the hint's.
constexpr Description kOwnDescriptions[] = {
    {GUIDirector::kTutorial, "data/gui/tutorial.xml"},
    {GUIDirector::kChampionshipGlobbos, "data/gui/championship_globbo_selection.xml"},
    {GUIDirector::kChampionshipLevelSelection, "data/gui/championship_level_selection.xml"},
    {GUIDirector::kChampionshipPodium, "data/gui/championship_podium.xml"},
};

// The description each push of the id loads anew; null for none.
const char* ReloadedDescriptionOf(int id) {
    switch (id) {
    case GUIDirector::kChampionshipMatchTable: return "data/gui/championship_match_table.xml";
    case GUIDirector::kChampionshipGetReady: return "data/gui/championship_get_ready.xml";
    case GUIDirector::kMatchOver: return "data/gui/match_over.xml";
    default: return nullptr;
    }
}

// The screens a back command leaves: they have a way back.
bool BackPops(int id) {
    switch (id) {
    case GUIDirector::kQuickMatchSelection:
    case GUIDirector::kTrainingSelection:
    case GUIDirector::kLevelSelection:
    case GUIDirector::kChampionshipGlobbos:
    case GUIDirector::kChampionshipLevelSelection:
    case GUIDirector::kPaused:
    case GUIDirector::kStatistics: return true;
    default: return false;
    }
}

// The screens during a match, where a back command pauses it.
bool BackPauses(int id) {
    return id == GUIDirector::kChampionshipMatchTable || id == GUIDirector::kChampionshipGetReady ||
           id == GUIDirector::kGame;
}

// The ids that RegisterScreen takes.
bool TakesPlainScreen(int id) {
    return (id >= GUIDirector::kQuickMatchSelection && id <= GUIDirector::kChampionshipMatchTable) ||
           id == GUIDirector::kChampionshipPodium || (id >= GUIDirector::kPaused && id <= GUIDirector::kStatistics);
}

}  // namespace

GUIDirector& GUIDirector::GetInstance() {
    static GUIDirector instance(RegisterGameScreens);
    return instance;
}

GUIDirector::GUIDirector(const ScreenMaker& makeScreens) : m_MainMenu(*this) {
    Place(kMainMenu, &m_MainMenu, &m_MainMenu);
    if (makeScreens) {
        makeScreens(*this);
    }
    LoadDescriptions();
    FSCommandSignal().connect(this, &GUIDirector::OnFSCommand);
}

GUIDirector::~GUIDirector() = default;

bool GUIDirector::Place(int id, GUIBase* screen, FlashGUI* flash) {
    if (m_ScreenOfId[id] != nullptr) {
        log_error("GUIDirector: screen %d is there already", id);
        return false;
    }
    m_ScreenOfId[id] = screen;
    m_FlashOfId[id] = flash;
    return true;
}

void GUIDirector::LoadDescriptions() {
    const auto load = [this](const Description& description) {
        if (FlashGUI* screen = m_FlashOfId[description.id]) {
            screen->Load(description.file);
        }
    };
    std::for_each(std::begin(kDescriptions), std::end(kDescriptions), load);
    m_Hint.Load(kHintDescription);
    std::for_each(std::begin(kOwnDescriptions), std::end(kOwnDescriptions), load);
}

void GUIDirector::RegisterTitle(std::unique_ptr<FlashGUI> title) {
    if (title && Place(kTitle, title.get(), title.get())) {
        m_Title = std::move(title);
    }
}

void GUIDirector::RegisterTutorial(std::unique_ptr<TutorialScreen> tutorial) {
    if (tutorial && Place(kTutorial, tutorial.get(), tutorial.get())) {
        m_ScreenOfId[kTutorialWithButtons] = tutorial.get();
        m_FlashOfId[kTutorialWithButtons] = tutorial.get();
        m_Tutorial = tutorial.get();
        m_Owned.push_back(std::move(tutorial));
    }
}

void GUIDirector::RegisterScreen(int id, std::unique_ptr<FlashGUI> screen) {
    if (!screen || !TakesPlainScreen(id)) {
        log_error("GUIDirector::RegisterScreen: id %d takes no such screen", id);
        return;
    }
    if (Place(id, screen.get(), screen.get())) {
        m_Owned.push_back(std::move(screen));
    }
}

void GUIDirector::RegisterGetReady(std::unique_ptr<GetReadyScreen> getReady) {
    if (getReady && Place(kChampionshipGetReady, getReady.get(), getReady.get())) {
        m_GetReady = getReady.get();
        m_Owned.push_back(std::move(getReady));
    }
}

void GUIDirector::RegisterMatch(std::unique_ptr<MatchScreen> match) {
    if (match && Place(kGame, match.get(), nullptr)) {
        m_Match = match.get();
        m_Owned.push_back(std::move(match));
    }
}

GUIBase* GUIDirector::GetScreen(int id) const {
    return id > 0 && id < kIdCount ? m_ScreenOfId[id] : nullptr;
}

bool GUIDirector::IsStacked(const GUIBase* screen) const {
    return std::find(m_Screens.begin(), m_Screens.end(), screen) != m_Screens.end();
}

int GUIDirector::GetCurrentScreenId() const {
    return m_Ids.empty() ? 0 : m_Ids.front();
}

void GUIDirector::PushScreen(int id) {
    GUIBase* screen = GetScreen(id);
    if (id != kExit && screen == nullptr) {
        log_error("GUIDirector::PushScreen: no screen %d", id);
        return;
    }
    // A screen shows once in the stack; preparing it again would reload or restart it under
    // the screens above it.
    if (screen != nullptr && screen != Top() && IsStacked(screen)) {
        log_error("GUIDirector::PushScreen: screen %d is already in the stack", id);
        return;
    }
    log_info("GUIDirector::PushScreen: %d", id);
    GUIBase* oldTop = Top();
    m_Ids.push_front(id);
    PrepareBeforePush(id);
    if (screen != nullptr) {
        m_Screens.push_front(screen);
    }
    PrepareAfterPush(id);
    ChangeTop(oldTop);
    Application::GetInstance().frameSkip = true;
}

void GUIDirector::PrepareBeforePush(int id) {
    if (const char* description = ReloadedDescriptionOf(id)) {
        FlashGUI* screen = m_FlashOfId[id];
        screen->Unload();
        if (id == kChampionshipGetReady && m_Match != nullptr) {
            m_GetReady->Load(description, *m_Match);
        } else {
            screen->Load(description);
        }
    } else if (id == kGame) {
        m_Match->StartMatch();
        m_Match->Update(Application::GetInstance(), 0.0f);
    }
}

void GUIDirector::PrepareAfterPush(int id) {
    switch (id) {
    case kTitle: SoundManager::GetInstance().PlayMusic(kMenuMusic); break;
    case kTutorial: m_Tutorial->EnableButtons(false); break;
    case kTutorialWithButtons:
        m_Tutorial->Reset();
        m_Tutorial->EnableButtons(true);
        break;
    case kMainMenu: m_MainMenu.SetFocus("newgamepvp"); break;
    default: break;
    }
}

void GUIDirector::ChangeTop(GUIBase* oldTop) {
    GUIBase* newTop = Top();
    if (newTop == nullptr || newTop == oldTop) {
        return;
    }
    newTop->Activate();
    // An activation that changed the stack has handed over on its own.
    if (oldTop == nullptr || Top() != newTop) {
        return;
    }
    if (Controller* handOver = oldTop->GetHandOver()) {
        newTop->TakeHandOver(handOver);
    }
}

bool GUIDirector::PopScreen() {
    if (m_Ids.empty()) {
        return false;
    }
    const int id = m_Ids.front();
    log_info("GUIDirector::PopScreen: %d", id);
    GUIBase* oldTop = Top();
    if (id == kGame) {
        EndMatch();
    }
    m_Ids.pop_front();
    // The exit id has no screen of its own to take off.
    if (id != kExit && !m_Screens.empty()) {
        m_Screens.pop_front();
    }
    ChangeTop(oldTop);
    return true;
}

void GUIDirector::EndMatch() {
    Application::GetInstance().DetachControllers();
    if (m_Match != nullptr) {
        m_Match->EndMatch();
    }
}

void GUIDirector::PopAll() {
    while (PopScreen()) {
    }
}

void GUIDirector::Update(float dt) {
    if (m_Ids.empty()) {
        return;
    }
    Application& application = Application::GetInstance();
    // The screens to update are chosen before the first runs; one that a screen before it took
    // off the stack is skipped.
    std::vector<GUIBase*> walk;
    for (size_t depth = 0; depth < m_Screens.size(); ++depth) {
        walk.push_back(m_Screens[depth]);
        if (!m_Screens[depth]->UpdatesBelow()) {
            break;
        }
    }
    for (GUIBase* screen : walk) {
        if (IsStacked(screen)) {
            screen->Update(application, dt);
        }
    }
    if (!walk.empty()) {
        m_Hint.Update(application, dt);
    }
    if (GetCurrentScreenId() == kExit) {
        application.close();
        DeleteTitleAndEmpty();
    }
}

void GUIDirector::Draw(sf::RenderTarget& target) {
    if (m_Ids.empty() || m_Screens.empty()) {
        return;
    }
    size_t bottom = 0;
    while (bottom + 1 < m_Screens.size() && m_Screens[bottom]->IsOverlay()) {
        ++bottom;
    }
    for (size_t depth = bottom + 1; depth-- > 0;) {
        target.draw(*m_Screens[depth]);
    }
    target.draw(m_Hint);
}

void GUIDirector::OnEvent(const sf::Event& event) {
    if (GUIBase* top = Top()) {
        top->OnEvent(event);
    }
}

void GUIDirector::HandleCommand(Controller* controller, int command) {
    if (command == Controller::kBack && !m_Ids.empty()) {
        const int id = m_Ids.front();
        if (BackPops(id)) {
            PopScreen();
        } else if (BackPauses(id)) {
            PushScreen(kPaused);
        }
    }
    if (GUIBase* top = Top()) {
        top->OnCommand(controller, command);
    }
    m_Hint.OnCommand(controller, command);
}

void GUIDirector::OnFSCommand(const char* command) {
    const std::string text = command != nullptr ? command : "";
    if (text.starts_with("playsound")) {
        SoundManager::GetInstance().ExecuteCommand(text);
        return;
    }
    if (text == "Back") {
        // The last screen stays: without one the game would show nothing and take no command.
        if (m_Ids.size() > 1) {
            PopScreen();
        }
    } else if (GUIBase* top = Top()) {
        top->OnFSCommand(text);
    }
    m_Hint.OnFSCommand(text);
}

void GUIDirector::ShowHint(const char* name, int mode) {
    m_Hint.ShowHint(name != nullptr ? name : "", mode);
}

void GUIDirector::Shutdown() {
    if (std::find(m_Ids.begin(), m_Ids.end(), kGame) != m_Ids.end()) {
        EndMatch();
    }
    DeleteTitleAndEmpty();
    for (FlashGUI* screen : m_FlashOfId) {
        if (screen != nullptr && screen->IsLoaded()) {
            screen->Unload();
        }
    }
}

void GUIDirector::DeleteTitleAndEmpty() {
    if (m_Title) {
        m_ScreenOfId[kTitle] = nullptr;
        m_FlashOfId[kTitle] = nullptr;
        m_Title.reset();
    }
    m_Ids.clear();
    m_Screens.clear();
}
