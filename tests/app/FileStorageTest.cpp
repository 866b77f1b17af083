#include "app/FileStorage.h"

#include "VirtualFolders.h"
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

TEST_F(FileStorageTest, the_binary_twin_is_read_when_it_exists) {
    WriteFile(GameDir() / "rec.xml", kXml);
    WriteFile(GameDir() / "rec.xml.bin", BinaryTicks({7, 8, 9}));
    FileStorage storage("rec.xml", false);
    EXPECT_TRUE(storage.UsesBinary());
    EXPECT_EQ(&storage.GetBuffer(), &storage.GetBinary());
    EXPECT_EQ(ReadAll(storage.GetBuffer()), (std::vector<int32_t>{7, 8, 9}));
}

TEST_F(FileStorageTest, the_xml_file_is_read_when_there_is_no_binary_twin) {
    WriteFile(GameDir() / "rec.xml", kXml);
    FileStorage storage("rec.xml", false);
    EXPECT_FALSE(storage.UsesBinary());
    EXPECT_EQ(&storage.GetBuffer(), &storage.GetXml());
    EXPECT_EQ(ReadAll(storage.GetBuffer()), (std::vector<int32_t>{1, 2}));
}

TEST_F(FileStorageTest, a_truncated_binary_twin_ends_the_records_at_the_cut) {
    std::string bytes = BinaryTicks({7, 8, 9});
    bytes.resize(bytes.size() - 2);
    WriteFile(GameDir() / "cut.xml.bin", bytes);
    FileStorage storage("cut.xml", false);
    EXPECT_EQ(ReadAll(storage.GetBuffer()), (std::vector<int32_t>{7, 8}));
}

TEST_F(FileStorageTest, an_oversized_binary_twin_falls_back_to_the_xml_file) {
    WriteFile(GameDir() / "big.xml", kXml);
    WriteFile(GameDir() / "big.xml.bin", std::string(10000001, '\0'));
    FileStorage storage("big.xml", false);
    EXPECT_FALSE(storage.UsesBinary());
    EXPECT_EQ(ReadAll(storage.GetBuffer()), (std::vector<int32_t>{1, 2}));
}

TEST_F(FileStorageTest, without_any_file_nothing_is_read_and_a_writing_storage_starts_empty) {
    FileStorage missing("none.xml", false);
    EXPECT_FALSE(missing.UsesBinary());
    EXPECT_TRUE(ReadAll(missing.GetBuffer()).empty());

    WriteFile(GameDir() / "rec.xml.bin", BinaryTicks({7}));
    FileStorage writing("rec.xml", true);
    EXPECT_TRUE(writing.UsesBinary());
    EXPECT_TRUE(writing.GetBinary().GetData().empty());
    EXPECT_TRUE(writing.GetBuffer().IsWriting());
}
