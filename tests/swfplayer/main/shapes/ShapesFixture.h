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
    void SetUp() override;
    void TearDown() override;

    // A shape read from a record body without its id (tag type as given, with styles).
    swfplayer::smart_ptr<swfplayer::shape_character_def> ReadShape(const swfkit::Bytes& body, int tag_type);

    testing_support::RecordingRenderHandler m_render;
};

// The triangles of a fill style (0-based) over every layer, six floats per triangle.
std::vector<float> Triangles(const swfplayer::mesh_set& set, int fill_style);
// The line strips of a mesh set as flat float rings (the closing point dropped when it repeats
// the first), the outline the oracle judges triangles against.
std::vector<std::vector<float>> StripRings(const swfplayer::mesh_set& set);
// The signed area of a triangle list (positive counterclockwise, y up).
double TriangleArea(const std::vector<float>& triangles);
// A matrix scaling by s.
swfplayer::matrix Scale(float s);

}  // namespace swf_testing
