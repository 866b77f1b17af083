// Reads arbitrary bytes as a screen description: a Flash GUI screen and the hint overlay load it
// (their layers from a small kit movie with the clips "clip", "background" and "toppings", when
// the description names "m.swf"), add focus items for its clips, update with anchored texts,
// navigate, show hints, unload and load it again.
#include "app/Application.h"
#include "fuzz/MountedFolder.h"
#include "gui/GUIHint.h"
#include "tests/support/GlDriver.h"
#include "tools/swfkit/Movie.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void Write(const std::filesystem::path& path, const void* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// A 200 x 200 movie of two frames: a square sprite placed three times, as "clip" (which moves),
// "background" and "toppings".
swfkit::Bytes KitMovie() {
    swfkit::Movie movie(8, {0, 4000, 0, 4000}, 10);
    swfkit::TagList& tags = movie.Tags();
    swfkit::ShapeBuilder square;
    square.SetFillStyle1(square.AddFillStyle(swfkit::FillStyle::Solid({255, 0, 0, 255})));
    square.MoveTo(-200, -200);
    for (auto [x, y] : {std::pair{200, -200}, {200, 200}, {-200, 200}, {-200, -200}}) {
        square.LineTo(x, y);
    }
    tags.DefineShape(1, square);
    swfkit::TagList frames(8);
    swfkit::Placement inner;
    inner.characterId = 1;
    frames.PlaceObject2(inner);
    frames.ShowFrame();
    tags.DefineSprite(2, frames);
    uint16_t depth = 1;
    for (const char* name : {"clip", "background", "toppings"}) {
        swfkit::Placement placement;
        placement.depth = depth++;
        placement.characterId = 2;
        placement.name = name;
        placement.matrix = swfkit::Matrix{1.0, 1.0, 0.0, 0.0, 1000, 1000};
        tags.PlaceObject2(placement);
    }
    tags.ShowFrame();
    swfkit::Placement move;
    move.depth = 1;
    move.move = true;
    move.matrix = swfkit::Matrix{1.0, 1.0, 0.0, 0.0, 2000, 1500};
    tags.PlaceObject2(move);
    tags.ShowFrame();
    return movie.Write(false);
}

// The fuzz target's folder, holding the kit movie.
const std::filesystem::path& Folder() {
    static const bool written = [] {
        const swfkit::Bytes movie = KitMovie();
        Write(fuzz_support::MountedFolder() / "m.swf", movie.data(), movie.size());
        return true;
    }();
    (void)written;
    return fuzz_support::MountedFolder();
}

}  // namespace

// The application's window opens an OpenGL context; its driver stays loaded, so the leak check
// can tell the driver's own blocks, a few of which it never frees, from what the screens leak.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:swrast_dri.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool kept = (testing_support::KeepGlDriverLoaded(), true);
    (void)kept;
    Write(Folder() / "screen.xml", data, size);
    Application& application = Application::GetInstance();

    FlashGUI screen;
    screen.Load("screen.xml");
    for (const char* name : {"clip", "background", "none"}) {
        screen.AddFlashFocusItem(name);
    }
    screen.SetFocus("clip");
    for (int step = 0; step < 3; ++step) {
        screen.Update(application, 0.1f);
        screen.OnCommand(nullptr, 1 + step);
    }
    screen.SetTextAlpha("t", 0.5f);
    screen.ShowTextsWithTagPart("t");
    screen.Unload();
    screen.Load("screen.xml");

    GUIHint hint;
    hint.Load("screen.xml");
    hint.ShowHint("quickmatch controls", 2);
    hint.OnFSCommand("checkpoint");
    hint.Update(application, 0.1f);
    hint.OnCommand(nullptr, 1);
    hint.OnCommand(nullptr, 5);
    hint.Update(application, 0.1f);
    return 0;
}
