#include "gui/GUIChampionshipMatchTable.h"

#include "app/Application.h"
#include "app/GameRandom.h"
#include "app/Log.h"
#include "gui/GUIDirector.h"
#include "gui/MovieClips.h"

#include <cstdio>

namespace {

// "<format>" with the number.
std::string Numbered(const char* format, int number) {
    char text[32];
    std::snprintf(text, sizeof(text), format, number);
    return text;
}

}  // namespace

void GUIChampionshipMatchTable::Load(const std::string& file) {
    FlashGUI::Load(file);
    AddFlashFocusItem("Start");
    SetFocus("Start");
    m_Selection.Load(kSelectionMovie);
    m_Portraits.clear();
}

void GUIChampionshipMatchTable::Activate() {
    FlashGUI::Activate();
    // Uncovering the table (after a pause) shows it anew rather than adding to it.
    m_Portraits.clear();
    const MatchSetup& setup = Application::GetInstance().matchSetup;
    const int players = static_cast<int>(setup.players.size());
    if (FlashMovie* movie = GetFirstMovie()) {
        movie->GotoLabel(Numbered("%d players", players).c_str(), true);
    }
    char title[48];
    std::snprintf(title, sizeof(title), "MATCH %d OF %d", setup.matchIndex + 1, static_cast<int>(setup.matches.size()));
    SetText("title2", title);
    ShowTexts(players);
    int counter = 0;
    for (size_t i = 0; i < setup.matches.size(); ++i) {
        ShowMatch(i, counter);
    }
}

void GUIChampionshipMatchTable::ShowTexts(int players) {
    for (int count = 2; count <= 4; ++count) {
        const int matches = count == 3 ? 2 : 3;
        for (int k = 1; k <= matches; ++k) {
            SetTextVisible(std::to_string(count) + Numbered("match%d", k), count == players);
        }
    }
}

void GUIChampionshipMatchTable::ShowMatch(size_t index, int& counter) {
    const Application& application = Application::GetInstance();
    const MatchRecord& match = application.matchSetup.matches[index];
    const int k = static_cast<int>(index) + 1;
    FlashMovie* movie = GetFirstMovie();
    if (movie == nullptr) {
        return;
    }
    if (swfplayer::character* frame = movie->GetCharacter(Numbered("match%drect", k))) {
        frame->set_visible(static_cast<int32_t>(index) == application.matchSetup.matchIndex);
    }
    const std::string* files[2] = {&match.player1File, &match.player2File};
    sf::Vector2f places[2];
    for (size_t side = 0; side < 2; ++side) {
        swfplayer::character* place = movie->GetCharacter(Numbered(side == 0 ? "match%dp1" : "match%dp2", k));
        places[side] = ClipPosition(place);
        if (place != nullptr) {
            place->set_visible(files[side]->empty());
        }
        if (files[side]->empty()) {
            continue;
        }
        GlobboSnapshot& portrait = m_Portraits.emplace_back();
        portrait.Setup(*files[side], application.font, kPortraitFlags, {});
        portrait.setPosition(places[side]);
        portrait.setScale(kPortraitScale, kPortraitScale);
        if (match.matchFlags[side]) {
            ++counter;
            portrait.PlayFrameLabel(Numbered("showup%d", counter).c_str());
            portrait.SetState(GlobboSnapshot::kShowingUp);
        } else {
            portrait.GetFrameMovie().GotoLabel(kShownLabel, false);
        }
    }
    if (static_cast<int32_t>(index) == application.matchSetup.matchIndex) {
        m_Selection.setPosition((places[0] + places[1]) / 2.0f);
        if (swfplayer::root* root = m_Selection.GetRoot()) {
            root->goto_frame(GameRandom::GetInstance().Random(kFirstHighlightFrame, kLastHighlightFrame));
            root->set_play_state(swfplayer::character::PLAY);
        }
        m_Selection.setOrigin(m_Selection.GetWidth() / 2.0f, m_Selection.GetHeight() / 2.0f);
    }
}

void GUIChampionshipMatchTable::Update(Application& application, float dt) {
    FlashGUI::Update(application, dt);
    for (GlobboSnapshot& portrait : m_Portraits) {
        portrait.Update(dt);
    }
    m_Selection.Update(&application, dt);
}

void GUIChampionshipMatchTable::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    FlashGUI::Render(target, states);
    for (const GlobboSnapshot& portrait : m_Portraits) {
        target.draw(portrait, states);
    }
    target.draw(m_Selection, states);
}

void GUIChampionshipMatchTable::OnFSCommand(const std::string& command) {
    FlashGUI::OnFSCommand(command);
    if (command != "Start") {
        return;
    }
    Application& application = Application::GetInstance();
    const MatchSetup& setup = application.matchSetup;
    if (setup.matchIndex < 0 || static_cast<size_t>(setup.matchIndex) >= setup.matches.size()) {
        log_error("GUIChampionshipMatchTable: no match %d to play", setup.matchIndex);
        return;
    }
    application.TakeMatch(setup.matches[static_cast<size_t>(setup.matchIndex)]);
    m_Director.PopScreen();
    m_Director.PushScreen(GUIDirector::kGame);
    m_Director.PushScreen(GUIDirector::kChampionshipGetReady);
}
