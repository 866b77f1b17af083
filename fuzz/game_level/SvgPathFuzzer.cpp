// The outline reader on arbitrary text, taken as path data, as a transform, as a number and as a
// whole drawing; the drawing's polygons then go through the convex splitting and every piece is
// built by Box2D, whose assertions stay on in the fuzz build. Points must come out finite and
// within 1,000 units, path data must never exceed the point cap.
#include "game/ConvexPieces.h"
#include "game/SvgOutline.h"

#include <box2d/b2_polygon_shape.h>
#include <tinyxml.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Check(SvgOutline::ReadPathPoints(text).size() <= static_cast<size_t>(SvgOutline::kMaxPathPoints));
    SvgOutline::ReadPathTranslation(text.c_str());
    SvgOutline::ReadGroupTranslation(text.c_str());
    SvgOutline::ReadWholeNumber(text.c_str());
    SvgOutline::ReadNumber(text.c_str());

    TiXmlDocument document;
    document.Parse(text.c_str());
    const TiXmlElement* root = document.RootElement();
    if (root == nullptr) {
        return 0;
    }
    const SvgOutline::Drawing drawing = SvgOutline::Read(*root, "fuzz.svg");
    std::vector<FixtureData> fixtures;
    for (const SvgOutline::Path& path : drawing.paths) {
        fixtures.push_back(SvgOutline::Place(drawing, path, b2Vec2(0.0f, 0.0f)));
    }
    for (const FixtureData& fixture : fixtures) {
        Check(std::isfinite(fixture.m_Radius) && std::fabs(fixture.m_Radius) <= 1000.0f);
        Check(fixture.m_Vertices.size() <= static_cast<size_t>(SvgOutline::kMaxPathPoints));
        for (const Vec2Data& v : fixture.m_Vertices) {
            Check(std::fabs(v.x) <= 1000.0f && std::fabs(v.y) <= 1000.0f);
        }
        const ConvexPieces::Result split =
            ConvexPieces::Split(std::vector<b2Vec2>(fixture.m_Vertices.begin(), fixture.m_Vertices.end()));
        for (const std::vector<b2Vec2>& piece : split.pieces) {
            Check(piece.size() >= 3 && piece.size() <= static_cast<size_t>(ConvexPieces::kMaxPieceVertices));
            const std::vector<b2Vec2> oriented = ConvexPieces::Oriented(piece);
            b2PolygonShape shape;
            shape.Set(oriented.data(), static_cast<int32>(oriented.size()));
        }
    }
    return 0;
}
