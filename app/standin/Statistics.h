#pragma once

#include <string>
#include <vector>

// Stand-in for the match statistics: the record type and the collection the application holds.

namespace standin {

// One match's result.
struct GameStatistics {};

// The statistics collection and the file it is kept in.
struct StatisticsStore {
    std::string fileName = "data/statistics.xml";
    std::vector<GameStatistics> records;
};

}  // namespace standin
