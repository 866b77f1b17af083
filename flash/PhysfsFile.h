#pragma once

#include "swfplayer/base/base_file.h"

// The player's file opener over the game's virtual file system: a new read-only base_file on
// the PhysFS file called name (the player deletes it), or null when PhysFS cannot open it.
swfplayer::base_file* OpenPhysfsFile(const char* name);
