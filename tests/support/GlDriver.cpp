#include "tests/support/GlDriver.h"

#include <dlfcn.h>

#include <filesystem>

namespace testing_support {

std::string GlDriverPath() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator("/usr/lib", error)) {
        const std::filesystem::path driver = entry.path() / "dri/swrast_dri.so";
        if (std::filesystem::is_regular_file(driver, error)) {
            return driver.string();
        }
    }
    return {};
}

void KeepGlDriverLoaded() {
    const std::string driver = GlDriverPath();
    if (!driver.empty()) {
        dlopen(driver.c_str(), RTLD_NOW | RTLD_GLOBAL | RTLD_NODELETE);
    }
}

}  // namespace testing_support
