#pragma once

// Small pieces the script-core tests share: a stand-in display clip with its own environment,
// and a call helper that pushes arguments the way the interpreter does.

#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/player.h"

#include <string>
#include <vector>

namespace script_test {

using namespace swfplayer;

// A display clip as far as the script core can tell: class id 1, on the stage while active is
// set, and an environment of its own whose target is the clip.
class test_clip : public as_object {
public:
    explicit test_clip(player* owner) : as_object(owner), m_env(owner) { m_env.set_target(nullptr); }
    bool is(int class_id) const override { return class_id == AS_CHARACTER || as_object::is(class_id); }
    as_environment* get_environment() override { return &m_env; }
    bool is_active() const override { return m_active; }
    as_environment m_env;
    bool m_active = true;
};

// The value get_member gives for the name (undefined when there is none); object is a plain or
// a smart pointer.
template <class Object>
as_value member(const Object& object, const char* name) {
    as_value value;
    object->get_member(name, &value);
    return value;
}

// The values' texts joined by "|", to check several at once.
inline std::string texts(std::initializer_list<as_value> values) {
    std::string joined;
    for (const as_value& value : values) {
        joined += (&value == values.begin() ? "" : "|") + std::string(value.to_string());
    }
    return joined;
}

// Calls function with this_value and the arguments (argument 0 first), pushed last to first on
// env's stack, then drops them again.
inline as_value call(as_environment& env, const as_value& function, const as_value& this_value,
                     const std::vector<as_value>& args) {
    for (int i = static_cast<int>(args.size()) - 1; i >= 0; i--) {
        env.push(args[i]);
    }
    as_value result = call_method(function, &env, this_value, static_cast<int>(args.size()), env.get_top_index());
    env.drop(static_cast<int>(args.size()));
    return result;
}

}  // namespace script_test
