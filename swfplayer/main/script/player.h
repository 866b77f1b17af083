#pragma once

#include "swfplayer/base/base_mutex.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/base/hash.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_value.h"
#include "swfplayer/main/script/builtin_registry.h"
#include "swfplayer/main/script/movie_root.h"
#include "swfplayer/main/script/name_table.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace swfplayer {

class as_object;
class character;
class movie_def_impl;
class root;

// The host's receiver of FSCommands: the movie that sent it, the command and its argument.
typedef void (*fscommand_callback)(character* movie, const char* command, const char* argument);

// The process-wide FSCommand receiver; null (the default) drops FSCommands. get_action_option
// is the same question under the name the host interface gives it.
void register_fscommand_callback(fscommand_callback callback);
fscommand_callback get_fscommand_callback();
fscommand_callback get_action_option();

// The version word the root movie receives as "$version": "WIN".
const char* get_version_string();

// GetProperty and SetProperty: the numbered properties 0..21 ("_x" ... "_ymouse") read and
// written through the object's members. Another number is logged and reads as undefined.
as_value get_property(as_object* object, int property_number);
void set_property(as_object* object, int property_number, const as_value& value);

// The one process-wide lock of the player library. The player runs on one thread, so nothing
// takes it; it is there for a host that drives players from several threads.
base_mutex& swfplayer_engine_mutex();

// The owner of what one playing movie's script needs: the global object, the heap of script
// objects with their reachability flags, the call depth and a weak link to the root movie.
class player : public ref_counted {
public:
    // Each new player steps the library's random generator by the low 8 bits of the calendar
    // time in seconds, so movies do not draw the same numbers in every run.
    player();
    ~player() override;

    // The movie file filename (not null) as a definition: from the definition library when this
    // player read it before, else through the registered file opener, read with every tag loader
    // registered (and its cache file when cache files are on) and kept in the library, which
    // holds it. Null, logged, without an opener, when the opener cannot open the file or the
    // file is not a movie.
    movie_def_impl* create_movie(const char* filename);
    // create_movie, then a playing root of the definition with its first frame built; null when
    // either fails (printed to standard error). The caller holds the root; the player keeps a
    // weak link to it. Reading movies and making roots belongs to the layers above the script
    // core, so these two are defined there (player/movie_player.cpp).
    smart_ptr<root> load_file(const char* filename);

    as_object* get_global() const { return m_global.get_ptr(); }

    // The top sprite of the playing movie, or null when none is set or it is gone.
    as_object* get_root_movie() const { return m_root_movie.get_ptr(); }
    void set_root_movie(as_object* movie) { m_root_movie = movie; }
    // The root of the playing movie (mouse, drag, background); null when none is set or gone.
    movie_root* get_root() const { return m_root.get_ptr(); }
    // m must not be null: a root registers itself, and a root replaced by another movie hands
    // the place over.
    void set_root(movie_root* m);

    // A key event of the host: the root, when there is one, tells the Key object and, for a
    // press, its key listeners.
    void notify_key_event(int key_code, bool down);

    // The library's trace switches.
    void verbose_action(bool on);
    void verbose_parse(bool on);
    // When no player is alive, empties the standard-member name table (the last player's
    // destruction does it too).
    static void action_clear();

    // The heap of script objects that may form reference cycles: every object the interpreter
    // makes (literals, functions, constructed objects) and every sprite. It does not own them:
    // an object leaves it when it dies. clear_heap_flag registers an object of this player (or
    // marks a registered one reachable); objects of other players are left alone.
    void clear_heap_flag(as_object* object);
    // The object's flag; false when it is not in the heap.
    bool get_heap_flag(as_object* object) const;
    int get_heap_size() const { return static_cast<int>(m_heap.size()); }
    // An object of the heap died.
    void forget_heap_object(as_object* object) { m_heap.erase(object); }
    // The two halves of the per-frame collection: every flag set before the frame; after it,
    // every object reachable from the global object, the frame objects and the root movie is
    // marked, and the rest lose their references to one another, so that cycles break and die.
    void set_all_heap_flags();
    void sweep_heap();
    // Marks object (of any player) and everything it reaches as reachable in this pass, each
    // object once. The marking runs from a work list, so deep object graphs use no native stack.
    void mark_alive(as_object* object);

    // Looks the name up in this player's built-in method table of the class (builtin_class
    // numbers); false when absent. out may be null.
    bool get_builtin(int class_index, const base_stringi& name, as_value* out) const {
        return class_index >= 0 && class_index < builtin_class_count && m_builtins[class_index].get(name, out);
    }

    // The tick count (milliseconds) when the player was made; GetTimer counts from it.
    uint64_t get_start_time() const { return m_start_time; }

