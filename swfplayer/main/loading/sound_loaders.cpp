#include "swfplayer/main/loading/sound_loaders.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/loading/sound_sample.h"
#include "swfplayer/main/sound/adpcm.h"
#include "swfplayer/main/sound/sound_handler.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdint>
#include <vector>

namespace swfplayer {

namespace {

constexpr int format_adpcm = 1;
constexpr int format_mp3 = 2;
constexpr int format_uncompressed_little_endian = 3;

// Sample rates by the movie's 2-bit rate code.
constexpr int sample_rates[4] = {5512, 11025, 22050, 44100};

int sample_rate(uint32_t rate_code) {
    assert(rate_code < 4);
    return sample_rates[rate_code];
}

// The frames an ADPCM tag can really hold: every frame after a block's first costs at least one
// 2-bit code per channel, and bits beyond the tag read as zeros. A declared count beyond this
// would only expand silence, so it is cut rather than allowed to allocate gigabytes.
int adpcm_frames_in_tag(const stream* in, bool stereo) {
    const int64_t bits_left = int64_t{in->get_tag_bytes_left()} * 8;
    const int64_t frames = bits_left / (stereo ? 4 : 2) + 1;
    return static_cast<int>(std::min<int64_t>(frames, INT_MAX / 4));
}

// The rest of the tag's bytes.
std::vector<uint8_t> read_rest_of_tag(stream* in) {
    std::vector<uint8_t> data(std::max(in->get_tag_bytes_left(), 0));
    for (uint8_t& byte : data) {
        byte = in->read_u8();
    }
    return data;
}

}  // namespace

void define_sound_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_define_sound);
    const int id = in->read_u16();
    int format = static_cast<int>(in->read_uint(4));
    const uint32_t rate_code = in->read_uint(2);
    const bool sixteen_bits = in->read_uint(1) != 0;
    const bool stereo = in->read_uint(1) != 0;
    const uint32_t declared_samples = in->read_u32();
    if (get_verbose_parse()) {
        log_msg("define sound: ch=%d, format=%d, rate=%d, 16=%d, stereo=%d, ct=%u\n", id, format, rate_code,
                sixteen_bits, stereo, declared_samples);
    }
    sound_handler* handler = get_stored_sound_handler();
    if (!handler) {
        return;
    }
    int sample_count = static_cast<int>(std::min<uint32_t>(declared_samples, INT_MAX));
    std::vector<uint8_t> data;
    if (format == format_adpcm) {
        const int in_tag = adpcm_frames_in_tag(in, stereo);
        if (sample_count > in_tag) {
            log_error("define_sound_loader: sound %d declares %d samples, its tag holds at most %d\n", id, sample_count,
                      in_tag);
            sample_count = in_tag;
        }
        std::vector<short> samples(static_cast<size_t>(sample_count) * (stereo ? 2 : 1));
        adpcm_expand(samples.data(), in, sample_count, stereo);
        data.resize(samples.size() * sizeof(short));
        std::copy_n(reinterpret_cast<const uint8_t*>(samples.data()), data.size(), data.data());
        format = sound_handler::format_native16;
    } else {
        data = read_rest_of_tag(in);
        if (format == format_uncompressed_little_endian && sixteen_bits) {
            format = sound_handler::format_native16;
        }
    }
    const int handler_id = handler->create_sound(data.data(), static_cast<int>(data.size()), sample_count, format,
                                                 sample_rate(rate_code), stereo);
    m->add_sound_sample(id, new sound_sample(m->get_player(), handler_id));
}

void start_sound_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_start_sound);
    const int id = in->read_u16();
    const character_def* sample = m->get_sound_sample(id);
    if (!sample) {
        if (get_stored_sound_handler()) {
            log_error("start_sound_loader: sound_id %d is not defined\n", id);
        }
        return;
    }
    start_sound_tag* tag = new start_sound_tag;
    tag->read(in, m, static_cast<const sound_sample*>(sample));
    if (get_verbose_parse()) {
        log_msg("start_sound tag: id=%d, stop = %d, loop ct = %d\n", id, tag->m_stop_playback, tag->m_loop_count);
    }
}

void sound_stream_head_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_sound_stream_head || tag_type == tag_sound_stream_head2);
    in->read_u8();  // playback settings
    const int format = static_cast<int>(in->read_uint(4));
    const uint32_t rate_code = in->read_uint(2);
    const bool sixteen_bits = in->read_uint(1) != 0;
    const bool stereo = in->read_uint(1) != 0;
    const int sample_count = in->read_u16();
    if (format == format_mp3) {
        in->read_s16();  // latency
    }
    if (get_verbose_parse()) {
        log_msg("define stream sound: format=%d, rate=%d, 16=%d, stereo=%d, ct=%d\n", format, rate_code, sixteen_bits,
                stereo, sample_count);
    }
    if (sound_handler* handler = get_stored_sound_handler()) {
        m->m_ss_id = handler->create_sound(nullptr, 0, sample_count, format, sample_rate(rate_code), stereo);
        m->m_ss_format = format;
    }
}

void sound_stream_block_loader(stream* in, [[maybe_unused]] int tag_type, movie_definition_sub* m) {
    assert(tag_type == tag_sound_stream_block);
    if (m->m_ss_id < 0) {
        return;
    }
    if (m->m_ss_start == -1) {
        m->m_ss_start = m->get_loading_frame();
    }
    if (m->m_ss_format == format_mp3) {
        in->read_u16();  // samples in the block
        in->read_s16();  // seek
    }
    std::vector<uint8_t> data = read_rest_of_tag(in);
    sound_handler* handler = get_stored_sound_handler();
    if (!data.empty() && handler) {
        handler->append_sound(m->m_ss_id, data.data(), static_cast<int>(data.size()));
    }
}

}  // namespace swfplayer
