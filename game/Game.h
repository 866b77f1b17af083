#pragma once

#include "app/GameStatistics.h"

#include <SFML/Graphics/RenderStates.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/System/Clock.hpp>
#include <SFML/Window/Event.hpp>

#include <vector>

class Application;
class Globbo;
class Level;

// A running match: a SpitGame (a real match, or one replayed from recorded input), or a
// CinematicGame (a scene of creatures behind a menu). Its owner steps it, draws it, and hands it
// the window's events and the movies' FSCommands.
class Game {
public:
    virtual ~Game() = default;

    // One step of dt seconds; false once the match has finished.
    virtual bool Update(Application& application, float dt) = 0;
    // Draws the match through the render states (the owner's zoom).
    virtual void Draw(sf::RenderTarget& target, const sf::RenderStates& states) = 0;
    // Ends the match; the base does nothing.
    virtual void EndMatch() {}
    // A window event.
    virtual void HandleEvent(const sf::Event& event) = 0;
    // A command from a Flash movie; the base does nothing.
    virtual void OnFSCommand(const char* /*command*/) {}
    // The match's result: live scores while it runs.
    virtual const GameStatistics& GetStatistics() const = 0;
    // The creatures of players 1 and 2; null when there is none.
    virtual Globbo* GetGlobbo1() const = 0;
    virtual Globbo* GetGlobbo2() const = 0;

protected:
    // The arena with its creatures, in layers: the level's back, every creature's outline, the
    // balls, every creature's parts, the level's front.
    static void DrawArena(Level& level, const std::vector<Globbo*>& creatures, sf::RenderTarget& target,
                          const sf::RenderStates& states);
    // Adds the time since the clock started and one drawn frame to the performance overlay's
    // render counter.
    static void CountDrawnFrame(const sf::Clock& clock);
};
