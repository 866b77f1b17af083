// The control hints: a panel that slides up from the bottom of the screen with pictures of the
// controls, waits at its checkpoint when the game asks it to, and slides away. The checkpoint is
// announced as the panel starts to come in, so the player's first move and press after it
// appears count; the panel holds at the end of its slide only while they are still awaited.
#include "tools/movies/ControllerArt.h"
#include "tools/movies/MenuArt.h"
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

#include <cmath>
#include <tuple>

namespace {

using namespace menu_art;

using swfkit::ShapeBuilder;

constexpr float kPanelWidth = 620.0f;
constexpr float kPanelHeight = 116.0f;
constexpr float kPanelX = (kWidth - kPanelWidth) / 2.0f;
// Where the panel rests, and where it hides below the screen.
constexpr float kShownY = 474.0f;
constexpr float kHiddenY = 630.0f;
constexpr int kSlideFrames = 8;
// The game's hint waits at a checkpoint for a move and a press, and plays on at one once both
// have come.
constexpr const char* kCheckpoint = "#83:'FSCommand:checkpoint',''";
// Frames the panel stays after its checkpoint (two seconds).
constexpr int kHoldFrames = 60;
// The texts start right of the pictures.
constexpr float kTextX = 168.0f;

// The hints in the order of the toppings' frames.
const char* const kHints[] = {"gui controls", "quickmatch controls", "training controls", "use other controls",
                              "select two"};

// A controller's picture in frame 0 (the arrow keys, red), 1 (W A S D, blue) and 2 (a gamepad,
// green), one frame each, stopped.
uint16_t ControllerPictures(menu_art::Library& library, uint16_t fontId, const swfkit::EmbeddedFont& font) {
    const std::vector<uint16_t> pictures = controller_art::Pictures(library, fontId, font);
    swfkit::TagList frames(8);
    for (size_t i = 0; i < pictures.size(); ++i) {
        if (i > 0) {
            frames.RemoveObject2(1);
        }
        menu_art::Stack(frames).Place(pictures[i]);
        frames.DoAction(menu_art::Script("stop"));
        frames.ShowFrame();
    }
    return library.DefineSprite(frames);
}

// The pictures of each hint, one labelled frame per hint, drawn from the panel's top-left
// corner: the controls of the menus, the two players' controllers, the one player's, two
// controllers taking turns, and two Globbos.
uint16_t Toppings(menu_art::Library& library, uint16_t fontId, const swfkit::EmbeddedFont& font) {
    const uint16_t controller = ControllerPictures(library, fontId, font);
    const uint16_t menuKeys = menu_art::Picture(library, controller_art::KeyCluster(84, 66, 26, 0xFFFFFF));
    std::vector<ShapeBuilder> turns = controller_art::Gamepad(62, 42, 0x5CC15A);
    for (ShapeBuilder& key : controller_art::KeyCluster(110, 86, 16, 0xFFE1DC)) {
        turns.push_back(std::move(key));
    }
    const uint16_t otherControls = menu_art::Picture(library, turns);
    std::vector<ShapeBuilder> pair;
    for (auto [x, color] : {std::pair{58.0f, 0xFF6F91u}, {112.0f, 0x7CC42Au}}) {
        pair.push_back(menu_art::Shape(menu_art::Circle(x, 60, 24), menu_art::Solid(color)));
        for (float eye : {-8.0f, 8.0f}) {
            pair.push_back(menu_art::Shape(menu_art::Circle(x + eye, 54, 6), menu_art::Solid(0xFFFFFF)));
            pair.push_back(menu_art::Shape(menu_art::Circle(x + eye + 1.5f, 55, 3), menu_art::Solid(0x1B1B3A)));
        }
    }
    const uint16_t twoGlobbos = menu_art::Picture(library, pair);

    swfkit::TagList frames(8);
    uint16_t placed = 0;
    for (const char* hint : kHints) {
        for (uint16_t depth = 1; depth <= placed; ++depth) {
            frames.RemoveObject2(depth);
        }
        menu_art::Stack stack(frames);
        const std::string name = hint;
        if (name == "gui controls") {
            stack.Place(menuKeys);
        } else if (name == "quickmatch controls") {
            stack.Place(controller, 84, 50, "player1", 0.6f);
            stack.Place(controller, 84, 88, "player2", 0.6f);
        } else if (name == "training controls") {
            stack.Place(controller, 84, 66, "player", 0.9f);
        } else if (name == "use other controls") {
            stack.Place(otherControls);
        } else {
            stack.Place(twoGlobbos);
        }
        placed = name == "quickmatch controls" ? 2 : 1;
        frames.FrameLabel(hint);
        frames.DoAction(menu_art::Script("stop"));
        frames.ShowFrame();
    }
    return library.DefineSprite(frames);
}

// The panel, from its top-left corner: a white card with a blue rim and a yellow badge on its
// corner.
uint16_t Panel(menu_art::Library& library) {
    return menu_art::Picture(
        library,
        {menu_art::Shape(menu_art::RoundedRect(4, 8, kPanelWidth + 4, kPanelHeight + 8, 26),
                         menu_art::Solid(0x0B3C5D, 50)),
         menu_art::Shape(menu_art::RoundedRect(0, 0, kPanelWidth, kPanelHeight, 26), menu_art::Solid(0xFFFFFF)),
         menu_art::Stroke(menu_art::RoundedRect(2, 2, kPanelWidth - 2, kPanelHeight - 2, 24), 4, Hex(0x48CAE4)),
         menu_art::Shape(menu_art::Circle(14, 6, 18), menu_art::Solid(0xFFD43B)),
         menu_art::Stroke(menu_art::Circle(14, 6, 17), 3, Hex(0xFFFFFF)),
         menu_art::Shape(menu_art::RoundedRect(11.5f, -5, 16.5f, 9, 2), menu_art::Solid(kInk)),
         menu_art::Shape(menu_art::Circle(14, 14.5f, 3), menu_art::Solid(kInk))});
}

float Ease(float t) {
    return 1.0f - (1.0f - t) * (1.0f - t);
}

}  // namespace

