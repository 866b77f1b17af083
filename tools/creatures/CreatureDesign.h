#pragma once

#include "tools/swfkit/Records.h"

#include <string>
#include <vector>

// What makes each of the game's creatures look like itself: its colours, the build of its eyes
// and mouth, and its decorations. The creature tool turns a design into the creature's file and
// movies.

// Decorations a creature may wear: at every point of the skin, riding on top, over the eyes.
enum class SkinDecoration { kNone, kBubbles, kRays };
enum class TopDecoration { kNone, kSprout, kMohawk, kFlower, kTopHat, kAntenna, kHorns, kCrown };
enum class EyesDecoration { kNone, kBrows, kLashes, kGlasses };

struct CreatureDesign {
    // The file's name under "data/players" without ".xml"; the movies go to
    // "data/creatures/<name>/".
    std::string name;
    std::string characterName;
    // The skin's colour; its alpha lets the balls inside show through.
    swfkit::Color body;
    // The eyelids and lips: the body colour made opaque and a little darker.
    swfkit::Color lid;
    swfkit::Color iris;
    // Eye radii (pixels) and the distance between the eyes' centres.
    double eyeWidth = 10.0;
    double eyeHeight = 12.0;
    double eyeSpacing = 25.0;
    double pupilRadius = 4.0;
    // Mouth half width (pixels); whether the open mouth shows teeth.
    double mouthWidth = 8.0;
    bool teeth = false;
    // Seconds the mouth stays open and closed.
    float openDelay = 2.0f;
    float closedDelay = 0.5f;
    SkinDecoration skin = SkinDecoration::kNone;
    TopDecoration top = TopDecoration::kNone;
    EyesDecoration eyes = EyesDecoration::kNone;
    // A decoration's main colour.
    swfkit::Color decoration;
};

// The creatures the game ships, each selectable.
std::vector<CreatureDesign> ShippedCreatures();

// The names of a creature's files in the game's data.
std::string CreatureFile(const CreatureDesign& design);
std::string CreatureMovie(const CreatureDesign& design, const std::string& part);
