#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/main/common/matrix.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/display/character_def.h"
#include "swfplayer/main/text/csm_text_settings.h"
#include "swfplayer/main/text/text_glyph_record.h"

namespace swfplayer {

class movie_definition_sub;
class stream;

// Static text (DefineText, DefineText2): runs of glyph indices into fonts of the movie, each run
// with its style, drawn at the text's own matrix. Instances are generic characters.
class text_character_def : public character_def {
public:
    // root_def (not null) is the movie the fonts are looked up in.
    text_character_def(player* owner, movie_definition_sub* root_def);

    // The body after the character id. Glyph or advance bit counts above 32 leave the text
    // without records (logged).
    void read(stream* in, int tag_type, movie_definition_sub* m);

    void display(character* instance) override;
    void get_bound(rect* r) const override { *r = m_rect; }

    movie_definition_sub* m_root_def;
    rect m_rect;
    matrix m_matrix;
    array<text_glyph_record> m_text_glyph_records;
    csm_text_settings m_csm;
};

}  // namespace swfplayer
