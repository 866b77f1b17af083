#pragma once

#include "app/ScreenDirector.h"
#include "flash/sigslot.h"
#include "gui/GUIHint.h"
#include "gui/GUIMainMenu.h"
#include "gui/ScreenRoles.h"

#include <array>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

// The screen director: it owns every screen and keeps the stack of those showing, the top first.
// The main loop hands it the update steps, the drawing, the window events and the controllers'
// commands; every FSCommand of every movie arrives here. Screens change only by pushes and pops
// of screen ids, each with the preparation of its id. The hint overlay is never stacked: it is
// updated, drawn and told the commands after the stack.
//
// Screens push and pop from inside their own handlers, so no walk over the stack and no cached
// top survives a call into a screen.
class GUIDirector : public ScreenDirector, public sigslot::has_slots<> {
public:
    enum ScreenId {
        kTitle = 1,
        kTutorial = 2,
        kTutorialWithButtons = 3,
        kMainMenu = 4,
        kQuickMatchSelection = 5,
        kTrainingSelection = 6,
        kLevelSelection = 7,
        kChampionshipGlobbos = 8,
        kChampionshipLevelSelection = 9,
        kChampionshipMatchTable = 10,
        kChampionshipGetReady = 11,
        kChampionshipPodium = 12,
        kGame = 13,
        kPaused = 14,
        kMatchOver = 15,
        kStatistics = 16,
        // No screen: the program ends at the next update.
        kExit = 17,
    };

    // Gives a director under construction its screens beyond the main menu and the hint, through
    // the Register calls below.
    using ScreenMaker = std::function<void(GUIDirector&)>;

    // The game's one director, made on first use with every screen of the game.
    static GUIDirector& GetInstance();

    // Makes the main menu and the hint overlay, lets the maker add the other screens, loads the
    // descriptions once (title, main menu, quick-match selection, training selection, level
    // selection, statistics, pause, hint; then the tutorial's, the championship's creature and
    // level-set selections' and the podium's), and connects to every movie's FSCommands.
    explicit GUIDirector(const ScreenMaker& makeScreens = {});
    ~GUIDirector() override;
    GUIDirector(const GUIDirector&) = delete;
    GUIDirector& operator=(const GUIDirector&) = delete;

    // The screens that the rest of the game brings, owned by the director from then on. The
    // descriptions are loaded by the construction after the maker has run: a screen registered
    // later is not loaded. An id that takes no screen of that kind (or has one already) is logged
    // and the screen dropped.
    // The title (id 1), deleted when the program ends.
    void RegisterTitle(std::unique_ptr<FlashGUI> title);
    // The tutorial, under ids 2 and 3.
    void RegisterTutorial(std::unique_ptr<TutorialScreen> tutorial);
    // Ids 5 to 10, 12 and 14 to 16.
    void RegisterScreen(int id, std::unique_ptr<FlashGUI> screen);
    void RegisterGetReady(std::unique_ptr<GetReadyScreen> getReady);
    void RegisterMatch(std::unique_ptr<MatchScreen> match);

    // Puts the id's screen on top with the id's preparation, activates it when it is new on top
    // and hands it what the old top hands over; sets the application's frame-skip flag. An id
    // without a screen and a screen already in the stack below the top are refused (logged).
    void PushScreen(int id) override;
    // Takes the top off (ending the match first when it is id 13) and activates the new top
    // with the hand-over. False when the stack is empty.
    bool PopScreen();
    // Pops until the stack is empty.
    void PopAll();
    int GetCurrentScreenId() const override;

    // Updates the top screen, the screens below it that it lets run, then the hint; with the
    // exit id on top it then closes the window and empties the stack.
    void Update(float dt) override;
    // Draws the top screen over the overlays' screens below it, bottom first, then the hint.
    void Draw(sf::RenderTarget& target) override;
    void OnEvent(const sf::Event& event) override;
    // The back command leaves the menus that have a way back and pauses a match; every command
    // then goes to the top screen and the hint.
    void HandleCommand(Controller* controller, int command) override;
    // "playsound..." plays a sound; "Back" takes the top screen off, unless it is the last one;
    // the rest goes to the top screen. The hint hears all but the sounds.
    void OnFSCommand(const char* command);
    void ShowHint(const char* name, int mode) override;
    // Ends a running match, deletes the title, empties the stack and unloads every screen: what
    // the screens hold of the game's world goes while the game's registries still exist.
    void Shutdown() override;

    GUIHint& GetHint() { return m_Hint; }
    GUIMainMenu& GetMainMenu() { return m_MainMenu; }
    // The screen of the id; null for none.
    GUIBase* GetScreen(int id) const;
    // The stacks, the top first.
    const std::deque<int>& GetIds() const { return m_Ids; }
    const std::deque<GUIBase*>& GetScreens() const { return m_Screens; }

private:
    static constexpr int kIdCount = kExit + 1;

    // Stores the screen under the id; false when the id has one.
    bool Place(int id, GUIBase* screen, FlashGUI* flash);
    // Loads each description once, in their order, into the screens there are.
    void LoadDescriptions();
    // The preparation of the id that comes before its screen is stacked, and after.
    void PrepareBeforePush(int id);
    void PrepareAfterPush(int id);
    // Activates the top when it is not the old top and hands it what the old top hands over.
    void ChangeTop(GUIBase* oldTop);
    GUIBase* Top() const { return m_Screens.empty() ? nullptr : m_Screens.front(); }
    bool IsStacked(const GUIBase* screen) const;
    // Ends the running match, its controllers let go first.
    void EndMatch();
    // The title is deleted (the program is ending) and both stacks emptied.
    void DeleteTitleAndEmpty();

    std::deque<int> m_Ids;
    std::deque<GUIBase*> m_Screens;
    std::array<GUIBase*, kIdCount> m_ScreenOfId{};
    // The same screens where they are Flash GUI screens.
    std::array<FlashGUI*, kIdCount> m_FlashOfId{};
    std::unique_ptr<FlashGUI> m_Title;
    std::vector<std::unique_ptr<GUIBase>> m_Owned;
    TutorialScreen* m_Tutorial = nullptr;
    GetReadyScreen* m_GetReady = nullptr;
    MatchScreen* m_Match = nullptr;
    GUIMainMenu m_MainMenu;
    GUIHint m_Hint;
};
