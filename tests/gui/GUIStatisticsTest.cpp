// The statistics screen: the overall table's totals and order, and the screen on the game's own
// movie with the current match's and the overall table's texts, its links and a statistics file
// that is missing, unreadable or holds ids that look like formats.
#include "app/Application.h"
#include "game/Game.h"
#include "game/Globbo.h"
#include "game/PhysicsWorld.h"
#include "gui/GUIStatistics.h"
#include "gui/MovieClips.h"
#include "gui/StatisticsTable.h"
#include "tests/gui/GuiTestKit.h"
#include "tests/support/TempDir.h"

#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>
#include <physfs.h>

#include <climits>

namespace gui_testing {
namespace {

GameStatistics Result(int32_t winner, const std::string& id1, int32_t score1, int32_t shots1, const std::string& id2,
                      int32_t score2, int32_t shots2) {
    GameStatistics record;
    record.winner = winner;
    record.player1.playerId = id1;
    record.player1.score = score1;
    record.player1.numShots = shots1;
    record.player2.playerId = id2;
    record.player2.score = score2;
    record.player2.numShots = shots2;
    return record;
}

std::string Describe(const std::vector<PlayerTotals>& ranked) {
    std::string text;
    for (const PlayerTotals& t : ranked) {
        text += t.id + ":" + std::to_string(t.points) + "/" + std::to_string(t.played) + "/" + std::to_string(t.won) +
                "/" + std::to_string(t.draws) + "/" + std::to_string(t.shots) + "/" + std::to_string(t.hits) + " ";
    }
    return text;
}

// Rows as "id:points/played/won/draws/shots/hits", best first.
TEST(StatisticsTable, totals_points_and_order_follow_the_results) {
    struct Case {
        const char* what;
        std::vector<GameStatistics> records;
        std::string ranked;
    };
    const Case cases[] = {
        {"nothing played", {}, ""},
        {"a win with 25 hits in all gives 2 + 25 / 10 = 4 points",
         {Result(1, "Ann", 20, 3, "Bob", 5, 2), Result(1, "Bob", 1, 1, "Ann", 5, 4)},
         "Ann:4/2/1/0/7/25 Bob:2/2/1/0/3/6 "},
        {"a draw with 9 hits gives 0 + 1 = 1 point",
         {Result(0, "Ann", 9, 0, "Bob", 0, 5)},
         "Bob:1/1/0/1/5/0 Ann:1/1/0/1/0/9 "},
        {"an undecided match counts as played only",
         {Result(-1, "Ann", 12, 2, "Bob", 3, 1)},
         "Ann:1/1/0/0/2/12 Bob:0/1/0/0/1/3 "},
        {"a winner code the game does not know counts as undecided",
         {Result(7, "Ann", 12, 2, "Bob", 3, 1), Result(-5, "Ann", 0, 0, "Bob", 0, 0)},
         "Ann:1/2/0/0/2/12 Bob:0/2/0/0/1/3 "},
        {"equal points list the later id first, byte-wise (lower case after upper case)",
         {Result(1, "abe", 0, 0, "Zed", 0, 0), Result(2, "Amy", 0, 0, "Zed", 0, 0),
          Result(1, "Amy", 0, 0, "abe", 0, 0)},
         "abe:2/2/1/0/0/0 Zed:2/2/1/0/0/0 Amy:2/2/1/0/0/0 "},
        {"one player on both sides counts twice", {Result(2, "Ann", 1, 1, "Ann", 2, 2)}, "Ann:2/2/1/0/3/3 "},
        {"sums stop at the largest count",
         {Result(1, "Max", INT_MAX, INT_MAX, "Bob", 0, 0), Result(1, "Max", INT_MAX, 5, "Bob", 0, 0)},
         "Max:214748368/2/2/0/2147483647/2147483647 Bob:0/2/0/0/0/0 "},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Describe(RankPlayers(c.records)), c.ranked) << c.what;
    }
}

// A match of two real creatures whose result the test sets.
class FinishedGame : public Game {
public:
    explicit FinishedGame(const std::string& player1 = "data/players/bubbles.xml",
                          const std::string& player2 = "data/players/sprout.xml")
        : m_One(m_World, player1, -10, 0), m_Two(m_World, player2, 10, 0) {}
    bool Update(Application&, float) override { return false; }
    void Draw(sf::RenderTarget&, const sf::RenderStates&) override {}
    void HandleEvent(const sf::Event&) override {}
    const GameStatistics& GetStatistics() const override { return statistics; }
    Globbo* GetGlobbo1() const override { return const_cast<Globbo*>(&m_One); }
    Globbo* GetGlobbo2() const override { return const_cast<Globbo*>(&m_Two); }

