// The input is the tag list of a movie (after the header): fonts, texts and fields of any shape.
// The movie is loaded with the text loaders, every character with an id below 256 is placed and
// drawn without a renderer, fields are given texts, focus and key presses, and fonts are asked
// for glyphs and kerning. Nothing may crash, hang or read outside its data.
#include "swfplayer/base/base_file.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/script/player.h"
#include "swfplayer/main/shapes/shape_loaders.h"
#include "swfplayer/main/text/font.h"
#include "swfplayer/main/text/glyph.h"
#include "swfplayer/main/text/text_loaders.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void quiet(bool, const char*) {}

// A version 8 movie header (frame size 0, 12 frames a second, one frame) in front of the tags.
std::vector<uint8_t> movie_of(const uint8_t* tags, size_t size) {
    std::vector<uint8_t> bytes = {'F', 'W', 'S', 8, 0, 0, 0, 0, 0x00, 0, 12, 1, 0};
    bytes.insert(bytes.end(), tags, tags + size);
    const uint32_t length = static_cast<uint32_t>(bytes.size());
    for (int i = 0; i < 4; i++) {
        bytes[4 + i] = static_cast<uint8_t>(length >> (8 * i));
    }
    return bytes;
}

void exercise_field(swfplayer::character* field) {
    for (const char* text : {"Hello\r<b>world</b> \xc3\xa9\xe2\x82\xac", "a<", "", "x\n\b\by"}) {
        field->set_member("text", swfplayer::as_value(text));
        field->display();
    }
    field->on_event(swfplayer::event_id(swfplayer::event_id::SETFOCUS));
    for (int key : {8, 46, 37, 39, 36, int{'a'}, 0xE9, 35, 8, 46}) {
        field->on_event(swfplayer::event_id(swfplayer::event_id::KEY_PRESS, static_cast<uint8_t>(key)));
    }
    field->advance(0.0f);
    field->display();
    field->on_event(swfplayer::event_id(swfplayer::event_id::KILLFOCUS));
}

void exercise_font(const swfplayer::font& f) {
    swfplayer::glyph g;
    for (int code = -1; code < 300; code++) {
        f.get_char_glyph(&g, code, 12);
        f.get_kerning_adjustment(code, 'A');
    }
    for (int index = 0; index < f.get_glyph_count() && index < 300; index++) {
        f.get_glyph_by_index(index);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static swfplayer::smart_ptr<swfplayer::player> owner = [] {
        swfplayer::register_log_callback(quiet);
        swfplayer::register_shape_loaders();
        swfplayer::register_text_loaders();
        return swfplayer::smart_ptr<swfplayer::player>(new swfplayer::player());
    }();
    const std::vector<uint8_t> bytes = movie_of(data, size);
    swfplayer::smart_ptr<swfplayer::movie_def_impl> movie = swfplayer::create_movie_definition(
        owner.get_ptr(),
        new swfplayer::base_file(swfplayer::memory_buffer, static_cast<int>(bytes.size()), bytes.data()));
    if (!movie) {
        return 0;
    }
    for (int id = 0; id < 256; id++) {
        swfplayer::character_def* font_def = movie->get_font(id);
        if (font_def && font_def->is(swfplayer::AS_FONT)) {
            exercise_font(*static_cast<swfplayer::font*>(font_def));
        }
        swfplayer::character_def* def = movie->get_character_def(id);
        if (def == nullptr) {
            continue;
        }
        swfplayer::smart_ptr<swfplayer::character> instance = def->create_character_instance(nullptr, id);
        if (!instance) {
            continue;
        }
        instance->display();
        if (instance->is(swfplayer::AS_EDIT_TEXT)) {
            exercise_field(instance.get_ptr());
        }
    }
    return 0;
}
