#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sme {

class Serializable;

// One entry of a table of flag names: the name written for the flag and its bit mask.
// Tables list their flags in the order in which they are to be written.
struct FlagName {
    const char* name;
    uint32_t mask;
};

// The typed read/write interface that records serialise through. Every operation takes the
// value's key first: a NUL-terminated text, or null for an unnamed value (array elements).
// Reads return true on success and leave their target unchanged on failure.
class StorageBuffer {
public:
    virtual ~StorageBuffer() = default;

    // True for a buffer that writes, false for one that reads; fixed at construction.
    virtual bool IsWriting() const { return m_Writing; }

    virtual void WriteObjectVector(const char* key, const std::vector<Serializable*>& objects) = 0;
    virtual void WriteObjectPointer(const char* key, const Serializable* object) = 0;
    virtual void WriteObject(const char* key, Serializable& object) = 0;
    virtual void WriteFlags(const char* key, uint32_t value, const FlagName* names, int count) = 0;
    virtual void WriteString(const char* key, const std::string& value) = 0;
    virtual void WriteFloat(const char* key, float value) = 0;
    virtual void WriteByte(const char* key, uint8_t value) = 0;
    virtual void WriteUInt(const char* key, uint32_t value) = 0;
    virtual void WriteInt(const char* key, int32_t value) = 0;
    virtual void WriteBool(const char* key, bool value) = 0;

    // Appends the objects read to the list (which is not cleared first).
    virtual bool ReadObjectVector(const char* key, std::vector<Serializable*>& objects) = 0;
    // Reads into the pointed object, or creates one through the factory registry when null.
    virtual bool ReadObjectPointer(const char* key, Serializable*& object) = 0;
    virtual bool ReadObject(const char* key, Serializable& object) = 0;
    virtual bool ReadFlags(const char* key, uint32_t& value, const FlagName* names, int count) = 0;
    virtual bool ReadString(const char* key, std::string& value) = 0;
    virtual bool ReadFloat(const char* key, float& value) = 0;
    virtual bool ReadByte(const char* key, uint8_t& value) = 0;
    virtual bool ReadUInt(const char* key, uint32_t& value) = 0;
    virtual bool ReadInt(const char* key, int32_t& value) = 0;
    virtual bool ReadBool(const char* key, bool& value) = 0;

    // Lists: values written or read between a begin and the matching end are the list's elements.
    virtual void BeginWriteArray(const char* key, uint32_t count) = 0;
    virtual void EndWriteArray() = 0;
    // The number of elements in the list, 0 when the list is absent.
    virtual uint32_t BeginReadArray(const char* key) = 0;
    virtual void EndReadArray() = 0;

protected:
    explicit StorageBuffer(bool writing) : m_Writing(writing) {}

    bool m_Writing;
};

}  // namespace sme
