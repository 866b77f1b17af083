// The podium's shipped script: whole stick moves up and back, no snapshots, the scene's length in
// steps of the main loop. Replayed by the podium's game layer, the champion hops on its step and
// lands on it again while the others stand, whoever stands there and however many.
#include "app/Application.h"
#include "app/EventPlayer.h"
#include "game/CinematicGame.h"
#include "game/Globbo.h"
#include "gui/GUIChampionshipPodium.h"
#include "gui/GameLayer.h"
#include "tests/game/window/ShippedGameFolder.h"
#include "tools/recordings/PodiumRecording.h"
#include "tools/recordings/SceneRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using PodiumScriptTest = ShippedGameFolder;

TEST_F(PodiumScriptTest, the_script_moves_the_stick_up_and_back_without_snapshots) {
    const EventPlayer script(GUIChampionshipPodium::kScript, false);
    int frames = 0;
    int ups = 0;
    int downs = 0;
    int rests = 0;
    float last = 0.0f;
    for (const StoredEvent& event : script.GetEvents()) {
        switch (event.type) {
        case StoredEvent::kFrame:
            ++frames;
            EXPECT_FLOAT_EQ(event.value, kRecordedStep);
            break;
        case StoredEvent::kJoyMoved:
            EXPECT_EQ(event.code, Joy::AxisY);
            ups += event.value == -100.0f ? 1 : 0;
            downs += event.value == 100.0f ? 1 : 0;
            last = event.value;
            rests += event.value == 0.0f ? 1 : 0;
            break;
        default: ADD_FAILURE() << "an event of type " << event.type;
        }
    }
    EXPECT_EQ(frames, static_cast<int>(kPodiumSeconds / kRecordedStep));
    EXPECT_GT(ups, 5);
    EXPECT_EQ(ups, downs);
    EXPECT_EQ(ups, rests);
    // The scene ends at rest.
    EXPECT_EQ(last, 0.0f);
}

TEST_F(PodiumScriptTest, the_champion_hops_on_its_step_and_the_others_stand) {
    const std::string creatures[] = {"data/players/plum.xml", "data/players/hooligan.xml", "data/players/bubbles.xml"};
    for (size_t count : {3u, 2u}) {
        SCOPED_TRACE(count);
        std::array<GameLayer::Place, 3> places;
        for (size_t i = 0; i < count; ++i) {
            places[i] = {creatures[i], GUIChampionshipPodium::kPlaces[i]};
        }
        GameLayer layer("scene");
        layer.Start(places, GUIChampionshipPodium::kLevel, GUIChampionshipPodium::kScript);
        ASSERT_NE(layer.GetGame(), nullptr);
        ASSERT_EQ(layer.GetGame()->GetCreatures().size(), count);
        const b2Vec2 rest = GUIChampionshipPodium::kPlaces[0];
        float highest = rest.y;
        float widest = 0.0f;
        float othersMoved = 0.0f;
        int airborne = 0;
        for (float time = 0.0f; time < kPodiumSeconds; time += 1.0f / 60.0f) {
            layer.Update(Application::GetInstance(), 1.0f / 60.0f);
            const b2Vec2 champion = layer.GetCreatureOfPlace(0)->m_Center;
            highest = std::min(highest, champion.y);
            widest = std::max(widest, std::fabs(champion.x - rest.x));
            airborne += champion.y < rest.y - 2.0f ? 1 : 0;
            for (size_t i = 1; i < count; ++i) {
                othersMoved = std::max(
                    othersMoved, (layer.GetCreatureOfPlace(i)->m_Center - GUIChampionshipPodium::kPlaces[i]).Length());
            }
        }
        // Each hop lifts it well clear of its step (half as wide as 9), and it stays above the step.
        EXPECT_LT(highest, rest.y - 4.0f);
        EXPECT_LT(widest, 4.5f);
        EXPECT_GT(airborne, 7 * 20);
        const b2Vec2 end = layer.GetCreatureOfPlace(0)->m_Center;
        EXPECT_LT(std::fabs(end.x - rest.x), 4.5f);
        EXPECT_LT(std::fabs(end.y - rest.y), 1.5f);
        EXPECT_LT(othersMoved, 1.0f);
    }
}

}  // namespace
