#include "swfplayer/main/script/call_method_parsed.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/call_method.h"

#include <algorithm>
#include <vector>

namespace swfplayer {

namespace {

// Calls the named function with the nargs values on top of env's stack (argument 0 on top),
// then drops them.
as_value call_named(as_environment* env, as_object* this_ptr, const char* method_name, int nargs) {
    array<with_stack_entry> no_with_blocks;
    as_value method = env->get_variable(method_name, no_with_blocks);
    as_value result = call_method(method, env, as_value(this_ptr), nargs, env->get_top_index());
    env->drop(nargs);
    return result;
}

}  // namespace

const char* call_method_parsed(as_environment* env, as_object* this_ptr, const char* method_name,
                               const char* method_arg_fmt, va_list args) {
    static base_string s_result;
    if (env == nullptr || method_name == nullptr) {
        return "";
    }
    std::vector<as_value> values;
    for (const char* p = method_arg_fmt ? method_arg_fmt : ""; *p; p++) {
        char c = *p;
        if (c == ' ' || c == '\t' || c == ',') {
            continue;
        }
        if (c != '%') {
            log_error("call_method_parsed('%s','%s') -- invalid char '%c'\n", method_name, method_arg_fmt, c);
            continue;
        }
        c = *++p;
        if (c == 'd') {
            values.push_back(as_value(va_arg(args, int)));
        } else if (c == 'f') {
            values.push_back(as_value(va_arg(args, double)));
        } else if (c == 's') {
            const char* text = va_arg(args, const char*);
            values.push_back(as_value(text ? text : ""));
        } else if (c == 'l' && p[1] == 's') {
            p++;
            const wchar_t* text = va_arg(args, const wchar_t*);
            values.push_back(as_value(text ? text : L""));
        } else if (c == 'l') {
            log_error("call_method_parsed('%s','%s') -- invalid fmt '%%l%c'\n", method_name, method_arg_fmt, p[1]);
            if (p[1] == 0) {
                break;
            }
            p++;
        } else {
            log_error("call_method_parsed('%s','%s') -- invalid fmt '%%%c'\n", method_name, method_arg_fmt, c);
            if (c == 0) {
                break;
            }
        }
    }
    // Argument 0 goes on top.
    for (auto it = values.rbegin(); it != values.rend(); ++it) {
        env->push(*it);
    }
    s_result = call_named(env, this_ptr, method_name, static_cast<int>(values.size())).to_base_string();
    return s_result.c_str();
}

base_string call_method(as_environment* env, as_object* this_ptr, const char* method_name, const as_value* arg_array,
                        int nargs) {
    if (env == nullptr || method_name == nullptr) {
        return base_string();
    }
    nargs = arg_array ? std::max(nargs, 0) : 0;
    for (int i = nargs - 1; i >= 0; i--) {
        env->push(arg_array[i]);
    }
    return call_named(env, this_ptr, method_name, nargs).to_base_string();
}

}  // namespace swfplayer
