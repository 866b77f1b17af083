#include "game/Game.h"

#include "app/PerformanceCounter.h"
#include "game/Globbo.h"
#include "game/Level.h"

namespace {

// The performance overlay's counter of the time spent drawing.
constexpr unsigned int kRenderCounter = 1;

}  // namespace

void Game::DrawArena(Level& level, const std::vector<Globbo*>& creatures, sf::RenderTarget& target,
                     const sf::RenderStates& states) {
    const ScreenMapping mapping = ScreenMapping::Of(level.GetPhysics());
    level.DrawBack(target, states);
    for (Globbo* creature : creatures) {
        creature->DrawOutline(target, states, mapping);
    }
    level.DrawBalls(target, states);
    for (Globbo* creature : creatures) {
        creature->DrawParts(target, states, mapping);
    }
    level.DrawFront(target, states);
}

void Game::CountDrawnFrame(const sf::Clock& clock) {
    std::vector<PerformanceCounter::Counter>& counters = PerformanceCounter::GetInstance().counters;
    if (counters.size() > kRenderCounter) {
        counters[kRenderCounter].time += clock.getElapsedTime().asSeconds();
        counters[kRenderCounter].count += 1;
    }
}
