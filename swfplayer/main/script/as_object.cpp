#include "swfplayer/main/script/as_object.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/script/as_c_function.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/as_function.h"
#include "swfplayer/main/script/as_property.h"
#include "swfplayer/main/script/call_method.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/script/static_names.h"

#include <cassert>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace swfplayer {

namespace {

bool is_visible(const as_value& value) {
    return (value.get_flags() & AS_DONT_ENUM) == 0;
}

// Prototype chains and nested member copies a lookup follows at most; script can build longer
// ones, which are cut here rather than exhausting the native stack.
constexpr int max_nesting = 256;

// Instructions a prototype asked for a member costs the lookup (a lookup through a long chain
// costs what it walks), and one member stored by a copy: each is a hash lookup or store.
constexpr int64_t proto_level_cost = 8;
constexpr int64_t member_copy_cost = 16;

// Counts one level of a bounded recursion while it runs.
class nesting_guard {
public:
    explicit nesting_guard(int& depth) : m_depth(depth) { m_depth++; }
    ~nesting_guard() { m_depth--; }
    nesting_guard(const nesting_guard&) = delete;
    nesting_guard& operator=(const nesting_guard&) = delete;
    bool too_deep() const { return m_depth > max_nesting; }

private:
    int& m_depth;
};

// Keeps an owned object alive while its own script runs; an object nobody owns yet is left
// alone (counting it would delete it at the end).
class owner_hold {
public:
    explicit owner_hold(as_object* object) : m_object(object && object->get_ref_count() > 0 ? object : nullptr) {}

private:
    smart_ptr<as_object> m_object;
};

// What dying objects leave behind. Releasing it can kill further objects; their remains are
// queued here instead of being released inside their destructors, so long chains of objects
// die one after another rather than recursively.
struct object_remains {
    hash<base_stringi, as_value> m_members;
    smart_ptr<as_object> m_proto;
};
// Never destroyed: values in static storage may release objects after other statics are gone.
std::vector<object_remains>& s_remains = *new std::vector<object_remains>();
bool s_releasing_remains = false;

// One pending step of a clear_refs pass. The queue runs in place of recursion, so deep object
// graphs use no native stack.
struct clear_refs_step {
    smart_ptr<as_object> m_object;
    as_object_set* m_visited;
    as_object* m_target;
};
std::vector<clear_refs_step>& s_clear_refs_queue = *new std::vector<clear_refs_step>();
bool s_clearing_refs = false;

// Runs the queued steps of the pass under way, one after another.
void drain_clear_refs() {
    while (!s_clear_refs_queue.empty()) {
        clear_refs_step step = std::move(s_clear_refs_queue.back());
        s_clear_refs_queue.pop_back();
        step.m_object->clear_refs(step.m_visited, step.m_target);
    }
}

}  // namespace

as_object::as_object(player* owner) : m_player(owner) {}

as_object::~as_object() {
    if (m_in_heap) {
        if (player* owner = m_player.get_ptr()) {
            owner->forget_heap_object(this);
        }
    }
    m_watches.reset();
    m_this_ptr = nullptr;
    m_player = nullptr;
    object_remains remains{std::move(m_members), std::move(m_proto)};
    if (s_releasing_remains) {
        s_remains.push_back(std::move(remains));
        return;
    }
    s_releasing_remains = true;
    remains.m_members.clear();
    remains.m_proto = nullptr;
    while (!s_remains.empty()) {
        object_remains next = std::move(s_remains.back());
        s_remains.pop_back();
        next.m_members.clear();
        next.m_proto = nullptr;
    }
    s_releasing_remains = false;
}

double as_object::to_number() {
    const char* text = to_string();
    return text ? std::atof(text) : 0.0;
}

bool as_object::get_member(const base_stringi& name, as_value* value) {
    player* owner = get_player();
    if (owner && owner->get_builtin(BUILTIN_OBJECT, name, value)) {
        return true;
    }
    if (!m_members.get(name, value)) {
        as_object* proto = get_proto();
        if (proto == nullptr) {
            return false;
        }
        instruction_budget::charge(proto_level_cost);
        nesting_guard guard(nesting_of(owner).m_proto_depth);
        if (guard.too_deep() || !proto->get_member(name, value)) {
            return false;
        }
    }
    if (value->is_property()) {
        value->set_property_target(this);
    }
    return true;
}

