#pragma once

#include <SFML/Graphics/ConvexShape.hpp>
#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>

#include <filesystem>
#include <string>
#include <vector>

// A drawing aid for level authors: shapes clicked together point by point over a level, drawn in
// translucent green and written out as the fixtures of a level file's body.
class LevelSketch {
public:
    // The file the shapes are written to, under the user's data folder.
    static constexpr const char* kFileName = "data/shapes.xml";

    // Forgets every shape and starts one empty shape; the extents and scale map pixels back to
    // world units when the shapes are written.
    void Reset(float halfWidth, float halfHeight, float pixelsPerUnit);
    // Appends a point (level pixels) to the last shape.
    void AddPoint(const sf::Vector2f& pixel);
    // Starts a new, empty shape.
    void StartShape();
    void Draw(sf::RenderTarget& target, const sf::RenderStates& states) const;

    // Every shape as a fixture element of a level file: its vertices in world units, numbers
    // with six decimals and a decimal point whatever the locale.
    std::string FixturesText() const;
    // Replaces kFileName under the folder by FixturesText (a crash leaves the old file or the new
    // one whole). False, logged, when it could not be written.
    bool Save(const std::filesystem::path& folder) const;

    const std::vector<sf::ConvexShape>& GetShapes() const { return m_Shapes; }

private:
    std::vector<sf::ConvexShape> m_Shapes;
    float m_HalfWidth = 0.0f;
    float m_HalfHeight = 0.0f;
    float m_PixelsPerUnit = 1.0f;
};
