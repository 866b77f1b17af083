#pragma once

namespace swfplayer {

struct fn_call;

// Boolean(x): x.to_bool() with exactly one argument, else false (a primitive, not an object).
void as_global_boolean_ctor(const fn_call& fn);
// Methods of boolean values: "true"/"false", and the value itself.
void as_boolean_tostring(const fn_call& fn);
void as_boolean_valueof(const fn_call& fn);

}  // namespace swfplayer