bool as_object::set_member(const base_stringi& name, const as_value& value) {
    owner_hold hold(this);
    as_value new_value = value;
    as_value current;
    bool found = get_member(name, &current);
    if (found && current.is_property()) {
        current.set_property_value(value);
        return true;
    }
    if (m_watches) {
        call_watch(name, current, found, &new_value);
    }
    auto existing = m_members.find(name);
    if (existing != m_members.end()) {
        if (existing->second.get_flags() & AS_READ_ONLY) {
            return true;
        }
        // Assigning an object over an object copies the members across; the member keeps
        // referring to the object it had.
        as_object* existing_object = existing->second.to_object();
        as_object* assigned = value.to_object();
        if (existing_object && assigned) {
            smart_ptr<as_object> keep_existing = existing_object;
            smart_ptr<as_object> keep_assigned = assigned;
            assigned->copy_to(existing_object);
            return true;
        }
        const bool was_visible = is_visible(existing->second);
        existing->second = new_value;  // in place: no second lookup
        m_visible_members += is_visible(existing->second) - was_visible;
        return true;
    }
    put_member(name, new_value);
    return true;
}

void as_object::put_member(const base_stringi& name, const as_value& value) {
    as_value* stored = m_members.find_or_add(name, value);
    if (stored == nullptr) {
        // A copy keeps the flags of what it copies, but an undefined value has none.
        m_visible_members += value.is_undefined() || is_visible(value);
        return;
    }
    const bool was_visible = is_visible(*stored);
    *stored = value;
    m_visible_members += is_visible(*stored) - was_visible;
}

bool as_object::erase_member(const base_stringi& name) {
    auto existing = m_members.find(name);
    if (existing == m_members.end()) {
        return false;
    }
    m_visible_members -= is_visible(existing->second);
    return m_members.remove(name);
}

void as_object::drop_references() {
    // Moved out first: what the members' release destroys may look at this object again.
    hash<base_stringi, as_value> members = std::move(m_members);
    m_visible_members = 0;
    std::unique_ptr<hash<base_stringi, watch_entry>> watches = std::move(m_watches);
    smart_ptr<as_object> proto = std::move(m_proto);
}

void as_object::call_watch(const base_stringi& name, const as_value& old_value, bool found, as_value* value) {
    watch_entry entry;
    if (!m_watches->get(name, &entry) || !entry.m_callback) {
        return;
    }
    as_environment env(get_player());
    env.push(entry.m_user_data);
    env.push(*value);
    env.push(found ? old_value : as_value());
    env.push(as_value(name.c_str()));
    *value = call_method(as_value(entry.m_callback.get_ptr()), &env, as_value(this), 4, env.get_top_index());
}

bool as_object::on_event(const event_id& id) {
    const base_string& name = id.handler_name();
    if (name.size() == 0) {
        return false;
    }
    as_value handler;
    if (!get_member(name, &handler)) {
        return false;
    }
    owner_hold hold(this);
    as_environment env(get_player());
    int nargs = 0;
    if (id.m_args) {
        nargs = id.m_args->size();
        for (int i = nargs - 1; i >= 0; i--) {
            env.push((*id.m_args)[i]);
        }
    }
    call_method(handler, &env, as_value(this), nargs, env.get_top_index());
    return true;
}

void as_object::enumerate(as_environment* env) {
    // Every member is walked, the hidden ones too (the names pushed are charged by the caller).
    instruction_budget::charge(m_members.size());
    for (const auto& member : m_members) {
        if (member.second.get_flags() & AS_DONT_ENUM) {
            continue;
        }
        env->push(as_value(member.first.c_str()));
        if (get_verbose_action()) {
            log_msg("-------------- enumerate - push: %s\n", member.first.c_str());
        }
    }
}

bool as_object::watch(const base_string& name, as_function* callback, const as_value& user_data) {
    if (callback == nullptr) {
        return false;
    }
    if (m_watches == nullptr) {
        m_watches = std::make_unique<hash<base_stringi, watch_entry>>();
    }
    m_watches->set(base_stringi(name), watch_entry{callback, user_data});
    return true;
}

bool as_object::unwatch(const base_string& name) {
    return m_watches != nullptr && m_watches->remove(base_stringi(name));
}

bool as_object::is_cleared_ref(as_object* object, as_object* target) {
    if (object == nullptr) {
        return false;
    }
    if (target != nullptr) {
        return object == target;
    }
    player* owner = object->get_player();
    return owner != nullptr && owner->get_heap_flag(object);
}

