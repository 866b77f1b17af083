#pragma once

#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

struct fn_call;

// The base of every callable object, native or script.
class as_function : public as_object {
public:
    explicit as_function(player* owner) : as_object(owner) {}

    bool is(int class_id) const override { return class_id == AS_FUNCTION || as_object::is(class_id); }
    const char* typeof() override { return "function"; }
    // Runs the function with the call block; the result goes to *fn.result.
    virtual void call(const fn_call& fn) = 0;
};

}  // namespace swfplayer
