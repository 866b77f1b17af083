#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

namespace testing_support {

// What a player may put where the game keeps a file, other than a regular file.
enum class SpecialKind { Pipe, Socket, Folder, Device };

// Every kind, and its name for a test's messages ("pipe", "socket", "folder", "device").
const std::vector<SpecialKind>& SpecialKinds();
const char* NameOf(SpecialKind kind);
// What the game says of one of that kind where it wants a regular file: "Is a directory" for a
// folder, "not a regular file" for the others.
std::string RefusalOf(SpecialKind kind);

// Makes one of that kind at path: a FIFO; a Unix socket bound there; a folder holding one file;
// a character device node with the null device's numbers, in the test's own folder, so that a
// regression never touches the machine's own /dev/null. False, after a line on standard output
// that says the case is skipped and why, when it cannot be made (making a device needs a right
// that an ordinary user lacks).
bool MakeSpecial(SpecialKind kind, const std::filesystem::path& path);

// Runs the check once for each kind: made at the place itself, then made in the folder
// elsewhere under the place's name and reached through a link at the place. Both are emptied
// before each case. The check gets the kind, where it was made, and a line that names the case.
void ForEachSpecialPlace(
    const std::filesystem::path& place, const std::filesystem::path& elsewhere,
    const std::function<void(SpecialKind, const std::filesystem::path&, const std::string&)>& check);

// Runs the work in a bounded child (RunBounded, ten seconds and 256 MB) while what was made of
// the kind at made is watched, a pipe by a WaitingWriter: fails, saying why, when the work did not
// finish, when anything opened the pipe for reading, or when what is there changed.
testing::AssertionResult WorksWithoutTouching(SpecialKind kind, const std::filesystem::path& made,
                                              const std::function<void()>& work);

// What is at a path, following links, as far as a test can tell it changed: its type and
// permissions, its inode, the device a device node stands for, and what a folder holds.
struct FileIdentity {
    mode_t mode = 0;
    ino_t inode = 0;
    dev_t device = 0;
    std::vector<std::string> contents;
    bool operator==(const FileIdentity& other) const;
};
// As a failed expectation shows it: the type, permissions, inode and device in octal and decimal.
std::ostream& operator<<(std::ostream& out, const FileIdentity& identity);
// Nothing when nothing is there.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);
// The names in a folder, sorted.
std::vector<std::string> NamesIn(const std::filesystem::path& folder);

// A writer that waits to open a FIFO from the start: it gets through only when something opens
// the FIFO for reading, so whether it got through tells whether anything did. Made, it waits until
// the writer is inside its open; gone, it lets the writer through itself.
class WaitingWriter {
public:
    explicit WaitingWriter(std::filesystem::path fifo);
    ~WaitingWriter();
    WaitingWriter(const WaitingWriter&) = delete;
    WaitingWriter& operator=(const WaitingWriter&) = delete;

    // Whether the writer waits inside its open (false when it never got there in five seconds).
    bool IsWaiting() const;
    // Whether something opened the FIFO for reading and so let the writer through.
    bool WasLetThrough() const { return m_State->through; }

private:
    // What the writer's thread shares, kept while it runs, longer than the object if need be.
    struct State {
        std::filesystem::path fifo;
        std::atomic<bool> through{false};
        std::atomic<pid_t> thread{0};
        std::atomic<int> descriptor{-1};
    };

    std::shared_ptr<State> m_State;
    bool m_Waiting = false;
    std::thread m_Writer;
};

}  // namespace testing_support
