#pragma once

namespace swfplayer {

struct fn_call;

// The MovieClip methods every sprite answers as built-in members: timeline navigation, depths,
// clips made, duplicated, attached and removed by script, hit tests, dragging and the drawing
// methods of the clip's canvas. A method acts on "this" when it is a sprite, else on the
// environment's current target when that is one, else does nothing.
//
// Script depths are display depths less 16384; the sums saturate at the ends of int. Drawing
// coordinates are pixels (20 twips each) and colours numbers 0xRRGGBB.

// Fills the MovieClip method table of the built-in registry.
void register_movieclip_methods();

// new MovieClip(): an empty clip of the player, its parent the root movie; not on the stage.
void as_global_movieclip_ctor(const fn_call& fn);

}  // namespace swfplayer
