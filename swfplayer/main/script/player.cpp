#include "swfplayer/main/script/player.h"

#include "swfplayer/base/hash.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/builtin_registry.h"

#include <memory>

namespace swfplayer {

namespace {

typedef hash<base_stringi, as_value> builtin_table;

// The method tables, shared by every player and alive while at least one player lives.
std::unique_ptr<builtin_table> s_builtins[builtin_class_count];
int s_player_count = 0;

// Every class gets a table, filled from the registered methods (MovieClip's come from the
// display side's sprite methods).
void build_builtin_tables() {
    for (std::unique_ptr<builtin_table>& table : s_builtins) {
        table = std::make_unique<builtin_table>();
    }
    for (const builtin_method& method : get_builtin_methods()) {
        as_value function(method.m_function);
        s_builtins[method.m_class]->set(method.m_name.c_str(),
                                        method.m_is_getter ? as_value(function, as_value()) : function);
    }
}

void delete_builtin_tables() {
    for (std::unique_ptr<builtin_table>& table : s_builtins) {
        table.reset();
    }
}

}  // namespace

player::nesting_counters& nesting_of(player* owner) {
    static player::nesting_counters s_orphans;
    return owner ? owner->nesting() : s_orphans;
}

bool get_builtin(int class_index, const base_stringi& name, as_value* out) {
    if (class_index < 0 || class_index >= builtin_class_count || s_builtins[class_index] == nullptr) {
        return false;
    }
    return s_builtins[class_index]->get(name, out);
}

player::player() {
    m_global = new as_object(this);
    clear_heap_flag(m_global.get_ptr());
    install_builtin_globals(this);
    if (s_player_count == 0) {
        build_builtin_tables();
    }
    s_player_count++;
}

player::~player() {
    m_root_movie = nullptr;
    m_global = nullptr;
    s_player_count--;
    release_heap(false);
    if (s_player_count == 0) {
        delete_builtin_tables();
    }
}

void player::clear_heap_flag(as_object* object) {
    if (object == nullptr) {
        return;
    }
    auto found = m_heap.find(object);
    if (found != m_heap.end()) {
        found->second.m_flag = false;
    } else {
        m_heap.emplace(object, heap_entry{object, false});
    }
}

bool player::get_heap_flag(as_object* object) const {
    auto found = m_heap.find(object);
    return found != m_heap.end() && found->second.m_flag;
}

void player::set_all_heap_flags() {
    for (auto& entry : m_heap) {
        entry.second.m_flag = true;
    }
}

void player::mark_alive(as_object* object) {
    if (object == nullptr) {
        return;
    }
    m_mark_queue.push_back(object);
    if (m_marking) {
        return;
    }
    m_marking = true;
    while (!m_mark_queue.empty()) {
        smart_ptr<as_object> next = std::move(m_mark_queue.back());
        m_mark_queue.pop_back();
        next->this_alive();
    }
    m_marking = false;
}

void player::sweep_heap() {
    mark_alive(m_global.get_ptr());
    release_heap(true);
}

void player::release_heap(bool only_flagged) {
    if (!only_flagged) {
        set_all_heap_flags();
    }
    // Collected first, then released: clearing references must not change the heap under way.
    std::vector<smart_ptr<as_object>> doomed;
    std::vector<bool> shared;
    for (auto& entry : m_heap) {
        if (entry.second.m_flag) {
            // Held elsewhere too: its references may be part of a cycle.
            shared.push_back(entry.second.m_object->get_ref_count() >= 2);
            doomed.push_back(entry.second.m_object);
        }
    }
    // One pass over everything the doomed objects reach drops every reference to a doomed
    // object, so the work grows with the graph, not with its square.
    as_object_set visited;
    for (size_t i = 0; i < doomed.size(); i++) {
        if (shared[i]) {
            as_object::walk_clear_refs(doomed[i].get_ptr(), &visited, nullptr);
        }
    }
    for (const smart_ptr<as_object>& object : doomed) {
        m_heap.erase(object.get_ptr());
    }
}

}  // namespace swfplayer
