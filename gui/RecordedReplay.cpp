#include "gui/RecordedReplay.h"

#include "app/EventPlayer.h"
#include "game/Game.h"

void RecordedReplay::Advance(Application& application, EventPlayer& recording, b2World* world, Game& game, float dt) {
    m_Clock += dt;
    for (int played = 0;; ++played) {
        const float step = recording.NextFrameTime();
        // Written so that a step that is not a number stops the replay rather than running it.
        if (!(m_Clock >= step)) {
            return;
        }
        if (played == m_MaxFramesPerUpdate) {
            m_Clock = 0.0f;
            return;
        }
        recording.PlayFrame(world);
        if (step > kShortestStep) {
            game.Update(application, step);
        }
        m_Clock -= step;
    }
}
