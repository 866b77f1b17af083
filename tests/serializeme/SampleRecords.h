#pragma once

// Sample records and the tools that write and read them, for the storage tests.

#include "serializeme/BinaryStorageBuffer.h"
#include "serializeme/Serializable.h"
#include "serializeme/StorageBuffer.h"
#include "serializeme/VectorSerialization.h"
#include "serializeme/XmlStorageBuffer.h"
#include "serializeme/XmlTextParser.h"
#include "tests/serializeme/SampleRecordTypes.h"

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <sstream>
#include <string>
#include <tuple>
#include <type_traits>
#include <vector>

namespace sample {

// An Everything with a value other than its default in every member.
inline Everything FilledEverything() {
    Everything e;
    e.text = "Hello, <world> & \"friends\"";
    e.number = -0.125f;
    e.byte = 200;
    e.count = 4000000000u;
    e.offset = -2000000000;
    e.enabled = true;
    e.kinds = 5;
    e.corner = Point(3, -4);
    e.words = {"\xCE\xB1", "", "two words"};
    e.points = {Point(1, 2), Point(-5, 6)};
    return e;
}

// The members of an Everything, to compare two of them member by member.
inline auto Members(const Everything& e) {
    return std::tie(e.text, e.number, e.byte, e.count, e.offset, e.enabled, e.kinds, e.corner, e.words, e.points);
}

inline void ExpectSame(const Everything& a, const Everything& b) {
    EXPECT_EQ(Members(a), Members(b));
}

// A record whose Serialize makes exactly the given calls, for tests of one call sequence.
class Scripted : public sme::Serializable {
public:
    explicit Scripted(std::function<void(sme::StorageBuffer&)> calls) : m_Calls(std::move(calls)) {}
    bool Serialize(sme::StorageBuffer& buffer) override {
        m_Calls(buffer);
        return true;
    }
    const char* TypeName() const override { return "scalars"; }

private:
    std::function<void(sme::StorageBuffer&)> m_Calls;
};

// The node's XML as tinyxml prints it, on one line.
inline std::string Compact(const TiXmlNode* node) {
    TiXmlPrinter printer;
    printer.SetStreamPrinting();
    node->Accept(&printer);
    return printer.Str();
}

// The element that WriteObject makes of the record under the key, as text.
inline std::string WrittenXml(sme::Serializable& record, const char* key) {
    sme::XmlStorageBuffer writer(true);
    writer.WriteObject(key, record);
    return Compact(writer.GetRoot()->FirstChildElement());
}

// A reading buffer over the root element of a parsed text.
class XmlReader {
public:
    explicit XmlReader(const std::string& text) {
        EXPECT_TRUE(sme::XmlTextParser::Parse(m_Document, text.c_str())) << text;
        m_Buffer.SetRoot(m_Document.RootElement());
    }
    sme::XmlStorageBuffer& operator*() { return m_Buffer; }
    sme::XmlStorageBuffer* operator->() { return &m_Buffer; }

private:
    TiXmlDocument m_Document;
    sme::XmlStorageBuffer m_Buffer{false};
};

inline sme::BinaryStorageBuffer BinaryReader(const std::string& bytes) {
    sme::BinaryStorageBuffer reader(false);
    reader.SetData(bytes);
    return reader;
}

// Xml goes through a printed and re-parsed file, XmlTree hands the written elements straight
// to the reader (elements with an empty tag, as the empty registry gives, cannot be printed).
enum class Format { Xml, XmlTree, Binary };

inline const char* NameOf(Format format) {
    return format == Format::Xml ? "xml" : format == Format::XmlTree ? "xml tree" : "binary";
}

// Writes the record with its own Serialize and reads the result back into `copy`. Gives the
// result of copy's Serialize.
inline bool RoundTrip(Format format, sme::Serializable& original, sme::Serializable& copy) {
    if (format == Format::Binary) {
        sme::BinaryStorageBuffer writer(true);
        original.Serialize(writer);
        sme::BinaryStorageBuffer reader = BinaryReader(writer.GetData());
        return copy.Serialize(reader);
    }
    sme::XmlStorageBuffer writer(true);
    original.Serialize(writer);
    if (format == Format::XmlTree) {
        sme::XmlStorageBuffer reader(false);
        reader.SetRoot(writer.GetRoot());
        return copy.Serialize(reader);
    }
    writer.GetRoot()->SetValue("resource");
    TiXmlPrinter printer;
    writer.GetRoot()->Accept(&printer);
    XmlReader reader(printer.Str());
    return copy.Serialize(*reader);
}

// Reads one scalar under the key into a target that starts at `start` and tells the read's
// result and the target afterwards as one text ("1 5", "0 kept"), so that table rows of
// different value types compare alike.
template <class T>
std::string ReadOutcome(sme::StorageBuffer& buffer, const char* key, T start,
                        bool (sme::StorageBuffer::*read)(const char*, T&)) {
    T value = start;
    std::ostringstream text;
    text << (buffer.*read)(key, value) << ' ';
    if constexpr (std::is_arithmetic_v<T>) {
        text << +value;
    } else {
        text << value;
    }
    return text.str();
}

}  // namespace sample
