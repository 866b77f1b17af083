#pragma once

namespace swfplayer {

struct fn_call;

// new TextField(): a field of its own zero-sized definition with a default font, no parent and
// id 0, returned as the result.
void as_global_textfield_ctor(const fn_call& fn);

}  // namespace swfplayer
