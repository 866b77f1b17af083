#include "swfplayer/main/shapes/shape_character_def.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/bit_reader.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/shapes/cache_io.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <vector>

namespace swfplayer {

namespace {

// No display asks for coarser meshes than this (twips).
constexpr float max_error_tolerance = 1e6f;
// A cache record holds no more mesh sets than this; a shape builds one per scale class.
constexpr int max_cached_mesh_sets = 64;

float s_curve_max_pixel_error = 0.5f;

// A style takes at least a byte, so a style count is cut to the bytes left in the tag.
int fit_style_count(stream* in, int count) {
    return in->get_tag_depth() > 0 ? std::min(count, in->get_tag_bytes_left()) : count;
}

// A style count: one byte, 255 escaping to a 16-bit count.
int read_style_count(stream* in, bool escape) {
    int count = in->read_u8();
    if (escape && count == 255) {
        count = in->read_u16();
    }
    return fit_style_count(in, count);
}

// A path while its shape's records are read: its styles, its start and where its edges begin
// among the edges read so far (they end where the next path's begin).
struct path_head {
    int fill0 = 0;
    int fill1 = 0;
    int line = 0;
    float ax = 0.0f;
    float ay = 0.0f;
    int first_edge = 0;
    bool new_shape = false;
};

// The edges read so far: the first count elements of room. Adding one costs no call while
// room lasts.
struct edge_list {
    std::vector<edge> room;
    int count = 0;

