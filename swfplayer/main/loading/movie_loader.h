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

// Sets the opener every movie file, image and cache file is read through; null (the default)
// leaves the player without files: nothing is opened until the host registers one.
void register_file_opener_callback(file_opener_function opener);
file_opener_function get_file_opener();

// A new base_file on name through the registered opener (the caller deletes it); null without
// an opener, when it cannot be opened or when it reports an error.
base_file* open_file(const char* name);

// Whether a movie may name the file for another movie to load: a relative name of at most
// max_movie_name_length bytes with no ".." component. Absolute names and ".." would let a movie
// read any file of the machine, so these are refused (logged).
constexpr int max_movie_name_length = 1024;
bool is_allowed_movie_name(const char* name);

// Whether reading a movie also reads its cache file (the name followed by ".gsc") through the
// file opener; off until set.
void set_use_cache_files(bool use);
bool get_use_cache_files();

// The movie at url, from owner's definition library when it was read before, else opened,
// read, given its cache file (when cache files are on) and stored in the library. Null when
// url cannot be opened, is not a movie, is already being loaded further up (a movie importing
// itself, or a cycle of imports), or lies too many imports deep.
smart_ptr<movie_def_impl> load_movie_definition(player* owner, const char* url);
// The second half of that, for a file already opened: the movie url read from in (taken over),
// given its cache file and stored in owner's library. Null when in is not a movie.
smart_ptr<movie_def_impl> read_movie_definition(player* owner, const char* url, base_file* in);

}  // namespace swfplayer
