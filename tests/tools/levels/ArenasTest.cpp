// The arena descriptions and the level tool's writers: every outline reaches the physics engine,
// nothing starts inside a wall, and what the tool writes reads back as it was described.
#include "game/ConvexPieces.h"
#include "game/SvgOutline.h"
#include "tests/support/TempDir.h"
#include "tools/levels/Arena.h"
#include "tools/levels/ArenaWriter.h"
#include "tools/levels/Decorations.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <algorithm>
#include <cmath>

namespace {

bool Inside(const b2Vec2& p, const std::vector<b2Vec2>& polygon) {
    art::Contour contour;
    for (const b2Vec2& v : polygon) {
        contour.push_back({v.x, v.y});
    }
    return art::Inside({p.x, p.y}, contour);
}

float DistanceToEdges(const b2Vec2& p, const std::vector<b2Vec2>& polygon) {
    float best = 1e9f;
    for (size_t i = 0; i < polygon.size(); ++i) {
        const b2Vec2 a = polygon[i];
        const b2Vec2 b = polygon[(i + 1) % polygon.size()];
        const b2Vec2 ab = b - a;
        const float t = std::clamp(b2Dot(p - a, ab) / std::max(b2Dot(ab, ab), 1e-9f), 0.0f, 1.0f);
        best = std::min(best, b2Distance(p, a + t * ab));
    }
    return best;
}

// How far a circle of the radius at p stays clear of the outline (negative: it overlaps).
float Clearance(const b2Vec2& p, float radius, const Outline& outline) {
    if (outline.radius > 0.0f) {
        return b2Distance(p, outline.centre) - outline.radius - radius;
    }
    const float edge = DistanceToEdges(p, outline.points);
    return Inside(p, outline.points) ? -edge - radius : edge - radius;
}

// Every polygon outline goes to Box2D (whole or in pieces); none is left out.
TEST(Arenas, every_outline_becomes_fixtures) {
    for (const Arena& arena : ShippedArenas()) {
        for (const Outline& outline : arena.outlines) {
            if (outline.radius == 0.0f) {
                const ConvexPieces::Outcome outcome = ConvexPieces::Split(outline.points).outcome;
                EXPECT_TRUE(outcome == ConvexPieces::Outcome::kWhole || outcome == ConvexPieces::Outcome::kSplit)
                    << arena.name;
            }
        }
        for (const Mover& mover : arena.movers) {
            for (const std::vector<b2Vec2>& fixture : mover.fixtures) {
                EXPECT_EQ(ConvexPieces::Split(fixture).outcome, ConvexPieces::Outcome::kWhole) << mover.name;
            }
        }
    }
}

// Balls (radius 1) and the creatures' start points lie in open water, on screen, apart.
TEST(Arenas, balls_and_start_points_start_in_open_water) {
    for (const Arena& arena : ShippedArenas()) {
        SCOPED_TRACE(arena.name);
        std::vector<b2Vec2> places = arena.balls;
        for (const b2Vec2& start : {arena.start1, arena.start2}) {
            places.push_back(start);
        }
        for (size_t i = 0; i < places.size(); ++i) {
            const float radius = i < arena.balls.size() ? 1.0f : 4.0f;
            EXPECT_LT(std::fabs(places[i].x), arena.halfWidth - radius);
            EXPECT_LT(std::fabs(places[i].y), arena.halfHeight - radius);
            for (const Outline& outline : arena.outlines) {
                EXPECT_GT(Clearance(places[i], radius, outline), 0.0f) << places[i].x << ", " << places[i].y;
            }
            for (const Mover& mover : arena.movers) {
                const b2Rot turn(mover.rotation);
                for (const std::vector<b2Vec2>& fixture : mover.fixtures) {
                    Outline placed;
                    for (const b2Vec2& v : fixture) {
                        placed.points.push_back(mover.position + b2Mul(turn, v));
                    }
                    EXPECT_GT(Clearance(places[i], radius, placed), 0.0f) << mover.name;
                }
            }
            for (size_t j = 0; j < i; ++j) {
                EXPECT_GT(b2Distance(places[i], places[j]), 2.0f);
            }
        }
    }
}

// The outline drawing, read by the game's own reader, gives back the described outlines, with
// the group's and the paths' translations undone; arcs as circles, weed as green fixtures. Every
// arena's drawing has a moved group (the writer's), an arc and a green path.
TEST(Arenas, the_written_outline_drawing_reads_back_as_described) {
    testing_support::TempDir folder;
    const std::vector<DecorationMovie> decorations = DecorationMovies();
    for (const Arena& arena : ShippedArenas()) {
        SCOPED_TRACE(arena.name);
        ASSERT_TRUE(WriteArena(arena, folder / "data", decorations, ArenaPicture(arena, decorations)));
        TiXmlDocument document((folder / ("data/levels/" + arena.name + ".svg")).string());
        ASSERT_TRUE(document.LoadFile());
        std::vector<FixtureData> fixtures;
        const SvgOutline::Drawing drawing = SvgOutline::Read(*document.RootElement(), "test");
        for (const SvgOutline::Path& path : drawing.paths) {
            fixtures.push_back(SvgOutline::Place(drawing, path, b2Vec2(0, 0)));
        }
        ASSERT_EQ(fixtures.size(), arena.outlines.size());
        EXPECT_TRUE(std::any_of(fixtures.begin(), fixtures.end(), [](const auto& f) { return f.m_Green == 1; }));
        EXPECT_TRUE(std::any_of(fixtures.begin(), fixtures.end(),
                                [](const auto& f) { return f.m_Kind == FixtureData::kCircle; }));
        for (size_t i = 0; i < fixtures.size(); ++i) {
            const Outline& outline = arena.outlines[i];
            EXPECT_EQ(fixtures[i].m_Green, outline.green ? 1 : 0);
            if (outline.radius > 0.0f) {
                ASSERT_EQ(fixtures[i].m_Kind, FixtureData::kCircle);
                EXPECT_NEAR(fixtures[i].m_Radius, outline.radius, 1e-3);
                EXPECT_NEAR(fixtures[i].m_Vertices[0].x, outline.centre.x, 1e-3);
                EXPECT_NEAR(fixtures[i].m_Vertices[0].y, outline.centre.y, 1e-3);
                continue;
            }
            ASSERT_EQ(fixtures[i].m_Vertices.size(), outline.points.size());
            for (size_t p = 0; p < outline.points.size(); ++p) {
                EXPECT_NEAR(fixtures[i].m_Vertices[p].x, outline.points[p].x, 1e-3);
                EXPECT_NEAR(fixtures[i].m_Vertices[p].y, outline.points[p].y, 1e-3);
            }
        }
    }
}

}  // namespace
