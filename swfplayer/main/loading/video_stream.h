#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/display/character_def.h"

#include <cstdint>
#include <vector>

namespace swfplayer {

class movie_definition_sub;
class stream;

// What a DefineVideoStream tag declares. The player has no video decoder: frames are counted but
// their data is never kept, and a placed stream draws nothing.
class video_stream_definition : public character_def {
public:
    explicit video_stream_definition(player* owner) : character_def(owner) {}

    bool is(int class_id) const override { return class_id == AS_VIDEO_DEF || character_def::is(class_id); }
    // The tag body behind the character id, of DefineVideoStream (60) or VideoFrame (61).
    void read(stream* in, int tag_type, movie_definition_sub* m);
    // The declared size: (0, width * 20, 0, height * 20) twips.
    void get_bound(rect* r) const override;
    character* create_character_instance(character* parent, int id) override;

    uint16_t m_width = 0;   // pixels
    uint16_t m_height = 0;  // pixels
    int m_deblocking = 0;
    bool m_smoothing = false;
    uint8_t m_codec_id = 0;
    // One slot per declared frame; frame data is never stored, so every slot stays null.
    std::vector<const void*> m_frames;
};

// A placed video stream: it keeps the stream object a script attaches with "attachVideo" and
// otherwise draws nothing.
class video_stream_instance : public character {
public:
    video_stream_instance(player* owner, video_stream_definition* def, character* parent, int id);

    bool is(int class_id) const override { return class_id == AS_VIDEO_INST || character::is(class_id); }
    // The character's members first, then "attachVideo" (any capitalisation).
    bool get_member(const base_stringi& name, as_value* value) override;
    character_def* get_character_def() override { return m_def.get_ptr(); }
    // Without a video handler there is nothing to draw, attached stream or not.
    void display() override {}
    // Also the attached stream.
    void this_alive(player* marker) override;

    smart_ptr<video_stream_definition> m_def;
    smart_ptr<as_object> m_stream;
};

// Tag loaders of DefineVideoStream (60) and VideoFrame (61).
void define_video_stream_loader(stream* in, int tag_type, movie_definition_sub* m);
void video_frame_loader(stream* in, int tag_type, movie_definition_sub* m);

}  // namespace swfplayer
