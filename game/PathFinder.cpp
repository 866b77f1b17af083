#include "game/PathFinder.h"

#include "app/Log.h"
#include "game/BodyRegistry.h"
#include "game/PhysicsWorld.h"

#include <box2d/b2_body.h>
#include <box2d/b2_fixture.h>
#include <box2d/b2_polygon_shape.h>
#include <box2d/b2_world.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <utility>

namespace {

constexpr float kDefaultCellSize = 5.0f;
// Fixtures of this category (the green fill of level outlines) never make walls.
constexpr uint16 kPassableCategory = 16;

const sf::Color kGridColor(0, 0, 200, 255);
const sf::Color kWallColor(100, 0, 0, 255);

// The eight steps in the order of the step costs: east first, then clockwise on screen.
constexpr int kStepColumn[8] = {1, 1, 0, -1, -1, -1, 0, 1};
constexpr int kStepRow[8] = {0, 1, 1, 1, 0, -1, -1, -1};

// Cells along one side of the grid between two coordinates, at least 1 and at most the cap.
int CellsAlong(float min, float max, float cell) {
    const double cells = std::trunc((static_cast<double>(max) - min) / cell) + 1.0;
    if (!(cells <= PathFinder::kMaxCellsPerSide)) {
        log_error("PathFinder::Build: the level spans more than %d cells, the grid is cut",
                  PathFinder::kMaxCellsPerSide);
        return PathFinder::kMaxCellsPerSide;
    }
    return std::max(1, static_cast<int>(cells));
}

}  // namespace

void PathFinder::Build(const b2World& world, float cellSize) {
    if (!(cellSize > 0.0f) || !std::isfinite(cellSize)) {
        log_error("PathFinder::Build: cell size %f replaced by %f", cellSize, kDefaultCellSize);
        cellSize = kDefaultCellSize;
    }
    m_Min.Set(-50.0f, -37.5f);
    m_Max.Set(50.0f, 37.5f);
    for (const b2Body* body = world.GetBodyList(); body != nullptr; body = body->GetNext()) {
        for (const b2Fixture* fixture = body->GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
            for (int32 child = 0; child < fixture->GetShape()->GetChildCount(); ++child) {
                b2AABB box;
                fixture->GetShape()->ComputeAABB(&box, body->GetTransform(), child);
                if (box.IsValid()) {
                    m_Min = b2Min(m_Min, box.lowerBound);
                    m_Max = b2Max(m_Max, box.upperBound);
                }
            }
        }
    }
    m_Width = CellsAlong(m_Min.x, m_Max.x, cellSize);
    m_Height = CellsAlong(m_Min.y, m_Max.y, cellSize);
    m_Walls.assign(static_cast<size_t>(m_Width) * m_Height, 0);
    m_Places.resize(m_Walls.size());
    for (size_t cell = 0; cell < m_Places.size(); ++cell) {
        m_Places[cell] = {static_cast<std::int16_t>(cell % m_Width), static_cast<std::int16_t>(cell / m_Width)};
    }
    m_CellSize = cellSize;
    m_CellSizeSquared = cellSize * cellSize;
    for (int d = 0; d < 8; ++d) {
        m_StepCosts[d] = d % 2 == 0 ? cellSize : cellSize * std::sqrt(2.0f);
    }
}

int PathFinder::CellOf(const b2Vec2& point) const {
    if (!(point.x >= m_Min.x && point.x <= m_Max.x && point.y >= m_Min.y && point.y <= m_Max.y)) {
        return -1;
    }
    const float column = std::trunc((point.x - m_Min.x) / m_CellSize);
    const float row = std::trunc((point.y - m_Min.y) / m_CellSize);
    if (!(column < static_cast<float>(m_Width) && row < static_cast<float>(m_Height))) {
        return -1;
    }
    return static_cast<int>(row) * m_Width + static_cast<int>(column);
}

b2Vec2 PathFinder::CellCenter(unsigned cell) const {
    const int column = static_cast<int>(cell % m_Width);
    const int row = static_cast<int>(cell / m_Width);
    return {m_Min.x + (column + 0.5f) * m_CellSize, m_Min.y + (row + 0.5f) * m_CellSize};
}

void PathFinder::MarkWall(const b2Vec2& point) {
    const int cell = CellOf(point);
    if (cell >= 0) {
        m_Walls[cell] = 1;
    }
}

void PathFinder::MarkEdge(const b2Vec2& p, const b2Vec2& q) {
    MarkWall(q);
    const b2Vec2 d = q - p;
    if (!(d.LengthSquared() > m_CellSizeSquared)) {
        return;
    }
    // An edge that leaves the grid is followed no further than the grid is long.
    const int limit = 2 * (m_Width + m_Height) + 2;
    const int parts = static_cast<int>(std::min(std::ceil(d.Length() / m_CellSize), static_cast<float>(limit)));
    for (int k = 1; k < parts; ++k) {
        MarkWall(p + (static_cast<float>(k) / parts) * d);
    }
}

