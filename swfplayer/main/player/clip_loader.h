#pragma once

namespace swfplayer {

class as_object;
class character;
class movie_def_impl;
class player;

// What scripts load into a clip (see load_file in the script core), registered by
// register_clip_loader() for every player:
// - an empty url unloads the clip: it leaves its parent, or a root movie's stage is cleared;
// - a url ending in ".swf" (any case) is read through the player's definition library and a new
//   instance of it takes the clip's place, with the clip's name, depth and transforms;
// - ".jpg" is decoded into a bitmap that takes the clip's place the same way;
// - anything else loads nothing.
// Relative urls are read inside the player's working directory. Absolute urls and ".." parts
// are refused (logged), so a movie reads no file outside the game's data; a root movie is not
// replaced, since nothing would hold the new movie.
as_object* load_into_clip(player* owner, as_object* target, const char* url);

// A new instance of def in target's place (parent, name, depth and transforms), the one way a
// loaded movie takes a clip's place. Null, logged, for a root target, which nothing else would
// hold; null when an argument is null.
character* replace_with_movie(player* owner, character* target, movie_def_impl* def);

// Makes load_into_clip the script core's clip loader and registers the MovieClipLoader class,
// which loads into clips too.
void register_clip_loader();

}  // namespace swfplayer
