#pragma once

#include "flash/FlashMovie.h"
#include "game/LevelElement.h"
#include "game/PhysicalShape.h"

#include <string>

class b2Body;

// A movie that follows a physics body. A movie with the frame label "foreground" is shown twice:
// at that frame in the front layer and, as a second copy, at its frame "background" in the back
// layer; any other movie plays in the front layer alone. Both copies are centred on half their
// size until the owner sets another centre. The debug overlay shows the body's outline.
class FlashBody : public LevelElement {
public:
    FlashBody(b2Body* body, const std::string& file);

    void DrawFront(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld& world) override;
    void DrawBack(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld& world) override;
    void DrawOverlay(sf::RenderTarget& target, const sf::RenderStates& states, const PhysicsWorld& world) override;
    // Places both movies on the body's pixel position at its angle (plus the visual rotation;
    // the visual rotation alone when the movie does not turn with the body) and runs them dt
    // seconds on. Always true.
    bool Update(Application* application, const PhysicsWorld& world, float dt) override;

    b2Body* GetBody() const { return m_Body; }
    FlashMovie& GetFrontMovie() { return m_Front; }
    FlashMovie& GetBackMovie() { return m_Back; }
    // The point of both movies (in movie pixels) that sits on the body's position.
    void SetCentre(const sf::Vector2f& centre);
    // Extra rotation of the movies, radians.
    void SetVisualRotation(float radians) { m_VisualRotation = radians; }
    void SetRotateWithBody(bool rotate) { m_RotateWithBody = rotate; }

protected:
    b2Body* m_Body;
    FlashMovie m_Front;
    FlashMovie m_Back;
    float m_VisualRotation = 0.0f;
    bool m_RotateWithBody = true;
    PhysicalShape m_Outline;
};
