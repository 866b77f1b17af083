#include "platform/ReplacementFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace platform {

namespace {

// The folder that holds path ("." for a bare name).
std::string FolderOf(const std::string& path) {
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    return parent.empty() ? std::string(".") : parent.string();
}

// Flushes a folder's entries (a rename in it) to the disk.
bool SyncFolder(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool synced = fsync(fd) == 0;
    return close(fd) == 0 && synced;
}

}  // namespace

ReplacementFile::ReplacementFile(const std::string& targetPath) : m_TargetPath(targetPath) {
    std::error_code error;
    std::filesystem::create_directories(FolderOf(targetPath), error);
    std::vector<char> name(targetPath.begin(), targetPath.end());
    const char suffix[] = ".XXXXXX";
    name.insert(name.end(), suffix, suffix + sizeof(suffix));
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        Fail("create a temporary file for");
        return;
    }
    m_TempPath = name.data();
    // The new file gets the old one's permissions; a first version those of a new file.
    struct stat old {};
    const mode_t mode = stat(targetPath.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    fchmod(fd, mode);
    m_File = fdopen(fd, "w+b");
    if (m_File == nullptr) {
        Fail("open the temporary file of");
        close(fd);
        unlink(m_TempPath.c_str());
        m_TempPath.clear();
    }
}

ReplacementFile::~ReplacementFile() {
    Abandon();
}

bool ReplacementFile::Commit() {
    if (m_File == nullptr) {
        return Fail("write");
    }
    const bool written = std::ferror(m_File) == 0 && std::fflush(m_File) == 0;
    if (!written || fsync(fileno(m_File)) != 0) {
        Fail(written ? "sync" : "write");
        Abandon();
        return false;
    }
    const int closed = std::fclose(m_File);
    m_File = nullptr;
    if (closed != 0) {
        Fail("close");
        Abandon();
        return false;
    }
    if (rename(m_TempPath.c_str(), m_TargetPath.c_str()) != 0) {
        Fail("rename over");
        Abandon();
        return false;
    }
    m_TempPath.clear();
    if (!SyncFolder(FolderOf(m_TargetPath))) {
        // The new file is in place and complete; only its survival of a power cut is unsure.
        return Fail("sync the folder of");
    }
    return true;
}

void ReplacementFile::Abandon() {
    if (m_File != nullptr) {
        std::fclose(m_File);
        m_File = nullptr;
    }
    if (!m_TempPath.empty()) {
        unlink(m_TempPath.c_str());
        m_TempPath.clear();
    }
}

bool ReplacementFile::Fail(const char* step) {
    const int code = errno;
    if (m_Error.empty()) {
        m_Error = std::string("cannot ") + step + " " + m_TargetPath + ": " + std::strerror(code);
    }
    return false;
}

long StreamLength(std::FILE* file) {
    const long position = std::ftell(file);
    if (position < 0 || std::fseek(file, 0, SEEK_END) != 0) {
        return -1;
    }
    const long length = std::ftell(file);
    std::fseek(file, position, SEEK_SET);
    return length;
}

}  // namespace platform
