#include "swfplayer/main/loading/tag_loaders.h"

#include "swfplayer/base/log.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/loading/bitmap_loaders.h"
#include "swfplayer/main/loading/button_loaders.h"
#include "swfplayer/main/loading/execute_tags.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/loading/place_object_2.h"
#include "swfplayer/main/loading/sound_loaders.h"
#include "swfplayer/main/loading/sprite_definition.h"
#include "swfplayer/main/loading/video_stream.h"
#include "swfplayer/main/script/player.h"

#include <cassert>

namespace swfplayer {

namespace {

// Sprites inside sprites are read (and dropped by the outer sprite) only to this tag depth, so
// a file of nested DefineSprite headers cannot exhaust the stack.
constexpr int max_sprite_nesting = 8;

// Tag types are 10-bit numbers, so the table is indexed by type directly.
constexpr int tag_type_count = 1024;
loader_function s_tag_loaders[tag_type_count] = {};

bool s_registered = false;

// Loaders of higher layers, registered with the table's own.
constexpr int max_registrars = 16;
void (*s_registrars[max_registrars])() = {};
int s_registrar_count = 0;

void end_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub*) {
    assert(tag_type == tag_end);
    if (in->get_tag_bytes_left() > 0 && get_verbose_parse()) {
        log_msg("end tag with a body of %d bytes\n", in->get_tag_bytes_left());
    }
}

void null_loader(stream*, int, movie_definition_sub*) {}

void place_object_2_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_place_object || tag_type == tag_place_object2 || tag_type == tag_place_object3);
    if (get_verbose_parse()) {
        log_msg("  place_object_2\n");
    }
    place_object_2* tag = new place_object_2;
    tag->read(m->get_player(), in, tag_type, m->get_version());
    m->add_execute_tag(tag);
}

void remove_object_2_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_remove_object || tag_type == tag_remove_object2);
    remove_object_2* tag = new remove_object_2;
    tag->read(in, tag_type);
    m->add_execute_tag(tag);
}

void set_background_color_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_set_background_color && m);
    set_background_color* tag = new set_background_color;
    tag->read(in);
    m->add_execute_tag(tag);
}

void do_action_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_do_action);
    if (get_verbose_parse()) {
        log_msg("tag %d: do_action_loader\n", tag_type);
    }
    if (get_verbose_action()) {
        log_msg("-------------- actions in frame %d\n", m->get_loading_frame());
    }
    do_action* tag = new do_action;
    tag->read(in);
    m->add_execute_tag(tag);
}

void do_init_action_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_do_init_action);
    int sprite_id = in->read_u16();
    if (get_verbose_parse()) {
        log_msg("  tag %d: do_init_action_loader\n", tag_type);
    }
    if (get_verbose_action()) {
        log_msg("  -- init actions for sprite %d\n", sprite_id);
    }
    do_action* tag = new do_action;
    tag->read(in);
    m->add_init_action(sprite_id, tag);
}

void sprite_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_define_sprite);
    int id = in->read_u16();
    if (get_verbose_parse()) {
        log_msg("  sprite\n  char id = %d\n", id);
    }
    if (in->get_tag_depth() > max_sprite_nesting) {
        log_error("sprite %d nested %d sprites deep; skipped\n", id, in->get_tag_depth());
        return;
    }
    smart_ptr<sprite_definition> sprite = new sprite_definition(m->get_player(), m);
    sprite->m_id = id;
    sprite->read(in);
    m->add_character(id, sprite.get_ptr());
}

void frame_label_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_frame_label);
    base_string label;
    in->read_string(&label);
    m->add_frame_name(label.c_str());
}

void export_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_export_assets);
    int count = in->read_u16();
    if (get_verbose_parse()) {
        log_msg("  export: count = %d\n", count);
    }
    for (int i = 0; i < count && in->get_tag_bytes_left() > 0; i++) {
        int id = in->read_u16();
        base_string symbol;
        in->read_string(&symbol);
        if (get_verbose_parse()) {
            log_msg("  export: id = %d, name = %s\n", id, symbol.c_str());
        }
        character_def* resource = m->get_font(id);
        if (resource == nullptr) {
            resource = m->get_character_def(id);
        }
        if (resource == nullptr) {
            resource = m->get_sound_sample(id);
        }
        if (resource) {
            m->export_resource(symbol, resource);
        } else {
            log_error("export error: don't know how to export resource '%s'\n", symbol.c_str());
        }
    }
}

