#pragma once

#include "swfplayer/base/base_string.h"

namespace swfplayer {

// The fixed name tables that the player and the built-in classes index by number. The member
// names among them are case-blind names that keep their hashes, so looking one up as a member
// neither copies nor hashes it again.
namespace static_names {

constexpr int property_count = 22;
constexpr int button_event_count = 8;
constexpr int textformat_member_count = 13;

// The locals a script function's call may add for itself.
enum call_local { LOCAL_THIS, LOCAL_ARGUMENTS, LOCAL_SUPER, call_local_count };

// GetProperty/SetProperty names by property number 0..21 ("_x" ... "_ymouse"; number 19 names
// no real member). Other numbers give the empty string.
const base_stringi& property_name(int number);
// Button event handler names in the order the clip's button-event test uses ("onKeyPress"
// ... "onRollover"); the empty string outside 0..7.
const base_stringi& button_event_name(int index);
// TextFormat member names in order ("font" ... "leading"); the empty string outside 0..12.
const base_stringi& textformat_member_name(int index);
// "this", "arguments" and "super", built once rather than on every call.
const base_string& call_local_name(call_local which);
// The member that holds an object's constructor.
const base_stringi& constructor_name();
// The platform word of the version string.
const base_string& platform_name();

}  // namespace static_names
}  // namespace swfplayer
