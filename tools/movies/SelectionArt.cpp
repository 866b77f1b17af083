// What the creature selections show besides their screens: the portraits' photo frame and test
// tube, the layouts of the portraits' names, and the controllers' pictures shown beside a chosen
// creature.
#include "tools/creatures/BotDesigns.h"
#include "tools/creatures/CreatureDesign.h"
#include "tools/movies/ControllerArt.h"
#include "tools/movies/MenuArt.h"
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace menu_art;

using swfkit::ShapeBuilder;

// The photo frame's stage, and where the frame and the face are centred on it.
constexpr float kFrameSize = 100.0f;
constexpr float kFrameCentre = kFrameSize / 2.0f;
// The size of a portrait's name.
constexpr float kNameSize = 20.0f;
constexpr int kShowUps = 8;
// The scale of a card that is not there (a scale of 0 would leave nothing to place).
constexpr float kHidden = 0.01f;
// The test tube's stage.
constexpr float kTubeWidth = 40.0f;
constexpr float kTubeHeight = 100.0f;
// The controllers' pictures' stage; the game draws it from its top left corner.
constexpr float kPadWidth = 100.0f;
constexpr float kPadHeight = 80.0f;

// The card about (0, 0): a soft shadow, a white card with a sky-blue mat and rim.
uint16_t Card(Library& library) {
    return Picture(library, {Shape(RoundedRect(-43, -39, 49, 51, 16), Solid(0x0B3C5D, 45)),
                             Shape(RoundedRect(-46, -46, 46, 46, 16), Solid(0xFFFFFF)),
                             Shape(RoundedRect(-39, -39, 39, 39, 12), Solid(0xDDF4FF)),
                             Shape(Ellipse(0, 22, 30, 12), Solid(0xC3EBFB)),
                             Stroke(RoundedRect(-44.5f, -44.5f, 44.5f, 44.5f, 15), 3, Hex(0x48CAE4))});
}

// Moves the card (depth 1) and the face (depth 2) to the scale about the stage's centre.
void ScaleBoth(swfkit::TagList& frames, float scale) {
    frames.PlaceObject2(Move(1, kFrameCentre, kFrameCentre, scale, scale));
    frames.PlaceObject2(Move(2, kFrameCentre, kFrameCentre, scale, scale));
    frames.ShowFrame();
}

}  // namespace

swfkit::Bytes PhotoFrameMovie() {
    swfkit::Movie movie(8, {0, Twips(kFrameSize), 0, Twips(kFrameSize)}, kFrameRate);
    Library library(movie.Tags());
    const uint16_t card = Card(library);
    // The face is a placeholder that the game replaces with the creature's portrait.
    const uint16_t face = Picture(library, {Shape(Circle(0, 0, 26), Solid(0xFFFFFF, 0))});
    swfkit::TagList& tags = movie.Tags();
    Stack stack(tags);
    stack.Place(card, kFrameCentre, kFrameCentre, "", kHidden);
    stack.Place(face, kFrameCentre, kFrameCentre, "face", kHidden);
    tags.DoAction(Script("stop"));
    tags.ShowFrame();
    // Each show-up pops the card in with a bounce of its own.
    for (int k = 1; k <= kShowUps; ++k) {
        const float overshoot = 1.08f + 0.01f * static_cast<float>(k);
        tags.FrameLabel("showup" + std::to_string(k));
        for (float scale : {0.15f, 0.45f, 0.8f, overshoot, 1.0f + (overshoot - 1.0f) / 3.0f, 0.98f}) {
            ScaleBoth(tags, scale);
        }
        tags.DoAction(Script("stop"));
        ScaleBoth(tags, 1.0f);
    }
    tags.FrameLabel("hide");
    for (float scale : {1.08f, 0.9f, 0.6f, 0.3f}) {
        ScaleBoth(tags, scale);
    }
    tags.DoAction(Script("stop"));
    ScaleBoth(tags, 0.0f);
    // The card already in place, for portraits that appear without a show-up.
    tags.FrameLabel("shown");
    tags.DoAction(Script("stop"));
    ScaleBoth(tags, 1.0f);
    return movie.Write(true);
}

