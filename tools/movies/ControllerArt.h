#pragma once
// Internal to make_movies: pictures of the controllers, shared by the hints and the controllers'
// own picture movies.

#include "tools/movies/MenuArt.h"

#include <vector>

namespace controller_art {

// A cluster of four keys with arrows, the up key above the others, about (x, y).
std::vector<swfkit::ShapeBuilder> KeyCluster(float x, float y, float size, uint32_t color);
// A gamepad about (x, y) in the colour.
std::vector<swfkit::ShapeBuilder> Gamepad(float x, float y, uint32_t color);

// The controllers' pictures about (0, 0) in their cursors' colours, in the order of the
// controllers' menu numbers: the arrow keys (rosy keys), W A S D (blue keys), a green gamepad. Each is a
// stopped sprite about 90 x 60 pixels.
std::vector<uint16_t> Pictures(menu_art::Library& library, uint16_t fontId, const swfkit::EmbeddedFont& font);

}  // namespace controller_art
