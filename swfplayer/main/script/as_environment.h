#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/interned_name.h"
#include "swfplayer/main/script/with_stack_entry.h"

#include <vector>

namespace swfplayer {

class player;
struct fn_call;

// The execution context of ActionScript 1/2 code: the operand stack, four global registers,
// the register frames of active DefineFunction2 calls, the named locals of active calls, the
// current target and a weak link to the player.
class as_environment {
public:
    // Frame and event actions start only while fewer local slots than this are in use.
    static constexpr int max_local_frames = 1000;

    explicit as_environment(player* owner);
    as_environment(const as_environment&) = delete;
    as_environment& operator=(const as_environment&) = delete;

    player* get_player() const { return m_player.get_ptr(); }
    // The player's root; null when there is none.
    movie_root* get_root() const;

    // Operand stack. The floor is the stack size at the start of the running call: reads below
    // it give undefined and drops stop at it, so code cannot eat its caller's values.
    void push(const as_value& value) { m_stack.push_back(value); }
    // Removes and returns the top value; undefined (nothing removed) at the floor.
    as_value pop() {
        if (get_stack_size() <= m_stack_floor) {
            return as_value();
        }
        as_value value = static_cast<as_value&&>(m_stack.back());
        m_stack.pop_back();
        return value;
    }
    // A copy of the n-th value from the top (0 = top); undefined below the floor.
    as_value top(int n) const;
    // Replaces the n-th value from the top; ignored below the floor.
    void set_top(int n, const as_value& value);
    // A copy of the value at an absolute index; undefined outside the stack.
    as_value bottom(int index) const;
    // Removes up to n values, never below the floor.
    void drop(int n) {
        for (int available = get_stack_depth(); n > 0 && available > 0; n--, available--) {
            m_stack.pop_back();
        }
    }
    // Index of the top value (-1 for an empty stack).
    int get_top_index() const { return static_cast<int>(m_stack.size()) - 1; }
    int get_stack_size() const { return static_cast<int>(m_stack.size()); }
    // Number of values above the floor.
    int get_stack_depth() const { return get_stack_size() - m_stack_floor; }
    int get_stack_floor() const { return m_stack_floor; }
    // Sets the floor (clamped to the stack) and returns the old one.
    int set_stack_floor(int floor);
    // Cuts the stack back to size values (never grows it).
    void truncate_stack(int size);
    // In-place access for the interpreter: the n-th slot from the top, null below the floor, and
    // a new undefined top slot. The reference is valid until the stack next grows or shrinks.
    as_value* top_slot(int n) {
        int index = get_stack_size() - 1 - n;
        return n >= 0 && index >= m_stack_floor ? &m_stack[index] : nullptr;
    }
    as_value& push_slot() {
        m_stack.emplace_back();
        return m_stack.back();
    }

    // Global registers 0..3; other numbers read undefined and ignore writes.
    as_value get_global_register(int n) const;
    void set_global_register(int n, const as_value& value);

    // Register frames of DefineFunction2 calls. Register n of the newest frame is element
    // size - n - 1 of the register array; numbers outside the newest frame read undefined and
    // ignore writes.
    void push_register_frame(int count);
    void pop_register_frame();
    int get_register_frame_size() const { return m_register_frames.empty() ? 0 : m_register_frames.back(); }
    as_value get_register(int n) const;
    void set_register(int n, const as_value& value);
    // In-place access for the interpreter: register n of the newest frame, null outside it. The
    // reference is valid until the next frame is pushed or popped.
    as_value* register_slot(int n) {
        int size = get_register_frame_size();
        return n >= 0 && n < size ? &m_local_register[m_local_register.size() - n - 1] : nullptr;
    }

    // Named locals. A slot with an empty name is the barrier that opens one call's locals.
    int get_local_frame_count() const { return static_cast<int>(m_local_frames.size()); }
    void push_barrier();
    // Cuts the locals back to count slots.
    void truncate_local_frames(int count);
    // Index of the newest slot named exactly name; with ignore_barrier false the search stays
    // inside the current call. -1 when absent.
    int find_local(const base_string& name, bool ignore_barrier) const;
    // The value of slot index (undefined outside the locals).
    as_value get_local(int index) const;
    // Stores into slot index (ignored outside the locals).
    void set_local_at(int index, const as_value& value);
    void add_local(const base_string& name, const as_value& value);
    // The same, moving the value into its slot: calls add their locals this way.
    void add_local(const base_string& name, as_value&& value);
    // A local holding the arguments array of the call fn, made only when something first reads
    // the slot (or walks the locals to mark or clear references), and then exactly as at the
    // call: the values are those fn held when this was called.
    void add_arguments_local(const base_string& name, const fn_call& fn);
    void declare_local(const base_string& name);
    void set_local(const base_string& name, const as_value& value);

