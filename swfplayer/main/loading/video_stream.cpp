#include "swfplayer/main/loading/video_stream.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/common/twips.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/player.h"

#include <cassert>

namespace swfplayer {

namespace {

// attachVideo(stream): the video shows that stream from now on (null when it is no object).
void attach_video(const fn_call& fn) {
    if (!fn.this_ptr || !fn.this_ptr->is(AS_VIDEO_INST)) {
        log_error("attachVideo called on something that is not a video\n");
        return;
    }
    if (fn.nargs != 1) {
        log_error("attachVideo needs 1 arg\n");
        return;
    }
    static_cast<video_stream_instance*>(fn.this_ptr)->m_stream = fn.arg(0).to_object();
}

}  // namespace

void video_stream_definition::read(stream* in, int tag_type, movie_definition_sub*) {
    assert(tag_type == tag_define_video_stream || tag_type == tag_video_frame);
    if (tag_type == tag_define_video_stream) {
        m_frames.assign(in->read_u16(), nullptr);
        m_width = in->read_u16();
        m_height = in->read_u16();
        in->read_uint(5);
        m_deblocking = static_cast<int>(in->read_uint(2));
        m_smoothing = in->read_uint(1) != 0;
        m_codec_id = in->read_u8();
        return;
    }
    // A frame's data is not decoded; its slot stays empty, and the tag loop skips the rest.
    const int frame = in->read_u16();
    if (frame < static_cast<int>(m_frames.size())) {
        m_frames[frame] = nullptr;
    }
}

void video_stream_definition::get_bound(rect* r) const {
    *r =
        rect(0.0f, static_cast<float>(m_width * twips_per_pixel), 0.0f, static_cast<float>(m_height * twips_per_pixel));
}

character* video_stream_definition::create_character_instance(character* parent, int id) {
    return new video_stream_instance(get_player(), this, parent, id);
}

video_stream_instance::video_stream_instance(player* owner, video_stream_definition* def, character* parent, int id)
    : character(owner, parent, id), m_def(def) {
    assert(m_def != nullptr);
}

void video_stream_instance::this_alive(player* marker) {
    character::this_alive(marker);
    marker->mark_alive(m_stream.get_ptr());
}

bool video_stream_instance::get_member(const base_stringi& name, as_value* value) {
    if (character::get_member(name, value)) {
        return true;
    }
    if (name == "attachVideo") {
        value->set_as_c_function(get_player(), attach_video);
        return true;
    }
    return false;
}

void define_video_stream_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_define_video_stream);
    const int id = in->read_u16();
    smart_ptr<video_stream_definition> video = new video_stream_definition(m->get_player());
    video->read(in, tag_type, m);
    m->add_character(id, video.get_ptr());
}

void video_frame_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_video_frame);
    const int id = in->read_u16();
    character_def* def = m->get_character_def(id);
    if (!def || !def->is(AS_VIDEO_DEF)) {
        log_error("video_frame_loader: character %d is not a video stream\n", id);
        return;
    }
    static_cast<video_stream_definition*>(def)->read(in, tag_type, m);
}

}  // namespace swfplayer
