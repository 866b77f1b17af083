#pragma once

#include "app/GameStatistics.h"

#include <cstdint>
#include <string>
#include <vector>

// The overall table of the statistics screen: every player of the match results with their
// totals, best first.
struct PlayerTotals {
    // The player's "playerId" (the creature's name).
    std::string id;
    int32_t points = 0;
    int32_t played = 0;
    int32_t won = 0;
    int32_t draws = 0;
    int32_t shots = 0;
    int32_t hits = 0;
};

// The totals of every player of the records, one per distinct id: each record counts for both
// of its players (player 1 first) as played, as won for the winner and as a draw for both when
// the winner is 0; shots add up "numShots" and hits "score"; points are hits / 10 + 2 x won +
// draws. A record still undecided (winner -1) counts as played only. Sums that would leave the
// range of the 32-bit counts stop at its ends.
//
// The players come ranked: most points first; among equal points the id that sorts later
// (byte-wise) first.
std::vector<PlayerTotals> RankPlayers(const std::vector<GameStatistics>& records);
