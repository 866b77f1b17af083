#pragma once

#include "flash/FlashMovie.h"

#include <SFML/System/Vector2.hpp>

// Steering a movie's named clips the way screens do: to a labelled or numbered frame with the
// jump shown at once, and reading where a clip is, how large and how opaque. Positions and sizes
// are in pixels (the clips' twips / 20). Each takes a clip that may be null and then does
// nothing (or answers zero).

// Goes to the clip's frame of the label, sets it playing or stopped and advances it by 0 so the
// jump takes effect at once. False for no clip or no such label, which changes nothing.
bool GotoClipLabel(swfplayer::character* clip, const char* label, bool play);
// The same with a frame index counted from 0; the play state stays.
void GotoClipFrame(swfplayer::character* clip, int frame);
// The translation of the clip's matrix.
sf::Vector2f ClipPosition(const swfplayer::character* clip);
// The horizontal scale of the clip's matrix (the length of its x axis).
float ClipScaleX(const swfplayer::character* clip);
// The clip's width and height in its parent.
sf::Vector2f ClipSize(swfplayer::character* clip);
// The alpha multiplier of the clip's colour transform; 0 when it is not a finite number.
float ClipAlpha(const swfplayer::character* clip);
// Sets the alpha multiplier (made finite) of the clip's colour transform.
void SetClipAlpha(swfplayer::character* clip, float alpha);
// Sets the clip's "enabled" member: a clip that is not enabled takes no mouse events.
void SetClipEnabled(swfplayer::character* clip, bool enabled);
