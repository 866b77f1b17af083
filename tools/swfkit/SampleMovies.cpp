#include "tools/swfkit/SampleMovies.h"

#include "tools/swfkit/Movie.h"

namespace swfkit {

namespace {

const Rect kStage{0, 11000, 0, 8000};

Bytes Stop() {
    return {0x07, 0x00};
}

ShapeBuilder Square(int32_t size, Color color = {200, 40, 40, 255}) {
    ShapeBuilder shape;
    int fill = shape.AddFillStyle(FillStyle::Solid(color));
    int line = shape.AddLineStyle({40, {0, 0, 0, 255}});
    shape.SetFillStyle1(fill);
    shape.SetLineStyle(line);
    shape.MoveTo(0, 0);
    shape.LineTo(size, 0);
    shape.CurveTo(size + size / 2, size / 2, size, size);
    shape.LineTo(0, size);
    shape.LineTo(0, 0);
    return shape;
}

Movie Timeline(int version) {
    Movie movie(version, kStage, 24.0);
    TagList& tags = movie.Tags();
    tags.SetBackgroundColor({30, 60, 90}).FrameLabel("intro");
    tags.DefineShape(1, Square(400), 1).DefineShape(2, Square(200), 3);
    Matrix at;
    at.translateX = 2000;
    at.translateY = -40;
    ColorTransform tint;
    tint.hasAdd = true;
    tint.add[0] = 40;
    tags.PlaceObject(1, 1, at, tint);
    Placement placed;
    placed.depth = 2;
    placed.characterId = 2;
    placed.name = "ball";
    placed.ratio = 32768;
    placed.clipDepth = 4;
    placed.matrix = at;
    tint.hasMult = true;
    tint.mult[3] = 128;
    placed.colorTransform = tint;
    tags.PlaceObject2(placed);
    tags.DoAction(Stop()).ShowFrame();
    Placement moved;
    moved.depth = 2;
    moved.move = true;
    moved.matrix = Matrix{};
    tags.PlaceObject2(moved);
    Placement replaced;
    replaced.depth = 1;
    replaced.characterId = 2;
    replaced.move = true;
    tags.PlaceObject2(replaced).FrameLabel("outro").ShowFrame();
    tags.RemoveObject(2, 1).RemoveObject2(2).ShowFrame();
    return movie;
}

Movie ClipActions(int version) {
    Movie movie(version, kStage, 12.0);
    TagList& tags = movie.Tags();
    tags.DefineShape(1, Square(100), 2);
    Placement placement;
    placement.characterId = 1;
    placement.name = "actor";
    placement.clipActions.push_back({0x0003, 0, Stop()});
    placement.clipActions.push_back({0x0400, 0, {0x06, 0x00}});
    if (version >= 6) {
        placement.clipActions.push_back({0x20000, 37, Stop()});
        placement.clipActions.push_back({0x40000, 0, Stop()});
    }
    tags.PlaceObject2(placement).ShowFrame();
    return movie;
}

Movie Sprites() {
    Movie movie(7, kStage, 30.0);
    TagList inner(7);
    inner.FrameLabel("spin").RemoveObject2(1).ShowFrame().ShowFrame();
    TagList outer(7);
    outer.DefineSprite(3, inner).PlaceObject(3, 1).FrameLabel("a").ShowFrame();
    outer.FrameLabel("A").ShowFrame().DoInitAction(2, Stop()).ExportAssets({{3, "inner"}}).ShowFrame();
    TagList extra(7);
    extra.ShowFrame().ShowFrame().RemoveObject2(2).ShowFrame();
    TagList& tags = movie.Tags();
    tags.DefineSprite(2, outer).DefineSprite(4, extra, 1).DefineSprite(5, extra, 0);
    tags.ExportAssets({{2, "Outer"}, {4, "Extra"}, {99, "Missing"}});
    tags.DoInitAction(2, Stop());
    Placement placement;
    placement.characterId = 2;
    placement.name = "holder";
    tags.PlaceObject2(placement).ShowFrame();
    return movie;
}

Bytes AllFilters() {
    BitWriter list;
    list.WriteU8(8);
    const int sizes[] = {23, 9, 15, 27};
    for (uint8_t id = 0; id < 4; id++) {
        list.WriteU8(id);
        list.WriteBytes(Bytes(static_cast<size_t>(sizes[id]), 0x11));
    }
    list.WriteU8(4);
    list.WriteU8(2);
    list.WriteBytes(Bytes(29, 0x22));
    list.WriteU8(5);
    list.WriteU8(3);
    list.WriteU8(3);
    list.WriteBytes(Bytes(49, 0x33));
    list.WriteU8(6);
    list.WriteBytes(Bytes(80, 0x44));
    list.WriteU8(7);
    list.WriteU8(1);
    list.WriteBytes(Bytes(24, 0x55));
    return list.GetBytes();
}

Movie PlaceObject3() {
    Movie movie(8, kStage, 25.0);
    TagList& tags = movie.Tags();
    tags.DefineShape(1, Square(300), 4);
    Placement placement;
    placement.characterId = 1;
    placement.name = "filtered";
    placement.filterList = AllFilters();
    placement.blendMode = 2;
    placement.clipActions.push_back({0x1, 0, Stop()});
    tags.PlaceObject3(placement);
    placement.depth = 2;
    placement.filterList = Bytes{1, 9, 0};  // an unknown filter
    tags.PlaceObject3(placement).ShowFrame();
    return movie;
}

Movie ScriptTables() {
    Movie movie(9, kStage, 60.0);
    BitWriter symbols;
    symbols.WriteU16(2);
    symbols.WriteU16(0);
    symbols.WriteString("Main");
    symbols.WriteU16(1);
    symbols.WriteString("Ball");
    BitWriter scenes;
    scenes.WriteVu32(2);
    scenes.WriteVu32(0);
    scenes.WriteString("Scene 1");
    scenes.WriteVu32(1);
    scenes.WriteString("Scene 2");
    scenes.WriteVu32(1);
    scenes.WriteVu32(1);
    scenes.WriteString("second");
    TagList& tags = movie.Tags();
    tags.Tag(swfplayer::tag_file_attributes, {0x08, 0, 0, 0})
        .Tag(swfplayer::tag_metadata, {'<', 'r', '/', '>', 0})
        .Tag(swfplayer::tag_protect, {})
        .Tag(swfplayer::tag_enable_debugger, {'x', 0});
    tags.Tag(swfplayer::tag_enable_debugger2, {0, 0, 'y', 0})
        .Tag(swfplayer::tag_set_tab_index, {1, 0, 2, 0})
        .Tag(swfplayer::tag_symbol_class, symbols.GetBytes())
        .Tag(swfplayer::tag_define_scene_and_frame_label_data, scenes.GetBytes());
    tags.Tag(swfplayer::tag_do_abc, {1, 0, 0, 0, 'f', 0, 0x10, 0x00, 0x2E, 0x00});
    tags.ShowFrame().ShowFrame();
    return movie;
}

Movie Malformed() {
    Movie movie(6, kStage, 12.0);
    TagList& tags = movie.Tags();
    tags.Tag(1000, {1, 2, 3}).Tag(3, {}).Tag(swfplayer::tag_set_background_color, {1}, true);
    tags.RawTag(swfplayer::tag_define_shape, 0xFFFFFFF0, {0x01, 0x00});
    return movie;
}

Movie Imports() {
    Movie movie(6, kStage, 12.0);
    movie.Tags().ImportAssets("no_such_library.swf", {{10, "a"}, {11, "b"}}).ShowFrame();
    return movie;
}

}  // namespace

// A DefineButton and a DefineButton2 (filters, blend mode, mouse and key actions) with sounds
// for three transitions: every sound-info field is set somewhere.
Movie Buttons() {
    Movie movie(8, kStage, 24.0);
    TagList& tags = movie.Tags();
    tags.DefineShape(1, Square(400, {200, 40, 40, 255}), 1);
    tags.DefineShape(2, Square(400, {40, 200, 40, 255}), 1);
    tags.DefineShape(3, Square(400, {40, 40, 200, 255}), 1);
    BitWriter sound;
    sound.WriteU16(20);
    sound.WriteU8(0x3E);  // uncompressed little-endian, 44 kHz, 16-bit, mono
    sound.WriteU32(2);
    sound.WriteBytes({1, 0, 2, 0});
    tags.Tag(swfplayer::tag_define_sound, sound.GetBytes());
    auto record = [](uint16_t id, bool up, bool over, bool down, bool hit) {
        ButtonRecord r;
        r.characterId = id;
        r.up = up;
        r.over = over;
        r.down = down;
        r.hitTest = hit;
        return r;
    };
    const std::vector<ButtonRecord> states = {record(1, true, false, false, true), record(2, false, true, false, false),
                                              record(3, false, false, true, false)};
    tags.DefineButton(10, states, Stop());
    std::vector<ButtonRecord> fancy = states;
    fancy[1].filterList = Bytes{1, 1, 0, 0, 1, 0, 0, 0, 1, 0, 0x21};  // one blur
    fancy[1].blendMode = 3;
    ColorTransform half;
    half.hasMult = true;
    half.mult[3] = 128;
    fancy[2].colorTransform = half;
    tags.DefineButton2(11, true, fancy, {{0x0001, Stop()}, {0x000C, {0x06, 0x00}}, {65 << 9, Stop()}});
    BitWriter sounds;
    sounds.WriteU16(11);
    sounds.WriteU16(20);
    sounds.WriteU8(0x20);  // roll out: stop
    sounds.WriteU16(20);
    sounds.WriteU8(0x1F);  // roll over: no multiple, envelope, loops, out and in points
    sounds.WriteU32(1);
    sounds.WriteU32(2);
    sounds.WriteU16(3);
    sounds.WriteU8(2);
    for (uint32_t position : {0u, 44100u}) {
        sounds.WriteU32(position);
        sounds.WriteU16(32768);
        sounds.WriteU16(16384);
    }
    sounds.WriteU16(0);   // press: none
    sounds.WriteU16(20);  // release: plain
    sounds.WriteU8(0);
    tags.Tag(swfplayer::tag_define_button_sound, sounds.GetBytes());
    Placement plain;
    plain.characterId = 10;
    plain.name = "plain";
    Placement placed = plain;
    placed.depth = 2;
    placed.characterId = 11;
    placed.name = "fancy";
    placed.matrix = Matrix{};
    placed.matrix->translateX = 3000;
    tags.PlaceObject2(plain).PlaceObject2(placed).ShowFrame();
    return movie;
}

std::vector<std::pair<std::string, Bytes>> LoaderSampleMovies() {
    std::vector<std::pair<std::string, Movie>> movies = {
        {"timeline_v4", Timeline(4)},
        {"timeline_v6", Timeline(6)},
        {"clip_actions_v5", ClipActions(5)},
        {"clip_actions_v6", ClipActions(6)},
        {"sprites", Sprites()},
        {"place_object3", PlaceObject3()},
        {"script_tables", ScriptTables()},
        {"malformed", Malformed()},
        {"imports", Imports()},
        {"buttons", Buttons()},
    };
    std::vector<std::pair<std::string, Bytes>> files;
    for (const auto& [name, movie] : movies) {
        files.emplace_back(name + ".swf", movie.Write(false));
        files.emplace_back(name + "_compressed.swf", movie.Write(true));
    }
    return files;
}

Bytes LargeMovie(int frames, bool compressed) {
    Movie movie(8, kStage, 30.0);
    TagList& tags = movie.Tags();
    for (int frame = 0; frame < frames; frame++) {
        uint16_t id = static_cast<uint16_t>(1 + frame % 60000);
        tags.DefineShape(id, Square(100 + frame % 1000), 1 + frame % 4);
        Matrix at;
        at.translateX = frame * swfplayer::twips_per_pixel;
        at.scaleX = 1.5;
        Placement placement;
        placement.depth = static_cast<uint16_t>(1 + frame % 100);
        placement.characterId = id;
        placement.matrix = at;
        placement.name = "clip" + std::to_string(frame);
        tags.PlaceObject2(placement);
        Placement moved;
        moved.depth = placement.depth;
        moved.move = true;
        moved.matrix = at;
        tags.PlaceObject2(moved);
        if (frame % 10 == 0) {
            TagList sprite(8);
            sprite.PlaceObject(id, 1).ShowFrame().RemoveObject2(1).ShowFrame();
            tags.DefineSprite(static_cast<uint16_t>(60001 + frame % 5000), sprite);
            tags.FrameLabel("frame" + std::to_string(frame));
            tags.DoAction({0x07, 0x00});
        }
        tags.RemoveObject2(static_cast<uint16_t>(1 + (frame + 50) % 100)).ShowFrame();
    }
    return movie.Write(compressed);
}

Bytes GradientMovie(int frames, bool compressed) {
    Movie movie(8, kStage, 30.0);
    TagList& tags = movie.Tags();
    for (int frame = 0; frame < frames; frame++) {
        ShapeBuilder shape;
        for (int style = 0; style < 4; style++) {
            std::vector<GradientStop> stops;
            for (int stop = 0; stop < 8; stop++) {
                uint8_t shade = static_cast<uint8_t>(frame * 7 + style * 50 + stop * 30);
                stops.push_back({static_cast<uint8_t>(stop * 36), {shade, static_cast<uint8_t>(255 - shade), 90, 255}});
            }
            Matrix placement;
            placement.scaleX = 0.05 + 0.01 * style;
            placement.scaleY = 0.04;
            placement.rotate0 = 0.02 * style;
            placement.rotate1 = -0.02 * style;
            placement.translateX = 400 * style + frame % 200;
            placement.translateY = 300 * style;
            shape.AddFillStyle(style % 2 == 0 ? FillStyle::Linear(placement, stops)
                                              : FillStyle::Radial(placement, stops));
        }
        shape.AddLineStyle({40, {0, 0, 0, 255}});
        shape.SetLineStyle(1);
        for (int style = 0; style < 4; style++) {
            int32_t x = 500 * style;
            int32_t size = 400 + frame % 300;
            shape.SetFillStyle1(style + 1);
            shape.MoveTo(x, 0);
            shape.CurveTo(x + size / 2, -size / 3, x + size, 0);
            shape.CurveTo(x + size + size / 3, size / 2, x + size, size);
            shape.LineTo(x, size);
            shape.CurveTo(x - size / 3, size / 2, x, 0);
        }
        uint16_t id = static_cast<uint16_t>(1 + frame % 60000);
        tags.DefineShape(id, shape, 3);
        Placement placement;
        placement.depth = static_cast<uint16_t>(1 + frame % 50);
        placement.characterId = id;
        Matrix at;
        at.translateX = (frame % 500) * swfplayer::twips_per_pixel;
        at.scaleX = 0.75;
        placement.matrix = at;
        tags.RemoveObject2(placement.depth).PlaceObject2(placement).ShowFrame();
    }
    return movie.Write(compressed);
}

}  // namespace swfkit
