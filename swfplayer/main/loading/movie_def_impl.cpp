#include "swfplayer/main/loading/movie_def_impl.h"

#include "swfplayer/base/inflating_file.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/common/twips.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/loading/bitmap_character_def.h"
#include "swfplayer/main/loading/tag_loaders.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>

namespace swfplayer {

movie_def_impl::movie_def_impl(player* owner, int create_bitmaps, int create_font_shapes)
    : movie_definition_sub(owner), m_create_bitmaps(create_bitmaps), m_create_font_shapes(create_font_shapes) {}

movie_def_impl::~movie_def_impl() {
    m_break_loading = true;
}

bool movie_def_impl::read(base_file* in) {
    assert(in && m_origin_in == nullptr);
    m_origin_in.reset(in);
    int start = in->get_position();
    uint8_t header[8] = {};
    int got = in->read_bytes(header, 8);
    uint32_t file_length = static_cast<uint32_t>(header[4]) | static_cast<uint32_t>(header[5]) << 8 |
                           static_cast<uint32_t>(header[6]) << 16 | static_cast<uint32_t>(header[7]) << 24;
    if (got != 8 || (header[0] != 'F' && header[0] != 'C') || header[1] != 'W' || header[2] != 'S') {
        log_error("swfplayer::movie_def_impl::read() -- file does not start with a SWF header!\n");
        m_origin_in.reset();
        return false;
    }
    m_version = header[3];
    int64_t end = static_cast<int64_t>(start) + file_length;
    m_file_end_pos = end > INT32_MAX ? INT32_MAX : static_cast<int>(end);
    if (get_verbose_parse()) {
        log_msg("version = %d, file_length = %d\n", m_version, static_cast<int>(file_length));
    }

    base_file* source = in;
    if (header[0] == 'C') {
        if (get_verbose_parse()) {
            log_msg("file is compressed.\n");
        }
        // Positions in the inflated data start after the 8 header bytes.
        m_file_end_pos = file_length > 8 ? static_cast<int>(std::min<uint32_t>(file_length - 8, INT32_MAX)) : 0;
        // A movie whose header gives at most max_whole_inflate_bytes is inflated once, whole:
        // the stream measures where the data ends and may seek back, which costs nothing in
        // memory but would make an inflating file inflate the movie again from its start. A
        // longer one is read through an inflating file, so a small file cannot claim that much
        // memory.
        if (m_file_end_pos <= max_whole_inflate_bytes) {
            // The stream reads the inflated bytes where they lie.
            inflate_movie(in);
            m_str = std::make_unique<stream>(m_inflated.get(), m_inflated_size);
        } else {
            m_zlib_in.reset(make_inflating_file(in, false));
            source = m_zlib_in.get();
        }
    }
    // The stream learns where the data really ends (at most where the header says), so that no
    // tag can claim bytes the file does not have.
    if (m_str == nullptr) {
        m_str = std::make_unique<stream>(source, m_file_end_pos);
    }

    m_frame_size.read(m_str.get());
    m_frame_rate = m_str->read_u16() / 256.0f;
    m_frame_count = m_str->read_u16();
    if (m_frame_count == 0) {
        m_frame_count = 1;
    }
    m_playlist.reset(m_frame_count);
    if (get_verbose_parse()) {
        m_frame_size.print();
        log_msg("frame rate = %f, frames = %d\n", m_frame_rate, m_frame_count);
    }
    if (get_verbose_action()) {
        log_msg("swfplayer is in single thread mode\n");
    }

    read_tags();

    // The shared JPEG decoder reads through the stream, which goes now.
    m_jpeg_in.reset();
    m_str.reset();
    m_zlib_in.reset();
    m_inflated.reset();
    m_inflated_size = 0;
    m_origin_in.reset();
    return true;
}

void movie_def_impl::inflate_movie(base_file* in) {
    // The loader keeps whatever came out before corrupt data, so the stream's check value would
    // change nothing: it is not computed.
    std::unique_ptr<base_file> inflater(make_inflating_file(in, false));
    int room = std::min(m_file_end_pos, inflate_start_room);
    // Every byte up to the size is written by the inflater before it is read; the stream may
    // load (and never use) eight bytes past the last.
    m_inflated = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(room) + stream_padding);
    int size = 0;
    while (size < m_file_end_pos) {
        if (size == room) {
            room = m_file_end_pos - room < room ? m_file_end_pos : room * 2;
            auto larger = std::make_unique_for_overwrite<uint8_t[]>(static_cast<size_t>(room) + stream_padding);
            std::memcpy(larger.get(), m_inflated.get(), static_cast<size_t>(size));
            m_inflated = std::move(larger);
        }
        int wanted = room - size;
        int got = inflater->read_bytes(m_inflated.get() + size, wanted);
        size += got > 0 ? got : 0;
        if (got < wanted) {
            break;  // the data ends (or is corrupt) before the header's length
        }
    }
    std::memset(m_inflated.get() + size, 0, stream_padding);
    m_inflated_size = size;
}

