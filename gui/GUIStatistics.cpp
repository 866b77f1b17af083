#include "gui/GUIStatistics.h"

#include "app/Application.h"
#include "app/Log.h"
#include "app/VirtualFile.h"
#include "game/Game.h"
#include "game/Globbo.h"
#include "game/StatisticsFile.h"
#include "gui/StatisticsTable.h"

namespace {

// Font files are far smaller than this.
constexpr long long kMaxFontBytes = 64 * 1024 * 1024;

const sf::Color kNameColor(0, 0, 0, 255);
const sf::Color kLabelColor(255, 255, 255, 200);
// The scores, the players' ranks and their points. This red, a little see-through, reads at
// about 3.3 to 1 at best (on black): the movie's board behind it is near black.
const sf::Color kPointsColor(200, 87, 87, 200);
const sf::Color kHeaderColor(87, 200, 87, 200);

// The current match: where the names, the labels and the players' columns stand.
const sf::Vector2f kNamePositions[2] = {{250.0f, 170.0f}, {450.0f, 170.0f}};
const sf::Vector2f kLabelsPosition(70.0f, 215.0f);
const sf::Vector2f kPlayerColumns[2] = {{290.0f, 215.0f}, {490.0f, 215.0f}};
const sf::Vector2f kScoreOffset(-5.0f, -5.0f);
constexpr float kShotsBelow = 50.0f;
constexpr unsigned int kNameSize = 40;
constexpr unsigned int kLabelSize = 35;
constexpr unsigned int kScoreSize = 60;

// The overall table: the header's line and its columns, then the rows.
constexpr float kHeaderY = 160.0f;
constexpr float kColumnX[6] = {80.0f, 260.0f, 360.0f, 460.0f, 560.0f, 660.0f};
constexpr unsigned int kHeaderSize = 20;
constexpr float kFirstRowY = 190.0f;
constexpr float kRowHeight = 30.0f;
constexpr float kRowColumnX[6] = {80.0f, 280.0f, 380.0f, 480.0f, 570.0f, 660.0f};
constexpr unsigned int kRowSize = 25;

void LinkRight(FlashGUI& screen, const char* a, const char* b) {
    FocusItem* left = screen.FindFocusItem(a);
    FocusItem* right = screen.FindFocusItem(b);
    if (left != nullptr && right != nullptr) {
        left->SetLink(FocusItem::kRight, right);
        right->SetLink(FocusItem::kLeft, left);
    }
}

}  // namespace

void GUIStatistics::Load(const std::string& file) {
    FlashGUI::Load(file);
    for (const char* name : {"Back", "CurrentMatchLink", "OverallLink"}) {
        AddFlashFocusItem(name);
    }
    LinkRight(*this, "Back", "CurrentMatchLink");
    LinkRight(*this, "CurrentMatchLink", "OverallLink");
    LinkRight(*this, "OverallLink", "Back");
}

const sf::Font& GUIStatistics::Font() {
    if (!m_FontTried) {
        m_FontTried = true;
        m_FontBytes = VirtualFile::Load(kFontFile, kMaxFontBytes).bytes;
        m_HasFont = !m_FontBytes.empty() && m_Font.loadFromMemory(m_FontBytes.data(), m_FontBytes.size());
        if (!m_HasFont) {
            log_error("GUIStatistics::Activate: cannot load the font %s", kFontFile);
        }
    }
    return m_HasFont ? m_Font : Application::GetInstance().font;
}

sf::Text GUIStatistics::MakeText(const std::string& text, const sf::Vector2f& position, unsigned int size,
                                 const sf::Color& color) {
    sf::Text made(sf::String::fromUtf8(text.begin(), text.end()), Font(), size);
    made.setPosition(position);
    made.setFillColor(color);
    return made;
}

