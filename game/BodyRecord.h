#pragma once

class b2Body;
class Globbo;

// What a registered body belongs to.
enum BodyKind : int {
    kRingBody = 1,    // one of a creature's ring bodies
    kMouthBody = 2,   // a creature's mouth
    kAnchorBody = 3,  // a creature's anchor
    kBallBody = 4,
};

// Where a ball stands in the match.
enum BallState : int {
    kBallFree = 0,
    kBallHeld = 1,    // held by its owner
    kBallBurden = 2,  // a burden for the creature holding it
    kBallQueued = 3,  // queued to be taken in
    kBallSpat = 4,    // just spat
};

// What the game knows about one registered body. The registry owns it and frees it when the entry
// is erased; the body's user data points at it.
struct BodyRecord {
    bool alive = true;
    int kind = 0;
    // The creature the body belongs to; for a ball its owner, null when free.
    Globbo* owner = nullptr;
    // A ball's state (BallState); 0 for other kinds.
    int state = kBallFree;
    // Seconds until a spat ball becomes free; -1 when not running.
    float neutralTimer = -1.0f;
    b2Body* body = nullptr;
};
