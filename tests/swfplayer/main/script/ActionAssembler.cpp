#include "tests/swfplayer/main/script/ActionAssembler.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace script_test {

namespace {

void put16(Bytes* out, int value) {
    out->push_back(static_cast<uint8_t>(value & 0xFF));
    out->push_back(static_cast<uint8_t>((value >> 8) & 0xFF));
}

void put32(Bytes* out, uint32_t value) {
    put16(out, static_cast<int>(value & 0xFFFF));
    put16(out, static_cast<int>(value >> 16));
}

void put_text(Bytes* out, const std::string& text) {
    out->insert(out->end(), text.begin(), text.end());
    out->push_back(0);
}

}  // namespace

push_item str(const std::string& text) {
    push_item item{0, {}};
    put_text(&item.data, text);
    return item;
}

push_item num(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    push_item item{6, {}};
    put32(&item.data, static_cast<uint32_t>(bits >> 32));
    put32(&item.data, static_cast<uint32_t>(bits));
    return item;
}

push_item f32(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    push_item item{1, {}};
    put32(&item.data, bits);
    return item;
}

push_item i32(int32_t value) {
    push_item item{7, {}};
    put32(&item.data, static_cast<uint32_t>(value));
    return item;
}

action_assembler& action_assembler::op(uint8_t id) {
    m_code.push_back(id);
    return *this;
}

action_assembler& action_assembler::record(uint8_t id, const Bytes& payload) {
    m_code.push_back(id);
    put16(&m_code, static_cast<int>(payload.size()));
    m_code.insert(m_code.end(), payload.begin(), payload.end());
    return *this;
}

action_assembler& action_assembler::push(const std::vector<push_item>& items) {
    Bytes payload;
    for (const push_item& item : items) {
        payload.push_back(item.type);
        payload.insert(payload.end(), item.data.begin(), item.data.end());
    }
    return record(0x96, payload);
}

action_assembler& action_assembler::pool(const std::vector<std::string>& strings) {
    Bytes payload;
    put16(&payload, static_cast<int>(strings.size()));
    for (const std::string& text : strings) {
        put_text(&payload, text);
    }
    return record(0x88, payload);
}

action_assembler& action_assembler::store_register(uint8_t number) {
    return record(0x87, {number});
}

action_assembler& action_assembler::label(const std::string& name) {
    m_labels[name] = m_code.size();
    return *this;
}

action_assembler& action_assembler::jump(const std::string& name) {
    record(0x99, {0, 0});
    m_fixups.push_back({m_code.size() - 2, name});
    return *this;
}

action_assembler& action_assembler::branch_if_true(const std::string& name) {
    record(0x9D, {0, 0});
    m_fixups.push_back({m_code.size() - 2, name});
    return *this;
}

action_assembler& action_assembler::block(uint8_t id, Bytes payload, const action_assembler& body) {
    Bytes code = body.code();
    put16(&payload, static_cast<int>(code.size()));
    record(id, payload);
    m_code.insert(m_code.end(), code.begin(), code.end());
    return *this;
}

action_assembler& action_assembler::function(const std::string& name, const std::vector<std::string>& params,
                                             const action_assembler& body) {
    Bytes payload;
    put_text(&payload, name);
    put16(&payload, static_cast<int>(params.size()));
    for (const std::string& param : params) {
        put_text(&payload, param);
    }
    return block(0x9B, payload, body);
}

action_assembler& action_assembler::function2(const std::string& name, uint8_t register_count, uint16_t flags,
                                              const std::vector<std::pair<uint8_t, std::string>>& params,
                                              const action_assembler& body) {
    Bytes payload;
    put_text(&payload, name);
    put16(&payload, static_cast<int>(params.size()));
    payload.push_back(register_count);
    put16(&payload, flags);
    for (const auto& param : params) {
        payload.push_back(param.first);
        put_text(&payload, param.second);
    }
    return block(0x8E, payload, body);
}

action_assembler& action_assembler::with(const action_assembler& block_code) {
    return block(0x94, {}, block_code);
}

action_assembler& action_assembler::trace(const push_item& value) {
    return push({value}).op(0x26);
}

