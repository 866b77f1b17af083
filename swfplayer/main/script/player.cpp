#include "swfplayer/main/script/player.h"

#include "swfplayer/base/base_random.h"
#include "swfplayer/base/base_timer.h"
#include "swfplayer/base/hash.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/script/as_function.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/as_property.h"
#include "swfplayer/main/script/builtin_registry.h"
#include "swfplayer/main/script/standard_member.h"
#include "swfplayer/main/script/static_names.h"

#include <cassert>
#include <cfloat>
#include <vector>

namespace swfplayer {

namespace {

fscommand_callback s_fscommand_callback = nullptr;

// The marking pass under way (of any player): an object marked in it is not walked again.
uint32_t s_mark_pass = 0;

}  // namespace

void register_fscommand_callback(fscommand_callback callback) {
    s_fscommand_callback = callback;
}

fscommand_callback get_fscommand_callback() {
    return s_fscommand_callback;
}

fscommand_callback get_action_option() {
    return s_fscommand_callback;
}

const char* get_version_string() {
    return static_names::platform_name().c_str();
}

as_value get_property(as_object* object, int property_number) {
    as_value result;
    if (property_number < 0 || property_number >= static_names::property_count) {
        log_error("error: invalid property query, property number %d\n", property_number);
    } else if (object) {
        object->get_member(static_names::property_name(property_number), &result);
    }
    return result;
}

void set_property(as_object* object, int property_number, const as_value& value) {
    if (property_number < 0 || property_number >= static_names::property_count) {
        log_error("error: invalid set_property, property number %d\n", property_number);
    } else if (object) {
        object->set_member(static_names::property_name(property_number), value);
    }
}

base_mutex& swfplayer_engine_mutex() {
    static base_mutex s_mutex;
    return s_mutex;
}

int player::s_player_count = 0;

player::player() : m_start_time(base_timer::get_ticks()) {
    m_global = new as_object(this);
    clear_heap_flag(m_global.get_ptr());
    install_builtin_globals(this);
    build_builtin_tables();
    s_player_count++;
    const int steps = static_cast<int>(base_timer::get_systime() & 0xFF);
    for (int i = 0; i < steps; i++) {
        base_random::next_random();
    }
}

player::~player() {
    m_frame_objects.clear();
    m_root_movie = nullptr;
    release_heap(false);
    m_global = nullptr;
    for (builtin_table& table : m_builtins) {
        table.clear();
    }
    s_player_count--;
    m_library.clear();
    if (s_player_count == 0) {
        clear_standard_members();
    }
}

void player::build_builtin_tables() {
    // MovieClip's methods come from the display side's sprite methods.
    for (const builtin_method& method : get_builtin_methods()) {
        as_value function(this, method.m_function);
        m_builtins[method.m_class].set(method.m_name.c_str(),
                                       method.m_is_getter ? as_value(function, as_value()) : function);
    }
}

template <class Visit>
void player::for_each_builtin_function(Visit visit) const {
    for (const builtin_table& table : m_builtins) {
        for (const auto& entry : table) {
            as_property* getter = entry.second.to_property();
            visit(getter ? getter->get_getter() : entry.second.to_object());
        }
    }
}

void player::set_root(movie_root* m) {
    assert(m != nullptr);
    m_root = m;
}

void player::set_workdir(const char* dir) {
    assert(dir != nullptr);
    m_workdir = dir;
}

void player::notify_key_event(int key_code, bool down) {
    if (movie_root* root = get_root()) {
        root->notify_key_event(this, key_code, down);
    }
}

void player::verbose_action(bool on) {
    set_verbose_action(on);
}

void player::verbose_parse(bool on) {
    set_verbose_parse(on);
}

void player::action_clear() {
    if (s_player_count == 0) {
        clear_standard_members();
    }
}

void player::clear_heap_flag(as_object* object) {
    if (object == nullptr || object->get_player() != this) {
        return;
    }
    m_heap[object] = false;
    object->m_in_heap = true;
}

bool player::get_heap_flag(as_object* object) const {
    auto found = m_heap.find(object);
    return found != m_heap.end() && found->second;
}

void player::set_all_heap_flags() {
    for (auto& entry : m_heap) {
        entry.second = true;
    }
}

void player::mark_alive(as_object* object) {
    if (object == nullptr || object->m_marked_in == s_mark_pass) {
        return;
    }
    object->m_marked_in = s_mark_pass;
    if (object->m_in_heap) {
        if (player* owner = object->get_player()) {
            owner->clear_heap_flag(object);
        }
    }
    m_mark_queue.push_back(object);
    if (m_marking) {
        return;
    }
    m_marking = true;
    while (!m_mark_queue.empty()) {
        smart_ptr<as_object> next = std::move(m_mark_queue.back());
        m_mark_queue.pop_back();
        next->this_alive(this);
    }
    m_marking = false;
}

void player::sweep_heap() {
    // Everything is unreachable until marked again, objects made during the frame too.
    set_all_heap_flags();
    s_mark_pass++;
    mark_alive(m_global.get_ptr());
    for (const smart_ptr<as_object>& object : m_frame_objects) {
        mark_alive(object.get_ptr());
    }
    mark_alive(m_root_movie.get_ptr());
    for_each_builtin_function([this](as_object* function) { mark_alive(function); });
    release_heap(true);
}

void player::release_heap(bool only_flagged) {
    if (!only_flagged) {
        set_all_heap_flags();
    }
    // Held while their references are cleared; they die once the holds go.
    std::vector<smart_ptr<as_object>> doomed;
    for (const auto& [object, flag] : m_heap) {
        if (flag && object->get_ref_count() > 0) {
            doomed.push_back(object);
        }
    }
    // One pass over everything the doomed objects reach drops every reference to a doomed
    // object (still flagged in the heap), so the work grows with the graph, not its square.
    as_object_set visited;
    for (const smart_ptr<as_object>& object : doomed) {
        as_object::walk_clear_refs(object.get_ptr(), &visited, nullptr);
    }
    if (!only_flagged) {
        // The method tables' functions and what scripts stored on them go with the player too.
        for_each_builtin_function(
            [&visited](as_object* function) { as_object::walk_clear_refs(function, &visited, nullptr); });
        drop_outside_references(visited);
    }
    // What survives this (held from outside script) is no longer the heap's to collect.
    for (const smart_ptr<as_object>& object : doomed) {
        object->m_in_heap = false;
        m_heap.erase(object.get_ptr());
    }
}

void player::drop_outside_references(const as_object_set& reached) {
    // The collection never breaks a cycle through objects outside the heap (trace.v = trace), so
    // at the player's end its own let go of everything: nothing its scripts made outlives it.
    // Objects of another player, which it may have reached, are left to that player.
    std::vector<smart_ptr<as_object>> outside;
    for (const auto& entry : reached) {
        as_object* object = entry.first;
        if (!object->m_in_heap && object->get_player() == this) {
            outside.emplace_back(object);
        }
    }
    for (const smart_ptr<as_object>& object : outside) {
        object->drop_references();
    }
}

ref_counted* player::get_library_entry(const std::string& name) const {
    auto found = m_library.find(name);
    return found == m_library.end() ? nullptr : found->second.get_ptr();
}

void player::set_library_entry(const std::string& name, ref_counted* definition) {
    m_library[name] = definition;
}

bool player::add_frame_object(as_object* object) {
    if (object == nullptr) {
        return false;
    }
    if (has_frame_object(object)) {
        return true;
    }
    if (get_frame_object_count() >= max_frame_objects) {
        log_error("error: player::add_frame_object: %d objects already want the frame tick, addition refused\n",
                  max_frame_objects);
        return false;
    }
    m_frame_objects.push_back(object);
    return true;
}

void player::remove_frame_object(as_object* object) {
    std::erase_if(m_frame_objects, [object](const smart_ptr<as_object>& listed) { return listed == object; });
}

bool player::has_frame_object(const as_object* object) const {
    for (const smart_ptr<as_object>& listed : m_frame_objects) {
        if (listed.get_ptr() == object) {
            return true;
        }
    }
    return false;
}

void player::advance_frame_objects(float dt) {
    if (!(dt >= 0.0f && dt <= FLT_MAX)) {
        dt = 0.0f;
    }
    // Objects may add and remove frame objects (themselves included) while they advance.
    std::vector<smart_ptr<as_object>> walk = m_frame_objects;
    for (const smart_ptr<as_object>& object : walk) {
        if (has_frame_object(object.get_ptr())) {
            object->advance(dt);
        }
    }
}

}  // namespace swfplayer
