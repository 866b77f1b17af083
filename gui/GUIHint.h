#pragma once

#include "gui/FlashGUI.h"

#include <string>

// The control-hint overlay: a movie that shows how to play with the controllers, asked for by
// name from anywhere in the game. It is drawn over whatever screen is on top and hears every
// controller command and FSCommand. In modes 1 and 2 the movie holds at its "checkpoint" until
// the player has both moved and pressed; in mode 0 it plays straight through.
//
// The movie (the first layer) has the clips "background" and "toppings": "toppings" follows
// "background" and fades with it, and has a frame labelled with each hint's name, holding the
// clips "player1", "player2" and "player" whose frames picture the controllers. The description's
// texts are tagged with the hint names and with the per-controller names
// "quickmatch controls p1c<n>", "quickmatch controls p2c<n>" and "training controls c<n>".
class GUIHint : public FlashGUI {
public:
    // Shows the named hint ("gui controls", "quickmatch controls", "training controls",
    // "use other controls", "select two") from its start. Nothing while the preference
    // disableHints is set.
    void ShowHint(const std::string& name, int mode);

    void Render(sf::RenderTarget& target, sf::RenderStates states) const override;
    void Update(Application& application, float dt) override;
    // While the movie waits: a move and a press (command 5), in any order, let it play on.
    void OnCommand(Controller* controller, int command) override;
    // "checkpoint": the movie waits there unless nothing is asked of the player.
    void OnFSCommand(const std::string& command) override;
    bool IsOverlay() const override { return true; }

    const std::string& GetHintName() const { return m_HintName; }
    bool NeedsMove() const { return m_NeedsMove; }
    bool NeedsPress() const { return m_NeedsPress; }
    bool IsWaiting() const { return m_Waiting; }
    // Whether the hint movie is playing.
    bool IsPlaying() const;
    // Whether the hint is drawn: while its movie plays or waits at the checkpoint.
    bool IsShown() const { return m_Waiting || IsPlaying(); }

private:
    // Shows the controller's picture in the toppings' clip and its text of the format; hides
    // both when there is no controller.
    void ShowController(const char* clip, const Controller* controller, const char* textFormat);
    void Play();

    std::string m_HintName;
    bool m_NeedsMove = false;
    bool m_NeedsPress = false;
    bool m_Waiting = false;
};
