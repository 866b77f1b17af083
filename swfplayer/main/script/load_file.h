#pragma once

namespace swfplayer {

class as_environment;
class as_object;
class as_value;
class player;

// Loads the file at url into a clip, for loadMovie, getURL with a target and MovieClipLoader.
// The script core only finds the clip; reading movies and images is the player layer's, which
// registers the loader. target and url are never null.
typedef as_object* (*clip_loader_function)(player* owner, as_object* target, const char* url);
void register_clip_loader(clip_loader_function loader);

// Resolves target_value from env's target; it must be a character (else, with verbose action
// logging, a message). Then the registered loader: an empty url unloads the clip, a movie or
// an image takes its place. The new clip, or null (a url that gives nothing is not logged here).
as_object* load_file(as_environment* env, const char* url, const as_value& target_value);

}  // namespace swfplayer
