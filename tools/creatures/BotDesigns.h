#pragma once

#include "game/BotSettings.h"
#include "tools/creatures/CreatureDesign.h"

#include <string>
#include <vector>

// A computer opponent the game ships: its creature and the settings of its play.
struct BotDesign {
    // The bot's file under "data/ais" without ".xml"; its creature's movies go under
    // "data/creatures/<creature name>/".
    std::string file;
    CreatureDesign creature;
    BotSettings settings;
};

// The bots, from the weakest to the strongest: a chaser that spits the moment it holds a ball, a
// fetcher that gathers every ball it sees, and a careful tactician. Their files sort in that
// order, as the selection screen lists them.
std::vector<BotDesign> ShippedBots();

// The bot's file in the game's data: "data/ais/<file>.xml".
std::string BotFile(const BotDesign& bot);
