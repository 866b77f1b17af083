#include "gui/PreviewPicture.h"

#include "app/VirtualFile.h"

bool PreviewPicture::Load(const std::string& file, float x, float y) {
    sprite.setPosition(x, y);
    const std::string bytes = file.empty() ? std::string() : VirtualFile::Load(file, kMaxBytes).bytes;
    if (bytes.empty() || !image.loadFromMemory(bytes.data(), bytes.size())) {
        return false;
    }
    texture = std::make_unique<sf::Texture>();
    if (!texture->loadFromImage(image)) {
        texture.reset();
        return false;
    }
    sprite.setTexture(*texture, true);
    return true;
}

bool HasSuffix(const std::string& name, const std::string& suffix) {
    return name.size() >= suffix.size() && name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
}
