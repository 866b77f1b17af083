#include "serializeme/XmlStorageBuffer.h"

#include "serializeme/ObjectFactoryCentral.h"
#include "serializeme/Serializable.h"
#include "serializeme/ValueText.h"

namespace sme {

XmlStorageBuffer::XmlStorageBuffer(bool writing)
    : StorageBuffer(writing), m_Root(std::make_unique<TiXmlElement>("")), m_Current(m_Root.get()) {}

void XmlStorageBuffer::SetRoot(const TiXmlNode* node) {
    m_Root.reset();
    m_Current = nullptr;
    m_Cursor = nullptr;
    m_ArrayMode = false;
    const TiXmlElement* element = node != nullptr ? node->ToElement() : nullptr;
    if (element == nullptr) {
        return;
    }
    m_Root.reset(static_cast<TiXmlElement*>(element->Clone()));
    m_Current = m_Root.get();
    m_Cursor = m_Root->FirstChildElement();
}

TiXmlElement* XmlStorageBuffer::ReleaseRoot() {
    m_Current = nullptr;
    m_Cursor = nullptr;
    return m_Root.release();
}

TiXmlElement* XmlStorageBuffer::FindChildByName(TiXmlElement* element, const char* key) {
    if (element == nullptr || key == nullptr) {
        return nullptr;
    }
    for (TiXmlElement* child = element->FirstChildElement(); child != nullptr; child = child->NextSiblingElement()) {
        const char* name = child->Attribute("name");
        if (ValueText::EqualsIgnoringCase(name != nullptr ? name : "", key)) {
            return child;
        }
    }
    return nullptr;
}

TiXmlElement* XmlStorageBuffer::WriteRecordElement(Serializable& object) {
    XmlStorageBuffer writer(true);
    object.Serialize(writer);
    return writer.ReleaseRoot();
}

// Writing

void XmlStorageBuffer::WriteText(const char* key, const std::string& text) {
    if (m_Current == nullptr) {
        return;
    }
    if (m_ArrayMode) {
        TiXmlElement* element = new TiXmlElement("element");
        if (key != nullptr) {
            element->SetAttribute("name", key);
        }
        element->SetAttribute("value", text.c_str());
        m_Current->LinkEndChild(element);
    } else if (key != nullptr) {
        m_Current->SetAttribute(key, text.c_str());
    }
}

void XmlStorageBuffer::WriteString(const char* key, const std::string& value) {
    // The text ends at the first NUL, as a C string would.
    WriteText(key, std::string(value.c_str()));
}

void XmlStorageBuffer::WriteFloat(const char* key, float value) {
    WriteText(key, ValueText::FormatFloat(value));
}

void XmlStorageBuffer::WriteByte(const char* key, uint8_t value) {
    WriteText(key, ValueText::FormatUInt(value));
}

void XmlStorageBuffer::WriteUInt(const char* key, uint32_t value) {
    WriteText(key, ValueText::FormatUInt(value));
}

void XmlStorageBuffer::WriteInt(const char* key, int32_t value) {
    WriteText(key, ValueText::FormatInt(value));
}

void XmlStorageBuffer::WriteBool(const char* key, bool value) {
    WriteText(key, ValueText::FormatBool(value));
}

void XmlStorageBuffer::WriteFlags(const char* key, uint32_t value, const FlagName* names, int count) {
    WriteText(key, ValueText::FormatFlags(value, names, count));
}

void XmlStorageBuffer::WriteObject(const char* key, Serializable& object) {
    if (m_Current == nullptr) {
        return;
    }
    TiXmlElement* element = WriteRecordElement(object);
    element->SetValue(object.TypeName());
    if (key != nullptr) {
        element->SetAttribute("name", key);
    }
    m_Current->LinkEndChild(element);
}

void XmlStorageBuffer::WriteObjectPointer(const char* key, const Serializable* object) {
    if (m_Current == nullptr) {
        return;
    }
    if (object != nullptr) {
        // Writing never changes the record; the one operation that serialises both ways is
        // simply not const.
        WriteObject(key, const_cast<Serializable&>(*object));
        return;
    }
    TiXmlElement* element = new TiXmlElement(ObjectFactoryCentral::GetInstance().TypeNameOf(1));
    if (key != nullptr) {
        element->SetAttribute("name", key);
    }
    element->SetAttribute("isnull", "true");
    m_Current->LinkEndChild(element);
}

void XmlStorageBuffer::WriteObjectVector(const char* key, const std::vector<Serializable*>& objects) {
    if (m_Current == nullptr) {
        return;
    }
    TiXmlElement* array = new TiXmlElement("array");
    if (key != nullptr) {
        array->SetAttribute("name", key);
    }
    const ObjectFactoryCentral& factories = ObjectFactoryCentral::GetInstance();
    for (Serializable* object : objects) {
        if (object == nullptr) {
            continue;
        }
        TiXmlElement* element = WriteRecordElement(*object);
        element->SetValue(factories.TypeNameOf(object->TypeId()));
        array->LinkEndChild(element);
    }
    m_Current->LinkEndChild(array);
}

void XmlStorageBuffer::BeginWriteArray(const char* key, uint32_t) {
    if (m_Current == nullptr) {
        return;
    }
    TiXmlElement* array = new TiXmlElement("array");
    if (key != nullptr) {
        array->SetAttribute("name", key);
    }
    m_Current->LinkEndChild(array);
    m_Current = array;
    m_ArrayMode = true;
}

void XmlStorageBuffer::EndWriteArray() {
    // Never climbs above the root: a stray end leaves the buffer where it is.
    if (m_Current == nullptr || m_Current == m_Root.get()) {
        return;
    }
    m_Current = m_Current->Parent()->ToElement();
    m_ArrayMode = false;
}

// Reading

const char* XmlStorageBuffer::ReadText(const char* key) {
    if (m_Current == nullptr) {
        return nullptr;
    }
    if (!m_ArrayMode) {
        return key != nullptr ? m_Current->Attribute(key) : nullptr;
    }
    if (m_Cursor == nullptr) {
        return nullptr;
    }
    if (key == nullptr) {
        const char* text = m_Cursor->Attribute("value");
        m_Cursor = m_Cursor->NextSiblingElement();
        return text;
    }
    const TiXmlElement* element = FindChildByName(m_Current, key);
    return element != nullptr ? element->Attribute("value") : nullptr;
}

bool XmlStorageBuffer::ReadString(const char* key, std::string& value) {
    const char* text = ReadText(key);
    if (text == nullptr) {
        return false;
    }
    value = text;
    return true;
}

bool XmlStorageBuffer::ReadFloat(const char* key, float& value) {
    const char* text = ReadText(key);
    if (text == nullptr) {
        return false;
    }
    value = ValueText::ParseFloat(text);
    return true;
}

bool XmlStorageBuffer::ReadByte(const char* key, uint8_t& value) {
    const char* text = ReadText(key);
    if (text == nullptr) {
        return false;
    }
    // Only the low 8 bits of the number are kept; a text without a number keeps the value.
    uint32_t number = 0;
    if (ValueText::ParseUInt(text, number)) {
        value = static_cast<uint8_t>(number & 0xFF);
    }
    return true;
}

bool XmlStorageBuffer::ReadUInt(const char* key, uint32_t& value) {
    const char* text = ReadText(key);
    if (text == nullptr) {
        return false;
    }
    ValueText::ParseUInt(text, value);
    return true;
}

bool XmlStorageBuffer::ReadInt(const char* key, int32_t& value) {
    const char* text = ReadText(key);
    if (text == nullptr) {
        return false;
    }
    ValueText::ParseInt(text, value);
    return true;
}

bool XmlStorageBuffer::ReadBool(const char* key, bool& value) {
    const char* text = ReadText(key);
    if (text == nullptr) {
        return false;
    }
    value = ValueText::ParseBool(text);
    return true;
}

bool XmlStorageBuffer::ReadFlags(const char* key, uint32_t& value, const FlagName* names, int count) {
    const char* text = ReadText(key);
    if (text == nullptr) {
        return false;
    }
    value = ValueText::ParseFlags(text, names, count);
    return true;
}

TiXmlElement* XmlStorageBuffer::TakeObjectElement(const char* key) {
    if (key != nullptr) {
        return FindChildByName(m_Current, key);
    }
    TiXmlElement* element = m_Cursor;
    if (m_Cursor != nullptr) {
        m_Cursor = m_Cursor->NextSiblingElement();
    }
    return element;
}

bool XmlStorageBuffer::ReadObject(const char* key, Serializable& object) {
    if (m_Current == nullptr) {
        return false;
    }
    const TiXmlElement* element = TakeObjectElement(key);
    if (element == nullptr) {
        return false;
    }
    XmlStorageBuffer reader(false);
    reader.SetRoot(element);
    return object.Serialize(reader);
}

bool XmlStorageBuffer::ReadObjectPointer(const char* key, Serializable*& object) {
    if (m_Current == nullptr) {
        return false;
    }
    const TiXmlElement* element = TakeObjectElement(key);
    if (element == nullptr) {
        return false;
    }
    const ObjectFactoryCentral& factories = ObjectFactoryCentral::GetInstance();
    const char* isNull = element->Attribute("isnull");
    const int id = factories.TypeIdOf(element->Value());
    // A stored null pointer (and a type the registry marks as none) reads back as null.
    if ((isNull != nullptr && std::string(isNull) == "true") || id < 0) {
        delete object;
        object = nullptr;
        return true;
    }
    if (object != nullptr) {
        if (object->TypeId() != id) {
            return false;
        }
    } else {
        object = factories.Create(id);
        if (object == nullptr) {
            return false;
        }
    }
    XmlStorageBuffer reader(false);
    reader.SetRoot(element);
    return object->Serialize(reader);
}

bool XmlStorageBuffer::ReadObjectVector(const char* key, std::vector<Serializable*>& objects) {
    const TiXmlElement* array = FindChildByName(m_Current, key);
    if (array == nullptr) {
        return false;
    }
    const ObjectFactoryCentral& factories = ObjectFactoryCentral::GetInstance();
    for (const TiXmlElement* child = array->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        Serializable* object = factories.Create(factories.TypeIdOf(child->Value()));
        if (object == nullptr) {
            return false;
        }
        XmlStorageBuffer reader(false);
        reader.SetRoot(child);
        object->Serialize(reader);
        objects.push_back(object);
    }
    return true;
}

uint32_t XmlStorageBuffer::BeginReadArray(const char* key) {
    TiXmlElement* array = FindChildByName(m_Current, key);
    if (array == nullptr) {
        return 0;
    }
    uint32_t count = 0;
    for (const TiXmlElement* child = array->FirstChildElement(); child != nullptr;
         child = child->NextSiblingElement()) {
        ++count;
    }
    m_Current = array;
    m_Cursor = array->FirstChildElement();
    m_ArrayMode = true;
    return count;
}

void XmlStorageBuffer::EndReadArray() {
    if (m_Current == nullptr || !m_ArrayMode || m_Current == m_Root.get()) {
        return;
    }
    m_Current = m_Current->Parent()->ToElement();
    m_Cursor = nullptr;
    m_ArrayMode = false;
}

}  // namespace sme
