#include "gui/GUIPlayerSelectionTraining.h"

#include "app/Application.h"
#include "app/Log.h"
#include "gui/GUIDirector.h"
#include "gui/GlobboSnapshot.h"
#include "gui/MovieClips.h"
#include "gui/SnapshotFocusItem.h"

namespace {

constexpr const char* kGoBack = "GoBack";

}  // namespace

GUIPlayerSelectionTraining::GUIPlayerSelectionTraining(GUIDirector& director)
    : m_Director(director), m_Grid(director.GetHint()) {}

void GUIPlayerSelectionTraining::Activate() {
    FlashGUI::Activate();
    RemoveAllFocusItems();
    m_Grid.Clear(*this);
    m_Bots.Clear(*this);
    m_ChosenPlayer = nullptr;
    m_ChosenController = nullptr;
    m_ChosenBot = nullptr;
    m_Grid.Build(*this, kPool, kSlotRow, 1, true);
    m_Bots.Build(*this, kBots, 1.0f);
    // The movie's "EnteredPlayerSelection" begins the creature choice.
    if (FlashMovie* movie = GetFirstMovie()) {
        movie->GotoLabel("PlayerSelection", false);
    }
}

void GUIPlayerSelectionTraining::Update(Application& application, float dt) {
    FlashGUI::Update(application, dt);
    FollowClips();
    if (m_State == kPlayerPlaced && m_ChosenPlayer != nullptr && m_ChosenPlayer->GetSnapshot() != nullptr &&
        m_ChosenPlayer->GetSnapshot()->GetState() == GlobboSnapshot::kShown) {
        SetState(kMovingToBots);
    }
}

void GUIPlayerSelectionTraining::FollowClips() {
    FlashMovie* movie = GetFirstMovie();
    if (movie == nullptr) {
        return;
    }
    // A clip that is missing leaves its grid where it is.
    if (swfplayer::character* shelves = movie->GetCharacter("Shelves")) {
        const sf::Vector2f at = ClipPosition(shelves);
        const sf::Vector2f size = ClipSize(shelves);
        const float scale = ClipScaleX(shelves);
        m_Grid.MovePool({at.x - size.x / 2.0f + 120.0f * scale, at.y - size.y / 2.0f + 85.0f * scale}, scale);
    }
    if (swfplayer::character* monitor = movie->GetCharacter("Monitor")) {
        const sf::Vector2f at = ClipPosition(monitor);
        const sf::Vector2f size = ClipSize(monitor);
        m_Bots.MoveTo({at.x + size.x / 7.5f, at.y + size.y / 5.0f}, 1.0f);
    }
    if (swfplayer::character* selected = movie->GetCharacter("SelectedGlobbo");
        selected != nullptr && m_ChosenPlayer != nullptr) {
        m_ChosenPlayer->SetPosition(ClipPosition(selected));
    }
}

void GUIPlayerSelectionTraining::SetState(int state) {
    m_State = state;
    switch (state) {
    case kGoingBack:
        m_Grid.ReturnAllToPool();
        m_ChosenPlayer = nullptr;
        m_ChosenController = nullptr;
        PlayLabel("GoToPlayerSelection");
        break;
    case kChoosingPlayer:
        RenewGoBack();
        m_Grid.ConnectItem(*this, kGoBack, FocusItem::kUp, SelectionGrid::kTopEdge);
        m_Grid.ConnectItem(*this, kGoBack, FocusItem::kLeft, SelectionGrid::kLeftEdge);
        MoveAllFocus(m_Grid.GetPoolItems().empty() ? kGoBack : m_Grid.GetPoolItems().front()->GetName());
        SetTextVisible("title1", true);
        SetTextVisible("title2", false);
        break;
    case kPlayerPlaced:
        UnlinkFocusItem(kGoBack);
        RemoveAllCursors();
        break;
    case kMovingToBots:
        PlayLabel("GoToAISelection");
        RemoveAllCursors();
        break;
    case kChoosingBot:
        RenewGoBack();
        m_Bots.ConnectItem(*this, kGoBack, FocusItem::kUp, SelectionGrid::kTopEdge);
        m_Bots.ConnectItem(*this, kGoBack, FocusItem::kLeft, SelectionGrid::kLeftEdge);
        m_Bots.ConnectItem(*this, kGoBack, FocusItem::kRight, SelectionGrid::kRightEdge);
        // Without bots there is no way on, only back.
        MoveAllFocus(m_Bots.GetItems().empty() ? kGoBack : m_Bots.GetItems().front()->GetName());
        SetTextVisible("title1", false);
        SetTextVisible("title2", true);
        break;
    case kBotChosen: PlayLabel("AISelected"); break;
    default: break;
    }
    SetText("botdesc1", "");
    SetText("botdesc2", "");
}

void GUIPlayerSelectionTraining::RenewGoBack() {
    if (FindFocusItem(kGoBack) != nullptr) {
        RemoveFocusItem(kGoBack);
    }
    AddFlashFocusItem(kGoBack);
    SetFocus(kGoBack);
}

