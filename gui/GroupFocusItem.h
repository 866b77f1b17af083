#pragma once

#include "gui/FocusItem.h"

// A row of items that the cursor enters as a whole: a link up or down to a row lands on the row's
// first usable child. The children are chained from the first to the last by their links in the
// chain direction. The row itself is never shown or pressed.
class GroupFocusItem : public FocusItem {
public:
    // The most children a chain is followed over.
    static constexpr int kMaxChildren = 64;

    GroupFocusItem(const std::string& name, FocusItem* first, FocusItem* last, int direction)
        : FocusItem(name), m_First(first), m_Last(last), m_Direction(direction) {}

    void OnFocus(Controller* /*controller*/) override {}
    void OnPress(Controller* /*controller*/) override {}
    // Whether any child from the first to the last is enabled.
    bool IsEnabled() const override;
    // The row itself when no child is enabled; else its first child when that is enabled, else
    // the first enabled child after it.
    FocusItem* GetTarget() override;

    FocusItem* GetFirst() const { return m_First; }
    FocusItem* GetLast() const { return m_Last; }
    int GetDirection() const { return m_Direction; }

private:
    FocusItem* m_First;
    FocusItem* m_Last;
    int m_Direction;
};
