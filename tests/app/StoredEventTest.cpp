#include "app/StoredEvent.h"
#include "serializeme/BinaryStorageBuffer.h"
#include "serializeme/XmlStorageBuffer.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace {

std::vector<StoredEvent> Samples() {
    StoredEvent snapshot(StoredEvent::kSnapshot, 0, 0.0f);
    snapshot.data = {Vec2Data(1.5f, -2.0f), Vec2Data(0.0f, 3.25f)};
    snapshot.data2 = {Vec2Data(-0.5f, 0.0f), Vec2Data(7.0f, 8.0f)};
    return {StoredEvent(StoredEvent::kFrame, 0, 0.02f),           StoredEvent(StoredEvent::kKeyPressed, 122, 0.0f),
            StoredEvent(StoredEvent::kKeyReleased, 293, 0.0f),    StoredEvent(StoredEvent::kJoyMoved, 6, 270.0f),
            StoredEvent(StoredEvent::kJoyButtonPressed, 7, 0.0f), snapshot};
}

// Every member of the record, for exact comparison.
auto Members(const StoredEvent& e) {
    return std::tuple(e.type, e.code, e.value, e.data, e.data2);
}

// The attribute names of a record written as XML, in order.
std::vector<std::string> XmlKeys(StoredEvent event) {
    sme::XmlStorageBuffer writer(true);
    writer.WriteObject(nullptr, event);
    std::vector<std::string> keys;
    const TiXmlElement* element = writer.GetRoot()->FirstChildElement("event");
    for (const TiXmlAttribute* a = element->FirstAttribute(); a != nullptr; a = a->Next()) {
        keys.push_back(a->Name());
    }
    for (const TiXmlElement* child = element->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        keys.push_back(std::string(child->Value()) + ":" + child->Attribute("name"));
    }
    return keys;
}

}  // namespace

// Frames store their length, keys and buttons their code, moves their axis and position,
// snapshots their two arrays; unknown types store the type alone.
TEST(StoredEvent, each_type_stores_only_its_own_keys) {
    using Keys = std::vector<std::string>;
    const std::vector<StoredEvent> samples = Samples();
    const Keys expected[] = {{"type", "value"},         {"type", "code"}, {"type", "code"},
                             {"type", "code", "value"}, {"type", "code"}, {"type", "array:data", "array:data2"}};
    for (size_t i = 0; i < samples.size(); ++i) {
        EXPECT_EQ(XmlKeys(samples[i]), expected[i]) << "type " << samples[i].type;
    }
    EXPECT_EQ(XmlKeys(StoredEvent(9, 5, 1.0f)), (Keys{"type"}));
}

TEST(StoredEvent, every_type_round_trips_through_xml_and_binary) {
    std::vector<StoredEvent> samples = Samples();
    sme::XmlStorageBuffer xml(true);
    sme::BinaryStorageBuffer binary(true);
    for (StoredEvent& event : samples) {
        xml.WriteObject(nullptr, event);
        binary.WriteObject(nullptr, event);
    }
    sme::XmlStorageBuffer xmlReader(false);
    xmlReader.SetRoot(xml.GetRoot());
    sme::BinaryStorageBuffer binaryReader(false);
    binaryReader.SetData(binary.GetData());
    for (sme::StorageBuffer* reader : std::initializer_list<sme::StorageBuffer*>{&xmlReader, &binaryReader}) {
        for (const StoredEvent& written : samples) {
            StoredEvent read;
            ASSERT_TRUE(reader->ReadObject(nullptr, read));
            EXPECT_EQ(Members(read), Members(written)) << "type " << written.type;
        }
        StoredEvent past;
        EXPECT_FALSE(reader->ReadObject(nullptr, past));
    }
}
