#pragma once

namespace sme {

class StorageBuffer;

// Base of every stored record. One operation both writes and reads a record: it asks the buffer
// which way it goes and then calls the buffer's typed write or read per member, under the
// member's key and always in the same order.
class Serializable {
public:
    // Records are deleted through this base (polymorphic members), hence the virtual destructor.
    virtual ~Serializable() = default;

    // Writes or reads the whole record through the buffer, according to buffer.IsWriting().
    virtual bool Serialize(StorageBuffer& buffer) = 0;
    // The record's type name, a short lower-case word; the XML buffer uses it as element tag.
    virtual const char* TypeName() const = 0;
    // Whether the record is of the given type id; every record of the game answers only 1.
    virtual bool IsOfType(int id) const { return id == 1; }
    // The record's type id, stored in front of nested records by the binary buffer.
    virtual int TypeId() const { return 1; }
};

}  // namespace sme
