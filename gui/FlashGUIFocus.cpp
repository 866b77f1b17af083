// The focus navigation of a FlashGUI screen: its items, the controllers' cursors and the
// commands that move and press them.
#include "app/Application.h"
#include "app/Controller.h"
#include "gui/FlashFocusItem.h"
#include "gui/FlashGUI.h"

#include <algorithm>

namespace {

// The link directions of the navigation commands 1 to 4 (left, right, up, down).
constexpr int kFirstMoveCommand = Controller::kLeft;
constexpr int kLastMoveCommand = Controller::kDown;

}  // namespace

std::shared_ptr<FocusItem> FlashGUI::ItemHandle(const FocusItem* item) const {
    for (const std::shared_ptr<FocusItem>& own : m_FocusItems) {
        if (own.get() == item) {
            return own;
        }
    }
    return nullptr;
}

bool FlashGUI::HoldsCursor(const FocusInstance* cursor) const {
    if (cursor != nullptr && cursor == m_SharedCursor.get()) {
        return true;
    }
    return std::any_of(m_Cursors.begin(), m_Cursors.end(),
                       [&](const auto& entry) { return entry.second.get() == cursor; });
}

std::vector<std::shared_ptr<FocusInstance>> FlashGUI::AllCursors() const {
    std::vector<std::shared_ptr<FocusInstance>> cursors;
    for (const auto& entry : m_Cursors) {
        cursors.push_back(entry.second);
    }
    if (m_SharedCursor) {
        cursors.push_back(m_SharedCursor);
    }
    return cursors;
}

FocusInstance* FlashGUI::GetCursor(Controller* controller) const {
    auto found = m_Cursors.find(controller);
    return found != m_Cursors.end() ? found->second.get() : nullptr;
}

void FlashGUI::AddFlashFocusItem(const std::string& name) {
    auto item = std::make_shared<FlashFocusItem>(m_Layers.empty() ? nullptr : m_Layers.front(), name);
    if (m_FocusItems.empty()) {
        m_CurrentFocusItem = item.get();
    }
    m_FocusItems.push_back(std::move(item));
}

void FlashGUI::InsertFocusItemBefore(std::shared_ptr<FocusItem> item, const std::string& name) {
    auto before = std::find_if(m_FocusItems.begin(), m_FocusItems.end(),
                               [&](const std::shared_ptr<FocusItem>& other) { return other->GetName() == name; });
    m_FocusItems.insert(before, std::move(item));
}

FocusItem* FlashGUI::FindFocusItem(const std::string& name) const {
    for (const std::shared_ptr<FocusItem>& item : m_FocusItems) {
        if (item->GetName() == name) {
            return item.get();
        }
    }
    return nullptr;
}

void FlashGUI::UnlinkFocusItem(const std::string& name) {
    FocusItem* item = FindFocusItem(name);
    if (item == nullptr) {
        return;
    }
    // Each neighbour's link back, in the opposite direction.
    constexpr int kOpposite[FocusItem::kDirections] = {FocusItem::kRight, FocusItem::kLeft, FocusItem::kDown,
                                                       FocusItem::kUp};
    for (int direction = 0; direction < FocusItem::kDirections; ++direction) {
        if (FocusItem* neighbour = item->GetLink(direction)) {
            neighbour->SetLink(kOpposite[direction], nullptr);
        }
    }
    for (int direction = 0; direction < FocusItem::kDirections; ++direction) {
        item->SetLink(direction, nullptr);
    }
}

void FlashGUI::RemoveFocusItem(const std::string& name) {
    std::shared_ptr<FocusItem> item = ItemHandle(FindFocusItem(name));
    if (!item) {
        return;
    }
    UnlinkFocusItem(name);
    // One-way links to the item from further away would point at a deleted item.
    for (const std::shared_ptr<FocusItem>& other : m_FocusItems) {
        for (int direction = 0; direction < FocusItem::kDirections; ++direction) {
            if (other->GetLink(direction) == item.get()) {
                other->SetLink(direction, nullptr);
            }
        }
    }
    std::erase(m_FocusItems, item);
    if (m_CurrentFocusItem == item.get()) {
        m_CurrentFocusItem = nullptr;
    }
}

void FlashGUI::RemoveAllFocusItems() {
    m_FocusItems.clear();
    m_CurrentFocusItem = nullptr;
}

void FlashGUI::SetFocus(const std::string& name) {
    m_CurrentFocusItem = FindFocusItem(name);
    if (m_SharedCursor) {
        return;
    }
    const std::vector<std::unique_ptr<Controller>>& controllers = Application::GetInstance().controllers;
    m_SharedCursor = std::make_shared<FocusInstance>(controllers.empty() ? nullptr : controllers.front().get(),
                                                     ItemHandle(m_CurrentFocusItem));
    m_SharedCursor->BuildRing(1, 0);
}

