#pragma once

#include "swfplayer/base/base_file.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/loading/movie_def_impl.h"

namespace swfplayer {

// Reads a whole movie from in (taken over and closed) with the tag loaders registered. Null,
// logged, when in is not a SWF movie.
smart_ptr<movie_def_impl> create_movie_definition(player* owner, base_file* in);

// Opens the movie file at url and reads it, for ImportAssets. Null when url is not a plain file
// that can be opened, is not a movie, is already being loaded further up (a movie importing itself, or a
// cycle of imports), or lies too many imports deep.
smart_ptr<movie_def_impl> load_movie_definition(player* owner, const char* url);

}  // namespace swfplayer
