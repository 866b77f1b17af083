#pragma once

#include "app/Controller.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Window/Event.hpp>

// What the application shell asks of the screens: the screen director as the main loop sees it.
// The shell knows the screens only through this, so it never depends on them; the program's
// main hands the real director in.
class ScreenDirector : public CommandHandler {
public:
    // Puts the screen of the id on top of the stack with its own preparation.
    virtual void PushScreen(int id) = 0;
    // The id on top of the stack, 0 when the stack is empty.
    virtual int GetCurrentScreenId() const = 0;
    // A window event for the screen on top.
    virtual void OnEvent(const sf::Event& event) = 0;
    // One update step of dt seconds.
    virtual void Update(float dt) = 0;
    // Draws the visible screens and the hint overlay.
    virtual void Draw(sf::RenderTarget& target) = 0;
    // Shows the named control hint with the hint mode.
    virtual void ShowHint(const char* name, int mode) = 0;
    // Releases the screens and empties the stack (application shutdown).
    virtual void Shutdown() = 0;
};