swfkit::Bytes TestTubeMovie() {
    swfkit::Movie movie(8, {0, Twips(kTubeWidth), 0, Twips(kTubeHeight)}, kFrameRate);
    Library library(movie.Tags());
    const uint16_t glass = Picture(library, {Shape(RoundedRect(10, 12, 34, 98, 12), Solid(0x0B3C5D, 40)),
                                             Shape(RoundedRect(8, 8, 32, 96, 12), Solid(0xFFFFFF, 150))});
    // White, so that the game's tint gives it the creature's colour.
    const uint16_t liquid = Picture(library, {Shape(RoundedRect(11, 38, 29, 93, 9), Solid(0xFFFFFF)),
                                              Shape(Ellipse(20, 38, 9, 3), Solid(0xE6E6E6))});
    const uint16_t shine = Picture(
        library,
        {Shape(RoundedRect(13, 16, 17, 84, 2), Solid(0xFFFFFF, 170)), Shape(Circle(23, 62, 2.5f), Solid(0xFFFFFF, 160)),
         Shape(Circle(20, 74, 3.5f), Solid(0xFFFFFF, 140)), Shape(Circle(25, 85, 2), Solid(0xFFFFFF, 160)),
         Stroke(RoundedRect(8, 8, 32, 96, 12), 2.5f, Hex(0x7FCCE3)),
         Shape(RoundedRect(4, 3, 36, 11, 4), Solid(0xE8F7FF)), Stroke(RoundedRect(4, 3, 36, 11, 4), 2, Hex(0x7FCCE3))});
    Stack stack(movie.Tags());
    stack.Place(glass);
    stack.Place(liquid, 0, 0, "liquid");
    stack.Place(shine);
    movie.Tags().DoAction(Script("stop"));
    movie.Tags().ShowFrame();
    return movie.Write(true);
}

std::string PhotoFrameText(bool withFrame, const swfkit::EmbeddedFont& font) {
    // The name stands above the card (where nothing of a slot's controller picture covers it), in
    // ink on the pale shelves; or under the bare face, which only the computer opponents show, on
    // the training monitor's dark glass, in the monitor's light green. The game writes a name from
    // the layout's x on, whatever its width: the x is chosen so that the widest and the narrowest
    // of the names shown there (the players' creatures', or the computer opponents') lie as far
    // off the portrait's middle, one to the right, the other to the left.
    std::vector<std::string> names;
    if (withFrame) {
        for (const CreatureDesign& creature : ShippedCreatures()) {
            names.push_back(creature.characterName);
        }
    } else {
        for (const BotDesign& bot : ShippedBots()) {
            names.push_back(bot.creature.characterName);
        }
    }
    std::vector<float> widths;
    for (const std::string& name : names) {
        widths.push_back(TextWidth(font, name, kNameSize));
    }
    const auto [narrowest, widest] = std::minmax_element(widths.begin(), widths.end());
    const float x = widths.empty() ? kFrameCentre : kFrameCentre - (*narrowest + *widest) / 4.0f;
    TextSpec name{"name", "", kNameSize, "", Hex(withFrame ? kInk : 0x7CFC9A), x, withFrame ? -34.0f : 90.0f};
    return TextLayout(name);
}

std::vector<swfkit::Bytes> ControllerPictureMovies(const swfkit::EmbeddedFont& font) {
    // The cursors' colours of the arrow keys, W A S D and the gamepad.
    const uint32_t rims[] = {0xE6463C, 0x3C78EB, 0x50BE46};
    std::vector<swfkit::Bytes> movies;
    for (size_t i = 0; i < std::size(rims); ++i) {
        swfkit::Movie movie(8, {0, Twips(kPadWidth), 0, Twips(kPadHeight)}, kFrameRate);
        Library library(movie.Tags());
        const uint16_t fontId = library.DefineFont(font);
        const std::vector<uint16_t> pictures = controller_art::Pictures(library, fontId, font);
        const uint16_t badge = Picture(library, {Shape(RoundedRect(4, 7, 98, 79, 16), Solid(0x0B3C5D, 50)),
                                                 Shape(RoundedRect(2, 2, 96, 76, 16), Solid(0xFFFFFF)),
                                                 Stroke(RoundedRect(3.5f, 3.5f, 94.5f, 74.5f, 15), 4, Hex(rims[i]))});
        Stack stack(movie.Tags());
        stack.Place(badge);
        stack.Place(pictures[i], 49, i == 2 ? 39.0f : 46.0f, "", 0.92f);
        movie.Tags().DoAction(Script("stop"));
        movie.Tags().ShowFrame();
        movies.push_back(movie.Write(true));
    }
    return movies;
}
