#include "swfplayer/base/inflating_file.h"

#include <zlib.h>

#include <cassert>
#include <cstring>

namespace swfplayer {

namespace {

constexpr int input_block = 4096;

struct inflater {
    base_file* source;
    z_stream zstream;
    int initial_position;  // the source's position when the inflater was made
    int logical_position;  // bytes produced so far
    bool at_end;           // zlib reported the end of the stream
    bool error;            // corrupt or truncated data: nothing more comes
    bool check_sum;        // the Adler-32 value is computed and compared
    Bytef input[input_block];
};

// Inflates up to count bytes into dst; stops when dst is full, at the end of the stream, when
// the source has nothing more and on corrupt data. The last two stop the stream for good.
int inflater_read(void* dst, int count, void* data) {
    inflater* state = static_cast<inflater*>(data);
    if (state->error || state->at_end || count <= 0) {
        return 0;
    }
    z_stream& z = state->zstream;
    z.next_out = static_cast<Bytef*>(dst);
    z.avail_out = static_cast<uInt>(count);
    bool source_empty = false;
    while (z.avail_out > 0) {
        if (z.avail_in == 0 && !source_empty) {
            int got = state->source->read_bytes(state->input, input_block);
            if (got > 0) {
                z.next_in = state->input;
                z.avail_in = static_cast<uInt>(got > input_block ? input_block : got);
            } else {
                // zlib may still hold output; once it can make no progress the data was cut short.
                source_empty = true;
            }
        }
        int result = inflate(&z, Z_SYNC_FLUSH);
        if (result == Z_STREAM_END) {
            state->at_end = true;
            break;
        }
        if (result != Z_OK) {
            // Corrupt data, or (Z_BUF_ERROR) the compressed data ended before the stream did.
            state->error = true;
            break;
        }
    }
    int produced = count - static_cast<int>(z.avail_out);
    z.next_out = nullptr;
    z.avail_out = 0;
    state->logical_position += produced;
    return produced;
}

int inflater_write(const void*, int, void*) {
    return 0;
}

// Inflates and drops bytes until the logical position reaches target or nothing more comes.
void inflater_skip_to(inflater* state, int target) {
    Bytef scratch[input_block];
    while (state->logical_position < target) {
        int wanted = target - state->logical_position;
        if (inflater_read(scratch, wanted < input_block ? wanted : input_block, state) <= 0) {
            return;
        }
    }
}

// Seeking backwards restarts decompression from the beginning of the compressed data.
int inflater_seek(int position, void* data) {
    inflater* state = static_cast<inflater*>(data);
    if (state->error) {
        return base_file::seek_error;
    }
    if (position < state->logical_position) {
        state->at_end = false;
        // A reset stream checks its sum again unless told otherwise.
        if (inflateReset(&state->zstream) != Z_OK ||
            (!state->check_sum && inflateValidate(&state->zstream, 0) != Z_OK)) {
            state->error = true;
            return base_file::seek_error;
        }
        state->zstream.next_in = nullptr;
        state->zstream.avail_in = 0;
        state->source->set_position(state->initial_position);
        state->logical_position = 0;
    }
    inflater_skip_to(state, position);
    return state->logical_position == position ? base_file::no_error : base_file::seek_error;
}

int inflater_seek_to_end(void* data) {
    inflater* state = static_cast<inflater*>(data);
    Bytef scratch[input_block];
    while (inflater_read(scratch, input_block, state) > 0) {
    }
    return base_file::no_error;
}

int inflater_tell(void* data) {
    return static_cast<inflater*>(data)->logical_position;
}

// A stream that stopped on an error has ended too, so readers waiting for the end stop.
bool inflater_get_eof(void* data) {
    inflater* state = static_cast<inflater*>(data);
    return state->at_end || state->error;
}

// Gives back the input that zlib read ahead but did not use, so the source continues just after
// the compressed data, then frees the state.
int inflater_close(void* data) {
    inflater* state = static_cast<inflater*>(data);
    if (state->zstream.avail_in > 0) {
        int position = state->source->get_position() - static_cast<int>(state->zstream.avail_in);
        state->source->set_position(position < state->initial_position ? state->initial_position : position);
    }
    int result = inflateEnd(&state->zstream) == Z_OK ? base_file::no_error : base_file::close_error;
    delete state;
    return result;
}

}  // namespace

base_file* make_inflating_file(base_file* source, bool check_sum) {
    assert(source);
    inflater* state = new inflater;
    state->source = source;
    std::memset(&state->zstream, 0, sizeof(state->zstream));
    state->initial_position = source->get_position();
    state->logical_position = 0;
    state->at_end = false;
    state->error = inflateInit(&state->zstream) != Z_OK;
    state->check_sum = check_sum;
    if (!state->error && !check_sum) {
        state->error = inflateValidate(&state->zstream, 0) != Z_OK;
    }
    return new base_file(state, inflater_read, inflater_write, inflater_seek, inflater_seek_to_end, inflater_tell,
                         inflater_get_eof, inflater_close);
}

}  // namespace swfplayer
