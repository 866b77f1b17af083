#pragma once

namespace swfplayer {

// Puts the loaders of DefineShape 1 to 4 (tags 2, 22, 32, 83) and DefineMorphShape 1 and 2
// (tags 46, 84) into the tag table, now and whenever the table is registered again. The host
// calls it once before loading movies.
void register_shape_loaders();

}  // namespace swfplayer
