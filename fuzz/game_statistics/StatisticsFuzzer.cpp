// Arbitrary text as a statistics file: what was read, written out as the game saves it and read
// again, comes back the same, entry for entry, whatever the entries held.
#include "app/XmlFileOutput.h"
#include "game/StatisticsFile.h"
#include "serializeme/XmlTextParser.h"

#include <tinyxml.h>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool Same(const GamePlayerStatistics& a, const GamePlayerStatistics& b) {
    return a.playerId == b.playerId && a.score == b.score && a.numShots == b.numShots;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    TiXmlDocument document;
    if (!sme::XmlTextParser::Parse(document, text.c_str())) {
        return 0;
    }
    std::vector<GameStatistics> records;
    if (!ReadStatistics(document.RootElement(), records)) {
        Check(records.empty());
        return 0;
    }
    TiXmlDocument written;
    WriteStatistics(records, written);
    TiXmlDocument reread;
    Check(sme::XmlTextParser::Parse(reread, XmlFileOutput::Print(written, false).c_str()));
    std::vector<GameStatistics> again;
    Check(ReadStatistics(reread.RootElement(), again));
    Check(again.size() == records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        Check(again[i].winner == records[i].winner);
        Check(Same(again[i].player1, records[i].player1));
        Check(Same(again[i].player2, records[i].player2));
    }
    return 0;
}
