#pragma once

#include "swfplayer/main/text/edit_text_character.h"
#include "swfplayer/main/text/font.h"
#include "tests/swfplayer/main/display/DisplayTestKit.h"
#include "tools/swfkit/FontBuilder.h"
#include "tools/swfkit/Movie.h"
#include "tools/swfkit/TextWriter.h"

#include <functional>
#include <string>
#include <vector>

namespace text_test {

using namespace swfplayer;

// A recording render handler that also keeps every matrix it was given.
class MatrixRecorder : public testing_support::RecordingRenderHandler {
public:
    void set_matrix(const matrix& m) override {
        matrices.push_back(m);
        RecordingRenderHandler::set_matrix(m);
    }
    std::vector<matrix> matrices;
};

// The id the fixture's movies give the kit font.
constexpr uint16_t kFontId = 1;

// The game font, embedded with the characters the text tests use.
const swfkit::EmbeddedFont& KitFont();

// Base of the text tests: the display fixture with the text and shape loaders registered and a
// matrix-recording render handler installed.
class TextFixture : public display_test::DisplayFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // A movie holding the kit font as DefineFont2 (id 1, with layout) and the tags added.
    smart_ptr<movie_def_impl> LoadWithFont(const std::function<void(swfkit::TagList&)>& addTags);
    // A field of the definition under a root sprite of its movie (kept in m_movie, m_sprite).
    smart_ptr<edit_text_character> MakeField(const swfkit::EditText& field);
    // The lines of a laid-out field, one record per line, from the kit font's codes ('?' for a
    // missing glyph).
    static std::vector<std::string> Lines(const edit_text_character& field);
    // The advance of text in the kit font at a height, twips.
    static float Width(const std::string& text, float height);

    MatrixRecorder m_matrices;
    smart_ptr<movie_def_impl> m_movie;
    smart_ptr<sprite_instance> m_sprite;
};

}  // namespace text_test
