#pragma once

#include "gui/BotSelectionGrid.h"
#include "gui/FlashGUI.h"
#include "gui/SelectionGrid.h"

class GUIDirector;
class SnapshotFocusItem;

// The training's selection (screen 6): one player picks a creature from the pool on the movie's
// "Shelves", then a computer opponent from the bots of "data/ais" on its "Monitor"; the movie
// announces the choice and sends "StartGame", which sets the training up and opens the level
// selection. The movie's transitions (labels "PlayerSelection", "GoToAISelection",
// "GoToPlayerSelection", "AISelected") end with "EnteredPlayerSelection", "EnteredAISelection"
// and "StartGame". "GoBack" leaves during the creature choice and returns to it from the bots.
// In both choices "GoBack" is the current focus item (moves without a link and a controller
// handed over land there) while the cursors start on the first creature or bot.
class GUIPlayerSelectionTraining : public FlashGUI {
public:
    enum State {
        kGoingBack = 0,
        kChoosingPlayer = 1,
        kPlayerPlaced = 2,
        kMovingToBots = 3,
        kChoosingBot = 4,
        kBotChosen = 5,
    };
    // The pool's first and last cell centres, the slot's place and the bots' rectangle, in
    // pixels, before the grids follow the movie's clips.
    static constexpr FocusRect kPool{198.0f, 116.0f, 636.0f, 245.0f};
    static constexpr FocusRect kSlotRow{250.0f, 467.0f, 250.0f, 467.0f};
    static constexpr FocusRect kBots{0.0f, 0.0f, 300.0f, 110.0f};

    explicit GUIPlayerSelectionTraining(GUIDirector& director);

    // Everything chosen is forgotten, the grids are built anew and the movie goes to its creature
    // choice, whose "EnteredPlayerSelection" then begins it (state 1).
    void Activate() override;
    // The grids follow the clips "Shelves" and "Monitor", the chosen creature the clip
    // "SelectedGlobbo"; once the creature stands in its slot, the bots' choice comes.
    void Update(Application& application, float dt) override;
    void OnFSCommand(const std::string& command) override;
    void OnFocusItemEvent(Controller* controller, FocusItem* item, int kind) override;
    // Enters the state with its steps (see the states above).
    void SetState(int state);

    int GetState() const { return m_State; }
    const SelectionGrid& GetGrid() const { return m_Grid; }
    const BotSelectionGrid& GetBotGrid() const { return m_Bots; }
    SnapshotFocusItem* GetChosenPlayer() const { return m_ChosenPlayer; }
    Controller* GetChosenController() const { return m_ChosenController; }
    SnapshotFocusItem* GetChosenBot() const { return m_ChosenBot; }

private:
    void FollowClips();
    void OnPoolOrSlotPressed(Controller* controller);
    void OnBotPressed(SnapshotFocusItem& bot);
    void OnGoBackPressed();
    void ShowBotTexts(const SnapshotFocusItem& bot);
    // "GoBack" made anew and focused: the current focus item, where the cursor is made.
    void RenewGoBack();
    void PlayLabel(const char* label);
    void StartGame();
    bool IsPoolOrSlot(const FocusItem* item) const;
    SnapshotFocusItem* FindBot(const FocusItem* item) const;

    GUIDirector& m_Director;
    SelectionGrid m_Grid;
    BotSelectionGrid m_Bots;
    int m_State = kChoosingPlayer;
    SnapshotFocusItem* m_ChosenPlayer = nullptr;
    Controller* m_ChosenController = nullptr;
    SnapshotFocusItem* m_ChosenBot = nullptr;
};
