#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/player/root.h"

namespace swfplayer {

class player;

// A new playing instance of def: a root that registers itself with def's player, with a root
// sprite whose first frame's tags have run. Null when def has no player any more.
smart_ptr<root> create_instance(movie_def_impl* def);
// The same, played by owner (not null) instead of def's player.
smart_ptr<root> create_instance(movie_def_impl* def, player* owner);

}  // namespace swfplayer
