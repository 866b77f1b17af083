// The training's selection: the pool's shelf comes first, then slides away while a monitor of
// computer opponents slides in; the chosen creature waits on a pad at the side. A choice of
// opponent brings up a "Let's train!" banner. The timeline tells the game when each slide ends.
#include "tools/movies/BubbleButtons.h"
#include "tools/movies/MenuArt.h"
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {

using namespace menu_art;

using bubble_buttons::Bubble;
using bubble_buttons::Icon;

// The shelf about its centre (the game puts the pool's first cell 120 right of and 85 below its
// top-left corner), and where it stands while the creature is chosen.
constexpr float kShelfHalfWidth = 339.0f;
constexpr float kShelfHalfHeight = 149.0f;
constexpr float kShelfX = 417.0f;
constexpr float kShelfY = 180.0f;
// The monitor from its top-left corner (the game puts the bots a fifth of its height down and a
// 7.5th of its width in), and where it stands while the opponent is chosen.
constexpr float kMonitorWidth = 450.0f;
constexpr float kMonitorHeight = 300.0f;
constexpr float kMonitorX = 250.0f;
constexpr float kMonitorY = 70.0f;
// The chosen creature's pad: under the slot while choosing it, at the left while choosing the
// opponent.
constexpr float kPadX = 250.0f;
constexpr float kPadY = 467.0f;
constexpr float kAsidePadX = 120.0f;
constexpr float kAsidePadY = 300.0f;
constexpr int kSlideFrames = 18;
constexpr int kBannerFrames = 36;

const std::vector<Bubble> kButtons = {
    {"GoBack", "GoBack", "Back", 52, 54, 64, 0x1AA7EC, Icon::kArrowLeft},
};

uint16_t Shelf(Library& library) {
    const float w = kShelfHalfWidth;
    const float h = kShelfHalfHeight;
    return Picture(library, {Shape(RoundedRect(-w, -h, w, h, 30), Solid(0xFFFFFF, 140)),
                             Stroke(RoundedRect(-w + 2, -h + 2, w - 2, h - 2, 28), 4, Hex(0xFFFFFF, 230)),
                             Shape(RoundedRect(-w + 18, -6, w - 18, -2, 2), Solid(0xFFFFFF, 160))});
}

// A friendly screen on a stand: a dark glass in a purple casing.
uint16_t Monitor(Library& library, uint16_t fontId, const swfkit::EmbeddedFont& font) {
    const float w = kMonitorWidth;
    const float h = kMonitorHeight;
    const uint16_t casing =
        Picture(library, {Shape(RoundedRect(w / 2 - 30, h - 6, w / 2 + 30, h + 26, 6), Solid(0x7B4FC4)),
                          Shape(RoundedRect(w / 2 - 80, h + 20, w / 2 + 80, h + 34, 7), Solid(0x6A3FB0)),
                          Shape(RoundedRect(0, 0, w, h, 26), Solid(0x9B5DE5)),
                          Shape(RoundedRect(14, 14, w - 14, h - 14, 16), Solid(0x1E2A4A)),
                          Shape(RoundedRect(24, h - 80, w - 24, h - 76, 2), Solid(0x7CFC9A, 90)),
                          Shape(Circle(w - 30, h - 8, 4), Solid(0x7CFC9A))});
    swfkit::TagList frames(8);
    Stack stack(frames);
    stack.Place(casing);
    stack.Place(library.DefineText(fontId, font, "choose your opponent", 16, {Hex(0x7CFC9A, 200)}), w / 2, h - 36);
    frames.DoAction(Script("stop"));
    frames.ShowFrame();
    return library.DefineSprite(frames);
}

uint16_t Pad(Library& library) {
    return Picture(
        library, {Shape(Ellipse(0, 56, 104, 20), Solid(0x0B3C5D, 40)), Shape(Ellipse(0, 52, 100, 18), Solid(0xFF8C42)),
                  Shape(Ellipse(-10, 48, 70, 9), Solid(0xFFFFFF, 90))});
}

// "Let's train!" on a pink ribbon.
uint16_t Banner(Library& library, uint16_t fontId, const swfkit::EmbeddedFont& font) {
    const std::string text = "Let's train!";
    const float w = TextWidth(font, text, 56) / 2.0f + 40.0f;
    const uint16_t ribbon = Picture(library, {Shape(RoundedRect(-w + 6, -40, w + 6, 50, 30), Solid(0x0B3C5D, 60)),
                                              Shape(RoundedRect(-w, -46, w, 44, 30), Solid(0xF15BB5))});
    swfkit::TagList frames(8);
    Stack stack(frames);
    stack.Place(ribbon);
    stack.Place(library.DefineText(fontId, font, text, 56, {Hex(0xFFFFFF)}), 0, -2);
    frames.DoAction(Script("stop"));
    frames.ShowFrame();
    return library.DefineSprite(frames);
}

float Ease(float t) {
    return 0.5f - 0.5f * std::cos(3.14159265f * t);
}

}  // namespace

