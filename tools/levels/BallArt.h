#pragma once

#include "tools/levels/Art.h"
#include "tools/swfkit/BitWriter.h"

// The balls' two movies and their picture for screenshots.
namespace ball_art {

// "data/ball.swf", 24 x 24 pixels, the ball's centre in the middle: the frame "normal" shows
// the ball with its clip "color" (white, for the game to tint); the frame "burden" and the two
// after it show three grumpy faces; every frame stops.
swfkit::Bytes BallMovie();
// "data/ball_glow.swf", 40 x 40 pixels: an empty first frame; "showup", a soft ring pulsing
// round the ball in a loop of 20 frames; "hide", the ring fading out, ending empty and stopped.
swfkit::Bytes GlowMovie();

// The ball as a free ball shows in the game (its clip "color" at alpha 100/255), centred on the
// origin, in pixels.
art::Drawing FreeBall();

}  // namespace ball_art
