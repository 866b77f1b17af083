#pragma once

#include "swfplayer/base/ref_counted.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/script/as_value.h"

namespace swfplayer {

class base_file;
class character;
class player;
struct rect;

// The shared, immutable definition of one dictionary entry of a movie (shape, bitmap, text,
// font, sound, button, sprite, movie, video). Loaders create definitions and hand them to the
// movie's dictionaries under the 16-bit id read from the tag.
class character_def : public ref_counted {
public:
    // owner must not be null; the definition keeps only a weak link to it.
    explicit character_def(player* owner);
    ~character_def() override;

    // Class test with the ids of as_class_id: true for AS_CHARACTER_DEF only in the base.
    virtual bool is(int class_id) const { return class_id == AS_CHARACTER_DEF; }

    // Draws an instance of this definition (nothing in the base).
    virtual void display(character* /*instance*/) {}
    // Whether the point (twips, in the definition's own space) hits the definition.
    virtual bool point_test_local(float /*x*/, float /*y*/) const { return false; }
    // The definition's bounds in its own space, twips. Definitions without a shape of their own
    // report the empty rectangle at the origin (and log that they were asked).
    virtual void get_bound(rect* r) const;
    // A new instance of this definition under parent; the base makes a generic_character.
    virtual character* create_character_instance(character* parent, int id);
    // Shapes write and read their meshes to and from the cache file.
    virtual void output_cached_data(base_file* /*out*/, int /*options*/) const {}
    // False when the cached data is cut short or corrupt.
    virtual bool input_cached_data(base_file* /*in*/) { return true; }
    // The script class bound to instances of this definition; null in the base.
    virtual as_object* bind_symbol_class(character* /*ch*/) { return nullptr; }
    // The class function of registerClass; kept as a weak reference, so it binds while script
    // keeps it. A value that is no function unbinds.
    void set_registered_class_constructor(const as_value& constructor);
    // Run by a new instance ch: when no class is bound, bind_symbol_class(ch) may bind one; a
    // bound class gives ch a prototype made from it and runs it as constructor with ch as "this".
    void construct_symbol_class(character* ch);

    // The owning player, or null once it is gone.
    player* get_player() const { return m_player.get_ptr(); }

    // The dictionary id; -1 until a loader assigns it.
    int m_id = -1;

private:
    weak_ptr<player> m_player;
    weak_ptr<as_object> m_class_function;
};

}  // namespace swfplayer
