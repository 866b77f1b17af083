// The main menu: seven bubbles for the seven choices under a colourful title, over a sunny pond.
// The controllers' cursor goes over five of them; every bubble is also a button of the mouse, and
// the championship's and the tutorial's are reached with the mouse alone.
#include "tools/movies/BubbleButtons.h"
#include "tools/movies/MenuArt.h"
#include "tools/movies/MenuMovies.h"
#include "tools/swfkit/Movie.h"

#include <cmath>
#include <string>
#include <tuple>
#include <utility>

namespace {

using namespace menu_art;

using menu_art::Outline;
using swfkit::ShapeBuilder;

using bubble_buttons::Bubble;
using bubble_buttons::Icon;

// The choices of the menu. With their labels and wobbles they all stay above y = 455, clear of the
// controls' hint (data/gui/hint.swf), whose panel rests over the bottom of the screen from there on
// the first start while the player tries the cursor on them: two large bubbles for the quick match
// and the training, the championship, the statistics and the manual below them, and the tutorial
// and quit nestled lower between those, clear of their neighbours' labels.
const std::vector<Bubble> kBubbles = {
    {"newgamepvp", "newgamepvp", "Quick match", 230, 186, 104, 0xFF8C42, Icon::kTwoBlobs},
    {"newgamepvc", "newgamepvc", "Training", 570, 186, 104, 0x9B5DE5, Icon::kTarget},
    {"newgamechampionship", "newgamechampionship", "Championship", 220, 326, 88, 0xF15BB5, Icon::kTrophy},
    {"stats", "statistics", "Statistics", 480, 316, 80, 0x1AA7EC, Icon::kBars},
    {"howto", "howto", "How to play", 710, 316, 80, 0xF4A100, Icon::kQuestion},
    {"quit", "exit", "Quit", 595, 392, 64, 0xEF476F, Icon::kDoor},
    {"tutorial", "tutorial", "Tutorial", 360, 392, 64, 0x2BB673, Icon::kBook},
};

// The title's size and where its middle stands, and where the line under it stands.
constexpr float kTitleSize = 84.0f;
constexpr float kTitleY = 62.0f;
constexpr float kTaglineY = 110.0f;

// A letter-coloured title with a soft shadow.
void Title(menu_art::Library& library, menu_art::Stack& stack, uint16_t fontId, const swfkit::EmbeddedFont& font) {
    stack.Place(library.DefineText(fontId, font, "Pondorix", kTitleSize, {Hex(0x0B3C5D, 70)}), 405, kTitleY + 8);
    stack.Place(library.DefineText(fontId, font, "Pondorix", kTitleSize, {Hex(0xFFFFFF)}), 400, kTitleY, "", 1.0f);
    stack.Place(library.DefineText(fontId, font, "Pondorix", kTitleSize, kTitleLetters), 400, kTitleY + 2);
    stack.Place(library.DefineText(fontId, font, "bubble battles in the pond", 20, {Hex(kInk, 200)}), 400, kTaglineY);
}

// The script (in the kit's assembler text) that makes each bubble a button of the mouse: the
// pointer coming onto it wobbles it ("over"), and a click on it plays its "pressed" frames, which
// send its command, just as a controller's press does.
std::string MouseButtons(const std::vector<Bubble>& bubbles) {
    std::string script;
    for (const Bubble& bubble : bubbles) {
        for (const auto& [handler, label] : {std::pair{"onRollOver", "over"}, {"onRelease", "pressed"}}) {
            script += std::string("'") + bubble.clip + "' get_var '" + handler + "' fn:() { '" + label +
                      "' 1 'this' get_var 'gotoAndPlay' call_method pop } set_member ";
        }
    }
    return script;
}

}  // namespace

swfkit::Bytes MainMenuMovie(const swfkit::EmbeddedFont& font) {
    swfkit::Movie movie(8, {0, menu_art::Twips(kWidth), 0, menu_art::Twips(kHeight)}, kFrameRate);
    menu_art::Library library(movie.Tags());
    const uint16_t fontId = library.DefineFont(font);
    menu_art::Stack stack(movie.Tags());
    Title(library, stack, fontId, font);
    bubble_buttons::PlaceButtons(library, stack, kBubbles, fontId, font);
    movie.Tags().DoAction(menu_art::Script(MouseButtons(kBubbles) + "stop"));
    movie.Tags().ShowFrame();
    return movie.Write(true);
}

std::string MainMenuDescription(const swfkit::EmbeddedFont& font) {
    return menu_art::Description("data/child.ttf",
                                 {{"menu", "data/gui/mainmenu.swf"}, {"backdrop", "data/gui/mainmenu_backdrop.swf"}},
                                 bubble_buttons::Labels(kBubbles, font));
}