void GUIPlayerSelectionTraining::PlayLabel(const char* label) {
    if (FlashMovie* movie = GetFirstMovie()) {
        movie->GotoLabel(label, true);
    }
}

void GUIPlayerSelectionTraining::OnFocusItemEvent(Controller* controller, FocusItem* item, int kind) {
    if (item == nullptr) {
        return;
    }
    SnapshotFocusItem* bot = FindBot(item);
    if (kind == kFocusGained && bot != nullptr) {
        ShowBotTexts(*bot);
    }
    if (kind != kPressed) {
        return;
    }
    if (IsPoolOrSlot(item)) {
        if (m_State != kChoosingPlayer && m_State != kPlayerPlaced) {
            log_error("GUIPlayerSelectionTraining: a creature pressed in state %d is ignored.", m_State);
            return;
        }
        m_Grid.OnItemPressed(*this, controller, item, kind);
        OnPoolOrSlotPressed(controller);
    } else if (bot != nullptr) {
        if (m_State != kChoosingBot) {
            log_error("GUIPlayerSelectionTraining: a bot pressed in state %d is ignored.", m_State);
            return;
        }
        OnBotPressed(*bot);
    } else if (item->GetName() == kGoBack) {
        OnGoBackPressed();
    }
}

void GUIPlayerSelectionTraining::OnPoolOrSlotPressed(Controller* controller) {
    const std::vector<std::shared_ptr<SnapshotFocusItem>>& slots = m_Grid.GetSlots();
    if (slots.empty() || slots.front()->GetFile().empty()) {
        m_ChosenPlayer = nullptr;
        m_ChosenController = nullptr;
        // The creature was taken back out before the bots came: the choice starts again, with
        // cursors to make it.
        if (m_State == kPlayerPlaced) {
            SetState(kChoosingPlayer);
        }
        return;
    }
    m_ChosenPlayer = slots.front().get();
    m_ChosenController = Application::GetInstance().FindController(controller);
    SetState(kPlayerPlaced);
}

void GUIPlayerSelectionTraining::OnBotPressed(SnapshotFocusItem& bot) {
    m_ChosenBot = &bot;
    SetState(kBotChosen);
}

void GUIPlayerSelectionTraining::OnGoBackPressed() {
    if (m_State == kChoosingPlayer) {
        m_Director.PopScreen();
    } else if (m_State == kChoosingBot) {
        SetState(kGoingBack);
    } else {
        log_error("GUIPlayerSelectionTraining: GoBack pressed in state %d is ignored.", m_State);
    }
}

void GUIPlayerSelectionTraining::ShowBotTexts(const SnapshotFocusItem& bot) {
    const GlobboSnapshot* snapshot = bot.GetSnapshot();
    if (snapshot == nullptr) {
        return;
    }
    SetText("botdesc1", snapshot->GetData().m_CharacterName);
    SetText("botdesc2", snapshot->GetBotSettings().m_Personality);
}

void GUIPlayerSelectionTraining::OnFSCommand(const std::string& command) {
    if (command == "StartGame") {
        StartGame();
    } else if (command == "EnteredPlayerSelection") {
        SetState(kChoosingPlayer);
    } else if (command == "EnteredAISelection") {
        if (m_ChosenPlayer == nullptr) {
            log_error("GUIPlayerSelectionTraining: EnteredAISelection before a creature was chosen is ignored.");
            return;
        }
        SetState(kChoosingBot);
    }
}

void GUIPlayerSelectionTraining::StartGame() {
    if (m_ChosenPlayer == nullptr || m_ChosenBot == nullptr || m_ChosenPlayer->GetFile().empty()) {
        log_error("GUIPlayerSelectionTraining: StartGame without a creature and a bot is ignored.");
        return;
    }
    Application& application = Application::GetInstance();
    MatchSetup& setup = application.matchSetup;
    setup.players = {m_ChosenPlayer->GetFile(), m_ChosenBot->GetFile()};
    setup.results.resize(1);
    application.player1File = m_ChosenPlayer->GetFile();
    application.player1Controller = m_ChosenController;
    application.player2File = m_ChosenBot->GetFile();
    application.player2Controller = nullptr;
    m_Director.PushScreen(GUIDirector::kLevelSelection);
}

bool GUIPlayerSelectionTraining::IsPoolOrSlot(const FocusItem* item) const {
    for (const auto& pool : m_Grid.GetPoolItems()) {
        if (pool.get() == item) {
            return true;
        }
    }
    for (const auto& slot : m_Grid.GetSlots()) {
        if (slot.get() == item) {
            return true;
        }
    }
    return false;
}

SnapshotFocusItem* GUIPlayerSelectionTraining::FindBot(const FocusItem* item) const {
    for (const auto& bot : m_Bots.GetItems()) {
        if (bot.get() == item) {
            return bot.get();
        }
    }
    return nullptr;
}