void as_object::walk_clear_refs(as_object* object, as_object_set* visited, as_object* target) {
    s_clear_refs_queue.push_back(clear_refs_step{object, visited, target});
    if (!s_clearing_refs) {
        s_clearing_refs = true;
        drain_clear_refs();
        s_clearing_refs = false;
    }
}

void as_object::clear_refs(as_object_set* visited, as_object* target) {
    if (!visited->try_add(this, true)) {
        return;
    }
    bool outermost = !s_clearing_refs;
    s_clearing_refs = true;
    for (auto& member : m_members) {
        clear_value_ref(&member.second, visited, target);
    }
    if (m_watches) {
        for (auto& watch : *m_watches) {
            clear_object_ref(&watch.second.m_callback, visited, target);
            clear_value_ref(&watch.second.m_user_data, visited, target);
        }
    }
    if (outermost) {
        drain_clear_refs();
        s_clearing_refs = false;
    }
}

void as_object::clear_value_ref(as_value* value, as_object_set* visited, as_object* target) {
    as_object* object = value->to_object();
    if (object && is_cleared_ref(object, target)) {
        value->set_undefined();
    } else if (object) {
        walk_clear_refs(object, visited, target);
    } else if (value->is_property() && is_cleared_ref(value->get_property_target(), target)) {
        value->set_property_target(nullptr);
    }
}

void as_object::this_alive(player* marker) {
    for (const auto& member : m_members) {
        mark_value(marker, member.second);
    }
    marker->mark_alive(m_proto.get_ptr());
    if (m_watches) {
        for (const auto& watch : *m_watches) {
            marker->mark_alive(watch.second.m_callback.get_ptr());
            mark_value(marker, watch.second.m_user_data);
        }
    }
}

void as_object::mark_value(player* owner, const as_value& value) {
    if (as_object* object = value.to_object()) {
        owner->mark_alive(object);
    } else if (as_property* property = value.to_property()) {
        owner->mark_alive(property->get_getter());
        owner->mark_alive(property->get_setter());
        owner->mark_alive(value.get_property_target());
    }
}

void as_object::copy_to(as_object* target) {
    if (target == nullptr) {
        return;
    }
    nesting_guard guard(nesting_of(get_player()).m_copy_depth);
    if (guard.too_deep()) {
        log_error("error: copy_to: objects nested more than %d deep\n", max_nesting);
        return;
    }
    // The stores may run watches and setters that change either table: copy the names first.
    std::vector<std::pair<base_stringi, as_value>> members;
    members.reserve(m_members.size());
    for (const auto& member : m_members) {
        members.emplace_back(member.first, member.second);
    }
    for (const auto& member : members) {
        // Each store is native work of the instruction that asked for the copy: a copy that
        // reaches back into itself through nested objects ends with the frame's budget.
        instruction_budget::charge(member_copy_cost);
        if (instruction_budget::is_spent() && instruction_budget::run_scope::depth() > 0) {
            return;
        }
        target->set_member(member.first, member.second);
    }
}

void as_object::dump() {
    base_string text;
    dump(text);
    log_msg("%s", text.c_str());
}

void as_object::dump(base_string& text) {
    const char* indent = "  ";
    text += format_base_string("*** object 0x%p ***\n", static_cast<void*>(this));
    for (const auto& member : m_members) {
        const as_value& value = member.second;
        const char* name = member.first.c_str();
        if (value.is_property()) {
            as_property* property = value.to_property();
            text += format_base_string(
                "%s%s: <as_property 0x%p, target 0x%p, getter 0x%p, setter 0x%p>\n", indent, name,
                static_cast<void*>(property), static_cast<void*>(value.get_property_target()),
                static_cast<void*>(property->get_getter()), static_cast<void*>(property->get_setter()));
        } else if (as_object* object = value.to_object()) {
            const char* kind = object->is(AS_S_FUNCTION)   ? "as_s_function"
                               : object->is(AS_3_FUNCTION) ? "as_3_function"
                               : object->is(AS_C_FUNCTION) ? "as_c_function"
                                                           : "as_object";
            text += format_base_string("%s%s: <%s 0x%p>\n", indent, name, kind, static_cast<void*>(object));
        } else {
            text += format_base_string("%s%s: %s\n", indent, name, value.to_string());
        }
    }
}

void as_object::builtin_member(const base_stringi& name, const as_value& value) {
    as_value hidden = value;
    hidden.set_flags(AS_DONT_ENUM);
    put_member(name, hidden);
}

