#pragma once

namespace swfplayer {

class movie_definition_sub;
class stream;

// Tag loaders of the sound tags: DefineSound (14), StartSound (15), SoundStreamHead (18, 45) and
// SoundStreamBlock (19). Without a sound handler they keep nothing.
void define_sound_loader(stream* in, int tag_type, movie_definition_sub* m);
void start_sound_loader(stream* in, int tag_type, movie_definition_sub* m);
void sound_stream_head_loader(stream* in, int tag_type, movie_definition_sub* m);
void sound_stream_block_loader(stream* in, int tag_type, movie_definition_sub* m);

}  // namespace swfplayer
