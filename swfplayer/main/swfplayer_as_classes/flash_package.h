#pragma once

namespace swfplayer {

class as_object;
class player;

// The global "flash": "geom" (the constructors Point, Matrix, Transform and ColorTransform) and "Events".
as_object* make_flash_package(player* owner);

}  // namespace swfplayer
