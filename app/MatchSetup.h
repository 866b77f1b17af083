#pragma once

#include "game/GameStatistics.h"

#include <array>
#include <cstdint>
#include <list>
#include <string>
#include <vector>

class Controller;
class Game;

// One match of a set-up: what the next match is played with. The application holds the current
// one; a championship keeps its whole schedule of them.
struct MatchRecord {
    // The level file of the match.
    std::string levelFile;
    // The creature (player) definition files of the two players.
    std::string player1File;
    std::string player2File;
    // The controllers bound to the two players; null for none.
    Controller* player1Controller = nullptr;
    Controller* player2Controller = nullptr;
    // Two per-match flags that the championship code defines.
    std::array<bool, 2> matchFlags{};
    // The running match; null when none runs.
    Game* currentGame = nullptr;
};

// The match or championship being set up by the selection screens and read by the start of a
// match.
struct MatchSetup {
    // What is being played.
    enum Mode : int32_t { QuickMatch = 0, Championship = 1, Training = 2 };

    int32_t mode = QuickMatch;
    // The championship's player files, in the order chosen.
    std::list<std::string> players;
    // The championship's level files.
    std::vector<std::string> levels;
    // The index of the current championship match.
    int32_t matchIndex = 0;
    // The championship's schedule.
    std::vector<MatchRecord> matches;
    // One result per played championship match.
    std::vector<GameStatistics> results;
    // The player files of places one to three.
    std::array<std::string, 3> podium;

    // Keeps a finished match's result. Outside a championship nothing is kept; in one, the result
    // goes into results at the current match index (the results grow to hold it; a negative index
    // keeps nothing). True.
    bool RecordMatch(const GameStatistics& result) {
        if (mode != Championship || matchIndex < 0) {
            return true;
        }
        if (results.size() <= static_cast<size_t>(matchIndex)) {
            results.resize(static_cast<size_t>(matchIndex) + 1);
        }
        results[static_cast<size_t>(matchIndex)] = result;
        return true;
    }
};
