#pragma once

#include "game/GlobboData.h"
#include "tools/creatures/BotDesigns.h"
#include "tools/creatures/CreatureDesign.h"

#include <filesystem>

// The definition of the creature as the game reads it: every movie under
// "data/creatures/<name>/", eyes and mouth in their own colours (not tinted), selectable.
GlobboData CreatureData(const CreatureDesign& design);

// Writes the creature's file and movies into the game folder (the folder that holds data/).
// False when a file cannot be written.
bool WriteCreature(const CreatureDesign& design, const std::filesystem::path& gameFolder);

// Writes the bot's file (its creature's definition under "globbo" and its settings under
// "m_Settings") and its creature's movies into the game folder. False when a file cannot be
// written.
bool WriteBot(const BotDesign& bot, const std::filesystem::path& gameFolder);

// Writes every shipped creature, the players' and the computer opponents', into the game folder;
// false when a file cannot be written.
bool WriteShippedCreatures(const std::filesystem::path& gameFolder);

// Writes what building creatures and balls reads into the game folder: every shipped creature,
// the empty movie the skins are drawn into and the balls' movies (for tests, benchmarks and fuzz
// targets, which have no game folder of the build's). False when a file cannot be written.
bool WriteCreaturesAndBalls(const std::filesystem::path& gameFolder);