    // Depths of the recursions that script and data drive, each bounded by its user: nested
    // script calls (call_method), prototype lookups and member copies (as_object), arrays
    // printed inside arrays (as_array), and the movie files loading one another through imports
    // (load_movie_definition), outermost first.
    struct nesting_counters {
        int m_call_depth = 0;
        int m_proto_depth = 0;
        int m_copy_depth = 0;
        int m_print_depth = 0;
        int m_print_elements = 0;
        int m_characters = 0;    // characters alive, placed or not (see sprite_instance::max_characters)
        int m_open_sockets = 0;  // connections the network objects hold (see open_socket_slot)
        std::vector<std::string> m_files_being_loaded;
    };
    nesting_counters& nesting() { return m_nesting; }
    // Nested script calls under way (see call_method).
    int& call_depth() { return m_nesting.m_call_depth; }

    // Objects that want the frame tick (interval timers). The player holds each one until it is
    // removed, so a timer whose value script dropped keeps firing, as timers do until cleared.
    static constexpr int max_frame_objects = 1000;
    // Adds object once; false (logged) when the list is full or object is null.
    bool add_frame_object(as_object* object);
    void remove_frame_object(as_object* object);
    // Drops every frame object: the movie they belong to has been replaced.
    void clear_frame_objects() { m_frame_objects.clear(); }
    bool has_frame_object(const as_object* object) const;
    int get_frame_object_count() const { return static_cast<int>(m_frame_objects.size()); }
    // The frame tick, called by the root once per advance: advance(dt) on every frame object
    // listed when the tick starts and still listed when its turn comes. A dt that is negative
    // or not finite counts as 0.
    void advance_frame_objects(float dt);

    // The folder put in front of the relative names of files a movie loads or imports; empty
    // for none.
    const base_string& get_workdir() const { return m_workdir; }
    // dir must not be null.
    void set_workdir(const char* dir);

    // The text name=value,name=value that the root sets as string members of the root movie
    // on its first frame.
    const base_string& get_flash_vars() const { return m_flash_vars; }
    void set_flash_vars(const base_string& text) { m_flash_vars = text; }

    // The definition library: the movies read through this player by file name, so a file is
    // read once however often it is loaded or imported. The script core holds them without
    // knowing their type; the loading layer stores and reads them. Null when absent.
    ref_counted* get_library_entry(const std::string& name) const;
    void set_library_entry(const std::string& name, ref_counted* definition);

    // The player's interned names (bounded; see name_table): decoded scripts keep their names
    // as entries of it, hashed once.
    interned_name intern(const base_string& text) { return m_names.intern(text); }
    name_table& get_names() { return m_names; }

private:
    friend void player_cleanup();

    // Players alive in the process; the standard-member name table is emptied when none is.
    static int s_player_count;

    typedef hash<base_stringi, as_value> builtin_table;

    // Fills the method tables with function objects of this player's own, made from the
    // registered methods.
    void build_builtin_tables();
    // Calls visit with every function object of the method tables (a getter's included).
    template <class Visit>
    void for_each_builtin_function(Visit visit) const;

    // Releases the flagged objects (all of them unless only_flagged): their references to one
    // another are cleared, so that cycles break, and they leave the heap. Releasing all of them (at
    // the player's end), this player's objects outside the heap that they or the method tables
    // reach let go of everything too.
    void release_heap(bool only_flagged);
    // Makes this player's objects outside the heap among those reached (the built-in functions
    // and objects, what native code made) drop their references.
    void drop_outside_references(const as_object_set& reached);

    // Registered objects and their flags (true: not found reachable yet in this collection).
    std::unordered_map<as_object*, bool> m_heap;
    smart_ptr<as_object> m_global;
    weak_ptr<as_object> m_root_movie;
    weak_ptr<movie_root> m_root;
    uint64_t m_start_time;
    nesting_counters m_nesting;
    base_string m_workdir;
    base_string m_flash_vars;
    std::unordered_map<std::string, smart_ptr<ref_counted>> m_library;
    bool m_marking = false;
    std::vector<smart_ptr<as_object>> m_mark_queue;
    std::vector<smart_ptr<as_object>> m_frame_objects;
    name_table m_names;
    // The built-in methods of objects, movie clips and the primitive types by builtin_class: this
    // player's own function objects, so that what a script stores on one stays with its player.
    // The collection marks them as reachable.
    builtin_table m_builtins[builtin_class_count];
};

// The counters of owner; objects and calls without a player (made by native code, or outliving
// theirs) share one set of their own.
inline player::nesting_counters& nesting_of(player* owner) {
    static player::nesting_counters s_orphans;
    return owner ? owner->nesting() : s_orphans;
}

}  // namespace swfplayer
