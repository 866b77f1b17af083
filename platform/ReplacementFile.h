#pragma once

#include <cstdio>
#include <string>

namespace platform {

// A new version of a file, written beside the file it replaces and put in its place in one
// step, so that a crash or a power cut leaves either the old file or the new one, never a
// torn one. The new bytes go to a temporary file with a unique name in the target's folder,
// "<target>.pondorix-unsaved-XXXXXX" (a mark no player or other program writes, then six letters
// or digits; two running games never share one), locked while it is written so that
// RemoveLeftovers can tell it from one a killed game left. Commit flushes
// it to the disk, gives it the old file's permissions, renames it over the target and flushes
// the folder, so the rename itself survives a power cut. A replacement that is not committed,
// or whose commit fails, is removed and the old file stays. What is at the target and is not a
// regular file (a device, a pipe, a socket, a folder, or a link to one, such as a link to
// /dev/null that keeps a file from being saved) is never replaced: it is looked at, never
// opened, when the replacement is made and again just before the rename, and either refuses it.
class ReplacementFile {
public:
    // What a symbolic link at the target's path becomes: replaced by the new file (a cache must
    // never write where a planted link points), or followed, so that the file the links lead
    // to is replaced and they stay (a player's own files, which they may keep elsewhere).
    enum class Links { Replace, Follow };

    // Creates the target's parent folders and the temporary file; check IsOpen. Following
    // links, the target is the file they lead to (at most 40 of them). Not open, with the error
    // "cannot replace <target>: not a regular file" (or "Is a directory"), and nothing created,
    // when the target is there and is not a regular file.
    explicit ReplacementFile(const std::string& targetPath, Links links = Links::Replace);
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    bool IsOpen() const { return m_File != nullptr; }
    // The open temporary file, for writing (and reading back) the new content.
    std::FILE* GetFile() const { return m_File; }
    const std::string& GetTargetPath() const { return m_TargetPath; }
    // What went wrong, for the log; empty while nothing did.
    const std::string& GetError() const { return m_Error; }

    // Flushes, syncs and closes the temporary file, renames it over the target and syncs the
    // folder. False, with GetError set, when any step failed; the old file is then kept.
    bool Commit();
    // Closes and removes the temporary file; the old file is kept.
    void Abandon();

    // Removes the temporary files that cut-short replacements of the target left (a game
    // killed while it saved): regular files named "<target>.pondorix-unsaved-XXXXXX" in the
    // target's folder (following links, the folder of the file they lead to, where the saves
    // write) that no replacement holds open. Nothing without the mark is ever removed, however
    // like a temporary file its name looks. The number removed.
    static int RemoveLeftovers(const std::string& targetPath, Links links = Links::Replace);

private:
    // False, with the error set, when the target is there and is not a regular file.
    bool CanReplaceTarget();
    // Sets the error, unless one is set already, from errno or from the reason given; false.
    bool Fail(const char* step);
    bool Fail(const char* step, const std::string& reason);

    std::string m_TargetPath;
    std::string m_TempPath;
    std::FILE* m_File = nullptr;
    std::string m_Error;
};

// The length of an open stdio file, its position kept; -1 when it cannot be told.
long StreamLength(std::FILE* file);

}  // namespace platform
