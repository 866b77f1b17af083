#include "serializeme/ObjectFactoryCentral.h"

namespace sme {

ObjectFactoryCentral& ObjectFactoryCentral::GetInstance() {
    static ObjectFactoryCentral central;
    return central;
}

void ObjectFactoryCentral::AddFactory(ObjectFactory* factory) {
    if (factory != nullptr) {
        m_Factories.emplace_back(factory);
    }
}

bool ObjectFactoryCentral::CanCreate(int id) const {
    for (const std::unique_ptr<ObjectFactory>& factory : m_Factories) {
        if (factory->CanCreate(id)) {
            return true;
        }
    }
    return false;
}

Serializable* ObjectFactoryCentral::Create(int id) const {
    for (const std::unique_ptr<ObjectFactory>& factory : m_Factories) {
        if (factory->CanCreate(id)) {
            return factory->Create(id);
        }
    }
    return nullptr;
}

int ObjectFactoryCentral::TypeIdOf(const char* typeName) const {
    for (const std::unique_ptr<ObjectFactory>& factory : m_Factories) {
        const int id = factory->TypeIdOf(typeName);
        if (id > 0) {
            return id;
        }
    }
    return 0;
}

const char* ObjectFactoryCentral::TypeNameOf(int id) const {
    for (const std::unique_ptr<ObjectFactory>& factory : m_Factories) {
        if (factory->CanCreate(id)) {
            const char* name = factory->TypeNameOf(id);
            return name != nullptr ? name : "";
        }
    }
    return "";
}

}  // namespace sme