void movie_def_impl::read_tags() {
    while (static_cast<uint32_t>(m_str->get_position()) < static_cast<uint32_t>(m_file_end_pos)) {
        if (m_break_loading) {
            break;
        }
        int tag_start = m_str->get_position();
        int tag_type = m_str->open_tag();
        if (m_str->hit_file_end()) {
            // The file ends before the length its header declares: no whole tag is left.
            m_str->close_tag();
            break;
        }
        if (tag_type == tag_show_frame) {
            if (get_verbose_parse()) {
                log_msg("  show_frame\n");
            }
            m_loading_frame++;
        } else {
            loader_function lf = nullptr;
            if (get_tag_loader(tag_type, &lf)) {
                lf(m_str.get(), tag_type, this);
            } else {
                log_msg("*** no tag loader for type %d\n", tag_type);
                if (get_verbose_parse()) {
                    dump_tag_bytes(m_str.get());
                }
            }
        }
        m_str->close_tag();
        int position = m_str->get_position();
        if (tag_type == tag_end && position != m_file_end_pos) {
            log_msg("warning: hit stream-end tag, but not at the end of the file yet; stopping for safety\n");
            break;
        }
        if (position <= tag_start) {
            break;  // a seek that could not move on: the file ended inside the tag
        }
        m_loaded_length = position;
    }
    m_playlist.shrink_to_fit();
}

float movie_def_impl::get_width_pixels() const {
    return std::ceil((m_frame_size.x_max - m_frame_size.x_min) / twips_per_pixel);
}

float movie_def_impl::get_height_pixels() const {
    return std::ceil((m_frame_size.y_max - m_frame_size.y_min) / twips_per_pixel);
}

tag_span movie_def_impl::get_playlist(int frame) const {
    return m_playlist.get(frame);
}

const array<execute_tag*>* movie_def_impl::get_init_actions(int frame) const {
    if (frame < 0 || frame >= m_init_action_list.size()) {
        return nullptr;
    }
    return &m_init_action_list[frame];
}

character_def* movie_def_impl::get_exported_resource(const base_string& symbol) const {
    smart_ptr<character_def> res;
    m_exports.get(symbol, &res);
    return res.get_ptr();
}

character_def* movie_def_impl::get_character_def(int id) const {
    if (in_import_table(id)) {
        log_error("get_character_def(): character_id %d is still waiting to be imported\n", id);
    }
    smart_ptr<character_def> c;
    m_characters.get(id, &c);
    return c.get_ptr();
}

bool movie_def_impl::get_labeled_frame(const char* label, int* frame) const {
    int found = 0;
    if (!m_named_frames.get(label, &found)) {
        return false;
    }
    if (frame) {
        *frame = found;
    }
    return true;
}

bool movie_def_impl::add_entry(hash<int, smart_ptr<character_def>>* dictionary, int id, character_def* c,
                               const char* what) {
    assert(c);
    // A caller that made c for this call alone hands us the only reference: held here, c lives
    // through the attempt and goes with this hold when the id is taken.
    smart_ptr<character_def> hold(c);
    if (!dictionary->try_add(id, hold)) {
        log_error("movie_def_impl: %s id %d is defined twice; keeping the first\n", what, id);
        return false;
    }
    return true;
}

void movie_def_impl::add_character(int id, character_def* c) {
    add_entry(&m_characters, id, c, "character");
}

void movie_def_impl::add_font(int id, character_def* f) {
    add_entry(&m_fonts, id, f, "font");
}

