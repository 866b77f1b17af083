// The championship's schedules of two, three and four players over every combination of
// results, draws played again, the levels of a set, a clean second championship and abandoning.
#include "gui/Championship.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

const Names kPlayers = {"data/players/a.xml", "data/players/b.xml", "data/players/c.xml", "data/players/d.xml"};

class ChampionshipTest : public ::testing::Test {
protected:
    // A championship of the first count players.
    void Begin(size_t count) {
        setup.mode = MatchSetup::Championship;
        setup.players.assign(kPlayers.begin(), kPlayers.begin() + static_cast<long>(count));
        ASSERT_TRUE(championship.CreateSchedule());
        championship.AssignLevels();
        current.TakeMatch(setup.matches[0]);
    }
    // The current match ends with the winner code; the record moves on unless it was the last.
    void Play(int winner) {
        GameStatistics result;
        result.winner = winner;
        result.player1.playerId = current.player1File;
        ASSERT_TRUE(championship.RecordMatch(result));
        if (!(championship.IsLastMatch() && championship.IsDecided())) {
            ASSERT_TRUE(championship.NextMatch());
        }
        // The match about to be played is the record's, both sides filled.
        EXPECT_EQ(current.player1File, setup.matches[static_cast<size_t>(setup.matchIndex)].player1File);
        EXPECT_EQ(current.player2File, setup.matches[static_cast<size_t>(setup.matchIndex)].player2File);
        EXPECT_FALSE(current.player1File.empty());
        EXPECT_FALSE(current.player2File.empty());
    }
    static std::string Winner(const std::string& a, const std::string& b, int code) { return code == 1 ? a : b; }
    static std::string Loser(const std::string& a, const std::string& b, int code) { return code == 1 ? b : a; }
    void ExpectMatch(size_t i, const std::string& p1, const std::string& p2, bool known1, bool known2) {
        SCOPED_TRACE("match " + std::to_string(i + 1));
        EXPECT_EQ(setup.matches[i].player1File, p1);
        EXPECT_EQ(setup.matches[i].player2File, p2);
        EXPECT_EQ(setup.matches[i].matchFlags[0], known1);
        EXPECT_EQ(setup.matches[i].matchFlags[1], known2);
    }
    std::string Trace(const std::vector<int>& codes) {
        std::string text = "results";
        for (int code : codes) {
            text += " " + std::to_string(code);
        }
        return text;
    }

    MatchSetup setup;
    MatchRecord current;
    Championship championship{setup, current};
};

TEST_F(ChampionshipTest, three_players_fill_the_later_sides_and_the_places_for_every_result) {
    const Names& p = kPlayers;
    for (int r1 : {1, 2}) {
        for (int r2 : {1, 2}) {
            for (int r3 : {1, 2}) {
                SCOPED_TRACE(Trace({r1, r2, r3}));
                Begin(3);
                ASSERT_EQ(setup.matches.size(), 3u);
                ASSERT_EQ(setup.results.size(), 3u);
                ExpectMatch(0, p[0], p[1], true, true);
                ExpectMatch(1, p[2], "", true, false);
                ExpectMatch(2, "", "", false, false);

                Play(r1);
                const std::string w1 = Winner(p[0], p[1], r1), l1 = Loser(p[0], p[1], r1);
                ExpectMatch(1, p[2], l1, true, true);
                ExpectMatch(2, w1, "", true, false);
                EXPECT_EQ(setup.matchIndex, 1);

                Play(r2);
                const std::string w2 = Winner(p[2], l1, r2), l2 = Loser(p[2], l1, r2);
                ExpectMatch(2, w1, w2, true, true);
                EXPECT_EQ(setup.podium[2], l2);
                EXPECT_TRUE(setup.podium[0].empty());

                Play(r3);
                EXPECT_EQ(setup.matchIndex, 2);
                EXPECT_EQ(setup.podium[0], Winner(w1, w2, r3));
                EXPECT_EQ(setup.podium[1], Loser(w1, w2, r3));
                EXPECT_FALSE(championship.NextMatch());
                EXPECT_EQ(setup.matchIndex, 2);
            }
        }
    }
}

