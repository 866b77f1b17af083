#pragma once
// Internal to the screen tests: small movies written with the SWF kit, and screen descriptions.

#include "tools/swfkit/BitWriter.h"

#include <string>
#include <vector>

namespace gui_testing {

// Every movie runs at this many frames a second; updating by one frame's time shows the next.
constexpr float kFrameRate = 10.0f;
constexpr float kFrameTime = 1.0f / kFrameRate;

// A 400 x 300 menu: two buttons of one sprite, "button" centred at (100, 50) and "other" at
// (300, 50), each 40 x 20 pixels (red; green from its label "over"; blue from "pressed", which
// sends the FSCommand "pressed"; grey on "disabled"), and a clip "mover" that starts at (10, 20)
// and moves 20 pixels right and down each frame, for four frames. With a backdrop, a square of
// the colour fills the movie's left half, under everything.
swfkit::Bytes MenuMovie(bool backdrop = false);
// A 400 x 300 movie filled with one colour (0xRRGGBB).
swfkit::Bytes FilledMovie(uint32_t rgb);
// An 800 x 600 hint movie: its first frame stops and shows nothing; from frame 1 the clip
// "background" fades in (alpha 0, 0.5, 1) while it moves right from (100, 100) by 20 pixels a
// frame; frame 3 stops and sends "checkpoint"; frames 4 and 5 fade it out again and the last
// stops. "toppings" has the frames "gui controls", "quickmatch controls" and "training controls",
// each holding "player1", "player2" and "player", three frames each.
swfkit::Bytes HintMovie();

// A description file: the font, the layers (name, file) and the text records, each given as the
// attributes of its element.
std::string Description(const std::string& font, const std::vector<std::pair<std::string, std::string>>& layers,
                        const std::vector<std::string>& texts);

}  // namespace gui_testing
