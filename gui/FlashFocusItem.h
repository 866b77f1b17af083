#pragma once

#include "gui/FlashGUI.h"
#include "gui/FocusItem.h"

#include <memory>

// A menu button that is a named clip of a screen's movie. Its rectangle is the clip's, taken
// when the item is made: the clip's position is its centre. A cursor coming onto it plays the
// clip's "over" frames, a press its "pressed" frames (whose script tells the game what was
// chosen); the clip is disabled while it shows its "disabled" frame. Without the clip the item
// has an empty rectangle and is disabled.
class FlashFocusItem : public FocusItem {
public:
    // The clip name of the layer's movie (the layer may be null: no clip).
    FlashFocusItem(std::shared_ptr<FlashGUI::Layer> layer, const std::string& name);

    void OnFocus(Controller* controller) override;
    void OnPress(Controller* controller) override;
    bool IsEnabled() const override;

private:
    swfplayer::character* GetClip() const;

    // Held so that a press whose script unloads the screen still finds its movie.
    std::shared_ptr<FlashGUI::Layer> m_Layer;
};
