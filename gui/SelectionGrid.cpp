#include "gui/SelectionGrid.h"

#include "app/Log.h"
#include "gui/FlashGUI.h"
#include "gui/FocusLinks.h"
#include "gui/GUIHint.h"
#include "gui/GridRows.h"

#include <algorithm>

namespace {

constexpr const char* kStart = "Start";
constexpr const char* kPlayersRow = "players";
// Where the slots' tubes stand beside their portraits: above, or with two slots each on the
// side towards the other.
const sf::Vector2f kSlotTube(50.0f, 10.0f);
const sf::Vector2f kFirstOfTwoTube(130.0f, 50.0f);
const sf::Vector2f kSecondOfTwoTube(-30.0f, 50.0f);
const sf::Vector2f kPoolTube(-30.0f, 50.0f);

}  // namespace

void SelectionGrid::Register(FlashGUI& screen, std::shared_ptr<FocusItem> item) {
    screen.InsertFocusItemBefore(std::move(item), kStart);
}

void SelectionGrid::Build(FlashGUI& screen, const FocusRect& poolRect, const FocusRect& slotRow, int slotCount,
                          bool onePerController) {
    m_SlotCount = std::max(slotCount, 0);
    m_OnePerController = onePerController;
    m_PoolFiles = grid_rows::CreatureFiles(kPlayersFolder);
    BuildSlots(screen, slotRow);
    BuildPool(screen);
    m_PoolRect = poolRect;
    Layout();
    LinkRows();
}

void SelectionGrid::BuildSlots(FlashGUI& screen, const FocusRect& slotRow) {
    // One slot stands at the row's left end.
    const float step = m_SlotCount > 1 ? (slotRow.right - slotRow.left) / static_cast<float>(m_SlotCount - 1) : 0.0f;
    for (int k = 1; k <= m_SlotCount; ++k) {
        sf::Vector2f tube = kSlotTube;
        if (m_SlotCount == 2) {
            tube = k == 1 ? kFirstOfTwoTube : kSecondOfTwoTube;
        }
        const sf::Vector2f position(slotRow.left + step * static_cast<float>(k - 1), slotRow.top);
        auto slot = std::make_shared<SnapshotFocusItem>(position, "player" + std::to_string(k), screen.GetFont(),
                                                        kSlotFlags, tube, 1.0f);
        Register(screen, slot);
        if (!m_Slots.empty()) {
            LinkRight(m_Slots.back().get(), slot.get());
        }
        m_Slots.push_back(std::move(slot));
    }
    if (!m_Slots.empty()) {
        m_Players = std::make_shared<GroupFocusItem>(kPlayersRow, m_Slots.front().get(), m_Slots.back().get(),
                                                     FocusItem::kRight);
        Register(screen, m_Players);
    }
}

void SelectionGrid::BuildPool(FlashGUI& screen) {
    for (const std::string& file : m_PoolFiles) {
        auto item = std::make_shared<SnapshotFocusItem>(sf::Vector2f(), file, screen.GetFont(), kPoolFlags, kPoolTube,
                                                        m_BaseScale * m_Zoom);
        item->Load(file);
        Register(screen, item);
        m_PoolItems.push_back(std::move(item));
    }
    m_Rows = grid_rows::MakeRows(screen, m_PoolItems, kColumns);
}

void SelectionGrid::Layout() {
    grid_rows::LayOut(m_PoolItems, m_PoolRect, m_Zoom, m_BaseScale * m_Zoom, kColumns);
}

void SelectionGrid::MovePool(const sf::Vector2f& topLeft, float zoom) {
    m_PoolRect = grid_rows::MovedTo(m_PoolRect, topLeft);
    m_Zoom = zoom;
    Layout();
}

void SelectionGrid::ReturnAllToPool() {
    for (const std::shared_ptr<SnapshotFocusItem>& slot : m_Slots) {
        if (!slot->GetFile().empty()) {
            MoveToPool(*slot);
        }
    }
    m_Chosen.clear();
}

std::vector<SnapshotFocusItem*> SelectionGrid::RowItems(size_t row) const {
    std::vector<SnapshotFocusItem*> items;
    const size_t start = grid_rows::RowStart(row, kColumns);
    for (size_t i = 0; i < grid_rows::RowLength(row, m_PoolItems.size(), kColumns); ++i) {
        items.push_back(m_PoolItems[start + i].get());
    }
    return items;
}

void SelectionGrid::LinkRows() {
    grid_rows::LinkRowsVertically(m_Rows, m_PoolItems, kColumns);
    if (m_Rows.empty()) {
        return;
    }
    GroupFocusItem* lastRow = m_Rows.back().get();
    for (const std::shared_ptr<SnapshotFocusItem>& slot : m_Slots) {
        slot->SetLink(FocusItem::kUp, lastRow);
    }
    if (!m_Slots.empty()) {
        LinkRight(lastRow->GetLast(), m_Slots.front().get());
    }
    if (m_Players) {
        LinkDown(lastRow, m_Players.get());
        for (SnapshotFocusItem* item : RowItems(m_Rows.size() - 1)) {
            item->SetLink(FocusItem::kDown, m_Players.get());
        }
    }
}

