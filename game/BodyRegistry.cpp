#include "game/BodyRegistry.h"

#include "game/PhysicsWorld.h"

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>

namespace {

struct Entry {
    std::unique_ptr<BodyRecord> record;
    const b2World* world;
    std::uint64_t order;
};

struct Registry {
    std::map<const b2Body*, Entry> entries;
    std::uint64_t nextOrder = 0;
};

// The registry and its signal are made once and never destroyed, so that game objects destroyed
// while the program exits (statics of tools and benchmarks among them) still find them.
Registry& TheRegistry() {
    static Registry& registry = *new Registry;
    return registry;
}

}  // namespace

b2Body* CreateRegisteredBody(PhysicsWorld& world, const b2BodyDef& def, const BodyRecord& pattern) {
    b2Body* body = world.CreateBody(def);
    if (body == nullptr) {
        return nullptr;
    }
    auto record = std::make_unique<BodyRecord>(pattern);
    record->alive = true;
    record->body = body;
    body->GetUserData().pointer = reinterpret_cast<std::uintptr_t>(record.get());

    Registry& registry = TheRegistry();
    auto it = registry.entries.find(body);
    if (it != registry.entries.end()) {
        // A body destroyed without being erased left its record at this address.
        registry.entries.erase(it);
    }
    registry.entries.emplace(body, Entry{std::move(record), body->GetWorld(), registry.nextOrder++});
    return body;
}

BodyRecord* FindBodyRecord(const b2Body* body) {
    const Registry& registry = TheRegistry();
    auto it = registry.entries.find(body);
    return it == registry.entries.end() ? nullptr : it->second.record.get();
}

void EraseBodyRecord(const b2Body* body) {
    Registry& registry = TheRegistry();
    auto it = registry.entries.find(body);
    if (it != registry.entries.end()) {
        registry.entries.erase(it);
    }
}

std::vector<BodyRecord*> RegisteredBodies(const b2World* world) {
    std::vector<const Entry*> entries;
    for (const auto& [body, entry] : TheRegistry().entries) {
        if (entry.world == world) {
            entries.push_back(&entry);
        }
    }
    std::sort(entries.begin(), entries.end(), [](const Entry* a, const Entry* b) { return a->order < b->order; });
    std::vector<BodyRecord*> records;
    records.reserve(entries.size());
    for (const Entry* entry : entries) {
        records.push_back(entry->record.get());
    }
    return records;
}

void EraseBodyRecords(const b2World* world) {
    Registry& registry = TheRegistry();
    std::erase_if(registry.entries, [world](const auto& item) { return item.second.world == world; });
}

sigslot::signal1<const b2Body*>& BodyRemovedSignal() {
    static auto& signal = *new sigslot::signal1<const b2Body*>;
    return signal;
}
