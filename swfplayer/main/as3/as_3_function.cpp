#include "swfplayer/main/as3/as_3_function.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/as3/abc_def.h"
#include "swfplayer/main/as3/abc_disasm.h"
#include "swfplayer/main/as3/abc_input.h"
#include "swfplayer/main/script/as_environment.h"
#include "swfplayer/main/script/fn_call.h"
#include "swfplayer/main/script/instruction_budget.h"
#include "swfplayer/main/script/player.h"

#include <algorithm>

namespace swfplayer {

namespace {

constexpr uint8_t has_optional_flag = 0x08;
constexpr uint8_t has_param_names_flag = 0x80;
// Registers a body can reach: only getlocal_0 to getlocal_3 run, so more cost nothing.
constexpr int reachable_registers = 4;

// The environment a call runs in: the call's own, or the one of a "this" that has its own.
as_environment* call_environment(const fn_call& fn) {
    as_environment* env = fn.env;
    if (fn.this_ptr && fn.this_ptr->get_environment()) {
        env = fn.this_ptr->get_environment();
    }
    return env;
}

// "this" of a call: the environment's target, replaced by the call's "this" object and then by
// that object's own this reference when it has one.
as_object* call_this(const fn_call& fn, as_environment* env) {
    as_object* this_ptr = env->get_target();
    if (fn.this_ptr) {
        this_ptr = fn.this_ptr;
        if (as_object* own = this_ptr->get_this_ptr()) {
            this_ptr = own;
        }
    }
    return this_ptr;
}

}  // namespace

as_3_function::as_3_function(abc_def* abc, int method, player* owner)
    : as_function(owner), m_abc(abc), m_method(method) {
    set_this_ptr(this);
}

void as_3_function::add_prototype() {
    if (!m_has_prototype) {
        m_has_prototype = true;
        builtin_member("prototype", as_value(new as_object(get_player())));
    }
}

bool as_3_function::read(abc_input* in) {
    const abc_def& def = *get_abc();
    uint32_t param_count = in->read_vu32();
    uint32_t return_type = in->read_vu32();
    m_return_type = static_cast<int>(return_type);
    if (!in->check_index(return_type, def.m_multiname.size(), "return type of method", m_method) ||
        !in->check_count(param_count, 1, sizeof(int), "parameter")) {
        return false;
    }
    m_param_type.resize(param_count);
    for (uint32_t i = 0; i < param_count && in->ok(); i++) {
        m_param_type[i] = static_cast<int>(in->read_vu32());
        in->check_index(m_param_type[i], def.m_multiname.size(), "parameter type of method", m_method);
    }
    uint32_t name = in->read_vu32();
    m_name = static_cast<int>(name);
    m_flags = in->read_u8();
    if (!in->check_index(name, def.m_string.size(), "name of method", m_method)) {
        return false;
    }
    if (get_verbose_parse()) {
        log_msg("method_info: name='%s', type='%s', params=%d\n", def.find_string(name)->c_str(),
                def.get_multiname_name(return_type).c_str(), static_cast<int>(param_count));
    }
    if (m_flags & has_param_names_flag) {
        return in->fail("method %d: parameter names are not supported", m_method);
    }
    return (m_flags & has_optional_flag) == 0 || read_options(in, def);
}

bool as_3_function::read_options(abc_input* in, const abc_def& def) {
    uint32_t count = in->read_vu32();
    if (!in->check_count(count, 2, sizeof(option_detail), "optional parameter")) {
        return false;
    }
    m_options.resize(count);
    for (uint32_t i = 0; i < count && in->ok(); i++) {
        m_options[i].m_value = in->read_vu32();
        m_options[i].m_kind = in->read_u8();
        def.check_value(in, m_options[i].m_value, m_options[i].m_kind, "optional value of method", m_method);
    }
    return in->ok();
}

bool as_3_function::read_body(abc_input* in) {
    bool verbose = get_verbose_parse();
    if (verbose) {
        log_msg("body_info[%d]\n", m_method);
    }
    m_has_body = true;
    m_max_stack = static_cast<int>(in->read_vu32());
    uint32_t local_count = in->read_vu32();
    if (local_count > max_local_count) {
        return in->fail("method %d: %u locals, more than %u", m_method, local_count, max_local_count);
    }
    m_local_count = static_cast<int>(local_count);
    m_init_scope_depth = static_cast<int>(in->read_vu32());
    m_max_scope_depth = static_cast<int>(in->read_vu32());
    in->read_bytes(in->read_vu32(), &m_code);
    if (!read_exceptions(in) || !read_traits(in, *get_abc(), static_cast<int>(get_abc()->m_class.size()), &m_trait)) {
        return false;
    }
    if (verbose) {
        log_msg("method\t%i\n", m_method);
        log_disasm_avm2(m_code, get_abc());
    }
    return true;
}

bool as_3_function::read_exceptions(abc_input* in) {
    const abc_def& def = *get_abc();
    uint32_t count = in->read_vu32();
    if (!in->check_count(count, 5, abc_input::held_record_bytes<except_info>, "exception")) {
        return false;
    }
    uint32_t code_length = static_cast<uint32_t>(m_code.size());
    m_exception.reserve(count);
    for (uint32_t i = 0; i < count && in->ok(); i++) {
        smart_ptr<except_info> handler = new except_info();
        handler->read(in);
        if (in->ok() &&
            (handler->m_from > handler->m_to || handler->m_to > code_length || handler->m_target >= code_length)) {
            return in->fail("method %d: exception %u covers %u..%u with target %u in %u bytes of code", m_method, i,
                            handler->m_from, handler->m_to, handler->m_target, code_length);
        }
        in->check_index(handler->m_exc_type, def.m_multiname.size(), "exception type of method", m_method);
        in->check_index(handler->m_var_name, def.m_multiname.size(), "exception variable of method", m_method);
        m_exception.push_back(handler);
    }
    return in->ok();
}

void as_3_function::call(const fn_call& fn) {
    smart_ptr<as_3_function> keep = get_ref_count() > 0 ? this : nullptr;
    // The block stays for the whole call: the code reads its pools.
    smart_ptr<abc_def> abc = get_abc();
    if (abc == nullptr) {
        log_error("as_3_function::call: method #%d has lost its block\n", m_method);
        fn.result->set_undefined();
        return;
    }
    if (fn.env == nullptr) {
        log_error("as_3_function::call: method #%d called without an environment\n", m_method);
        return;
    }
    as_environment* env = call_environment(fn);
    as_object* this_ptr = call_this(fn, env);
    as_object* global = get_global();
    as_value flash;
    if (this_ptr == nullptr || global == nullptr) {
        log_error("as_3_function::call: method #%d called without \"this\"\n", m_method);
        return;
    }
    if (!global->get_member("flash", &flash) || flash.to_object() == nullptr) {
        log_error("as_3_function::call: method #%d: the global object has no \"flash\"\n", m_method);
        return;
    }
    std::vector<as_value> registers(std::min(m_local_count + 1, reachable_registers));
    registers[0] = as_value(this_ptr);
    std::vector<as_value> stack;
    std::vector<as_value> scope;
    scope.emplace_back(global);
    scope.emplace_back();
    flash.to_object()->get_member("Events", &scope.back());
    bool verbose = get_verbose_action();
    if (verbose) {
        log_msg("\nEX: call method #%d\n", m_method);
    }
    instruction_budget::run_scope run;
    execute(registers, stack, scope, fn.result);
    if (verbose) {
        log_msg("EX: ended. stack_size=%d\n", static_cast<int>(stack.size()));
    }
}

}  // namespace swfplayer
