#pragma once

#include "bench/swfplayer_geometry/BenchShapes.h"

#include <GL/glu.h>

#include <array>
#include <deque>
#include <vector>

namespace bench_geometry {

// Triangulates rings through Mesa's GLU tessellator by the even-odd rule; an edge-flag callback
// makes it emit plain triangles only. The peer our triangulator and tessellator are measured
// against.
class GluTriangulator {
public:
    explicit GluTriangulator(const Rings& rings);
    ~GluTriangulator();
    GluTriangulator(const GluTriangulator&) = delete;
    GluTriangulator& operator=(const GluTriangulator&) = delete;

    // Six floats per triangle.
    const std::vector<float>& Run();

private:
    static void Begin(GLenum) {}
    static void End() {}
    static void EdgeFlag(GLboolean) {}
    static void Vertex(void* vertex, void* self);
    static void Combine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* self);

    GLUtesselator* m_Tess;
    std::vector<std::vector<GLdouble>> m_Rings;
    std::vector<float> m_Triangles;
    std::deque<std::array<GLdouble, 3>> m_Combined;
};

}  // namespace bench_geometry
