#pragma once

#include "swfplayer/base/hash.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_value.h"

#include <cstdint>
#include <memory>

namespace swfplayer {

class as_environment;
class movie_root;
class player;
struct event_id;

// Class ids answered by as_object::is: each class answers its own id and asks its base for
// the rest. Native functions test "this" with them.
enum as_class_id {
    AS_OBJECT = 0,
    AS_CHARACTER = 1,
    AS_SPRITE = 2,
    AS_FUNCTION = 3,
    AS_C_FUNCTION = 4,
    AS_S_FUNCTION = 5,
    AS_3_FUNCTION = 6,
    AS_MOVIE_DEF = 7,
    AS_MOVIE_DEF_SUB = 8,
    AS_CHARACTER_DEF = 9,
    AS_SPRITE_DEF = 10,
    AS_VIDEO_DEF = 11,
    AS_SOUND_SAMPLE = 12,
    AS_VIDEO_INST = 13,
    AS_KEY = 14,
    AS_ARRAY = 15,
    AS_COLOR = 16,
    AS_SOUND = 17,
    AS_FONT = 18,
    AS_CANVAS = 19,
    AS_SELECTION = 22,
    AS_POINT = 23,
    AS_MATRIX = 24,
    AS_TRANSFORM = 25,
    AS_COLOR_TRANSFORM = 26,
    AS_NETCONNECTION = 27,
    AS_LISTENER = 28,
    AS_DATE = 29,
    AS_EDIT_TEXT = 30,
    AS_XMLSOCKET = 31,
    AS_TEXTFORMAT = 32,
    AS_MCLOADER = 33,
    AS_TIMER = 34,
    AS_LOADVARS = 35,
    AS_EVENT = 36,
    AS_MOUSE_EVENT = 37,
    AS_BUTTON_DEF = 38,
};

// The set of objects already visited by one clear_refs pass.
typedef hash<as_object*, bool> as_object_set;

// The base of every scriptable thing: plain objects, functions, built-in class instances and
// display characters. It owns a case-insensitive member table, optional watch callbacks, a
// prototype and a weak link to its player.
class as_object : public ref_counted {
public:
    explicit as_object(player* owner);
    ~as_object() override;

    virtual bool is(int class_id) const { return class_id == AS_OBJECT; }
    virtual const char* to_string() { return "[object Object]"; }
    // atof of to_string().
    virtual double to_number();
    virtual bool to_bool() { return true; }
    virtual const char* typeof() { return "object"; }
    // Stores a member (see as_object.cpp for the order of the rules); always true.
    virtual bool set_member(const base_stringi& name, const as_value& value);
    // Built-in Object methods, then own members, then the prototype chain. A property found is
    // bound to this object as its target.
    virtual bool get_member(const base_stringi& name, as_value* value);
    // Runs the handler member named after the event; false when there is none.
    virtual bool on_event(const event_id& id);
    // Pushes the names of the own members that for-in may see.
    virtual void enumerate(as_environment* env);
    virtual as_object* get_proto() const { return m_proto.get_ptr(); }
    // Sets the watch callback of a member name; a null callback gives false.
    virtual bool watch(const base_string& name, as_function* callback, const as_value& user_data);
    virtual bool unwatch(const base_string& name);
    // Drops this object's references (members and watches) to target and walks on into the
    // objects it refers to, each once per pass (visited), so that reference cycles through target
    // break. A null target stands for every object its player's heap still flags (the sweep's
    // whole set of unreachable objects, cleared in one pass).
    virtual void clear_refs(as_object_set* visited, as_object* target);
    // Runs a clear_refs pass on object (or queues it when a pass is under way); every object
    // reached is visited from a work list rather than by recursion.
    static void walk_clear_refs(as_object* object, as_object_set* visited, as_object* target);
    // Whether a reference to object is dropped by a clear_refs pass for target.
    static bool is_cleared_ref(as_object* object, as_object* target);
    // One reference of a clear_refs pass for target: dropped when the pass drops it (for a
    // value, the object it holds or a property's target), else the pass walks into the object.
    static void clear_value_ref(as_value* value, as_object_set* visited, as_object* target);
    // The same for an object held by a smart pointer.
    template <class T>
    static void clear_object_ref(smart_ptr<T>* object, as_object_set* visited, as_object* target) {
        if (is_cleared_ref(object->get_ptr(), target)) {
            *object = nullptr;
        } else if (*object) {
            walk_clear_refs(object->get_ptr(), visited, target);
        }
    }
    // Marks what this object refers to (members, property functions, prototype, watches) as
    // reachable in the collection under way; the marking player's mark_alive calls it once per
    // pass. Objects outside the heap (the built-in functions) are marked through too.
    virtual void this_alive(player* marker);
    // Marks the object, or the functions and target of the property, that value holds.
    static void mark_value(player* owner, const as_value& value);
    virtual void alive() {}
    // Sets every own member on target (a null target does nothing).
    virtual void copy_to(as_object* target);
    // Logs the members (debugging).
    virtual void dump();
    // Appends the member listing to text.
    virtual void dump(base_string& text);
    // The object's own environment: characters have one, other objects none.
    virtual as_environment* get_environment() { return nullptr; }
    // Per-frame time for timers, sockets and loaders.
    virtual void advance(float /*dt*/) {}
    // Whether this is a character placed on a stage; plain objects never are.
    virtual bool is_active() const { return false; }
    // Whether this is a character that a display list has begun to take off the stage, from the
    // kill-focus of its removal on; such an object takes the focus no more.
    virtual bool has_left_stage() const { return false; }

