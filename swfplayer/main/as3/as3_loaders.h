#pragma once

namespace swfplayer {

// Adds the DoABC (82) loader to the tag table (through add_tag_loader_registrar, so it stays
// after the table is cleared and filled again). A block is read into an abc_def of the movie's
// player and kept by the movie; a rejected block, a second block and a block inside a sprite
// are logged and dropped, and the movie loads on.
void register_as3_loaders();

}  // namespace swfplayer
