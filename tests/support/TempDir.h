#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

namespace testing_support {

// A fresh, empty folder under the system's temporary folder, removed with everything in it when
// the object goes away.
class TempDir {
public:
    TempDir() : m_Path(std::filesystem::temp_directory_path() / "pondorix-test-XXXXXX") {
        std::string pattern = m_Path.string();
        if (!mkdtemp(pattern.data())) {
            throw std::runtime_error("TempDir: mkdtemp failed");
        }
        m_Path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(m_Path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_Path; }
    // The path of a file or folder inside this folder.
    std::filesystem::path operator/(const std::string& name) const { return m_Path / name; }

private:
    std::filesystem::path m_Path;
};

// Reads a whole file as bytes; an unreadable file gives the empty text.
inline std::string ReadFile(const std::filesystem::path& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

// Writes bytes to a file, replacing it and creating its parent folders.
inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path());
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Sets an environment variable for the lifetime of the object, then restores the old value.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : m_Name(name) {
        if (const char* old = std::getenv(name)) {
            m_OldValue = old;
        }
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (m_OldValue) {
            setenv(m_Name.c_str(), m_OldValue->c_str(), 1);
        } else {
            unsetenv(m_Name.c_str());
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_Name;
    std::optional<std::string> m_OldValue;
};

}  // namespace testing_support
