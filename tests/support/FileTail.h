#pragma once

#include "tests/support/TempDir.h"

#include <cstdint>
#include <filesystem>
#include <string>

namespace testing_support {

// What a growing file (a log) gains from now on: remembers the file's length when made and
// reads only the bytes written after that.
class FileTail {
public:
    explicit FileTail(std::filesystem::path path) : m_Path(std::move(path)) {
        std::error_code error;
        const std::uintmax_t size = std::filesystem::file_size(m_Path, error);
        m_Start = error ? 0 : size;
    }

    // The bytes appended since the object was made (all of a file that has shrunk since).
    std::string Text() const {
        const std::string all = ReadFile(m_Path);
        return all.size() >= m_Start ? all.substr(m_Start) : all;
    }
    // How many times the text occurs in what was appended.
    int Count(const std::string& text) const {
        const std::string appended = Text();
        int count = 0;
        for (size_t at = appended.find(text); !text.empty() && at != std::string::npos;
             at = appended.find(text, at + text.size())) {
            ++count;
        }
        return count;
    }

private:
    std::filesystem::path m_Path;
    std::uintmax_t m_Start;
};

}  // namespace testing_support