void SelectionGrid::Clear(FlashGUI& screen) {
    std::vector<std::shared_ptr<FocusItem>> items(m_Slots.begin(), m_Slots.end());
    items.insert(items.end(), m_PoolItems.begin(), m_PoolItems.end());
    items.insert(items.end(), m_Rows.begin(), m_Rows.end());
    if (m_Players) {
        items.push_back(m_Players);
    }
    grid_rows::RemoveFromScreen(screen, items);
    m_PoolFiles.clear();
    m_Rows.clear();
    m_PoolItems.clear();
    m_Chosen.clear();
    m_Players.reset();
    m_Slots.clear();
}

void SelectionGrid::BuildBetweenBackAndStart(FlashGUI& screen, const FocusRect& poolRect, const FocusRect& slotRow,
                                             int slotCount, bool onePerController) {
    screen.RemoveAllFocusItems();
    Clear(screen);
    screen.AddFlashFocusItem("Back");
    screen.AddFlashFocusItem("Start");
    // Every controller moves the one cursor; each press is the pressing controller's choice.
    screen.SetFocus("Start");
    Build(screen, poolRect, slotRow, slotCount, onePerController);
    ConnectItem(screen, "Back", FocusItem::kUp, kTopEdge);
    ConnectItem(screen, "Back", FocusItem::kLeft, kLeftEdge);
    ConnectItem(screen, "Start", FocusItem::kRight, kRightEdge);
    ConnectItem(screen, "Start", FocusItem::kDown, kBottomEdge);
}

void SelectionGrid::ConnectItem(FlashGUI& screen, const std::string& name, int direction, int edge) {
    FocusItem* item = screen.FindFocusItem(name);
    if (item == nullptr) {
        return;
    }
    switch (edge) {
    case kLeftEdge:
        if (!m_PoolItems.empty()) {
            LinkRight(item, m_PoolItems.front().get());
        }
        break;
    case kRightEdge:
        if (!m_Slots.empty()) {
            LinkRight(m_Slots.back().get(), item);
        }
        break;
    case kTopEdge:
        if (!m_PoolItems.empty()) {
            for (SnapshotFocusItem* child : RowItems(0)) {
                child->SetLink(direction, item);
            }
            LinkDown(item, m_PoolItems.front().get());
        }
        break;
    case kBottomEdge:
        if (m_Players) {
            for (const std::shared_ptr<SnapshotFocusItem>& slot : m_Slots) {
                slot->SetLink(direction, item);
            }
            LinkDown(m_Players.get(), item);
        }
        break;
    default: break;
    }
}

void SelectionGrid::OnItemPressed(FlashGUI& screen, Controller* controller, FocusItem* item, int kind) {
    if (kind != FlashGUI::kPressed || item == nullptr) {
        return;
    }
    for (const std::shared_ptr<SnapshotFocusItem>& poolItem : m_PoolItems) {
        if (poolItem.get() == item) {
            // A creature whose definition keeps it from being chosen stays in the pool, even
            // when a cursor was put straight onto it. An emptied place goes on to the move,
            // which finds nothing to move and logs it.
            if (poolItem->GetFile().empty() || poolItem->IsEnabled()) {
                MoveToSlot(screen, controller, *poolItem);
            }
            return;
        }
    }
    for (const std::shared_ptr<SnapshotFocusItem>& slot : m_Slots) {
        if (slot.get() == item) {
            MoveToPool(*slot);
            return;
        }
    }
}

void SelectionGrid::MoveToSlot(FlashGUI& screen, Controller* controller, SnapshotFocusItem& poolItem) {
    if (m_OnePerController && ControllerHasSlot(controller)) {
        m_Hint.ShowHint("use other controls", 0);
        return;
    }
    SnapshotFocusItem* slot = FirstFreeSlot();
    if (slot == nullptr) {
        return;
    }
    const std::string file = poolItem.TakeOut();
    if (file.empty()) {
        log_error("GUIChampionshipGlobbos: Failed moving globbo to the player list.");
        return;
    }
    slot->LoadWithController(controller, file);
    m_Chosen.push_back({file, controller});
    screen.SetControllerFocus(controller, slot->GetName());
}

void SelectionGrid::MoveToPool(SnapshotFocusItem& slot) {
    const std::string file = slot.TakeOut();
    SnapshotFocusItem* poolItem = file.empty() ? nullptr : FindPoolItem(file);
    if (poolItem == nullptr) {
        log_error("GUIChampionshipGlobbos: Failed moving globbo back to the pool.");
        return;
    }
    poolItem->Load(file);
    auto chosen = std::find_if(m_Chosen.begin(), m_Chosen.end(), [&](const Choice& c) { return c.file == file; });
    if (chosen != m_Chosen.end()) {
        m_Chosen.erase(chosen);
    }
}

SnapshotFocusItem* SelectionGrid::FirstFreeSlot() const {
    for (const std::shared_ptr<SnapshotFocusItem>& slot : m_Slots) {
        if (slot->GetFile().empty()) {
            return slot.get();
        }
    }
    return nullptr;
}

SnapshotFocusItem* SelectionGrid::FindPoolItem(const std::string& file) const {
    for (const std::shared_ptr<SnapshotFocusItem>& item : m_PoolItems) {
        if (item->GetName() == file) {
            return item.get();
        }
    }
    return nullptr;
}

bool SelectionGrid::ControllerHasSlot(const Controller* controller) const {
    return std::any_of(m_Chosen.begin(), m_Chosen.end(), [&](const Choice& c) { return c.controller == controller; });
}
