#include "app/GameRandom.h"
#include "app/SoundManager.h"
#include "app/UserPreferences.h"
#include "tests/app/VirtualFolders.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileTail.h"
#include "tests/support/TextLines.h"
#include "tests/support/WaitUntil.h"

#include <SFML/Audio/OutputSoundFile.hpp>
#include <SFML/System/Err.hpp>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <set>
#include <sstream>

using testing_support::FileTail;
using testing_support::WriteFile;

namespace {

using CollisionType = SoundManagerData::CollisionType;

CollisionType Collision(std::string kind1, std::string kind2, std::string pattern, float min, float max, int first = 1,
                        int last = 1) {
    CollisionType t;
    std::tie(t.m_BodyType1, t.m_BodyType2, t.m_FileNamePattern, t.m_IndexMin, t.m_IndexMax, t.m_ImpulseMin,
             t.m_ImpulseMax) = std::tie(kind1, kind2, pattern, first, last, min, max);
    return t;
}

SoundManagerData Table(const std::vector<std::string>& kinds, const std::vector<CollisionType>& collisions) {
    SoundManagerData data;
    for (const std::string& name : kinds) {
        data.m_BodyTypes.emplace_back();
        data.m_BodyTypes.back().m_Name = name;
    }
    data.m_CollisionTypes = collisions;
    return data;
}

}  // namespace

// Sound files in a folder of their own, a fresh virtual file system for the table, a manager with a
// seeded random generator, and the log lines it writes.
class SoundManagerTest : public VirtualFolders {
protected:
    // Sound goes to OpenAL's null output when the test runs outside CTest too. One audio resource
    // for the whole run keeps the device open between tests: each manager's new listener position
    // then goes to a live device, not to the closed one that SFML remembers.
    static bool OpenDevice() {
        setenv("ALSOFT_DRIVERS", "null", 0);
        static const sf::SoundBuffer keepDeviceOpen;
        return true;
    }

    // Writes a mono WAV file of `frames` samples and returns its path. Each test file gets its
    // own length, so the buffer an effect plays tells which file it is.
    std::string Wav(const std::string& name, unsigned int frames) {
        const std::string path = (m_Temp / name).string();
        std::vector<sf::Int16> samples(frames, 1000);
        sf::OutputSoundFile file;
        EXPECT_TRUE(file.openFromFile(path, 8000, 1));
        file.write(samples.data(), samples.size());
        return path;
    }

    // Files base1.wav to base<count>.wav with 100 x n samples each; the pattern for them.
    std::string Series(const std::string& base, int count) {
        for (int i = 0; i <= count; ++i) {
            Wav(base + std::to_string(i) + ".wav", 100u * static_cast<unsigned int>(std::max(i, 1)));
        }
        return (m_Temp / (base + "%d.wav")).string();
    }

    // The number of samples of the effect's file (the file's name, as the files differ in length);
    // -1 for no effect.
    static long long Length(const sf::Sound* sound) {
        return sound ? static_cast<long long>(sound->getBuffer()->getSampleCount()) : -1;
    }

    // A stand-in address for a physics body: the manager uses bodies as keys only.
    const b2Body* Body(int number) const { return reinterpret_cast<const b2Body*>(&m_BodyAddresses[number]); }

    bool m_DeviceOpen = OpenDevice();
    GameRandom m_Random{12345};
    SoundManager manager{m_Random};
    FileTail m_Log{LogFile()};
    int m_BodyAddresses[4] = {};
};

