#include "swfplayer/main/script/as_c_function.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/swfplayer_as_classes/as_object_methods.h"
#include "tests/swfplayer/main/script/ScriptRunner.h"
#include "tests/swfplayer/main/script/ScriptTestKit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

using namespace swfplayer;
using namespace script_test;

namespace {

class AsObjectTest : public ::testing::Test {
protected:
    smart_ptr<as_object> make_object(as_object* proto = nullptr) {
        smart_ptr<as_object> object = new as_object(m_player.get_ptr());
        object->set_proto(proto);
        return object;
    }
    std::set<std::string> enumerated(as_object* object) {
        int before = m_env.get_stack_size();
        object->enumerate(&m_env);
        std::set<std::string> names;
        while (m_env.get_stack_size() > before) {
            names.insert(m_env.pop().to_string());
        }
        return names;
    }
    bool found(as_object* object, const char* name) {
        as_value value;
        return object->get_member(name, &value);
    }

    smart_ptr<player> m_player = new player();
    as_environment m_env{m_player.get_ptr()};
};

TEST_F(AsObjectTest, a_deep_prototype_chain_is_followed_and_a_longer_one_is_cut) {
    smart_ptr<as_object> top = make_object();
    top->set_member("deep", as_value(9.0));
    for (int i = 0; i < 5005; i++) {
        smart_ptr<as_object> next = make_object(top.get_ptr());
        top = next;
        if (i == 4) {
            EXPECT_EQ(member(top, "deep").to_number(), 9.0);
        }
    }
    EXPECT_FALSE(found(top.get_ptr(), "deep"));
}

int s_calls = 0;
as_value s_seen;

void recording(const fn_call& fn) {
    s_calls++;
    s_seen = fn.arg(0);
}

void getter_five(const fn_call& fn) {
    fn.result->set_double(5);
}

TEST_F(AsObjectTest, read_only_values_stay_flags_travel_and_for_in_skips_hidden_and_inherited_members) {
    smart_ptr<as_object> proto = make_object();
    proto->set_member("inherited", as_value(1.0));
    smart_ptr<as_object> object = make_object(proto.get_ptr());
    as_value locked(1.0);
    locked.set_flags(AS_READ_ONLY);
    object->set_member("x", locked);
    object->set_member("x", as_value(2.0));
    EXPECT_EQ(member(object, "x").to_number(), 1.0);
    object->builtin_member("hidden", as_value(1.0));
    object->set_member("copy", member(object, "hidden"));
    object->builtin_member("prop", as_value(as_value(m_player.get_ptr(), getter_five), as_value()));
    EXPECT_EQ(enumerated(object.get_ptr()), std::set<std::string>{"x"});
    object->set_member("hidden", as_value(2.0));
    EXPECT_EQ(enumerated(object.get_ptr()), (std::set<std::string>{"x", "hidden"}));
}

// Three ways a script calls itself without end: a watch storing into its own member, a getter
// reading its own property, a native calling itself.
void watch_stores_again(const fn_call& fn) {
    fn.this_ptr->set_member(fn.arg(0).to_base_stringi(), fn.arg(2));
    fn.result->set_double(1);
}

void getter_reads_itself(const fn_call& fn) {
    as_value again;
    fn.this_ptr->get_member("loop", &again);
    *fn.result = again;  // reading the bound property runs this getter again
}

void native_recurses(const fn_call& fn) {
    as_value self;
    fn.this_ptr->get_member("f", &self);
    *fn.result = call_method(self, fn.env, *fn.this_value, 0, fn.env->get_top_index());
    fn.result->set_double(fn.result->to_number() + 1);
}

TEST_F(AsObjectTest, self_recursion_through_watches_getters_and_natives_stops_at_the_depth_limit) {
    smart_ptr<as_object> object = make_object();
    object->watch("x", as_value(m_player.get_ptr(), watch_stores_again).to_function(), as_value());
    object->set_member("x", as_value(2.0));
    EXPECT_EQ(m_player->call_depth(), 0);
    EXPECT_TRUE(object->has_own_member("x"));
    object->builtin_member("loop", as_value(as_value(m_player.get_ptr(), getter_reads_itself), as_value()));
    EXPECT_TRUE(std::isnan(member(object, "loop").to_number()));
    EXPECT_EQ(m_player->call_depth(), 0);
    object->set_member("f", as_value(m_player.get_ptr(), native_recurses));
    // The deepest call is refused (undefined, NaN + 1 ...), every level above it returns.
    EXPECT_TRUE(std::isnan(call(m_env, member(object, "f"), as_value(object.get_ptr()), {}).to_number()));
    EXPECT_EQ(m_player->call_depth(), 0);
}

TEST_F(AsObjectTest, instances_copy_the_prototype_at_birth_and_instanceof_follows_stored_constructors) {
    smart_ptr<as_c_function> object_ctor = new as_c_function(m_player.get_ptr(), as_global_object_ctor);
    smart_ptr<as_c_function> other_native = new as_c_function(m_player.get_ptr(), as_global_object_ctor);
    smart_ptr<as_c_function> unrelated = new as_c_function(m_player.get_ptr(), getter_five);
    as_object* proto = member(object_ctor, "prototype").to_object();
    proto->set_member("early", as_value(1.0));
    smart_ptr<as_object> instance = make_object();
    instance->make_prototype(as_value(object_ctor.get_ptr()));
    proto->set_member("late", as_value(2.0));
    EXPECT_TRUE(found(instance.get_ptr(), "early"));
    EXPECT_FALSE(found(instance.get_ptr(), "late"));
    EXPECT_TRUE(instance->is_instance_of(object_ctor.get_ptr()));
    // No stored constructor: an Object, whatever function object holds the native.
    smart_ptr<as_object> plain = make_object();
    EXPECT_TRUE(plain->is_instance_of(object_ctor.get_ptr()) && plain->is_instance_of(other_native.get_ptr()));
    EXPECT_FALSE(plain->is_instance_of(unrelated.get_ptr()) || plain->is_instance_of(nullptr));
    smart_ptr<as_object> base = make_object();
    base->store_constructor(as_value(unrelated.get_ptr()));
    smart_ptr<as_object> derived = make_object(base.get_ptr());
    derived->store_constructor(as_value(static_cast<as_object*>(nullptr)));
    EXPECT_FALSE(base->is_instance_of(object_ctor.get_ptr()));
    EXPECT_TRUE(base->is_instance_of(unrelated.get_ptr()) && derived->is_instance_of(unrelated.get_ptr()));
}

TEST_F(AsObjectTest, find_target_resolves_slash_and_dot_paths) {
    smart_ptr<as_object> root = make_object(), a = make_object(), b = make_object(), odd = make_object();
    smart_ptr<as_object> from_root = make_object(), start = make_object();
    m_player->set_root_movie(root.get_ptr());
    root->set_member("top", as_value(from_root.get_ptr()));
    start->set_member("a", as_value(a.get_ptr()));
    a->set_member("b", as_value(b.get_ptr()));
    start->set_member("a..b", as_value(odd.get_ptr()));
    start->set_member("n", as_value(1.0));
    const std::pair<const char*, as_object*> cases[] = {
        {"", start.get_ptr()}, {"a", a.get_ptr()},      {"a.b", b.get_ptr()},   {"a/b", b.get_ptr()},
        {"a/", a.get_ptr()},   {"a..b", odd.get_ptr()}, {"/", root.get_ptr()},  {"/top", from_root.get_ptr()},
        {"a/b/../x", nullptr}, {"missing", nullptr},    {"a.missing", nullptr}, {"n", nullptr},
        {"n.x", nullptr},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(start->find_target(as_value(path)), expected) << path;
    }
    EXPECT_EQ(start->find_target(as_value(b.get_ptr())), b.get_ptr());
    EXPECT_EQ(start->find_target(as_value(3.0)), nullptr);
    // A long path is walked without recursion.
    std::string long_path;
    for (int i = 0; i < 100000; i++) {
        long_path += "a/";
    }
    a->set_member("a", as_value(a.get_ptr()));
    EXPECT_EQ(start->find_target(as_value(long_path.c_str())), a.get_ptr());
    a->erase_member("a");
}

TEST_F(AsObjectTest, events_call_the_handler_named_after_them_and_the_constructor_makes_objects_of_its_player) {
    smart_ptr<as_object> object = make_object();
    EXPECT_FALSE(object->on_event(event_id(event_id::LOAD)));
    object->set_member("onLoad", as_value(m_player.get_ptr(), recording));
    array<as_value> args;
    args.push_back(as_value("first"));
    s_calls = 0;
    EXPECT_TRUE(object->on_event(event_id(event_id::LOAD, 0, &args)));
    EXPECT_EQ(std::pair(s_calls, std::string(s_seen.to_string())), std::pair(1, std::string("first")));
    EXPECT_FALSE(object->on_event(event_id(event_id::INVALID)) || object->on_event(event_id(200)));
    as_value made = call(m_env, as_value(m_player.get_ptr(), as_global_object_ctor), as_value(), {});
    ASSERT_NE(made.to_object(), nullptr);
    EXPECT_EQ(made.to_object()->get_player(), m_player.get_ptr());
    // Without "this" the methods do nothing; without a target no class registers.
    EXPECT_FALSE(call(m_env, member(made.to_object(), "hasOwnProperty"), as_value(), {as_value("x")}).to_bool());
    EXPECT_FALSE(call(m_env, member(made.to_object(), "registerClass"), made, {as_value("c"), made}).to_bool());
}

TEST_F(AsObjectTest, the_heap_sweep_collects_unreachable_cycles_and_long_rings_without_recursion) {
    auto heap_object = [this] {
        as_object* object = new as_object(m_player.get_ptr());
        m_player->clear_heap_flag(object);
        return object;
    };
    auto sweep = [this] {
        m_player->set_all_heap_flags();
        m_player->sweep_heap();
        return m_player->get_heap_size();
    };
    as_object* kept = heap_object();
    m_player->get_global()->set_member("kept", as_value(kept));
    as_object* a = heap_object();
    as_object* b = heap_object();
    a->set_member("b", as_value(b));
    b->set_member("a", as_value(a));
    weak_ptr<as_object> watch_a = a, watch_b = b;
    EXPECT_EQ(sweep(), 2);  // the global object and kept
    EXPECT_TRUE(watch_a.get_ptr() == nullptr && watch_b.get_ptr() == nullptr);
    EXPECT_FALSE(m_player->get_heap_flag(kept));
    as_object* head = heap_object();
    as_object* node = head;
    for (int i = 0; i < 200000; i++) {
        as_object* next = heap_object();
        node->set_member("next", as_value(next));
        node = next;
    }
    node->set_member("next", as_value(head));
    m_player->get_global()->set_member("head", as_value(head));
    EXPECT_EQ(sweep(), 200003);
    m_player->get_global()->set_member("head", as_value());
    EXPECT_EQ(sweep(), 2);
}

// A built-in function (the global trace) is its player's own but outside its heap: what a script
// stores on it is still reachable, so the sweep keeps it and what it refers to.
TEST_F(AsObjectTest, the_heap_sweep_keeps_what_a_built_in_function_holds) {
    as_value trace;
    ASSERT_TRUE(m_player->get_global()->get_member("trace", &trace));
    ASSERT_NE(trace.to_object(), nullptr);
    ASSERT_EQ(trace.to_object()->get_player(), m_player.get_ptr());
    smart_ptr<as_object> held = make_object(), child = make_object();
    m_player->clear_heap_flag(held.get_ptr());
    m_player->clear_heap_flag(child.get_ptr());
    held->set_member("child", as_value(child.get_ptr()));
    trace.to_object()->set_member("held", as_value(held.get_ptr()));
    m_player->sweep_heap();
    EXPECT_EQ(member(held, "child").to_object(), child.get_ptr());
    EXPECT_EQ(m_player->get_heap_size(), 3);  // the global object, held and child
    trace.to_object()->erase_member("held");
}

// Objects outside the heap are never collected, so a cycle a script makes through them (a built-in
// function that holds itself, two that hold each other, one that holds an object that holds it)
// would outlive their player: at its end they let go of everything.
TEST_F(AsObjectTest, cycles_through_built_in_functions_end_with_their_player) {
    smart_ptr<player> other = new player();
    auto global_member = [&](const char* name) {
        as_value value;
        other->get_global()->get_member(name, &value);
        return value.to_object();
    };
    as_object* trace = global_member("trace");
    as_object* math = global_member("Math");
    ASSERT_TRUE(trace != nullptr && math != nullptr);
    trace->set_member("self", as_value(trace));
    trace->set_member("math", as_value(math));
    math->set_member("trace", as_value(trace));
    as_object* held = new as_object(other.get_ptr());
    other->clear_heap_flag(held);
    held->set_member("trace", as_value(trace));
    trace->set_member("held", as_value(held));
    weak_ptr<as_object> watch_trace = trace, watch_math = math, watch_held = held;
    other = nullptr;
    EXPECT_EQ(watch_trace.get_ptr(), nullptr);
    EXPECT_EQ(watch_math.get_ptr(), nullptr);
    EXPECT_EQ(watch_held.get_ptr(), nullptr);
    // The fixture's player, alive all along, keeps its own built-ins whole.
    as_value own_trace;
    EXPECT_TRUE(m_player->get_global()->get_member("trace", &own_trace) && own_trace.to_function() != nullptr);
}

TEST_F(AsObjectTest, clear_refs_breaks_references_to_the_target_only) {
    smart_ptr<as_object> target = make_object(), other = make_object(), holder = make_object();
    holder->set_member("t", as_value(target.get_ptr()));
    holder->set_member("o", as_value(other.get_ptr()));
    other->set_member("back", as_value(target.get_ptr()));
    holder->builtin_member("p", as_value(as_value(m_player.get_ptr(), getter_five), as_value()));
    as_object_set visited;
    as_object::walk_clear_refs(holder.get_ptr(), &visited, target.get_ptr());
    EXPECT_TRUE(member(holder, "t").is_undefined() && member(other, "back").is_undefined());
    EXPECT_EQ(member(holder, "o").to_object(), other.get_ptr());
}

// Members, prototypes, watches and properties as scripts see them; o is a new Object, C a
// constructor whose prototype holds shared = "proto".
TEST(AsObjectScriptTest, members_prototypes_watches_and_properties) {
    const std::string o = "'o' 0 'Object' new set_var ";
    const std::string c =
        "fn:C() { } 'C' get_var 'prototype' get_member 'shared' 'proto' set_member 'k' 0 'C' new set_var ";
    expect_traces({
        // Names ignore case; an own member named after an Object method is never read.
        {o + "'o' get_var 'Foo' 1 set_member 'o' get_var 'foo' get_member trace 'FOO' 1 'o' get_var "
             "'hasOwnProperty' call_method trace 'bar' 1 'o' get_var 'hasOwnProperty' call_method trace "
             "'o' get_var 'watch' 'own' set_member 'o' get_var 'watch' get_member type_of trace",
         "1|true|false|function"},
        // Own members before the prototype's.
        {c + "'k' get_var 'shared' get_member trace 'k' get_var 'shared' 'own' set_member 'k' get_var 'shared' "
             "get_member trace 'k' get_var 'missing' get_member trace",
         "proto|own|undefined"},
        // A setter found on the prototype is called and nothing is stored; the getter sees the instance.
        {"fn:C() { } fn:(v) { 'v' get_var trace } fn:() { 'this' get_var 'tag' get_member return } 'x' 3 "
         "'C' get_var 'prototype' get_member 'addProperty' call_method trace 'k' 0 'C' new set_var "
         "'k' get_var 'tag' 'T' set_member 'k' get_var 'x' 3 set_member "
         "'x' 1 'k' get_var 'hasOwnProperty' call_method trace 'k' get_var 'x' get_member trace "
         "fn:() { } 'y' 2 'k' get_var 'addProperty' call_method trace",  // addProperty wants three arguments
         "true|3|false|T|false"},
        // A watch sees name, old and new value and its user value; its result is stored.
        {o + "'o' get_var 'x' 0 set_member 'u' fn:(n,a,b,u) { 'n' get_var 'a' get_var add_t 'b' get_var add_t "
             "'u' get_var add_t trace 5 return } 'x' 3 'o' get_var 'watch' call_method trace "
             "'o' get_var 'x' 1 set_member 'o' get_var 'x' get_member trace 'X' 1 'o' get_var 'unwatch' call_method "
             "trace 'X' 1 'o' get_var 'unwatch' call_method trace 'o' get_var 'x' 1 set_member 'o' get_var 'x' "
             "get_member trace 1 'x' 2 'o' get_var 'watch' call_method trace",  // a callback must be a function
         "true|x01u|5|true|false|1|false"},
        // Assigning an object over an object copies its members into it, unless the old value is null or
        // the new one no object; an object holding itself is copied into itself once.
        {"'h' 0 'Object' new set_var 'd' 0 'Object' new set_var 'k' 0 'Object' new set_var 'd' get_var 'old' 1 "
         "set_member 'k' get_var 'fresh' 2 set_member 'h' get_var 'b' 'd' get_var set_member 'h' get_var 'b' 'k' "
         "get_var set_member 'h' get_var 'b' get_member 'd' get_var equ trace 'd' get_var 'fresh' get_member trace "
         "'h' get_var 'n' null set_member 'h' get_var 'n' 'k' get_var set_member 'h' get_var 'n' get_member 'k' "
         "get_var equ trace 'h' get_var 'n' 3 set_member 'h' get_var 'n' get_member trace 'd' get_var 'me' 'd' "
         "get_var set_member 'h' get_var 'b' 'd' get_var set_member 'h' get_var 'b' get_member 'd' get_var equ trace "
         "'d' get_var 'me' delete pop",
         "true|2|true|3|true"},
        // Built-in methods check their arguments.
        {o + "'clip' 1 'o' get_var 'registerClass' call_method trace fn:() { } 'clip' 2 'o' get_var "
             "'registerClass' call_method trace 0 'o' get_var 'hasOwnProperty' call_method trace 'x' 1 'o' get_var "
             "'watch' call_method trace 0 'o' get_var 'unwatch' call_method trace 1 'click' 2 'o' get_var "
             "'addEventListener' call_method",
         "false|false|false|false|false"},
    });
}

}  // namespace
