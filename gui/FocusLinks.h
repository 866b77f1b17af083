#pragma once

#include <string>

class FlashGUI;
class FocusItem;

// Two-way links between focus items: the first item's link in the direction and the second
// item's link back. A null item links nothing.

// first right to second, second left to first.
void LinkRight(FocusItem* first, FocusItem* second);
// first down to second, second up to first.
void LinkDown(FocusItem* first, FocusItem* second);

// The same for a screen's items by name, when both exist.
void LinkRight(FlashGUI& screen, const std::string& first, const std::string& second);
void LinkDown(FlashGUI& screen, const std::string& first, const std::string& second);