// A contact sounds when its impulse exceeds the entry's minimum, at a volume that grows to 1 at
// the maximum and stays there. Equal, reversed or infinite bounds still give a volume from 0 to 1.
TEST_F(SoundManagerTest, the_impulse_picks_the_volume_within_the_entrys_range) {
    const float nan = std::nanf("");
    const struct {
        float min, max, impulse;
        float volume;  // negative: silent
    } rows[] = {{2, 10, 2, -1},      {2, 10, 1, -1},         {2, 10, nan, -1}, {2, 10, 2.01f, 0.00125f},
                {2, 10, 6, 0.5f},    {2, 10, 10, 1},         {2, 10, 500, 1},  {2, 10, INFINITY, 1},
                {3, 3, 3, -1},       {3, 3, 3.5f, 1},        {5, 1, 6, 1},     {0, INFINITY, INFINITY, 1},
                {0, INFINITY, 5, 0}, {-INFINITY, 1, 0.5f, 1}};
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "impulse " << row.impulse << " in " << row.min << " to " << row.max);
        manager.SetData(Table({"default"}, {Collision("default", "default", "x%d.wav", row.min, row.max)}));
        std::optional<CollisionChoice> choice = manager.ChooseCollision(Body(0), Body(1), row.impulse);
        ASSERT_EQ(choice.has_value(), row.volume >= 0);
        if (choice) {
            EXPECT_NEAR(choice->volume, row.volume, 1e-5f);
        }
    }
}

// Entries name two kinds in either order, and the first entry that fits the impulse wins. An
// entry naming an unknown kind is logged and matches nothing; an unknown kind for a body is
// logged and leaves its earlier kind. Bodies without a kind, and forgotten ones, are default ones.
TEST_F(SoundManagerTest, kinds_resolve_by_name_and_pairs_match_in_either_order) {
    manager.SetData(Table(
        {"default", "ball", "wood"},
        {Collision("ball", "wood", "hard%d.wav", 5.0f, 9.0f), Collision("wood", "ball", "soft%d.wav", 1.0f, 9.0f),
         Collision("ball", "glass", "x%d.wav", 0.0f, 9.0f), Collision("wood", "default", "wall%d.wav", 0.0f, 1.0f)}));
    EXPECT_EQ(m_Log.Count("SoundManager: unknown body type glass specified in xml data"), 1) << m_Log.Text();
    EXPECT_EQ(m_Log.Count("could not find default body type"), 0);
    manager.SetBodyType(Body(0), "ball");
    manager.SetBodyType(Body(1), "wood");
    for (auto [first, second] : {std::pair{0, 1}, std::pair{1, 0}}) {
        EXPECT_EQ(manager.ChooseCollision(Body(first), Body(second), 6.0f)->type->m_FileNamePattern, "hard%d.wav");
        // Too weak for the first entry, strong enough for the second.
        EXPECT_EQ(manager.ChooseCollision(Body(first), Body(second), 3.0f)->type->m_FileNamePattern, "soft%d.wav");
    }
    EXPECT_FALSE(manager.ChooseCollision(Body(0), Body(2), 0.5f)) << "a ball and a default body have no entry";

    manager.SetBodyType(Body(1), "glass");
    EXPECT_EQ(m_Log.Count("SoundManager: unknown body type glass specified\n"), 1) << m_Log.Text();
    EXPECT_TRUE(manager.ChooseCollision(Body(0), Body(1), 6.0f)) << "an unknown kind leaves the earlier one";
    manager.SetBodyType(Body(1), "ball");
    EXPECT_FALSE(manager.ChooseCollision(Body(0), Body(1), 6.0f)) << "two balls have no entry";

    manager.SetBodyType(Body(2), "wood");
    ASSERT_TRUE(manager.ChooseCollision(Body(2), Body(3), 0.5f)) << "a never registered body is a default one";
    manager.ForgetBody(Body(2));
    EXPECT_FALSE(manager.ChooseCollision(Body(2), Body(3), 0.5f)) << "a forgotten body is a default one again";
    manager.SetBodyType(Body(1), "wood");
    manager.SetBodyType(Body(2), "wood");
    manager.ForgetAllBodies();
    EXPECT_FALSE(manager.ChooseCollision(Body(1), Body(3), 0.5f));
    EXPECT_FALSE(manager.ChooseCollision(Body(2), Body(3), 0.5f));
}

