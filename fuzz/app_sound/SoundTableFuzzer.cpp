// Reads arbitrary text as "data/sounds.xml" is read, takes it as the sound manager's table, gives
// bodies every kind the table names, and asks for the collision effect of every pair of them at
// impulses around each entry's range. Nothing is played, so no audio device or file is needed.
#include "app/GameRandom.h"
#include "app/SoundManager.h"
#include "serializeme/XmlStorageBuffer.h"
#include "serializeme/XmlTextParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

// At most this many bodies get kinds; the pairs of them are all asked about.
constexpr size_t kMaxBodies = 8;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static GameRandom random(1);

    const std::string text(reinterpret_cast<const char*>(data), size);
    TiXmlDocument document;
    if (!sme::XmlTextParser::Parse(document, text.c_str()) || document.RootElement() == nullptr) {
        return 0;
    }
    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(document.RootElement());
    SoundManagerData table;
    reader.ReadObject(nullptr, table);

    SoundManager manager(random);
    manager.SetData(table);
    // Bodies are keys only: addresses inside this array stand for them.
    static const char bodies[kMaxBodies + 1] = {};
    size_t bodyCount = 0;
    for (const SoundManagerData::BodyType& kind : table.m_BodyTypes) {
        if (bodyCount == kMaxBodies) {
            break;
        }
        manager.SetBodyType(reinterpret_cast<const b2Body*>(&bodies[bodyCount]), kind.m_Name);
        ++bodyCount;
    }
    // One more body that never gets a kind, and so counts as "default".
    ++bodyCount;
    for (const SoundManagerData::CollisionType& type : table.m_CollisionTypes) {
        SoundManager::FormatFileName(type.m_FileNamePattern, type.m_IndexMin);
        for (float impulse : {type.m_ImpulseMin, type.m_ImpulseMax, 0.5f * (type.m_ImpulseMin + type.m_ImpulseMax)}) {
            for (size_t a = 0; a < bodyCount; ++a) {
                for (size_t b = 0; b < bodyCount; ++b) {
                    std::optional<CollisionChoice> choice =
                        manager.ChooseCollision(reinterpret_cast<const b2Body*>(&bodies[a]),
                                                reinterpret_cast<const b2Body*>(&bodies[b]), impulse);
                    // A chosen effect has a volume from 0 to 1.
                    if (choice && !(choice->volume >= 0.0f && choice->volume <= 1.0f)) {
                        std::abort();
                    }
                }
            }
        }
    }
    return 0;
}
