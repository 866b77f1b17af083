#pragma once

#include "tools/creatures/CreatureDesign.h"
#include "tools/swfkit/BitWriter.h"

// A creature's movies. The game centres each on the point it belongs to (the creature's centre,
// its mouth, a point of its outline), so every drawing sits around the middle of its stage.
namespace creature_movies {

// Stage sizes in pixels.
constexpr int kEyesWidth = 64;
constexpr int kEyesHeight = 48;
constexpr int kMouthWidth = 36;
constexpr int kMouthHeight = 30;
constexpr int kPortraitSize = 100;
constexpr int kSkinSize = 16;
constexpr int kTopWidth = 48;
constexpr int kTopHeight = 56;

// The eyes: the clips "eye_l" and "eye_r" (left and right on the screen), each with its clips
// "eyeball" and "pupil" and the labels "blink" and
// "blinkfast", where the lid comes down and goes up again, ending stopped on the eye's first
// frame.
swfkit::Bytes EyesMovie(const CreatureDesign& design);
// The mouth: frame 0 open, at rest; "close" ends stopped on "closed"; "open", "suckoff" and
// "spit" end stopped on frame 0.
swfkit::Bytes MouthMovie(const CreatureDesign& design);
// The portrait of the selection screens: the clip "face".
swfkit::Bytes PortraitMovie(const CreatureDesign& design);
// The decorations: at every point of the skin, on top of it, and over the eyes.
swfkit::Bytes SkinDecorationMovie(const CreatureDesign& design);
swfkit::Bytes TopDecorationMovie(const CreatureDesign& design);
swfkit::Bytes EyesDecorationMovie(const CreatureDesign& design);

}  // namespace creature_movies
