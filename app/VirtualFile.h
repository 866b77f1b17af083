#pragma once

#include <string>
#include <vector>

// Reading a whole file of the virtual file system (PhysFS) into memory.
struct VirtualFile {
    enum Status {
        Read,        // bytes holds the whole file
        Missing,     // no such file, or the file system is not started
        TooLarge,    // longer than the limit given, or of unknown length; nothing was read
        Unreadable,  // the file is there but could not be opened (no permission, a link that
                     // leads nowhere), or reading stopped short
        NotRegular,  // a device, a pipe, a socket or a folder, or a link to one: never opened
    };

    // Reads the file called name if it is at most maxBytes long. bytes holds the content only
    // when the status is Read; length is the file's length as the file system gave it (-1 when
    // unknown or missing).
    static VirtualFile Load(const std::string& name, long long maxBytes);
    // The absolute path on the disk of the file that the name finds: empty when there is none,
    // or when it lies inside an archive.
    static std::string RealPath(const std::string& name);
    // The file that the name finds as a log line names it for the player: its RealPath, or the
    // name itself when it has none.
    static std::string ShownPath(const std::string& name);
    // The names (without the folder) of what the folder holds, in the order the file system lists
    // them; empty when there is no such folder or the file system is not started.
    static std::vector<std::string> List(const std::string& folder);

    Status status = Missing;
    std::string bytes;
    long long length = -1;
};
