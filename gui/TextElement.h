#pragma once

#include "serializeme/Serializable.h"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>

#include <cstdint>
#include <string>

// A text of a screen description (record "textelement"): what it says, how large, in which
// colour and where, by itself or from a clip of the screen's first movie.
struct TextElementData : public sme::Serializable {
    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "textelement"; }

    // The name by which screens address the text; several texts may share one.
    std::string m_Tag;
    // The text (UTF-8); the two characters backslash and "n" stand for a line break.
    std::string m_Text;
    // Character size in pixels.
    float m_Size = 30.0f;
    // A clip of the screen's first movie that the text follows; empty for none.
    std::string m_Anchor;
    // Colour components 0 to 255.
    uint32_t m_ColorR = 255;
    uint32_t m_ColorG = 255;
    uint32_t m_ColorB = 255;
    // Position in pixels; with an anchor, the offset from the anchor clip.
    float m_PosX = 0.0f;
    float m_PosY = 0.0f;
};

// The text with every backslash-"n" pair turned into a line feed.
std::string ExpandLineBreaks(const std::string& text);

// A text drawn over a screen's movies: an SFML text made from its record, its tag and whether it
// shows.
struct TextElement {
    // The record's text (line breaks expanded) in the font at the record's size, colour and
    // position; visible.
    TextElement(const TextElementData& data, const sf::Font& font);

    sf::Text text;
    std::string tag;
    bool visible = true;
};
