#include "tests/support/TempDir.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace testing_support {

TempDir::TempDir() : m_Path(std::filesystem::temp_directory_path() / "pondorix-test-XXXXXX") {
    std::string pattern = m_Path.string();
    if (!mkdtemp(pattern.data())) {
        throw std::runtime_error("TempDir: mkdtemp failed");
    }
    m_Path = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_Path, ignored);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path());
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : m_Name(name) {
    if (const char* old = std::getenv(name)) {
        m_OldValue = old;
    }
    setenv(name, value.c_str(), 1);
}

ScopedEnv::~ScopedEnv() {
    if (m_OldValue) {
        setenv(m_Name.c_str(), m_OldValue->c_str(), 1);
    } else {
        unsetenv(m_Name.c_str());
    }
}

}  // namespace testing_support
