// Reads arbitrary bytes as a championship level-set file beside a well-formed one: the level-set
// screen reads the folder and the sets' previews, browses both ways, shows the selection and
// starts a championship of two players on the selected set, whose every match must have a level.
#include "app/Application.h"
#include "fuzz/MountedFolder.h"
#include "gui/GUIChampionshipLevelSelection.h"
#include "gui/GUIDirector.h"
#include "tests/support/GlDriver.h"

#include <SFML/Graphics/RenderTexture.hpp>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

void Write(const std::filesystem::path& path, const void* data, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// The fuzz run's level-set folder, holding one well-formed set of two levels.
const std::filesystem::path& Folder() {
    static const std::filesystem::path folder = [] {
        const std::filesystem::path sets = fuzz_support::MountedFolder() / "data/levelsets";
        std::filesystem::create_directories(sets);
        const std::string good =
            "<resource><levelset screenshot=\"\" name=\"data\"><array name=\"levels\"><element value=\"a.xml\"/>"
            "<element value=\"b.xml\"/></array></levelset></resource>";
        Write(sets / "good.xml", good.data(), good.size());
        return sets;
    }();
    return folder;
}

}  // namespace

// The application's window opens an OpenGL context; its driver stays loaded, so the leak check
// can tell the driver's own blocks, a few of which it never frees, from what the screens leak.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:swrast_dri.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool kept = (testing_support::KeepGlDriverLoaded(), true);
    (void)kept;
    Write(Folder() / "fuzzed.xml", data, size);
    static GUIDirector director;
    Application& application = Application::GetInstance();
    GUIChampionshipLevelSelection screen(director);
    screen.Load("none.xml");
    if (screen.GetLevelSets().size() != 2) {
        std::abort();
    }
    sf::RenderTexture target;
    target.create(8, 8);
    for (const char* command : {"Left", "Right", "Right"}) {
        screen.OnFSCommand(command);
        screen.Update(application, 0.05f);
        screen.Render(target, sf::RenderStates::Default);
    }
    MatchSetup& setup = application.matchSetup;
    setup = MatchSetup();
    setup.mode = MatchSetup::Championship;
    setup.players = {"p1.xml", "p2.xml"};
    screen.OnFSCommand("Start");
    for (const MatchRecord& match : setup.matches) {
        if (match.levelFile.empty()) {
            std::abort();
        }
    }
    return 0;
}
