#include "tests/support/GameData.h"

#include <string>
#include <system_error>

namespace testing_support {

void CopyGameData(const std::filesystem::path& from, const std::filesystem::path& to) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(from)) {
        std::error_code error;
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file(error) || name.find(".gsc") != std::string::npos) {
            continue;
        }
        const std::filesystem::path target = to / std::filesystem::relative(entry.path(), from);
        std::filesystem::create_directories(target.parent_path(), error);
        std::filesystem::copy_file(entry.path(), target, error);
    }
}

}  // namespace testing_support
