#include "swfplayer/main/script/as_c_function.h"

#include "swfplayer/main/script/fn_call.h"

#include <cstdio>

namespace swfplayer {

as_c_function::as_c_function(player* owner, as_c_function_ptr function) : as_function(owner), m_function(function) {
    builtin_member("prototype", as_value(new as_object(owner)));
}

const char* as_c_function::to_string() {
    static char buffer[50];
    std::snprintf(buffer, sizeof(buffer), "<function 0x%p>", static_cast<void*>(this));
    return buffer;
}

void as_c_function::call(const fn_call& fn) {
    if (m_function) {
        m_function(fn);
    }
}

}  // namespace swfplayer
