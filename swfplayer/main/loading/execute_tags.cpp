#include "swfplayer/main/loading/execute_tags.h"

#include "swfplayer/base/log.h"
#include "swfplayer/base/membuf.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/loading/tag_pool.h"

#include <algorithm>
#include <cassert>
#include <vector>

namespace swfplayer {

namespace {

// Room for count more bytes in bytes, of which at most limit are ever needed: the allocation
// at least doubles, so filling costs linear time, but never passes limit, so a tag's
// actions never hold more memory than the tag's size.
void make_room(membuf* bytes, int count, int limit) {
    int needed = bytes->size() + count;
    if (needed <= bytes->capacity()) {
        return;
    }
    int doubled = bytes->capacity() > limit / 2 ? limit : std::max(2 * bytes->capacity(), 256);
    bytes->reserve(std::min(std::max(needed, doubled), limit));
}

}  // namespace

int read_action_buffer(stream* in, action_buffer* buffer, int max_bytes) {
    const int available = std::min(max_bytes, in->get_tag_bytes_left());
    const int limit = std::min(available, max_action_buffer_bytes);
    // Records go straight from the stream into the buffer, which is never larger than the
    // bytes read plus the end action that closes a stream cut short.
    membuf bytes;
    std::vector<uint8_t> payload;
    int room = limit + 1;
    int used = 0;
    while (used < limit) {
        uint8_t record[3] = {in->read_u8(), 0, 0};
        used++;
        if (record[0] < 0x80) {
            make_room(&bytes, 1, room);
            bytes.append(record[0]);
            if (record[0] == 0) {
                buffer->adopt(std::move(bytes));
                return used;
            }
            continue;
        }
        if (limit - used < 2) {
            break;
        }
        int length = in->read_u16();
        used += 2;
        if (limit - used < length) {
            break;
        }
        payload.resize(static_cast<size_t>(length));
        int got = length > 0 ? in->read_bytes(payload.data(), length) : 0;
        used += got;
        if (got < length) {
            break;
        }
        make_room(&bytes, 3 + length, room);
        record[1] = static_cast<uint8_t>(length & 0xFF);
        record[2] = static_cast<uint8_t>(length >> 8);
        bytes.append(record, 3);
        bytes.append(payload.data(), length);
    }
    if (limit < available) {
        log_error("error: %d bytes of actions without an end action; only the first %d are kept\n", available, limit);
    } else {
        log_error("error: action records end without an end action at byte %d of %d\n", used, limit);
    }
    make_room(&bytes, 1, room);
    bytes.append(static_cast<uint8_t>(0));
    buffer->adopt(std::move(bytes));
    return used;
}

void do_action::read(stream* in) {
    read_action_buffer(in, &m_buf, in->get_tag_bytes_left());
}

void* remove_object_2::operator new([[maybe_unused]] size_t size) {
    assert(size == sizeof(remove_object_2));
    return tag_pool<remove_object_2>::allocate();
}

void remove_object_2::operator delete(void* p) {
    tag_pool<remove_object_2>::release(p);
}

void remove_object_2::read(stream* in, int tag_type) {
    if (tag_type == tag_remove_object) {
        m_id = in->read_u16();
    }
    m_depth = in->read_u16();
    if (get_verbose_parse()) {
        log_msg("  remove_object_2(%d)\n", m_depth);
    }
}

void remove_object_2::execute(character* m) {
    m->remove_display_object(m_depth, m_id);
}

void remove_object_2::execute_state_reverse(character* m, int frame) {
    execute_tag* t = m->find_previous_place_tag(frame, m_depth, m_id);
    if (t == nullptr) {
        log_error("reverse REMOVE can't find previous replace or add tag(%d, %d)\n", frame, m_depth);
        return;
    }
    t->execute_state(m);
}

void set_background_color::read(stream* in) {
    m_color.read_rgb(in);
    if (get_verbose_parse()) {
        log_msg("  set_background_color: (%d %d %d)\n", m_color.r, m_color.g, m_color.b);
    }
}

void set_background_color::execute(character* m) {
    // The host decides the background's alpha; the movie only chooses the colour.
    float alpha = m->get_background_alpha() * 255.0f + 0.5f;
    if (!(alpha >= 0.0f)) {
        alpha = 0.0f;  // NaN included
    }
    rgba color = m_color;
    color.a = static_cast<uint8_t>(alpha < 255.0f ? alpha : 255.0f);
    m->set_background_color(color);
}

void do_action::execute(character* m) {
    m->add_action_buffer(&m_buf);
}

}  // namespace swfplayer
