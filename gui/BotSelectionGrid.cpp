#include "gui/BotSelectionGrid.h"

#include "gui/FlashGUI.h"
#include "gui/GlobboSnapshot.h"

namespace {

const sf::Vector2f kTube(-30.0f, 50.0f);

}  // namespace

void BotSelectionGrid::Build(FlashGUI& screen, const FocusRect& rect, float scale) {
    m_Rect = rect;
    m_Scale = scale;
    m_Files = grid_rows::CreatureFiles(kBotsFolder);
    m_Items.clear();
    for (const std::string& file : m_Files) {
        auto item =
            std::make_shared<SnapshotFocusItem>(sf::Vector2f(), file, screen.GetFont(), GlobboSnapshot::kFace, kTube, scale);
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
