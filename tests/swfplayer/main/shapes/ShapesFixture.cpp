#include "tests/swfplayer/main/shapes/ShapesFixture.h"

namespace swf_testing {

void ShapesFixture::SetUp() {
    SwfLoadingFixture::SetUp();
    swfplayer::set_render_handler(&m_render);
}

void ShapesFixture::TearDown() {
    swfplayer::set_render_handler(nullptr);
    SwfLoadingFixture::TearDown();
}

swfplayer::smart_ptr<swfplayer::shape_character_def> ShapesFixture::ReadShape(const swfkit::Bytes& body, int tag_type) {
    ByteStream bytes(body);
    swfplayer::smart_ptr<swfplayer::shape_character_def> shape = new swfplayer::shape_character_def(m_player.get_ptr());
    shape->read(&bytes.in, tag_type, true, nullptr);
    return shape;
}

std::vector<float> Triangles(const swfplayer::mesh_set& set, int fill_style) {
    std::vector<float> triangles;
    for (const swfplayer::layer& l : set.get_layers()) {
        if (fill_style < static_cast<int>(l.m_meshes.size()) && l.m_meshes[fill_style]) {
            for (int16_t v : l.m_meshes[fill_style]->m_triangle_list) {
                triangles.push_back(v);
            }
        }
    }
    return triangles;
}

std::vector<std::vector<float>> StripRings(const swfplayer::mesh_set& set) {
    std::vector<std::vector<float>> rings;
    for (const swfplayer::layer& l : set.get_layers()) {
        for (const auto& strip : l.m_line_strips) {
            std::vector<float> ring(strip->m_coords.begin(), strip->m_coords.end());
            size_t n = ring.size();
            if (n >= 4 && ring[0] == ring[n - 2] && ring[1] == ring[n - 1]) {
                ring.resize(n - 2);
            }
            rings.push_back(ring);
        }
    }
    return rings;
}

double TriangleArea(const std::vector<float>& t) {
    double area = 0.0;
    for (size_t i = 0; i + 5 < t.size(); i += 6) {
        area += 0.5 * ((double(t[i + 2]) - t[i]) * (double(t[i + 5]) - t[i + 1]) -
                       (double(t[i + 4]) - t[i]) * (double(t[i + 3]) - t[i + 1]));
    }
    return area;
}

swfplayer::matrix Scale(float s) {
    swfplayer::matrix m;
    m.concatenate_scale(s);
    return m;
}

}  // namespace swf_testing
