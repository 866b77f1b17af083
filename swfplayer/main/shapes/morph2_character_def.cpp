#include "swfplayer/main/shapes/morph2_character_def.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/display/movie_definition.h"

#include <algorithm>
#include <cmath>

namespace swfplayer {

namespace {

constexpr int max_morph_gradient_records = 8;

float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

int count_edges(const shape_character_def& shape) {
    int count = 0;
    for (int i = 0; i < shape.m_paths.size(); i++) {
        count += shape.m_paths[i].m_edges.size();
    }
    return count;
}

// A style count: one byte, 255 escaping to a 16-bit count, cut to the bytes left in the tag.
int read_morph_style_count(stream* in) {
    int count = in->read_u8();
    if (count == 255) {
        count = in->read_u16();
    }
    return in->get_tag_depth() > 0 ? std::min(count, in->get_tag_bytes_left()) : count;
}

}  // namespace

morph2_character_def::morph2_character_def(player* owner)
    : shape_character_def(owner), m_shape1(new shape_character_def(owner)), m_shape2(new shape_character_def(owner)) {}

morph2_character_def::~morph2_character_def() = default;

bool morph2_character_def::read_fill_style(stream* in, int tag_type, movie_definition_sub* md, fill_style* start,
                                           fill_style* end) {
    int type = in->read_u8();
    if (get_verbose_parse()) {
        log_msg("morph fill style type = 0x%X\n", static_cast<unsigned>(type));
    }
    start->m_type = end->m_type = type;
    if (type == fill_solid) {
        start->m_color.read_rgba(in);
        end->m_color.read_rgba(in);
        if (get_verbose_parse()) {
            log_msg("morph fill style begin color: ");
            start->m_color.print();
            log_msg("morph fill style end color: ");
            end->m_color.print();
        }
        return true;
    }
    if (type == fill_linear_gradient || type == fill_radial_gradient) {
        matrix start_placement;
        matrix end_placement;
        start_placement.read(in);
        end_placement.read(in);
        start->m_gradient_matrix = fill_style::gradient_matrix_for(type, start_placement);
        end->m_gradient_matrix = fill_style::gradient_matrix_for(type, end_placement);
        int count = in->read_u8();
        if (get_verbose_parse()) {
            log_msg("morph fsr: num_gradients = %d\n", count);
        }
        if (count < 1 || count > max_morph_gradient_records) {
            log_error("morph2_character_def::read: gradient of %d records (1 to %d allowed)\n", count,
                      max_morph_gradient_records);
            return false;
        }
        start->m_gradients.resize(count);
        end->m_gradients.resize(count);
        for (int i = 0; i < count; i++) {
            start->m_gradients[i].m_ratio = in->read_u8();
            start->m_gradients[i].m_color.read(in, tag_type);
            end->m_gradients[i].m_ratio = in->read_u8();
            end->m_gradients[i].m_color.read(in, tag_type);
        }
        start->m_color = start->m_gradients[0].m_color;
        end->m_color = end->m_gradients[0].m_color;
        return true;
    }
    if (type >= fill_repeating_bitmap && type <= fill_clipped_bitmap_hard) {
        int id = in->read_u16();
        if (get_verbose_parse()) {
            log_msg("morph fsr bitmap_char = %d\n", id);
        }
        start->m_bitmap_character = end->m_bitmap_character = find_bitmap_character(md, id);
        matrix start_placement;
        matrix end_placement;
        start_placement.read(in);
        end_placement.read(in);
        start->m_bitmap_matrix.set_inverse(start_placement);
        end->m_bitmap_matrix.set_inverse(end_placement);
        return true;
    }
    log_error("morph2_character_def::read: unknown morph fill style type 0x%X\n", static_cast<unsigned>(type));
    return false;
}

bool morph2_character_def::read_line_styles(stream* in, int tag_type, movie_definition_sub* md) {
    m_line_style_count = read_morph_style_count(in);
    for (int i = 0; i < m_line_style_count; i++) {
        line_style start;
        line_style end;
        start.m_width = in->read_u16();
        end.m_width = in->read_u16();
        if (tag_type == tag_define_morph_shape) {
            start.m_color.read(in, tag_type);
            end.m_color.read(in, tag_type);
        } else {
            // One set of flags serves both ends.
            read_line_style2_flags(in, &start);
            uint16_t end_width = end.m_width;
            end = start;
            end.m_width = end_width;
            if (start.m_has_fill) {
                // The line's fill is read to keep the stream in step; lines draw in their colour.
                fill_style start_fill;
                fill_style end_fill;
                if (!read_fill_style(in, tag_type, md, &start_fill, &end_fill)) {
                    return false;
                }
            } else {
                start.m_color.read_rgba(in);
                end.m_color.read_rgba(in);
            }
        }
        m_shape1->m_line_styles.push_back(start);
        m_shape2->m_line_styles.push_back(end);
    }
    return true;
}

void morph2_character_def::read(stream* in, int tag_type, bool, movie_definition_sub* md) {
    m_valid = false;
    m_shape1->m_bound.read(in);
    m_shape2->m_bound.read(in);
    if (tag_type != tag_define_morph_shape) {
        rect edge_bound;
        edge_bound.read(in);
        edge_bound.read(in);
        int flags = in->read_u8();
        if (flags & 0xFC) {
            log_error("morph2_character_def::read: reserved flag bits 0x%X set\n", flags);
        }
        m_uses_nonscaling_strokes = (flags & 2) != 0;
        m_uses_scaling_strokes = (flags & 1) != 0;
    }
    m_offset = in->read_u32();
    m_fill_style_count = read_morph_style_count(in);
    for (int i = 0; i < m_fill_style_count; i++) {
        fill_style start;
        fill_style end;
        if (!read_fill_style(in, tag_type, md, &start, &end)) {
            return;
        }
        m_shape1->m_fill_styles.push_back(start);
        m_shape2->m_fill_styles.push_back(end);
    }
    // The line styles of a DefineMorphShape2 carry the LINESTYLE2 flags.
    if (!read_line_styles(in, tag_type, md)) {
        return;
    }
    m_shape1->read(in, tag_type, false, md);
    in->align();
    m_shape2->read(in, tag_type, false, md);
    m_valid = pair_shapes();
}

bool morph2_character_def::pair_shapes() {
    if (m_shape1->m_fill_styles.size() != m_shape2->m_fill_styles.size() ||
        m_shape1->m_line_styles.size() != m_shape2->m_line_styles.size()) {
        log_error("morph2_character_def::read: the start and end shapes have different style counts\n");
        return false;
    }
    if (count_edges(*m_shape1) != count_edges(*m_shape2)) {
        log_error("morph2_character_def::read: the start shape has %d edges, the end shape %d\n",
                  count_edges(*m_shape1), count_edges(*m_shape2));
        return false;
    }
    for (int i = 0; i < m_shape1->m_fill_styles.size(); i++) {
        if (m_shape1->m_fill_styles[i].m_gradients.size() != m_shape2->m_fill_styles[i].m_gradients.size()) {
            return false;
        }
    }
    m_fill_styles = m_shape1->m_fill_styles;
    m_line_styles = m_shape1->m_line_styles;
    m_paths = m_shape1->m_paths;
    validate_style_indices();
    // The blend reads its style numbers from the start shape's paths.
    for (int i = 0; i < m_paths.size(); i++) {
        m_shape1->m_paths[i].m_fill0 = m_paths[i].m_fill0;
        m_shape1->m_paths[i].m_fill1 = m_paths[i].m_fill1;
        m_shape1->m_paths[i].m_line = m_paths[i].m_line;
    }
    return true;
}

void morph2_character_def::blend(float t) {
    m_bound.set_lerp(m_shape1->m_bound, m_shape2->m_bound, t);
    for (int i = 0; i < m_fill_styles.size(); i++) {
        m_fill_styles[i].set_lerp(m_shape1->m_fill_styles[i], m_shape2->m_fill_styles[i], t);
    }
    for (int i = 0; i < m_line_styles.size(); i++) {
        const line_style& a = m_shape1->m_line_styles[i];
        const line_style& b = m_shape2->m_line_styles[i];
        float width = lerp(a.m_width, b.m_width, t) + 0.5f;
        m_line_styles[i].m_width = static_cast<uint16_t>(std::clamp(width, 0.0f, 65535.0f));
        m_line_styles[i].m_color.set_lerp(a.m_color, b.m_color, t);
    }
    // Edges pair in reading order over the whole shape: the end shape may split them into
    // paths differently. Its paths without edges (separators) hold nothing to pair.
    const array<path>& end_paths = m_shape2->m_paths;
    int n = 0;
    int k = 0;
    auto skip_empty = [&]() {
        while (n < end_paths.size() && end_paths[n].m_edges.empty()) {
            n++;
        }
    };
    for (int i = 0; i < m_paths.size(); i++) {
        const path& p1 = m_shape1->m_paths[i];
        path& p = m_paths[i];
        p.m_fill0 = p1.m_fill1;
        p.m_fill1 = p1.m_fill0;
        p.m_line = p1.m_line;
        skip_empty();
        if (n >= end_paths.size()) {
            p.m_ax = p1.m_ax;
            p.m_ay = p1.m_ay;
            continue;  // only separators are left, which have no edges
        }
        p.m_ax = lerp(p1.m_ax, end_paths[n].m_ax, t);
        p.m_ay = lerp(p1.m_ay, end_paths[n].m_ay, t);
        for (int j = 0; j < p1.m_edges.size(); j++) {
            skip_empty();
            const edge& e1 = p1.m_edges[j];
            const edge& e2 = end_paths[n].m_edges[k];
            p.m_edges[j] = edge(lerp(e1.m_cx, e2.m_cx, t), lerp(e1.m_cy, e2.m_cy, t), lerp(e1.m_ax, e2.m_ax, t),
                                lerp(e1.m_ay, e2.m_ay, t));
            if (++k == end_paths[n].m_edges.size()) {
                k = 0;
                n++;
            }
        }
    }
}

void morph2_character_def::display(character* instance) {
    character* parent = instance->get_parent();
    display(instance->get_world_matrix(), instance->get_world_cxform(), parent ? parent->get_pixel_scale() : 1.0f,
            instance->get_ratio());
}

void morph2_character_def::display(const matrix& mat, const cxform& cx, float pixel_scale, float ratio) {
    if (!m_valid) {
        return;
    }
    float t = std::isnan(ratio) ? 0.0f : std::clamp(ratio, 0.0f, 1.0f);
    float scale = mat.get_max_scale();
    if (!(std::fabs(scale) >= 1e-6f)) {
        return;
    }
    // The blended fields still hold the blend at the last ratio, so an unchanged ratio reuses
    // them with the mesh, gradient bitmaps included.
    if (t != m_last_ratio || !m_mesh) {
        blend(t);
        // Clamped as a shape's tolerance is: a huge scale must not flatten curves into an
        // unbounded number of segments.
        float error = 20.0f / scale / pixel_scale;
        error = std::isnan(error) ? 1e6f : std::clamp(error, min_error_tolerance, 1e6f);
        m_mesh = std::make_unique<mesh_set>(this, error * 0.75f);
        m_last_ratio = t;
        m_mesh_builds++;
    }
    m_mesh->display(mat, cx, m_fill_styles, m_line_styles);
}

}  // namespace swfplayer
