#pragma once

#include "swfplayer/main/shapes/shape_character_def.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/render/RecordingRenderHandler.h"
#include "tools/swfkit/Records.h"

#include <vector>

namespace swf_testing {

// Base of the shape tests: the loading fixture with a recording render handler installed.
class ShapesFixture : public SwfLoadingFixture {
protected:
    void SetUp() override {
        SwfLoadingFixture::SetUp();
        swfplayer::set_render_handler(&m_render);
    }
    void TearDown() override {
        swfplayer::set_render_handler(nullptr);
        SwfLoadingFixture::TearDown();
    }

    // A shape read from a record body without its id (tag type as given, with styles).
    swfplayer::smart_ptr<swfplayer::shape_character_def> ReadShape(const swfkit::Bytes& body, int tag_type) {
        ByteStream bytes(body);
        swfplayer::smart_ptr<swfplayer::shape_character_def> shape =
            new swfplayer::shape_character_def(m_player.get_ptr());
        shape->read(&bytes.in, tag_type, true, nullptr);
        return shape;
    }

    testing_support::RecordingRenderHandler m_render;
};

// The triangles of a fill style (0-based) over every layer, six floats per triangle.
inline std::vector<float> Triangles(const swfplayer::mesh_set& set, int fill_style) {
    std::vector<float> triangles;
    for (const swfplayer::layer& l : set.get_layers()) {
        if (fill_style < static_cast<int>(l.m_meshes.size()) && l.m_meshes[fill_style]) {
            const auto& list = l.m_meshes[fill_style]->m_triangle_list;
            triangles.insert(triangles.end(), list.begin(), list.end());
        }
    }
    return triangles;
}

// The line strips of a mesh set as flat float rings (the closing point dropped when it repeats
// the first), the outline the oracle judges triangles against.
inline std::vector<std::vector<float>> StripRings(const swfplayer::mesh_set& set) {
    std::vector<std::vector<float>> rings;
    for (const swfplayer::layer& l : set.get_layers()) {
        for (const auto& strip : l.m_line_strips) {
            std::vector<float> ring(strip->m_coords.begin(), strip->m_coords.end());
            const size_t n = ring.size();
            if (n >= 4 && ring[0] == ring[n - 2] && ring[1] == ring[n - 1]) {
                ring.resize(n - 2);
            }
            rings.push_back(ring);
        }
    }
    return rings;
}

// The signed area of a triangle list (positive counterclockwise, y up).
inline double TriangleArea(const std::vector<float>& t) {
    double area = 0.0;
    for (size_t i = 0; i + 5 < t.size(); i += 6) {
        area += 0.5 * ((double(t[i + 2]) - t[i]) * (double(t[i + 5]) - t[i + 1]) -
                       (double(t[i + 4]) - t[i]) * (double(t[i + 3]) - t[i + 1]));
    }
    return area;
}

// A matrix scaling by s.
inline swfplayer::matrix Scale(float s) {
    swfplayer::matrix m;
    m.concatenate_scale(s);
    return m;
}

}  // namespace swf_testing
