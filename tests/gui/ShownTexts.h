#pragma once
// Internal to the screen tests: the texts a screen shows, each with what it takes to measure how
// well it reads (TextContrast.h): the screen drawn without it, and drawn with it painted in one
// colour so that its coverage shows.

#include "gui/FlashGUI.h"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Text.hpp>

#include <functional>
#include <string>
#include <vector>

namespace gui_testing {

// Draws whatever the painter draws on an 800 x 600 picture cleared to black.
class Pictures {
public:
    Pictures();
    sf::Image Draw(const std::function<void(sf::RenderTarget&)>& paint);

private:
    sf::RenderTexture m_Target;
};

struct ShownText {
    // What a failure calls it.
    std::string name;
    // Hides the text (false) and shows it again (true); nothing for a text that draw leaves out
    // in any case.
    std::function<void(bool)> show;
    // Draws the screen: with the text hidden, what is behind it.
    std::function<sf::Image()> draw;
    // The text alone or the screen with the text, painted in the colour.
    std::function<sf::Image(const sf::Color&)> painted;
};

// What is behind the text: the screen drawn with it hidden.
sf::Image Behind(const ShownText& text);

// A text that SFML draws (inside the transform): it is painted alone, from a copy.
ShownText SfmlText(const std::string& name, const sf::Text& text, const sf::Transform& transform, Pictures& pictures,
                   const std::function<sf::Image()>& draw, const std::function<void(bool)>& show);

// The screen's description texts that show (visible and not empty), hidden by their tags.
std::vector<ShownText> DescriptionTexts(FlashGUI& screen, Pictures& pictures,
                                        const std::function<sf::Image()>& drawScreen);
// The static and edit texts of the screen's movies that are visible (in visible clips), each
// hidden and painted through its own character. A text drawn over copies of itself (a shadow, a
// rim) counts as one with them: they are hidden together, and the top one is painted.
std::vector<ShownText> MovieTexts(FlashGUI& screen, const std::function<sf::Image()>& drawScreen);

// How the text reads on the screen (TextContrast; 0 when it covers no pixel in full) and where it
// covers any.
struct Reading {
    double ratio;
    sf::IntRect where;
};
Reading Read(const ShownText& text, const sf::Image& screen);

// The texts that read below the ratio, with their ratios, one per line; empty when all read.
std::string PoorlyReadTexts(const std::vector<ShownText>& texts, const sf::Image& screen, double least);

}  // namespace gui_testing
