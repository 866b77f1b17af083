#pragma once

#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

struct fn_call;

// TextFormat: an object whose formatting values are ordinary members that text fields read.
class as_textformat : public as_object {
public:
    explicit as_textformat(player* owner) : as_object(owner) {}

    bool is(int class_id) const override { return class_id == AS_TEXTFORMAT || as_object::is(class_id); }
};

// new TextFormat(font, size, color, bold, italic, underline, url, target, align, leftMargin,
// rightMargin, indent, leading): argument i becomes the member of the i-th name; arguments
// beyond the 13th are ignored.
void as_global_textformat_ctor(const fn_call& fn);

}  // namespace swfplayer
