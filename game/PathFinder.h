#pragma once

#include "game/MicroPather.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/VertexArray.hpp>
#include <box2d/b2_math.h>

#include <cstdint>
#include <vector>

class PhysicsWorld;
class b2World;

// The bots' path finding: a square grid over the arena whose cells that level polygons cross are
// walls, and an A* search between two points that answers with waypoints: one per change of
// direction, then the goal itself. Cells are numbered row * width + column; y grows downwards,
// so row 0 is the arena's top.
class PathFinder : public micropather::Graph {
public:
    // A grid never has more cells than this along either side; geometry beyond is left out.
    static constexpr int kMaxCellsPerSide = 1024;

    PathFinder() : m_Pather(this) {}

    // Lays the grid over the arena (-50, -37.5)..(50, 37.5), grown to cover every fixture of the
    // world, with square cells of cellSize units (a size that is not a positive finite number
    // counts as 5). All cells start free.
    void Build(const b2World& world, float cellSize);

    // Clears the grid, then marks the cells along the edges of every polygon fixture of the world's
    // unregistered bodies (the level), except fixtures of category 16. Circles make no walls.
    void UpdateWalls(const b2World& world);

    // Waypoints from `from` to `to`: false (no waypoints) when either point is outside the grid or
    // no path exists.
    bool FindPath(const b2Vec2& from, const b2Vec2& to, std::vector<b2Vec2>& waypoints);

    float LeastCostEstimate(unsigned a, unsigned b) override;
    void AdjacentCost(unsigned state, std::vector<micropather::StateCost>* adjacent) override;
    void PrintStateInfo(unsigned) override {}

    // The grid as the level overlay shows it, in the world's pixels: a 1-pixel line in (0, 0, 200)
    // along the left edge of every column and the top edge of every row, and every wall cell filled
    // in (100, 0, 0).
    void DrawGrid(const PhysicsWorld& world, sf::RenderTarget& target,
                  const sf::RenderStates& states = sf::RenderStates::Default) const;
    // What DrawGrid draws: the lines (sf::Lines) and the wall cells (sf::Quads).
    sf::VertexArray GridLines(const PhysicsWorld& world) const;
    sf::VertexArray WallCells(const PhysicsWorld& world) const;

    // A number for the step from cell a to neighbouring cell b; -1 when they are not neighbours.
    int Direction(unsigned a, unsigned b) const;

    int GetWidth() const { return m_Width; }
    int GetHeight() const { return m_Height; }
    float GetCellSize() const { return m_CellSize; }
    const b2Vec2& GetMin() const { return m_Min; }
    const b2Vec2& GetMax() const { return m_Max; }
    bool IsWall(int column, int row) const { return m_Walls[row * m_Width + column] != 0; }
    b2Vec2 CellCenter(unsigned cell) const;
    // The cell of a point, or -1 when it lies outside the grid.
    int CellOf(const b2Vec2& point) const;

private:
    void MarkWall(const b2Vec2& point);
    void MarkEdge(const b2Vec2& p, const b2Vec2& q);
    bool Passable(int column, int row) const;

    b2Vec2 m_Min{0.0f, 0.0f};
    b2Vec2 m_Max{0.0f, 0.0f};
    std::vector<std::int32_t> m_Walls;
    float m_CellSize = 0.0f;
    float m_CellSizeSquared = 0.0f;
    int m_Width = 0;
    int m_Height = 0;
    // Column and row of every cell, so the search never divides.
    struct Place {
        std::int16_t column;
        std::int16_t row;
    };
    std::vector<Place> m_Places;
    // Step costs east, south-east, south, south-west, west, north-west, north, north-east.
    float m_StepCosts[8] = {};
    micropather::MicroPather m_Pather;
    std::vector<unsigned> m_Path;
};
