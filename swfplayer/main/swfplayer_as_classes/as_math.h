#pragma once

namespace swfplayer {

class as_object;
class player;

// The maths object, a plain object whose constants and functions are built-in members (script
// finds them as Math.PI, Math.max and so on, names being compared without case). Functions
// read missing arguments as undefined, which converts to NaN.
as_object* make_as_math(player* owner);

}  // namespace swfplayer
