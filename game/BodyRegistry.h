#pragma once

#include "flash/sigslot.h"
#include "game/BodyRecord.h"

#include <box2d/b2_body.h>

#include <vector>

class PhysicsWorld;
class b2World;

// The program-wide registry of the game's own bodies (creature parts and balls): each registered
// body maps to one BodyRecord. Lookups go by the body's address; listings go by registration order
// and by world, so that whatever walks them does the same on every run.

// Creates the body in the world and registers a copy of the pattern for it (its `body` set, its
// `alive` true), replacing a record still registered at that address. Returns null and registers
// nothing when the world refuses the body.
b2Body* CreateRegisteredBody(PhysicsWorld& world, const b2BodyDef& def, const BodyRecord& pattern);

// The record of a registered body, or null.
BodyRecord* FindBodyRecord(const b2Body* body);

// Forgets the body's record (nothing when the body is not registered). The body is left as it is.
void EraseBodyRecord(const b2Body* body);

// The records of the world's registered bodies, in registration order.
std::vector<BodyRecord*> RegisteredBodies(const b2World* world);

// Forgets the records of every body of the world (the world is going away).
void EraseBodyRecords(const b2World* world);

// Emitted with a body's address after game code destroyed a registered body; receivers use the
// address only as a key.
sigslot::signal1<const b2Body*>& BodyRemovedSignal();