void GUIStatistics::Activate() {
    FlashGUI::Activate();
    SetFocus("Back");
    Font();
    const Game* game = Application::GetInstance().currentGame;
    m_ShowCurrentMatch = game != nullptr;
    if (FlashMovie* movie = GetFirstMovie()) {
        movie->GotoLabel("match", true);
        if (game == nullptr) {
            movie->CallRootMethod("OverallOnly");
        }
    }
    if (game != nullptr) {
        BuildCurrentMatch();
    }
    StatisticsStore& statistics = Application::GetInstance().statistics;
    LoadStatistics(statistics);
    BuildOverallTable();
}

void GUIStatistics::BuildCurrentMatch() {
    const Game& game = *Application::GetInstance().currentGame;
    const Globbo* creatures[2] = {game.GetGlobbo1(), game.GetGlobbo2()};
    for (int i = 0; i < 2; ++i) {
        m_Names[i] =
            MakeText(creatures[i] != nullptr ? creatures[i]->m_Name : "", kNamePositions[i], kNameSize, kNameColor);
    }
    m_Columns[0] = {MakeText("Score", kLabelsPosition, kLabelSize, kLabelColor),
                    MakeText("Shots", kLabelsPosition + sf::Vector2f(0.0f, kShotsBelow), kLabelSize, kLabelColor)};
    const GameStatistics& statistics = game.GetStatistics();
    const GamePlayerStatistics* players[2] = {&statistics.player1, &statistics.player2};
    for (int i = 0; i < 2; ++i) {
        const sf::Vector2f at = kPlayerColumns[i];
        m_Columns[i + 1] = {MakeText(std::to_string(players[i]->score), at + kScoreOffset, kScoreSize, kPointsColor),
                            MakeText(std::to_string(players[i]->numShots), at + sf::Vector2f(0.0f, kShotsBelow),
                                     kLabelSize, kLabelColor)};
    }
}

void GUIStatistics::BuildOverallTable() {
    const char* titles[6] = {"", "Points", "Played", "Won", "Shots", "Hits"};
    for (size_t i = 0; i < m_Header.size(); ++i) {
        m_Header[i] = MakeText(titles[i], {kColumnX[i], kHeaderY}, kHeaderSize, kHeaderColor);
    }
    m_Rows.clear();
    int rank = 1;
    for (const PlayerTotals& totals : RankPlayers(Application::GetInstance().statistics.records)) {
        const float y = kFirstRowY + kRowHeight * static_cast<float>(rank - 1);
        // The id is only ever text: it is joined, never used as a format.
        const std::string name = std::to_string(rank) + ". " + totals.id;
        const int32_t numbers[5] = {totals.points, totals.played, totals.won, totals.shots, totals.hits};
        Row row;
        row[0] = MakeText(name, {kRowColumnX[0], y}, kRowSize, kPointsColor);
        for (size_t i = 0; i < 5; ++i) {
            row[i + 1] = MakeText(std::to_string(numbers[i]), {kRowColumnX[i + 1], y}, kRowSize,
                                  i == 0 ? kPointsColor : kLabelColor);
        }
        m_Rows.push_back(row);
        ++rank;
    }
}

void GUIStatistics::OnFSCommand(const std::string& command) {
    if (command == "CurrentMatchLink") {
        m_ShowCurrentMatch = true;
    } else if (command == "OverallLink") {
        m_ShowCurrentMatch = false;
    }
}

void GUIStatistics::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    FlashGUI::Render(target, states);
    if (m_ShowCurrentMatch) {
        for (const sf::Text& name : m_Names) {
            target.draw(name, states);
        }
        for (const Column& column : m_Columns) {
            for (const sf::Text& text : column) {
                target.draw(text, states);
            }
        }
        return;
    }
    for (const sf::Text& text : m_Header) {
        target.draw(text, states);
    }
    for (const Row& row : m_Rows) {
        if (row[0].getPosition().y >= kScreenBottom) {
            break;
        }
        for (const sf::Text& text : row) {
            target.draw(text, states);
        }
    }
}
