#include "tests/support/FileTail.h"

#include <fstream>
#include <sstream>

namespace testing_support {

FileTail::FileTail(std::filesystem::path path) : m_Path(std::move(path)) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(m_Path, error);
    m_Start = error ? 0 : size;
}

std::string FileTail::Text() const {
    std::ifstream in(m_Path, std::ios::binary);
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    // A file truncated since (a fresh log) is read from its start.
    const std::streamoff start =
        size >= static_cast<std::streamoff>(m_Start) ? static_cast<std::streamoff>(m_Start) : 0;
    in.seekg(start);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
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