    GameStatistics statistics;

private:
    PhysicsWorld m_World;
    Globbo m_One;
    Globbo m_Two;
};

// The game's data mounted, the user's folder at "/userfolder" as the write folder, the screen
// loaded from the game's own description.
class GUIStatisticsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Data.emplace();
        ASSERT_NE(PHYSFS_mount(m_User.Path().c_str(), "/userfolder", 0), 0);
        ASSERT_NE(PHYSFS_setWriteDir(m_User.Path().c_str()), 0);
        TiXmlIOProxy::SetCurrent(&m_Proxy);
        screen.emplace();
        screen->Load("data/gui/statistics.xml");
    }
    void TearDown() override {
        application.currentGame = nullptr;
        screen.reset();
        TiXmlIOProxy::SetCurrent(nullptr);
        m_Data.reset();
    }

    void WriteStatistics(const std::string& xml) {
        std::filesystem::create_directories(m_User.Path() / "data");
        testing_support::WriteFile(m_User.Path() / "data/statistics.xml", xml);
    }
    static std::string Entry(int winner, const std::string& id1, int score1, const std::string& id2, int score2) {
        return "<gamestats winner=\"" + std::to_string(winner) + "\"><playerstats name=\"player1\" playerId=\"" + id1 +
               "\" score=\"" + std::to_string(score1) + "\" numShots=\"3\"/><playerstats name=\"player2\" playerId=\"" +
               id2 + "\" score=\"" + std::to_string(score2) + "\" numShots=\"4\"/></gamestats>";
    }
    static std::string Text(const sf::Text& text) { return text.getString().toAnsiString(); }
    swfplayer::character* Clip(const char* name) { return screen->GetFirstMovie()->GetCharacter(name); }
    bool LinkEnabled() { return screen->FindFocusItem("CurrentMatchLink")->IsEnabled(); }
    // Shows the screen for a moment, as the game does between two visits.
    void Show() {
        for (int i = 0; i < 5; ++i) {
            screen->Update(application, 1.0f / 30.0f);
        }
    }

    std::optional<GameDataCopy> m_Data;
    testing_support::TempDir m_User;
    TinyxmlPhysfsProxy m_Proxy;
    Application& application = Application::GetInstance();
    AppControllers controllers;
    std::optional<GUIStatistics> screen;
};

TEST_F(GUIStatisticsTest, items_ring_right_and_left_and_the_focus_starts_on_back) {
    ASSERT_EQ(screen->GetFocusItems().size(), 3u);
    const char* ring[] = {"Back", "CurrentMatchLink", "OverallLink"};
    for (int i = 0; i < 3; ++i) {
        FocusItem* item = screen->FindFocusItem(ring[i]);
        ASSERT_NE(item, nullptr);
        EXPECT_GT(item->GetRect().right - item->GetRect().left, 40.0f) << ring[i];
        EXPECT_EQ(item->GetLink(FocusItem::kRight), screen->FindFocusItem(ring[(i + 1) % 3]));
        EXPECT_EQ(item->GetLink(FocusItem::kLeft), screen->FindFocusItem(ring[(i + 2) % 3]));
    }
    screen->Activate();
    ASSERT_NE(screen->GetSharedCursor(), nullptr);
    EXPECT_EQ(screen->GetSharedCursor()->GetItem()->GetName(), "Back");
}

