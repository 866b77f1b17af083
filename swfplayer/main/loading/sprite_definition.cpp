#include "swfplayer/main/loading/sprite_definition.h"

#include "swfplayer/base/jpeg.h"
#include "swfplayer/base/log.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/tag_loaders.h"
#include "swfplayer/main/script/player.h"

#include <cassert>

namespace swfplayer {

namespace {

// Takes the only reference of a definition handed over and not kept, so it is freed.
void discard(character_def* c) {
    smart_ptr<character_def> release(c);
}

}  // namespace

sprite_definition::sprite_definition(player* owner, movie_definition_sub* m)
    : movie_definition_sub(owner), m_movie_def(m) {
    if (m == nullptr) {
        m_frame_count = 1;
        m_loading_frame = 1;
        m_playlist.reset(1);
        m_tags.push_back(std::make_unique<execute_tag>());
        m_playlist.add(0, m_tags.back().get());
    }
}

sprite_definition::~sprite_definition() {
    m_break_loading = true;
}

void sprite_definition::read(stream* in) {
    int end = in->get_tag_end_position();
    m_frame_count = in->read_u16();
    if (m_frame_count == 0) {
        m_frame_count = 1;
    }
    m_playlist.reset(m_frame_count);
    if (get_verbose_parse()) {
        log_msg("  frames = %d\n", m_frame_count);
    }
    while (in->get_position() < end && !m_break_loading) {
        int tag_start = in->get_position();
        int tag_type = in->open_tag();
        if (in->hit_file_end()) {
            in->close_tag();
            break;
        }
        loader_function lf = nullptr;
        if (tag_type == tag_show_frame) {
            if (get_verbose_parse()) {
                log_msg("  show_frame (sprite)\n");
            }
            m_loading_frame++;
        } else if (get_tag_loader(tag_type, &lf)) {
            lf(in, tag_type, this);
        } else {
            log_msg("*** no tag loader for type %d\n", tag_type);
        }
        in->close_tag();
        if (in->get_position() <= tag_start) {
            break;  // the file ended inside the sprite
        }
    }
    if (get_verbose_parse()) {
        log_msg("  -- sprite END --\n");
    }
}

character* sprite_definition::create_character_instance(character* parent, int id) {
    movie_root* root = get_player() ? get_player()->get_root() : nullptr;
    if (sprite_instance* parent_sprite = cast_to_sprite_instance(parent)) {
        root = parent_sprite->get_movie_root();
    }
    return new sprite_instance(get_player(), this, root, parent, id);
}

int sprite_definition::get_version() const {
    return m_movie_def ? m_movie_def->get_version() : 0;
}

float sprite_definition::get_frame_rate() const {
    return m_movie_def ? m_movie_def->get_frame_rate() : 0.0f;
}

tag_span sprite_definition::get_playlist(int frame) const {
    return m_playlist.get(frame);
}

character_def* sprite_definition::get_exported_resource(const base_string& symbol) const {
    return m_movie_def ? m_movie_def->get_exported_resource(symbol) : nullptr;
}

character_def* sprite_definition::get_character_def(int id) const {
    return m_movie_def ? m_movie_def->get_character_def(id) : nullptr;
}

bool sprite_definition::get_labeled_frame(const char* label, int* frame) const {
    int found = 0;
    if (!m_named_frames.get(label, &found)) {
        return false;
    }
    if (frame) {
        *frame = found;
    }
    return true;
}

void sprite_definition::add_character(int, character_def* c) {
    log_msg("add_character tag appears in sprite tags!\n");
    discard(c);
}

void sprite_definition::add_font(int, character_def* f) {
    log_msg("add_font tag appears in sprite tags!\n");
    discard(f);
}

character_def* sprite_definition::get_font(int id) const {
    return m_movie_def ? m_movie_def->get_font(id) : nullptr;
}

void sprite_definition::add_bitmap_character(int, character_def* ch) {
    log_msg("add_bc appears in sprite tags!\n");
    discard(ch);
}

character_def* sprite_definition::get_bitmap_character(int id) const {
    return m_movie_def ? m_movie_def->get_bitmap_character(id) : nullptr;
}

void sprite_definition::add_bitmap_info(bitmap_info*) {
    log_error("sprite_definition::add_bitmap_info: a sprite keeps no bitmaps\n");
}

int sprite_definition::get_bitmap_info_count() const {
    log_error("sprite_definition::get_bitmap_info_count: a sprite keeps no bitmaps\n");
    return 0;
}

bitmap_info* sprite_definition::get_bitmap_info(int) const {
    log_error("sprite_definition::get_bitmap_info: a sprite keeps no bitmaps\n");
    return nullptr;
}

void sprite_definition::add_sound_sample(int, character_def* s) {
    log_msg("add sam appears in sprite tags!\n");
    discard(s);
}

character_def* sprite_definition::get_sound_sample(int id) const {
    return m_movie_def ? m_movie_def->get_sound_sample(id) : nullptr;
}

void sprite_definition::export_resource(const base_string&, character_def*) {
    log_msg("can't export from sprite\n");
}

void sprite_definition::add_execute_tag(execute_tag* e) {
    assert(e);
    std::unique_ptr<execute_tag> tag(e);
    // Tags after more ShowFrames than the sprite declared have no frame to go to.
    if (m_loading_frame >= m_playlist.get_frame_count()) {
        log_error("sprite_definition: frame tag after the last declared frame (%d) dropped\n",
                  m_playlist.get_frame_count());
        return;
    }
    m_playlist.add(m_loading_frame, e);
    m_tags.push_back(std::move(tag));
}

void sprite_definition::set_jpeg_loader(std::unique_ptr<jpeg::input>) {}

void sprite_definition::add_init_action(int, execute_tag* e) {
    log_msg("sprite_definition::add_init_action called!  Ignored.\n");
    std::unique_ptr<execute_tag> dropped(e);
}

void sprite_definition::add_frame_name(const char* name) {
    int old_frame = 0;
    if (m_named_frames.get(name, &old_frame)) {
        log_msg("add_frame_name(%d, '%s') -- frame name already assigned to frame %d; overriding\n", m_loading_frame,
                name, old_frame);
    }
    m_named_frames.set(name, m_loading_frame);
}

}  // namespace swfplayer
