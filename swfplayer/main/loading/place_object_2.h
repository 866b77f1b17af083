#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/main/common/cxform.h"
#include "swfplayer/main/common/matrix.h"
#include "swfplayer/main/display/execute_tag.h"
#include "swfplayer/main/display/swf_event.h"

#include <cstdint>

namespace swfplayer {

class player;
class stream;

// PlaceObject (4), PlaceObject2 (26) and PlaceObject3 (70): puts a character at a depth, moves
// what is there, or replaces it, with the optional matrix, colour transform, ratio, name, clip
// depth and clip-event handlers the tag carries.
class place_object_2 : public execute_tag {
public:
    enum place_type { PLACE = 0, MOVE = 1, REPLACE = 2 };

    place_object_2() = default;
    ~place_object_2() override;
    place_object_2(const place_object_2&) = delete;
    place_object_2& operator=(const place_object_2&) = delete;

    // Made and freed through a pool: movies hold thousands of them.
    static void* operator new(size_t size);
    static void operator delete(void* p);

    // Reads the tag body; movie_version decides the width of clip-event flags (16 bits before
    // version 6, 32 from it on). Clip-event handlers become script functions of owner.
    void read(player* owner, stream* in, int tag_type, int movie_version);

    void execute(character* m) override;
    void execute_state(character* m) override { execute(m); }
    void execute_state_reverse(character* m, int frame) override;
    uint32_t get_depth_id_of_replace_or_add_tag() const override;

    // What the tag says; fixed once read.
    int m_tag_type = 0;
    base_string m_name;
    float m_ratio = 0.0f;
    cxform m_color_transform;
    matrix m_matrix;
    bool m_has_matrix = false;
    bool m_has_cxform = false;
    int m_depth = 0;
    uint16_t m_character_id = 0;
    uint16_t m_clip_depth = 0;
    place_type m_place_type = PLACE;
    array<swf_event*> m_event_handlers;  // owned

private:
    void read_place_object(stream* in);
    void read_clip_actions(player* owner, stream* in, int movie_version);
};

}  // namespace swfplayer
