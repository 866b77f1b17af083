#pragma once

#include "app/GameStatistics.h"
#include "app/MatchSetup.h"

#include <string>

// A championship of two to four players over the game set-up: its schedule of matches, how each
// decided match fills the later ones and the places, the levels of the chosen set, moving on to
// the next match and abandoning it all.
//
// Schedules (players P1 to P4 in the order chosen):
//   2 players: P1 vs P2 three times; the champion wins two of the three.
//   3 players: P1 vs P2; P3 vs the loser of match 1; the two winners.
//   4 players: P1 vs P2; P3 vs P4; the two losers (for third place); the two winners.
// A side is "known" (its match flag set) once a creature is placed there; the two-player
// schedule leaves the flags unset. A match without a winner is played again: it fills nothing,
// so no later side ever holds an empty name.
class Championship {
public:
    // The level of every match when the chosen set has none.
    static constexpr const char* kFallbackLevel = "data/levels/2_nanomill.xml";

    // Works on the set-up's championship and the current match (the application's).
    Championship(MatchSetup& setup, MatchRecord& current) : m_Setup(setup), m_Current(current) {}

    // Each empties the schedule, the results, the places and the index first (a new championship
    // starts clean), then sizes the matches and results to the schedule and fills what is known
    // from the players. False, with nothing scheduled, unless the set-up has that many players.
    bool CreateSchedule2();
    bool CreateSchedule3();
    bool CreateSchedule4();
    // The schedule for the set-up's number of players; false outside two to four.
    bool CreateSchedule();
    // Match i plays level i modulo the set's level count, or the fallback level without any.
    void AssignLevels();

    // The current match's winner's (loser's) creature file; empty while it has no winner.
    std::string GetWinnerFile() const;
    std::string GetLoserFile() const;
    // Whether the current match has a winner, and whether it is the last of the schedule.
    bool IsDecided() const;
    bool IsLastMatch() const;

    // Copies the current match's record into the current match. A decided match moves the index
    // on first; an undecided one is played again. Past the last match: logged, false.
    bool NextMatch();
    // Keeps the statistics as the current match's result (a current index outside the schedule
    // is logged and keeps nothing).
    void StoreResult(const GameStatistics& statistics);
    // The end of a match: outside a championship nothing happens (true). In one, the result is
    // stored and, when the match was decided, its winner and loser fill the later sides or the
    // places. False for a player count outside two to four.
    bool RecordMatch(const GameStatistics& statistics);
    // Back to no championship: no players, levels, schedule, results or places, index 0. The
    // running match is left to the screen that owns it.
    void Abort();

private:
    int PlayerCount() const { return static_cast<int>(m_Setup.players.size()); }
    const std::string& Player(int index) const;
    // Empties the record and sizes it for the matches.
    void Reset(int matchCount);
    // Puts the file on the side (0 or 1) of match index and marks the side known.
    void Place(size_t match, int side, const std::string& file);
    void ApplyRuleOf3(const std::string& winner, const std::string& loser);
    void ApplyRuleOf4(const std::string& winner, const std::string& loser);
    void ApplyRuleOf2();
    bool HasCurrentMatch() const;

    MatchSetup& m_Setup;
    MatchRecord& m_Current;
};