swfkit::Bytes HintMovie(const swfkit::EmbeddedFont& font) {
    swfkit::Movie movie(8, {0, menu_art::Twips(kWidth), 0, menu_art::Twips(kHeight)}, kFrameRate);
    menu_art::Library library(movie.Tags());
    const uint16_t fontId = library.DefineFont(font);
    const uint16_t panel = Panel(library);
    const uint16_t toppings = Toppings(library, fontId, font);
    swfkit::TagList& tags = movie.Tags();
    menu_art::Stack stack(tags);
    const uint16_t background = stack.Place(panel, kPanelX, kHiddenY, "background");
    stack.Place(toppings, kPanelX, kHiddenY, "toppings");
    tags.PlaceObject2(menu_art::Move(background, kPanelX, kHiddenY, 1, 1, 0.0f));
    tags.DoAction(menu_art::Script("stop"));
    tags.ShowFrame();
    // In: up and visible, from the first frame on listening for the move and the press.
    for (int i = 1; i <= kSlideFrames; ++i) {
        if (i == 1) {
            tags.DoAction(menu_art::Script(kCheckpoint));
        }
        const float t = Ease(static_cast<float>(i) / kSlideFrames);
        tags.PlaceObject2(menu_art::Move(background, kPanelX, kHiddenY + (kShownY - kHiddenY) * t, 1, 1, t));
        tags.ShowFrame();
    }
    // Held here unless the move and the press have come: the checkpoint then plays it on.
    tags.DoAction(menu_art::Script(std::string("stop ") + kCheckpoint));
    tags.ShowFrame();
    for (int i = 0; i < kHoldFrames; ++i) {
        tags.ShowFrame();
    }
    // Out: down and gone.
    for (int i = 1; i <= kSlideFrames; ++i) {
        const float t = static_cast<float>(i) / kSlideFrames;
        tags.PlaceObject2(menu_art::Move(background, kPanelX, kShownY + (kHiddenY - kShownY) * t * t, 1, 1, 1.0f - t));
        tags.ShowFrame();
    }
    tags.DoAction(menu_art::Script("stop"));
    tags.ShowFrame();
    return movie.Write(true);
}