action_assembler& action_assembler::set_var(const std::string& name, const std::vector<push_item>& value) {
    push({str(name)});
    push(value);
    return op(0x1D);
}

Bytes action_assembler::code() const {
    Bytes code = m_code;
    for (const fixup& f : m_fixups) {
        auto target = m_labels.find(f.label);
        if (target == m_labels.end()) {
            throw std::runtime_error("action_assembler: no label " + f.label);
        }
        int offset = static_cast<int>(target->second) - static_cast<int>(f.offset_at + 2);
        code[f.offset_at] = static_cast<uint8_t>(offset & 0xFF);
        code[f.offset_at + 1] = static_cast<uint8_t>((offset >> 8) & 0xFF);
    }
    return code;
}

Bytes action_assembler::bytes() const {
    Bytes all = code();
    all.push_back(0);
    return all;
}

namespace {

// clang-format off
const std::map<std::string, uint8_t> s_short_actions = {
    {"next_frame", NEXT_FRAME}, {"prev_frame", PREV_FRAME}, {"play", PLAY}, {"stop", STOP}, {"add", ADD}, {"sub", SUB},
    {"mul", MUL}, {"div", DIV}, {"equ", EQU}, {"lt", LT}, {"and", AND}, {"or", OR}, {"not", NOT}, {"str_eq", STR_EQ},
    {"str_len", STR_LEN}, {"substr", SUBSTR}, {"pop", POP}, {"floor", FLOOR}, {"get_var", GET_VAR},
    {"set_var", SET_VAR}, {"set_target_exp", SET_TARGET_EXP}, {"str_cat", STR_CAT}, {"get_prop", GET_PROP},
    {"set_prop", SET_PROP}, {"trace", TRACE}, {"start_drag", START_DRAG}, {"str_lt", STR_LT},
    {"cast_object", CAST_OBJECT}, {"random", RANDOM}, {"ord", ORD}, {"chr", CHR}, {"get_timer", GET_TIMER},
    {"delete", DELETE}, {"delete_all", DELETE_ALL}, {"set_local", SET_LOCAL}, {"call_func", CALL_FUNC},
    {"return", RETURN}, {"mod", MOD}, {"new", NEW}, {"decl_local", DECL_LOCAL}, {"decl_array", DECL_ARRAY},
    {"decl_obj", DECL_OBJ}, {"type_of", TYPE_OF}, {"enumerate", ENUMERATE}, {"add_t", ADD_T}, {"lt_t", LT_T},
    {"eq_t", EQ_T}, {"number", NUMBER}, {"string", STRING}, {"dup", DUP}, {"swap", SWAP}, {"get_member", GET_MEMBER},
    {"set_member", SET_MEMBER}, {"inc", INC}, {"dec", DEC}, {"call_method", CALL_METHOD}, {"new_method", NEW_METHOD},
    {"is_inst_of", IS_INST_OF}, {"enum_object", ENUM_OBJECT}, {"bit_and", BIT_AND}, {"bit_or", BIT_OR},
    {"bit_xor", BIT_XOR}, {"shl", SHL}, {"asr", ASR}, {"lsr", LSR}, {"eq_strict", EQ_STRICT}, {"gt_t", GT_T},
    {"gt_str", GT_STR}, {"extends", EXTENDS},
};
// clang-format on

std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    bool quoted = false;
    for (char c : text + separator) {
        quoted ^= c == '\'';
        bool ends = separator == ' ' ? std::isspace(static_cast<unsigned char>(c)) != 0 : c == separator;
        if (quoted || !ends) {
            part += c;
        } else if (!part.empty() || separator != ' ') {
            parts.push_back(part);
            part.clear();
        }
    }
    return parts;
}

std::string unquote(const std::string& text) {
    return text.substr(1, text.size() - 2);
}

bool all_digits(const std::string& text, size_t from) {
    return text.size() > from && text.find_first_not_of("0123456789", from) == std::string::npos;
}