// Opened from the menu: the overall table of the file alone, the current-match link gone, and the
// current match's texts empty until there is one; a press on the overall link's clip tells the
// screen through the movie.
TEST_F(GUIStatisticsTest, without_a_match_the_overall_table_shows_alone) {
    WriteStatistics("<array name=\"statistics\">" + Entry(1, "Bubbles", 14, "Sprout", 2) +
                    Entry(2, "Plum", 1, "Sprout", 3) + "</array>");
    screen->Activate();
    EXPECT_FALSE(screen->ShowsCurrentMatch());
    EXPECT_FALSE(LinkEnabled());
    EXPECT_FALSE(Clip("currentLook")->get_visible());
    EXPECT_TRUE(LinkEnabled() == false && screen->FindFocusItem("OverallLink")->IsEnabled());

    const GUIStatistics::Row& header = screen->GetHeader();
    const char* titles[] = {"", "Points", "Played", "Won", "Shots", "Hits"};
    const float headerX[] = {260, 360, 460, 560, 660};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(Text(header[i]), titles[i]);
        EXPECT_EQ(header[i].getCharacterSize(), 20u);
        EXPECT_EQ(header[i].getFillColor(), sf::Color(87, 200, 87, 200));
        EXPECT_EQ(header[i].getPosition().y, 160.0f);
        if (i > 0) {
            EXPECT_EQ(header[i].getPosition().x, headerX[i - 1]);
        }
    }
    // Sprout: 2 played, 1 won, hits 5, shots 8: 2 points; Bubbles: 1 won, hits 14: 3 points;
    // Plum: none.
    const std::vector<GUIStatistics::Row>& rows = screen->GetRows();
    ASSERT_EQ(rows.size(), 3u);
    const std::vector<std::vector<std::string>> expected = {{"1. Bubbles", "3", "1", "1", "3", "14"},
                                                            {"2. Sprout", "2", "2", "1", "8", "5"},
                                                            {"3. Plum", "0", "1", "0", "3", "1"}};
    const float columns[] = {80, 280, 380, 480, 570, 660};
    for (size_t k = 0; k < rows.size(); ++k) {
        for (int i = 0; i < 6; ++i) {
            EXPECT_EQ(Text(rows[k][i]), expected[k][i]) << k << " " << i;
            EXPECT_EQ(rows[k][i].getPosition(), sf::Vector2f(columns[i], 190.0f + 30.0f * k));
            EXPECT_EQ(rows[k][i].getCharacterSize(), 25u);
            EXPECT_EQ(rows[k][i].getFillColor(), i < 2 ? sf::Color(200, 87, 87, 200) : sf::Color(255, 255, 255, 200));
        }
    }

    for (const sf::Text& name : screen->GetNames()) {
        EXPECT_EQ(Text(name), "");
    }
    screen->OnFSCommand("CurrentMatchLink");
    EXPECT_TRUE(screen->ShowsCurrentMatch());
    screen->OnFSCommand("currentmatchlink");
    screen->OnFSCommand("OverallLinks");
    EXPECT_TRUE(screen->ShowsCurrentMatch());
    CommandEar ear;
    ear.onCommand = [this](const std::string& command) {
        screen->OnFSCommand(command);
    };
    screen->OnCommand(controllers[0], Controller::kRight);
    screen->OnCommand(controllers[0], Controller::kSpit);
    for (int i = 0; i < 10; ++i) {
        screen->Update(application, 1.0f / 30.0f);
    }
    EXPECT_EQ(ear.heard, std::vector<std::string>{"OverallLink"}) << "the cursor passes the hidden link by";
    EXPECT_FALSE(screen->ShowsCurrentMatch());
}

