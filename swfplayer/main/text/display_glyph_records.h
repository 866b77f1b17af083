#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/main/text/text_glyph_record.h"

namespace swfplayer {

class character;
class movie_definition_sub;
class matrix;

// Draws the records of a text for an instance: each glyph is its font's outline (or the bitmap
// the glyph provider rendered for it), scaled from the EM square to the record's height and
// filled with the record's colour, at the pen position;
// the pen carries from record to record unless a record sets it. Fonts not yet resolved are
// looked up by id in root_def (which may be null when every record has its font).
void display_glyph_records(const matrix& text_matrix, character* inst, array<text_glyph_record>& records,
                           movie_definition_sub* root_def);

}  // namespace swfplayer
