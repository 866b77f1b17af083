// Writes one line at each log level, with the message given as the first argument, then ends
// normally so that the log writes its last line. The logger tests run it as a fresh process,
// since the log is built once per process.
#include "app/Log.h"

int main(int argc, char** argv) {
    log_debug("debug line %d", 1);
    log_info("info: %s", argc > 1 ? argv[1] : "");
    log_error("error %d", 42);
    return 0;
}
