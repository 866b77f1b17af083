#pragma once

// Which control hint the main loop shows for input that nothing used. Each returns the hint's
// name, or null for none.

// The screen id of a running match.
constexpr int kMatchScreenId = 13;

// A key press that no controller used shows the menu controls, except during a match.
const char* HintForKeyPress(bool usedByController, int screenId);

// A mouse button press shows the menu controls outside a match, and during a quick match or a
// training match the controls of that match; nothing during a championship match.
const char* HintForMouseButton(int screenId, int matchMode);
