#pragma once

#include "gui/FocusItem.h"
#include "gui/GridRows.h"

#include <SFML/System/Vector2.hpp>

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
    // Takes the grid's items off the screen and forgets them.
    void Clear(FlashGUI& screen);
    // Moves the rectangle, keeping its size, to the top-left corner, sets the faces' scale and
    // places them again.
    void MoveTo(const sf::Vector2f& topLeft, float scale);
    // Links the screen's named item to an edge of the grid (the edges of SelectionGrid), both
    // ways: above the first row (its faces lead up to the item), left of the first face, right of
    // the last. Nothing when the item or the grid is missing.
    void ConnectItem(FlashGUI& screen, const std::string& name, int direction, int edge);

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
