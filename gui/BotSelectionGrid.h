#pragma once

#include "gui/FocusItem.h"
#include "gui/GridRows.h"

#include <string>
#include <vector>

class FlashGUI;

// The computer opponents to choose from on the training screen: a face for each opponent in
// "data/ais", in rows of four (a short last row centred), with links round each row and up and
// down between the rows. The items belong to the screen; the grid keeps them too.
class BotSelectionGrid {
public:
    static constexpr const char* kBotsFolder = "data/ais";
    static constexpr int kColumns = 4;

    // Builds the items on the screen (ahead of its item "Start") between the rectangle's first
    // and last cell centres, scaled (and the rectangle's span zoomed) by scale.
    void Build(FlashGUI& screen, const FocusRect& rect, float scale);
    // Places the faces.
    void Layout();

    const std::vector<std::string>& GetFiles() const { return m_Files; }
    const grid_rows::Items& GetItems() const { return m_Items; }
    const grid_rows::Rows& GetRows() const { return m_Rows; }

private:
    FocusRect m_Rect;
    float m_Scale = 1.0f;
    std::vector<std::string> m_Files;
    grid_rows::Items m_Items;
    grid_rows::Rows m_Rows;
};
