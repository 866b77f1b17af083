#pragma once

#include <cstdint>
#include <vector>

namespace swfplayer {

class abc_def;

// Lists every instruction of an AVM2 method body: ":\t" and the mnemonic go to standard output,
// the operands to the log, one line each ("\t\tmultiname: %s\n", "\t\toffset: %i\n", ...).
// def supplies the names of constants, multinames and methods; an index out of its pool prints
// "?". An unknown opcode logs ":\tunknown opcode 0x%02X\n" and takes one byte; an operand that
// runs past the code ends the listing. An empty body prints nothing. The opcode table is built on
// first use.
void log_disasm_avm2(const std::vector<uint8_t>& code, const abc_def* def);

// Forgets the opcode table (player clean-up); the next listing builds it again.
void clear_disasm();

// The number of opcodes the table knows (building it when needed).
int get_disasm_avm2_opcode_count();

}  // namespace swfplayer
