#pragma once

#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

// The global "Selection" object, with one method: setFocus(target) finds the target by path
// or value and, when it is a character, sends it onSetFocus and answers true; otherwise false.
class as_selection : public as_object {
public:
    explicit as_selection(player* owner);

    bool is(int class_id) const override { return class_id == AS_SELECTION || as_object::is(class_id); }
};

}  // namespace swfplayer
