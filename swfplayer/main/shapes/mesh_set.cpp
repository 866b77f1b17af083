#include "swfplayer/main/shapes/mesh_set.h"

#include "swfplayer/main/render/render_handler.h"
#include "swfplayer/main/shapes/cache_io.h"
#include "swfplayer/main/shapes/fill_style.h"
#include "swfplayer/main/shapes/line_style.h"

#include <cassert>
#include <cmath>

namespace swfplayer {

namespace {

// Limits on what a cache record may hold; no tessellation comes near them.
constexpr int max_cached_layers = 1 << 16;
constexpr int max_cached_values = 1 << 26;
constexpr int max_cached_line_strips = 1 << 20;

}  // namespace

int16_t to_mesh_coord(float v) {
    if (!(v > -32768.0f)) {
        return v <= -32768.0f ? INT16_MIN : 0;  // the second case is NaN
    }
    if (v >= 32767.0f) {
        return INT16_MAX;
    }
    return static_cast<int16_t>(v);
}

// The accepter that fills a mesh set from the tessellator. A sub-shape that delivers anything
// starts a new layer.
class collect_tris : public tesselate_new::mesh_accepter {
public:
    explicit collect_tris(mesh_set* set) : m_set(set) {}

    void begin_trilist(int style, int expected_triangle_count) override {
        assert(m_current == nullptr);
        if (style < 0 || style > mesh_set::max_fill_style) {
            return;  // a canvas can number more styles than a mesh set keeps; they are not drawn
        }
        layer& l = current_layer();
        if (static_cast<int>(l.m_meshes.size()) <= style) {
            l.m_meshes.resize(style + 1);
        }
        if (!l.m_meshes[style]) {
            l.m_meshes[style] = std::make_unique<mesh>();
        }
        m_current = l.m_meshes[style].get();
        m_current->m_triangle_list.reserve(m_current->m_triangle_list.size() + 6 * expected_triangle_count);
    }
    void accept_trilist_batch(const point* points, int point_count) override {
        if (!m_current) {
            return;
        }
        std::vector<int16_t>& list = m_current->m_triangle_list;
        for (int i = 0; i + 2 < point_count; i += 3) {
            for (int k = 0; k < 3; k++) {
                list.push_back(to_mesh_coord(points[i + k].x));
                list.push_back(to_mesh_coord(points[i + k].y));
            }
        }
    }
    void end_trilist() override { m_current = nullptr; }
    void accept_line_strip(int style, const point* points, int point_count) override {
        if (style < 0 || style > mesh_set::max_line_style || point_count < 2) {
            return;
        }
        current_layer();
        m_set->add_line_strip(style, points, point_count);
    }
    void end_shape() override { m_new_layer = true; }

private:
    layer& current_layer() {
        if (m_new_layer) {
            m_set->m_layers.emplace_back();
            m_new_layer = false;
        }
        return m_set->m_layers.back();
    }

