#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

// Extra environment for a program of the game that a test starts, in the sanitizer build. Mesa
// unloads its GL driver when the window's display connection closes, before the leak check runs
// at exit, so the blocks that the driver's globals still reach would be reported as leaks of an
// unknown module. Preloading the driver keeps it in memory, so they stay reachable; the leak
// check still covers our own code. Nothing in other builds.
inline std::vector<std::string> SanitizerEnvironment() {
#if defined(__SANITIZE_ADDRESS__)
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/lib", error)) {
        std::filesystem::path driver = entry.path() / "dri/swrast_dri.so";
        if (std::filesystem::is_regular_file(driver, error)) {
            const char* options = std::getenv("ASAN_OPTIONS");
            return {"LD_PRELOAD=" + driver.string(),
                    std::string("ASAN_OPTIONS=") + (options ? options : "") + ":verify_asan_link_order=0"};
        }
    }
#endif
    return {};
}

}  // namespace testing_support