TEST_F(ChampionshipTest, four_players_play_for_third_place_and_the_title_for_every_result) {
    const Names& p = kPlayers;
    for (int code = 0; code < 16; ++code) {
        const std::vector<int> r = {1 + (code & 1), 1 + ((code >> 1) & 1), 1 + ((code >> 2) & 1), 1 + (code >> 3)};
        SCOPED_TRACE(Trace(r));
        Begin(4);
        ASSERT_EQ(setup.matches.size(), 4u);
        ExpectMatch(0, p[0], p[1], true, true);
        ExpectMatch(1, p[2], p[3], true, true);
        ExpectMatch(2, "", "", false, false);
        ExpectMatch(3, "", "", false, false);

        Play(r[0]);
        const std::string w1 = Winner(p[0], p[1], r[0]), l1 = Loser(p[0], p[1], r[0]);
        ExpectMatch(2, l1, "", true, false);
        ExpectMatch(3, w1, "", true, false);
        Play(r[1]);
        const std::string w2 = Winner(p[2], p[3], r[1]), l2 = Loser(p[2], p[3], r[1]);
        ExpectMatch(2, l1, l2, true, true);
        ExpectMatch(3, w1, w2, true, true);
        Play(r[2]);
        EXPECT_EQ(setup.podium[2], Winner(l1, l2, r[2]));
        EXPECT_TRUE(setup.podium[0].empty());
        Play(r[3]);
        EXPECT_EQ(setup.podium[0], Winner(w1, w2, r[3]));
        EXPECT_EQ(setup.podium[1], Loser(w1, w2, r[3]));
        EXPECT_EQ(setup.podium[2], Winner(l1, l2, r[2]));
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(setup.results[i].winner, r[i]) << i;
        }
    }
}

TEST_F(ChampionshipTest, two_players_meet_three_times_and_two_wins_make_the_champion) {
    for (int code = 0; code < 8; ++code) {
        const std::vector<int> r = {1 + (code & 1), 1 + ((code >> 1) & 1), 1 + (code >> 2)};
        SCOPED_TRACE(Trace(r));
        Begin(2);
        for (size_t i = 0; i < 3; ++i) {
            ExpectMatch(i, kPlayers[0], kPlayers[1], false, false);
        }
        const int firstWins = (r[0] == 1) + (r[1] == 1) + (r[2] == 1);
        Play(r[0]);
        Play(r[1]);
        EXPECT_TRUE(setup.podium[0].empty());
        Play(r[2]);
        EXPECT_EQ(setup.podium[0], firstWins >= 2 ? kPlayers[0] : kPlayers[1]);
        EXPECT_EQ(setup.podium[1], firstWins >= 2 ? kPlayers[1] : kPlayers[0]);
        EXPECT_TRUE(setup.podium[2].empty());
    }
}

// A match without a winner fills nothing and is played again, the last one too.
TEST_F(ChampionshipTest, a_draw_is_played_again_and_fills_no_side) {
    for (int undecided : {GameStatistics::kDraw, GameStatistics::kUndecided}) {
        SCOPED_TRACE(undecided);
        Begin(3);
        Play(undecided);
        EXPECT_EQ(setup.matchIndex, 0);
        EXPECT_EQ(current.player1File, kPlayers[0]);
        ExpectMatch(1, kPlayers[2], "", true, false);
        ExpectMatch(2, "", "", false, false);
        EXPECT_TRUE(championship.GetWinnerFile().empty());
        EXPECT_TRUE(championship.GetLoserFile().empty());
        Play(2);
        EXPECT_EQ(setup.matchIndex, 1);
        ExpectMatch(1, kPlayers[2], kPlayers[0], true, true);
        Play(1);
        Play(undecided);
        EXPECT_EQ(setup.matchIndex, 2);
        EXPECT_FALSE(championship.IsDecided());
        EXPECT_TRUE(setup.podium[0].empty());
        Play(1);
        EXPECT_EQ(setup.podium[0], kPlayers[1]);
        EXPECT_EQ(setup.podium[1], kPlayers[2]);
        EXPECT_EQ(setup.podium[2], kPlayers[0]);
    }
}