    // Stores a member hidden from for-in, without watches or read-only checks.
    void builtin_member(const base_stringi& name, const as_value& value);
    // Stores the member "__constructor__", hidden.
    void store_constructor(const as_value& constructor);
    // Stores as "__constructor__" the player's global member name; nothing when the global
    // object has no such member or the player is gone.
    void store_global_constructor(const char* name);
    // Gives this new instance a fresh prototype holding copies of the constructor's prototype
    // members; returns the prototype.
    as_object* make_prototype(const as_value& constructor);
    void set_proto(as_object* proto) { m_proto = proto; }
    bool is_instance_of(const as_function* constructor);
    // Resolves a target path (slash or dot syntax) relative to this object; null on a miss.
    as_object* find_target(const as_value& path);
    // The owning player's global object; null once the player is gone.
    as_object* get_global() const;
    player* get_player() const { return m_player.get_ptr(); }
    // The owning player's root; null when there is none.
    movie_root* get_root() const;

    // The object acting as "this" for calls through this object (empty for most objects).
    as_object* get_this_ptr() const { return m_this_ptr.get_ptr(); }
    void set_this_ptr(as_object* object) { m_this_ptr = object; }

    // The own member table only: no built-ins, no prototypes.
    bool get_own_member(const base_stringi& name, as_value* value) const { return m_members.get(name, value); }
    bool has_own_member(const base_stringi& name) const { return m_members.find_index(name) != -1; }
    // flags = (flags & ~clear_flags) | set_flags on the own member name; false when absent.
    bool change_member_flags(const base_stringi& name, uint32_t set_flags, uint32_t clear_flags);
    // Removes an own member; false when absent.
    bool erase_member(const base_stringi& name);
    // Drops every reference this object holds (members, watches, prototype), for an object
    // outside the player's heap whose owner goes: no cycle through it can then outlive it.
    void drop_references();
    const hash<base_stringi, as_value>& get_members() const { return m_members; }
    // The own members that for-in can see (flag AS_DONT_ENUM clear), counted as members change.
    int get_visible_member_count() const { return m_visible_members; }

protected:
    // Stores value under name, adding the member or overwriting it (flags included), and keeps
    // the count of visible members. Every change of the member table goes through this,
    // erase_member and change_member_flags.
    void put_member(const base_stringi& name, const as_value& value);

private:
    struct watch_entry {
        smart_ptr<as_function> m_callback;
        as_value m_user_data;
    };

    // Runs the watch of name, if any: the callback's result replaces *value.
    void call_watch(const base_stringi& name, const as_value& old_value, bool found, as_value* value);
    // One step of find_target: the member name's object, or the miss logged against path.
    as_object* find_member_target(const base_stringi& name, const base_string& path);

    friend class player;  // the heap and the marking pass keep their marks here

    hash<base_stringi, as_value> m_members;
    int m_visible_members = 0;
    bool m_in_heap = false;    // registered in its player's heap
    uint32_t m_marked_in = 0;  // the last marking pass that reached it
    std::unique_ptr<hash<base_stringi, watch_entry>> m_watches;
    weak_ptr<as_object> m_this_ptr;
    smart_ptr<as_object> m_proto;
    weak_ptr<player> m_player;
};

// The object's address for "%p" in log lines: all 64 bits of it. Printed as a 32-bit number
// ("0x%X") it would lose its high half, and two objects could print alike.
inline const void* address_of(const as_object* object) {
    return object;
}

}  // namespace swfplayer