    mesh_set* m_set;
    mesh* m_current = nullptr;
    bool m_new_layer = true;
};

mesh_set::mesh_set(const tesselate::tesselating_shape* shape, float error_tolerance)
    : m_error_tolerance(error_tolerance) {
    assert(std::isfinite(error_tolerance) && error_tolerance > 0.0f);
    collect_tris accepter(this);
    shape->tesselate_new(error_tolerance, &accepter);
}

void mesh_set::add_line_strip(int style, const point* points, int point_count) {
    assert(style >= 0 && style <= max_line_style && points && point_count >= 2);
    if (m_layers.empty()) {
        m_layers.emplace_back();
    }
    auto strip = std::make_unique<line_strip>();
    strip->m_style = style;
    strip->m_coords.reserve(2 * point_count);
    for (int i = 0; i < point_count; i++) {
        strip->m_coords.push_back(to_mesh_coord(points[i].x));
        strip->m_coords.push_back(to_mesh_coord(points[i].y));
    }
    m_layers.back().m_line_strips.push_back(std::move(strip));
}

void mesh_set::display(const matrix& mat, const cxform& cx, const array<fill_style>& fills,
                       const array<line_style>& lines) const {
    assert(m_error_tolerance > 0.0f);
    render::set_matrix(mat);
    render::set_cxform(cx);
    for (const layer& l : m_layers) {
        for (size_t i = 0; i < l.m_meshes.size(); i++) {
            const mesh* m = l.m_meshes[i].get();
            if (!m || static_cast<int>(i) >= fills.size()) {
                continue;
            }
            const fill_style& style = fills[static_cast<int>(i)];
            if (!m->m_triangle_strip.empty() && style.apply_fill(0)) {
                render::draw_mesh_strip(m->m_triangle_strip.data(), static_cast<int>(m->m_triangle_strip.size() / 2));
            }
            if (!m->m_triangle_list.empty() && style.apply_fill(0)) {
                render::draw_triangle_list(m->m_triangle_list.data(), static_cast<int>(m->m_triangle_list.size() / 2));
            }
        }
        if (lines.empty()) {
            continue;
        }
        for (const std::unique_ptr<line_strip>& strip : l.m_line_strips) {
            if (strip->m_style < 0 || strip->m_style >= lines.size()) {
                continue;
            }
            lines[strip->m_style].apply(1.0f);
            render::draw_line_strip(strip->m_coords.data(), static_cast<int>(strip->m_coords.size() / 2));
        }
    }
}

void mesh_set::output_cached_data(base_file* out) const {
    cache_io::write_f32(out, m_error_tolerance);
    cache_io::write_i32(out, static_cast<int32_t>(m_layers.size()));
    for (const layer& l : m_layers) {
        cache_io::write_i32(out, static_cast<int32_t>(l.m_meshes.size()));
        for (const std::unique_ptr<mesh>& m : l.m_meshes) {
            cache_io::write_u8(out, m ? 1 : 0);
            if (m) {
                cache_io::write_i16_array(out, m->m_triangle_strip);
                cache_io::write_i16_array(out, m->m_triangle_list);
            }
        }
        cache_io::write_i32(out, static_cast<int32_t>(l.m_line_strips.size()));
        for (const std::unique_ptr<line_strip>& strip : l.m_line_strips) {
            cache_io::write_i32(out, strip->m_style);
            cache_io::write_i16_array(out, strip->m_coords);
        }
    }
}

bool mesh_set::input_cached_data(base_file* in) {
    int32_t layer_count;
    if (!cache_io::read_f32(in, &m_error_tolerance) || !std::isfinite(m_error_tolerance) ||
        !(m_error_tolerance > 0.0f) || !cache_io::read_i32(in, &layer_count) || layer_count < 0 ||
        layer_count > max_cached_layers) {
        return false;
    }
    m_layers.clear();
    // Layers, slots and strips are added as they are read, so a count beyond the data costs
    // nothing before the read fails.
    for (int32_t i = 0; i < layer_count; i++) {
        layer& l = m_layers.emplace_back();
        int32_t slots;
        if (!cache_io::read_i32(in, &slots) || slots < 0 || slots > max_fill_style + 1) {
            return false;
        }
        for (int32_t s = 0; s < slots; s++) {
            uint8_t present;
            if (!cache_io::read_u8(in, &present)) {
                return false;
            }
            std::unique_ptr<mesh>& m = l.m_meshes.emplace_back();
            if (present == 0) {
                continue;
            }
            m = std::make_unique<mesh>();
            if (!cache_io::read_i16_array(in, &m->m_triangle_strip, max_cached_values) ||
                !cache_io::read_i16_array(in, &m->m_triangle_list, max_cached_values)) {
                return false;
            }
        }
        int32_t strips;
        if (!cache_io::read_i32(in, &strips) || strips < 0 || strips > max_cached_line_strips) {
            return false;
        }
        for (int32_t k = 0; k < strips; k++) {
            auto strip = std::make_unique<line_strip>();
            if (!cache_io::read_i32(in, &strip->m_style) || strip->m_style < 0 || strip->m_style > max_line_style ||
                !cache_io::read_i16_array(in, &strip->m_coords, max_cached_values) || strip->m_coords.size() < 4) {
                return false;
            }
            l.m_line_strips.push_back(std::move(strip));
        }
    }
    return true;
}

}  // namespace swfplayer
