#pragma once

#include "serializeme/Serializable.h"
#include "serializeme/StorageBuffer.h"

#include <cstdint>
#include <string>
#include <vector>

// The result of one match and the collection of results the game keeps. The records are kept
// entirely inline, so the shell can hold them (the application's collection, the championship's
// results) without linking the gameplay library.

// One player's part in a match (element "playerstats").
class GamePlayerStatistics : public sme::Serializable {
public:
    // Reading fails when "score" or "numShots" is missing; "playerId" may be missing (a scripted
    // match leaves it empty).
    bool Serialize(sme::StorageBuffer& buffer) override {
        if (buffer.IsWriting()) {
            buffer.WriteString("playerId", playerId);
            buffer.WriteInt("score", score);
            buffer.WriteInt("numShots", numShots);
            return true;
        }
        buffer.ReadString("playerId", playerId);
        const bool scoreRead = buffer.ReadInt("score", score);
        const bool shotsRead = buffer.ReadInt("numShots", numShots);
        return scoreRead && shotsRead;
    }
    const char* TypeName() const override { return "playerstats"; }

    // The creature's "characterName".
    std::string playerId;
    // The player's points: while the match runs, its live count.
    int32_t score = 0;
    // The balls the player's creature let go of while owning them.
    int32_t numShots = 0;
};

// One match's result (element "gamestats").
class GameStatistics : public sme::Serializable {
public:
    // The winner codes.
    static constexpr int32_t kUndecided = -1;
    static constexpr int32_t kDraw = 0;
    static constexpr int32_t kPlayer1 = 1;
    static constexpr int32_t kPlayer2 = 2;

    // Reading fails when the winner is missing or not one of the codes (the winner then stays as
    // it was), or when a player's part cannot be read.
    bool Serialize(sme::StorageBuffer& buffer) override {
        if (buffer.IsWriting()) {
            buffer.WriteInt("winner", winner);
            buffer.WriteObject("player1", player1);
            buffer.WriteObject("player2", player2);
            return true;
        }
        int32_t code = kUndecided;
        const bool winnerRead = buffer.ReadInt("winner", code) && code >= kUndecided && code <= kPlayer2;
        if (winnerRead) {
            winner = code;
        }
        const bool player1Read = buffer.ReadObject("player1", player1);
        const bool player2Read = buffer.ReadObject("player2", player2);
        return winnerRead && player1Read && player2Read;
    }
    const char* TypeName() const override { return "gamestats"; }

    int32_t winner = kUndecided;
    GamePlayerStatistics player1;
    GamePlayerStatistics player2;
};

// The statistics file and the results read from it and appended to, in file order.
struct StatisticsStore {
    std::string fileName = "data/statistics.xml";
    std::vector<GameStatistics> records;
};
