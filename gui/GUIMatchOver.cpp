#include "gui/GUIMatchOver.h"

#include "app/Application.h"
#include "app/Log.h"
#include "app/SoundManager.h"
#include "game/Game.h"
#include "game/Globbo.h"
#include "game/PhysicsWorld.h"
#include "game/SpitGame.h"
#include "game/b2ConstantVolumeJoint.h"
#include "gui/Championship.h"
#include "gui/FocusLinks.h"
#include "gui/GUIDirector.h"

namespace {

constexpr const char* kMenuMusic = "data/music/acoustic/track01.ogg";
const sf::Color kCaptionColor(250, 250, 250, 255);

}  // namespace

GUIMatchOver::GUIMatchOver(GUIDirector& director) : m_Director(director), m_World(std::make_unique<PhysicsWorld>()) {
    m_World->Create();
}

GUIMatchOver::~GUIMatchOver() {
    m_DrawableCopy.reset();
    m_Copy.reset();
    m_World.reset();
}

void GUIMatchOver::Load(const std::string& file) {
    FlashGUI::Load(file);
    if (FlashMovie* movie = GetFirstMovie(); movie != nullptr && movie->GetRoot() != nullptr) {
        movie->GetRoot()->set_play_state(swfplayer::character::PLAY);
    }
    DropCopy();
    m_Caption = sf::Text();
    m_Caption.setFont(GetFont());
    m_Caption.setCharacterSize(kCaptionSize);
    m_Caption.setFillColor(kCaptionColor);
    m_World->Create();
    SetAllTextsVisible(false);
}

void GUIMatchOver::Unload() {
    DropCopy();
    m_Caption.setString("");
    FlashGUI::Unload();
}

void GUIMatchOver::DropCopy() {
    m_DrawableCopy.reset();
    m_Copy.reset();
}

// The choices of a quick match and of a training match, and of a championship: the awards
// after its last match once decided, else the next match (a match without a winner is played
// again).
const GUIMatchOver::Choices& GUIMatchOver::ChoicesOfMode() const {
    static const Choices kMatchChoices{
        {"Stats", "PlayAgain", "MainMenu"}, true, "PlayAgain", {"GetAwards", "NextMatch"}};
    static const Choices kLastChoices{
        {"Stats", "GetAwards"}, false, "GetAwards", {"NextMatch", "PlayAgain", "MainMenu"}};
    static const Choices kNextChoices{
        {"Stats", "NextMatch"}, false, "NextMatch", {"GetAwards", "PlayAgain", "MainMenu"}};
    Application& application = Application::GetInstance();
    if (application.matchSetup.mode != MatchSetup::Championship) {
        return kMatchChoices;
    }
    const Championship championship(application.matchSetup, application);
    return championship.IsLastMatch() && championship.IsDecided() ? kLastChoices : kNextChoices;
}

void GUIMatchOver::Activate() {
    FlashGUI::Activate();
    RemoveAllFocusItems();
    const FlashMovie* movie = GetFirstMovie();
    const swfplayer::root* root = movie != nullptr ? movie->GetRoot() : nullptr;
    SetNavigationEnabled(root != nullptr && root->get_current_frame() > 0);

    const Choices& choices = ChoicesOfMode();
    for (const char* item : choices.items) {
        AddFlashFocusItem(item);
    }
    for (size_t i = 0; i + 1 < choices.items.size(); ++i) {
        LinkRight(*this, choices.items[i], choices.items[i + 1]);
    }
    if (choices.ring && choices.items.size() > 1) {
        LinkRight(*this, choices.items.back(), choices.items.front());
    }
    SetFocus(choices.focus);
    for (const char* clip : choices.hidden) {
        if (swfplayer::character* character = movie != nullptr ? movie->GetCharacter(clip) : nullptr) {
            character->set_visible(false);
        }
    }
}

void GUIMatchOver::Update(Application& application, float dt) {
    FlashGUI::Update(application, dt);
    m_World->Step(dt);
    if (m_Copy) {
        m_Copy->Update(dt);
    }
    if (m_DrawableCopy) {
        m_DrawableCopy->Update(dt);
    }
}

