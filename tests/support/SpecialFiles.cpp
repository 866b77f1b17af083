#include "tests/support/SpecialFiles.h"

#include "tests/support/BoundedRun.h"
#include "tests/support/TempDir.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <iostream>
#include <sstream>
#include <system_error>

namespace testing_support {

namespace {

std::string SystemReason(const char* step) {
    return std::string(step) + ": " + std::generic_category().message(errno);
}

// Binds a Unix socket at a path short enough for a socket's address.
std::string BindSocketAt(const std::string& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) {
        return "the socket's path is too long";
    }
    std::strcpy(address.sun_path, path.c_str());
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) {
        return SystemReason("socket");
    }
    // The socket's node stays once its descriptor is closed, as a program that died leaves it.
    const bool bound = bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    const std::string why = bound ? std::string() : SystemReason("bind");
    close(fd);
    return why;
}

// A socket at a path of any length: one too long for a socket's address is bound in a short
// folder of its own and moved there.
std::string BindSocket(const std::filesystem::path& path) {
    if (path.string().size() < sizeof(sockaddr_un::sun_path)) {
        return BindSocketAt(path.string());
    }
    std::string folder = "/tmp/pondorix-socket-XXXXXX";
    if (mkdtemp(folder.data()) == nullptr) {
        return SystemReason("mkdtemp");
    }
    const std::string bound = folder + "/s";
    std::string why = BindSocketAt(bound);
    if (why.empty() && rename(bound.c_str(), path.c_str()) != 0) {
        why = SystemReason("rename");
    }
    unlink(bound.c_str());
    rmdir(folder.c_str());
    return why;
}

// Whether the thread's system call of the moment opens a file.
bool IsOpening(pid_t thread) {
    const std::string call = ReadFile("/proc/self/task/" + std::to_string(thread) + "/syscall");
    const std::string number = call.substr(0, call.find(' '));
    return number == std::to_string(SYS_openat) || number == std::to_string(SYS_open);
}

// A folder holding one file, whose content shows whether it was kept.
std::string MakeFolder(const std::filesystem::path& path) {
    WriteFile(path / "inside.xml", "<resource/>");
    return std::string();
}

// Why one of that kind cannot be made at path; empty once it is made.
std::string WhyNotMade(SpecialKind kind, const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    switch (kind) {
    case SpecialKind::Pipe: return mkfifo(path.c_str(), 0644) == 0 ? std::string() : SystemReason("mkfifo");
    case SpecialKind::Socket: return BindSocket(path);
    case SpecialKind::Folder: return MakeFolder(path);
    case SpecialKind::Device:
        return mknod(path.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0 ? std::string() : SystemReason("mknod");
    }
    return "no such kind";
}

// What is at a path, or "nothing", for a failure's message.
std::string Shown(const std::optional<FileIdentity>& identity) {
    std::ostringstream text;
    if (identity) {
        text << *identity;
    } else {
        text << "nothing";
    }
    return text.str();
}

}  // namespace

const std::vector<SpecialKind>& SpecialKinds() {
    static const std::vector<SpecialKind> kinds = {SpecialKind::Pipe, SpecialKind::Socket, SpecialKind::Folder,
                                                   SpecialKind::Device};
    return kinds;
}

const char* NameOf(SpecialKind kind) {
    switch (kind) {
    case SpecialKind::Pipe: return "pipe";
    case SpecialKind::Socket: return "socket";
    case SpecialKind::Folder: return "folder";
    case SpecialKind::Device: return "device";
    }
    return "?";
}

std::string RefusalOf(SpecialKind kind) {
    return kind == SpecialKind::Folder ? std::generic_category().message(EISDIR) : "not a regular file";
}

bool MakeSpecial(SpecialKind kind, const std::filesystem::path& path) {
    const std::string why = WhyNotMade(kind, path);
    if (!why.empty()) {
        std::cout << "skipped the case of a " << NameOf(kind) << ": it cannot be made here (" << why << ")\n";
    }
    return why.empty();
}

