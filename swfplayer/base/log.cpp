#include "swfplayer/base/log.h"

#include <cstdarg>
#include <cstdio>

namespace swfplayer {

namespace {

// Messages are written as text, never as a format: names from movies may hold '%'.
void default_log_handler(bool is_error, const char* message) {
    std::fputs(message, is_error ? stderr : stdout);
}

log_callback s_log_callback = default_log_handler;
message_watch s_message_watch = nullptr;

void log_formatted(bool is_error, const char* format, va_list args) {
    if (s_log_callback == nullptr) {
        return;
    }
    if (s_message_watch != nullptr) {
        s_message_watch();
    }
    // A buffer per call, so a callback that logs again cannot overwrite the message it is given.
    char message[500];
    if (std::vsnprintf(message, sizeof(message), format, args) < 0) {
        message[0] = 0;
    }
    s_log_callback(is_error, message);
}

}  // namespace

log_callback register_log_callback(log_callback callback) {
    log_callback previous = s_log_callback;
    s_log_callback = callback;
    return previous;
}

void set_message_watch(message_watch watch) {
    s_message_watch = watch;
}

void log_msg(const char* format, ...) {
    va_list args;
    va_start(args, format);
    log_formatted(false, format, args);
    va_end(args);
}

void log_error(const char* format, ...) {
    va_list args;
    va_start(args, format);
    log_formatted(true, format, args);
    va_end(args);
}

void set_verbose_parse(bool on) {
    trace_switches::verbose_parse = on;
}

void set_verbose_action(bool on) {
    trace_switches::verbose_action = on;
}

bool get_verbose_debug() {
    return true;
}

}  // namespace swfplayer
