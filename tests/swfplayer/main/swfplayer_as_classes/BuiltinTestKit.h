#pragma once

// A fixture for the built-in classes: a player with its globals, an environment to call through,
// a root clip, and the player's log captured as text.

#include "swfplayer/base/log.h"
#include "swfplayer/main/display/character.h"
#include "tests/swfplayer/main/script/ScriptTestKit.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace builtin_test {

using namespace swfplayer;
using namespace script_test;

class BuiltinFixture : public ::testing::Test {
protected:
    BuiltinFixture() {
        m_player->set_root_movie(m_root.get_ptr());
        s_log.clear();
        m_previous_log = register_log_callback([](bool, const char* message) { s_log += message; });
    }
    ~BuiltinFixture() override { register_log_callback(m_previous_log); }

    // The global named name (undefined when absent).
    as_value global(const char* name) { return member(m_player->get_global(), name); }
    // Calls a global function or constructor.
    as_value call_global(const char* name, const std::vector<as_value>& args) {
        return call(m_env, global(name), as_value(), args);
    }
    // Calls the member name of self with self as "this".
    as_value method(const as_value& self, const char* name, const std::vector<as_value>& args) {
        as_value function;
        EXPECT_TRUE(self.get_member(m_player.get_ptr(), name, &function)) << name;
        return call(m_env, function, self, args);
    }
    // Constructs flash.geom.<class_name>.
    as_value geom(const char* class_name, const std::vector<as_value>& args) {
        return call(m_env, get(get(global("flash"), "geom"), class_name), as_value(), args);
    }
    as_value plain_object() { return as_value(new as_object(m_player.get_ptr())); }
    // A member of an object value, read through get_member.
    static as_value get(const as_value& object, const char* name) {
        as_value value;
        if (object.to_object()) {
            object.to_object()->get_member(name, &value);
        }
        return value;
    }

    // The flags of an own member; -1 when there is none.
    static int flags(as_object* object, const char* name) {
        as_value value;
        return object->get_own_member(name, &value) ? static_cast<int>(value.get_flags()) : -1;
    }

    static inline std::string s_log;
    smart_ptr<player> m_player = new player();
    smart_ptr<character> m_root = new character(m_player.get_ptr(), nullptr, -1);
    as_environment m_env{m_player.get_ptr()};
    log_callback m_previous_log = nullptr;
};

}  // namespace builtin_test
