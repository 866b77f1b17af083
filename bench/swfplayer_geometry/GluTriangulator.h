#pragma once

#include "bench/swfplayer_geometry/BenchShapes.h"
#include "swfplayer/base/array.h"

#include <GL/glu.h>

#include <array>
#include <deque>
#include <vector>

namespace bench_geometry {

// Triangulates through the GLU tessellator; an edge-flag callback makes it emit plain
// triangles only.
class GluTriangulator {
public:
    explicit GluTriangulator(const Rings& rings) : m_Tess(gluNewTess()) {
        for (const Ring& ring : rings) {
            std::vector<GLdouble> coords;
            for (size_t i = 0; i + 1 < ring.size(); i += 2) {
                coords.insert(coords.end(), {ring[i], ring[i + 1], 0.0});
            }
            m_Rings.push_back(std::move(coords));
        }
        gluTessProperty(m_Tess, GLU_TESS_WINDING_RULE, GLU_TESS_WINDING_ODD);
        gluTessNormal(m_Tess, 0.0, 0.0, 1.0);
        gluTessCallback(m_Tess, GLU_TESS_BEGIN, reinterpret_cast<_GLUfuncptr>(&Begin));
        gluTessCallback(m_Tess, GLU_TESS_VERTEX_DATA, reinterpret_cast<_GLUfuncptr>(&Vertex));
        gluTessCallback(m_Tess, GLU_TESS_END, reinterpret_cast<_GLUfuncptr>(&End));
        gluTessCallback(m_Tess, GLU_TESS_EDGE_FLAG, reinterpret_cast<_GLUfuncptr>(&EdgeFlag));
        gluTessCallback(m_Tess, GLU_TESS_COMBINE_DATA, reinterpret_cast<_GLUfuncptr>(&Combine));
    }
    ~GluTriangulator() { gluDeleteTess(m_Tess); }
    GluTriangulator(const GluTriangulator&) = delete;
    GluTriangulator& operator=(const GluTriangulator&) = delete;

    // Six floats per triangle.
    const std::vector<float>& Run() {
        m_Triangles.clear();
        m_Combined.clear();
        gluTessBeginPolygon(m_Tess, this);
        for (std::vector<GLdouble>& ring : m_Rings) {
            gluTessBeginContour(m_Tess);
            for (size_t i = 0; i < ring.size(); i += 3) {
                gluTessVertex(m_Tess, &ring[i], &ring[i]);
            }
            gluTessEndContour(m_Tess);
        }
        gluTessEndPolygon(m_Tess);
        return m_Triangles;
    }

private:
    static void Begin(GLenum) {}
    static void End() {}
    static void EdgeFlag(GLboolean) {}
    static void Vertex(void* vertex, void* self) {
        const GLdouble* v = static_cast<const GLdouble*>(vertex);
        auto* tess = static_cast<GluTriangulator*>(self);
        tess->m_Triangles.push_back(static_cast<float>(v[0]));
        tess->m_Triangles.push_back(static_cast<float>(v[1]));
    }
    static void Combine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* self) {
        auto* tess = static_cast<GluTriangulator*>(self);
        tess->m_Combined.push_back({coords[0], coords[1], coords[2]});
        *out = tess->m_Combined.back().data();
    }

    GLUtesselator* m_Tess;
    std::vector<std::vector<GLdouble>> m_Rings;
    std::vector<float> m_Triangles;
    std::deque<std::array<GLdouble, 3>> m_Combined;
};

// The rings as the triangulator takes them.
std::vector<swfplayer::array<float>> ToPaths(const Rings& rings);

}  // namespace bench_geometry
