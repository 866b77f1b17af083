#pragma once

#include "flash/FlashParticles.h"
#include "flash/sigslot.h"
#include "game/Ball.h"
#include "game/LevelData.h"
#include "game/LevelElement.h"
#include "game/LevelSketch.h"
#include "game/PathFinder.h"
#include "game/PhysicsWorld.h"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>
#include <SFML/Window/Event.hpp>
#include <box2d/b2_math.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

class Application;
class b2Body;
class b2Fixture;

// The arena of one match: a level file built into a physics world, with its balls, the movies and
// outlines of its bodies, decorative clips, teleporters, a background picture, the path-finding
// grid, a particle layer and the temporary effects the match adds. The match steps the world;
// the level updates and draws everything in it, in three layers:
//   back:  the background picture (with bitmaps on), then the back movies of the elements;
//   balls: drawn by the match between the back layer and the creatures' parts;
//   front: the elements' front movies, the effects, the particles and the outline sketch.
// Every draw takes render states, through which a match applies its zoom.
class Level : public sigslot::has_slots<> {
public:
    // The level file that the windmill variant is for.
    static constexpr const char* kWindmillLevel = "data/levels/1_nanomill.xml";
    // The path grid's cell size, in units.
    static constexpr float kPathCellSize = 5.0f;
    // The radius of every teleporter, in units.
    static constexpr float kTeleporterRadius = 10.0f;

    Level();
    ~Level() override;
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    // Builds the level of the file (the application is not used), replacing whatever an earlier
    // Load built. False, logged with the file name, when the file cannot be read or holds no
    // level ("data"): the level is then empty and no match must be played on it. A file that
    // holds more than a level may (LevelLimits) is built from its first records, and what starts
    // inside fixed outlines past LevelLimits::kMaxStartingOverlaps does not move or, for balls, is
    // left out; each limit passed is logged.
    virtual bool Load(const std::string& file, Application* application);

    // A new ball at the position (made finite and kept within 1,000 units of the origin); null
    // when the world refuses it, for instance in the middle of a step. The ball stays where it is
    // in memory while others are added or removed.
    Ball* AddBall(const b2Vec2& position);
    // The body last built under the name, or null.
    b2Body* GetBodyByName(const std::string& name) const;
    // The first ball whose body is the fixture's (or the given) body, or null.
    Ball* GetBall(const b2Fixture* fixture) const;
    Ball* GetBall(const b2Body* body) const;
    // Takes over an effect that plays in the front layer until its Update returns false.
    void AddEffect(std::unique_ptr<LevelElement> effect);

    void DrawBack(sf::RenderTarget& target, const sf::RenderStates& states);
    void DrawBalls(sf::RenderTarget& target, const sf::RenderStates& states);
    void DrawFront(sf::RenderTarget& target, const sf::RenderStates& states);
    // The debug overlay: the path grid, the body outlines and the teleporter marks.
    void DrawOverlay(sf::RenderTarget& target, const sf::RenderStates& states);
    // Runs the balls, the elements, the effects (dropping those that finished) and the particles
    // dt seconds on. The application is handed on to the movies.
    void Update(Application* application, float dt);
    // The outline sketch, a drawing aid for level authors: the left button adds the point under
    // the mouse to the current shape, the right button starts a new shape, the key P writes every
    // shape as level fixtures to "data/shapes.xml" in the user's data folder. Mouse positions are
    // window pixels, mapped through the target's view and then through levelTransform's inverse
    // (the transform the level is drawn with) onto the level's own pixels.
    void HandleEvent(const sf::Event& event, const sf::RenderTarget& target, const sf::Transform& levelTransform);

    // Removes the first ball of the body and the first name that leads to it (the body is gone).
    void OnBodyRemoved(const b2Body* body);

    // What the match, the creatures and the bots read.
    const LevelData& GetData() const { return m_Data; }
    PhysicsWorld& GetPhysics() { return m_Physics; }
    const PhysicsWorld& GetPhysics() const { return m_Physics; }
    const std::vector<std::unique_ptr<Ball>>& GetBalls() const { return m_Balls; }
    PathFinder& GetPathFinder() { return m_PathFinder; }
    FlashParticles& GetParticles() { return m_Particles; }
    const std::vector<std::unique_ptr<LevelElement>>& GetElements() const { return m_Elements; }
    size_t GetEffectCount() const { return m_Effects.size(); }
    LevelSketch& GetSketch() { return m_Sketch; }
    // Whether a background picture was loaded.
    bool HasBackground() const { return m_BackgroundTexture != nullptr; }
    // The background's sprite, drawn only when a picture loaded.
    const sf::Sprite& GetBackground() const { return m_Background; }

protected:
    // Everything built so far goes, the world last; the records stay.
    void Clear();

    LevelData m_Data;
    PhysicsWorld m_Physics;
    LevelSketch m_Sketch;
    PathFinder m_PathFinder;
    sf::Image m_BackgroundImage;
    // Made only for a picture that loaded: a texture needs the window system, and a level without
    // a picture (or without a window, in tools and tests) never asks for it.
    std::unique_ptr<sf::Texture> m_BackgroundTexture;
    sf::Sprite m_Background;
    std::vector<std::unique_ptr<Ball>> m_Balls;
    std::vector<std::unique_ptr<LevelElement>> m_Elements;
    std::vector<std::unique_ptr<LevelElement>> m_Effects;
    std::map<std::string, b2Body*> m_NamedBodies;
    // The particles' view of the world: [1] and [2] the half extents, [3] pixels per unit.
    float m_ParticleTransform[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    FlashParticles m_Particles{m_ParticleTransform};

private:
    // Reads the records of the file's "data" object, held to the level limits with the outlines of
    // the bodies' drawings; false when there is none.
    bool ReadData(const std::string& file);
    // Centres the background's sprite on the screen, with the picture when one loads.
    void LoadBackground();
    void LoadBackgroundPicture();
    // The shapes built so far, all of them and those of moving bodies, and whether a body's
    // shapes passed either limit (LevelLimits::kMaxFixtures, LevelLimits::kMaxMovingShapes).
    struct ShapeCount {
        size_t all = 0;
        size_t moving = 0;
        bool cut = false;
        bool movingCut = false;
    };
    // Build a body (with its visual and joints) and its fixtures, as many of their shapes as the
    // limits leave room for, counted in; BuildBody returns the body, or null when the world
    // refused it.
    b2Body* BuildBody(const BodyData& body, const std::string& file, ShapeCount& shapes);
    void BuildFixtures(b2Body* body, const BodyData& data, const std::string& file, ShapeCount& shapes);
    // Stops the moving bodies (in file order) and leaves out the balls of the file whose overlaps
    // with fixed bodies' shapes would pass LevelLimits::kMaxStartingOverlaps, and adds the other
    // balls.
    void AddStartingBodies(const std::vector<b2Body*>& moving, const std::string& file);
    void BuildVisual(b2Body* body, const BodyData& data);
    void BuildJoint(b2Body* body, const JointData& joint);
    void BuildElements();
    // Every body the level told the sound manager about, to forget before the world goes.
    std::vector<const b2Body*> m_SoundBodies;
};
