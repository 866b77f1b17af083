#include "swfplayer/main/script/as_environment.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/script/player.h"

#include <cstdint>
#include <cstring>

namespace swfplayer {

namespace {

// Instructions one with-block object asked for a variable costs a lookup: a member lookup takes
// about as long as this many plain instructions.
constexpr int64_t with_entry_cost = 8;

// A found member that is a getter/setter property is read through its getter.
as_value resolved(const as_value& value) {
    if (value.is_property()) {
        as_value current;
        value.get_property_value(&current);
        return current;
    }
    return value;
}

}  // namespace

as_environment::as_environment(player* owner) : m_player(owner) {}

as_value as_environment::top(int n) const {
    int index = get_stack_size() - 1 - n;
    if (n < 0 || index < m_stack_floor) {
        return as_value();
    }
    return m_stack[index];
}

void as_environment::set_top(int n, const as_value& value) {
    int index = get_stack_size() - 1 - n;
    if (n < 0 || index < m_stack_floor) {
        return;
    }
    m_stack[index] = value;
}

as_value as_environment::bottom(int index) const {
    if (index < 0 || index >= get_stack_size()) {
        return as_value();
    }
    return m_stack[index];
}

int as_environment::set_stack_floor(int floor) {
    int old = m_stack_floor;
    if (floor < 0) {
        floor = 0;
    }
    m_stack_floor = floor > get_stack_size() ? get_stack_size() : floor;
    return old;
}

void as_environment::truncate_stack(int size) {
    if (size < 0) {
        size = 0;
    }
    if (size < get_stack_size()) {
        m_stack.resize(size);
    }
    if (m_stack_floor > get_stack_size()) {
        m_stack_floor = get_stack_size();
    }
}

as_value as_environment::get_global_register(int n) const {
    return n >= 0 && n < 4 ? m_global_register[n] : as_value();
}

void as_environment::set_global_register(int n, const as_value& value) {
    if (n >= 0 && n < 4) {
        m_global_register[n] = value;
    }
}

void as_environment::push_register_frame(int count) {
    if (count < 0) {
        count = 0;
    }
    m_local_register.resize(m_local_register.size() + count);
    m_register_frames.push_back(count);
}

void as_environment::pop_register_frame() {
    if (m_register_frames.empty()) {
        return;
    }
    m_local_register.resize(m_local_register.size() - m_register_frames.back());
    m_register_frames.pop_back();
}

as_value as_environment::get_register(int n) const {
    if (n < 0 || n >= get_register_frame_size()) {
        return as_value();
    }
    const as_value& value = m_local_register[m_local_register.size() - n - 1];
    if (get_verbose_action()) {
        log_msg("-------------- get_register(%d): %s at %p\n", n, value.to_string(), address_of(value.to_object()));
    }
    return value;
}

void as_environment::set_register(int n, const as_value& value) {
    if (n < 0 || n >= get_register_frame_size()) {
        return;
    }
    m_local_register[m_local_register.size() - n - 1] = value;
    if (get_verbose_action()) {
        log_msg("-------------- set_register(%d): %s at %p\n", n, value.to_string(), address_of(value.to_object()));
    }
}

as_object* as_environment::get_target() const {
    as_object* target = m_target.get_ptr();
    return target && target->is(AS_CHARACTER) ? target : nullptr;
}

void as_environment::set_target(as_object* target) {
    m_target = target;
}

void as_environment::set_target(const as_value& target, as_object* start_target) {
    if (get_verbose_action()) {
        log_msg("-------------- ActionSetTarget2: %s", target.to_string());
    }
    as_object* found = nullptr;
    if (target.is_string() && target.to_base_string().size() == 0) {
        set_target(start_target);
        return;
    }
    if ((target.is_string() || target.is_object()) && m_target) {
        found = m_target->find_target(target);
    }
    if (found && found->is(AS_CHARACTER)) {
        set_target(found);
    } else if (get_verbose_action()) {
        log_msg("can't set target %s\n", target.to_string());
    }
}

as_object* as_environment::find_target(const as_value& path) const {
    return m_target ? m_target->find_target(path) : nullptr;
}

movie_root* as_environment::get_root() const {
    player* owner = get_player();
    return owner ? owner->get_root() : nullptr;
}

as_object* as_environment::get_root_movie() const {
    player* owner = get_player();
    return owner ? owner->get_root_movie() : nullptr;
}

bool as_environment::split_path(const base_string& path_and_variable, base_string* path, base_string* variable) {
    instruction_budget::charge_scan(path_and_variable.size());
    const char* text = path_and_variable.c_str();
    // One pass finds the last ':' and the last '.'.
    const char* colon = nullptr;
    const char* dot = nullptr;
    for (const char* c = text; *c; c++) {
        if (*c == ':') {
            colon = c;
        } else if (*c == '.') {
            dot = c;
        }
    }
    if (colon) {
        const char* path_end = colon;
        if (colon - text >= 2 && colon[-1] == '/') {
            path_end = colon - 1;
        }
        *variable = base_string(colon + 1);
        *path = base_string(text, static_cast<int>(path_end - text));
        return true;
    }
    if (dot) {
        *variable = base_string(dot + 1);
        *path = base_string(text, static_cast<int>(dot - text));
        return true;
    }
    return false;
}

as_value as_environment::get_variable(const base_stringi& name, const array<with_stack_entry>& with_stack) const {
    base_string path;
    base_string variable;
    if (!split_path(name, &path, &variable)) {
        return get_variable_raw(name, with_stack);
    }
    return get_path_variable(path, variable);
}

as_value as_environment::get_variable(const interned_name& name, const array<with_stack_entry>& with_stack) const {
    base_string path;
    base_string variable;
    if (name.is_path() && split_path(name.text(), &path, &variable)) {
        return get_path_variable(path, variable);
    }
    as_value value;
    if (find_plain_variable(name.text(), with_stack, &value)) {
        return value;
    }
    return get_standard_or_global(name.text(), name.standard());
}

as_value as_environment::get_path_variable(const base_string& path, const base_stringi& variable) const {
    as_value path_value(path.c_str());
    smart_ptr<as_object> target = m_target ? m_target->find_target(path_value) : nullptr;
    if (!target) {
        if (player* owner = get_player()) {
            if (as_object* global = owner->get_global()) {
                target = global->find_target(path_value);
            }
        }
    }
    if (!target) {
        if (get_verbose_action()) {
            log_msg("find_target(\"%s\") failed\n", path.c_str());
        }
        return as_value();
    }
    as_value value;
    target->get_member(variable, &value);
    return resolved(value);
}

as_value as_environment::get_variable_raw(const base_stringi& name, const array<with_stack_entry>& with_stack) const {
    // Worked out once here, the hash is kept for every table below.
    name.folded_hash();
    as_value value;
    if (find_plain_variable(name, with_stack, &value)) {
        return value;
    }
    return get_standard_or_global(name, get_standard_member(name));
}

bool as_environment::find_plain_variable(const base_stringi& name, const array<with_stack_entry>& with_stack,
                                         as_value* out) const {
    as_value value;
    for (int i = with_stack.size() - 1; i >= 0; i--) {
        instruction_budget::charge(with_entry_cost);
        as_object* object = with_stack[i].m_object.get_ptr();
        if (object && object->get_member(name, &value)) {
            *out = resolved(value);
            return true;
        }
    }
    int local = find_local(name, true);
    if (local >= 0) {
        *out = get_local(local);
        return true;
    }
    if (m_target && m_target->get_member(name, &value)) {
        *out = resolved(value);
        return true;
    }
    return false;
}

as_value as_environment::get_standard_or_global(const base_stringi& name, standard_member standard) const {
    if (standard == M_THIS_PLAIN) {
        return as_value(get_target());
    }
    if (standard == M_ROOT || standard == M_LEVEL0) {
        return as_value(get_root_movie());
    }
    player* owner = get_player();
    as_object* global = owner ? owner->get_global() : nullptr;
    if (standard == M_GLOBAL) {
        return as_value(global);
    }
    as_value value;
    if (global && global->get_member(name, &value)) {
        return resolved(value);
    }
    if (get_verbose_action()) {
        log_msg("get_variable_raw(\"%s\") failed, returning UNDEFINED.\n", name.c_str());
    }
    return as_value();
}

void as_environment::log_assignment(const base_string& name, const as_value& value) {
    if (get_verbose_action()) {
        log_msg("-------------- %s = %s\n", name.c_str(), value.to_string());
    }
}

void as_environment::set_variable(const base_stringi& name, const as_value& value,
                                  const array<with_stack_entry>& with_stack) {
    log_assignment(name, value);
    base_string path;
    base_string variable;
    if (!split_path(name, &path, &variable)) {
        set_variable_raw(name, value, with_stack);
        return;
    }
    set_path_variable(path, variable, value);
}

void as_environment::set_variable(const interned_name& name, const as_value& value,
                                  const array<with_stack_entry>& with_stack) {
    log_assignment(name.text(), value);
    base_string path;
    base_string variable;
    if (name.is_path() && split_path(name.text(), &path, &variable)) {
        set_path_variable(path, variable, value);
        return;
    }
    set_variable_raw(name.text(), value, with_stack);
}

void as_environment::set_path_variable(const base_string& path, const base_stringi& variable, const as_value& value) {
    smart_ptr<as_object> target = m_target ? m_target->find_target(as_value(path.c_str())) : nullptr;
    if (target && target->is(AS_CHARACTER)) {
        target->set_member(variable, value);
    }
}

void as_environment::set_variable_raw(const base_stringi& name, const as_value& value,
                                      const array<with_stack_entry>& with_stack) {
    // Worked out once here, the hash is kept for every table below.
    name.folded_hash();
    as_value found;
    for (int i = with_stack.size() - 1; i >= 0; i--) {
        instruction_budget::charge(with_entry_cost);
        as_object* object = with_stack[i].m_object.get_ptr();
        if (object && object->get_member(name, &found)) {
            object->set_member(name, value);
            return;
        }
    }
    int local = find_local(name, true);
    if (local >= 0) {
        set_local_at(local, value);
        return;
    }
    if (m_target) {
        smart_ptr<as_object> target = m_target;
        target->set_member(name, value);
        return;
    }
    add_local(name, value);
    if (get_verbose_action()) {
        log_error("can't set_variable_raw %s=%s, target is NULL, it's assumed as local\n", name.c_str(),
                  value.to_string());
        log_error("probably you forgot to declare variable '%s'\n", name.c_str());
    }
}

void as_environment::clear_value_refs(as_value* value, as_object_set* visited, as_object* target) {
    as_object* object = value->to_object();
    if (object == nullptr) {
        return;
    }
    if (as_object::is_cleared_ref(object, target)) {
        value->set_undefined();
    } else {
        as_object::walk_clear_refs(object, visited, target);
    }
}

void as_environment::clear_refs(as_object_set* visited, as_object* target) {
    make_all_deferred();
    for (local_slot& slot : m_local_frames) {
        clear_value_refs(&slot.m_value, visited, target);
    }
    for (as_value& value : m_stack) {
        clear_value_refs(&value, visited, target);
    }
    for (as_value& value : m_global_register) {
        clear_value_refs(&value, visited, target);
    }
    for (as_value& value : m_local_register) {
        clear_value_refs(&value, visited, target);
    }
    if (as_object::is_cleared_ref(m_target.get_ptr(), target)) {
        m_target = nullptr;
    }
}

void as_environment::mark_alive(player* owner) const {
    make_all_deferred();
    for (const local_slot& slot : m_local_frames) {
        as_object::mark_value(owner, slot.m_value);
    }
    for (const std::vector<as_value>* values : {&m_stack, &m_local_register}) {
        for (const as_value& value : *values) {
            as_object::mark_value(owner, value);
        }
    }
    for (const as_value& value : m_global_register) {
        as_object::mark_value(owner, value);
    }
    owner->mark_alive(m_target.get_ptr());
}

}  // namespace swfplayer
