#include "game/LevelSketch.h"

#include "app/Log.h"
#include "platform/ReplacementFile.h"

#include <charconv>
#include <cstdio>

namespace {

const sf::Color kShapeColor(0, 255, 0, 200);

// A number as "%f" writes it in the "C" locale.
std::string Fixed(float value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof(text), value, std::chars_format::fixed, 6);
    return std::string(text, result.ptr);
}

}  // namespace

void LevelSketch::Reset(float halfWidth, float halfHeight, float pixelsPerUnit) {
    m_HalfWidth = halfWidth;
    m_HalfHeight = halfHeight;
    m_PixelsPerUnit = pixelsPerUnit;
    m_Shapes.clear();
    StartShape();
}

void LevelSketch::StartShape() {
    sf::ConvexShape shape;
    shape.setFillColor(kShapeColor);
    shape.setOutlineColor(sf::Color::Black);
    m_Shapes.push_back(shape);
}

void LevelSketch::AddPoint(const sf::Vector2f& pixel) {
    if (m_Shapes.empty()) {
        StartShape();
    }
    sf::ConvexShape& shape = m_Shapes.back();
    shape.setPointCount(shape.getPointCount() + 1);
    shape.setPoint(shape.getPointCount() - 1, pixel);
}

void LevelSketch::Draw(sf::RenderTarget& target, const sf::RenderStates& states) const {
    for (const sf::ConvexShape& shape : m_Shapes) {
        if (shape.getPointCount() >= 3) {
            target.draw(shape, states);
        }
    }
}

std::string LevelSketch::FixturesText() const {
    std::string text;
    for (const sf::ConvexShape& shape : m_Shapes) {
        text += "\t\t\t\t\t<fixture>\n";
        text += "\t\t\t\t\t\t<array name=\"m_Vertices\">\n";
        for (size_t i = 0; i < shape.getPointCount(); ++i) {
            const sf::Vector2f pixel = shape.getPoint(i);
            text += "\t\t\t\t\t\t\t<vec2 x=\"" + Fixed(pixel.x / m_PixelsPerUnit - m_HalfWidth) + "\" y=\"" +
                    Fixed(pixel.y / m_PixelsPerUnit - m_HalfHeight) + "\"/>\n";
        }
        text += "\t\t\t\t\t\t</array>\n";
        text += "\t\t\t\t\t</fixture>\n";
    }
    return text;
}

bool LevelSketch::Save(const std::filesystem::path& folder) const {
    platform::ReplacementFile file((folder / kFileName).string());
    const std::string text = FixturesText();
    if (!file.IsOpen() || std::fwrite(text.data(), 1, text.size(), file.GetFile()) != text.size() || !file.Commit()) {
        log_error("Level::HandleEvent: cannot write %s: %s", file.GetTargetPath().c_str(), file.GetError().c_str());
        return false;
    }
    return true;
}
