#pragma once

#include "game/BodyRecord.h"

#include <utility>
#include <vector>

class Globbo;
class Level;
class b2Body;
class b2Contact;
struct b2ContactImpulse;

// What a match does with the contacts the physics step reports: a ball that strikes a creature's
// skin is queued to be taken in after the step (bodies cannot be moved inside it), a ball owned
// by another creature shows a splash, and other collisions play their sounds.
class BallContacts {
public:
    // Which balls a creature's skin takes in: free ones only, or also those another creature has
    // just spat.
    enum class Takes { kFree, kFreeAndSpat };

    explicit BallContacts(Takes takes) : m_Takes(takes) {}

    // One solved contact of the step (the world's contact listener hands it on).
    void OnPostSolve(Level& level, b2Contact* contact, const b2ContactImpulse* impulse);
    // A ball (its record) touching a creature's ring: a ball it takes is marked queued (state 3)
    // and queued once; one owned by another creature shows the splash, turned away from the
    // creature's centre.
    void OnBallTouchesCreature(Level& level, BodyRecord& ball, Globbo& creature);
    // Hands every queued ball to its creature's TakeIn, in the order queued, and empties the queue.
    void TakeIn();

    const std::vector<std::pair<b2Body*, Globbo*>>& GetPending() const { return m_Pending; }

    // Whether a contact between the two bodies (their records, null for unregistered bodies)
    // sounds: never against a creature's ring, not between two balls that are both taken, held
    // or spat; every other contact does.
    static bool MakesSound(const BodyRecord* a, const BodyRecord* b);

private:
    Takes m_Takes;
    std::vector<std::pair<b2Body*, Globbo*>> m_Pending;
};
