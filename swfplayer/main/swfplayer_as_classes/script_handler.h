#pragma once

#include "swfplayer/main/script/as_value.h"

#include <initializer_list>

namespace swfplayer {

class as_object;

// Calls the member name of self (found as script finds members) with self as "this" and the
// arguments, argument 0 first. self is held while the handler runs, so the handler may drop the
// last reference to it. False when self is null or has no such member.
bool call_handler(as_object* self, const char* name, std::initializer_list<as_value> args);

}  // namespace swfplayer