void GUIMatchOver::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    if (m_DrawableCopy) {
        target.draw(*m_DrawableCopy, states);
    }
    FlashGUI::Render(target, states);
    if (m_Copy) {
        target.draw(m_Caption, states);
    }
}

void GUIMatchOver::OnFSCommand(const std::string& command) {
    FlashGUI::OnFSCommand(command);
    if (command == "GoWinner") {
        GoWinner();
    } else if (command == "ShowText") {
        ShowText();
    } else if (command == "NextMatch") {
        NextMatch();
    } else if (command == "GetAwards") {
        GetAwards();
    } else if (command == "PlayAgain") {
        LeaveMatch();
        m_Director.PushScreen(GUIDirector::kQuickMatchSelection);
        m_Director.PushScreen(GUIDirector::kLevelSelection);
    } else if (command == "MainMenu") {
        LeaveMatch();
    } else if (command == "Stats") {
        m_Director.PushScreen(GUIDirector::kStatistics);
    }
}

// The winner is the match's winning creature as the command comes; a draw, a match that is gone
// or a copy made already fly nothing.
void GUIMatchOver::GoWinner() {
    const Game* game = Application::GetInstance().currentGame;
    if (m_Copy || game == nullptr) {
        return;
    }
    const int winner = game->GetStatistics().winner;
    Globbo* creature = winner == GameStatistics::kPlayer1   ? game->GetGlobbo1()
                       : winner == GameStatistics::kPlayer2 ? game->GetGlobbo2()
                                                            : nullptr;
    if (creature == nullptr) {
        return;
    }
    m_Copy = std::make_unique<Globbo>(*m_World, creature->m_File, creature->m_Center.x, creature->m_Center.y);
    if (b2ConstantVolumeJoint* joint = m_Copy->GetJoint()) {
        joint->Inflate(SpitGame::kInflation);
    }
    m_DrawableCopy = std::make_unique<DrawableGlobbo>(
        *m_Copy, sf::Vector2f(creature->m_ScreenCenter.x, creature->m_ScreenCenter.y), 1.0);
    m_DrawableCopy->MoveTo({kCentreX, kCentreY}, kFlightSeconds);
    m_DrawableCopy->ScaleTo(kWinnerScale, kGrowthSeconds);
    creature->DestroyPhysics();
    creature->m_Visible = false;
}

void GUIMatchOver::ShowText() {
    SetTextVisible("matchover", true);
    if (m_Copy) {
        const std::string& name = m_Copy->m_Name;
        m_Caption.setString(sf::String::fromUtf8(name.begin(), name.end()));
        m_Caption.setPosition(kCentreX - m_Caption.getLocalBounds().width / 2.0f, kCaptionY);
        SetTextVisible("congrats", true);
        SetTextVisible("thewinner", true);
    }
    SetNavigationEnabled(true);
}

// Only a championship goes on, and not past its last decided match.
void GUIMatchOver::NextMatch() {
    Application& application = Application::GetInstance();
    if (application.matchSetup.mode != MatchSetup::Championship ||
        !Championship(application.matchSetup, application).NextMatch()) {
        log_error("GUIMatchOver: no next match");
        return;
    }
    LeaveMatch();
    m_Director.PushScreen(GUIDirector::kChampionshipMatchTable);
}

// The awards come only after the championship's last match has been decided.
void GUIMatchOver::GetAwards() {
    Application& application = Application::GetInstance();
    Championship championship(application.matchSetup, application);
    if (application.matchSetup.mode != MatchSetup::Championship || !championship.IsLastMatch() ||
        !championship.IsDecided() || application.currentGame == nullptr) {
        log_error("GUIMatchOver: no awards before the championship's last match");
        return;
    }
    championship.StoreResult(application.currentGame->GetStatistics());
    m_Director.PopScreen();
    m_Director.PopScreen();
    m_Director.PushScreen(GUIDirector::kChampionshipPodium);
}

void GUIMatchOver::LeaveMatch() {
    m_Director.PopScreen();
    m_Director.PopScreen();
    DropCopy();
    RestartMenuMusic();
}

void GUIMatchOver::RestartMenuMusic() {
    SoundManager& sounds = SoundManager::GetInstance();
    sounds.StopMusic();
    sounds.PlayMusic(kMenuMusic);
}
