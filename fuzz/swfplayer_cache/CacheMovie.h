#pragma once
// The movie whose dictionary the cache fuzzer's inputs describe: two square shapes (ids 1 and
// 2, one with an outline) and a sprite (id 3), built with the SWF kit.

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/script/player.h"

namespace cache_fuzz {

swfplayer::smart_ptr<swfplayer::movie_def_impl> LoadCacheMovie(swfplayer::player* owner);

}  // namespace cache_fuzz
