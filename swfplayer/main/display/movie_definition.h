#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/main/display/character_def.h"
#include "swfplayer/main/display/tag_span.h"

#include <memory>

namespace swfplayer {

class bitmap_info;
class execute_tag;
namespace jpeg {
class input;
}

// What every timeline definition answers: a whole movie (movie_def_impl) or a movie clip's
// timeline (sprite_definition).
class movie_definition : public character_def {
public:
    explicit movie_definition(player* owner) : character_def(owner) {}

    virtual int get_version() const = 0;
    virtual float get_width_pixels() const = 0;
    virtual float get_height_pixels() const = 0;
    virtual int get_frame_count() const = 0;
    virtual float get_frame_rate() const = 0;

    // The frame tags of frame (0 <= frame < frame count), in tag order.
    virtual tag_span get_playlist(int frame) const = 0;
    // The init actions of frame; null when the timeline has none there.
    virtual const array<execute_tag*>* get_init_actions(int frame) const = 0;
    // The resource exported under symbol (compared without case); null when absent.
    virtual character_def* get_exported_resource(const base_string& symbol) const = 0;
    // The dictionary entry of id; null when absent.
    virtual character_def* get_character_def(int id) const = 0;
    // The frame index of a label (compared without case); frame is written only when found.
    virtual bool get_labeled_frame(const char* label, int* frame) const = 0;
};

// The target that tag loaders fill: a movie definition or a sprite definition. Fonts and sound
// samples are character definitions answering is(AS_FONT) and is(AS_SOUND_SAMPLE).
class movie_definition_sub : public movie_definition {
public:
    explicit movie_definition_sub(player* owner) : movie_definition(owner) {}
    // Asks the sound handler, when one is set, to forget the timeline's stream sound.
    ~movie_definition_sub() override;

    bool is(int class_id) const override { return class_id == AS_MOVIE_DEF_SUB || character_def::is(class_id); }
    int get_frame_count() const override { return m_frame_count; }

    // Dictionary entries; the definition holds a reference to each entry it keeps.
    virtual void add_character(int id, character_def* c) = 0;
    virtual void add_font(int id, character_def* f) = 0;
    virtual character_def* get_font(int id) const = 0;
    // A whole movie also lists the character's bitmap among its bitmaps.
    virtual void add_bitmap_character(int id, character_def* ch) = 0;
    virtual character_def* get_bitmap_character(int id) const = 0;
    // The bitmaps made for the movie (its bitmap characters' and its gradient fills'), in the
    // order they were made; the list holds each. Only a whole movie keeps one: a sprite's
    // timeline logs an addition and lists nothing. get_bitmap_info is null outside the list.
    virtual void add_bitmap_info(bitmap_info* bi) = 0;
    virtual int get_bitmap_info_count() const = 0;
    virtual bitmap_info* get_bitmap_info(int index) const = 0;
    virtual void add_sound_sample(int id, character_def* s) = 0;
    virtual character_def* get_sound_sample(int id) const = 0;
    virtual void export_resource(const base_string& symbol, character_def* res) = 0;

    // Frame contents, for the frame being loaded. The definition takes ownership of e, also
    // when it drops it.
    virtual void add_execute_tag(execute_tag* e) = 0;
    virtual void add_init_action(int sprite_id, execute_tag* e) = 0;
    virtual void add_frame_name(const char* name) = 0;

    // What only a whole movie keeps: the JPEGTables tag's shared tables decoder, and the
    // ActionScript 3 tables (class name by character id, scene name by frame offset, label by
    // frame number). A sprite's timeline is handed them too, and ignores them.
    virtual void set_jpeg_loader(std::unique_ptr<jpeg::input> j_in) = 0;
    virtual void add_symbol_class(int id, const base_string& name) = 0;
    virtual void add_scene(int frame, const base_string& name) = 0;
    virtual void add_frame_label(int frame, const base_string& label) = 0;

    // The frame being loaded: 0 at start, one more after each ShowFrame.
    int get_loading_frame() const { return m_loading_frame; }

    // The timeline's stream sound (SoundStreamHead and SoundStreamBlock): its id at the sound
    // handler (-1 when none), its format code (2 is MP3) and the frame of its first block (-1 until
    // one is met).
    int m_ss_id = -1;
    int m_ss_format = 0;
    int m_ss_start = -1;

protected:
    int m_frame_count = 0;         // frames the timeline has (at least 1 once read)
    int m_loading_frame = 0;       // the frame being loaded
    bool m_break_loading = false;  // set when destruction starts: a tag loop stops at the next tag
};

}  // namespace swfplayer