// The table comes from "data/sounds.xml". A reload without the "default" kind drops the bodies
// registered with the old table and makes unregistered bodies silent: none of them takes another
// kind's place. A missing file keeps the table.
TEST_F(SoundManagerTest, load_reads_the_table_and_a_reload_without_default_leaves_nothing_dangling) {
    const std::string entries = R"(<array name="m_CollisionTypes">
          <collisiontype m_BodyType1="ball" m_BodyType2="default" m_FileNamePattern="bump%d.wav"
                         m_IndexMin="1" m_IndexMax="3" m_ImpulseMin="0.5" m_ImpulseMax="4" />
          <collisiontype m_BodyType1="ball" m_BodyType2="ball" m_FileNamePattern="x%d.wav"
                         m_IndexMin="1" m_IndexMax="1" m_ImpulseMin="0" m_ImpulseMax="1" />
        </array></soundmanager></resource>)";
    WriteFile(GameDir() / "data/sounds.xml", R"(<resource><soundmanager><array name="m_BodyTypes">
        <bodytype m_Name="default" /><bodytype m_Name="ball" /></array>)" +
                                                 entries);
    manager.Load();
    ASSERT_EQ(manager.GetData().m_BodyTypes.size(), 2u);
    ASSERT_EQ(manager.GetData().m_CollisionTypes.size(), 2u);
    const CollisionType& read = manager.GetData().m_CollisionTypes[0];
    EXPECT_EQ(read.m_FileNamePattern, "bump%d.wav");
    EXPECT_EQ(read.m_IndexMax, 3);
    EXPECT_FLOAT_EQ(read.m_ImpulseMin, 0.5f);
    manager.SetBodyType(Body(0), "ball");
    EXPECT_FLOAT_EQ(manager.ChooseCollision(Body(0), Body(1), 2.25f)->volume, 0.5f);

    WriteFile(GameDir() / "data/sounds.xml", R"(<resource><soundmanager><array name="m_BodyTypes">
        <bodytype m_Name="ball" /></array>)" + entries);
    manager.Load();
    EXPECT_EQ(m_Log.Count("SoundManager: could not find default body type"), 1) << m_Log.Text();
    EXPECT_EQ(m_Log.Count("unknown body type default specified in xml data"), 1);
    EXPECT_FALSE(manager.ChooseCollision(Body(0), Body(1), 0.5f));
    EXPECT_EQ(manager.PlayCollisionSound(Body(0), Body(1), 2.0f), nullptr);
    manager.SetBodyType(Body(0), "ball");
    EXPECT_FALSE(manager.ChooseCollision(Body(0), Body(1), 0.5f));
    EXPECT_FALSE(manager.ChooseCollision(Body(0), Body(1), 2.0f));
    EXPECT_EQ(manager.PlayCollisionSound(Body(2), Body(3), 0.5f), nullptr);

    std::filesystem::remove(GameDir() / "data/sounds.xml");
    manager.Load();
    EXPECT_EQ(manager.GetData().m_BodyTypes.size(), 1u);
}

TEST_F(SoundManagerTest, collision_sounds_play_only_files_of_the_range_at_the_impulse_volume) {
    const std::string pattern = Series("knock", 4);
    manager.SetData(Table({"default", "ball"}, {Collision("ball", "ball", pattern, 1.0f, 5.0f, 1, 3)}));
    manager.SetBodyType(Body(0), "ball");
    manager.SetBodyType(Body(1), "ball");

    std::set<long long> lengths;
    for (int i = 0; i < 60; ++i) {
        sf::Sound* sound = manager.PlayCollisionSound(Body(1), Body(0), 3.0f);
        ASSERT_NE(sound, nullptr);
        EXPECT_EQ(sound->getStatus(), sf::SoundSource::Playing);
        EXPECT_FLOAT_EQ(sound->getVolume(), 50.0f);
        EXPECT_FALSE(sound->getLoop());
        lengths.insert(Length(sound));
        sound->stop();
        manager.Update();
    }
    EXPECT_EQ(lengths, (std::set<long long>{100, 200, 300})) << "files 1 to 3, and only those";
    EXPECT_EQ(manager.GetSoundCount(), 0u);
}