void import_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_import_assets);
    base_string source_url;
    in->read_string(&source_url);
    int count = in->read_u16();
    if (get_verbose_parse()) {
        log_msg("  import: source_url = %s, count = %d\n", source_url.c_str(), count);
    }
    if (!is_allowed_movie_name(source_url.c_str())) {
        return;
    }
    // The name as given, then inside the player's working directory.
    smart_ptr<movie_def_impl> source = load_movie_definition(m->get_player(), source_url.c_str());
    const base_string workdir = m->get_player() ? m->get_player()->get_workdir() : base_string();
    if (!source && workdir.size() > 0) {
        base_string in_workdir = workdir;
        in_workdir += source_url;
        source = load_movie_definition(m->get_player(), in_workdir.c_str());
    }
    if (!source) {
        log_error("can't import movie from url %s\n", source_url.c_str());
        return;
    }
    // Imported definitions point into their source movie, which must live as long as they do. A
    // sprite keeps none of them (its dictionary tags are logged and dropped).
    if (m->is(AS_MOVIE_DEF)) {
        static_cast<movie_def_impl*>(m)->add_import_source(source);
    }
    for (int i = 0; i < count && in->get_tag_bytes_left() > 0; i++) {
        int id = in->read_u16();
        base_string symbol;
        in->read_string(&symbol);
        if (get_verbose_parse()) {
            log_msg("  import: id = %d, name = %s\n", id, symbol.c_str());
        }
        character_def* res = source->get_exported_resource(symbol);
        if (res == nullptr) {
            if (get_verbose_action()) {
                log_msg("import error: resource '%s' is not exported from movie '%s'\n", symbol.c_str(),
                        source_url.c_str());
            }
        } else if (res->is(AS_FONT)) {
            m->add_font(id, res);
        } else if (res->is(AS_CHARACTER_DEF)) {
            m->add_character(id, res);
        } else if (get_verbose_action()) {
            log_msg("import error: resource '%s' from movie '%s' has unknown type\n", symbol.c_str(),
                    source_url.c_str());
        }
    }
}

void enable_debugger_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub*) {
    assert(tag_type == tag_enable_debugger || tag_type == tag_enable_debugger2);
    if (tag_type == tag_enable_debugger2) {
        in->read_u16();  // reserved
    }
    base_string password_digest;
    in->read_string(&password_digest);
}

void set_tab_index_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub*) {
    assert(tag_type == tag_set_tab_index);
    in->read_u16();  // depth
    in->read_u16();  // tab index
}

void file_attributes_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub*) {
    assert(tag_type == tag_file_attributes);
    in->read_u8();      // flags
    in->read_uint(24);  // reserved
}

void metadata_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub*) {
    assert(tag_type == tag_metadata);
    base_string metadata;
    in->read_string(&metadata);
}

void symbol_class_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_symbol_class);
    int count = in->read_u16();
    for (int i = 0; i < count && in->get_tag_bytes_left() > 0; i++) {
        int id = in->read_u16();
        base_string class_name;
        in->read_string(&class_name);
        m->add_symbol_class(id, class_name);
        if (get_verbose_parse()) {
            log_msg("  symbol_class_loader: charid = %d class = '%s'\n", id, class_name.c_str());
        }
    }
}

// Scene offsets and frame numbers are stored as ints; larger values cannot name a frame.
int vu32_as_int(uint32_t value) {
    return value > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(value);
}

