#pragma once

#include "serializeme/Serializable.h"
#include "serializeme/StorageBuffer.h"

#include <string>
#include <type_traits>
#include <vector>

namespace sme {

// Writes a list member: the strings as unnamed strings, records (held by value) as unnamed
// nested records, in order, between BeginWriteArray and EndWriteArray.
template <typename T>
void WriteVector(StorageBuffer& buffer, const char* key, std::vector<T>& values) {
    static_assert(std::is_same_v<T, std::string> || std::is_base_of_v<Serializable, T>,
                  "lists hold strings or records");
    buffer.BeginWriteArray(key, static_cast<uint32_t>(values.size()));
    for (T& value : values) {
        if constexpr (std::is_same_v<T, std::string>) {
            buffer.WriteString(nullptr, value);
        } else {
            buffer.WriteObject(nullptr, value);
        }
    }
    buffer.EndWriteArray();
}

// Reads a list member written by WriteVector. The vector is first given the stored count of
// default elements, then element after element is read into it; an absent list leaves it empty
// and counts as read. The first element that fails ends the read with false, leaving a vector of
// the list's full length: the elements read, then the rest at their defaults. The count is what
// the buffer reports, which never promises more elements than its data could hold. The list is
// always closed again, so the buffer goes on with the members after it.
template <typename T>
bool ReadVector(StorageBuffer& buffer, const char* key, std::vector<T>& values) {
    static_assert(std::is_same_v<T, std::string> || std::is_base_of_v<Serializable, T>,
                  "lists hold strings or records");
    const uint32_t count = buffer.BeginReadArray(key);
    values.clear();
    values.resize(count);
    for (T& value : values) {
        bool read = false;
        if constexpr (std::is_same_v<T, std::string>) {
            read = buffer.ReadString(nullptr, value);
        } else {
            read = buffer.ReadObject(nullptr, value);
        }
        if (!read) {
            buffer.EndReadArray();
            return false;
        }
    }
    buffer.EndReadArray();
    return true;
}

}  // namespace sme
