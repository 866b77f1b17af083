#pragma once

namespace swfplayer {

// Receives every message of the player's log: is_error tells log_error's messages from
// log_msg's. The message is finished text (never a format) and carries its own line end.
typedef void (*log_callback)(bool is_error, const char* message);

// Replaces the output callback and returns the one it replaces; null silences log_msg and
// log_error. The default callback writes messages to standard output and errors to standard
// error, unchanged.
log_callback register_log_callback(log_callback callback);

// A function told of every message logged (before it is written); null for none. The script
// engines watch while scripts run, to charge what writing their messages costs.
typedef void (*message_watch)();
void set_message_watch(message_watch watch);

// printf-style messages and errors of the player, cut to 499 bytes.
void log_msg(const char* format, ...) __attribute__((format(printf, 1, 2)));
void log_error(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Trace switches, off at start: loaders trace what they read (parse), the script interpreter
// traces its actions (action). Loaders ask for every field they read, so the getters are inline.
namespace trace_switches {
inline bool verbose_parse = false;
inline bool verbose_action = false;
}  // namespace trace_switches
inline bool get_verbose_parse() {
    return trace_switches::verbose_parse;
}
void set_verbose_parse(bool on);
inline bool get_verbose_action() {
    return trace_switches::verbose_action;
}
void set_verbose_action(bool on);
// On at start; nothing reads or changes it.
bool get_verbose_debug();

}  // namespace swfplayer
