#pragma once

#include "game/BallContacts.h"
#include "game/Game.h"
#include "game/Level.h"

#include <box2d/b2_math.h>
#include <box2d/b2_world_callbacks.h>

#include <memory>
#include <string>
#include <vector>

class Controller;
class b2Body;

// A free scene of any number of creatures on a level of its own, played behind a menu (the
// championship's podium): no scores, no end, no movies of its own. Creatures take in free balls
// and spit them as in a match; a ball shows the colour of whichever creature owns it. The scene
// owns its level, its creatures and their controllers.
class CinematicGame : public Game, public b2ContactListener {
public:
    // Loads the level and becomes its world's contact listener.
    explicit CinematicGame(const std::string& levelFile);
    // Every controller lets go of its creature and goes, then every creature.
    ~CinematicGame() override;
    CinematicGame(const CinematicGame&) = delete;
    CinematicGame& operator=(const CinematicGame&) = delete;

    // A creature of the file at the position, inflated as in a match, steered by the controller
    // (none: it stands still); the scene keeps both. The controller is not attached: its owner
    // attaches it. A file that is empty, cannot be read or holds no creature still adds one, built
    // from the defaults (the creature logs it), with its controller.
    Globbo* AddGlobbo(const std::string& file, const b2Vec2& position, std::unique_ptr<Controller> controller);

    // The world's step, each creature's controller then the creature, the level, the queued balls
    // taken in, the free-again timers. Always true: a scene never ends by itself.
    bool Update(Application& application, float dt) override;
    // Level back layer, every creature's outline, balls, every creature's parts, front layer, and
    // the debug overlay.
    void Draw(sf::RenderTarget& target, const sf::RenderStates& states) override;
    // To the level's outline sketch, always.
    void HandleEvent(const sf::Event& event) override;
    // Never filled.
    const GameStatistics& GetStatistics() const override { return m_Statistics; }
    // The first and second creature added; null when there are fewer.
    Globbo* GetGlobbo1() const override;
    Globbo* GetGlobbo2() const override;

    void PostSolve(b2Contact* contact, const b2ContactImpulse* impulse) override;

    // The creatures' callbacks without scores: a ball taken in is held by its owner or, owned by
    // another creature, a burden; a ball let go of goes free and stays its owner's for a while.
    void OnTakeBall(Globbo* taker, b2Body* ball);
    void OnLetGoBall(Globbo* creature, b2Body* ball);

    Level& GetLevel() { return m_Level; }
    bool HasLevel() const { return m_HasLevel; }
    const BallContacts& GetContacts() const { return m_Contacts; }
    // The creatures in the order added, and the controller of each (null for none).
    const std::vector<std::unique_ptr<Globbo>>& GetCreatures() const { return m_Creatures; }
    Controller* GetController(size_t index) const;

private:
    static void TakeBallCallback(void* context, Globbo* creature, b2Body* ball);
    static bool MayTakeBallCallback(void* context, Globbo* creature, b2Body* ball);
    static void LetGoBallCallback(void* context, Globbo* creature, b2Body* ball);

    Level m_Level;
    bool m_HasLevel = false;
    GameStatistics m_Statistics;
    BallContacts m_Contacts{BallContacts::Takes::kFree};
    std::vector<std::unique_ptr<Globbo>> m_Creatures;
    std::vector<std::unique_ptr<Controller>> m_Controllers;
    sf::Transform m_DrawTransform;
};
