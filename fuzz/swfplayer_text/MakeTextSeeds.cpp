// make_text_seeds <font.ttf> <folder>: writes kit-built tag lists (fonts in every layout, static
// texts, fields, font info, alignment zones, names and CSM settings) in the text fuzzer's input
// format into the folder, as its seed corpus (the committed seeds/ folder is its output).
#include "swfplayer/main/common/swf_tag.h"
#include "tools/swfkit/FontBuilder.h"
#include "tools/swfkit/TagList.h"
#include "tools/swfkit/TextWriter.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using swfkit::Bytes;
using swfkit::TagList;

void Write(const std::filesystem::path& folder, const std::string& name, const TagList& tags) {
    std::ofstream out(folder / (name + ".tags"), std::ios::binary);
    const Bytes& bytes = tags.GetBytes();
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes Zones(uint16_t id, size_t glyphs) {
    swfkit::BitWriter out;
    out.WriteU16(id);
    out.WriteU8(0x40);
    for (size_t i = 0; i < glyphs; i++) {
        out.WriteU8(1);
        out.WriteU16(0x3C00);
        out.WriteU16(0x4000);
        out.WriteU8(3);
    }
    return out.GetBytes();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_text_seeds <font.ttf> <folder>\n");
        return 2;
    }
    swfkit::EmbeddedFont font;
    if (!swfkit::LoadTrueTypeFont(argv[1], "Hel o,Wrd\xc3\xa9", &font)) {
        std::fprintf(stderr, "make_text_seeds: cannot read %s\n", argv[1]);
        return 1;
    }
    font.kerning = {{'W', 'o', -40}, {'l', 'o', -10}};
    const std::filesystem::path folder = argv[2];
    std::filesystem::create_directories(folder);

    swfkit::EditText field;
    field.id = 3;
    field.bounds = {0, 2000, 0, 600};
    field.fontId = 1;
    field.color = swfkit::Color{0, 0, 255, 255};
    field.maxLength = 12;
    field.border = true;
    field.layout = swfkit::EditText::Layout{1, 40, 40, 20, 10};
    field.variable = "caption";
    field.text = "Hello World";

    for (int variant = 0; variant < 4; variant++) {
        const bool wide = variant & 1;
        const bool layout = variant & 2;
        TagList tags(8);
        tags.Tag(variant == 3 ? swfplayer::tag_define_font3 : swfplayer::tag_define_font2,
                 swfkit::DefineFont2Body(1, font, wide, wide, layout));
        if (variant == 3) {
            tags.Tag(swfplayer::tag_define_font_align_zones, Zones(1, font.glyphs.size()));
        }
        tags.Tag(swfplayer::tag_define_text2,
                 swfkit::DefineTextBody(2, {0, 4000, 0, 800}, {}, {swfkit::RunOf(font, 1, "Hello", 400)}, 2));
        tags.Tag(swfplayer::tag_define_edit_text, swfkit::DefineEditTextBody(field));
        Write(folder, "font2_variant" + std::to_string(variant), tags);
    }

    TagList info(8);
    info.Tag(swfplayer::tag_define_font, swfkit::DefineFontBody(1, font));
    info.Tag(swfplayer::tag_define_font_info2, swfkit::DefineFontInfoBody(1, font, 2, true));
    swfkit::TextRun run = swfkit::RunOf(font, 1, "World", 240);
    run.color = swfkit::Color{255, 0, 0, 255};
    run.x = 20;
    run.y = 300;
    info.Tag(swfplayer::tag_define_text, swfkit::DefineTextBody(2, {0, 4000, 0, 800}, {}, {run}, 1));
    swfkit::BitWriter csm;
    csm.WriteU16(2);
    csm.WriteU8(0x48);
    csm.WriteFloat(0.5f);
    csm.WriteFloat(1.0f);
    csm.WriteU8(0);
    info.Tag(swfplayer::tag_csm_text_settings, csm.GetBytes());
    swfkit::BitWriter name;
    name.WriteU16(1);
    name.WriteString("Child");
    name.WriteString("");
    info.Tag(swfplayer::tag_define_font_name, name.GetBytes());
    Write(folder, "font1_info2_text_csm_name", info);
    return 0;
}
