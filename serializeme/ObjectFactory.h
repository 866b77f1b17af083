#pragma once

namespace sme {

class Serializable;

// Makes records by type id, for members whose record type is only known from the stored data.
class ObjectFactory {
public:
    virtual ~ObjectFactory() = default;

    // Whether this factory makes records of the given type id.
    virtual bool CanCreate(int id) const = 0;
    // A new record of the type (owned by the caller), or null.
    virtual Serializable* Create(int id) const = 0;
    // The type id for a type name, 0 or less when the name is unknown here.
    virtual int TypeIdOf(const char* typeName) const = 0;
    // The type name for a type id.
    virtual const char* TypeNameOf(int id) const = 0;
};

}  // namespace sme
