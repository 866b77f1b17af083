#pragma once

#include <SFML/Graphics/Drawable.hpp>
#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Window/Event.hpp>

#include <string>

class Application;
class Controller;

// A screen of the game, as the screen director drives it. Drawing a screen through a render
// target renders it.
class GUIBase : public sf::Drawable {
public:
    ~GUIBase() override = default;

    // Draws the screen.
    virtual void Render(sf::RenderTarget& target, sf::RenderStates states) const = 0;
    // One update step of dt seconds.
    virtual void Update(Application& application, float dt) = 0;
    // A window event (key and joystick events; the main loop passes no mouse presses).
    virtual void OnEvent(const sf::Event& event) = 0;
    // A controller command 1 to 7 (Controller::Command).
    virtual void OnCommand(Controller* controller, int command) = 0;
    // The screen became the top of the stack.
    virtual void Activate() = 0;
    // An FSCommand that a movie sent, as its command text.
    virtual void OnFSCommand(const std::string& command) = 0;
    // Whether the screen is drawn over the screen below it.
    virtual bool IsOverlay() const = 0;
    // Whether the screen below keeps being updated while this one is on top.
    virtual bool UpdatesBelow() const = 0;
    // What this screen passes to the screen that next becomes the top (null for nothing).
    virtual Controller* GetHandOver() const = 0;
    // Receives that from the screen that was the top before.
    virtual void TakeHandOver(Controller* controller) = 0;

private:
    void draw(sf::RenderTarget& target, sf::RenderStates states) const final { Render(target, states); }
};
