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
    // Keys missing when reading keep their values (a default record: "", 0, 0).
    bool Serialize(sme::StorageBuffer& buffer) override {
        if (buffer.IsWriting()) {
            buffer.WriteString("playerId", playerId);
            buffer.WriteInt("score", score);
            buffer.WriteInt("numShots", numShots);
            return true;
        }
        buffer.ReadString("playerId", playerId);
        buffer.ReadInt("score", score);
        buffer.ReadInt("numShots", numShots);
        return true;
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

    // Keys and players missing when reading keep their values (a default record: undecided,
    // two default players). A winner code that is none of these is kept as it is, so that a
    // save writes it back; the statistics count such a match as undecided.
    bool Serialize(sme::StorageBuffer& buffer) override {
        if (buffer.IsWriting()) {
            buffer.WriteInt("winner", winner);
            buffer.WriteObject("player1", player1);
            buffer.WriteObject("player2", player2);
            return true;
        }
        buffer.ReadInt("winner", winner);
        buffer.ReadObject("player1", player1);
        buffer.ReadObject("player2", player2);
        return true;
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
    // Set by the load when the file is there but could not be opened or read, is not a regular
    // file, or could not be parsed and stays where it is: the records then hold none of its
    // results, and a save must not write them over it.
    bool fileUnreadable = false;
};
