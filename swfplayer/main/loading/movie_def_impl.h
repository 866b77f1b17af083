#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_file.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/base/hash.h"
#include "swfplayer/base/jpeg.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/loading/abc_block.h"
#include "swfplayer/main/loading/cache_file.h"
#include "swfplayer/main/loading/frame_tag_list.h"
#include "swfplayer/main/render/render_handler.h"

#include <memory>
#include <vector>

namespace swfplayer {

class stream;

// The immutable definition of one movie, shared by every instance made from it: the header
// values, the dictionaries, the frame tags and init actions of every frame, the frame labels,
// the exported symbols and the script-class tables. read fills it from a file in one go.
class movie_def_impl : public movie_definition_sub {
public:
    // A compressed movie whose header gives at most this many bytes of data is inflated whole
    // before its tags are read; a longer one is inflated as its tags are read.
    static constexpr int max_whole_inflate_bytes = 16 * 1024 * 1024;
    static constexpr int inflate_start_room = 256 * 1024;
    // The bytes after the inflated data that a stream over it may load.
    static constexpr size_t stream_padding = 8;

    // create_bitmaps and create_font_shapes: 0 lets the loaders create them.
    movie_def_impl(player* owner, int create_bitmaps, int create_font_shapes);
    ~movie_def_impl() override;

    bool is(int class_id) const override { return class_id == AS_MOVIE_DEF || movie_definition_sub::is(class_id); }

    // Reads the whole movie from in, which the definition takes over and deletes when done.
    // False, with the error logged, when in does not start with a SWF header; the definition
    // then stays empty.
    bool read(base_file* in);

    int get_version() const override { return m_version; }
    float get_width_pixels() const override;
    float get_height_pixels() const override;
    float get_frame_rate() const override { return m_frame_rate; }
    tag_span get_playlist(int frame) const override;
    const array<execute_tag*>* get_init_actions(int frame) const override;
    character_def* get_exported_resource(const base_string& symbol) const override;
    character_def* get_character_def(int id) const override;
    bool get_labeled_frame(const char* label, int* frame) const override;

    void add_character(int id, character_def* c) override;
    void add_font(int id, character_def* f) override;
    character_def* get_font(int id) const override;
    void add_bitmap_character(int id, character_def* ch) override;
    character_def* get_bitmap_character(int id) const override;
    void add_bitmap_info(bitmap_info* bi) override;
    int get_bitmap_info_count() const override { return static_cast<int>(m_bitmap_list.size()); }
    bitmap_info* get_bitmap_info(int index) const override;
    void add_sound_sample(int id, character_def* s) override;
    character_def* get_sound_sample(int id) const override;
    void export_resource(const base_string& symbol, character_def* res) override;
    void add_execute_tag(execute_tag* e) override;
    void add_init_action(int sprite_id, execute_tag* e) override;
    void add_frame_name(const char* name) override;

    // Tables of ActionScript 3 movies: class name by character id, scene name by frame offset,
    // label by frame number (these labels do not enter the frame-label table).
    void add_symbol_class(int id, const base_string& name) override;
    void add_scene(int frame, const base_string& name) override;
    void add_frame_label(int frame, const base_string& label) override;
    const hash<int, base_string>& get_symbol_classes() const { return m_symbol_class; }
    const hash<int, base_string>& get_scenes() const { return m_scene; }
    const hash<int, base_string>& get_frame_labels() const { return m_frame_label; }

    // The movie's one ActionScript 3 block (DoABC) and its name; the loader keeps the first
    // block and never offers a second.
    void set_abc(const base_string& name, abc_block* abc);
    abc_block* get_abc() const { return m_abc.get_ptr(); }
    const base_string& get_abc_name() const { return m_abc_name; }
    // The class of the main timeline: when SymbolClass names a class for ch's id (the main
    // timeline's -1 counts as 0) and the movie has a block, the traits of the block's first
    // instance record are set on ch (slots and consts as 0, methods, getters and setters as
    // their functions; class and function traits are skipped) and its initialiser is returned.
    // Null without a class name, a block or an instance record.
    as_object* bind_symbol_class(character* ch) override;

    // Keeps a movie that this one imports from alive as long as this one: imported
    // definitions point into it.
    void add_import_source(const smart_ptr<movie_def_impl>& source) { m_import_sources.push_back(source); }

