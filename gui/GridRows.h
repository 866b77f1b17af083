#pragma once

#include "gui/FocusItem.h"
#include "gui/GroupFocusItem.h"
#include "gui/SnapshotFocusItem.h"

#include <SFML/System/Vector2.hpp>

#include <memory>
#include <string>
#include <vector>

class FlashGUI;

// What the creature grids share: the creature files of a folder, and portraits in rows of a
// fixed number of columns, the last row holding the rest.
namespace grid_rows {

using Items = std::vector<std::shared_ptr<SnapshotFocusItem>>;
using Rows = std::vector<std::shared_ptr<GroupFocusItem>>;

// The folder's creature files ("<folder>/<name>" for every name holding ".xml"), in the order
// the file system lists them.
std::vector<std::string> CreatureFiles(const std::string& folder);

// The number of rows for the items: ceil(items / columns).
size_t RowCount(size_t items, int columns);
// The items of the row: the first index and the count (the last row holds the rest).
size_t RowStart(size_t row, int columns);
size_t RowLength(size_t row, size_t items, int columns);

// Makes a row "row<r>" over each run of columns items, each registered on the screen ahead of
// "Start", with left and right links round each row.
Rows MakeRows(FlashGUI& screen, const Items& items, int columns);

// Places the items from the rectangle's corner (left, top), whose opposite corner (right,
// bottom) is scaled about it by zoom, row after row with the columns spread from left to right
// and the rows from top to bottom; a short last row is centred. Each item gets the scale.
void LayOut(const Items& items, const FocusRect& rect, float zoom, float scale, int columns);

// The rectangle of the same size with its top-left corner at the point.
FocusRect MovedTo(const FocusRect& rect, const sf::Vector2f& topLeft);
// Takes the items off the screen, those still on it: the screen may have deleted them first.
void RemoveFromScreen(FlashGUI& screen, const std::vector<std::shared_ptr<FocusItem>>& items);
// Up and down between consecutive rows: each child of a row leads down to the next row and each
// child of the next row up to it, and the rows likewise.
void LinkRowsVertically(const Rows& rows, const Items& items, int columns);

}  // namespace grid_rows
