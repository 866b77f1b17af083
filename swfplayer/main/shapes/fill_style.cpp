#include "swfplayer/main/shapes/fill_style.h"

#include "swfplayer/base/image.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/movie_definition.h"
#include "swfplayer/main/shapes/gradient_bitmaps.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <memory>

namespace swfplayer {

namespace {

constexpr int linear_gradient_width = 256;
constexpr int radial_gradient_size = 64;

// Reads the gradient records of a FILLSTYLE: a count in the low four bits (spread and
// interpolation modes above them are dropped), then ratio and colour per record.
void read_gradient_records(stream* in, int tag_type, array<gradient_record>* records) {
    int count = in->read_u8() & 0x0F;
    if (get_verbose_parse()) {
        log_msg("  gradients: num_gradients = %d\n", count);
    }
    records->resize(count);
    // The records are taken in one read: a ratio byte and the colour's bytes (no alpha before
    // DefineShape3) each. Bytes the tag lacks read as 0, as field by field.
    const bool with_alpha = tag_type > tag_define_shape2;
    const int record_size = with_alpha ? 5 : 4;
    uint8_t bytes[max_gradient_records * 5];
    in->read_bytes(bytes, count * record_size);
    for (int i = 0; i < count; i++) {
        const uint8_t* record = bytes + i * record_size;
        (*records)[i].m_ratio = record[0];
        (*records)[i].m_color = rgba(record[1], record[2], record[3], with_alpha ? record[4] : 255);
    }
}

// A focal radial gradient: placement, records in RGBA and the focal point, all dropped.
void skip_focal_gradient(stream* in) {
    matrix placement;
    placement.read(in);
    int count = in->read_u8() & 0x0F;
    for (int i = 0; i < count; i++) {
        in->read_u8();
        rgba color;
        color.read_rgba(in);
    }
    in->read_u16();
}

}  // namespace

matrix fill_style::gradient_matrix_for(int type, const matrix& placement) {
    matrix m;
    if (type == fill_linear_gradient) {
        m.concatenate_translation(128.0f, 0.0f);
        m.concatenate_scale(1.0f / 128.0f);
    } else {
        m.concatenate_translation(32.0f, 32.0f);
        m.concatenate_scale(1.0f / 512.0f);
    }
    matrix inverse;
    inverse.set_inverse(placement);
    m.concatenate(inverse);
    return m;
}

void fill_style::read(stream* in, int tag_type, movie_definition_sub* md) {
    m_type = in->read_u8();
    if (get_verbose_parse()) {
        log_msg("  fill_style read type = 0x%X\n", static_cast<unsigned>(m_type));
    }
    if (m_type == fill_solid) {
        m_color.read(in, tag_type);
        if (get_verbose_parse()) {
            log_msg("  color: ");
            m_color.print();
        }
    } else if (is_gradient()) {
        matrix placement;
        placement.read(in);
        m_gradient_matrix = gradient_matrix_for(m_type, placement);
        read_gradient_records(in, tag_type, &m_gradients);
        if (!m_gradients.empty()) {
            m_color = m_gradients[0].m_color;
        }
        // Made at the first apply with a renderer installed, so that loading, cached or not,
        // makes none; it then joins this movie's bitmaps.
        m_gradient_bitmap_info = nullptr;
        m_movie = md;
    } else if (m_type == fill_focal_gradient) {
        skip_focal_gradient(in);
    } else if (is_bitmap()) {
        int id = in->read_u16();
        if (get_verbose_parse()) {
            log_msg("  bitmap_char = %d\n", id);
        }
        m_bitmap_character = find_bitmap_character(md, id);
        matrix placement;
        placement.read(in);
        m_bitmap_matrix.set_inverse(placement);
        if (get_verbose_parse()) {
            m_bitmap_matrix.print();
        }
    } else {
        log_error("fill_style::read: unknown fill style type 0x%X\n", static_cast<unsigned>(m_type));
        m_type = fill_unknown;
    }
}

rgba fill_style::sample(int ratio) const {
    if (m_gradients.empty()) {
        return m_color;
    }
    if (ratio < m_gradients[0].m_ratio) {
        return m_gradients[0].m_color;
    }
    for (int i = 1; i < m_gradients.size(); i++) {
        const gradient_record& hi = m_gradients[i];
        if (hi.m_ratio >= ratio) {
            const gradient_record& lo = m_gradients[i - 1];
            float f = 0.0f;
            if (hi.m_ratio != lo.m_ratio) {
                f = static_cast<float>(ratio - lo.m_ratio) / static_cast<float>(hi.m_ratio - lo.m_ratio);
            }
            rgba result;
            result.set_lerp(lo.m_color, hi.m_color, f);
            return result;
        }
    }
    return m_gradients.back().m_color;
}

// The ratio of every pixel of the radial gradient bitmap: r = the distance from the centre
// (31.5, 31.5) in units of 31.5, ratio = floor(r * 255.5), at most 255. The same for every
// radial gradient, so worked out once.
const std::array<uint8_t, radial_gradient_size * radial_gradient_size>& radial_ratios() {
    static const auto ratios = [] {
        std::array<uint8_t, radial_gradient_size * radial_gradient_size> table{};
        const float center = (radial_gradient_size - 1) / 2.0f;
        for (int y = 0; y < radial_gradient_size; y++) {
            for (int x = 0; x < radial_gradient_size; x++) {
                float dx = (x - center) / center;
                float dy = (y - center) / center;
                table[y * radial_gradient_size + x] = static_cast<uint8_t>(
                    std::min(static_cast<int>(std::floor(std::sqrt(dx * dx + dy * dy) * 255.5f)), 255));
            }
        }
        return table;
    }();
    return ratios;
}

void fill_style::write_gradient_pixels(uint8_t* pixels, int pitch) const {
    // Each ratio's colour once, as the four bytes of a pixel; a pixel copies the colour of its
    // ratio.
    std::array<std::array<uint8_t, 4>, 256> ramp;
    for (int ratio = 0; ratio < 256; ratio++) {
        const rgba c = sample(ratio);
        ramp[ratio] = {c.r, c.g, c.b, c.a};
    }
    if (m_type == fill_linear_gradient) {
        std::memcpy(pixels, ramp.data(), sizeof(ramp));
        return;
    }
    const auto& ratios = radial_ratios();
    for (int y = 0; y < radial_gradient_size; y++) {
        uint8_t* row = pixels + static_cast<size_t>(pitch) * y;
        const uint8_t* ratio = &ratios[y * radial_gradient_size];
        for (int x = 0; x < radial_gradient_size; x++) {
            std::memcpy(row + 4 * x, ramp[ratio[x]].data(), 4);
        }
    }
}

void fill_style::gradient_size(int* width, int* height) const {
    const bool linear = m_type == fill_linear_gradient;
    *width = linear ? linear_gradient_width : radial_gradient_size;
    *height = linear ? 1 : radial_gradient_size;
}

std::vector<uint8_t> fill_style::gradient_pixels(int* width, int* height) const {
    gradient_size(width, height);
    std::vector<uint8_t> pixels(static_cast<size_t>(4 * *width * *height));
    write_gradient_pixels(pixels.data(), 4 * *width);
    return pixels;
}

bitmap_info* fill_style::create_gradient_bitmap() const {
    int width = 0;
    int height = 0;
    gradient_size(&width, &height);
    std::unique_ptr<image::rgba> im = image::create_rgba(width, height);
    write_gradient_pixels(im->data.get(), im->pitch);
    return render::create_bitmap_info_rgba(im.get());
}

bool fill_style::apply_fill(int fill_side) const {
    if (m_type == fill_solid) {
        render::fill_style_color(fill_side, m_color);
        return true;
    }
    if (is_gradient()) {
        if (m_gradients.empty()) {
            return false;
        }
        if (!m_gradient_bitmap_info) {
            bool made = false;
            m_gradient_bitmap_info = gradient_bitmaps::instance().get(*this, &made);
            if (made && m_movie.get_ptr()) {
                m_movie->add_bitmap_info(m_gradient_bitmap_info.get_ptr());
            }
        }
        render::fill_style_bitmap(fill_side, m_gradient_bitmap_info.get_ptr(), m_gradient_matrix, 1);
        return true;
    }
    if (is_bitmap()) {
        bitmap_info* bi = m_bitmap_character ? m_bitmap_character->get_bitmap_info() : nullptr;
        if (!bi) {
            return false;
        }
        bool clamp = m_type == fill_clipped_bitmap || m_type == fill_clipped_bitmap_hard;
        render::fill_style_bitmap(fill_side, bi, m_bitmap_matrix, clamp ? 1 : 0);
        return true;
    }
    return false;
}

void fill_style::apply(int fill_side, float) const {
    apply_fill(fill_side);
}

void fill_style::set_lerp(const fill_style& a, const fill_style& b, float t) {
    m_type = a.m_type;
    m_color.set_lerp(a.m_color, b.m_color, t);
    m_gradient_matrix.set_lerp(a.m_gradient_matrix, b.m_gradient_matrix, t);
    int count = std::min({m_gradients.size(), a.m_gradients.size(), b.m_gradients.size()});
    for (int i = 0; i < count; i++) {
        const gradient_record& ra = a.m_gradients[i];
        const gradient_record& rb = b.m_gradients[i];
        float ratio = ra.m_ratio + (rb.m_ratio - ra.m_ratio) * t + 0.5f;
        m_gradients[i].m_ratio = static_cast<uint8_t>(std::clamp(ratio, 0.0f, 255.0f));
        m_gradients[i].m_color.set_lerp(ra.m_color, rb.m_color, t);
    }
    m_gradient_bitmap_info = nullptr;
    m_bitmap_character = a.m_bitmap_character;
    m_bitmap_matrix.set_lerp(a.m_bitmap_matrix, b.m_bitmap_matrix, t);
}

bitmap_character_def* find_bitmap_character(movie_definition_sub* md, int id) {
    // Only bitmap loaders fill the bitmap dictionary; the cast guards against anything else.
    return md ? dynamic_cast<bitmap_character_def*>(md->get_bitmap_character(id)) : nullptr;
}

}  // namespace swfplayer
