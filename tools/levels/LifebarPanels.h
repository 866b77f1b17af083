#pragma once

// Where the match's two life-bar panels lie on the 800 x 600 screen, in pixels: one in each top
// corner, the right one mirroring the left. The score movie draws them there, and the arenas
// bring their top walls down under them, so that nothing in the water swims beneath a panel.
namespace lifebar_panels {

constexpr double kMargin = 14.0;
constexpr double kWidth = 316.0;
constexpr double kHeight = 46.0;

}  // namespace lifebar_panels
