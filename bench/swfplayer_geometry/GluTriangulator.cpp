#include "bench/swfplayer_geometry/GluTriangulator.h"

#include <cstddef>

namespace bench_geometry {

GluTriangulator::GluTriangulator(const Rings& rings) : m_Tess(gluNewTess()) {
    for (const Ring& ring : rings) {
        std::vector<GLdouble> coords;
        for (std::size_t i = 0; i + 1 < ring.size(); i += 2) {
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

GluTriangulator::~GluTriangulator() {
    gluDeleteTess(m_Tess);
}

const std::vector<float>& GluTriangulator::Run() {
    m_Triangles.clear();
    m_Combined.clear();
    gluTessBeginPolygon(m_Tess, this);
    for (std::vector<GLdouble>& ring : m_Rings) {
        gluTessBeginContour(m_Tess);
        for (std::size_t i = 0; i < ring.size(); i += 3) {
            gluTessVertex(m_Tess, &ring[i], &ring[i]);
        }
        gluTessEndContour(m_Tess);
    }
    gluTessEndPolygon(m_Tess);
    return m_Triangles;
}

void GluTriangulator::Vertex(void* vertex, void* self) {
    const GLdouble* v = static_cast<const GLdouble*>(vertex);
    auto* tess = static_cast<GluTriangulator*>(self);
    tess->m_Triangles.push_back(static_cast<float>(v[0]));
    tess->m_Triangles.push_back(static_cast<float>(v[1]));
}

void GluTriangulator::Combine(GLdouble coords[3], void* [4], GLfloat[4], void** out, void* self) {
    auto* tess = static_cast<GluTriangulator*>(self);
    tess->m_Combined.push_back({coords[0], coords[1], coords[2]});
    *out = tess->m_Combined.back().data();
}

}  // namespace bench_geometry
