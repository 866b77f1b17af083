#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/as3/abc_records.h"
#include "swfplayer/main/script/as_function.h"
#include "swfplayer/main/script/as_value.h"

#include <cstdint>
#include <vector>

namespace swfplayer {

class abc_def;
class abc_input;

// Reads a variable-length unsigned integer (1 to 5 bytes, 7 bits each, low group first, bit 7
// set when another byte follows) from code at pc into *result. Gives the number of bytes used,
// or 0 (result untouched) when the number runs past the end of the code.
int read_vu30(const std::vector<uint8_t>& code, int pc, uint32_t* result);

// One method of an ABC block: its signature, its body and the interpreter that runs the body.
// It is an ordinary function object, called like any other. Only a small set of opcodes runs
// (see as_3_function_execute.cpp); any other ends the method with a log line. The method holds
// its block weakly: the block owns the methods, and a method whose block is gone logs and
// returns undefined.
class as_3_function : public as_function {
public:
    // An optional parameter's default: a pool index and the kind that names the pool.
    struct option_detail {
        uint32_t m_value = 0;
        uint8_t m_kind = 0;
    };

    // Locals a body may declare; more reject the block.
    static constexpr uint32_t max_local_count = 65535;
    // Values the operand stack and the scope stack may hold; a method that piles up more ends.
    static constexpr int max_stack_size = 65536;

    // The function refers to itself as "this" object.
    as_3_function(abc_def* abc, int method, player* owner);

    // Gives the function its built-in member "prototype", a new empty object, unless it has had
    // one. The block does this when it first hands the function out to the movie, so a method
    // that no script can reach costs no prototype object.
    void add_prototype();

    bool is(int class_id) const override { return class_id == AS_3_FUNCTION || as_function::is(class_id); }
    // Runs the body with the call's "this" (see as_3_function.cpp for how it is found).
    void call(const fn_call& fn) override;

    // The method_info record and the body, from the block being read. False (the reason in in)
    // on a violated rule.
    bool read(abc_input* in);
    bool read_body(abc_input* in);
    bool has_body() const { return m_has_body; }

    // The interpreter loop: runs the code with the registers, the operand stack and the scope
    // stack of one call; a returnvoid sets *result to undefined, other endings leave it.
    void execute(std::vector<as_value>& registers, std::vector<as_value>& stack, std::vector<as_value>& scope,
                 as_value* result);

    // The block, or null once it is gone.
    abc_def* get_abc() const { return m_abc.get_ptr(); }

    // Fields, in the format's order.
    weak_ptr<abc_def> m_abc;
    int m_return_type = 0;
    std::vector<int> m_param_type;
    int m_name = 0;
    uint8_t m_flags = 0;
    std::vector<option_detail> m_options;
    int m_method = 0;
    int m_max_stack = 0;
    int m_local_count = 0;
    int m_init_scope_depth = 0;
    int m_max_scope_depth = 0;
    std::vector<uint8_t> m_code;
    std::vector<smart_ptr<except_info>> m_exception;
    trait_list m_trait;

private:
    // The method_info parts after the parameter types.
    bool read_options(abc_input* in, const abc_def& def);
    bool read_exceptions(abc_input* in);

    bool m_has_body = false;
    bool m_has_prototype = false;
};

}  // namespace swfplayer
