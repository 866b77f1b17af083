#pragma once

#include "swfplayer/base/base_file.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/loading/movie_def_impl.h"

namespace swfplayer {

// Reads a whole movie from in (taken over and closed) with the tag loaders registered. Null,
// logged, when in is not a SWF movie.
smart_ptr<movie_def_impl> create_movie_definition(player* owner, base_file* in);

// Opens a file for reading by name: a new base_file (deleted by the caller), or null. The game
// registers one that reads through its virtual file system.
typedef base_file* (*file_opener_function)(const char* name);

// Sets the opener every movie file is read through; null (the default) opens plain files in
// the file system.
void register_file_opener_callback(file_opener_function opener);

// Whether a movie may name the file for another movie to load: a relative name of at most
// max_movie_name_length bytes with no ".." component. Absolute names and ".." would let a movie
// read any file of the machine, so these are refused (logged).
constexpr int max_movie_name_length = 1024;
bool is_allowed_movie_name(const char* name);

// Opens the movie file at url and reads it, for ImportAssets. Null when url cannot be opened,
// is not a movie, is already being loaded further up (a movie importing itself, or a cycle of
// imports), or lies too many imports deep.
smart_ptr<movie_def_impl> load_movie_definition(player* owner, const char* url);

}  // namespace swfplayer
