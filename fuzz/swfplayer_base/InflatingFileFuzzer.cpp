// Feeds arbitrary bytes to the inflating stream, read in chunk sizes and with seeks taken from
// the input, and checks that it terminates, never reports more bytes than asked for, and stays
// stopped once it has stopped.
#include "swfplayer/base/base_file.h"
#include "swfplayer/base/inflating_file.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

using swfplayer::base_file;

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2 || size > 1 << 16) {
        return 0;
    }
    // The first two bytes steer the reads; the rest is the compressed stream.
    int chunk = 1 + data[0] * 31;
    int seek_every = data[1];
    base_file source(swfplayer::memory_buffer, static_cast<int>(size - 2), data + 2);
    std::unique_ptr<base_file> in(swfplayer::make_inflating_file(&source));

    std::vector<uint8_t> buffer(chunk);
    int total = 0;
    int seeks = 0;
    // Enough reads for any output that is worth following; bounds highly compressible inputs.
    const int most_bytes = 1 << 20;
    for (int reads = 0; total < most_bytes && !in->get_eof(); reads++) {
        int got = in->read_bytes(buffer.data(), chunk);
        check(got >= 0 && got <= chunk);
        total += got;
        check(in->get_position() == total);
        if (got == 0) {
            break;
        }
        if (seek_every > 0 && seeks < 4 && reads % seek_every == seek_every - 1) {
            seeks++;
            // Seeking back replays from the start and lands where it was asked to, unless the
            // stream has stopped on bad data (then it stays where it is).
            bool stopped = in->get_eof();
            int back = total / 2;
            in->set_position(back);
            check(in->get_position() == back || (stopped && in->get_position() == total));
            total = in->get_position();
        }
    }
    if (in->get_eof()) {
        check(in->read_bytes(buffer.data(), chunk) == 0);
    }
    return 0;
}
