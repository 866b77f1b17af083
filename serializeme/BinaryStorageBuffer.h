#pragma once

#include "serializeme/StorageBuffer.h"

#include <string>

namespace sme {

// The storage buffer that lays a record's calls out as a flat little-endian byte stream, in
// call order, without keys. A record read from it must make the same calls in the same order
// as when it was written. Numbers are 4 bytes (two's complement integers, IEEE 754 single
// floats), bools and bytes 1 byte; strings are a 4-byte length and the bytes; nested records a
// 4-byte type id, a 4-byte length and the record's own stream.
//
// A read that does not find its whole value before the end of the stream fails and leaves its
// target unchanged, so a reader that reads records until a read fails always stops.
class BinaryStorageBuffer : public StorageBuffer {
public:
    explicit BinaryStorageBuffer(bool writing);

    // The stream: everything written so far, or the bytes being read.
    const std::string& GetData() const { return m_Data; }
    // Replaces the stream with the bytes and starts reading at its beginning.
    void SetData(std::string data);
    // The index of the next byte to read.
    uint32_t GetReadPos() const { return m_ReadPos; }

    void WriteObjectVector(const char* key, const std::vector<Serializable*>& objects) override;
    void WriteObjectPointer(const char* key, const Serializable* object) override;
    void WriteObject(const char* key, Serializable& object) override;
    void WriteFlags(const char* key, uint32_t value, const FlagName* names, int count) override;
    void WriteString(const char* key, const std::string& value) override;
    void WriteFloat(const char* key, float value) override;
    void WriteByte(const char* key, uint8_t value) override;
    void WriteUInt(const char* key, uint32_t value) override;
    void WriteInt(const char* key, int32_t value) override;
    void WriteBool(const char* key, bool value) override;

    bool ReadObjectVector(const char* key, std::vector<Serializable*>& objects) override;
    bool ReadObjectPointer(const char* key, Serializable*& object) override;
    bool ReadObject(const char* key, Serializable& object) override;
    bool ReadFlags(const char* key, uint32_t& value, const FlagName* names, int count) override;
    bool ReadString(const char* key, std::string& value) override;
    bool ReadFloat(const char* key, float& value) override;
    bool ReadByte(const char* key, uint8_t& value) override;
    bool ReadUInt(const char* key, uint32_t& value) override;
    bool ReadInt(const char* key, int32_t& value) override;
    bool ReadBool(const char* key, bool& value) override;

    void BeginWriteArray(const char* key, uint32_t count) override;
    void EndWriteArray() override;
    // The stored element count, limited to a quarter of the bytes left, since every element
    // takes at least four; 0 when the stream has ended.
    uint32_t BeginReadArray(const char* key) override;
    void EndReadArray() override;

private:
    void AppendU32(uint32_t value);
    // Appends a type id, the length of the record's own stream and that stream.
    void AppendRecord(int typeId, Serializable& object);
    // The next 4 bytes as a little-endian number; false when fewer than 4 are left.
    bool TakeU32(uint32_t& value);
    // A 4-byte length and that many bytes. When the length runs past the end, false, with the
    // position just after the length.
    bool TakeBlock(std::string& block);
    size_t BytesLeft() const;

    // The stream; writes append to its end.
    std::string m_Data;
    // The index of the next byte to read.
    uint32_t m_ReadPos = 0;
};

}  // namespace sme
