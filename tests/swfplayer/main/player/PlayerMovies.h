#pragma once

#include "tools/swfkit/BitWriter.h"
#include "tools/swfkit/ShapeBuilder.h"
#include "tools/swfkit/TagList.h"

#include <optional>
#include <string>

// Kit-built movies for the player's tests, benchmarks and fuzz seeds.
namespace player_movies {

// A square of size twips from the origin, filled with colour.
swfkit::ShapeBuilder Square(swfkit::Color colour, int size);
// A PlaceObject2 of a new instance of id at depth, named and placed when given.
swfkit::Placement Place(uint16_t depth, uint16_t id, std::optional<std::string> name,
                        std::optional<swfkit::Matrix> at = {});

// getURL("FSCommand:" + command, args) as raw action bytes.
swfkit::Bytes FsCommandAction(const std::string& command, const std::string& args);
// getURL(url, target) as raw action bytes.
swfkit::Bytes GetUrlAction(const std::string& url, const std::string& target);
// _global[name] = value as raw action bytes.
swfkit::Bytes SetGlobalAction(const std::string& name, const std::string& value);

// A 200 x 100 pixel movie at frame_rate of frames frames: a red square (id 1) named "red" at
// depth 1, a sprite (id 3) named "clip" holding a green square (id 2) named "green", placed at
// depth 2 with a colour transform that halves its red and green, and a label "middle" on
// frame 1. Each frame moves the red square 20 pixels right. End actions, when given, are the
// last frame's DoAction.
swfkit::Bytes ShapesMovie(int frames, double frame_rate, const swfkit::Bytes& end_actions = {});

// frames frames, each with stop() when stop_every_frame, else the last frame jumping back to
// frame 0 with gotoAndPlay; one square shape.
swfkit::Bytes WaitingMovie(int frames, double frame_rate, bool stop_every_frame);

// A menu-sized movie (800 x 600): shapes shapes of varied outlines placed over frames frames,
// filled in solid colours, or with gradients every second shape (linear and radial by turns).
swfkit::Bytes ShapeHeavyMovie(int shapes, int frames, bool gradients = false);

}  // namespace player_movies
