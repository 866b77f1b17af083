#pragma once

#include <SFML/System/Vector2.hpp>

// Where a window of the size opens on a screen of the size: centred, and never past the
// screen's top or left edge, so that a window as large as the screen, or larger, opens at its
// top-left corner with its title and its top-left part in sight. The window system's own
// placement is not relied on: without a window manager it can put the window partly off the
// screen.
sf::Vector2i CentredWindowPosition(sf::Vector2u screen, sf::Vector2u window);
