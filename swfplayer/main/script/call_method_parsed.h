#pragma once

#include "swfplayer/base/base_string.h"
#include "swfplayer/main/script/as_value.h"

#include <cstdarg>

namespace swfplayer {

class as_environment;
class as_object;

// Host-side calls of a script function looked up by name in env (with no with-blocks), with
// this_ptr as "this". The arguments are pushed so that argument 0 lies on top, dropped after
// the call, and the result comes back as text.

// The arguments from printf-like conversions: "%d" an int, "%f" a double, "%s" a char* text,
// "%ls" a wchar_t* text; blanks, tabs and commas between them are skipped, anything else is
// logged and skipped. The text stays valid until the next call.
const char* call_method_parsed(as_environment* env, as_object* this_ptr, const char* method_name,
                               const char* method_arg_fmt, va_list args);

// The arguments from an array of nargs values (argument 0 first).
base_string call_method(as_environment* env, as_object* this_ptr, const char* method_name, const as_value* arg_array,
                        int nargs);

}  // namespace swfplayer
