#pragma once

#include <SFML/Graphics/Drawable.hpp>
#include <SFML/Graphics/RenderTarget.hpp>

// Stand-in for the game's movie wrapper: a movie that loads nothing and draws nothing.

namespace standin {

class FlashMovie : public sf::Drawable {
public:
    void Load(const char*) {}

private:
    void draw(sf::RenderTarget&, sf::RenderStates) const override {}
};

// Clears the drawing canvas of the movie's root sprite, when it has one.
inline void ClearRootCanvas(FlashMovie&) {}

}  // namespace standin
