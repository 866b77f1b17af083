#include "swfplayer/base/base_loadlib.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/script/builtin_registry.h"
#include "swfplayer/main/script/extension_modules.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/swfplayer_as_classes/as_array.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"
#include "tests/support/BoundedRun.h"
#include "tests/swfplayer/main/script/ScriptRunner.h"
#include "tests/swfplayer/main/swfplayer_as_classes/BuiltinTestKit.h"
#include "tools/swfkit/Movie.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <stdexcept>
#include <string>

using namespace builtin_test;

namespace {

// Every player of the player's test program gets the built-in classes, as the game's players do.
class builtin_classes_environment : public testing::Environment {
public:
    void SetUp() override { register_builtin_classes(); }
};
testing::Environment* const s_environment = testing::AddGlobalTestEnvironment(new builtin_classes_environment);

// The calls of record_tick: the text of "this" and of each argument.
std::vector<std::vector<std::string>> s_calls;

void record_tick(const fn_call& fn) {
    std::vector<std::string> call{fn.this_value->to_string()};
    for (int i = 0; i < fn.nargs; i++) {
        call.push_back(fn.arg(i).to_string());
    }
    s_calls.push_back(call);
}

class GlobalFunctionsTest : public BuiltinFixture {
protected:
    GlobalFunctionsTest() { s_calls.clear(); }
    // Advances the frame tick frames times by dt; the 1-based frames on which a call happened.
    std::vector<int> firing_frames(int frames, float dt) {
        std::vector<int> fired;
        for (int frame = 1; frame <= frames; frame++) {
            size_t before = s_calls.size();
            m_player->advance_frame_objects(dt);
            if (s_calls.size() > before) {
                fired.push_back(frame);
            }
        }
        return fired;
    }
    // An object with members a, b and c of flags 0, 2 and 4.
    smart_ptr<as_object> flagged_abc() {
        smart_ptr<as_object> object = new as_object(m_player.get_ptr());
        for (int i = 0; i < 3; i++) {
            object->set_member(abc[i], i);
            object->change_member_flags(abc[i], 2 * i, 0);
        }
        return object;
    }
    static std::vector<int> flags_of_abc(as_object* object) {
        return {flags(object, "a"), flags(object, "b"), flags(object, "c")};
    }
    static constexpr const char* abc[] = {"a", "b", "c"};
};

// The game registers once per movie load; a second registration must not double the methods.
TEST_F(GlobalFunctionsTest, the_registry_holds_every_global_hidden_from_enumeration_once) {
    for (const char* name :
         {"trace",    "Object",      "Array",         "TextFormat",     "String",       "Number",   "Boolean",
          "Color",    "Date",        "Selection",     "ASSetPropFlags", "math",         "Key",      "AsBroadcaster",
          "flash",    "setInterval", "clearInterval", "getVersion",     "parseFloat",   "parseInt", "isNaN",
          "$version", "XMLSocket",   "LoadVars",      "NetStream",      "NetConnection"}) {
        EXPECT_EQ(flags(m_player->get_global(), name), AS_DONT_ENUM) << name;
    }
    EXPECT_EQ(get(global("math"), "pi").to_number(), M_PI);
    size_t methods = get_builtin_methods().size();
    register_builtin_classes();
    EXPECT_GT(methods, 0u);
    EXPECT_EQ(get_builtin_methods().size(), methods);
    EXPECT_NE(get_builtin_constructor(BUILTIN_STRING), nullptr);
}

// Traces object.method(args) (the object read from a variable), or function(args) when object
// is empty; argument 0 is pushed last, then the count.
action_assembler traced_call(const std::string& object, const std::string& method, std::vector<push_item> args) {
    std::reverse(args.begin(), args.end());
    args.push_back(num(static_cast<double>(args.size())));
    action_assembler code;
    if (object.empty()) {
        return code.push(args).push({str(method)}).op(CALL_FUNC).op(TRACE);
    }
    return code.push(args).push({str(object)}).op(GET_VAR).push({str(method)}).op(CALL_METHOD).op(TRACE);
}

TEST(BuiltinScriptTest, scripts_reach_the_built_ins_by_their_global_names) {
    action_assembler literal;  // a = ["a", "b"]; trace(a); trace(a.push("c")); trace(a.pop()); trace(a.length)
    literal.push({str("a"), str("b"), str("a"), num(2)}).op(DECL_ARRAY).op(SET_VAR);
    literal.push({str("a")}).op(GET_VAR).op(TRACE);
    literal.push({str("c"), num(1), str("a")}).op(GET_VAR).push({str("push")}).op(CALL_METHOD).op(TRACE);
    literal.push({num(0), str("a")}).op(GET_VAR).push({str("pop")}).op(CALL_METHOD).op(TRACE);
    literal.push({str("a")}).op(GET_VAR).push({str("length")}).op(GET_MEMBER).op(TRACE);
    const std::pair<action_assembler, const char*> cases[] = {
        {traced_call("Math", "max", {num(1), num(NAN)}), "NaN"},
        {traced_call("math", "MAX", {num(NAN), num(1)}), "1"},
        {traced_call("Key", "isDown", {num(300)}), "false"},
        {traced_call("", "getVersion", {}), "WIN"},
        {action_assembler().push({str("$version")}).op(GET_VAR).op(TRACE), "swfPlayer"},
        {traced_call("", "Array", {num(3)}), "undefined,undefined,undefined"},
        {literal, "a,b|3|c|2"},
        {traced_call("Selection", "setFocus", {str("nowhere")}), "false"}};
    for (const auto& [code, traced] : cases) {
        EXPECT_EQ(script_runner().run(code), traced);
    }
}

TEST_F(GlobalFunctionsTest, trace_prints_the_text_of_its_first_argument) {
    const std::pair<std::vector<as_value>, const char*> cases[] = {{{"hello"}, "hello\n"},
                                                                   {{as_value()}, "undefined\n"},
                                                                   {{1.5, "ignored"}, "1.5\n"},
                                                                   {{"100%s%n"}, "100%s%n\n"},
                                                                   {{}, ""}};
    for (const auto& [args, printed] : cases) {
        s_log.clear();
        call_global("trace", args);
        EXPECT_EQ(s_log, printed);
    }
}

TEST_F(GlobalFunctionsTest, assetpropflags_changes_the_named_members_or_all_of_them) {
    // {props as an array of names (empty for null), setFlags[, clearFlags], the flags of a, b and c after}
    const std::tuple<std::vector<const char*>, std::vector<as_value>, std::vector<int>> cases[] = {
        {{}, {0, 0}, {1, 3, 5}},          // both 0: flag 1 set everywhere, nothing cleared
        {{"a", "c"}, {2}, {2, 2, 6}},     // three arguments clear nothing
        {{"b"}, {1, 2}, {0, 1, 4}},       // cleared first, then set
        {{}, {9, 8}, {1, 3, 5}},          // only the three flag bits count
        {{}, {0, 7}, {0, 0, 0}},          // clear all
        {{"x", "C"}, {1, 0}, {0, 2, 5}},  // absent names are skipped, names compare without case
        {{}, {}, {0, 2, 4}},              // two arguments or five: nothing changes
        {{}, {1, 0, 0}, {0, 2, 4}},
    };
    for (const auto& [names, set_clear, after] : cases) {
        smart_ptr<as_object> object = flagged_abc();
        as_value props;
        if (!names.empty()) {
            props = as_value(new as_array(m_player.get_ptr()));
            for (const char* name : names) {
                static_cast<as_array*>(props.to_object())->push(name);
            }
        }
        std::vector<as_value> args{as_value(object.get_ptr()), props};
        args.insert(args.end(), set_clear.begin(), set_clear.end());
        call_global("ASSetPropFlags", args);
        EXPECT_EQ(flags_of_abc(object.get_ptr()), after) << names.size() << " names, " << set_clear.size();
    }
    s_log.clear();
    call_global("ASSetPropFlags", {as_value(static_cast<as_object*>(nullptr)), as_value(), 1});
    EXPECT_EQ(s_log, "error: assetpropflags for NULL object\n");
}

TEST_F(GlobalFunctionsTest, assetpropflags_of_a_version_5_movie_clears_all_flags_and_takes_three_arguments) {
    for (int version : {5, 6}) {
        swfkit::Bytes bytes = swfkit::Movie(version, {0, 2000, 0, 2000}, 12).Write(false);
        smart_ptr<movie_def_impl> definition = create_movie_definition(
            m_player.get_ptr(), new base_file(memory_buffer, static_cast<int>(bytes.size()), bytes.data()));
        ASSERT_TRUE(definition);
        smart_ptr<sprite_instance> root =
            new sprite_instance(m_player.get_ptr(), definition.get_ptr(), nullptr, nullptr, -1);
        m_player->set_root_movie(root.get_ptr());
        smart_ptr<as_object> object = flagged_abc();  // b: AS_DONT_DELETE, c: AS_READ_ONLY
        call_global("ASSetPropFlags", {as_value(object.get_ptr()), as_value(), 1, 0});
        call_global("ASSetPropFlags", {as_value(object.get_ptr()), as_value(), 1});
        EXPECT_EQ(flags_of_abc(object.get_ptr()),
                  (version == 5 ? std::vector<int>{1, 1, 1} : std::vector<int>{1, 3, 5}));
    }
}

TEST_F(GlobalFunctionsTest, interval_timers_fire_once_the_interval_has_passed_and_restart_from_zero) {
    const std::tuple<as_value, float, int, std::vector<int>> cases[] = {
        {1000, 0.4f, 7, {3, 6}},  // 1.2 s on frame 3; the excess 0.2 s is not carried over
        {0, 0.1f, 3, {1, 2, 3}},   {1000, 1.0f, 3, {1, 2, 3}},
        {as_value(), 0.5f, 4, {}},  // undefined is NaN, which never fires
        {1000, NAN, 3, {}},         // a NaN frame time counts as no time and does not freeze the timer
    };
    for (const auto& [interval_ms, dt, frames, fired] : cases) {
        s_calls.clear();
        as_value timer = call_global("setInterval", {as_value(m_player.get_ptr(), record_tick), interval_ms});
        ASSERT_TRUE(timer.to_object() && timer.to_object()->is(AS_TIMER));
        EXPECT_EQ(firing_frames(frames, dt), fired) << interval_ms.to_string() << " ms by " << dt;
        call_global("clearInterval", {timer});
    }
    EXPECT_EQ(m_player->get_frame_object_count(), 0);
}

TEST_F(GlobalFunctionsTest, interval_timers_pass_their_extra_arguments_with_this_zero) {
    smart_ptr<as_object> object = new as_object(m_player.get_ptr());
    object->set_member("onTick", as_value(m_player.get_ptr(), record_tick));
    call_global("setInterval", {as_value(m_player.get_ptr(), record_tick), 1000, "first", 2});
    call_global("setInterval", {as_value(object.get_ptr()), "onTick", 1000, "only"});
    m_player->advance_frame_objects(1.0f);
    EXPECT_EQ(s_calls, (std::vector<std::vector<std::string>>{{"0", "first", "2"}, {"0", "only"}}));
    // Nothing to call, too few arguments, or the object form without an interval: no timer.
    for (const std::vector<as_value>& args :
         std::vector<std::vector<as_value>>{{as_value(m_player.get_ptr(), record_tick)},
                                            {as_value(object.get_ptr()), "missing", 10},
                                            {"text", "onTick", 10},
                                            {as_value(object.get_ptr()), "onTick"}}) {
        EXPECT_TRUE(call_global("setInterval", args).is_null());
    }
    EXPECT_EQ(m_player->get_frame_object_count(), 2);
}

as_value s_own_timer;
void clear_own_timer(const fn_call& fn) {
    record_tick(fn);
    call(*fn.env, member(fn.env->get_player()->get_global(), "clearInterval"), as_value(), {s_own_timer});
    s_own_timer.set_undefined();  // the last reference outside the frame tick
}

TEST_F(GlobalFunctionsTest, a_timer_cleared_in_its_own_callback_fires_no_more) {
    s_own_timer = call_global("setInterval", {as_value(m_player.get_ptr(), clear_own_timer), 0});
    EXPECT_EQ(firing_frames(3, 0.1f), std::vector<int>{1});
    EXPECT_EQ(m_player->get_frame_object_count(), 0);
    // clearInterval ignores anything but one timer.
    as_value kept = call_global("setInterval", {as_value(m_player.get_ptr(), record_tick), 0});
    call_global("clearInterval", {as_value(new as_object(m_player.get_ptr()))});
    call_global("clearInterval", {kept, kept});
    EXPECT_EQ(m_player->get_frame_object_count(), 1);
}

TEST_F(GlobalFunctionsTest, a_dropped_timer_keeps_firing_and_the_tick_list_refuses_past_its_limit) {
    call_global("setInterval", {as_value(m_player.get_ptr(), record_tick), 0});  // result dropped
    m_player->advance_frame_objects(0.1f);
    EXPECT_EQ(s_calls.size(), 1u);
    for (int i = 1; i < player::max_frame_objects; i++) {
        ASSERT_FALSE(call_global("setInterval", {as_value(m_player.get_ptr(), record_tick), 1000}).is_null());
    }
    s_log.clear();
    EXPECT_TRUE(call_global("setInterval", {as_value(m_player.get_ptr(), record_tick), 1000}).is_null());
    EXPECT_NE(s_log.find("addition refused"), std::string::npos);
    EXPECT_EQ(m_player->get_frame_object_count(), player::max_frame_objects);
}

TEST(ModuleLoaderTest, a_module_of_the_module_folder_loads_by_plain_name_only) {
    base_loadlib module("pondorix_test_module");
    ASSERT_TRUE(module.is_loaded());
    auto init_calls = reinterpret_cast<int (*)()>(module.get_function("pondorix_test_module_init_calls"));
    ASSERT_TRUE(init_calls);
    // "new pondorix_test_module()" loads the module once and calls its entry each time.
    for (int i = 1; i <= 2; i++) {
        EXPECT_EQ(create_extension_object(nullptr, "pondorix_test_module", array<as_value>()), nullptr);
        EXPECT_EQ(init_calls(), i);
    }
    EXPECT_EQ(create_extension_object(nullptr, "../pondorix_test_module", array<as_value>()), nullptr);
    EXPECT_EQ(init_calls(), 2);
    EXPECT_EQ(module.get_function("no_such_symbol"), nullptr);
    for (const char* name : {"../modules/pondorix_test_module", "modules/pondorix_test_module", "..",
                             "a\\pondorix_test_module", "", "/usr/lib/x86_64-linux-gnu/libm", "missing_module"}) {
        base_loadlib refused(name);
        EXPECT_FALSE(refused.is_loaded()) << name;
        EXPECT_EQ(refused.get_function("pondorix_test_module_init_calls"), nullptr) << name;
    }
}

TEST(ModuleLoaderTest, classes_of_no_module_are_not_loaded_nor_remembered) {
    EXPECT_TRUE(base_loadlib::is_available("pondorix_test_module"));
    EXPECT_FALSE(base_loadlib::is_available("missing_module"));
    // Two million distinct unknown classes once tried a load each and kept every name (217 MB).
    testing_support::BoundedRun run = testing_support::RunBounded(
        [] {
            register_log_callback(nullptr);
            for (int i = 0; i < 1000000; i++) {
                const std::string name = "m" + std::to_string(i);
                if (create_extension_object(nullptr, name.c_str(), array<as_value>()) != nullptr) {
                    throw std::runtime_error("an object of an unknown class");
                }
            }
        },
        std::chrono::seconds(20), 64 << 20);
    EXPECT_TRUE(run.finished) << run.Describe();
    EXPECT_LT(run.peakGrowth, (32u << 20)) << run.Describe();
}

}  // namespace
