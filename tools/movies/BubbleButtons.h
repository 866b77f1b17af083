#pragma once
// Internal to make_movies: the menus' round buttons. Each is a glossy bubble with a white picture
// in it; a cursor coming onto it ("over") wobbles it like jelly, a press ("pressed") squashes it
// and sends its command as an FSCommand. Its label is a text of the screen's description,
// centred under the bubble and following the clip.

#include "tools/movies/MenuArt.h"

#include <string>
#include <vector>

namespace bubble_buttons {

// The pictures a bubble can hold.
enum class Icon {
    kTwoBlobs,
    kTarget,
    kTrophy,
    kBars,
    kQuestion,
    kDoor,
    kArrowLeft,
    kArrowRight,
    kPlay,
    kReplay,
    kHome,
    kBook,
};

// A button: the clip the game focuses, the command its press sends, its label, where its bubble
// sits, how large, in which colour, with which picture.
struct Bubble {
    const char* clip;
    const char* command;
    const char* label;
    float x, y, diameter;
    uint32_t color;
    Icon icon;
};

// A wide button: a pill of the colour (darkened as far as its white label needs) with its picture
// at the left end and its label in white beside it. The pill is as wide as its width, or wider
// when its label needs the room.
struct Pill {
    const char* clip;
    const char* command;
    const char* label;
    float x, y, width;
    uint32_t color;
    Icon icon;
};
constexpr float kPillHeight = 56.0f;

// A button of the body sprite (drawn about (0, 0)): at rest on its first frame, "over" wobbles
// it, "pressed" squashes it and sends the command.
uint16_t Animated(menu_art::Library& library, uint16_t body, const std::string& command);
// The button's sprite, at rest on its first frame, with the frames "over" and "pressed".
uint16_t Button(menu_art::Library& library, const Bubble& bubble, uint16_t fontId, const swfkit::EmbeddedFont& font);
uint16_t PillButton(menu_art::Library& library, const Pill& pill, uint16_t fontId, const swfkit::EmbeddedFont& font);
// Places every button at its point under its clip name.
void PlacePills(menu_art::Library& library, menu_art::Stack& stack, const std::vector<Pill>& pills, uint16_t fontId,
                const swfkit::EmbeddedFont& font);
void PlaceButtons(menu_art::Library& library, menu_art::Stack& stack, const std::vector<Bubble>& bubbles,
                  uint16_t fontId, const swfkit::EmbeddedFont& font);
// The buttons' labels for a description: tagged "label <clip>", anchored to the clip, centred
// under the bubble.
std::vector<menu_art::TextSpec> Labels(const std::vector<Bubble>& bubbles, const swfkit::EmbeddedFont& font,
                                       uint32_t ink = menu_art::kInk);

// 0xRRGGBB a part t of the way from a to b.
uint32_t Mix(uint32_t a, uint32_t b, float t);

}  // namespace bubble_buttons
