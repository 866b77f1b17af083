#include "swfplayer/main/script/player.h"

#include "swfplayer/base/base_timer.h"
#include "swfplayer/base/hash.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/swfplayer_as_classes/as_array.h"
#include "swfplayer/main/swfplayer_as_classes/as_boolean.h"
#include "swfplayer/main/swfplayer_as_classes/as_number.h"
#include "swfplayer/main/swfplayer_as_classes/as_object_methods.h"
#include "swfplayer/main/swfplayer_as_classes/as_string.h"

namespace swfplayer {

namespace {

constexpr int builtin_class_count = 5;
typedef hash<base_stringi, as_value> builtin_table;

// The method tables, shared by every player and alive while at least one player lives.
builtin_table* s_builtins[builtin_class_count] = {};
int s_player_count = 0;

void add_method(builtin_table* table, const char* name, as_c_function_ptr function) {
    table->set(name, as_value(function));
}

void build_builtin_tables() {
    builtin_table* object = new builtin_table();
    add_method(object, "addProperty", as_object_addproperty);
    add_method(object, "registerClass", as_object_registerclass);
    add_method(object, "hasOwnProperty", as_object_hasownproperty);
    add_method(object, "watch", as_object_watch);
    add_method(object, "unwatch", as_object_unwatch);
    add_method(object, "addEventListener", as_object_addeventlistener);
    s_builtins[BUILTIN_OBJECT] = object;

    builtin_table* number = new builtin_table();
    add_method(number, "toString", as_number_tostring);
    add_method(number, "valueOf", as_number_valueof);
    s_builtins[BUILTIN_NUMBER] = number;

    builtin_table* boolean = new builtin_table();
    add_method(boolean, "toString", as_boolean_tostring);
    add_method(boolean, "valueOf", as_boolean_valueof);
    s_builtins[BUILTIN_BOOLEAN] = boolean;

    builtin_table* string = new builtin_table();
    add_method(string, "toString", as_string_tostring);
    add_method(string, "fromCharCode", as_string_fromcharcode);
    add_method(string, "charCodeAt", as_string_charcodeat);
    add_method(string, "concat", as_string_concat);
    add_method(string, "indexOf", as_string_indexof);
    add_method(string, "lastIndexOf", as_string_lastindexof);
    add_method(string, "slice", as_string_slice);
    add_method(string, "split", as_string_split);
    add_method(string, "substring", as_string_substring);
    add_method(string, "substr", as_string_substr);
    add_method(string, "toLowerCase", as_string_tolowercase);
    add_method(string, "toUpperCase", as_string_touppercase);
    add_method(string, "charAt", as_string_charat);
    string->set("length", as_value(as_value(as_string_length), as_value()));
    s_builtins[BUILTIN_STRING] = string;

    // The MovieClip methods are added by the display side's sprite methods.
    s_builtins[BUILTIN_MOVIECLIP] = new builtin_table();
}

void delete_builtin_tables() {
    for (builtin_table*& table : s_builtins) {
        delete table;
        table = nullptr;
    }
}

fscommand_callback s_fscommand_callback = nullptr;

}  // namespace

void register_fscommand_callback(fscommand_callback callback) {
    s_fscommand_callback = callback;
}

fscommand_callback get_fscommand_callback() {
    return s_fscommand_callback;
}

bool get_builtin(int class_index, const base_stringi& name, as_value* out) {
    if (class_index < 0 || class_index >= builtin_class_count || s_builtins[class_index] == nullptr) {
        return false;
    }
    return s_builtins[class_index]->get(name, out);
}

player::player() : m_start_time(base_timer::get_ticks()) {
    m_global = new as_object(this);
    clear_heap_flag(m_global.get_ptr());
    // The globals of the classes built so far, in registration order.
    as_object* global = m_global.get_ptr();
    global->builtin_member("Object", as_value(as_global_object_ctor));
    global->builtin_member("Array", as_value(as_global_array_ctor));
    global->builtin_member("String", as_value(as_global_string_ctor));
    global->builtin_member("Number", as_value(as_global_number_ctor));
    global->builtin_member("Boolean", as_value(as_global_boolean_ctor));
    global->builtin_member("parseFloat", as_value(as_global_parsefloat));
    global->builtin_member("parseInt", as_value(as_global_parseint));
    global->builtin_member("isNaN", as_value(as_global_isnan));
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
