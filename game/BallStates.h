#pragma once

#include "game/BodyRecord.h"

class Globbo;
class Level;
class b2Body;

// How balls change hands in a match, shared by every kind of match: their colour state, who may
// spit which ball, and the timers that free a spat ball again.
namespace ball_states {

// How long a ball let go of by its owner stays the owner's, in seconds.
constexpr float kNeutralSeconds = 5.0f;
// The movie shown where a ball becomes free, and how fast its drift slows (share per second).
constexpr const char* kNeutralMovie = "data/ball_becomes_neutral.swf";
constexpr float kNeutralDamping = 0.9f;

// Sets the ball's state and owner and shows them on the level's ball: a burden goes to its frame
// "burden" plus 0 to 2 frames (drawn from the game's random numbers); any other state colours the
// clip "color" in the owner's body colour (opaque), or white at alpha 100 without an owner, and
// goes to the frame "normal". The ball's burden flag follows.
void SetBallColour(Level& level, BodyRecord& record, int state, Globbo* owner);

// A ball that came inside the taker: a burden when another creature owns it, else held by the
// taker, who owns it from then on; either way it is no longer on its free-again timer.
void TakeBall(Level& level, BodyRecord& record, Globbo* taker);
// A ball that left the creature: free again, still its owner's (a burden of the creature leaves
// its owner's points behind), and on its free-again timer when it has an owner; a burden still
// sitting in the other creature keeps its state.
void LetGoBall(Level& level, BodyRecord& record, const Globbo* creature);

// Whether the creature may spit the body: anything that is not a ball, a ball without an owner,
// and its own balls; never a ball another creature owns, and never a burden (a point counted
// inside the other creature), even its owner's.
bool MayTakeBall(const Globbo* asker, const b2Body* ball);

// Runs the free-again timers of the level's balls dt seconds on: a ball whose timer runs out
// becomes free (no owner, white), with a puff of its owner's colour drifting with it. With
// endSpits, balls just spat (state 4) count as free from now on.
void RunNeutralTimers(Level& level, float dt, bool endSpits);

}  // namespace ball_states
