#pragma once

#include "app/GameStatistics.h"

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

    // Copies the other record's match into this one. The running match stays: it belongs to the
    // screen that plays it, not to the record being copied.
    void TakeMatch(const MatchRecord& other) {
        Game* running = currentGame;
        *this = other;
        currentGame = running;
    }
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

    // Abandons the championship: its players, levels, schedule, results and places are emptied
    // and its index goes back to 0; the mode stays.
    void Abort() {
        players.clear();
        levels.clear();
        matchIndex = 0;
        matches.clear();
        results.clear();
        podium = {};
    }
};
