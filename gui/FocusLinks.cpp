#include "gui/FocusLinks.h"

#include "gui/FlashGUI.h"

namespace {

void LinkPair(FocusItem* first, FocusItem* second, int direction, int back) {
    if (first != nullptr && second != nullptr) {
        first->SetLink(direction, second);
        second->SetLink(back, first);
    }
}

}  // namespace

void LinkRight(FocusItem* first, FocusItem* second) {
    LinkPair(first, second, FocusItem::kRight, FocusItem::kLeft);
}

void LinkDown(FocusItem* first, FocusItem* second) {
    LinkPair(first, second, FocusItem::kDown, FocusItem::kUp);
}

void LinkRight(FlashGUI& screen, const std::string& first, const std::string& second) {
    LinkRight(screen.FindFocusItem(first), screen.FindFocusItem(second));
}

void LinkDown(FlashGUI& screen, const std::string& first, const std::string& second) {
    LinkDown(screen.FindFocusItem(first), screen.FindFocusItem(second));
}