bool as_object::change_member_flags(const base_stringi& name, uint32_t set_flags, uint32_t clear_flags) {
    auto found = m_members.find(name);
    if (found == m_members.end()) {
        return false;
    }
    const bool was_visible = is_visible(found->second);
    found->second.set_flags((found->second.get_flags() & ~clear_flags) | set_flags);
    m_visible_members += is_visible(found->second) - was_visible;
    return true;
}

void as_object::store_constructor(const as_value& constructor) {
    builtin_member(static_names::constructor_name(), constructor);
}

void as_object::store_global_constructor(const char* name) {
    as_object* global = get_global();
    as_value constructor;
    if (global && global->get_own_member(name, &constructor)) {
        store_constructor(constructor);
    }
}

as_object* as_object::make_prototype(const as_value& constructor) {
    as_object* proto = new as_object(get_player());
    proto->m_this_ptr = m_this_ptr.get_ptr();
    m_proto = proto;
    if (as_object* ctor = constructor.to_object()) {
        // A script can remove a constructor's prototype: then there is nothing to copy.
        as_value ctor_proto;
        if (ctor->get_member("prototype", &ctor_proto) && ctor_proto.to_object()) {
            smart_ptr<as_object> source = ctor_proto.to_object();
            source->copy_to(proto);
            as_value stored;
            if (source->get_own_member(static_names::constructor_name(), &stored)) {
                proto->store_constructor(stored);
            }
        }
    }
    store_constructor(constructor);
    return proto;
}

bool as_object::is_instance_of(const as_function* constructor) {
    if (constructor == nullptr) {
        return false;
    }
    as_value stored;
    as_c_function_ptr stored_native = get_builtin_constructor(BUILTIN_OBJECT);
    as_object* stored_object = nullptr;
    if (get_own_member(static_names::constructor_name(), &stored) && !stored.is_undefined()) {
        stored_object = stored.to_object();
        stored_native = stored_object && stored_object->is(AS_C_FUNCTION)
                            ? static_cast<as_c_function*>(stored_object)->get_function()
                            : nullptr;
    }
    if (constructor->is(AS_S_FUNCTION) && stored_object == constructor) {
        return true;
    }
    if (constructor->is(AS_C_FUNCTION) && stored_native != nullptr &&
        static_cast<const as_c_function*>(constructor)->get_function() == stored_native) {
        return true;
    }
    as_object* proto = get_proto();
    if (proto == nullptr) {
        return false;
    }
    nesting_guard guard(nesting_of(get_player()).m_proto_depth);
    return !guard.too_deep() && proto->is_instance_of(constructor);
}

as_object* as_object::find_member_target(const base_stringi& name, const base_string& path) {
    as_value member;
    if (get_member(name, &member) && member.to_object()) {
        return member.to_object();
    }
    log_error("can't find target %s\n", path.c_str());
    return nullptr;
}

as_object* as_object::find_target(const as_value& path) {
    if (!path.is_string()) {
        return path.to_object();
    }
    // Walked one name at a time, so a long path costs no native stack.
    base_string rest = path.to_base_string();
    as_object* current = this;
    for (;;) {
        if (rest.size() == 0) {
            return current;
        }
        if (rest[0] == '/') {
            player* owner = current->get_player();
            current = owner ? owner->get_root_movie() : nullptr;
            if (current == nullptr) {
                log_error("can't find target %s\n", rest.c_str());
                return nullptr;
            }
            rest = base_string(rest.c_str() + 1);
            continue;
        }
        const char* text = rest.c_str();
        const char* separator = std::strchr(text, '/');
        if (separator == nullptr) {
            separator = std::strchr(text, '.');
            if (separator != nullptr && separator[1] == '.') {
                separator = nullptr;
            }
        }
        if (separator == nullptr) {
            return current->find_member_target(rest, rest);
        }
        base_stringi head(text, static_cast<int>(separator - text));
        as_object* next = current->find_member_target(head, rest);
        if (next == nullptr) {
            return nullptr;
        }
        current = next;
        rest = base_string(separator + 1);
    }
}

as_object* as_object::get_global() const {
    player* owner = get_player();
    return owner ? owner->get_global() : nullptr;
}

movie_root* as_object::get_root() const {
    player* owner = get_player();
    return owner ? owner->get_root() : nullptr;
}

}  // namespace swfplayer