TEST_F(SoundManagerTest, file_numbers_come_from_the_injected_generator) {
    const std::string pattern = Series("step", 5);
    auto draws = [&](uint32_t seed) {
        GameRandom random(seed);
        SoundManager manager(random);
        std::vector<long long> lengths;
        for (int i = 0; i < 12; ++i) {
            lengths.push_back(Length(manager.PlayRandom(pattern, 1, 5, 1.0f)));
        }
        return lengths;
    };
    EXPECT_EQ(draws(7), draws(7));
    EXPECT_NE(draws(7), draws(8));
}

TEST_F(SoundManagerTest, a_file_that_failed_to_load_is_tried_once_until_the_cache_is_cleared) {
    const std::string path = (m_Temp / "late.wav").string();
    EXPECT_EQ(Length(manager.PlaySound(path)), 0);
    EXPECT_EQ(Length(manager.PlaySound(path)), 0);
    EXPECT_EQ(m_Log.Count("PlaySound: failed loading sound file: " + path), 1) << m_Log.Text();

    // The file appears, but the failed load is not repeated: the effect stays silent.
    Wav("late.wav", 500);
    EXPECT_EQ(Length(manager.PlaySound(path)), 0);
    EXPECT_EQ(m_Log.Count("PlaySound: failed loading sound file"), 1);

    manager.Clear();
    EXPECT_EQ(manager.GetSoundCount(), 0u);
    EXPECT_EQ(Length(manager.PlaySound(path)), 500);
}

TEST_F(SoundManagerTest, update_releases_finished_and_unstarted_effects_and_keeps_playing_and_paused_ones) {
    const std::string shortFile = Wav("short.wav", 80);   // 10 ms
    const std::string longFile = Wav("long.wav", 80000);  // 10 s

    manager.PlaySound(longFile);  // never started
    sf::Sound* playing = manager.PlaySound(longFile);
    playing->play();
    sf::Sound* paused = manager.PlaySound(longFile);
    paused->play();
    paused->pause();
    sf::Sound* finishing = manager.PlaySound(shortFile);
    finishing->play();
    // Audio runs in real time.
    ASSERT_TRUE(testing_support::WaitUntil([&] { return finishing->getStatus() == sf::SoundSource::Stopped; },
                                           std::chrono::seconds(2), std::chrono::milliseconds(5)));
    EXPECT_EQ(manager.GetSoundCount(), 4u);

    manager.Update();
    EXPECT_EQ(manager.GetSoundCount(), 2u);
    EXPECT_EQ(playing->getStatus(), sf::SoundSource::Playing);
    EXPECT_EQ(paused->getStatus(), sf::SoundSource::Paused);

    // Released slots are taken again.
    manager.PlaySound(longFile)->play();
    manager.PlaySound(longFile)->play();
    EXPECT_EQ(manager.GetSoundCount(), 4u);
    manager.Clear();
    EXPECT_EQ(manager.GetSoundCount(), 0u);
}

