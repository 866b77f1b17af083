#pragma once

namespace swfplayer {

struct fn_call;

// String(x): the text of x with exactly one argument, else the empty string.
void as_global_string_ctor(const fn_call& fn);

// Methods of string values. "this" is the string itself; every position is a character
// position of the UTF-8 text, so positions read from one method are valid in another.
void as_string_tostring(const fn_call& fn);
void as_string_fromcharcode(const fn_call& fn);
void as_string_charcodeat(const fn_call& fn);
void as_string_concat(const fn_call& fn);
void as_string_indexof(const fn_call& fn);
void as_string_lastindexof(const fn_call& fn);
void as_string_slice(const fn_call& fn);
void as_string_split(const fn_call& fn);
void as_string_substring(const fn_call& fn);
void as_string_substr(const fn_call& fn);
void as_string_tolowercase(const fn_call& fn);
void as_string_touppercase(const fn_call& fn);
void as_string_charat(const fn_call& fn);
// The getter of the "length" property: the number of characters.
void as_string_length(const fn_call& fn);

}  // namespace swfplayer
