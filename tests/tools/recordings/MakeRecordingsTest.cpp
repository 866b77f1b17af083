// make_recordings run as the build runs it, on a copy of the game folder of the test's own.
#include "gui/GUIChampionshipPodium.h"
#include "tests/game/window/MatchHarness.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/SanitizerEnvironment.h"
#include "tools/recordings/Recordings.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using MakeRecordingsTest = match_testing::GameFolder;

// Every recording is written anew, and the program ends with its audio device closed: the audio
// library has no device left open to complain about at exit.
TEST_F(MakeRecordingsTest, every_recording_is_written_and_the_audio_device_is_closed_at_the_end) {
    const std::filesystem::path folder = m_Temp / "game";
    std::vector<std::filesystem::path> recordings = {folder / GUIChampionshipPodium::kScript};
    for (const SceneRecording& recording : ShippedRecordings()) {
        recordings.push_back(folder / recording.file);
    }
    for (const std::filesystem::path& recording : recordings) {
        ASSERT_TRUE(std::filesystem::remove(recording)) << recording;
    }
    std::vector<std::string> environment = testing_support::SanitizerEnvironment(folder);
    environment.push_back("ALSOFT_DRIVERS=null");
    environment.push_back("XDG_DATA_HOME=" + (m_Temp / "home").string());
    const std::filesystem::path output = m_Temp / "output.txt";
    testing_support::ChildProcess run = testing_support::ChildProcess::Start(
        {MAKE_RECORDINGS_EXECUTABLE, folder.string()}, folder.string(), environment, output.string());
    ASSERT_TRUE(run.Started());
    // A bound for a program that hangs, not a measure of its speed.
    const std::optional<int> status = run.WaitFor(std::chrono::minutes(10));
    ASSERT_TRUE(status) << "make_recordings did not end";
    const std::string text = testing_support::ReadFile(output);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << text;
    EXPECT_EQ(text.find("AL lib: (EE)"), std::string::npos) << text;
    for (const std::filesystem::path& recording : recordings) {
        EXPECT_GT(std::filesystem::file_size(recording), 0u) << recording;
    }
}

}  // namespace
