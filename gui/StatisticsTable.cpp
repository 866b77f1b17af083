#include "gui/StatisticsTable.h"

#include <algorithm>
#include <limits>
#include <map>

namespace {

int32_t SaturatedAdd(int32_t total, int64_t change) {
    const int64_t sum = static_cast<int64_t>(total) + change;
    return static_cast<int32_t>(
        std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

void Count(PlayerTotals& totals, const GamePlayerStatistics& player, int32_t winner, int32_t number) {
    if (winner == number) {
        totals.won = SaturatedAdd(totals.won, 1);
    } else if (winner == GameStatistics::kDraw) {
        totals.draws = SaturatedAdd(totals.draws, 1);
    }
    totals.played = SaturatedAdd(totals.played, 1);
    totals.shots = SaturatedAdd(totals.shots, player.numShots);
    totals.hits = SaturatedAdd(totals.hits, player.score);
    totals.points = SaturatedAdd(SaturatedAdd(totals.hits / 10, 2 * static_cast<int64_t>(totals.won)), totals.draws);
}

}  // namespace

std::vector<PlayerTotals> RankPlayers(const std::vector<GameStatistics>& records) {
    // std::string orders its bytes as unsigned values: the byte-wise order of the ids.
    std::map<std::string, PlayerTotals> byId;
    for (const GameStatistics& record : records) {
        const GamePlayerStatistics* players[] = {&record.player1, &record.player2};
        for (int32_t number = GameStatistics::kPlayer1; number <= GameStatistics::kPlayer2; ++number) {
            const GamePlayerStatistics& player = *players[number - 1];
            PlayerTotals& totals = byId[player.playerId];
            totals.id = player.playerId;
            Count(totals, player, record.winner, number);
        }
    }
    std::vector<PlayerTotals> ranked;
    for (const auto& [id, totals] : byId) {
        ranked.push_back(totals);
    }
    // Ascending with ties in id order, then read from the end: the most points first and, among
    // equal points, the later id first.
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const PlayerTotals& a, const PlayerTotals& b) { return a.points < b.points; });
    std::reverse(ranked.begin(), ranked.end());
    return ranked;
}