void define_scene_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_define_scene_and_frame_label_data);
    if (get_verbose_parse()) {
        log_msg("\n  define_scene_loader\n");
    }
    // Each entry takes at least two bytes, so the counts are bounded by the bytes in the tag.
    uint32_t scene_count = in->read_vu32();
    for (uint32_t i = 0; i < scene_count && in->get_tag_bytes_left() > 0; i++) {
        int offset = vu32_as_int(in->read_vu32());
        base_string name;
        in->read_string(&name);
        m->add_scene(offset, name);
        if (get_verbose_parse()) {
            log_msg("  scene #%d, name='%s'\n", static_cast<int>(i), name.c_str());
        }
    }
    uint32_t label_count = in->read_vu32();
    for (uint32_t i = 0; i < label_count && in->get_tag_bytes_left() > 0; i++) {
        int frame = vu32_as_int(in->read_vu32());
        base_string label;
        in->read_string(&label);
        m->add_frame_label(frame, label);
        if (get_verbose_parse()) {
            log_msg("  frame #%d, label='%s'\n", frame, label.c_str());
        }
    }
}

}  // namespace

void register_tag_loader(int tag_type, loader_function lf) {
    assert(lf && tag_type >= tag_end && tag_type < tag_type_count);
    assert(s_tag_loaders[tag_type] == nullptr);
    s_tag_loaders[tag_type] = lf;
}

bool get_tag_loader(int tag_type, loader_function* lf) {
    if (tag_type < tag_end || tag_type >= tag_type_count || s_tag_loaders[tag_type] == nullptr) {
        return false;
    }
    if (lf) {
        *lf = s_tag_loaders[tag_type];
    }
    return true;
}

void register_tag_loaders() {
    if (s_registered) {
        return;
    }
    s_registered = true;
    register_tag_loader(tag_end, end_loader);
    register_tag_loader(tag_place_object, place_object_2_loader);
    register_tag_loader(tag_remove_object, remove_object_2_loader);
    register_tag_loader(tag_set_background_color, set_background_color_loader);
    register_tag_loader(tag_do_action, do_action_loader);
    register_tag_loader(tag_define_sound, define_sound_loader);
    register_tag_loader(tag_start_sound, start_sound_loader);
    register_tag_loader(tag_sound_stream_head, sound_stream_head_loader);
    register_tag_loader(tag_sound_stream_block, sound_stream_block_loader);
    register_tag_loader(tag_protect, null_loader);  // Protect
    register_tag_loader(tag_place_object2, place_object_2_loader);
    register_tag_loader(tag_remove_object2, remove_object_2_loader);
    register_tag_loader(tag_define_sprite, sprite_loader);
    register_tag_loader(tag_frame_label, frame_label_loader);
    register_tag_loader(tag_sound_stream_head2, sound_stream_head_loader);
    register_tag_loader(tag_export_assets, export_loader);
    register_tag_loader(tag_import_assets, import_loader);
    register_tag_loader(tag_enable_debugger, enable_debugger_loader);
    register_tag_loader(tag_do_init_action, do_init_action_loader);
    register_tag_loader(tag_enable_debugger2, enable_debugger_loader);
    register_tag_loader(tag_define_video_stream, define_video_stream_loader);
    register_tag_loader(tag_video_frame, video_frame_loader);
    register_tag_loader(tag_set_tab_index, set_tab_index_loader);
    register_tag_loader(tag_file_attributes, file_attributes_loader);
    register_tag_loader(tag_place_object3, place_object_2_loader);
    register_tag_loader(tag_symbol_class, symbol_class_loader);
    register_tag_loader(tag_metadata, metadata_loader);
    register_tag_loader(tag_define_scene_and_frame_label_data, define_scene_loader);
    register_bitmap_loaders();
    register_button_loaders();
    for (int i = 0; i < s_registrar_count; i++) {
        s_registrars[i]();
    }
}

void add_tag_loader_registrar(void (*registrar)()) {
    assert(registrar);
    for (int i = 0; i < s_registrar_count; i++) {
        if (s_registrars[i] == registrar) {
            return;
        }
    }
    assert(s_registrar_count < max_registrars);
    s_registrars[s_registrar_count++] = registrar;
    if (s_registered) {
        registrar();
    }
}

void clear_tag_loaders() {
    for (loader_function& lf : s_tag_loaders) {
        lf = nullptr;
    }
    s_registered = false;
}

}  // namespace swfplayer
