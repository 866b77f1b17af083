// Logs a line, as the game's code does, then prints HOME, XDG_DATA_HOME, XAUTHORITY and the log
// file it wrote, one a line, and ends normally. The user folder tests run it as a fresh process,
// since the start-up code runs once per process.
#include "app/Log.h"
#include "app/Logger.h"

#include <cstdio>
#include <cstdlib>

namespace {

const char* Variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

int main() {
    log_info("StartupProbe: logging into the user folder");
    std::printf("%s\n%s\n%s\n%s\n", Variable("HOME"), Variable("XDG_DATA_HOME"), Variable("XAUTHORITY"),
                Logger::GetInstance().GetLogFile().c_str());
    return 0;
}
