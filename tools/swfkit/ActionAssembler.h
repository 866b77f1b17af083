#pragma once

// A small assembler of ActionScript 1/2 byte code for the movies the kit writes (menu scripts,
// the interpreter's tests): short actions, typed pushes, labels with branch fix-ups, function
// definitions with their bodies, With blocks and the long records of movie control; assemble()
// reads the same from one line of text.

#include "tools/swfkit/BitWriter.h"

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace swfkit {

// Short action ids by their listing names.
// clang-format off
enum action_id : uint8_t {
    NEXT_FRAME = 0x04, PREV_FRAME = 0x05, PLAY = 0x06, STOP = 0x07, ADD = 0x0A, SUB = 0x0B, MUL = 0x0C, DIV = 0x0D,
    EQU = 0x0E, LT = 0x0F, AND = 0x10, OR = 0x11, NOT = 0x12, STR_EQ = 0x13, STR_LEN = 0x14, SUBSTR = 0x15,
    POP = 0x17, FLOOR = 0x18, GET_VAR = 0x1C, SET_VAR = 0x1D, SET_TARGET_EXP = 0x20, STR_CAT = 0x21, GET_PROP = 0x22,
    SET_PROP = 0x23, TRACE = 0x26, START_DRAG = 0x27, STR_LT = 0x29, CAST_OBJECT = 0x2B, RANDOM = 0x30, ORD = 0x32,
    CHR = 0x33, GET_TIMER = 0x34, DELETE = 0x3A, DELETE_ALL = 0x3B, SET_LOCAL = 0x3C, CALL_FUNC = 0x3D, RETURN = 0x3E,
    MOD = 0x3F, NEW = 0x40, DECL_LOCAL = 0x41, DECL_ARRAY = 0x42, DECL_OBJ = 0x43, TYPE_OF = 0x44, ENUMERATE = 0x46,
    ADD_T = 0x47, LT_T = 0x48, EQ_T = 0x49, NUMBER = 0x4A, STRING = 0x4B, DUP = 0x4C, SWAP = 0x4D, GET_MEMBER = 0x4E,
    SET_MEMBER = 0x4F, INC = 0x50, DEC = 0x51, CALL_METHOD = 0x52, NEW_METHOD = 0x53, IS_INST_OF = 0x54,
    ENUM_OBJECT = 0x55, BIT_AND = 0x60, BIT_OR = 0x61, BIT_XOR = 0x62, SHL = 0x63, ASR = 0x64, LSR = 0x65,
    EQ_STRICT = 0x66, GT_T = 0x67, GT_STR = 0x68, EXTENDS = 0x69,
};
// clang-format on

// One typed value of a Push record.
struct push_item {
    uint8_t type;
    Bytes data;
};

push_item str(const std::string& text);
push_item num(double value);  // type 6, the double with its words swapped
push_item i32(int32_t value);
inline push_item undef() {
    return {3, {}};
}
inline push_item reg(uint8_t number) {
    return {4, {number}};
}

class action_assembler {
public:
    // A short action (id below 0x80).
    action_assembler& op(uint8_t id);
    // A long record with its payload as given.
    action_assembler& record(uint8_t id, const Bytes& payload);
    action_assembler& push(const std::vector<push_item>& items);
    action_assembler& store_register(uint8_t number);

    // Branches to a label placed before or after them.
    action_assembler& label(const std::string& name);
    action_assembler& jump(const std::string& name);
    action_assembler& branch_if_true(const std::string& name);

    // DefineFunction and DefineFunction2 followed by the body; an empty name is anonymous.
    action_assembler& function(const std::string& name, const std::vector<std::string>& params,
                               const action_assembler& body);
    action_assembler& function2(const std::string& name, uint8_t register_count, uint16_t flags,
                                const std::vector<std::pair<uint8_t, std::string>>& params,
                                const action_assembler& body);
    // With on the object on the stack, followed by the block.
    action_assembler& with(const action_assembler& block_code);

    // Shorthands: push a value and trace it; set a variable to the value on top of the stack.
    action_assembler& trace(const push_item& value);
    action_assembler& set_var(const std::string& name, const std::vector<push_item>& value);

    // The code so far with its branches fixed; bytes() adds the end action.
    Bytes code() const;
    Bytes bytes() const;

private:
    // A record whose payload ends with the body's length, followed by the body.
    action_assembler& block(uint8_t id, Bytes payload, const action_assembler& body);

    struct fixup {
        size_t offset_at;  // where the s16 offset goes
        std::string label;
    };

    Bytes m_code;
    std::map<std::string, size_t> m_labels;
    std::vector<fixup> m_fixups;
};

// The code written as text, tokens apart by spaces (a quoted text may hold spaces):
//   'text' 2.5 -1 nan inf true false null undef r3 p1 P300 i:5 f:0.5   pushed values; neighbours share one Push
//   add get_var trace ...   short actions by their lower-case names     #45  any short action by its id
//   #9D:00,10 #8B:'child'   a long record: hex id, payload of hex bytes and NUL-ended texts
//   @top jump:top if:top    a label and branches to it                  store:3 pool:a,b
//   fn:name(a,b) { ... }   fn2:name:registers:flags(4:x,0:y) { ... }   with { ... }   (no name: anonymous)
// An unknown token throws.
action_assembler assemble(const std::string& text);

}  // namespace swfkit
