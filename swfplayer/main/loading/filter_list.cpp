#include "swfplayer/main/loading/filter_list.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/rgba.h"
#include "swfplayer/main/common/stream.h"

namespace swfplayer {

namespace {

enum filter_id {
    DROP_SHADOW = 0,
    BLUR = 1,
    GLOW = 2,
    BEVEL = 3,
    GRADIENT_GLOW = 4,
    CONVOLUTION = 5,
    COLOR_MATRIX = 6,
    GRADIENT_BEVEL = 7,
};

const char* const s_filter_lines[] = {
    "  filter = DropShadowFilter\n",  "  filter = BlurFilter\n",          "  filter = GlowFilter\n",
    "  filter = BevelFilter\n",       "  filter = GradientGlowFilter\n",  "  filter = ConvolutionFilter\n",
    "  filter = ColorMatrixFilter\n", "  filter = GradientBevelFilter\n",
};

void skip_rgba(stream* in) {
    rgba color;
    color.read_rgba(in);
}

void skip_fixed(stream* in, int count) {
    for (int i = 0; i < count; i++) {
        in->read_fixed();
    }
}

// Reads the body of one filter; false when it would run past the tag's end.
bool read_filter_body(stream* in, int id) {
    switch (id) {
    case DROP_SHADOW:
        skip_rgba(in);
        skip_fixed(in, 4);  // blur x, blur y, angle, distance
        in->read_u16();     // strength, 8.8
        in->read_bool();    // inner shadow
        in->read_bool();    // knockout
        in->read_bool();    // composite source
        in->read_uint(5);   // passes
        return true;
    case BLUR:
        skip_fixed(in, 2);
        in->read_uint(5);  // passes
        in->read_uint(3);  // reserved
        return true;
    case GLOW:
        skip_rgba(in);
        skip_fixed(in, 2);
        in->read_u16();
        in->read_uint(3);  // inner glow, knockout, composite source
        in->read_uint(5);
        return true;
    case BEVEL:
        skip_rgba(in);  // shadow
        skip_rgba(in);  // highlight
        skip_fixed(in, 4);
        in->read_u16();
        in->read_uint(4);  // inner shadow, knockout, composite source, on top
        in->read_uint(4);  // passes
        return true;
    case GRADIENT_GLOW:
    case GRADIENT_BEVEL: {
        int colors = in->read_u8();
        if (5 * colors + 19 > in->get_tag_bytes_left()) {
            return false;
        }
        for (int i = 0; i < colors; i++) {
            skip_rgba(in);
        }
        for (int i = 0; i < colors; i++) {
            in->read_u8();  // ratio
        }
        skip_fixed(in, 4);
        in->read_u16();
        in->read_uint(4);
        in->read_uint(4);
        return true;
    }
    case CONVOLUTION: {
        int width = in->read_u8();
        int height = in->read_u8();
        if (4 * width * height + 13 > in->get_tag_bytes_left()) {
            return false;
        }
        in->read_float();  // divisor
        in->read_float();  // bias
        for (int i = 0; i < width * height; i++) {
            in->read_float();
        }
        skip_rgba(in);     // default colour
        in->read_uint(6);  // reserved
        in->read_bool();   // clamp
        in->read_bool();   // preserve alpha
        return true;
    }
    case COLOR_MATRIX:
        for (int i = 0; i < 20; i++) {
            in->read_float();
        }
        return true;
    default: return false;
    }
}

}  // namespace

bool read_filters(stream* in) {
    int count = in->read_u8();
    for (int i = 0; i < count; i++) {
        int id = in->read_u8();
        if (id > GRADIENT_BEVEL) {
            log_error("read_filters: unknown filter id %d; the rest of the record is skipped\n", id);
            return false;
        }
        if (!read_filter_body(in, id)) {
            log_error("read_filters: filter %d runs past the end of its tag\n", id);
            return false;
        }
        if (get_verbose_parse()) {
            log_msg("%s", s_filter_lines[id]);
        }
    }
    return true;
}

}  // namespace swfplayer
