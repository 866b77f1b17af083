#pragma once
// Internal to the screen tests: how well a text shows against what is behind it, measured on
// pictures of the screen drawn with the text and without it.

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Rect.hpp>

namespace gui_testing {

// The contrast ratio of two colours as readers of screens judge it, from 1 (the same) to 21
// (black on white): the lighter relative luminance plus 0.05 over the darker one plus 0.05. Alpha
// is not looked at.
double ContrastRatio(const sf::Color& a, const sf::Color& b);

// The coverage of a text: drawn once in black and once in white over the same picture, the
// share of each pixel that it covers (0 to 1).
class TextCoverage {
public:
    TextCoverage(const sf::Image& black, const sf::Image& white);
    float At(unsigned int x, unsigned int y) const;
    // The smallest rectangle of the pixels the text covers at all; empty when it covers none.
    sf::IntRect Bounds() const;

private:
    const sf::Image& m_Black;
    const sf::Image& m_White;
};

// The contrast a reader meets on the text: at every pixel the text covers in full, the contrast
// of what shows there with the text against what shows there without it. A text that crosses a
// light and a dark background must read on both, so the low end counts: the 5th percentile of
// those pixels. 0 when the text covers no pixel in full (it is not shown).
double TextContrast(const sf::Image& with, const sf::Image& without, const TextCoverage& coverage);

// Whether the text at where sits in its frame with room on either side: in the picture without
// it, at the text's middle height, the colour behind the text's middle reaches margin pixels past
// both of its ends.
bool HasRoom(const sf::Image& without, const sf::IntRect& where, int margin);

}  // namespace gui_testing
