#include "serializeme/VectorSerialization.h"

#include "SampleRecords.h"
#include "serializeme/BinaryStorageBuffer.h"
#include "serializeme/XmlStorageBuffer.h"
#include "serializeme/XmlTextParser.h"

#include <gtest/gtest.h>

namespace {

// A list followed by a scalar, to see where the buffer stands after the list.
class ListThenValue : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override {
        if (buffer.IsWriting()) {
            sme::WriteVector(buffer, "words", words);
            buffer.WriteInt("after", after);
        } else {
            listRead = sme::ReadVector(buffer, "words", words);
            buffer.ReadInt("after", after);
        }
        return true;
    }
    const char* TypeName() const override { return "listthenvalue"; }

    std::vector<std::string> words;
    int32_t after = 0;
    bool listRead = false;
};

bool ReadFromText(const char* text, ListThenValue& record) {
    TiXmlDocument document;
    EXPECT_TRUE(sme::XmlTextParser::Parse(document, text));
    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(document.RootElement());
    return reader.ReadObject(nullptr, record);
}

}  // namespace

TEST(VectorSerialization, an_absent_list_reads_as_empty_and_true) {
    ListThenValue record;
    record.words = {"old"};
    EXPECT_TRUE(ReadFromText("<r><listthenvalue after=\"4\" /></r>", record));
    EXPECT_TRUE(record.listRead);
    EXPECT_TRUE(record.words.empty());
    EXPECT_EQ(record.after, 4);
}

TEST(VectorSerialization, a_failing_element_gives_false_the_full_length_and_the_buffer_goes_on_after_the_list) {
    ListThenValue record;
    EXPECT_TRUE(ReadFromText("<r><listthenvalue after=\"4\"><array name=\"words\">"
                             "<element value=\"a\" /><element /><element value=\"c\" /></array></listthenvalue></r>",
                             record));
    EXPECT_FALSE(record.listRead);
    EXPECT_EQ(record.words, (std::vector<std::string>{"a", "", ""}));
    EXPECT_EQ(record.after, 4);
}

TEST(VectorSerialization, lists_of_strings_and_records_round_trip_through_both_buffers) {
    sample::Everything original = sample::FilledEverything();
    original.words = {"α", "two words", ""};
    original.points.assign(50, sample::Point(9, -9));

    sme::XmlStorageBuffer xmlWriter(true);
    sme::BinaryStorageBuffer binaryWriter(true);
    original.Serialize(xmlWriter);
    original.Serialize(binaryWriter);

    sme::XmlStorageBuffer xmlReader(false);
    xmlReader.SetRoot(xmlWriter.GetRoot());
    sme::BinaryStorageBuffer binaryReader(false);
    binaryReader.SetData(binaryWriter.GetData());
    sample::Everything fromXml, fromBinary;
    fromXml.words = {"stale"};
    fromXml.Serialize(xmlReader);
    fromBinary.Serialize(binaryReader);
    sample::ExpectSame(original, fromXml);
    sample::ExpectSame(original, fromBinary);
}
