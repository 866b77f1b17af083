#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace testing_support {

// What a growing file (a log) gains from now on: remembers the file's length when made and
// reads only the bytes written after that.
class FileTail {
public:
    explicit FileTail(std::filesystem::path path);

    // The bytes appended since the object was made (all of a file that has shrunk since).
    std::string Text() const;
    // How many times the text occurs in what was appended.
    int Count(const std::string& text) const;

private:
    std::filesystem::path m_Path;
    std::uintmax_t m_Start;
};

}  // namespace testing_support
