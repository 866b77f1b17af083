#pragma once

#include "game/SpitGame.h"

#include <box2d/b2_math.h>

#include <memory>

class Controller;
class Level;

// One of the title's demonstration scenes: a scripted match between the two fixed creatures on a
// level of its own, replaying a recording. The creatures are thrown in: they start inflated a
// little more than a match's and moving.
struct DemonstrationScene {
    const char* levelFile;
    const char* recordingFile;
    b2Vec2 position1;
    b2Vec2 position2;
    // On top of the match's own inflation.
    float inflation;
    // Given to both creatures at the start.
    b2Vec2 velocity;
};

// The two fixed creatures of the demonstrations; the recordings were made with them.
inline constexpr const char* kDemonstrationCreature1 = "data/players/bubbles.xml";
inline constexpr const char* kDemonstrationCreature2 = "data/players/sprout.xml";

// Scene 1 starts with the title; the title movie's "bottleready" switches to scene 2.
inline const DemonstrationScene kTitleScene1{"data/gametitle_level_empty.xml",
                                             "data/gametitle_script1.txt",
                                             b2Vec2(80.0f, -30.0f),
                                             b2Vec2(60.0f, -20.0f),
                                             1.3f,
                                             b2Vec2(-70.0f, 20.0f)};
inline const DemonstrationScene kTitleScene2{"data/gametitle_level_bottle.xml",
                                             "data/gametitle_script2.txt",
                                             b2Vec2(5.0f, -80.0f),
                                             b2Vec2(5.0f, -60.0f),
                                             1.2f,
                                             b2Vec2(0.0f, 50.0f)};

// The scene's match on the (empty) level: the fixed creatures steered by the controllers (not yet
// attached), never ending by the score rule.
std::unique_ptr<SpitGame> StartDemonstrationMatch(const DemonstrationScene& scene, Level& level,
                                                  Controller* controller1, Controller* controller2);

// The scene's extra inflation and starting velocity, for both creatures of the match.
void ThrowInCreatures(const DemonstrationScene& scene, SpitGame& match);
