#include "platform/ReplacementFile.h"

#include "platform/ReadableFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace platform {

namespace {

// The most symbolic links followed to the file they lead to, as the system's own lookup does.
constexpr int kMaxLinks = 40;
// What a temporary file's name adds to the target's name, before the unique part: a mark that only
// this game writes, so that the clean-up of cut-short saves can never take a file of anyone
// else's, such as a player's "statistics.xml.backup" or "preferences.xml.old123".
constexpr char kTemporaryMark[] = ".pondorix-unsaved-";
// The letters or digits that mkostemp puts in place of the name's "XXXXXX".
constexpr size_t kUniqueLength = 6;

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

// Replaces path with the file the symbolic links at it lead to (a relative link from its own
// folder); the path itself when it is no link. False, with errno set, when a link cannot be read
// or the links go on past kMaxLinks.
bool FollowLinks(std::string& path) {
    for (int followed = 0; followed <= kMaxLinks; ++followed) {
        std::error_code error;
        if (!std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) {
            return true;
        }
        const std::filesystem::path target = std::filesystem::read_symlink(path, error);
        if (error) {
            errno = error.value();
            return false;
        }
        path = (target.is_absolute() ? target : std::filesystem::path(path).parent_path() / target).string();
    }
    errno = ELOOP;
    return false;
}

// Whether the name is the target's name with a temporary file's ending: the mark and
// kUniqueLength letters or digits.
bool IsTemporaryName(const std::string& name, const std::string& targetName) {
    const std::string prefix = targetName + kTemporaryMark;
    if (name.size() != prefix.size() + kUniqueLength || name.compare(0, prefix.size(), prefix) != 0) {
        return false;
    }
    return std::all_of(name.end() - kUniqueLength, name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
    });
}

// Removes the file when it is a regular file that no replacement holds locked. The lock is
// taken on the file opened, and the name must still be that file when it is removed.
bool RemoveUnheld(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat opened {};
    struct stat named {};
    const bool unheld = fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) && flock(fd, LOCK_EX | LOCK_NB) == 0 &&
                        lstat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev &&
                        named.st_ino == opened.st_ino;
    const bool removed = unheld && unlink(path.c_str()) == 0;
    close(fd);
    return removed;
}

}  // namespace

ReplacementFile::ReplacementFile(const std::string& targetPath, Links links) : m_TargetPath(targetPath) {
    if (links == Links::Follow && !FollowLinks(m_TargetPath)) {
        Fail("follow the links to");
        return;
    }
    if (!CanReplaceTarget()) {
        return;
    }
    std::error_code error;
    std::filesystem::create_directories(FolderOf(m_TargetPath), error);
    const std::string pattern = m_TargetPath + kTemporaryMark + std::string(kUniqueLength, 'X');
    std::vector<char> name(pattern.c_str(), pattern.c_str() + pattern.size() + 1);
    const int fd = mkostemp(name.data(), O_CLOEXEC);
    if (fd < 0) {
        Fail("create a temporary file for");
        return;
    }
    m_TempPath = name.data();
    // Nobody else can hold the new file yet; the lock lasts as long as the file is open.
    flock(fd, LOCK_EX | LOCK_NB);
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
    // The new file gets the old one's permissions; a first version those of a new file.
    struct stat old {};
    fchmod(fileno(m_File), stat(m_TargetPath.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
    if (!written || fsync(fileno(m_File)) != 0) {
        Fail(written ? "sync" : "write");
        Abandon();
        return false;
    }
    // A second descriptor keeps the lock through the rename: until then the file is a
    // temporary file that RemoveLeftovers must leave alone.
    const int lockHolder = dup(fileno(m_File));
    const bool closed = std::fclose(m_File) == 0;
    m_File = nullptr;
    // Looked at again just before the rename, since something else may have been put there while
    // the new version was written. A refusal sets the error first, so the failure below keeps it.
    const bool renamed = closed && CanReplaceTarget() && rename(m_TempPath.c_str(), m_TargetPath.c_str()) == 0;
    const int code = errno;
    if (lockHolder >= 0) {
        close(lockHolder);
    }
    if (!renamed) {
        errno = code;
        Fail(closed ? "rename over" : "close");
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

bool ReplacementFile::CanReplaceTarget() {
    const std::string reason = WhyNotRegularFile(m_TargetPath);
    return reason.empty() || Fail("replace", reason);
}

bool ReplacementFile::Fail(const char* step) {
    return Fail(step, std::strerror(errno));
}

bool ReplacementFile::Fail(const char* step, const std::string& reason) {
    if (m_Error.empty()) {
        m_Error = std::string("cannot ") + step + " " + m_TargetPath + ": " + reason;
    }
    return false;
}

int ReplacementFile::RemoveLeftovers(const std::string& targetPath, Links links) {
    std::string target = targetPath;
    if (links == Links::Follow && !FollowLinks(target)) {
        return 0;
    }
    const std::string folder = FolderOf(target);
    const std::string targetName = std::filesystem::path(target).filename().string();
    DIR* entries = opendir(folder.c_str());
    if (entries == nullptr) {
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = readdir(entries)) {
        if (IsTemporaryName(entry->d_name, targetName) &&
            RemoveUnheld((std::filesystem::path(folder) / entry->d_name).string())) {
            ++removed;
        }
    }
    closedir(entries);
    return removed;
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
