// Feeds arbitrary bytes through the binary storage buffer's read side, reading records until a
// read fails as playback of a recording does, then writes what was read back out.
#include "FuzzRecord.h"
#include "serializeme/BinaryStorageBuffer.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    sme::BinaryStorageBuffer reader(false);
    reader.SetData(std::string(reinterpret_cast<const char*>(data), size));
    fuzzing::Record last;
    // Every record read takes at least its 8-byte header, so this loop ends with the data.
    for (;;) {
        fuzzing::Record record;
        if (!reader.ReadObject(nullptr, record)) {
            break;
        }
        last.text = record.text;
        last.words = record.words;
        last.points = record.points;
    }
    sme::BinaryStorageBuffer writer(true);
    writer.WriteObject(nullptr, last);
    return 0;
}
