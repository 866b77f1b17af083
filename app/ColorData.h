#pragma once

#include "serializeme/Serializable.h"
#include "serializeme/StorageBuffer.h"

#include <SFML/Graphics/Color.hpp>

// An RGBA colour that can be stored: the bytes "r", "g", "b" and "a", in this order (decimal
// numbers 0 to 255 in XML). Kept entirely inline, so the shell's controllers can hold one
// without linking the gameplay library.
class ColorData : public sf::Color, public sme::Serializable {
public:
    ColorData() = default;
    ColorData(sf::Uint8 red, sf::Uint8 green, sf::Uint8 blue, sf::Uint8 alpha = 255)
        : sf::Color(red, green, blue, alpha) {}
    ColorData(const sf::Color& color) : sf::Color(color) {}

    bool Serialize(sme::StorageBuffer& buffer) override {
        if (buffer.IsWriting()) {
            buffer.WriteByte("r", r);
            buffer.WriteByte("g", g);
            buffer.WriteByte("b", b);
            buffer.WriteByte("a", a);
        } else {
            buffer.ReadByte("r", r);
            buffer.ReadByte("g", g);
            buffer.ReadByte("b", b);
            buffer.ReadByte("a", a);
        }
        return true;
    }

    const char* TypeName() const override { return "color"; }
};
