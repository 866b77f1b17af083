// Asks a sound manager for effects, collision sounds, "playsound" commands and music for many
// update steps, as the game does, and prints what it got, one line each on standard output:
//   "effects <n>"           the effects the calls returned;
//   "music <n>"             the music streams that started;
//   "threads added <n>"     the most threads the process had beyond those it began with;
//   "collisions chosen <n>" the contacts the sound table chose an effect for.
// Its argument is a folder for the sound files it writes. The sound manager tests run it as a
// fresh process with OpenAL given a driver that does not exist, since OpenAL reads its drivers
// once per process.
#include "app/GameRandom.h"
#include "app/SoundManager.h"

#include <SFML/Audio/OutputSoundFile.hpp>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kSteps = 1000;
// Music starts anew after this many steps.
constexpr int kMusicSteps = 100;

// Writes a mono WAV file of the given length and returns its path.
std::string Wav(const std::filesystem::path& path, unsigned int frames) {
    std::vector<sf::Int16> samples(frames, 1000);
    sf::OutputSoundFile file;
    if (file.openFromFile(path.string(), 8000, 1)) {
        file.write(samples.data(), samples.size());
    }
    return path.string();
}

long ThreadCount() {
    return std::distance(std::filesystem::directory_iterator("/proc/self/task"), std::filesystem::directory_iterator());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: sound_without_device <folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const std::string effect = Wav(folder / "ding.wav", 800);
    for (int i = 1; i <= 3; ++i) {
        Wav(folder / ("knock" + std::to_string(i) + ".wav"), 400u * static_cast<unsigned int>(i));
    }
    const std::string series = (folder / "knock%d.wav").string();
    const std::string music = Wav(folder / "loop.wav", 8000);
    const long threadsBefore = ThreadCount();

    GameRandom random(1);
    SoundManager manager(random);
    SoundManagerData table;
    table.m_BodyTypes.resize(2);
    table.m_BodyTypes[0].m_Name = "default";
    table.m_BodyTypes[1].m_Name = "ball";
    table.m_CollisionTypes.resize(1);
    SoundManagerData::CollisionType& collision = table.m_CollisionTypes[0];
    collision.m_BodyType1 = "ball";
    collision.m_BodyType2 = "default";
    collision.m_FileNamePattern = series;
    collision.m_IndexMin = 1;
    collision.m_IndexMax = 3;
    collision.m_ImpulseMax = 10.0f;
    manager.SetData(table);
    // Bodies are only keys to the manager.
    const int bodies[2] = {};
    const auto* ball = reinterpret_cast<const b2Body*>(&bodies[0]);
    const auto* wall = reinterpret_cast<const b2Body*>(&bodies[1]);
    manager.SetBodyType(ball, "ball");

    int effects = 0;
    int musics = 0;
    int chosen = 0;
    long threadsAdded = 0;
    for (int step = 0; step < kSteps; ++step) {
        effects += manager.PlaySound(effect) != nullptr ? 1 : 0;
        effects += manager.PlayRandom(series, 1, 3, 0.5f) != nullptr ? 1 : 0;
        effects += manager.PlayCollisionSound(wall, ball, 5.0f) != nullptr ? 1 : 0;
        effects += manager.ExecuteCommand("playsound " + effect) != nullptr ? 1 : 0;
        effects += manager.ExecuteCommand("playsound " + series + " [1-3]") != nullptr ? 1 : 0;
        chosen += manager.ChooseCollision(ball, wall, 5.0f) ? 1 : 0;
        if (step % kMusicSteps == 0) {
            manager.StopMusic();
            musics += manager.PlayMusic(music) ? 1 : 0;
        }
        threadsAdded = std::max(threadsAdded, ThreadCount() - threadsBefore);
        manager.Update();
    }
    manager.StopMusic();
    manager.Clear();
    std::printf("effects %d\nmusic %d\nthreads added %ld\ncollisions chosen %d\n", effects, musics, threadsAdded,
                chosen);
    return 0;
}
