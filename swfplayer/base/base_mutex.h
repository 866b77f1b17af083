#pragma once

#include <mutex>

namespace swfplayer {

// The player library's lock type.
using base_mutex = std::recursive_mutex;

}  // namespace swfplayer
