#include "gui/TextElement.h"

#include "serializeme/StorageBuffer.h"

#include <algorithm>
#include <cmath>

namespace {

// Character sizes beyond these cannot be rasterised usefully; sizes from data are kept within.
constexpr float kMinCharacterSize = 1.0f;
constexpr float kMaxCharacterSize = 500.0f;

sf::Uint8 ColorComponent(uint32_t value) {
    return static_cast<sf::Uint8>(std::min<uint32_t>(value, 255));
}

unsigned int CharacterSize(float size) {
    if (!std::isfinite(size)) {
        return static_cast<unsigned int>(TextElementData().m_Size);
    }
    return static_cast<unsigned int>(std::clamp(size, kMinCharacterSize, kMaxCharacterSize));
}

}  // namespace

bool TextElementData::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("m_Tag", m_Tag);
        buffer.WriteString("m_Text", m_Text);
        buffer.WriteFloat("m_Size", m_Size);
        buffer.WriteString("m_Anchor", m_Anchor);
        buffer.WriteUInt("m_ColorR", m_ColorR);
        buffer.WriteUInt("m_ColorG", m_ColorG);
        buffer.WriteUInt("m_ColorB", m_ColorB);
        buffer.WriteFloat("m_PosX", m_PosX);
        buffer.WriteFloat("m_PosY", m_PosY);
    } else {
        buffer.ReadString("m_Tag", m_Tag);
        buffer.ReadString("m_Text", m_Text);
        buffer.ReadFloat("m_Size", m_Size);
        buffer.ReadString("m_Anchor", m_Anchor);
        buffer.ReadUInt("m_ColorR", m_ColorR);
        buffer.ReadUInt("m_ColorG", m_ColorG);
        buffer.ReadUInt("m_ColorB", m_ColorB);
        buffer.ReadFloat("m_PosX", m_PosX);
        buffer.ReadFloat("m_PosY", m_PosY);
    }
    return true;
}

std::string ExpandLineBreaks(const std::string& text) {
    std::string expanded;
    expanded.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            expanded += '\n';
            ++i;
        } else {
            expanded += text[i];
        }
    }
    return expanded;
}

TextElement::TextElement(const TextElementData& data, const sf::Font& font) : tag(data.m_Tag) {
    const std::string expanded = ExpandLineBreaks(data.m_Text);
    text.setString(sf::String::fromUtf8(expanded.begin(), expanded.end()));
    text.setFont(font);
    text.setCharacterSize(CharacterSize(data.m_Size));
    text.setFillColor(
        sf::Color(ColorComponent(data.m_ColorR), ColorComponent(data.m_ColorG), ColorComponent(data.m_ColorB), 255));
    text.setPosition(data.m_PosX, data.m_PosY);
}
