#include "tests/swfplayer/main/script/ActionAssembler.h"

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

action_assembler& action_assembler::function(const std::string& name, const std::vector<std::string>& params,
                                             const action_assembler& body) {
    Bytes code = body.code();
    Bytes payload;
    put_text(&payload, name);
    put16(&payload, static_cast<int>(params.size()));
    for (const std::string& param : params) {
        put_text(&payload, param);
    }
    put16(&payload, static_cast<int>(code.size()));
    record(0x9B, payload);
    m_code.insert(m_code.end(), code.begin(), code.end());
    return *this;
}

action_assembler& action_assembler::function2(const std::string& name, uint8_t register_count, uint16_t flags,
                                              const std::vector<std::pair<uint8_t, std::string>>& params,
                                              const action_assembler& body) {
    Bytes code = body.code();
    Bytes payload;
    put_text(&payload, name);
    put16(&payload, static_cast<int>(params.size()));
    payload.push_back(register_count);
    put16(&payload, flags);
    for (const auto& param : params) {
        payload.push_back(param.first);
        put_text(&payload, param.second);
    }
    put16(&payload, static_cast<int>(code.size()));
    record(0x8E, payload);
    m_code.insert(m_code.end(), code.begin(), code.end());
    return *this;
}

action_assembler& action_assembler::with(const action_assembler& block) {
    Bytes code = block.code();
    Bytes payload;
    put16(&payload, static_cast<int>(code.size()));
    record(0x94, payload);
    m_code.insert(m_code.end(), code.begin(), code.end());
    return *this;
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

}  // namespace script_test
