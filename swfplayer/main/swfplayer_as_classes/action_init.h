#pragma once

namespace swfplayer {

class player;

// Fills the player's global object with every name movie script reaches without a path: the
// class constructors, the singleton objects (Selection, the maths object, Key, AsBroadcaster,
// the flash package) and the global functions, all as built-in members. The interpreter's
// trace action calls the global "trace".
void action_init(player* owner);

}  // namespace swfplayer
