#pragma once

#include "serializeme/ObjectFactory.h"

#include <memory>
#include <vector>

namespace sme {

// The one registry of record factories, asked in order of registration. The game registers no
// factory, so by default nothing can be created: Create gives null, TypeIdOf 0, TypeNameOf "".
class ObjectFactoryCentral : public ObjectFactory {
public:
    // The registry, made on first use and destroyed at exit.
    static ObjectFactoryCentral& GetInstance();

    // Adds a factory after the ones already registered; the registry owns and deletes it.
    void AddFactory(ObjectFactory* factory);

    bool CanCreate(int id) const override;
    Serializable* Create(int id) const override;
    int TypeIdOf(const char* typeName) const override;
    const char* TypeNameOf(int id) const override;

    ObjectFactoryCentral(const ObjectFactoryCentral&) = delete;
    ObjectFactoryCentral& operator=(const ObjectFactoryCentral&) = delete;

private:
    ObjectFactoryCentral() = default;
    ~ObjectFactoryCentral() override = default;

    std::vector<std::unique_ptr<ObjectFactory>> m_Factories;
};

}  // namespace sme
