#pragma once

namespace swfplayer {

// Adds the loaders of fonts (DefineFont 1 to 3, DefineFontInfo 1 and 2, DefineFontAlignZones,
// DefineFontName), static text (DefineText 1 and 2), edit text (DefineEditText) and
// CSMTextSettings to the tag table.
void register_text_loaders();

}  // namespace swfplayer
