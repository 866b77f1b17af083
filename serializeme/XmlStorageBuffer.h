#pragma once

#include "serializeme/StorageBuffer.h"

#include <tinyxml.h>

#include <memory>

namespace sme {

// The storage buffer over tinyxml elements. A record is one element whose tag is its type name;
// scalar members are attributes named by their keys; nested records are child elements that
// carry their key in the attribute "name"; lists are child elements "array" whose scalar
// elements are "element" children with the text in "value". Reading is forgiving: whatever is
// missing fails that one read and leaves the member as it was.
class XmlStorageBuffer : public StorageBuffer {
public:
    // Starts with an empty root element that values are written to and read from.
    explicit XmlStorageBuffer(bool writing);
    XmlStorageBuffer(const XmlStorageBuffer&) = delete;
    XmlStorageBuffer& operator=(const XmlStorageBuffer&) = delete;

    // Replaces the content with a deep copy of the element (a null node or one that is not an
    // element leaves a buffer that reads and writes nothing). Unnamed reads then take the
    // copy's child elements in document order.
    void SetRoot(const TiXmlNode* node);
    // The element that holds the buffer's content (null after SetRoot with nothing).
    TiXmlElement* GetRoot() const { return m_Root.get(); }

    // The first child element whose attribute "name" equals the key without regard to letter
    // case (an element without that attribute is named ""); null when there is none.
    static TiXmlElement* FindChildByName(TiXmlElement* element, const char* key);

    void WriteObjectVector(const char* key, const std::vector<Serializable*>& objects) override;
    void WriteObjectPointer(const char* key, const Serializable* object) override;
    void WriteObject(const char* key, Serializable& object) override;
    void WriteFlags(const char* key, uint32_t value, const FlagName* names, int count) override;
    void WriteString(const char* key, const std::string& value) override;
    void WriteFloat(const char* key, float value) override;
    void WriteByte(const char* key, uint8_t value) override;
    void WriteUInt(const char* key, uint32_t value) override;
    void WriteInt(const char* key, int32_t value) override;
    void WriteBool(const char* key, bool value) override;

    bool ReadObjectVector(const char* key, std::vector<Serializable*>& objects) override;
    bool ReadObjectPointer(const char* key, Serializable*& object) override;
    bool ReadObject(const char* key, Serializable& object) override;
    bool ReadFlags(const char* key, uint32_t& value, const FlagName* names, int count) override;
    bool ReadString(const char* key, std::string& value) override;
    bool ReadFloat(const char* key, float& value) override;
    bool ReadByte(const char* key, uint8_t& value) override;
    bool ReadUInt(const char* key, uint32_t& value) override;
    bool ReadInt(const char* key, int32_t& value) override;
    bool ReadBool(const char* key, bool& value) override;

    void BeginWriteArray(const char* key, uint32_t count) override;
    void EndWriteArray() override;
    uint32_t BeginReadArray(const char* key) override;
    void EndReadArray() override;

private:
    // Writes a scalar's text: an attribute, or an "element" child in array mode.
    void WriteText(const char* key, const std::string& text);
    // Finds a scalar's text; null when the read is to fail.
    const char* ReadText(const char* key);
    // The element of a nested record: by key, or the cursor element (the cursor moves on).
    TiXmlElement* TakeObjectElement(const char* key);
    // Serialises the record into a fresh writing buffer and returns that buffer's root, which
    // the caller then owns.
    static TiXmlElement* WriteRecordElement(Serializable& object);
    // Gives up ownership of the root, leaving a buffer that holds nothing.
    TiXmlElement* ReleaseRoot();

    // True between a begin-array and the matching end-array.
    bool m_ArrayMode = false;
    // The element that holds the buffer's content; owned.
    std::unique_ptr<TiXmlElement> m_Root;
    // The element that values go to and come from; null means the buffer holds nothing.
    TiXmlElement* m_Current = nullptr;
    // In reading, the child element that the next unnamed read takes.
    TiXmlElement* m_Cursor = nullptr;
};

}  // namespace sme
