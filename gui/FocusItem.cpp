#include "gui/FocusItem.h"

namespace {

bool IsDirection(int direction) {
    return direction >= 0 && direction < FocusItem::kDirections;
}

}  // namespace

void FocusItem::Render(sf::RenderTarget& /*target*/, sf::RenderStates /*states*/) const {}

void FocusItem::Update(float /*dt*/) {}

FocusItem* FocusItem::GetTarget() {
    return this;
}

FocusItem* FocusItem::GetLink(int direction) const {
    return IsDirection(direction) ? m_Links[direction] : nullptr;
}

void FocusItem::SetLink(int direction, FocusItem* item) {
    if (IsDirection(direction)) {
        m_Links[direction] = item;
    }
}

FocusItem* FocusItem::FindNeighbour(int direction) {
    FocusItem* link = GetLink(direction);
    FocusItem* candidate = link != nullptr ? link->GetTarget() : nullptr;
    for (int steps = 1; candidate != nullptr; ++steps) {
        if (candidate->IsEnabled()) {
            return candidate;
        }
        if (candidate == this) {
            return this;
        }
        FocusItem* next = candidate->GetLink(direction);
        candidate = next != nullptr ? next->GetTarget() : nullptr;
        if (steps == kMaxNeighbourSteps) {
            return this;
        }
    }
    return nullptr;
}
