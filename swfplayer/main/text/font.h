#pragma once

#include "swfplayer/base/array.h"
#include "swfplayer/base/base_string.h"
#include "swfplayer/base/hash.h"
#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/display/character_def.h"

#include <cstdint>

namespace swfplayer {

class movie_definition_sub;
class shape_character_def;
class stream;
struct glyph;

// Glyph outlines lie on an EM square of this many units.
constexpr float font_em_units = 1024.0f;

// What a movie defines for one font: glyph outlines as shapes, the map from character codes to
// glyph indices and the optional layout data (ascent, descent, leading, advances, kerning). Fonts
// live in the movie's font dictionary and are never placed. A font that received alignment zones
// keeps its outlines and advances at 20 times the usual scale ("twentieths font").
class font : public character_def {
public:
    explicit font(player* owner);
    ~font() override;

    bool is(int class_id) const override { return class_id == AS_FONT || character_def::is(class_id); }

    // The body of DefineFont (10), DefineFont2 (48) or DefineFont3 (75) after the id.
    void read(stream* in, int tag_type, movie_definition_sub* m);
    // The body of DefineFontInfo (13) or DefineFontInfo2 (62) after the id. A code table read
    // before is replaced: the later tag describes the glyphs.
    void read_font_info(stream* in, int tag_type);
    // The body of DefineFontAlignZones (73) after the id.
    void read_font_alignzones(stream* in, int tag_type);

    int get_glyph_count() const { return m_glyphs.size(); }
    // The outline of a glyph index (>= 0); null past the glyph array or for a glyph without one.
    shape_character_def* get_glyph_by_index(int index) const;
    // Fills out for a character code (index, shape, advance in font units); false when the font
    // has no glyph for it, leaving out reset (index -1, advance 512, or 10240 in twentieths).
    // An installed glyph provider is asked first: its bitmap, bounds and advance at font_size
    // pixels come instead of the outline when it has the character.
    bool get_char_glyph(glyph* out, int code, int font_size) const;
    // The kerning of the pair in font units (both codes taken as 16 bits); 0 when none.
    float get_kerning_adjustment(int last_code, int code) const;

    // Whether the outlines are at 20 times the usual scale (the font has alignment zones).
    bool is_twentieths() const { return !m_zone_table.empty(); }
    // The factor from font units to twips for text of the given height.
    float get_scale(float text_height) const;

    const base_string& get_name() const { return m_name; }
    void set_name(const base_string& name) { m_name = name; }
    bool is_bold() const { return m_is_bold; }
    void set_bold(bool bold) { m_is_bold = bold; }
    bool is_italic() const { return m_is_italic; }
    void set_italic(bool italic) { m_is_italic = italic; }
    float get_ascent() const { return m_ascent; }
    float get_descent() const { return m_descent; }
    float get_leading() const { return m_leading; }
    int get_code_count() const { return m_code_table.size(); }
    bool has_wide_codes() const { return m_wide_codes; }

private:
    // A (coordinate, range) pair of one glyph's alignment zone.
    struct zone_data {
        float m_alignment_coord = 0.0f;
        float m_range = 0.0f;
    };

    // Reads one glyph outline at the position; offsets outside the tag give no outline. The bytes
    // read are taken from *budget; false (logged) once it is spent.
    bool read_glyph(stream* in, int position, int tag_type, movie_definition_sub* m, int index, int* budget);
    // Reads the DefineFont offset table and the outlines it points at.
    void read_define_font(stream* in, movie_definition_sub* m);
    void read_define_font2(stream* in, int tag_type, movie_definition_sub* m);
    // The code of each glyph index in order, replacing the table.
    void read_code_table(stream* in);
    // Ascent, descent, leading, advances, bounds (dropped) and kerning pairs of DefineFont2/3.
    void read_layout(stream* in);

    array<smart_ptr<shape_character_def>> m_glyphs;
    base_string m_name;
    bool m_small_text = false;
    bool m_shift_jis = false;
    bool m_ansi = true;
    bool m_is_italic = false;
    bool m_is_bold = false;
    bool m_wide_codes = false;
    hash<uint16_t, int> m_code_table;
    float m_ascent = 0.0f;
    float m_descent = 0.0f;
    float m_leading = 0.0f;
    array<float> m_advance_table;
    hash<uint32_t, float> m_kerning_pairs;  // first code << 16 | second code
    uint8_t m_csm_table_hint = 0;
    array<array<zone_data>> m_zone_table;
};

}  // namespace swfplayer