    void add(float cx, float cy, float ax, float ay) {
        if (count == static_cast<int>(room.size())) {
            room.resize(room.size() * 2 + 64);
        }
        room[count++] = edge(cx, cy, ax, ay);
    }
};

// Room for the paths and edges of the shape being read.
struct shape_scratch {
    std::vector<path_head> heads;
    edge_list edges;
};

// Scratch storage larger than this (edges) goes when its shape is read, so one huge shape
// does not keep its memory for the rest of the run.
constexpr size_t max_kept_scratch_edges = 64 * 1024;

// One set of scratch storage per thread, lent to a shape while it reads its records.
thread_local shape_scratch t_spare_scratch;

shape_scratch take_shape_scratch() {
    shape_scratch scratch = std::move(t_spare_scratch);
    scratch.heads.clear();
    scratch.edges.count = 0;
    return scratch;
}

void give_back_shape_scratch(shape_scratch&& scratch) {
    if (scratch.edges.room.size() <= max_kept_scratch_edges && scratch.heads.capacity() <= max_kept_scratch_edges) {
        t_spare_scratch = std::move(scratch);
    }
}

// Appends the paths read to paths, each with its own edges.
void store_paths(const std::vector<path_head>& heads, const edge_list& edges, array<path>* paths) {
    int first = paths->size();
    int count = static_cast<int>(heads.size());
    paths->reserve(first + count);
    paths->resize(first + count);
    for (int i = 0; i < count; i++) {
        const path_head& head = heads[i];
        path& p = (*paths)[first + i];
        p.m_new_shape = head.new_shape;
        if (head.new_shape) {
            continue;  // a separator has no styles or edges
        }
        p.m_fill0 = head.fill0;
        p.m_fill1 = head.fill1;
        p.m_line = head.line;
        p.m_ax = head.ax;
        p.m_ay = head.ay;
        int end = i + 1 < count ? heads[i + 1].first_edge : edges.count;
        int edge_count = end - head.first_edge;
        p.m_edges.reserve(edge_count);
        p.m_edges.resize(edge_count);
        std::copy(edges.room.begin() + head.first_edge, edges.room.begin() + end, p.m_edges.begin());
    }
}

// A 1-based style number that lies beyond count styles becomes 0.
bool clear_if_beyond(int* style, int count) {
    if (*style > count) {
        *style = 0;
        return true;
    }
    return false;
}

}  // namespace

void set_curve_max_pixel_error(float pixel_error) {
    s_curve_max_pixel_error = std::isnan(pixel_error) ? 1e6f : std::clamp(pixel_error, 1e-6f, 1e6f);
}

float get_curve_max_pixel_error() {
    return s_curve_max_pixel_error;
}

shape_character_def::shape_character_def(player* owner) : character_def(owner) {}

shape_character_def::~shape_character_def() = default;

void shape_character_def::copy_shape_from(const shape_character_def& other) {
    m_fill_styles = other.m_fill_styles;
    m_line_styles = other.m_line_styles;
    m_paths = other.m_paths;
    m_bound = other.m_bound;
    m_edge_bound = other.m_edge_bound;
    m_uses_nonscaling_strokes = other.m_uses_nonscaling_strokes;
    m_uses_scaling_strokes = other.m_uses_scaling_strokes;
    m_cached_meshes.clear();
}

bool shape_character_def::read_fill_styles(stream* in, int tag_type, movie_definition_sub* md) {
    int count = read_style_count(in, tag_type > tag_define_shape);
    if (get_verbose_parse()) {
        log_msg("  read_fill_styles: count = %d\n", count);
    }
    // Read in place: the styles are made in one step rather than pushed one by one.
    int first = m_fill_styles.size();
    m_fill_styles.resize(first + count);
    for (int i = 0; i < count; i++) {
        fill_style& style = m_fill_styles[first + i];
        style.read(in, tag_type, md);
        if (style.get_type() == fill_unknown) {
            m_fill_styles.resize(first + i + 1);  // the styles after it are never read
            return false;
        }
    }
    return true;
}

void shape_character_def::read_line_styles(stream* in, int tag_type, movie_definition_sub* md) {
    int count = in->read_u8();
    if (get_verbose_parse()) {
        log_msg("  read_line_styles: count = %d\n", count);
    }
    if (count == 255) {
        count = in->read_u16();
        if (get_verbose_parse()) {
            log_msg("  read_line_styles: count2 = %d\n", count);
        }
    }
    count = fit_style_count(in, count);
    int first = m_line_styles.size();
    m_line_styles.resize(first + count);
    for (int i = 0; i < count; i++) {
        m_line_styles[first + i].read(in, tag_type, md);
    }
}

void shape_character_def::read(stream* in, int tag_type, bool with_style, movie_definition_sub* md) {
    if (with_style) {
        m_bound.read(in);
        if (tag_type == tag_define_shape4) {
            m_edge_bound.read(in);
            int flags = in->read_u8();
            if (flags & 0xFC) {
                log_error("shape_character_def::read: flags 0x%X beyond the stroke flags ignored\n", flags);
            }
            m_uses_nonscaling_strokes = (flags & 2) != 0;
            m_uses_scaling_strokes = (flags & 1) != 0;
        }
        if (!read_fill_styles(in, tag_type, md)) {
            return;
        }
        read_line_styles(in, tag_type, md);
    }
    read_records(in, tag_type, md);
    if (with_style) {
        validate_style_indices();
    }
}

void shape_character_def::read_records(stream* in, int tag_type, movie_definition_sub* md) {
    bit_reader bits_in(in);
    int fill_bits = static_cast<int>(bits_in.read_uint(4));
    int line_bits = static_cast<int>(bits_in.read_uint(4));
    if (get_verbose_parse()) {
        log_msg("  shape_character read: nfillbits = %d, nlinebits = %d\n", fill_bits, line_bits);
    }
    // The paths and their edges gather in scratch storage kept from shape to shape, and go into
    // the shape once, when the records end: the shape then holds arrays of exactly the sizes
    // read, made with one allocation each.
    shape_scratch scratch = take_shape_scratch();
    std::vector<path_head>& heads = scratch.heads;
    edge_list& edges = scratch.edges;
    float x = 0.0f;
    float y = 0.0f;
    int fill_base = 0;
    int line_base = 0;
    // The styles and start of the path being read; its edges are those after its first edge.
    path_head current;
    // Ends the current path when it has edges; the next one starts with its styles.
    auto flush = [&]() {
        if (edges.count == current.first_edge) {
            return false;
        }
        heads.push_back(current);
        current.first_edge = edges.count;
        return true;
    };
    // A style change: a path with edges ends and the next starts at the pen.
    auto change_style = [&](int* style, int bits, int base) {
        if (flush()) {
            current.ax = x;
            current.ay = y;
        }
        int value = static_cast<int>(bits_in.read_uint(bits));
        *style = value > 0 ? value + base : value;
    };
    // Bits past the tag's end read as zeros, which make an end record, so the loop ends.
    for (;;) {
        if (bits_in.read_uint(1) == 0) {
            int flags = static_cast<int>(bits_in.read_uint(5));
            if (flags == 0) {
                flush();
                break;
            }
            if (flags & 0x01) {
                flush();
                int bits = static_cast<int>(bits_in.read_uint(5));
                x = static_cast<float>(bits_in.read_sint(bits));
                y = static_cast<float>(bits_in.read_sint(bits));
                current.ax = x;
                current.ay = y;
            }
            if ((flags & 0x02) && fill_bits > 0) {
                change_style(&current.fill0, fill_bits, fill_base);
            }
            if ((flags & 0x04) && fill_bits > 0) {
                change_style(&current.fill1, fill_bits, fill_base);
            }
            if ((flags & 0x08) && line_bits > 0) {
                change_style(&current.line, line_bits, line_base);
            }
            if (flags & 0x10) {
                if (get_verbose_parse()) {
                    log_msg("  shape_character read: more fill styles\n");
                }
                if (flush()) {
                    current.fill0 = current.fill1 = current.line = -1;
                }
                path_head separator;
                separator.first_edge = edges.count;
                separator.new_shape = true;
                heads.push_back(separator);
                fill_base = m_fill_styles.size();
                line_base = m_line_styles.size();
                bits_in.release();  // the new styles are byte-aligned records
                if (!read_fill_styles(in, tag_type, md)) {
                    break;
                }
                read_line_styles(in, tag_type, md);
                bits_in.resume();
                fill_bits = static_cast<int>(bits_in.read_uint(4));
                line_bits = static_cast<int>(bits_in.read_uint(4));
            }
            continue;
        }
        bool straight = bits_in.read_uint(1) == 1;
        int bits = static_cast<int>(bits_in.read_uint(4)) + 2;
        if (!straight) {
            float cx = x + bits_in.read_sint(bits);
            float cy = y + bits_in.read_sint(bits);
            float ax = cx + bits_in.read_sint(bits);
            float ay = cy + bits_in.read_sint(bits);
            edges.add(cx, cy, ax, ay);
            x = ax;
            y = ay;
            continue;
        }
        float dx = 0.0f;
        float dy = 0.0f;
        if (bits_in.read_uint(1) == 1) {
            dx = static_cast<float>(bits_in.read_sint(bits));
            dy = static_cast<float>(bits_in.read_sint(bits));
        } else if (bits_in.read_uint(1) == 1) {
            dy = static_cast<float>(bits_in.read_sint(bits));
        } else {
            dx = static_cast<float>(bits_in.read_sint(bits));
        }
        x += dx;
        y += dy;
        edges.add(x, y, x, y);
    }
    store_paths(heads, edges, &m_paths);
    give_back_shape_scratch(std::move(scratch));
}

void shape_character_def::validate_style_indices() {
    bool cleared = false;
    for (int i = 0; i < m_paths.size(); i++) {
        path& p = m_paths[i];
        cleared |= clear_if_beyond(&p.m_fill0, m_fill_styles.size());
        cleared |= clear_if_beyond(&p.m_fill1, m_fill_styles.size());
        cleared |= clear_if_beyond(&p.m_line, m_line_styles.size());
    }
    if (cleared) {
        log_error("shape_character_def::read: style numbers beyond the %d fill and %d line styles drawn as none\n",
                  m_fill_styles.size(), m_line_styles.size());
    }
}

bool shape_character_def::point_test_local(float x, float y) const {
    if (!m_bound.point_test(x, y)) {
        return false;
    }
    // Crossings per fill style; a path bounding one style on both sides crosses it twice.
    std::map<int, int> crossings;
    for (int i = 0; i < m_paths.size(); i++) {
        const path& p = m_paths[i];
        if (p.m_fill0 <= 0 && p.m_fill1 <= 0) {
            if (p.point_test(x, y)) {
                return true;
            }
            continue;
        }
        int count = p.crossings(x, y);
        for (int style : {p.m_fill0, p.m_fill1}) {
            if (style > 0) {
                crossings[style] += count;
            }
        }
    }
    for (const auto& [style, count] : crossings) {
        if (count & 1) {
            return true;
        }
    }
    return false;
}

void shape_character_def::display(character* instance) {
    character* parent = instance->get_parent();
    display(instance->get_world_matrix(), instance->get_world_cxform(), parent ? parent->get_pixel_scale() : 1.0f,
            m_fill_styles, m_line_styles);
}

float shape_character_def::wanted_tolerance(float max_scale, float pixel_scale) {
    float wanted = 20.0f / max_scale / pixel_scale * s_curve_max_pixel_error;
    if (std::isnan(wanted)) {
        return max_error_tolerance;
    }
    return std::clamp(wanted, min_error_tolerance, max_error_tolerance);
}

void shape_character_def::display(const matrix& mat, const cxform& cx, float pixel_scale,
                                  const array<fill_style>& fills, const array<line_style>& lines) {
    float scale = mat.get_max_scale();
    if (!(std::fabs(scale) >= 1e-6f)) {
        return;
    }
    float wanted = wanted_tolerance(scale, pixel_scale);
    for (const std::unique_ptr<mesh_set>& set : m_cached_meshes) {
        float tolerance = set->get_error_tolerance();
        if (tolerance * 3.0f < wanted) {
            break;
        }
        if (tolerance < wanted) {
            set->display(mat, cx, fills, lines);
            return;
        }
    }
    m_cached_meshes.push_back(std::make_unique<mesh_set>(this, wanted * 0.75f));
    m_cached_meshes.back()->display(mat, cx, fills, lines);
    std::sort(m_cached_meshes.begin(), m_cached_meshes.end(),
              [](const std::unique_ptr<mesh_set>& a, const std::unique_ptr<mesh_set>& b) {
                  return a->get_error_tolerance() > b->get_error_tolerance();
              });
}

void shape_character_def::tesselate_new(float error_tolerance, tesselate_new::mesh_accepter* accepter) const {
    namespace tess = swfplayer::tesselate_new;
    tess::begin_shape(accepter, error_tolerance);
    for (int i = 0; i < m_paths.size(); i++) {
        const path& p = m_paths[i];
        if (p.m_new_shape) {
            tess::end_shape();
            tess::begin_shape(accepter, error_tolerance);
            continue;
        }
        tesselate_path(p);
    }
    tess::end_shape();
}

void shape_character_def::tesselate_path(const path& p) {
    namespace tess = swfplayer::tesselate_new;
    tess::begin_path(p.m_fill0 - 1, p.m_fill1 - 1, p.m_line - 1, p.m_ax, p.m_ay);
    for (int k = 0; k < p.m_edges.size(); k++) {
        const edge& e = p.m_edges[k];
        tess::add_curve_segment(e.m_cx, e.m_cy, e.m_ax, e.m_ay);
    }
    tess::end_path();
}

void shape_character_def::output_cached_data(base_file* out, int /*options*/) const {
    cache_io::write_i32(out, static_cast<int32_t>(m_cached_meshes.size()));
    for (const std::unique_ptr<mesh_set>& set : m_cached_meshes) {
        set->output_cached_data(out);
    }
}

bool shape_character_def::input_cached_data(base_file* in) {
    int32_t count;
    if (!cache_io::read_i32(in, &count) || count < 0 || count > max_cached_mesh_sets) {
        log_error("shape_character_def::input_cached_data: bad mesh set count\n");
        return false;
    }
    m_cached_meshes.clear();
    bool complete = true;
    for (int32_t i = 0; i < count; i++) {
        auto set = std::make_unique<mesh_set>();
        if (!set->input_cached_data(in)) {
            log_error("shape_character_def::input_cached_data: mesh set %d is cut short or corrupt\n", i);
            complete = false;
            break;
        }
        // The selection walk needs strictly decreasing tolerances: a set out of order is dropped.
        if (!m_cached_meshes.empty() && !(set->get_error_tolerance() < m_cached_meshes.back()->get_error_tolerance())) {
            continue;
        }
        m_cached_meshes.push_back(std::move(set));
    }
    return complete;
}

}  // namespace swfplayer
