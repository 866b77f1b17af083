#include "game/BallStates.h"

#include "app/GameRandom.h"
#include "game/BodyRegistry.h"
#include "game/Globbo.h"
#include "game/Level.h"

#include <box2d/b2_body.h>

namespace ball_states {

namespace {

// A free ball's colour clip: white, mostly see-through.
const sf::Color kFreeColour(255, 255, 255, 100);

void ShowBurden(FlashMovie& movie) {
    const int offset = GameRandom::GetInstance().Random(0, 2);
    if (movie.GotoLabel("burden", false)) {
        swfplayer::root* root = movie.GetRoot();
        root->goto_frame(root->get_current_frame() + offset);
    }
}

// The frame first: going back to it from a burden frame builds its clips afresh, which would drop
// a colour given before.
void ShowOwner(FlashMovie& movie, const Globbo* owner) {
    sf::Color colour = kFreeColour;
    if (owner != nullptr) {
        colour = owner->m_BodyColor;
        colour.a = 255;
    }
    movie.GotoLabel("normal", false);
    movie.SetCharacterColor("color", colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f, colour.a / 255.0f);
}

void SpawnNeutralPuff(Level& level, const BodyRecord& record) {
    const sf::Color colour = record.owner != nullptr ? record.owner->m_BodyColor : sf::Color::White;
    const uint8_t bytes[4] = {colour.r, colour.g, colour.b, colour.a};
    const b2Vec2 position = record.body->GetPosition();
    const b2Vec2 velocity = record.body->GetLinearVelocity();
    level.GetParticles().Spawn(kNeutralMovie, sf::Vector2f(position.x, position.y), bytes, velocity.x, velocity.y,
                               kNeutralDamping);
}

}  // namespace

void SetBallColour(Level& level, BodyRecord& record, int state, Globbo* owner) {
    record.state = state;
    record.owner = owner;
    Ball* ball = level.GetBall(record.body);
    if (ball == nullptr) {
        return;
    }
    if (state == kBallBurden) {
        ShowBurden(ball->GetFrontMovie());
    } else {
        ShowOwner(ball->GetFrontMovie(), owner);
    }
    ball->SetBurden(state == kBallBurden);
}

void TakeBall(Level& level, BodyRecord& record, Globbo* taker) {
    if (record.owner != nullptr && record.owner != taker) {
        SetBallColour(level, record, kBallBurden, record.owner);
    }
    if (record.owner == nullptr || record.owner == taker) {
        SetBallColour(level, record, kBallHeld, taker);
    }
    record.neutralTimer = -1.0f;
}

void LetGoBall(Level& level, BodyRecord& record, const Globbo* creature) {
    Globbo* owner = record.owner;
    if (owner != nullptr && owner != creature) {
        SetBallColour(level, record, kBallFree, owner);
    }
    if (record.state != kBallBurden) {
        SetBallColour(level, record, kBallFree, owner);
        if (owner != nullptr) {
            record.neutralTimer = kNeutralSeconds;
        }
    }
}

// Where the creatures overlap, an owner that spat its burden would leave the point counted for a
// ball it has lost: a burden leaves only by leaving the creature that holds it.
bool MayTakeBall(const Globbo* asker, const b2Body* ball) {
    const BodyRecord* record = FindBodyRecord(ball);
    if (record == nullptr || record->kind != kBallBody) {
        return true;
    }
    return record->state != kBallBurden && (record->owner == nullptr || record->owner == asker);
}

void RunNeutralTimers(Level& level, float dt, bool endSpits) {
    for (size_t i = 0; i < level.GetBalls().size(); ++i) {
        BodyRecord* record = FindBodyRecord(level.GetBalls()[i]->GetBody());
        if (record == nullptr) {
            continue;
        }
        if (record->neutralTimer > 0.0f) {
            record->neutralTimer -= dt;
            if (record->neutralTimer <= 0.0f) {
                SpawnNeutralPuff(level, *record);
                SetBallColour(level, *record, kBallFree, nullptr);
            }
        }
        if (endSpits && record->state == kBallSpat) {
            record->state = kBallFree;
        }
    }
}

}  // namespace ball_states
