#pragma once

#include "tools/levels/Art.h"
#include "tools/levels/LifebarPanels.h"
#include "tools/swfkit/BitWriter.h"
#include "tools/swfkit/FontBuilder.h"

// The movies a match shows over its arena, and where their parts show on the 800 x 600 screen.
namespace match_movies {

// The characters the countdown shows, which its font must hold.
constexpr const char* kCountdownText = "321Go!";

// The life bars' layout, in screen pixels: a panel in each top corner (the right one mirrors the
// left one) with a round badge at its outer end and ten slots along it.
constexpr double kMargin = lifebar_panels::kMargin;
constexpr double kPanelWidth = lifebar_panels::kWidth;
constexpr double kPanelHeight = lifebar_panels::kHeight;
constexpr double kBadgeRadius = 19.0;
constexpr int kSlots = 10;

// The centre of the badge ("LifebarStart") of the left (right false) or right life bar.
art::Point BadgeCentre(bool right);
// The centre of slot 1 to kSlots; the score fills slots 1 to the score.
art::Point SlotCentre(bool right, int slot);
// The half width and half height of a slot.
constexpr double kSlotHalfWidth = 10.0;
constexpr double kSlotHalfHeight = 9.0;

// "data/gui/score.swf": the 800 x 600 screen, empty but for the sprites "LifebarL" and "LifebarR",
// each of 11 stopped frames 0 to 10. Frame n shows the panel with n slots filled; every frame
// holds the clips "LifebarStart" (the badge) and "Lifebar" (the filled slots), drawn in white for
// the game to tint with the creature's colour.
swfkit::Bytes ScoreMovie();

// "data/gui/countdown.swf": the 800 x 600 screen with "3", "2", "1" and "Go!" popping up in turn
// in its middle (the font must hold kCountdownText); its last frame sends the FSCommand "Go" and
// stops.
swfkit::Bytes CountdownMovie(const swfkit::EmbeddedFont& font);
// How long the countdown takes to send "Go", in seconds.
double CountdownSeconds();

// "data/ball_hit.swf": 70 x 56 pixels, the point struck at (35, 28): a white splash flying up
// from it, played once and stopped on an empty frame.
swfkit::Bytes HitMovie();
// "data/ball_becomes_neutral.swf": 48 x 48 pixels round its middle: a white puff and sparkles
// spreading from a ball, played once and stopped on an empty frame.
swfkit::Bytes NeutralMovie();

}  // namespace match_movies