    // The target when it is a character, else null.
    as_object* get_target() const;
    void set_target(as_object* target);
    // SetTarget: an empty text returns to start_target; otherwise the path or object is
    // resolved from the current target, and a character found becomes the target.
    void set_target(const as_value& target, as_object* start_target);
    // The current target's find_target; null without target.
    as_object* find_target(const as_value& path) const;

    // Variables: paths ("a.b.c", "a/b:c", "/a/b:c") resolve from the target; plain names follow
    // the lookup and store orders in as_environment.cpp.
    as_value get_variable(const base_stringi& name, const array<with_stack_entry>& with_stack) const;
    as_value get_variable_raw(const base_stringi& name, const array<with_stack_entry>& with_stack) const;
    void set_variable(const base_stringi& name, const as_value& value, const array<with_stack_entry>& with_stack);
    void set_variable_raw(const base_stringi& name, const as_value& value, const array<with_stack_entry>& with_stack);
    // The same for an interned name: the same results, but a plain name skips the search for
    // path separators and the standard names are known by number.
    as_value get_variable(const interned_name& name, const array<with_stack_entry>& with_stack) const;
    void set_variable(const interned_name& name, const as_value& value, const array<with_stack_entry>& with_stack);

    // Splits "path:var" at the last ':' (a '/' right before it is dropped unless it is the
    // first character) or else "path.var" at the last '.'; false, outputs untouched, when
    // there is no separator. The bytes walked are charged to the frame's budget.
    static bool split_path(const base_string& path_and_variable, base_string* path, base_string* variable);

    // Drops every reference to target held here and walks into the other objects.
    void clear_refs(as_object_set* visited, as_object* target);
    // Marks every object held here (stack, registers, locals, target) as reachable.
    void mark_alive(player* owner) const;

private:
    struct local_slot {
        local_slot() = default;
        explicit local_slot(as_value&& value) : m_value(static_cast<as_value&&>(value)) {}
        base_string m_name;  // empty: a call barrier
        as_value m_value;
    };

    // Local names are counted by a key of their first byte and length: a lookup whose key no
    // live local has answers at once instead of walking the locals of every call under way.
    static constexpr int name_key_count = 64;
    static int name_key(const char* text, size_t length) {
        return (static_cast<unsigned char>(text[0]) ^ static_cast<unsigned>(length)) & (name_key_count - 1);
    }
    // Appends a named slot and counts its key.
    void append_local(const base_string& name, as_value&& value);

    // An arguments local not made yet: its slot and its values in m_deferred_values.
    struct deferred_arguments {
        int m_slot;
        int m_first;
        int m_count;
    };
    // The index in m_deferred_arguments of the record of slot, or -1.
    int find_deferred(int slot) const {
        for (int i = static_cast<int>(m_deferred_arguments.size()) - 1; i >= 0; i--) {
            if (m_deferred_arguments[i].m_slot <= slot) {
                return m_deferred_arguments[i].m_slot == slot ? i : -1;
            }
        }
        return -1;
    }
    // Makes the array of record (an index into m_deferred_arguments) and stores it in its slot.
    void make_deferred(int record) const;
    // Forgets record, releasing its values.
    void drop_deferred(int record) const;
    void make_all_deferred() const;

    // Clears a value that refers to target, or walks into the object it holds.
    static void clear_value_refs(as_value* value, as_object_set* visited, as_object* target);
    // The root movie of the player, or null.
    as_object* get_root_movie() const;
    // The with-stack objects, the named locals, then the target: true and *out set when one
    // holds the name.
    bool find_plain_variable(const base_stringi& name, const array<with_stack_entry>& with_stack, as_value* out) const;
    // After find_plain_variable's miss: the standard names "this", "_root", "_level0" and
    // "_global" (standard gives the name's number), then the global object.
    as_value get_standard_or_global(const base_stringi& name, standard_member standard) const;
    // The variable of a split path, read from the object the path names.
    as_value get_path_variable(const base_string& path, const base_stringi& variable) const;
    // The variable of a split path, stored in the character the path names.
    void set_path_variable(const base_string& path, const base_stringi& variable, const as_value& value);
    // Prints the assignment when verbose logging asks for it.
    static void log_assignment(const base_string& name, const as_value& value);

    std::vector<as_value> m_stack;
    int m_stack_floor = 0;
    as_value m_global_register[4];
    std::vector<as_value> m_local_register;
    std::vector<int> m_register_frames;
    smart_ptr<as_object> m_target;
    // Mutable: a deferred arguments local is made in place when a lookup first reads it.
    mutable std::vector<local_slot> m_local_frames;
    int m_name_key_counts[name_key_count] = {};
    // Sorted by slot.
    mutable std::vector<deferred_arguments> m_deferred_arguments;
    mutable std::vector<as_value> m_deferred_values;
    weak_ptr<player> m_player;
};

}  // namespace swfplayer
