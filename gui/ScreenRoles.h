#pragma once

#include "gui/FlashGUI.h"
#include "gui/GUIBase.h"

#include <string>

// What the screen director asks of the screens that its pushes prepare beyond loading them.

// The in-match screen (id 13): a push starts a match, a pop ends it.
class MatchScreen : public GUIBase {
public:
    // Builds and starts a match from the game set-up, ending any earlier one.
    virtual void StartMatch() = 0;
    // Deletes the match and its level.
    virtual void EndMatch() = 0;
};

// The tutorial (ids 2 and 3): shown with its buttons off, or reset with them on.
class TutorialScreen : public FlashGUI {
public:
    // Back to its first lesson with nothing of a lesson left.
    virtual void Reset() = 0;
    virtual void EnableButtons(bool enabled) = 0;
};

// The championship's get-ready screen (id 11), loaded anew over each match.
class GetReadyScreen : public FlashGUI {
public:
    using FlashGUI::Load;
    // Loads the description for the match that the match screen runs.
    virtual void Load(const std::string& file, MatchScreen& match) = 0;
};
