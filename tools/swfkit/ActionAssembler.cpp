#include "tools/swfkit/ActionAssembler.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace swfkit {

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

// A value of the given type made of 32-bit words.
template <class Value>
push_item words(uint8_t type, Value value) {
    uint32_t bits[sizeof(Value) / 4];
    std::memcpy(bits, &value, sizeof(Value));
    push_item item{type, {}};
    for (int i = static_cast<int>(sizeof(Value) / 4) - 1; i >= 0; i--) {
        put32(&item.data, bits[i]);
    }
    return item;
}

}  // namespace

push_item str(const std::string& text) {
    push_item item{0, {}};
    put_text(&item.data, text);
    return item;
}

push_item num(double value) {
    return words(6, value);
}

push_item i32(int32_t value) {
    return words(7, value);
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

action_assembler& action_assembler::store_register(uint8_t number) {
    return record(0x87, {number});
}

action_assembler& action_assembler::label(const std::string& name) {
    m_labels[name] = m_code.size();
    return *this;
}

action_assembler& action_assembler::jump(const std::string& name) {
    m_fixups.push_back({m_code.size() + 3, name});
    return record(0x99, {0, 0});
}

action_assembler& action_assembler::branch_if_true(const std::string& name) {
    m_fixups.push_back({m_code.size() + 3, name});
    return record(0x9D, {0, 0});
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
    return push({str(name)}).push(value).op(0x1D);
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

// The parts between separators outside quotes; runs of spaces count as one separator.
std::vector<std::string> split(const std::string& text, char separator) {
    std::vector<std::string> parts(1);
    bool quoted = false;
    for (char c : text) {
        quoted ^= c == '\'';
        if (quoted || c != separator) {
            parts.back() += c;
        } else if (separator != ' ' || !parts.back().empty()) {
            parts.emplace_back();
        }
    }
    if (separator == ' ' && parts.back().empty()) {
        parts.pop_back();
    }
    return parts;
}

// A value of a Push record, or false when the token is something else.
bool parse_item(const std::string& token, push_item* item) {
    const std::map<std::string, push_item> named = {
        {"true", {5, {1}}}, {"false", {5, {0}}}, {"null", {2, {}}}, {"undef", {3, {}}}};
    char* end = nullptr;
    double number = std::strtod(token.c_str(), &end);
    int index = std::atoi(token.c_str() + 1);
    if (token[0] == '\'') {
        *item = str(token.substr(1, token.size() - 2));
    } else if (named.count(token)) {
        *item = named.at(token);
    } else if (token.size() > 1 && std::strchr("rpP", token[0]) &&
               token.find_first_not_of("0123456789", 1) == std::string::npos) {
        *item = {static_cast<uint8_t>(token[0] == 'r' ? 4 : (token[0] == 'p' ? 8 : 9)),
                 {static_cast<uint8_t>(index), static_cast<uint8_t>(index >> 8)}};
        item->data.resize(token[0] == 'P' ? 2 : 1);
    } else if (token.rfind("i:", 0) == 0 || token.rfind("f:", 0) == 0) {
        *item = token[0] == 'i' ? i32(std::atoi(&token[2])) : words(1, std::strtof(&token[2], nullptr));
    } else if (*end == 0 && (std::strchr("-.0123456789", token[0]) || token == "nan" || token == "inf")) {
        *item = num(number);
    } else {
        return false;
    }
    return true;
}

action_assembler parse(const std::vector<std::string>& tokens, size_t& at) {
    action_assembler code;
    std::vector<push_item> items;
    while (at < tokens.size() && tokens[at] != "}") {
        const std::string& token = tokens[at++];
        push_item item;
        if (parse_item(token, &item)) {
            items.push_back(item);
            if (at < tokens.size() && parse_item(tokens[at], &item)) {
                continue;
            }
            code.push(items);
            items.clear();
            continue;
        }
        size_t colon = std::min(token.find(':'), token.size());
        std::string head = token.substr(0, colon);
        std::string arg = token.substr(std::min(colon + 1, token.size()));
        Bytes payload;
        if (head == "fn" || head == "fn2" || head == "with") {
            if (at >= tokens.size() || tokens[at] != "{") {
                throw std::runtime_error("assemble: " + token + " wants a { block }");
            }
            action_assembler body = parse(tokens, ++at);
            at++;
            size_t open = std::min(arg.find('('), arg.size());
            std::vector<std::string> fields = split(arg.substr(0, open), ':');
            std::string inside = open < arg.size() ? arg.substr(open + 1, arg.size() - open - 2) : "";
            std::vector<std::string> params = inside.empty() ? std::vector<std::string>() : split(inside, ',');
            std::vector<std::pair<uint8_t, std::string>> numbered;
            for (const std::string& param : params) {
                numbered.push_back({static_cast<uint8_t>(std::atoi(param.c_str())), param.substr(param.find(':') + 1)});
            }
            if (head == "with") {
                code.with(body);
            } else if (head == "fn") {
                code.function(fields[0], params, body);
            } else {
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
            std::vector<std::string> strings = split(arg, ',');
            put16(&payload, static_cast<int>(strings.size()));
            for (const std::string& text : strings) {
                put_text(&payload, text);
            }
            code.record(0x88, payload);
        } else if (token[0] == '#') {
            // Hex bytes and quoted NUL-ended texts, separated by commas.
            for (const std::string& part : split(arg, ',')) {
                if (part[0] == '\'') {
                    put_text(&payload, part.substr(1, part.size() - 2));
                } else if (!part.empty()) {
                    payload.push_back(static_cast<uint8_t>(std::stoi(part, nullptr, 16)));
                }
            }
            uint8_t id = static_cast<uint8_t>(std::stoi(head.substr(1), nullptr, 16));
            id < 0x80 ? code.op(id) : code.record(id, payload);
        } else if (s_short_actions.count(token)) {
            code.op(s_short_actions.at(token));
        } else {
            throw std::runtime_error("assemble: unknown token " + token);
        }
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

}  // namespace swfkit
