// Start-up code of every test program, fuzz target and benchmark: before any other code of the
// program runs, HOME and XDG_DATA_HOME point into a fresh folder of the process's own. The game's
// user folder, and with it the log that every start empties, is then never the player's own
// "~/.local/share/Pondorix", and test processes running side by side never write into each
// other's logs. Programs the process starts inherit the folder unless they are given another.
// The folder is removed, with everything in it, when the process that made it ends through exit.

#include <limits.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// Plain storage: an object with a destructor could be gone before RemoveFolder runs at exit.
char g_Folder[PATH_MAX];
pid_t g_Owner = 0;

void RemoveFolder() {
    // A child made by fork that ends through exit() comes here too; the folder is its parent's.
    if (getpid() == g_Owner) {
        std::error_code ignored;
        std::filesystem::remove_all(g_Folder, ignored);
    }
}

// Xlib finds the X server's cookies in $XAUTHORITY, else in $HOME/.Xauthority: the second must
// stay where it was, so that the tests still reach a desktop's own display.
void KeepXAuthority() {
    const char* home = std::getenv("HOME");
    if (!std::getenv("XAUTHORITY") && home && home[0] != '\0') {
        setenv("XAUTHORITY", (std::string(home) + "/.Xauthority").c_str(), 1);
    }
}

// Priority 101 is the first one open to programs: this runs before the static objects of every
// other file of the program, so nothing can log before the folder is set.
__attribute__((constructor(101))) void UsePrivateHome() {
    std::error_code error;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(error);
    const int length = std::snprintf(g_Folder, sizeof(g_Folder), "%s/pondorix-home-XXXXXX", temp.c_str());
    if (error || length < 0 || static_cast<size_t>(length) >= sizeof(g_Folder) || !mkdtemp(g_Folder)) {
        std::fputs("UsePrivateHome: no user folder of the process's own could be made in the temporary folder\n",
                   stderr);
        std::abort();
    }
    g_Owner = getpid();
    std::atexit(RemoveFolder);
    KeepXAuthority();
    setenv("HOME", g_Folder, 1);
    setenv("XDG_DATA_HOME", (std::string(g_Folder) + "/.local/share").c_str(), 1);
}

}  // namespace
