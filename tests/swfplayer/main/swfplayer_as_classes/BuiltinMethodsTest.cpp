// Every object of a built-in class holds function objects of its own for its methods: two
// objects' methods are never the same object, and a member set on one object's method is not
// seen through another's.
#include "swfplayer/main/player/clip_loader.h"
#include "swfplayer/main/script/as_property.h"
#include "tests/swfplayer/main/script/ScriptRunner.h"

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

using namespace script_test;
using namespace swfplayer;

namespace {

// A built-in class: the script that makes one of its objects (the object left on the stack),
// its methods and its read-only properties.
struct builtin_class {
    const char* name;
    const char* make;
    std::vector<const char*> methods;
    std::vector<const char*> getters;
};

// "clip" names a child clip of the script's target, which a Color needs.
const std::vector<builtin_class>& Classes() {
    static const std::vector<builtin_class> classes = {
        {"Point", "0 'flash' get_var 'geom' get_member 'Point' new_method", {"add", "subtract", "normalize"}, {}},
        {"Matrix",
         "0 'flash' get_var 'geom' get_member 'Matrix' new_method",
         {"translate", "rotate", "scale", "concat", "clone", "invert", "transformPoint"},
         {}},
        {"Sound", "0 'Sound' new", {"attachSound", "start", "stop", "setVolume", "loadSound"}, {"position"}},
        {"Color", "'clip' 1 'Color' new", {"getRGB", "setRGB", "getTransform", "setTransform"}, {}},
        {"Date",
         "0 'Date' new",
         {"getDate", "getDay", "getFullYear", "getHours", "getMilliseconds", "getMinutes", "getMonth", "getSeconds",
          "getTime", "getYear"},
         {}},
        {"Array", "0 'Array' new", {"toString", "push", "pop"}, {"length"}},
        {"LoadVars",
         "0 'LoadVars' new",
         {"addRequestHeader", "decode", "getBytesLoaded", "getBytesTotal", "load", "send", "sendAndLoad", "toString"},
         {}},
        {"XMLSocket", "0 'XMLSocket' new", {"connect", "close", "send"}, {}},
        {"MovieClipLoader",
         "0 'MovieClipLoader' new",
         {"addListener", "removeListener", "loadClip", "unloadClip", "getProgress"},
         {}},
        {"TextField", "0 'TextField' new", {"setTextFormat"}, {}},
    };
    return classes;
}

const builtin_class& ClassNamed(const std::string& name) {
    for (const builtin_class& c : Classes()) {
        if (name == c.name) {
            return c;
        }
    }
    throw std::invalid_argument(name);
}

class BuiltinMethodsTest : public ::testing::Test {
protected:
    BuiltinMethodsTest() { register_clip_loader(); }

    // Makes two objects of the class into the variables a and b of a new runner, then runs code.
    // (Each run has a runner of its own: storing an object into a variable that holds one copies
    // its members into the object held.)
    std::string RunOnTwo(const builtin_class& c, const std::string& code) {
        m_runner = std::make_unique<script_runner>();
        m_clip = new script_clip(m_runner->m_player.get_ptr(), m_runner->m_clip.get_ptr());
        m_runner->m_clip->set_member("clip", as_value(m_clip.get_ptr()));
        return m_runner->run(assemble(std::string("'a' ") + c.make + " set_var 'b' " + c.make + " set_var " + code));
    }

    std::unique_ptr<script_runner> m_runner;
    smart_ptr<script_clip> m_clip;
};

// new Sound().start == new Sound().start is false, and so for every method of every class.
TEST_F(BuiltinMethodsTest, two_objects_never_share_a_method) {
    for (const builtin_class& c : Classes()) {
        for (const char* name : c.methods) {
            SCOPED_TRACE(std::string(c.name) + "." + name);
            const std::string method = std::string("'") + name + "' get_member ";
            EXPECT_EQ(RunOnTwo(c, "'a' get_var " + method + "'b' get_var " + method + "equ trace " +  //
                                      "'a' get_var " + method + "'a' get_var " + method + "equ trace " +
                                      "'a' get_var " + method + "type_of trace"),
                      "false|true|function");
        }
    }
}

// a.start.tag = 1 leaves b.start.tag undefined; the method still works on its own object.
TEST_F(BuiltinMethodsTest, a_member_set_on_one_objects_method_stays_with_it) {
    for (const builtin_class& c : Classes()) {
        for (const char* name : c.methods) {
            SCOPED_TRACE(std::string(c.name) + "." + name);
            const std::string method = std::string("'") + name + "' get_member ";
            EXPECT_EQ(RunOnTwo(c, "'a' get_var " + method + "'tag' 1 set_member " +  //
                                      "'b' get_var " + method + "'tag' get_member trace 'a' get_var " + method +
                                      "'tag' get_member trace"),
                      "undefined|1");
        }
    }
    EXPECT_EQ(RunOnTwo(ClassNamed("Array"),
                       "'a' get_var 'push' get_member 'tag' 1 set_member 7 1 'a' get_var 'push' "
                       "call_method pop 'a' get_var 'length' get_member trace 'b' get_var 'length' "
                       "get_member trace"),
              "1|0");
}

// The methods and getters are own members hidden from for-in; each getter is a property of the
// object's own, read through a function of its own.
TEST_F(BuiltinMethodsTest, methods_and_getters_are_hidden_own_members) {
    for (const builtin_class& c : Classes()) {
        SCOPED_TRACE(c.name);
        RunOnTwo(c, "");
        as_object* a = m_runner->variable("a").to_object();
        as_object* b = m_runner->variable("b").to_object();
        ASSERT_TRUE(a && b);
        for (const char* name : c.methods) {
            as_value mine;
            ASSERT_TRUE(a->get_own_member(name, &mine)) << name;
            EXPECT_EQ(mine.get_flags(), static_cast<uint32_t>(AS_DONT_ENUM)) << name;
            EXPECT_TRUE(mine.to_object() && mine.to_object()->is(AS_C_FUNCTION)) << name;
        }
        for (const char* name : c.getters) {
            as_value mine;
            as_value theirs;
            ASSERT_TRUE(a->get_own_member(name, &mine) && b->get_own_member(name, &theirs)) << name;
            EXPECT_EQ(mine.get_flags(), static_cast<uint32_t>(AS_DONT_ENUM)) << name;
            ASSERT_TRUE(mine.to_property() && theirs.to_property()) << name;
            EXPECT_NE(mine.to_property(), theirs.to_property()) << name;
            EXPECT_NE(mine.to_property()->get_getter(), theirs.to_property()->get_getter()) << name;
            EXPECT_EQ(mine.to_property()->get_setter(), nullptr) << name;
        }
        EXPECT_EQ(RunOnTwo(c, "'a' get_var enum_object @next dup null equ if:done trace jump:next @done pop"), "");
    }
}

// An array records the global Array as its constructor, and stays an instance of Array.
TEST_F(BuiltinMethodsTest, arrays_record_the_global_array_constructor) {
    EXPECT_EQ(RunOnTwo(ClassNamed("Array"),
                       "'a' get_var '__constructor__' get_member 'Array' get_var equ trace "
                       "'a' get_var 'Array' get_var is_inst_of trace 1 2 2 decl_array dup "
                       "'Array' get_var is_inst_of trace '__constructor__' get_member 'Array' "
                       "get_var equ trace"),
              "true|true|true|true");
}

}  // namespace
