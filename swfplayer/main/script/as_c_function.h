#pragma once

#include "swfplayer/main/script/as_function.h"

namespace swfplayer {

// A function object around a native function pointer. It has a hidden "prototype" member
// holding a plain object, so it can serve as a constructor.
class as_c_function : public as_function {
public:
    as_c_function(player* owner, as_c_function_ptr function);

    bool is(int class_id) const override { return class_id == AS_C_FUNCTION || as_function::is(class_id); }
    // "<function 0x...>" in one shared buffer.
    const char* to_string() override;
    // Calls the pointer; a null pointer does nothing.
    void call(const fn_call& fn) override;

    as_c_function_ptr get_function() const { return m_function; }

private:
    as_c_function_ptr m_function;
};

}  // namespace swfplayer
