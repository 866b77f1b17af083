// A shape from bytes: the first byte picks the curve tolerance, then commands (2 bits of the
// command byte): begin a path (styles from the next byte: each in -2..1), add a line, add a
// curve, end a path. Coordinates are signed bytes scaled to twips. Every triangle corner and
// every line-strip point must be finite, and the accepter must see a well-formed call order.
#include "swfplayer/main/geometry/tesselate.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

class CheckingAccepter : public swfplayer::tesselate_new::mesh_accepter {
public:
    void begin_trilist(int style, int expected) override {
        if (m_in_list || style < 0 || expected <= 0 || m_ended)
            std::abort();
        m_in_list = true;
        m_expected = expected;
    }
    void accept_trilist_batch(const swfplayer::point* points, int count) override {
        if (!m_in_list || count != 3 * m_expected)
            std::abort();
        check(points, count);
    }
    void end_trilist() override {
        if (!m_in_list)
            std::abort();
        m_in_list = false;
    }
    void accept_line_strip(int style, const swfplayer::point* points, int count) override {
        if (m_in_list || style < 0 || count < 2 || m_ended)
            std::abort();
        check(points, count);
    }
    void end_shape() override {
        if (m_in_list || m_ended)
            std::abort();
        m_ended = true;
    }
    bool ended() const { return m_ended; }

private:
    static void check(const swfplayer::point* points, int count) {
        for (int i = 0; i < count; i++) {
            if (!std::isfinite(points[i].x) || !std::isfinite(points[i].y))
                std::abort();
        }
    }
    bool m_in_list = false;
    bool m_ended = false;
    int m_expected = 0;
};

float coordinate(const uint8_t* data, size_t size, size_t* at) {
    return *at < size ? static_cast<int8_t>(data[(*at)++]) * 20.0f : 0.0f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    namespace tess = swfplayer::tesselate_new;
    const float tolerances[4] = {0.5f, 5.0f, 50.0f, 0.01f};
    CheckingAccepter accepter;
    tess::begin_shape(&accepter, tolerances[data[0] % 4]);
    size_t at = 1;
    bool in_path = false;
    int commands = 0;
    while (at < size && commands++ < 4096) {
        uint8_t command = data[at++];
        if ((command & 3) == 0 || !in_path) {
            if (in_path) {
                tess::end_path();
            }
            uint8_t styles = at < size ? data[at++] : 0;
            int fill0 = (styles & 3) - 2, fill1 = ((styles >> 2) & 3) - 2, line = ((styles >> 4) & 3) - 2;
            float x = coordinate(data, size, &at);
            float y = coordinate(data, size, &at);
            tess::begin_path(fill0, fill1, line, x, y);
            in_path = true;
        } else if ((command & 3) == 1) {
            float x = coordinate(data, size, &at);
            float y = coordinate(data, size, &at);
            tess::add_line_segment(x, y);
        } else if ((command & 3) == 2) {
            float cx = coordinate(data, size, &at);
            float cy = coordinate(data, size, &at);
            float x = coordinate(data, size, &at);
            float y = coordinate(data, size, &at);
            tess::add_curve_segment(cx, cy, x, y);
        } else {
            tess::end_path();
            in_path = false;
        }
    }
    if (in_path) {
        tess::end_path();
    }
    tess::end_shape();
    if (!accepter.ended()) {
        std::abort();
    }
    return 0;
}
