#pragma once

namespace platform {

// The keyboard accessibility shortcuts (sticky, toggle and filter keys) that a player hammering
// keys could switch on by accident. The game saves their settings and switches off the hot keys
// of the features that are off while it runs, and sets the saved settings back at shutdown.
// X11 has no such shortcuts, so on Linux both calls leave everything as it is.

// Saves the current settings and switches off the hot keys of the features that are off.
void DisableAccessibilityShortcuts();

// Sets back the settings saved by DisableAccessibilityShortcuts.
void RestoreAccessibilityShortcuts();

}  // namespace platform
