#pragma once

#include "swfplayer/main/display/character_def.h"
#include "swfplayer/main/display/execute_tag.h"

#include <cstdint>
#include <vector>

namespace swfplayer {

class movie_definition_sub;
class stream;

// A DefineSound entry of a movie's dictionary: the sound lives at the sound handler, under the
// id it gave; the handler forgets it when the sample dies.
class sound_sample : public character_def {
public:
    sound_sample(player* owner, int sound_handler_id) : character_def(owner), m_sound_handler_id(sound_handler_id) {}
    ~sound_sample() override;

    bool is(int class_id) const override { return class_id == AS_SOUND_SAMPLE || character_def::is(class_id); }

    int m_sound_handler_id;
};

// A StartSound frame tag: plays its sample (with a loop count) or stops it each time its frame
// runs. Envelopes are read and kept but not used when playing.
class start_sound_tag : public execute_tag {
public:
    struct envelope {
        uint32_t position;  // in samples at 44 kHz
        uint16_t left_level;
        uint16_t right_level;
    };

    // Reads the sound-info record behind the sample id and adds the tag to the frame being loaded;
    // m takes ownership.
    void read(stream* in, movie_definition_sub* m, const sound_sample* sam);
    void execute(character* m) override;

    uint16_t m_handler_id = 0;  // the low 16 bits of the sample's handler id
    int m_loop_count = 0;
    bool m_stop_playback = false;
    std::vector<envelope> m_envelopes;
};

}  // namespace swfplayer