void PathFinder::UpdateWalls(const b2World& world) {
    std::fill(m_Walls.begin(), m_Walls.end(), 0);
    for (const b2Body* body = world.GetBodyList(); body != nullptr; body = body->GetNext()) {
        if (FindBodyRecord(body) != nullptr) {
            continue;
        }
        const b2Transform& transform = body->GetTransform();
        for (const b2Fixture* fixture = body->GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
            if (fixture->GetFilterData().categoryBits == kPassableCategory ||
                fixture->GetType() != b2Shape::e_polygon) {
                continue;
            }
            const auto* polygon = static_cast<const b2PolygonShape*>(fixture->GetShape());
            if (polygon->m_count < 1) {
                continue;
            }
            b2Vec2 p = b2Mul(transform, polygon->m_vertices[polygon->m_count - 1]);
            for (int32 i = 0; i < polygon->m_count; ++i) {
                const b2Vec2 q = b2Mul(transform, polygon->m_vertices[i]);
                MarkEdge(p, q);
                p = q;
            }
        }
    }
}

bool PathFinder::Passable(int column, int row) const {
    return column >= 0 && column < m_Width && row >= 0 && row < m_Height && !IsWall(column, row);
}

void PathFinder::AdjacentCost(unsigned state, std::vector<micropather::StateCost>* adjacent) {
    const int column = m_Places[state].column;
    const int row = m_Places[state].row;
    for (int d = 0; d < 8; ++d) {
        const int toColumn = column + kStepColumn[d];
        const int toRow = row + kStepRow[d];
        bool passable = Passable(toColumn, toRow);
        if (passable && d % 2 == 1) {
            // A diagonal step squeezes between two walls that touch at a corner: refused.
            passable = Passable(toColumn, row) || Passable(column, toRow);
        }
        const unsigned to = static_cast<unsigned>(toRow * m_Width + toColumn);
        adjacent->push_back({to, passable ? m_StepCosts[d] : FLT_MAX});
    }
}

float PathFinder::LeastCostEstimate(unsigned a, unsigned b) {
    const float columns = static_cast<float>(m_Places[a].column - m_Places[b].column);
    const float rows = static_cast<float>(m_Places[a].row - m_Places[b].row);
    return std::sqrt(columns * columns + rows * rows) * m_CellSize;
}

int PathFinder::Direction(unsigned a, unsigned b) const {
    static constexpr int kNumbers[3][3] = {{5, 6, 7}, {4, -1, 0}, {3, 2, 1}};
    const int columns = static_cast<int>(b % m_Width) - static_cast<int>(a % m_Width);
    const int rows = static_cast<int>(b / m_Width) - static_cast<int>(a / m_Width);
    if (columns < -1 || columns > 1 || rows < -1 || rows > 1) {
        return -1;
    }
    return kNumbers[columns + 1][rows + 1];
}

bool PathFinder::FindPath(const b2Vec2& from, const b2Vec2& to, std::vector<b2Vec2>& waypoints) {
    m_Pather.Reset();
    waypoints.clear();
    const int start = CellOf(from);
    const int goal = CellOf(to);
    if (start < 0 || goal < 0) {
        return false;
    }
    float cost = 0.0f;
    const int result = m_Pather.Solve(static_cast<unsigned>(start), static_cast<unsigned>(goal), &m_Path, &cost);
    if (result == micropather::MicroPather::kNoSolution) {
        return false;
    }
    int recorded = -2;
    for (size_t i = 1; i + 1 < m_Path.size(); ++i) {
        const int direction = Direction(m_Path[i], m_Path[i + 1]);
        if (i == 1 || direction != recorded) {
            waypoints.push_back(CellCenter(m_Path[i]));
            recorded = direction;
        }
    }
    waypoints.push_back(to);
    return true;
}

sf::VertexArray PathFinder::GridLines(const PhysicsWorld& world) const {
    sf::VertexArray lines(sf::Lines);
    for (int i = 0; i < m_Width; ++i) {
        const float x = m_Min.x + static_cast<float>(i) * m_CellSize;
        lines.append(sf::Vertex(world.ToPixels(b2Vec2(x, m_Min.y)), kGridColor));
        lines.append(sf::Vertex(world.ToPixels(b2Vec2(x, m_Max.y)), kGridColor));
    }
    for (int j = 0; j < m_Height; ++j) {
        const float y = m_Min.y + static_cast<float>(j) * m_CellSize;
        lines.append(sf::Vertex(world.ToPixels(b2Vec2(m_Min.x, y)), kGridColor));
        lines.append(sf::Vertex(world.ToPixels(b2Vec2(m_Max.x, y)), kGridColor));
    }
    return lines;
}

sf::VertexArray PathFinder::WallCells(const PhysicsWorld& world) const {
    sf::VertexArray cells(sf::Quads);
    for (size_t cell = 0; cell < m_Walls.size(); ++cell) {
        if (m_Walls[cell] == 0) {
            continue;
        }
        const float left = m_Min.x + static_cast<float>(m_Places[cell].column) * m_CellSize;
        const float top = m_Min.y + static_cast<float>(m_Places[cell].row) * m_CellSize;
        for (const auto& [x, y] : {std::pair{left, top}, std::pair{left + m_CellSize, top},
                                   std::pair{left + m_CellSize, top + m_CellSize}, std::pair{left, top + m_CellSize}}) {
            cells.append(sf::Vertex(world.ToPixels(b2Vec2(x, y)), kWallColor));
        }
    }
    return cells;
}

void PathFinder::DrawGrid(const PhysicsWorld& world, sf::RenderTarget& target, const sf::RenderStates& states) const {
    target.draw(GridLines(world), states);
    target.draw(WallCells(world), states);
}
