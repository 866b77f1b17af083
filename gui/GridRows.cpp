#include "gui/GridRows.h"

#include "app/VirtualFile.h"
#include "gui/FlashGUI.h"
#include "gui/FocusLinks.h"

#include <algorithm>

namespace grid_rows {

namespace {

// The screen item that every grid item goes before.
constexpr const char* kStart = "Start";

}  // namespace

std::vector<std::string> CreatureFiles(const std::string& folder) {
    std::vector<std::string> files;
    for (const std::string& name : VirtualFile::List(folder)) {
        if (name.find(".xml") != std::string::npos) {
            files.push_back(folder + "/" + name);
        }
    }
    return files;
}

size_t RowCount(size_t items, int columns) {
    return columns > 0 ? (items + static_cast<size_t>(columns) - 1) / static_cast<size_t>(columns) : 0;
}

size_t RowStart(size_t row, int columns) {
    return row * static_cast<size_t>(columns);
}

size_t RowLength(size_t row, size_t items, int columns) {
    const size_t start = RowStart(row, columns);
    return start >= items ? 0 : std::min(items - start, static_cast<size_t>(columns));
}

Rows MakeRows(FlashGUI& screen, const Items& items, int columns) {
    Rows rows;
    const size_t count = RowCount(items.size(), columns);
    for (size_t row = 0; row < count; ++row) {
        const size_t start = RowStart(row, columns);
        const size_t length = RowLength(row, items.size(), columns);
        for (size_t i = 0; i < length; ++i) {
            LinkRight(items[start + i].get(), items[start + (i + 1) % length].get());
        }
        auto group = std::make_shared<GroupFocusItem>("row" + std::to_string(row), items[start].get(),
                                                      items[start + length - 1].get(), FocusItem::kRight);
        screen.InsertFocusItemBefore(group, kStart);
        rows.push_back(std::move(group));
    }
    return rows;
}

void LayOut(const Items& items, const FocusRect& rect, float zoom, float scale, int columns) {
    const size_t rows = RowCount(items.size(), columns);
    const float right = rect.left + (rect.right - rect.left) * zoom;
    const float bottom = rect.top + (rect.bottom - rect.top) * zoom;
    // One column spreads nothing: its items stand at the left edge.
    const float step = columns > 1 ? (right - rect.left) / static_cast<float>(columns - 1) : 0.0f;
    float y = rect.top;
    for (size_t row = 0; row < rows; ++row) {
        const size_t start = RowStart(row, columns);
        const size_t length = RowLength(row, items.size(), columns);
        float x = rect.left;
        if (row + 1 == rows) {
            x = (right + rect.left) / 2.0f - step * static_cast<float>(length - 1) / 2.0f;
        }
        for (size_t i = 0; i < length; ++i) {
            items[start + i]->Place({x, y}, scale);
            x += step;
        }
        if (rows > 1) {
            y += (bottom - rect.top) / static_cast<float>(rows - 1);
        }
    }
}

FocusRect MovedTo(const FocusRect& rect, const sf::Vector2f& topLeft) {
    return {topLeft.x, topLeft.y, topLeft.x + (rect.right - rect.left), topLeft.y + (rect.bottom - rect.top)};
}

void RemoveFromScreen(FlashGUI& screen, const std::vector<std::shared_ptr<FocusItem>>& items) {
    for (const std::shared_ptr<FocusItem>& item : items) {
        if (screen.FindFocusItem(item->GetName()) == item.get()) {
            screen.RemoveFocusItem(item->GetName());
        }
    }
}

void LinkRowsVertically(const Rows& rows, const Items& items, int columns) {
    for (size_t row = 0; row + 1 < rows.size(); ++row) {
        for (size_t i = 0; i < RowLength(row, items.size(), columns); ++i) {
            items[RowStart(row, columns) + i]->SetLink(FocusItem::kDown, rows[row + 1].get());
        }
        for (size_t i = 0; i < RowLength(row + 1, items.size(), columns); ++i) {
            items[RowStart(row + 1, columns) + i]->SetLink(FocusItem::kUp, rows[row].get());
        }
        LinkDown(rows[row].get(), rows[row + 1].get());
    }
}

}  // namespace grid_rows