// Opened over a finished match: its creatures' names, points and shots, laid out as the board
// expects, and the link back to them there; a later visit from the menu keeps those texts.
TEST_F(GUIStatisticsTest, with_a_match_its_names_and_numbers_show) {
    FinishedGame game;
    game.statistics = Result(1, "Bubbles", 4, 11, "Sprout", 2, 7);
    application.currentGame = &game;
    screen->Activate();
    EXPECT_TRUE(screen->ShowsCurrentMatch());
    EXPECT_TRUE(LinkEnabled());
    EXPECT_TRUE(Clip("currentLook")->get_visible());
    ASSERT_FALSE(game.GetGlobbo1()->m_Name.empty());
    const std::string names[] = {game.GetGlobbo1()->m_Name, game.GetGlobbo2()->m_Name};
    for (int i = 0; i < 2; ++i) {
        const sf::Text& name = screen->GetNames()[i];
        EXPECT_EQ(Text(name), names[i]);
        EXPECT_EQ(name.getPosition(), sf::Vector2f(250.0f + 200.0f * i, 170.0f));
        EXPECT_EQ(name.getCharacterSize(), 40u);
        EXPECT_EQ(name.getFillColor(), sf::Color(0, 0, 0, 255));
    }
    struct Expected {
        std::string text;
        sf::Vector2f at;
        unsigned int size;
        sf::Color color;
    };
    const sf::Color white(255, 255, 255, 200);
    const sf::Color red(200, 87, 87, 200);
    const Expected columns[3][2] = {{{"Score", {70, 215}, 35, white}, {"Shots", {70, 265}, 35, white}},
                                    {{"4", {285, 210}, 60, red}, {"11", {290, 265}, 35, white}},
                                    {{"2", {485, 210}, 60, red}, {"7", {490, 265}, 35, white}}};
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < 2; ++i) {
            const sf::Text& text = screen->GetColumns()[c][i];
            EXPECT_EQ(Text(text), columns[c][i].text);
            EXPECT_EQ(text.getPosition(), columns[c][i].at);
            EXPECT_EQ(text.getCharacterSize(), columns[c][i].size);
            EXPECT_EQ(text.getFillColor(), columns[c][i].color);
        }
    }
    screen->OnFSCommand("OverallLink");
    EXPECT_FALSE(screen->ShowsCurrentMatch());

    Show();
    application.currentGame = nullptr;
    screen->Activate();
    EXPECT_FALSE(LinkEnabled());
    // The movie stays so while it plays on.
    Show();
    EXPECT_FALSE(LinkEnabled());
    EXPECT_FALSE(Clip("currentLook")->get_visible());
    screen->OnFSCommand("CurrentMatchLink");
    EXPECT_EQ(Text(screen->GetColumns()[1][1]), "11");
    EXPECT_EQ(Text(screen->GetNames()[1]), names[1]);
    // Back to a match: the link is there again.
    Show();
    application.currentGame = &game;
    screen->Activate();
    Show();
    EXPECT_TRUE(LinkEnabled());
    EXPECT_TRUE(Clip("currentLook")->get_visible());
}