swfkit::Bytes TrainingSelectionMovie(const swfkit::EmbeddedFont& font) {
    swfkit::Movie movie(8, {0, Twips(kWidth), 0, Twips(kHeight)}, kFrameRate);
    Library library(movie.Tags());
    const uint16_t fontId = library.DefineFont(font);
    const uint16_t shelf = Shelf(library);
    const uint16_t monitor = Monitor(library, fontId, font);
    const uint16_t pad = Pad(library);
    const uint16_t banner = Banner(library, fontId, font);
    swfkit::TagList& tags = movie.Tags();

    Stack stack(tags);
    const uint16_t shelfDepth = stack.Place(shelf, kShelfX, kShelfY, "Shelves");
    const uint16_t monitorDepth = stack.Place(monitor, kWidth + 40, kMonitorY, "Monitor");
    const uint16_t padDepth = stack.Place(pad, kPadX, kPadY, "SelectedGlobbo");
    bubble_buttons::PlaceButtons(library, stack, kButtons, fontId, font);
    const uint16_t bannerDepth = stack.Place(banner, 400, -100);

    // The creature's choice. The screen's every visit jumps to the label, from where the movie
    // plays on and, two frames later, tells the screen that the choice begins and rests there:
    // the command always comes with a later frame than the visit's jump, and never waits on the
    // label, so the next jump there sends it again.
    tags.DoAction(Script("stop"));
    tags.ShowFrame();
    tags.FrameLabel("PlayerSelection");
    tags.DoAction(Script("play"));
    tags.ShowFrame();
    tags.ShowFrame();
    tags.DoAction(Script("stop #83:'FSCommand:EnteredPlayerSelection',''"));
    tags.ShowFrame();

    // The shelf slides off to the left, the monitor in from the right, the pad aside.
    const auto slide = [&](const char* label, bool toBots, const char* command) {
        tags.FrameLabel(label);
        for (int frame = 1; frame <= kSlideFrames; ++frame) {
            const float t = Ease(static_cast<float>(frame) / kSlideFrames);
            const float k = toBots ? t : 1.0f - t;
            tags.PlaceObject2(Move(shelfDepth, kShelfX - k * 900.0f, kShelfY));
            tags.PlaceObject2(Move(monitorDepth, kWidth + 40 - k * (kWidth + 40 - kMonitorX), kMonitorY));
            tags.PlaceObject2(Move(padDepth, kPadX + k * (kAsidePadX - kPadX), kPadY + k * (kAsidePadY - kPadY)));
            if (frame == kSlideFrames) {
                tags.DoAction(Script(std::string("stop #83:'FSCommand:") + command + "',''"));
            }
            tags.ShowFrame();
        }
    };
    slide("GoToAISelection", true, "EnteredAISelection");
    slide("GoToPlayerSelection", false, "EnteredPlayerSelection");

    // The opponent is chosen: the banner drops in with a bounce, then the game starts.
    tags.FrameLabel("AISelected");
    // Jumped to from the bots' choice: everything stands where that choice left it.
    tags.PlaceObject2(Move(shelfDepth, kShelfX - 900.0f, kShelfY));
    tags.PlaceObject2(Move(monitorDepth, kMonitorX, kMonitorY));
    tags.PlaceObject2(Move(padDepth, kAsidePadX, kAsidePadY));
    for (int frame = 1; frame <= kBannerFrames; ++frame) {
        const float t = std::min(1.0f, static_cast<float>(frame) / (kBannerFrames * 0.6f));
        const float bounce = 1.0f + 0.12f * std::sin(t * 3.14159265f * 2.0f) * (1.0f - t);
        tags.PlaceObject2(Move(bannerDepth, 400, -100 + Ease(t) * 330.0f, bounce, bounce));
        if (frame == kBannerFrames) {
            tags.DoAction(Script("stop #83:'FSCommand:StartGame',''"));
        }
        tags.ShowFrame();
    }
    return movie.Write(true);
}

std::string TrainingSelectionDescription(const swfkit::EmbeddedFont& font) {
    std::vector<TextSpec> texts = bubble_buttons::Labels(kButtons, font);
    const std::string title1 = "Pick your Globbo!";
    const std::string title2 = "Pick a training partner!";
    texts.push_back({"title1", title1, 32, "", Hex(kInk), 400 - TextWidth(font, title1, 32) / 2, 6});
    texts.push_back({"title2", title2, 32, "", Hex(kInk), 400 - TextWidth(font, title2, 32) / 2, 6});
    // The opponent's name on the monitor's glass, its way of playing under the monitor.
    texts.push_back({"botdesc1", "", 40, "", Hex(0x7CFC9A), kMonitorX + 40, kMonitorY + 160});
    texts.push_back({"botdesc2", "", 18, "", Hex(kInk), 24, kMonitorY + kMonitorHeight + 48});
    return Description(
        "data/child.ttf",
        {{"selection", "data/gui/globbo_selection_training.swf"}, {"backdrop", "data/gui/menu_backdrop.swf"}}, texts);
}
