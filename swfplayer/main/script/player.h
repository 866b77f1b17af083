#pragma once

#include "swfplayer/base/base_string.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_value.h"
#include "swfplayer/main/script/builtin_registry.h"
#include "swfplayer/main/script/movie_root.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace swfplayer {

class as_object;
class character;

// The host's receiver of FSCommands: the movie that sent it, the command and its argument.
typedef void (*fscommand_callback)(character* movie, const char* command, const char* argument);

// The process-wide FSCommand receiver; null (the default) drops FSCommands.
void register_fscommand_callback(fscommand_callback callback);
fscommand_callback get_fscommand_callback();

// The owner of what one playing movie's script needs: the global object, the heap of script
// objects with their reachability flags, the call depth and a weak link to the root movie.
class player : public ref_counted {
public:
    player();
    ~player() override;

    as_object* get_global() const { return m_global.get_ptr(); }

    // The top sprite of the playing movie, or null when none is set or it is gone.
    as_object* get_root_movie() const { return m_root_movie.get_ptr(); }
    void set_root_movie(as_object* movie) { m_root_movie = movie; }
    // The root of the playing movie (mouse, drag, background); null when none is set or gone.
    movie_root* get_root() const { return m_root.get_ptr(); }
    void set_root(movie_root* root) { m_root = root; }

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
    bool has_frame_object(const as_object* object) const;
    int get_frame_object_count() const { return static_cast<int>(m_frame_objects.size()); }
    // The frame tick, called by the root once per advance: advance(dt) on every frame object
    // listed when the tick starts and still listed when its turn comes. A dt that is negative
    // or not finite counts as 0.
    void advance_frame_objects(float dt);

    // The folder put in front of the relative names of files a movie loads or imports; empty
    // for none.
    const base_string& get_workdir() const { return m_workdir; }
    void set_workdir(const char* dir) { m_workdir = dir; }

    // The text name=value,name=value that the root sets as string members of the root movie
    // on its first frame.
    const base_string& get_flash_vars() const { return m_flash_vars; }
    void set_flash_vars(const base_string& text) { m_flash_vars = text; }

    // The definition library: the movies read through this player by file name, so a file is
    // read once however often it is loaded or imported. The script core holds them without
    // knowing their type; the loading layer stores and reads them. Null when absent.
    ref_counted* get_library_entry(const std::string& name) const;
    void set_library_entry(const std::string& name, ref_counted* definition);

private:
    // Releases the flagged objects (all of them unless only_flagged): their references to one
    // another are cleared, so that cycles break, and they leave the heap.
    void release_heap(bool only_flagged);

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
};

// The counters of owner; objects and calls without a player (made by native code, or outliving
// theirs) share one set of their own.
inline player::nesting_counters& nesting_of(player* owner) {
    static player::nesting_counters s_orphans;
    return owner ? owner->nesting() : s_orphans;
}

// The built-in method tables (builtin_class numbers) exist while at least one player lives.
// Looks the name up in a class's built-in method table; false when absent. out may be null.
bool get_builtin(int class_index, const base_stringi& name, as_value* out);

}  // namespace swfplayer
