#pragma once

#include "gui/DrawableGlobbo.h"
#include "gui/FlashGUI.h"

#include <SFML/Graphics/Text.hpp>

#include <memory>
#include <string>
#include <vector>

class Globbo;
class GUIDirector;
class PhysicsWorld;

// The match over (screen 15), drawn over the finished match: its movie sends "GoWinner", and a
// copy of the winning creature, built in the screen's own physics world, flies from where the
// winner was to the middle of the screen and grows, while the winner leaves the match below;
// then "ShowText" shows the winner's name and the texts "matchover", "congrats" and
// "thewinner" and lets the controllers choose: another match ("PlayAgain"), the statistics
// ("Stats") or the main menu ("MainMenu"); in a championship the next match ("NextMatch") or,
// after its last, the podium ("GetAwards"). A match without a winner shows "matchover" alone.
class GUIMatchOver : public FlashGUI {
public:
    // Where the copy flies to and how large it grows, and how long each takes (seconds).
    static constexpr float kCentreX = 314.0f;
    static constexpr float kCentreY = 285.0f;
    static constexpr double kFlightSeconds = 3.0;
    static constexpr double kWinnerScale = 1.7;
    static constexpr double kGrowthSeconds = 5.0;
    // The winner's name: its size, and the point its top middle is placed at.
    static constexpr unsigned int kCaptionSize = 20;
    static constexpr float kCaptionY = 340.0f;

    explicit GUIMatchOver(GUIDirector& director);
    // The copy's drawing and the copy go before the world that holds the copy's bodies.
    ~GUIMatchOver() override;

    // Loads the description, sets the movie playing, hides the texts and starts a new world
    // without a copy.
    void Load(const std::string& file) override;
    // Drops the copy and the caption, then the movie.
    void Unload() override;
    // Rebuilds the items, links and focus of the set-up's mode and hides the movie's clips of
    // the other modes. The controllers can choose only once the movie has run past its first
    // frame (or sent "ShowText").
    void Activate() override;
    // The movie, the screen's world, the copy and its flight.
    void Update(Application& application, float dt) override;
    // The copy under the movie, the name over it.
    void Render(sf::RenderTarget& target, sf::RenderStates states) const override;
    void OnFSCommand(const std::string& command) override;
    bool IsOverlay() const override { return true; }

    Globbo* GetCopy() const { return m_Copy.get(); }
    const DrawableGlobbo* GetDrawableCopy() const { return m_DrawableCopy.get(); }
    const sf::Text& GetCaption() const { return m_Caption; }
    PhysicsWorld* GetWorld() const { return m_World.get(); }

private:
    // One row of the choices: the items in order (linked left to right, the last back to the
    // first when they ring), the item with the focus and the clips hidden.
    struct Choices {
        std::vector<const char*> items;
        bool ring = false;
        const char* focus = "";
        std::vector<const char*> hidden;
    };
    const Choices& ChoicesOfMode() const;
    void GoWinner();
    void ShowText();
    // A championship's next match (its table first), or its podium after the last.
    void NextMatch();
    void GetAwards();
    // Takes the match and this screen off (pop two) and the menu music back.
    void LeaveMatch();
    void RestartMenuMusic();
    void DropCopy();

    GUIDirector& m_Director;
    std::unique_ptr<PhysicsWorld> m_World;
    std::unique_ptr<Globbo> m_Copy;
    std::unique_ptr<DrawableGlobbo> m_DrawableCopy;
    sf::Text m_Caption;
};
