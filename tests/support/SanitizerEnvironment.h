#pragma once

#include "tests/support/AddressSanitizer.h"
#include "tests/support/GlDriver.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

// Extra environment for a program of the game that a test starts, in the sanitizer build: the GL
// driver is preloaded, so that it stays in memory to the end (see KeepGlDriverLoaded) and the
// leak check still covers our own code, and the leaks of the driver's own are suppressed
// (gl_driver_leaks.supp). The suppressions are read from a copy in the folder the program runs
// in, since a program run as another user (nobody) may not reach the source tree. Nothing in
// other builds.
inline std::vector<std::string> SanitizerEnvironment(const std::filesystem::path& folder) {
#if PONDORIX_ADDRESS_SANITIZER
    const std::string driver = GlDriverPath();
    if (!driver.empty()) {
        const std::filesystem::path suppressions = folder / "gl_driver_leaks.supp";
        std::filesystem::copy_file(PONDORIX_GL_DRIVER_LEAKS, suppressions,
                                   std::filesystem::copy_options::overwrite_existing);
        const char* options = std::getenv("ASAN_OPTIONS");
        const char* leakOptions = std::getenv("LSAN_OPTIONS");
        return {
            "LD_PRELOAD=" + driver,
            std::string("ASAN_OPTIONS=") + (options ? options : "") + ":verify_asan_link_order=0",
            std::string("LSAN_OPTIONS=") + (leakOptions ? leakOptions : "") + ":suppressions=" + suppressions.string()};
    }
#else
    (void)folder;
#endif
    return {};
}

}  // namespace testing_support
