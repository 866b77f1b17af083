#pragma once

#include "game/SpitGame.h"

#include <box2d/b2_math.h>

#include <memory>
#include <vector>

class Controller;
class Level;

// A lesson of the tutorial that sets something up: a match of the two fixed creatures on a level
// of its own, replaying the block's recording, with balls added to the level; or, without a
// recording, only balls for the level that is already there. Positions are world units.
struct TutorialBlock {
    int number;
    // Null for a block that only adds balls.
    const char* recording;
    const char* level;
    b2Vec2 creature1;
    b2Vec2 creature2;
    std::vector<b2Vec2> balls;
    // The level's body "Plank" is pinned to the ground where it lies, so that it rocks.
    bool pinPlank;
};

// The blocks that set something up, in the order of their numbers.
const std::vector<TutorialBlock>& TutorialBlocks();
// The block of the number; null for a lesson that sets nothing up.
const TutorialBlock* FindTutorialBlock(int number);

// The block's match on the (empty) level: the fixed creatures at the block's positions with the
// controllers (not yet attached), then the block's balls and the pinned plank. When the level
// cannot be read the match is returned as it is (HasLevel is false), without balls.
std::unique_ptr<SpitGame> StartTutorialMatch(const TutorialBlock& block, Level& level, Controller* controller1,
                                             Controller* controller2);
// Adds the block's balls to the level.
void AddTutorialBalls(const TutorialBlock& block, Level& level);
