#pragma once

#include <string>

namespace swfplayer {

class action_buffer;

// The listing of one ActionScript 1/2 action record for the verbose action log: the mnemonic
// padded to 15 columns, then the payload in the record's argument format, ending with a line
// end. Payload reads stop at the buffer's end; a NUL byte inside a string payload is written as
// the two characters \0 so that it cannot cut the log line short.
std::string disasm_record(const action_buffer& buffer, int pc);

// Writes disasm_record's text to the log, line by line.
void log_disasm(const action_buffer& buffer, int pc);

}  // namespace swfplayer
