#pragma once

namespace swfplayer {

class as_object;
class player;

// What scripts load into a clip (see load_file in the script core), registered by
// register_clip_loader() for every player:
// - an empty url unloads the clip: it leaves its parent, or a root movie's stage is cleared;
// - a url ending in ".swf" (any case) is read through the player's definition library and a new
//   instance of it takes the clip's place, with the clip's name, depth and transforms
//   (replace_me); loaded into the root movie, it replaces the whole root at the root's next
//   safe point (the root movie is returned meanwhile);
// - ".jpg" is decoded into a bitmap that takes the clip's place the same way; the root movie
//   cannot be replaced by an image (logged);
// - anything else loads nothing.
// Relative urls are read inside the player's working directory. Absolute urls and ".." parts
// are refused (logged), so a movie reads no file outside the game's data.
as_object* load_into_clip(player* owner, as_object* target, const char* url);

// Makes load_into_clip the script core's clip loader and registers the MovieClipLoader class,
// which loads into clips too.
void register_clip_loader();

}  // namespace swfplayer
