#pragma once

#include "swfplayer/main/script/number_parsing.h"

namespace swfplayer {

struct fn_call;

// Number(x): x.to_number() with exactly one argument, else 0.
void as_global_number_ctor(const fn_call& fn);
// toString([radix]): "%.14g" text, or the digits in radix 2..36 (upper-case letters, a leading
// "-" for negative numbers; other radixes give the empty string).
void as_number_tostring(const fn_call& fn);
// valueOf(): the number itself.
void as_number_valueof(const fn_call& fn);

// parseFloat(s): the number when the whole text is one, else NaN.
void as_global_parsefloat(const fn_call& fn);
// parseInt(s [, radix]): base-10 integer of the whole text, else NaN; the radix is ignored.
void as_global_parseint(const fn_call& fn);
// isNaN(x): whether x converts to NaN; true without exactly one argument.
void as_global_isnan(const fn_call& fn);

}  // namespace swfplayer
