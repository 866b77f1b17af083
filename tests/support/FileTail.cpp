#include "tests/support/FileTail.h"

#include "tests/support/TempDir.h"

namespace testing_support {

FileTail::FileTail(std::filesystem::path path) : m_Path(std::move(path)) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(m_Path, error);
    m_Start = error ? 0 : size;
}

std::string FileTail::Text() const {
    const std::string all = ReadFile(m_Path);
    // A file truncated since (a fresh log) is read from its start.
    return all.size() >= m_Start ? all.substr(m_Start) : all;
}

int FileTail::Count(const std::string& text) const {
    const std::string appended = Text();
    int count = 0;
    for (size_t at = appended.find(text); !text.empty() && at != std::string::npos;
         at = appended.find(text, at + text.size())) {
        ++count;
    }
    return count;
}

}  // namespace testing_support
