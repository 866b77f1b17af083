#pragma once

namespace swfplayer {

// Lets go of what the player library keeps for the whole process, once no player is left
// (asserted): the tag-loader table (the next movie registers the loaders again), the
// extension libraries (unloaded), the glyph provider (closed) and the opcode table of the
// ActionScript 3 listing. The game never calls it.
void player_cleanup();

}  // namespace swfplayer
