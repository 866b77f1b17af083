#pragma once

#include "tools/creatures/CreatureDesign.h"
#include "tools/levels/Art.h"

// The drawings of a creature's movies, in pixels, each around its own origin. Shared by the
// movies and the portrait, which shows them together.
namespace creature_art {

// The eye's white with its dark rim.
art::Drawing Eyeball(const CreatureDesign& design);
// The rim again, drawn over the pupil: the iris of a pupil looking far aside reaches under it
// and no further.
art::Drawing EyeRim(const CreatureDesign& design);
// The pupil moves this far (pixels) from its place at most.
constexpr double kPupilRange = 7.0;
// The iris, the pupil and a shine; the iris is kept small enough to stay within the rim.
art::Drawing Pupil(const CreatureDesign& design);
// The upper lid lowered over the eye, closed = 0 (open) to 1 (shut).
art::Drawing Lid(const CreatureDesign& design, double closed);

enum class MouthPose { kOpen, kHalfOpen, kClosed, kPursed, kWide };
art::Drawing Mouth(const CreatureDesign& design, MouthPose pose);

// The decoration drawn at every point of the skin, pointing down (the game turns its downward
// axis outwards).
art::Drawing SkinDecoration(const CreatureDesign& design);
// The decoration riding on top of the skin, standing on the origin.
art::Drawing TopDecoration(const CreatureDesign& design);
// The decoration over the eyes, whose centres lie at (+-eyeSpacing / 2, kEyesRaise).
art::Drawing EyesDecoration(const CreatureDesign& design);
// The eyes sit this far above the creature's centre (pixels, negative is up).
constexpr double kEyesRaise = -9.0;

// The creature's face for the selection screens: skin, decorations, eyes and mouth.
art::Drawing Portrait(const CreatureDesign& design);

}  // namespace creature_art