// A long name runs at its full size from its place, however wide it is.
TEST_F(GUIStatisticsTest, a_long_name_runs_at_its_full_size) {
    const std::string bubbles = testing_support::ReadFile(m_Data->Path() / "data/players/bubbles.xml");
    const std::string name = "characterName=\"Bubbles\"";
    ASSERT_NE(bubbles.find(name), std::string::npos);
    std::string longer = bubbles;
    longer.replace(longer.find(name), name.size(), "characterName=\"Bartholomew Bubbleworth\"");
    testing_support::WriteFile(m_Data->Path() / "data/players/bartholomew.xml", longer);
    FinishedGame game("data/players/sprout.xml", "data/players/bartholomew.xml");
    application.currentGame = &game;
    screen->Activate();
    const sf::Text& fits = screen->GetNames()[0];
    const sf::Text& wide = screen->GetNames()[1];
    ASSERT_EQ(Text(wide), "Bartholomew Bubbleworth");
    for (const sf::Text* text : {&fits, &wide}) {
        EXPECT_EQ(text->getScale(), sf::Vector2f(1.0f, 1.0f));
        EXPECT_EQ(text->getCharacterSize(), 40u);
    }
    EXPECT_EQ(wide.getPosition(), sf::Vector2f(450.0f, 170.0f));
    EXPECT_GT(wide.getGlobalBounds().width, 2.0f * fits.getGlobalBounds().width);
    EXPECT_GT(wide.getGlobalBounds().width, 300.0f);
}

// No file, a file that is not statistics, and ids that would be formats: the header alone, or
// the ids as they are; the unreadable file is kept aside.
TEST_F(GUIStatisticsTest, a_missing_or_unreadable_file_gives_the_header_alone_and_ids_stay_text) {
    screen->Activate();
    EXPECT_TRUE(screen->GetRows().empty());
    EXPECT_EQ(Text(screen->GetHeader()[1]), "Points");

    WriteStatistics("<array name=\"statistics\">" + Entry(1, "%s%n%d", 3, "100%", 1) + "</array>");
    screen->Activate();
    ASSERT_EQ(screen->GetRows().size(), 2u);
    EXPECT_EQ(Text(screen->GetRows()[0][0]), "1. %s%n%d");
    EXPECT_EQ(Text(screen->GetRows()[1][0]), "2. 100%");

    WriteStatistics("<array name=\"statistics\"><gamestats winner=");
    screen->Activate();
    EXPECT_TRUE(screen->GetRows().empty());
    EXPECT_TRUE(std::filesystem::exists(m_User.Path() / "data/statistics.xml.bad"));
}

// Drawn: the overall view shows its rows, the current view its names, each without the other's.
TEST_F(GUIStatisticsTest, each_view_draws_its_own_texts_over_the_movie) {
    std::string entries;
    for (int i = 0; i < 30; ++i) {
        entries += Entry(1, "Player" + std::to_string(100 + i), 10 * i, "Other", 0);
    }
    WriteStatistics("<array name=\"statistics\">" + entries + "</array>");
    FinishedGame game;
    game.statistics = Result(1, "", 88, 0, "", 0, 0);
    application.currentGame = &game;
    screen->Activate();
    EXPECT_EQ(screen->GetRows().size(), 31u) << "rows are built past the screen's bottom";

    sf::RenderTexture target;
    ASSERT_TRUE(target.create(800, 600));
    auto redInside = [&](int left, int top, int right, int bottom) {
        target.clear(sf::Color::Black);
        target.draw(*screen);
        target.display();
        const sf::Image image = target.getTexture().copyToImage();
        int count = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = left; x < right; ++x) {
                const sf::Color c = image.getPixel(x, y);
                count += c.r > 120 && c.g < 110 && c.b < 120 ? 1 : 0;
            }
        }
        return count;
    };
    // The current match's score "88" in red at (285, 210), size 60 (its second digit right of the
    // overall table's red points, which reach about x 310); the first row's "1. Player129" in red
    // at (80, 190).
    const int scoreCurrent = redInside(325, 215, 360, 275);
    const int rowCurrent = redInside(80, 192, 230, 216);
    screen->OnFSCommand("OverallLink");
    const int scoreOverall = redInside(325, 215, 360, 275);
    const int rowOverall = redInside(80, 192, 230, 216);
    EXPECT_GT(scoreCurrent, 100);
    EXPECT_EQ(rowCurrent, 0);
    EXPECT_GT(rowOverall, 100);
    EXPECT_LT(scoreOverall, scoreCurrent / 4);
}

}  // namespace
}  // namespace gui_testing
