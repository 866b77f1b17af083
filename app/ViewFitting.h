#pragma once

#include <SFML/System/Vector2.hpp>

#include <optional>

// The size, in logical units, of the view that shows the whole logical screen centred in a
// window of width x height pixels, undistorted. Windows narrower than the logical screen's
// aspect get the logical width and a taller view (space above and below); wider windows get the
// logical height and a wider view (space at the sides). A window with a zero side (minimised)
// has no such view: the result is empty.
std::optional<sf::Vector2f> FittedViewSize(unsigned width, unsigned height, sf::Vector2f logicalSize);
