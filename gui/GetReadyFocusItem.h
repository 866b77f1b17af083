#pragma once

#include "flash/FlashMovie.h"
#include "gui/FocusItem.h"

class Controller;

// A creature to claim on the get-ready screen: a press binds it to the controller that pressed
// (its marker pops up in that controller's colour) and a second press by the same controller
// lets it go again (the marker hides); presses by other controllers do nothing while it is bound.
class GetReadyFocusItem : public FocusItem {
public:
    static constexpr const char* kMovie = "data/gui/globbo_getready_selection.swf";

    // The item over the rectangle, its marker centred on it.
    GetReadyFocusItem(const std::string& name, const FocusRect& rect);

    void OnFocus(Controller* /*controller*/) override {}
    void OnPress(Controller* controller) override;
    bool IsEnabled() const override { return true; }
    void Render(sf::RenderTarget& target, sf::RenderStates states) const override;
    void Update(float dt) override;

    bool IsBound() const { return m_Bound; }
    // The controller it is bound to; null while unbound.
    Controller* GetController() const { return m_Bound ? m_Controller : nullptr; }
    const FlashMovie& GetMovie() const { return m_Movie; }

private:
    bool m_Bound = false;
    Controller* m_Controller = nullptr;
    FlashMovie m_Movie;
};
