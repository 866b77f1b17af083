#pragma once

#include "tools/levels/Arena.h"
#include "tools/levels/Decorations.h"
#include "tools/pictures/Canvas.h"

#include <filesystem>
#include <string>
#include <vector>

// Writes one arena's files into the data folder (the folder holding "levels/"), in the arena's
// folder ("levels/" for the shipped arenas):
//   levels/<name>.xml        the level file (level records under "data", its "description")
//   levels/<name>.svg        the arena body's outlines
//   levels/<name>.swf        the arena body's movie, frames "foreground" and "background"
//   levels/<name>_<body>.swf one movie per moving body
//   levels/<name>_back.png   the background picture, when the arena has one
//   levels/<name>_shot.png   the 400 x 300 screenshot
// picture is the arena's ArenaPicture, halved for the screenshot. False when a file could not be
// written.
bool WriteArena(const Arena& arena, const std::filesystem::path& dataFolder,
                const std::vector<DecorationMovie>& decorations, const pictures::Canvas& picture);

// The game's screen (800 x 600) as the arena shows it before anything moves: the background,
// the back art, the balls, the front art, the moving bodies and the decorations' first frames.
pictures::Canvas ArenaPicture(const Arena& arena, const std::vector<DecorationMovie>& decorations);

// The game's file names of an arena.
std::string LevelFile(const Arena& arena);
std::string ScreenshotFile(const Arena& arena);