// Good commands play at full volume and log nothing; malformed ones are logged and play nothing.
TEST_F(SoundManagerTest, commands_play_single_files_and_ranges_and_malformed_ones_are_logged) {
    const std::string pattern = Series("blip", 3);
    sf::Sound* sound = manager.ExecuteCommand("playsound " + Wav("ding.wav", 700));
    EXPECT_EQ(Length(sound), 700);
    EXPECT_EQ(sound->getStatus(), sf::SoundSource::Playing);
    EXPECT_FLOAT_EQ(sound->getVolume(), 100.0f);
    sound = manager.ExecuteCommand("playsound " + pattern + " [2-2]");
    EXPECT_EQ(Length(sound), 200);
    EXPECT_FLOAT_EQ(sound->getVolume(), 100.0f);
    EXPECT_EQ(m_Log.Text(), "") << "good commands log nothing";

    for (const std::string range : {"[a-b]", "[1_3]", "[1-]", "[-]", "[1 -3]", "[]", "[99999999999-1]"}) {
        EXPECT_EQ(manager.ExecuteCommand("playsound " + pattern + " " + range), nullptr) << range;
        EXPECT_EQ(m_Log.Count("SoundManager::ExecuteCommand: invalid range syntax: " + range), 1) << range;
    }
    EXPECT_EQ(manager.ExecuteCommand("playsound " + pattern + " [3-2]"), nullptr);
    EXPECT_EQ(m_Log.Count("SoundManager::PlayRandom: empty index range 3 to 2"), 1) << m_Log.Text();

    for (const std::string bare : {"playsound", "playsound   ", "", "stopsound x.wav"}) {
        EXPECT_EQ(manager.ExecuteCommand(bare), nullptr) << bare;
    }
    EXPECT_EQ(m_Log.Count("SoundManager::ExecuteCommand: no sound name in command"), 4) << m_Log.Text();

    // Conversions other than one integer are never formatted.
    EXPECT_EQ(manager.ExecuteCommand("playsound x%s%n.wav [1-3]"), nullptr);
    EXPECT_EQ(manager.ExecuteCommand("playsound x%d%d.wav [1-3]"), nullptr);
    EXPECT_EQ(m_Log.Count("SoundManager::PlayRandom: invalid file name pattern: x%s%n.wav"), 1) << m_Log.Text();
    // Without a range the name is a plain file name, "%" and all.
    EXPECT_EQ(Length(manager.ExecuteCommand("playsound x%s%n.wav")), 0);
    EXPECT_EQ(m_Log.Count("PlaySound: failed loading sound file: x%s%n.wav"), 1);
    EXPECT_EQ(manager.GetSoundCount(), 3u) << "only the silent literal file was made after the good ones";

    // Very long commands are handled and quoted briefly.
    m_Log = FileTail(LogFile());
    const std::string name(100000, 'a');
    // SFML reports the failed open with the whole name; keep it out of the test output.
    std::ostringstream sfmlErrors;
    std::streambuf* sfmlErr = sf::err().rdbuf(sfmlErrors.rdbuf());
    EXPECT_EQ(manager.ExecuteCommand("playsound " + name + "%d [1-x]"), nullptr);
    EXPECT_EQ(manager.ExecuteCommand("playsound " + name + " [1-3]"), nullptr);
    EXPECT_EQ(Length(manager.ExecuteCommand("playsound " + name)), 0);

    const std::string log = m_Log.Text();
    EXPECT_EQ(m_Log.Count("invalid range syntax: [1-x]"), 1);
    EXPECT_EQ(m_Log.Count("invalid file name pattern: aaaa"), 1);
    EXPECT_EQ(m_Log.Count("failed loading sound file: aaaa"), 1);
    EXPECT_LT(log.size(), 2000u) << "the log quotes a bounded part of each name";
    sf::err().rdbuf(sfmlErr);
}

// "playsound", white space, the name, and an optional "[first-last]" range of two ints.
TEST(SoundCommand, parsing_follows_the_word_and_range_rules) {
    const struct {
        const char* command;
        SoundCommand::Status status;
        const char* name;
        int first, last;
    } rows[] = {{"playsound data/hit%d.wav [1-5]", SoundCommand::Ranged, "data/hit%d.wav", 1, 5},
                {"playsound\tx.wav [-2--1]", SoundCommand::Ranged, "x.wav", -2, -1},
                {"playsound x [ +2- 3]", SoundCommand::Ranged, "x", 2, 3},
                {"playsound x [-2147483648-2147483647]", SoundCommand::Ranged, "x", INT_MIN, INT_MAX},
                {"playsound x.wav [1-5", SoundCommand::Single, "x.wav", 0, 0},  // no closing bracket
                {"playsound x [2147483647-2147483648]", SoundCommand::BadRange, nullptr, 0, 0},
                {"PLAYSOUND x.wav", SoundCommand::NoName, nullptr, 0, 0}};
    for (const auto& row : rows) {
        const SoundCommand c = SoundManager::ParseCommand(row.command);
        EXPECT_EQ(c.status, row.status) << row.command;
        if (row.name) {
            EXPECT_EQ(c.name, row.name) << row.command;
        }
        if (row.status == SoundCommand::Ranged) {
            EXPECT_EQ(c.first, row.first) << row.command;
            EXPECT_EQ(c.last, row.last) << row.command;
        }
    }
}

