#include "serializeme/BinaryStorageBuffer.h"

#include "serializeme/ObjectFactoryCentral.h"
#include "serializeme/Serializable.h"

#include <cstring>
#include <limits>

namespace sme {

BinaryStorageBuffer::BinaryStorageBuffer(bool writing) : StorageBuffer(writing) {}

void BinaryStorageBuffer::SetData(std::string data) {
    // Positions are 32-bit: a longer stream is read up to 4 GiB only.
    if (data.size() > std::numeric_limits<uint32_t>::max()) {
        data.resize(std::numeric_limits<uint32_t>::max());
    }
    m_Data = std::move(data);
    m_ReadPos = 0;
}

size_t BinaryStorageBuffer::BytesLeft() const {
    return m_ReadPos < m_Data.size() ? m_Data.size() - m_ReadPos : 0;
}

// Writing

void BinaryStorageBuffer::AppendU32(uint32_t value) {
    const char bytes[4] = {static_cast<char>(value & 0xFF), static_cast<char>((value >> 8) & 0xFF),
                           static_cast<char>((value >> 16) & 0xFF), static_cast<char>((value >> 24) & 0xFF)};
    m_Data.append(bytes, 4);
}

void BinaryStorageBuffer::AppendRecord(int typeId, Serializable& object) {
    BinaryStorageBuffer body(true);
    object.Serialize(body);
    AppendU32(static_cast<uint32_t>(typeId));
    AppendU32(static_cast<uint32_t>(body.m_Data.size()));
    m_Data += body.m_Data;
}

void BinaryStorageBuffer::WriteString(const char*, const std::string& value) {
    AppendU32(static_cast<uint32_t>(value.size()));
    m_Data += value;
}

void BinaryStorageBuffer::WriteFloat(const char*, float value) {
    uint32_t bits = 0;
    static_assert(sizeof(bits) == sizeof(value));
    std::memcpy(&bits, &value, sizeof(bits));
    AppendU32(bits);
}

void BinaryStorageBuffer::WriteByte(const char*, uint8_t value) {
    m_Data += static_cast<char>(value);
}

void BinaryStorageBuffer::WriteUInt(const char*, uint32_t value) {
    AppendU32(value);
}

void BinaryStorageBuffer::WriteInt(const char*, int32_t value) {
    AppendU32(static_cast<uint32_t>(value));
}

void BinaryStorageBuffer::WriteBool(const char*, bool value) {
    m_Data += static_cast<char>(value ? 1 : 0);
}

void BinaryStorageBuffer::WriteFlags(const char*, uint32_t value, const FlagName*, int) {
    AppendU32(value);
}

void BinaryStorageBuffer::WriteObject(const char*, Serializable& object) {
    AppendRecord(object.TypeId(), object);
}

void BinaryStorageBuffer::WriteObjectPointer(const char*, const Serializable* object) {
    if (object == nullptr) {
        AppendU32(0);
        return;
    }
    // Writing never changes the record; the one operation that serialises both ways is simply
    // not const.
    Serializable& record = const_cast<Serializable&>(*object);
    AppendRecord(record.TypeId(), record);
}

void BinaryStorageBuffer::WriteObjectVector(const char*, const std::vector<Serializable*>& objects) {
    uint32_t count = 0;
    for (const Serializable* object : objects) {
        count += object != nullptr ? 1 : 0;
    }
    AppendU32(count);
    for (Serializable* object : objects) {
        if (object != nullptr) {
            AppendRecord(object->TypeId(), *object);
        }
    }
}

void BinaryStorageBuffer::BeginWriteArray(const char*, uint32_t count) {
    AppendU32(count);
}

void BinaryStorageBuffer::EndWriteArray() {}

// Reading

bool BinaryStorageBuffer::TakeU32(uint32_t& value) {
    if (BytesLeft() < 4) {
        return false;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(m_Data.data() + m_ReadPos);
    value = static_cast<uint32_t>(bytes[0]) | (static_cast<uint32_t>(bytes[1]) << 8) |
            (static_cast<uint32_t>(bytes[2]) << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
    m_ReadPos += 4;
    return true;
}

bool BinaryStorageBuffer::TakeBlock(std::string& block) {
    uint32_t length = 0;
    if (!TakeU32(length) || length > BytesLeft()) {
        return false;
    }
    block.assign(m_Data, m_ReadPos, length);
    m_ReadPos += length;
    return true;
}

bool BinaryStorageBuffer::ReadString(const char*, std::string& value) {
    return TakeBlock(value);
}

bool BinaryStorageBuffer::ReadFloat(const char*, float& value) {
    uint32_t bits = 0;
    if (!TakeU32(bits)) {
        return false;
    }
    std::memcpy(&value, &bits, sizeof(bits));
    return true;
}

bool BinaryStorageBuffer::ReadByte(const char*, uint8_t& value) {
    if (BytesLeft() < 1) {
        return false;
    }
    value = static_cast<uint8_t>(m_Data[m_ReadPos++]);
    return true;
}

bool BinaryStorageBuffer::ReadUInt(const char*, uint32_t& value) {
    return TakeU32(value);
}

bool BinaryStorageBuffer::ReadInt(const char*, int32_t& value) {
    uint32_t bits = 0;
    if (!TakeU32(bits)) {
        return false;
    }
    value = static_cast<int32_t>(bits);
    return true;
}

bool BinaryStorageBuffer::ReadBool(const char*, bool& value) {
    uint8_t byte = 0;
    if (!ReadByte(nullptr, byte)) {
        return false;
    }
    value = byte != 0;
    return true;
}

bool BinaryStorageBuffer::ReadFlags(const char*, uint32_t& value, const FlagName*, int) {
    return TakeU32(value);
}

bool BinaryStorageBuffer::ReadObject(const char*, Serializable& object) {
    uint32_t id = 0;
    if (!TakeU32(id)) {
        return false;
    }
    if (static_cast<int>(id) != object.TypeId()) {
        return false;
    }
    BinaryStorageBuffer reader(false);
    if (!TakeBlock(reader.m_Data)) {
        return false;
    }
    return object.Serialize(reader);
}

bool BinaryStorageBuffer::ReadObjectPointer(const char*, Serializable*& object) {
    uint32_t stored = 0;
    if (!TakeU32(stored)) {
        return false;
    }
    const int id = static_cast<int>(stored);
    // A stored null pointer (id 0, as written) or a negative id reads back as null.
    if (id <= 0) {
        delete object;
        object = nullptr;
        return true;
    }
    BinaryStorageBuffer reader(false);
    if (!TakeBlock(reader.m_Data)) {
        return false;
    }
    if (object != nullptr) {
        if (object->TypeId() != id) {
            return false;
        }
    } else {
        object = ObjectFactoryCentral::GetInstance().Create(id);
        if (object == nullptr) {
            return false;
        }
    }
    return object->Serialize(reader);
}

bool BinaryStorageBuffer::ReadObjectVector(const char*, std::vector<Serializable*>& objects) {
    uint32_t count = 0;
    if (!TakeU32(count)) {
        return false;
    }
    const ObjectFactoryCentral& factories = ObjectFactoryCentral::GetInstance();
    // Each element takes at least 8 bytes, so a false count ends with the stream.
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t id = 0;
        BinaryStorageBuffer reader(false);
        if (!TakeU32(id) || !TakeBlock(reader.m_Data)) {
            return false;
        }
        Serializable* object = factories.Create(static_cast<int>(id));
        if (object == nullptr) {
            return false;
        }
        object->Serialize(reader);
        objects.push_back(object);
    }
    return true;
}

uint32_t BinaryStorageBuffer::BeginReadArray(const char*) {
    uint32_t count = 0;
    if (!TakeU32(count)) {
        return 0;
    }
    // Every element takes at least four bytes (a string's length; a record takes eight), so
    // no more elements than that can follow.
    const size_t most = BytesLeft() / 4;
    return count > most ? static_cast<uint32_t>(most) : count;
}

void BinaryStorageBuffer::EndReadArray() {}

}  // namespace sme
