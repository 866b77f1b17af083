#pragma once

#include <string>

class Controller;

// Builds the controller that a description file under "data/controls" describes: the root's
// child element named "controller" (the name compared without regard to letter case), whose tag
// "keyboardcontroller" or "gamepadcontroller" selects the class. Null, with a logged message, for
// a missing or unreadable file, a file without such an element and any other tag. The caller
// owns the controller.
Controller* CreateController(const std::string& fileName);

// Reads the settings of that element into a controller the caller made, whatever the element's
// tag. False, with a logged message, for a missing or unreadable file or a file without the
// element; the controller then keeps its settings.
bool ReadControllerSettings(const std::string& fileName, Controller& controller);
