#include "SampleRecords.h"
#include "serializeme/XmlStorageBuffer.h"

#include <gtest/gtest.h>

#include <clocale>
#include <locale>

using sample::Compact;
using sample::WrittenXml;
using sample::XmlReader;
using sme::StorageBuffer;
using sme::XmlStorageBuffer;

TEST(XmlStorageBuffer, a_record_is_an_element_with_attributes_nested_records_and_arrays) {
    sample::Everything e = sample::FilledEverything();
    EXPECT_EQ(WrittenXml(e, "main"),
              "<everything text='Hello, &lt;world&gt; &amp; &quot;friends&quot;' number=\"-0.125\" byte=\"200\" "
              "count=\"4000000000\" offset=\"-2000000000\" enabled=\"true\" kinds=\"solid bullet\" name=\"main\">"
              "<point x=\"3\" y=\"-4\" name=\"corner\" />"
              "<array name=\"words\"><element value=\"\xCE\xB1\" /><element value=\"\" />"
              "<element value=\"two words\" /></array>"
              "<array name=\"points\"><point x=\"1\" y=\"2\" /><point x=\"-5\" y=\"6\" /></array>"
              "</everything>");
}

TEST(XmlStorageBuffer, scalar_writes_set_attributes_in_place_and_become_elements_inside_arrays) {
    sample::Scripted record([](StorageBuffer& b) {
        b.EndWriteArray();  // a stray end of array stays in the record
        b.WriteString("name", "inner");
        b.WriteInt("a", 1);
        b.WriteFlags("kinds", 0, sample::kFlagNames, 3);
        b.WriteInt("a", 3);  // keeps its place
        b.BeginWriteArray("list", 2);
        b.WriteInt("first", 1);
        b.WriteBool(nullptr, true);
        b.EndWriteArray();
    });
    const char* elements = "<array name=\"list\"><element name=\"first\" value=\"1\" /><element value=\"true\" />";
    EXPECT_EQ(WrittenXml(record, nullptr),
              std::string("<scalars name=\"inner\" a=\"3\" kinds=\"\">") + elements + "</array></scalars>");
    // Stored under a key, the record's own "name" attribute is replaced by the key.
    EXPECT_EQ(WrittenXml(record, "outer"),
              std::string("<scalars name=\"outer\" a=\"3\" kinds=\"\">") + elements + "</array></scalars>");
}

// Records and arrays are found by key in any letter case (attribute keys are exact), and a record
// keeps the defaults of the members it lacks.
TEST(XmlStorageBuffer, records_are_found_by_key_in_any_case_and_keep_the_defaults_of_missing_members) {
    XmlReader reader(
        "<r><everything name=\"main\" count=\"12\" /><thing name=\"M_CONTROLLERS\" X=\"5\" y=\"6\" />"
        "<array name=\"WORDS\"><element /></array></r>");
    sample::Everything e, defaults;
    defaults.count = 12;
    EXPECT_TRUE(reader->ReadObject("main", e));
    sample::ExpectSame(defaults, e);
    sample::Point p;
    EXPECT_TRUE(reader->ReadObject("m_Controllers", p));
    EXPECT_EQ(p, sample::Point(-1, 6));  // "X" is not "x"
    EXPECT_EQ(reader->BeginReadArray("words"), 1u);
}