void ForEachSpecialPlace(
    const std::filesystem::path& place, const std::filesystem::path& elsewhere,
    const std::function<void(SpecialKind, const std::filesystem::path&, const std::string&)>& check) {
    for (SpecialKind kind : SpecialKinds()) {
        for (const bool linked : {false, true}) {
            std::filesystem::remove_all(place);
            std::filesystem::remove_all(elsewhere);
            const std::filesystem::path made = linked ? elsewhere / place.filename() : place;
            if (!MakeSpecial(kind, made)) {
                continue;
            }
            if (linked) {
                std::filesystem::create_symlink(made, place);
            }
            check(kind, made, std::string("a ") + NameOf(kind) + (linked ? " behind a link" : ""));
        }
    }
}

testing::AssertionResult WorksWithoutTouching(SpecialKind kind, const std::filesystem::path& made,
                                              const std::function<void()>& work) {
    std::optional<WaitingWriter> writer;
    if (kind == SpecialKind::Pipe && !writer.emplace(made).IsWaiting()) {
        return testing::AssertionFailure() << "no writer waits on the pipe " << made;
    }
    const std::optional<FileIdentity> before = IdentityOf(made);
    const BoundedRun run = RunBounded(work, std::chrono::seconds(10), 256 * 1024 * 1024);
    const std::optional<FileIdentity> after = IdentityOf(made);
    if (!run.finished) {
        return testing::AssertionFailure() << "the work " << run.Describe();
    }
    if (writer && writer->WasLetThrough()) {
        return testing::AssertionFailure() << "something opened the pipe " << made << " for reading";
    }
    if (after != before) {
        return testing::AssertionFailure() << made << " changed: " << Shown(before) << " became " << Shown(after);
    }
    return testing::AssertionSuccess();
}

bool FileIdentity::operator==(const FileIdentity& other) const {
    return mode == other.mode && inode == other.inode && device == other.device && contents == other.contents;
}

std::ostream& operator<<(std::ostream& out, const FileIdentity& identity) {
    out << "mode 0" << std::oct << identity.mode << std::dec << ", inode " << identity.inode << ", device "
        << major(identity.device) << ":" << minor(identity.device);
    for (const std::string& entry : identity.contents) {
        out << ", holding " << entry;
    }
    return out;
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    FileIdentity identity;
    identity.mode = info.st_mode;
    identity.inode = info.st_ino;
    identity.device = info.st_rdev;
    if (S_ISDIR(info.st_mode)) {
        identity.contents = NamesIn(path);
        for (std::string& name : identity.contents) {
            name += "=" + ReadFile(path / name);
        }
    }
    return identity;
}

std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

WaitingWriter::WaitingWriter(std::filesystem::path fifo) : m_State(std::make_shared<State>()) {
    m_State->fifo = std::move(fifo);
    m_Writer = std::thread([state = m_State] {
        state->thread = static_cast<pid_t>(syscall(SYS_gettid));
        state->descriptor = open(state->fifo.c_str(), O_WRONLY | O_CLOEXEC);
        state->through = true;
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!m_State->through && std::chrono::steady_clock::now() < deadline) {
        if (m_State->thread != 0 && IsOpening(m_State->thread)) {
            m_Waiting = true;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
}

WaitingWriter::~WaitingWriter() {
    // A reader of its own lets a writer that still waits through; when the FIFO cannot be opened
    // any more (it is gone), the writer is left waiting until the process ends.
    const int reader = m_State->through ? -1 : open(m_State->fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_State->through || reader >= 0) {
        m_Writer.join();
        if (m_State->descriptor >= 0) {
            close(m_State->descriptor);
        }
    } else {
        m_Writer.detach();
    }
    if (reader >= 0) {
        close(reader);
    }
}

bool WaitingWriter::IsWaiting() const {
    return m_Waiting && !m_State->through;
}

}  // namespace testing_support
