#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/base/hash.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/loading/frame_tag_list.h"

#include <memory>
#include <vector>

namespace swfplayer {

class stream;

// The timeline of a movie clip: a DefineSprite tag's frames, or the one empty frame of a clip
// made by script. It keeps its own frame lists and labels and defers everything that lives in
// a movie's dictionary to the movie that contains it.
class sprite_definition : public movie_definition_sub {
public:
    // m is the containing movie; null makes the one-frame timeline of an empty clip.
    sprite_definition(player* owner, movie_definition_sub* m);
    ~sprite_definition() override;

    bool is(int class_id) const override { return class_id == AS_SPRITE_DEF || movie_definition_sub::is(class_id); }

    // Reads the rest of a DefineSprite tag (behind the sprite's id): the frame count, then the
    // sprite's own tags, each handed to the loader table with this definition as target.
    void read(stream* in);

    // A new sprite instance of this timeline under parent, in parent's movie.
    character* create_character_instance(character* parent, int id) override;

    int get_version() const override;
    float get_width_pixels() const override { return 1.0f; }
    float get_height_pixels() const override { return 1.0f; }
    float get_frame_rate() const override;
    tag_span get_playlist(int frame) const override;
    const array<execute_tag*>* get_init_actions(int) const override { return nullptr; }
    character_def* get_exported_resource(const base_string& symbol) const override;
    character_def* get_character_def(int id) const override;
    bool get_labeled_frame(const char* label, int* frame) const override;

    // Dictionary tags inside a sprite are logged and not kept.
    void add_character(int id, character_def* c) override;
    void add_font(int id, character_def* f) override;
    character_def* get_font(int id) const override;
    void add_bitmap_character(int id, character_def* ch) override;
    character_def* get_bitmap_character(int id) const override;
    // A sprite keeps no bitmaps: an addition is logged and dropped, the list is empty.
    void add_bitmap_info(bitmap_info* bi) override;
    int get_bitmap_info_count() const override;
    bitmap_info* get_bitmap_info(int index) const override;
    void add_sound_sample(int id, character_def* s) override;
    character_def* get_sound_sample(int id) const override;
    void export_resource(const base_string& symbol, character_def* res) override;
    void add_execute_tag(execute_tag* e) override;
    void add_init_action(int sprite_id, execute_tag* e) override;
    void add_frame_name(const char* name) override;
    // JPEGTables, SymbolClass and DefineSceneAndFrameLabelData inside a sprite are read and
    // ignored: their tables belong to a whole movie.
    void set_jpeg_loader(std::unique_ptr<jpeg::input> j_in) override;
    void add_symbol_class(int, const base_string&) override {}
    void add_scene(int, const base_string&) override {}
    void add_frame_label(int, const base_string&) override {}

    // The containing movie; null for an empty clip made by script.
    movie_definition_sub* get_movie_definition() const { return m_movie_def; }

private:
    movie_definition_sub* m_movie_def;
    frame_tag_list m_playlist;
    hash<base_stringi, int> m_named_frames;
    // Every frame tag of the sprite; the playlist borrows them. Declared last, the tags go first
    // when the definition is destroyed.
    std::vector<std::unique_ptr<execute_tag>> m_tags;
};

}  // namespace swfplayer