TEST(XmlStorageBuffer, attribute_texts_read_as_the_value_table_says) {
    // Each row: the read of an attribute holding the text, into a target with a known start.
    const auto read = [](const char* text, auto start, auto method) {
        TiXmlElement element("r");
        element.SetAttribute("key", text);
        XmlStorageBuffer reader(false);
        reader.SetRoot(&element);
        return std::string(text) + ": " + sample::ReadOutcome(reader, "key", start, method);
    };
    const std::pair<std::string, const char*> cases[] = {
        {read("TRUE", false, &StorageBuffer::ReadBool), "TRUE: 1 1"},
        {read("2", false, &StorageBuffer::ReadBool), "2: 1 1"},
        {read("yes", true, &StorageBuffer::ReadBool), "yes: 1 0"},
        {read("300", uint8_t{9}, &StorageBuffer::ReadByte), "300: 1 44"},
        {read("many", uint8_t{9}, &StorageBuffer::ReadByte), "many: 1 9"},
        {read("x", 4u, &StorageBuffer::ReadUInt), "x: 1 4"},
        {read("-7", -4, &StorageBuffer::ReadInt), "-7: 1 -7"},
        {read("y", -4, &StorageBuffer::ReadInt), "y: 1 -4"},
        {read("0.5", 2.0f, &StorageBuffer::ReadFloat), "0.5: 1 0.5"},
        {read("z", 2.0f, &StorageBuffer::ReadFloat), "z: 1 0"},
        {read(" a b ", std::string(), &StorageBuffer::ReadString), " a b : 1  a b "},
    };
    for (const auto& [outcome, expected] : cases) {
        EXPECT_EQ(outcome, expected);
    }
    XmlReader reader("<r kinds=\"bullet solid\" />");
    uint32_t kinds = 99;
    EXPECT_TRUE(reader->ReadFlags("kinds", kinds, sample::kFlagNames, 3));
    EXPECT_EQ(kinds, 5u);
    // A missing attribute, or a scalar without a key outside an array, fails and changes nothing.
    for (const char* key : {"absent", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(sample::ReadOutcome(*reader, key, true, &StorageBuffer::ReadBool), "0 1");
        EXPECT_EQ(sample::ReadOutcome(*reader, key, uint8_t{9}, &StorageBuffer::ReadByte), "0 9");
        EXPECT_EQ(sample::ReadOutcome(*reader, key, 4u, &StorageBuffer::ReadUInt), "0 4");
        EXPECT_EQ(sample::ReadOutcome(*reader, key, -4, &StorageBuffer::ReadInt), "0 -4");
        EXPECT_EQ(sample::ReadOutcome(*reader, key, 2.0f, &StorageBuffer::ReadFloat), "0 2");
        EXPECT_EQ(sample::ReadOutcome(*reader, key, std::string("kept"), &StorageBuffer::ReadString), "0 kept");
        EXPECT_FALSE(reader->ReadFlags(key, kinds, sample::kFlagNames, 3));
        EXPECT_EQ(kinds, 5u);
    }
}

TEST(XmlStorageBuffer, unnamed_array_reads_take_the_elements_in_order_and_named_ones_search_in_place) {
    XmlReader reader(
        "<r><array name=\"list\"><element value=\"a\" /><element name=\"b\" />"
        "<element name=\"third\" value=\"c\" /></array><thing name=\"t\"><a /><b /></thing></r>");
    EXPECT_EQ(reader->BeginReadArray("absent"), 0u);
    ASSERT_EQ(reader->BeginReadArray("list"), 3u);
    std::string s = "unset";
    EXPECT_FALSE(reader->ReadString("fourth", s));
    EXPECT_TRUE(reader->ReadString("THIRD", s));  // found ignoring case; the cursor stays
    EXPECT_EQ(s, "c");
    EXPECT_TRUE(reader->ReadString(nullptr, s));
    EXPECT_EQ(s, "a");
    EXPECT_FALSE(reader->ReadString(nullptr, s));  // no "value": fails, the cursor still moves on
    EXPECT_TRUE(reader->ReadString(nullptr, s));
    EXPECT_EQ(s, "c");
    s = "unset";
    EXPECT_FALSE(reader->ReadString(nullptr, s));  // a fourth read
    EXPECT_FALSE(reader->ReadString("third", s));  // the cursor has run out
    EXPECT_EQ(s, "unset");
    reader->EndReadArray();
    EXPECT_EQ(reader->BeginReadArray("t"), 2u);  // a record element counts its children
}

TEST(XmlStorageBuffer, a_buffer_set_to_nothing_reads_and_writes_nothing) {
    TiXmlText text("not an element");
    for (const TiXmlNode* node : {static_cast<const TiXmlNode*>(nullptr), static_cast<const TiXmlNode*>(&text)}) {
        XmlStorageBuffer buffer(false);
        buffer.SetRoot(node);
        sample::Everything e;
        EXPECT_FALSE(buffer.ReadObject(nullptr, e));
        EXPECT_FALSE(buffer.ReadString("text", e.text));
        EXPECT_EQ(buffer.BeginReadArray("words"), 0u);
        buffer.EndReadArray();
        buffer.WriteInt("x", 1);
        buffer.WriteObject("e", e);
        buffer.BeginWriteArray("a", 1);
        buffer.EndWriteArray();
        EXPECT_EQ(buffer.GetRoot(), nullptr);
    }
}

TEST(XmlStorageBuffer, polymorphic_members_are_elements_tagged_by_the_registry_and_nulls_say_so) {
    XmlStorageBuffer writer(true);
    sample::Point p(1, 2);
    writer.WriteObjectPointer("missing", nullptr);
    writer.WriteObjectPointer("present", &p);
    writer.WriteObjectVector("list", {&p});
    EXPECT_EQ(Compact(writer.GetRoot()),
              "<>< name=\"missing\" isnull=\"true\" /><point x=\"1\" y=\"2\" name=\"present\" />"
              "<array name=\"list\">< x=\"1\" y=\"2\" /></array></>");
    XmlStorageBuffer reader(false);
    reader.SetRoot(writer.GetRoot());
    std::vector<sme::Serializable*> read;
    EXPECT_FALSE(reader.ReadObjectVector("absent", read));
}

// Numbers are written and read alike whatever the locale, even one with a decimal comma.
TEST(XmlStorageBuffer, every_value_kind_round_trips_through_a_reparsed_document_under_any_locale) {
    for (const char* name : {"C", "de_DE.UTF-8"}) {
        std::locale locale;
        try {
            locale = std::locale(name);
        } catch (const std::runtime_error&) {
            GTEST_SKIP() << name << " is not installed (scripts/install-deps.sh generates it)";
        }
        const std::locale oldGlobal = std::locale::global(locale);
        const std::string oldC = std::setlocale(LC_ALL, nullptr);
        std::setlocale(LC_ALL, name);
        sample::Everything original = sample::FilledEverything(), copy;
        original.number = 1234.5f;
        copy.words = {"stale", "list", "of", "four"};
        const std::string text = WrittenXml(original, nullptr);
        const bool read = sample::RoundTrip(sample::Format::Xml, original, copy);
        std::setlocale(LC_ALL, oldC.c_str());
        std::locale::global(oldGlobal);
        EXPECT_NE(text.find("number=\"1234.5\" byte=\"200\" count=\"4000000000\""), std::string::npos) << text;
        EXPECT_TRUE(read);
        sample::ExpectSame(original, copy);
    }
}
