#pragma once

namespace swfplayer {

class movie_definition_sub;
class stream;

// A tag loader: in is positioned just behind the tag header, m is the definition being loaded
// (a movie or a sprite). A loader may read less than the whole tag; the tag loop skips the rest.
typedef void (*loader_function)(stream* in, int tag_type, movie_definition_sub* m);

// Adds a loader to the process-wide table; the type (0..1023) must not have one yet and lf must
// be set.
void register_tag_loader(int tag_type, loader_function lf);
// True when the type has a loader, which is stored through lf when lf is not null.
bool get_tag_loader(int tag_type, loader_function* lf);
// Registers this player's loaders once; later calls do nothing until clear_tag_loaders.
void register_tag_loaders();
// Adds a function that registers loaders of a layer above loading (shapes, for one); it runs
// now when the table is registered, and again whenever register_tag_loaders fills the table.
// Adding the same function twice adds it once.
void add_tag_loader_registrar(void (*registrar)());
// Empties the table and forgets the registration (player clean-up).
void clear_tag_loaders();

}  // namespace swfplayer
