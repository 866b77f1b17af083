#pragma once

#include "gui/FocusItem.h"
#include "gui/GroupFocusItem.h"
#include "gui/SnapshotFocusItem.h"

#include <memory>
#include <string>
#include <vector>

class Controller;
class FlashGUI;
class GUIHint;

// The creatures the players choose from on a selection screen: a pool of every player creature
// in "data/players", laid out in rows of four (a short last row centred), above a row of player
// slots. Pressing a creature of the pool moves it into the first free slot, together with the
// controller that chose it; pressing a slot puts its creature back into its place in the pool.
//
// The grid's items belong to the screen (they are in its focus items, ahead of its item "Start");
// the grid keeps them too, so that it can rebuild them each time the screen activates.
//
// Links: left and right go round each pool row, the last row's last creature leads right to the
// first slot, up and down go from row to row (landing on the row's first usable creature) and
// from the last row to the slots, which lead right from one to the next.
class SelectionGrid {
public:
    // A creature in a slot and the controller that chose it.
    struct Choice {
        std::string file;
        Controller* controller = nullptr;
    };
    // The edges of the grid that ConnectItem joins a screen's item to.
    enum Edge { kLeftEdge = 0, kRightEdge = 1, kTopEdge = 2, kBottomEdge = 3 };

    static constexpr const char* kPlayersFolder = "data/players";
    static constexpr int kColumns = 4;
    static constexpr float kBaseScale = 0.7f;
    // The portrait flags of the pool and of the slots (frame, tube, and the slots' controller).
    static constexpr uint32_t kPoolFlags = GlobboSnapshot::kFrame | GlobboSnapshot::kTube;
    static constexpr uint32_t kSlotFlags = kPoolFlags | GlobboSnapshot::kDecoration;

    // The hint shows "use other controls" when a controller that has a slot picks again.
    explicit SelectionGrid(GUIHint& hint) : m_Hint(hint) {}

    // Builds the items on the screen: slotCount slots named "player1"... from the left end of
    // the slot row to its right end (all at the left end when there is one), the row "players"
    // over them, and the pool between the pool rectangle's first and last cell centres, a row
    // "row0"... of kColumns creatures after another. With onePerController, each controller
    // may fill one slot only.
    void Build(FlashGUI& screen, const FocusRect& poolRect, const FocusRect& slotRow, int slotCount,
               bool onePerController);
    // The creature selections' screen: the grid built anew (Clear, then Build) between the
    // items "Back", above and left of the pool, and "Start", right of and below the slots, with
    // the focus on "Start", where the cursor that every controller shares comes.
    void BuildBetweenBackAndStart(FlashGUI& screen, const FocusRect& poolRect, const FocusRect& slotRow, int slotCount,
                                  bool onePerController);
    // Takes the grid's items off the screen and forgets them and the choices.
    void Clear(FlashGUI& screen);
    // Links the screen's named item to an edge of the grid, both ways: left of the first
    // creature, right of the last slot, above the first row (the row's creatures lead to it in
    // the direction), below the slots (likewise). Nothing when the item or the edge is missing.
    void ConnectItem(FlashGUI& screen, const std::string& name, int direction, int edge);
    // A screen's focus-item event: a press on a creature of the pool or on a slot moves it.
    void OnItemPressed(FlashGUI& screen, Controller* controller, FocusItem* item, int kind);
    // Places the pool's creatures.
    void Layout();
    // Moves the pool's rectangle, keeping its size, to the top-left corner, zooms the pool and
    // places its creatures again.
    void MovePool(const sf::Vector2f& topLeft, float zoom);
    // Every creature in a slot goes back to its place in the pool; nothing stays chosen.
    void ReturnAllToPool();

    bool HasFreeSlot() const { return FirstFreeSlot() != nullptr; }
    SnapshotFocusItem* FirstFreeSlot() const;
    // The pool's place of the creature's file; null for none.
    SnapshotFocusItem* FindPoolItem(const std::string& file) const;
    bool ControllerHasSlot(const Controller* controller) const;
    // The chosen creatures, in the order they were chosen.
    const std::vector<Choice>& GetChosen() const { return m_Chosen; }

    const std::vector<std::string>& GetPoolFiles() const { return m_PoolFiles; }
    const std::vector<std::shared_ptr<SnapshotFocusItem>>& GetPoolItems() const { return m_PoolItems; }
    const std::vector<std::shared_ptr<GroupFocusItem>>& GetRows() const { return m_Rows; }
    const std::vector<std::shared_ptr<SnapshotFocusItem>>& GetSlots() const { return m_Slots; }
    GroupFocusItem* GetPlayersRow() const { return m_Players.get(); }
    int GetRowCount() const { return static_cast<int>(m_Rows.size()); }

private:
    void BuildSlots(FlashGUI& screen, const FocusRect& slotRow);
    void BuildPool(FlashGUI& screen);
    void LinkRows();
    // The creatures of the row.
    std::vector<SnapshotFocusItem*> RowItems(size_t row) const;
    void Register(FlashGUI& screen, std::shared_ptr<FocusItem> item);
    void MoveToSlot(FlashGUI& screen, Controller* controller, SnapshotFocusItem& poolItem);
    void MoveToPool(SnapshotFocusItem& slot);

    GUIHint& m_Hint;
    FocusRect m_PoolRect;
    float m_BaseScale = kBaseScale;
    float m_Zoom = 1.0f;
    std::vector<std::string> m_PoolFiles;
    std::vector<std::shared_ptr<GroupFocusItem>> m_Rows;
    std::vector<std::shared_ptr<SnapshotFocusItem>> m_PoolItems;
    std::vector<Choice> m_Chosen;
    std::shared_ptr<GroupFocusItem> m_Players;
    std::vector<std::shared_ptr<SnapshotFocusItem>> m_Slots;
    int m_SlotCount = 6;
    bool m_OnePerController = false;
};
