#pragma once

namespace swfplayer {

struct fn_call;

// trace(value): writes the text of argument 0 and a newline to the player's message log
// ("undefined" for an undefined value); nothing without an argument.
void as_global_trace(const fn_call& fn);
// getVersion(): the platform word, "WIN".
void as_global_getversion(const fn_call& fn);
// ASSetPropFlags(obj, props, setFlags[, clearFlags]): changes the member flags of obj, of the
// members named by the string members of props, or of every member when props is no object.
// A version-5 movie must pass exactly 3 arguments, and there clearFlags defaults to 7.
void as_global_assetpropflags(const fn_call& fn);

}  // namespace swfplayer
