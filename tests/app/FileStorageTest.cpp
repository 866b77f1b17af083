#include "VirtualFolders.h"
#include "app/FileStorage.h"
#include "serializeme/Serializable.h"
#include "serializeme/StorageBuffer.h"

#include <gtest/gtest.h>

using testing_support::WriteFile;

namespace {

// A recorded-event-like record: one integer.
class Tick : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override {
        if (buffer.IsWriting()) {
            buffer.WriteInt("value", value);
        } else {
            buffer.ReadInt("value", value);
        }
        return true;
    }
    const char* TypeName() const override { return "tick"; }

    int32_t value = 0;
};

// Reads unnamed records until one fails, as playback does.
std::vector<int32_t> ReadAll(sme::StorageBuffer& buffer) {
    std::vector<int32_t> values;
    Tick tick;
    while (values.size() < 100 && buffer.ReadObject(nullptr, tick)) {
        values.push_back(tick.value);
    }
    return values;
}

std::string BinaryTicks(std::initializer_list<int32_t> values) {
    sme::BinaryStorageBuffer writer(true);
    for (int32_t v : values) {
        Tick tick;
        tick.value = v;
        writer.WriteObject(nullptr, tick);
    }
    return writer.GetData();
}

class FileStorageTest : public VirtualFolders {};

const char* const kXml = "<resource><tick value=\"1\"/><tick value=\"2\"/></resource>";

}  // namespace

// The ".bin" twin is read when it exists and is of a sane size, else the XML file; a truncated
// twin ends the records at the cut.
TEST_F(FileStorageTest, the_binary_twin_is_preferred_to_the_xml_file) {
    std::string cut = BinaryTicks({7, 8, 9});
    cut.resize(cut.size() - 2);
    const struct {
        const char* xml;     // null: no XML file
        std::string binary;  // empty: no twin
        bool usesBinary;
        std::vector<int32_t> values;
    } rows[] = {{kXml, BinaryTicks({7, 8, 9}), true, {7, 8, 9}},
                {kXml, "", false, {1, 2}},
                {nullptr, cut, true, {7, 8}},
                {kXml, std::string(10000001, '\0'), false, {1, 2}},
                {nullptr, "", false, {}}};
    for (size_t i = 0; i < std::size(rows); ++i) {
        const std::string name = "rec" + std::to_string(i) + ".xml";
        if (rows[i].xml) {
            WriteFile(GameDir() / name, rows[i].xml);
        }
        if (!rows[i].binary.empty()) {
            WriteFile(GameDir() / (name + ".bin"), rows[i].binary);
        }
        FileStorage storage(name, false);
        EXPECT_EQ(storage.UsesBinary(), rows[i].usesBinary) << "row " << i;
        EXPECT_EQ(ReadAll(storage.GetBuffer()), rows[i].values) << "row " << i;
    }
}

TEST_F(FileStorageTest, a_writing_storage_starts_empty) {
    WriteFile(GameDir() / "rec.xml.bin", BinaryTicks({7}));
    FileStorage writing("rec.xml", true);
    EXPECT_TRUE(writing.UsesBinary());
    EXPECT_TRUE(writing.GetBinary().GetData().empty());
    EXPECT_TRUE(writing.GetBuffer().IsWriting());
}