character_def* movie_def_impl::get_font(int id) const {
    if (in_import_table(id)) {
        log_error("get_font(): font_id %d is still waiting to be imported\n", id);
    }
    smart_ptr<character_def> f;
    m_fonts.get(id, &f);
    return f.get_ptr();
}

void movie_def_impl::add_bitmap_character(int id, character_def* ch) {
    if (add_entry(&m_bitmap_characters, id, ch, "bitmap")) {
        if (auto* bitmap = dynamic_cast<bitmap_character_def*>(ch)) {
            add_bitmap_info(bitmap->get_bitmap_info());
        }
    }
}

void movie_def_impl::add_bitmap_info(bitmap_info* bi) {
    if (bi) {
        m_bitmap_list.push_back(bi);
    }
}

bitmap_info* movie_def_impl::get_bitmap_info(int index) const {
    return index >= 0 && index < get_bitmap_info_count() ? m_bitmap_list[index].get_ptr() : nullptr;
}

character_def* movie_def_impl::get_bitmap_character(int id) const {
    smart_ptr<character_def> ch;
    m_bitmap_characters.get(id, &ch);
    return ch.get_ptr();
}

void movie_def_impl::add_sound_sample(int id, character_def* s) {
    add_entry(&m_sound_samples, id, s, "sound");
}

character_def* movie_def_impl::get_sound_sample(int id) const {
    smart_ptr<character_def> s;
    m_sound_samples.get(id, &s);
    return s.get_ptr();
}

void movie_def_impl::export_resource(const base_string& symbol, character_def* res) {
    m_exports.set(symbol, res);
}

bool movie_def_impl::fits_loading_frame(const char* what) const {
    if (m_loading_frame >= m_frame_count) {
        log_error("movie_def_impl: %s after the last declared frame (%d) dropped\n", what, m_frame_count);
        return false;
    }
    return true;
}

void movie_def_impl::add_execute_tag(execute_tag* e) {
    assert(e);
    std::unique_ptr<execute_tag> tag(e);
    if (fits_loading_frame("frame tag")) {
        m_playlist.add(m_loading_frame, e);
        m_tags.push_back(std::move(tag));
    }
}

void movie_def_impl::add_init_action(int, execute_tag* e) {
    assert(e);
    std::unique_ptr<execute_tag> tag(e);
    if (fits_loading_frame("init action")) {
        if (m_init_action_list.size() == 0) {
            m_init_action_list.resize(m_frame_count);
        }
        m_init_action_list[m_loading_frame].push_back(e);
        m_tags.push_back(std::move(tag));
    }
}

void movie_def_impl::add_frame_name(const char* name) {
    int frame = 0;
    if (m_named_frames.get(name, &frame)) {
        log_error("movie_def_impl: frame label '%s' of frame %d is used again in frame %d; keeping the first\n", name,
                  frame, m_loading_frame);
        return;
    }
    m_named_frames.add(name, m_loading_frame);
}

void movie_def_impl::add_symbol_class(int id, const base_string& name) {
    m_symbol_class.set(id, name);
}

void movie_def_impl::add_scene(int frame, const base_string& name) {
    m_scene.set(frame, name);
}

void movie_def_impl::add_frame_label(int frame, const base_string& label) {
    m_frame_label.set(frame, label);
}

void movie_def_impl::set_abc(const base_string& name, abc_block* abc) {
    assert(abc && m_abc == nullptr);
    m_abc_name = name;
    m_abc = abc;
}

as_object* movie_def_impl::bind_symbol_class(character* ch) {
    assert(ch);
    int id = ch->get_id() == -1 ? 0 : ch->get_id();
    base_string class_name;
    if (!m_symbol_class.get(id, &class_name) || m_abc == nullptr) {
        return nullptr;
    }
    int count = m_abc->get_instance_trait_count(0);
    for (int i = 0; i < count; i++) {
        abc_block::trait t = m_abc->get_instance_trait(0, i);
        if (t.m_kind == 0 || t.m_kind == 6) {
            ch->set_member(t.m_name, as_value(0));
        } else if (t.m_kind >= 1 && t.m_kind <= 3) {
            ch->set_member(t.m_name, as_value(t.m_function));
        }
    }
    return m_abc->get_class_constructor(class_name);
}

}  // namespace swfplayer