void FlashGUI::SetControllerFocus(Controller* controller, const std::string& name) {
    std::shared_ptr<FocusItem> item = ItemHandle(FindFocusItem(name));
    if (!item) {
        return;
    }
    std::shared_ptr<FocusInstance> cursor = m_SharedCursor;
    if (!cursor) {
        std::shared_ptr<FocusInstance>& own = m_Cursors[controller];
        if (!own) {
            own = std::make_shared<FocusInstance>(controller, ItemHandle(m_CurrentFocusItem));
        }
        cursor = own;
    }
    cursor->SetItem(item);
    cursor->BuildRing(1, 0);
}

void FlashGUI::MoveAllFocus(const std::string& name) {
    FocusItem* found = FindFocusItem(name);
    std::shared_ptr<FocusItem> target = ItemHandle(found != nullptr ? found : m_CurrentFocusItem);
    for (const std::shared_ptr<FocusInstance>& cursor : AllCursors()) {
        cursor->SetItem(target);
        cursor->BuildRing(1, 0);
    }
}

void FlashGUI::TakeHandOver(Controller* controller) {
    if (m_CurrentFocusItem != nullptr) {
        SetControllerFocus(controller, m_CurrentFocusItem->GetName());
    }
}

void FlashGUI::OnCommand(Controller* controller, int command) {
    if ((m_FocusItems.empty() && !m_SharedCursor) || !m_NavigationEnabled) {
        return;
    }
    m_LastController = controller;
    std::shared_ptr<FocusInstance> cursor = m_SharedCursor;
    if (!cursor) {
        auto own = m_Cursors.find(controller);
        if (own == m_Cursors.end()) {
            CreateCursor(controller);
            return;
        }
        cursor = own->second;
    }
    if (command >= kFirstMoveCommand && command <= kLastMoveCommand) {
        MoveFocus(cursor, command - kFirstMoveCommand, controller);
    } else if (command == Controller::kSpit || command == Controller::kStart) {
        // Whatever item the cursor is on is pressed, a disabled one too. The press's script may
        // change the screens, even unload this one: the item is held, and the screen hears of the
        // press only while the item is still its own.
        std::shared_ptr<FocusItem> item = cursor->GetItemHandle();
        if (item) {
            item->OnPress(controller);
            if (ItemHandle(item.get())) {
                OnFocusItemEvent(controller, item.get(), kPressed);
            }
        }
    }
}

void FlashGUI::CreateCursor(Controller* controller) {
    std::shared_ptr<FocusItem> item = ItemHandle(m_CurrentFocusItem);
    if (!item && !m_FocusItems.empty()) {
        item = m_FocusItems.front();
    }
    auto cursor = std::make_shared<FocusInstance>(controller, item);
    cursor->SetFlashTimer(1.0f);
    m_Cursors[controller] = cursor;
    ArrangeRings();
}

void FlashGUI::MoveFocus(const std::shared_ptr<FocusInstance>& cursor, int direction, Controller* controller) {
    if (m_FocusItems.empty()) {
        return;
    }
    const std::shared_ptr<FocusItem> old = cursor->GetItemHandle();
    std::shared_ptr<FocusItem> target = old ? ItemHandle(old->FindNeighbour(direction)) : nullptr;
    if (!target) {
        target = m_CurrentFocusItem != nullptr ? ItemHandle(m_CurrentFocusItem) : m_FocusItems.front();
    }
    if (target && target != old) {
        cursor->SetItem(target);
        cursor->BuildRing(1, 0);
        // Each call below may change the screen: the moves go on only while the cursor is still
        // this screen's and still on the target.
        auto stillHere = [&] {
            return HoldsCursor(cursor.get()) && cursor->GetItem() == target.get();
        };
        target->OnFocus(controller);
        if (old && stillHere()) {
            OnFocusItemEvent(controller, old.get(), kFocusLost);
        }
        if (stillHere()) {
            OnFocusItemEvent(controller, target.get(), kFocusGained);
        }
    }
    ArrangeRings();
}

void FlashGUI::ArrangeRings() {
    std::map<FocusItem*, std::vector<FocusInstance*>> groups;
    for (const auto& entry : m_Cursors) {
        groups[entry.second->GetItem()].push_back(entry.second.get());
    }
    for (const auto& [item, group] : groups) {
        const int count = static_cast<int>(group.size());
        for (int index = 0; index < count; ++index) {
            group[index]->BuildRing(count, index);
        }
    }
}