    // The frame rectangle in twips.
    const rect& get_frame_size() const { return m_frame_size; }
    // Where the movie data ends, as a stream position.
    int get_file_bytes() const { return m_file_end_pos; }
    // The stream position after the last tag read.
    int get_loaded_bytes() const { return m_loaded_length; }
    void set_frame_rate(float rate) { m_frame_rate = rate; }
    int get_create_bitmaps() const { return m_create_bitmaps; }
    int get_create_font_shapes() const { return m_create_font_shapes; }
    // The decoder holding the JPEGTables tag's shared tables, for the DefineBits images that
    // follow; null without one. It lives while the movie loads.
    jpeg::input* get_jpeg_loader() const { return m_jpeg_in.get(); }
    void set_jpeg_loader(std::unique_ptr<jpeg::input> j_in) override { m_jpeg_in = std::move(j_in); }
    const hash<int, smart_ptr<character_def>>& get_characters() const { return m_characters; }

    // The cache file (movie_def_impl_cache.cpp): every character of the dictionary with its
    // meshes. The reader stops at the first fault (logged); what it read before stays.
    using character_def::output_cached_data;
    void output_cached_data(base_file* out, const cache_options& options) const;
    // False when the file was refused or cut short; its meshes up to the fault are kept.
    bool input_cached_data(base_file* in) override;

    // The import table: symbols still waiting for their source movie. Imports are resolved
    // while loading, so it stays empty unless a host adds to it.
    class import_visitor {
    public:
        virtual ~import_visitor() = default;
        virtual void visit(const base_string& source_url) = 0;
    };
    // id must not be in the table yet (a repeated id is logged and ignored).
    void add_import(const base_string& source_url, int id, const base_string& symbol);
    bool in_import_table(int id) const;
    // Each distinct source URL once (compared without regard to case), in table order.
    void visit_imported_movies(import_visitor* visitor) const;

private:
    // Inflates the compressed movie data read from in into m_inflated, up to the length the
    // header gives. The buffer starts at most inflate_start_room bytes long and doubles as the
    // data comes, so a header claiming more than the data holds reserves little.
    void inflate_movie(base_file* in);
    // Runs the tag loop to the end of the movie data.
    void read_tags();
    // True when the frame being loaded is one the header declared; otherwise logs that the tag
    // is dropped, since the movie has already shown all the frames it announced.
    bool fits_loading_frame(const char* what) const;
    // Adds an entry to a dictionary, keeping the first definition of a repeated id; false for a
    // repeated one.
    static bool add_entry(hash<int, smart_ptr<character_def>>* dictionary, int id, character_def* c, const char* what);

    struct import_info {
        base_string m_source_url;
        int m_character_id = 0;
        base_string m_symbol;
    };
    std::vector<import_info> m_imports;
    // Declared before the dictionaries, so that it is destroyed after them.
    std::vector<smart_ptr<movie_def_impl>> m_import_sources;
    hash<int, smart_ptr<character_def>> m_characters;
    hash<int, smart_ptr<character_def>> m_fonts;
    hash<int, smart_ptr<character_def>> m_bitmap_characters;
    hash<int, smart_ptr<character_def>> m_sound_samples;
    frame_tag_list m_playlist;
    // A list per frame, made when the first init action arrives.
    array<array<execute_tag*>> m_init_action_list;
    hash<base_stringi, int> m_named_frames;
    hash<base_stringi, smart_ptr<character_def>> m_exports;
    std::vector<smart_ptr<bitmap_info>> m_bitmap_list;
    int m_create_bitmaps;
    int m_create_font_shapes;
    std::unique_ptr<jpeg::input> m_jpeg_in;
    rect m_frame_size;
    float m_frame_rate = 30.0f;
    int m_version = 0;
    int m_loaded_length = 0;
    // The file being read, the inflated data of a compressed movie and a memory file over it,
    // and the stream over either file; alive only during read.
    std::unique_ptr<base_file> m_origin_in;
    std::unique_ptr<uint8_t[]> m_inflated;
    int m_inflated_size = 0;
    std::unique_ptr<base_file> m_zlib_in;
    std::unique_ptr<stream> m_str;
    int m_file_end_pos = 0;
    hash<int, base_string> m_symbol_class;
    hash<int, base_string> m_scene;
    hash<int, base_string> m_frame_label;
    base_string m_abc_name;
    smart_ptr<abc_block> m_abc;
    // Every frame tag and init action of the movie; the frame lists borrow them. Declared last,
    // the tags go first when the definition is destroyed.
    std::vector<std::unique_ptr<execute_tag>> m_tags;
};

}  // namespace swfplayer
