#include "gui/GroupFocusItem.h"

// The chain may be broken or looped by later links: the walk stops at the last child, at a gap
// or after kMaxChildren children.
bool GroupFocusItem::IsEnabled() const {
    FocusItem* child = m_First;
    for (int count = 0; child != nullptr && count < kMaxChildren; ++count) {
        if (child->IsEnabled()) {
            return true;
        }
        if (child == m_Last) {
            break;
        }
        child = child->GetLink(m_Direction);
    }
    return false;
}

FocusItem* GroupFocusItem::GetTarget() {
    if (!IsEnabled()) {
        return this;
    }
    if (m_First->IsEnabled()) {
        return m_First;
    }
    return m_First->FindNeighbour(m_Direction);
}
