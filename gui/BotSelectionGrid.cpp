#include "gui/BotSelectionGrid.h"

#include "gui/FlashGUI.h"
#include "gui/FocusLinks.h"
#include "gui/GlobboSnapshot.h"
#include "gui/SelectionGrid.h"

namespace {

const sf::Vector2f kTube(-30.0f, 50.0f);

}  // namespace

void BotSelectionGrid::Build(FlashGUI& screen, const FocusRect& rect, float scale) {
    m_Rect = rect;
    m_Scale = scale;
    m_Files = grid_rows::CreatureFiles(kBotsFolder);
    m_Items.clear();
    for (const std::string& file : m_Files) {
        auto item = std::make_shared<SnapshotFocusItem>(sf::Vector2f(), file, screen.GetFont(), GlobboSnapshot::kFace,
                                                        kTube, scale);
        item->Load(file);
        screen.InsertFocusItemBefore(item, "Start");
        m_Items.push_back(std::move(item));
    }
    m_Rows = grid_rows::MakeRows(screen, m_Items, kColumns);
    Layout();
    grid_rows::LinkRowsVertically(m_Rows, m_Items, kColumns);
}

void BotSelectionGrid::Layout() {
    grid_rows::LayOut(m_Items, m_Rect, m_Scale, m_Scale, kColumns);
}

void BotSelectionGrid::Clear(FlashGUI& screen) {
    std::vector<std::shared_ptr<FocusItem>> items(m_Items.begin(), m_Items.end());
    items.insert(items.end(), m_Rows.begin(), m_Rows.end());
    grid_rows::RemoveFromScreen(screen, items);
    m_Files.clear();
    m_Items.clear();
    m_Rows.clear();
}

void BotSelectionGrid::MoveTo(const sf::Vector2f& topLeft, float scale) {
    m_Rect = grid_rows::MovedTo(m_Rect, topLeft);
    m_Scale = scale;
    Layout();
}

void BotSelectionGrid::ConnectItem(FlashGUI& screen, const std::string& name, int direction, int edge) {
    FocusItem* item = screen.FindFocusItem(name);
    if (item == nullptr || m_Items.empty()) {
        return;
    }
    switch (edge) {
    case SelectionGrid::kLeftEdge: LinkRight(item, m_Items.front().get()); break;
    case SelectionGrid::kRightEdge: LinkRight(m_Items.back().get(), item); break;
    case SelectionGrid::kTopEdge:
        for (size_t i = 0; i < grid_rows::RowLength(0, m_Items.size(), kColumns); ++i) {
            m_Items[i]->SetLink(direction, item);
        }
        LinkDown(item, m_Items.front().get());
        break;
    default: break;
    }
}
