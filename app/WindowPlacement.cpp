#include "app/WindowPlacement.h"

#include <algorithm>
#include <cstdint>

namespace {

// The offset that centres the length in the room; 0 when it does not fit.
int CentredOffset(unsigned room, unsigned length) {
    return static_cast<int>(std::max<int64_t>((static_cast<int64_t>(room) - static_cast<int64_t>(length)) / 2, 0));
}

}  // namespace

sf::Vector2i CentredWindowPosition(sf::Vector2u screen, sf::Vector2u window) {
    return {CentredOffset(screen.x, window.x), CentredOffset(screen.y, window.y)};
}