// One value of a Push record, or false when the token is something else.
bool parse_item(const std::string& token, push_item* item) {
    char* end = nullptr;
    double number = std::strtod(token.c_str(), &end);
    if (token[0] == '\'') {
        *item = str(unquote(token));
    } else if (token == "true" || token == "false") {
        *item = boolean(token == "true");
    } else if (token == "null" || token == "undef") {
        *item = token == "null" ? null_value() : undef();
    } else if (std::strchr("rpP", token[0]) && all_digits(token, 1)) {
        int index = std::atoi(token.c_str() + 1);
        *item = token[0] == 'r' ? reg(static_cast<uint8_t>(index))
                                : (token[0] == 'p' ? pool8(static_cast<uint8_t>(index)) : pool16(index));
    } else if (token.rfind("i:", 0) == 0 || token.rfind("f:", 0) == 0) {
        *item = token[0] == 'i' ? i32(std::atoi(token.c_str() + 2)) : f32(std::strtof(token.c_str() + 2, nullptr));
    } else if (*end == 0 && (std::strchr("-.0123456789", token[0]) || token == "nan" || token == "inf")) {
        *item = num(number);
    } else {
        return false;
    }
    return true;
}

// The payload of a record written as hex bytes and quoted NUL-ended texts, separated by commas.
Bytes parse_payload(const std::string& text) {
    Bytes payload;
    for (const std::string& part : split(text, ',')) {
        if (part[0] == '\'') {
            put_text(&payload, unquote(part));
        } else if (!part.empty()) {
            payload.push_back(static_cast<uint8_t>(std::stoi(part, nullptr, 16)));
        }
    }
    return payload;
}

action_assembler parse(const std::vector<std::string>& tokens, size_t& at) {
    action_assembler code;
    std::vector<push_item> items;
    while (at < tokens.size() && tokens[at] != "}") {
        const std::string& token = tokens[at++];
        push_item item;
        if (parse_item(token, &item)) {
            items.push_back(item);
            continue;
        }
        if (!items.empty()) {
            code.push(items);
            items.clear();
        }
        size_t colon = token.find(':');
        std::string head = token.substr(0, colon);
        std::string arg = colon == std::string::npos ? "" : token.substr(colon + 1);
        if (head == "fn" || head == "fn2" || head == "with") {
            if (at >= tokens.size() || tokens[at] != "{") {
                throw std::runtime_error("assemble: " + token + " wants a { block }");
            }
            action_assembler body = parse(tokens, ++at);
            at++;
            size_t open = arg.find('(');
            std::vector<std::string> fields = split(arg.substr(0, open), ':');
            std::vector<std::string> params;
            if (open != std::string::npos && arg.size() > open + 2) {
                params = split(arg.substr(open + 1, arg.size() - open - 2), ',');
            }
            if (head == "with") {
                code.with(body);
            } else if (head == "fn") {
                code.function(fields[0], params, body);
            } else {
                std::vector<std::pair<uint8_t, std::string>> numbered;
                for (const std::string& param : params) {
                    numbered.push_back({static_cast<uint8_t>(std::stoi(param)), param.substr(param.find(':') + 1)});
                }
                code.function2(fields[0], static_cast<uint8_t>(std::stoi(fields.at(1))),
                               static_cast<uint16_t>(std::stoi(fields.at(2), nullptr, 0)), numbered, body);
            }
        } else if (token[0] == '@') {
            code.label(token.substr(1));
        } else if (head == "jump" || head == "if") {
            head == "jump" ? code.jump(arg) : code.branch_if_true(arg);
        } else if (head == "store") {
            code.store_register(static_cast<uint8_t>(std::stoi(arg)));
        } else if (head == "pool") {
            code.pool(split(arg, ','));
        } else if (token[0] == '#') {
            uint8_t id = static_cast<uint8_t>(std::stoi(head.substr(1), nullptr, 16));
            id < 0x80 ? code.op(id) : code.record(id, parse_payload(arg));
        } else if (s_short_actions.count(token)) {
            code.op(s_short_actions.at(token));
        } else {
            throw std::runtime_error("assemble: unknown token " + token);
        }
    }
    if (!items.empty()) {
        code.push(items);
    }
    return code;
}

}  // namespace

action_assembler assemble(const std::string& text) {
    std::vector<std::string> tokens = split(text, ' ');
    size_t at = 0;
    action_assembler code = parse(tokens, at);
    if (at < tokens.size()) {
        throw std::runtime_error("assemble: unmatched }");
    }
    return code;
}

}  // namespace script_test
