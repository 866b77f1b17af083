#pragma once

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

#include <memory>
#include <string>

// A picture that a browsing screen shows of what is selected (a level's screenshot, a level
// set's preview), read through the virtual file system.
struct PreviewPicture {
    // Pictures are far smaller than this.
    static constexpr long long kMaxBytes = 32 * 1024 * 1024;

    // Reads the file into the image and shows it in the sprite, placed at (x, y). A file that is
    // missing or not a picture leaves the sprite empty: false. An empty name reads nothing.
    bool Load(const std::string& file, float x, float y);

    sf::Image image;
    // Made only for a picture that loaded.
    std::unique_ptr<sf::Texture> texture;
    sf::Sprite sprite;
};

// Whether the file name ends in the suffix (".xml" and not ".xml.old").
bool HasSuffix(const std::string& name, const std::string& suffix);
