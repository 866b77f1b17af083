#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace testing_support {

// A fresh, empty folder under the system's temporary folder, removed with everything in it when
// the object goes away.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_Path; }
    // The path of a file or folder inside this folder.
    std::filesystem::path operator/(const std::string& name) const { return m_Path / name; }

private:
    std::filesystem::path m_Path;
};

// Reads a whole file as bytes; an unreadable file gives the empty text.
std::string ReadFile(const std::filesystem::path& path);
// Writes bytes to a file, replacing it and creating its parent folders.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);

// Sets an environment variable for the lifetime of the object, then restores the old value.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_Name;
    std::optional<std::string> m_OldValue;
};

}  // namespace testing_support
