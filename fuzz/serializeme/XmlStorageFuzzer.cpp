// Feeds arbitrary text through the XML parse guard and the XML storage buffer's read side, then
// writes what was read back out.
#include "FuzzRecord.h"
#include "serializeme/XmlStorageBuffer.h"
#include "serializeme/XmlTextParser.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    TiXmlDocument document;
    if (!sme::XmlTextParser::Parse(document, text.c_str())) {
        return 0;
    }
    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(document.RootElement());

    fuzzing::Record named;
    reader.ReadObject("main", named);
    // Unnamed records in document order, as recordings are read; the children are finite.
    for (int i = 0; i < 64; ++i) {
        fuzzing::Record record;
        if (!reader.ReadObject(nullptr, record)) {
            break;
        }
    }
    const uint32_t count = reader.BeginReadArray("list");
    for (uint32_t i = 0; i <= count; ++i) {
        std::string value;
        reader.ReadString(i % 2 == 0 ? nullptr : "item", value);
    }
    reader.EndReadArray();

    sme::XmlStorageBuffer writer(true);
    writer.WriteObject("main", named);
    TiXmlPrinter printer;
    writer.GetRoot()->Accept(&printer);
    return 0;
}