std::string HintDescription() {
    const swfkit::Color ink = Hex(kInk);
    auto text = [&](const std::string& tag, const std::string& words, float size, float y) {
        return menu_art::TextSpec{tag, words, size, "background", ink, kTextX, y};
    };
    std::vector<menu_art::TextSpec> texts = {
        // The hints that wait say what lets them go on: a move, then a press of the spit key.
        text("gui controls",
             "Move with the arrow keys or W A S D.\\nChoose with Right Ctrl or Left Ctrl.\\n"
             "Go back with Esc or Q.\\nMove, then press Ctrl to go on!",
             18, 8),
        text("quickmatch controls", "Steer, then spit balls at your rival!", 22, 12),
        text("training controls", "Steer, then spit your balls at the robot!", 22, 22),
        text("use other controls", "This controller has chosen already.\\nPick the next Globbo with another one!", 21,
             30),
        text("select two", "A quick match needs two Globbos.\\nChoose one for each player!", 21, 30),
    };
    const char* const ways[] = {"arrows steer, Right Ctrl spits", "W A S D steer, Left Ctrl spits",
                                "the stick steers, button 1 spits"};
    for (int player = 1; player <= 2; ++player) {
        for (int controller = 1; controller <= 3; ++controller) {
            texts.push_back(text("quickmatch controls p" + std::to_string(player) + "c" + std::to_string(controller),
                                 "Player " + std::to_string(player) + ": " + ways[controller - 1], 18,
                                 player == 1 ? 44.0f : 78.0f));
        }
    }
    for (int controller = 1; controller <= 3; ++controller) {
        std::string way = ways[controller - 1];
        way[0] = static_cast<char>(std::toupper(way[0]));
        texts.push_back(text("training controls c" + std::to_string(controller), way, 19, 64));
    }
    return menu_art::Description("data/child.ttf", {{"hint", "data/gui/hint.swf"}}, texts);
}

swfkit::Bytes ControllerInitMovie() {
    constexpr float kSize = 100.0f;
    constexpr int kFrames = 15;
    swfkit::Movie movie(8, {0, menu_art::Twips(kSize), 0, menu_art::Twips(kSize)}, kFrameRate);
    menu_art::Library library(movie.Tags());
    swfkit::TagList& tags = movie.Tags();
    for (int frame = 0; frame < kFrames; ++frame) {
        const float t = static_cast<float>(frame) / (kFrames - 1);
        std::vector<ShapeBuilder> shapes;
        shapes.push_back(
            menu_art::Stroke(menu_art::Circle(50, 50, 16 + 34 * t), 9.0f * (1.0f - t) + 1.0f, Hex(0xFFFFFF)));
        for (int ray = 0; ray < 8; ++ray) {
            const float angle = ray * 3.14159265f / 4.0f;
            const float reach = 20 + 32 * t;
            shapes.push_back(menu_art::Shape(
                menu_art::Circle(50 + reach * std::cos(angle), 50 + reach * std::sin(angle), 5.0f * (1.0f - t) + 0.5f),
                menu_art::Solid(0xFFFFFF)));
        }
        if (frame > 0) {
            tags.RemoveObject2(1);
        }
        menu_art::Stack(tags).Place(menu_art::Picture(library, shapes));
        if (frame == kFrames - 1) {
            tags.DoAction(menu_art::Script("stop"));
        }
        tags.ShowFrame();
    }
    return movie.Write(true);
}
