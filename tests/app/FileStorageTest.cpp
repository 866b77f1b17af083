#include "VirtualFolders.h"
#include "app/FileStorage.h"
#include "app/StoredEvent.h"

#include <gtest/gtest.h>

namespace {

// Reads unnamed records until one fails, as playback does; their codes.
std::vector<uint32_t> ReadAll(sme::StorageBuffer& buffer) {
    std::vector<uint32_t> codes;
    StoredEvent event;
    while (codes.size() < 100 && buffer.ReadObject(nullptr, event)) {
        codes.push_back(event.code);
    }
    return codes;
}

std::string Binary(std::initializer_list<uint32_t> codes) {
    sme::BinaryStorageBuffer writer(true);
    for (uint32_t code : codes) {
        StoredEvent event(StoredEvent::kKeyPressed, code, 0.0f);
        writer.WriteObject(nullptr, event);
    }
    return writer.GetData();
}

class FileStorageTest : public VirtualFolders {};

}  // namespace

// The ".bin" twin is read when it exists and is of a sane size, else the XML file; a truncated
// twin ends the records at the cut. A writing storage starts empty even when a twin exists.
TEST_F(FileStorageTest, the_binary_twin_is_preferred_to_the_xml_file) {
    const char* const xml = "<resource><event type='2' code='1'/><event type='2' code='2'/></resource>";
    std::string cut = Binary({7, 8, 9});
    cut.resize(cut.size() - 2);
    const struct {
        const char* xml;     // null: no XML file
        std::string binary;  // empty: no twin
        bool usesBinary;
        std::vector<uint32_t> codes;
    } rows[] = {{xml, Binary({7, 8, 9}), true, {7, 8, 9}},
                {xml, "", false, {1, 2}},
                {nullptr, cut, true, {7, 8}},
                {xml, std::string(10000001, '\0'), false, {1, 2}},
                {nullptr, "", false, {}}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        const std::string name = "rec" + std::to_string(i) + ".xml";
        if (rows[i].xml) {
            testing_support::WriteFile(GameDir() / name, rows[i].xml);
        }
        if (!rows[i].binary.empty()) {
            testing_support::WriteFile(GameDir() / (name + ".bin"), rows[i].binary);
        }
        FileStorage storage(name, false);
        EXPECT_EQ(storage.UsesBinary(), rows[i].usesBinary) << "row " << i;
        EXPECT_EQ(ReadAll(storage.GetBuffer()), rows[i].codes) << "row " << i;
    }
    FileStorage writing("rec0.xml", true);
    EXPECT_TRUE(writing.UsesBinary());
    EXPECT_TRUE(writing.GetBinary().GetData().empty());
    EXPECT_TRUE(writing.GetBuffer().IsWriting());
}