TEST_F(ChampionshipTest, a_two_player_draw_does_not_count_as_a_match_of_the_three) {
    Begin(2);
    Play(1);
    Play(GameStatistics::kDraw);
    Play(2);
    EXPECT_EQ(setup.matchIndex, 2);
    EXPECT_TRUE(setup.podium[0].empty());
    Play(2);
    EXPECT_EQ(setup.podium[0], kPlayers[1]);
    EXPECT_EQ(setup.podium[1], kPlayers[0]);
}

TEST_F(ChampionshipTest, each_match_plays_its_level_of_the_set_in_turn) {
    const struct {
        Names levels;
        Names expected;
    } cases[] = {
        {{}, Names(4, Championship::kFallbackLevel)},
        {{"l1"}, {"l1", "l1", "l1", "l1"}},
        {{"l1", "l2"}, {"l1", "l2", "l1", "l2"}},
        {{"l1", "l2", "l3", "l4", "l5"}, {"l1", "l2", "l3", "l4"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.levels.size());
        setup.levels = c.levels;
        Begin(4);
        for (size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(setup.matches[i].levelFile, c.expected[i]) << i;
        }
        EXPECT_EQ(current.levelFile, c.expected[0]);
    }
}

TEST_F(ChampionshipTest, a_second_championship_starts_clean) {
    Begin(4);
    for (int r : {1, 1, 1, 1}) {
        Play(r);
    }
    ASSERT_FALSE(setup.podium[0].empty());
    Begin(3);
    EXPECT_EQ(setup.matchIndex, 0);
    ASSERT_EQ(setup.results.size(), 3u);
    for (const GameStatistics& result : setup.results) {
        EXPECT_EQ(result.winner, GameStatistics::kUndecided);
    }
    for (const std::string& place : setup.podium) {
        EXPECT_TRUE(place.empty());
    }
    ExpectMatch(2, "", "", false, false);
}

TEST_F(ChampionshipTest, only_two_to_four_players_make_a_schedule_or_record_a_match) {
    for (size_t count : {0u, 1u, 5u}) {
        SCOPED_TRACE(count);
        setup = MatchSetup();
        setup.mode = MatchSetup::Championship;
        Names players = kPlayers;
        players.push_back("data/players/e.xml");
        setup.players.assign(players.begin(), players.begin() + static_cast<long>(count));
        EXPECT_FALSE(championship.CreateSchedule());
        EXPECT_TRUE(setup.matches.empty());
        EXPECT_FALSE(championship.RecordMatch(GameStatistics()));
    }
    setup.players.assign(kPlayers.begin(), kPlayers.begin() + 3);
    EXPECT_FALSE(championship.CreateSchedule2());
    EXPECT_FALSE(championship.CreateSchedule4());
    // Three players without their schedule record nothing.
    EXPECT_FALSE(championship.RecordMatch(GameStatistics()));
    EXPECT_FALSE(championship.NextMatch());
}

TEST_F(ChampionshipTest, outside_a_championship_recording_keeps_nothing) {
    for (int mode : {MatchSetup::QuickMatch, MatchSetup::Training}) {
        Begin(3);
        setup.mode = mode;
        GameStatistics result;
        result.winner = 1;
        EXPECT_TRUE(championship.RecordMatch(result));
        EXPECT_EQ(setup.results[0].winner, GameStatistics::kUndecided);
        ExpectMatch(2, "", "", false, false);
    }
}

TEST_F(ChampionshipTest, abandoning_empties_the_record_and_keeps_the_running_match) {
    Begin(4);
    Play(1);
    // Only compared, never followed.
    static char marker;
    Game* running = reinterpret_cast<Game*>(&marker);
    current.currentGame = running;
    championship.Abort();
    EXPECT_TRUE(setup.players.empty());
    EXPECT_TRUE(setup.matches.empty());
    EXPECT_TRUE(setup.results.empty());
    EXPECT_EQ(setup.matchIndex, 0);
    EXPECT_EQ(current.currentGame, running);
    EXPECT_FALSE(championship.NextMatch());
    // Copying a match record never replaces the running match.
    MatchRecord other;
    other.player1File = "x";
    current.TakeMatch(other);
    EXPECT_EQ(current.currentGame, running);
    EXPECT_EQ(current.player1File, "x");
}

}  // namespace
