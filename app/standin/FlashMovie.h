#pragma once

#include "flash/FlashMovie.h"

// Stand-in for the drawing canvas of a movie's root sprite, until sprites have one.

namespace standin {

// Clears the drawing canvas of the movie's root sprite, when it has one.
inline void ClearRootCanvas(FlashMovie&) {}

}  // namespace standin
