#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/player/root.h"

namespace swfplayer {

class player;

// The movie definition of filename for owner (not null): from its definition library when read before,
// else opened through the file opener, read with every tag loader registered (and its cache
// file when cache files are on) and stored in the library. Null, logged, when the file cannot
// be opened or is not a movie.
movie_def_impl* create_movie(player* owner, const char* filename);

// A new playing instance of def: a root that registers itself with def's player, with a root
// sprite whose first frame's tags have run. Null when def has no player any more.
smart_ptr<root> create_instance(movie_def_impl* def);
// The same, played by owner (not null) instead of def's player.
smart_ptr<root> create_instance(movie_def_impl* def, player* owner);

// create_movie, then create_instance. Null when either fails (printed to standard error).
smart_ptr<root> load_file(player* owner, const char* filename);

}  // namespace swfplayer
