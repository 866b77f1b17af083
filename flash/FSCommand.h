#pragma once

#include "flash/sigslot.h"

namespace swfplayer {
class character;
}

// The one way out of a movie: every FSCommand of every movie, as its command text. Receivers
// are called in connection order while the signal holds its lock.
sigslot::signal1<const char*>& FSCommandSignal();

// The player's FSCommand callback: emits the command alone (the movie and the arguments are
// not passed on).
void FSCommandCallback(swfplayer::character* movie, const char* command, const char* args);