TEST(SoundFileName, one_integer_conversion_and_nothing_else) {
    const std::tuple<const char*, int, const char*> good[] = {
        {"hit%d.wav", 3, "hit3.wav"},      {"hit%i.wav", 12, "hit12.wav"},   {"hit%03d.wav", 7, "hit007.wav"},
        {"hit%03d.wav", -7, "hit-07.wav"}, {"hit%3d.wav", -7, "hit -7.wav"}, {"hit%2d.wav", 123, "hit123.wav"},
        {"100%%/%d", 1, "100%/1"},         {"%d", INT_MIN, "-2147483648"}};
    for (auto [pattern, index, name] : good) {
        EXPECT_EQ(SoundManager::FormatFileName(pattern, index), name) << pattern;
    }

    for (const char* bad : {"", "hit.wav", "%%d", "%d%d", "%s", "%n", "%s%n%d", "%ld", "%123d", "%", "x%", "%-3d",
                            "%.2d", "%x", "%5$d", "%*d"}) {
        EXPECT_FALSE(SoundManager::FormatFileName(bad, 1)) << bad;
    }
}

TEST_F(SoundManagerTest, music_streams_play_side_by_side_until_stopped_and_a_failed_open_is_reported) {
    EXPECT_FALSE(manager.PlayMusic((m_Temp / "missing.ogg").string()));
    EXPECT_EQ(m_Log.Count("PlayMusic: failed loading stream: "), 1);
    EXPECT_EQ(manager.GetMusicCount(), 0u);

    const std::string track = Wav("loop.wav", 8000);
    EXPECT_TRUE(manager.PlayMusic(track));
    // A volume preference that is not a number plays muted rather than failing.
    float& volume = UserPreferences::GetInstance().musicVolume;
    const float saved = volume;
    volume = std::nanf("");
    EXPECT_TRUE(manager.PlayMusic(track));
    volume = saved;
    EXPECT_EQ(manager.GetMusicCount(), 2u);

    // Music survives the effects' release.
    manager.Clear();
    EXPECT_EQ(manager.GetMusicCount(), 2u);
    manager.StopMusic();
    EXPECT_EQ(manager.GetMusicCount(), 0u);
}

// Where no audio device opens (OpenAL given a driver that does not exist, in a process of its
// own, as OpenAL reads its drivers once per process and the suite plays to the null output): a
// thousand update steps of effects, collision sounds, commands and music make no effect, no
// stream and no thread, while the table still chooses the collisions' effects. The log says once
// that the game runs without sound and why, and nothing but the helper's report reaches standard
// output or error.
TEST(SoundManagerWithoutDevice, nothing_plays_nothing_spins_and_the_log_says_so_once) {
    testing_support::TempDir folder;
    testing_support::ChildProcess child = testing_support::ChildProcess::Start(
        {SOUND_WITHOUT_DEVICE_EXECUTABLE, folder.Path().string()}, "",
        {"ALSOFT_DRIVERS=nonexistent", "XDG_DATA_HOME=" + (folder / "home").string()},
        (folder / "output.txt").string());
    const std::optional<int> status = child.WaitFor(std::chrono::seconds(60));
    const std::string output = testing_support::ReadFile(folder / "output.txt");
    ASSERT_LT(output.size(), 4000u) << output.substr(0, 4000);
    EXPECT_TRUE(status && WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << output;
    EXPECT_EQ(output, "effects 0\nmusic 0\nthreads added 0\ncollisions chosen 1000\n");

    const std::string log = testing_support::ReadFile(folder / "home/Pondorix/Pondorix.log");
    std::vector<std::string> errors;
    for (const std::string& line : testing_support::SplitLines(log)) {
        if (line.find(" ERROR: ") != std::string::npos) {
            errors.push_back(line.substr(line.find(" ERROR: ")));
        }
    }
    EXPECT_EQ(
        errors,
        std::vector<std::string>{" ERROR: SoundManager: the game runs without sound: OpenAL opened no audio device"})
        << log;
}
