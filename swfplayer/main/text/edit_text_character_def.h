#pragma once

#include "swfplayer/base/base_string.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/common/rgba.h"
#include "swfplayer/main/display/character_def.h"
#include "swfplayer/main/text/csm_text_settings.h"
#include "swfplayer/main/text/font.h"

namespace swfplayer {

class movie_definition_sub;
class stream;

// The definition of a text field whose content changes at run time (DefineEditText, or made by
// script with its own default font). Instances are edit_text_characters; the member keys of an
// instance write some flags here, so every instance of one definition shares them.
class edit_text_character_def : public character_def {
public:
    enum alignment { ALIGN_LEFT = 0, ALIGN_RIGHT = 1, ALIGN_CENTER = 2, ALIGN_JUSTIFY = 3 };

    // A definition loaded from root_def.
    edit_text_character_def(player* owner, movie_definition_sub* root_def);
    // A definition made by script: width by height pixels, a default font of its own, no movie.
    edit_text_character_def(player* owner, int width, int height);

    // The DefineEditText body after the character id.
    void read(stream* in, int tag_type, movie_definition_sub* m);

    void get_bound(rect* r) const override { *r = m_rect; }
    // Resolves the font by id on the way (logged when it names none) and makes the field.
    character* create_character_instance(character* parent, int id) override;

    movie_definition_sub* m_root_def = nullptr;
    rect m_rect;
    base_string m_variable_name;
    bool m_word_wrap = false;
    bool m_multiline = false;
    bool m_password = false;
    bool m_readonly = false;
    bool m_auto_size = false;
    bool m_no_select = false;
    bool m_border = false;
    bool m_html = false;
    bool m_use_outlines = false;
    int m_font_id = -1;
    smart_ptr<font> m_font;
    float m_text_height = 240.0f;
    rgba m_color{0, 0, 0, 255};
    int m_max_length = 0;  // characters; 0 for no limit
    int m_alignment = ALIGN_LEFT;
    float m_left_margin = 0.0f;
    float m_right_margin = 0.0f;
    float m_indent = 0.0f;
    float m_leading = 0.0f;
    base_string m_default_text;
    csm_text_settings m_csm;
};

}  // namespace swfplayer
