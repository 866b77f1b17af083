#include "app/ResourceXml.h"

#include "app/Log.h"
#include "app/VirtualFile.h"
#include "app/XmlFileOutput.h"
#include "serializeme/XmlStorageBuffer.h"
#include "serializeme/XmlTextParser.h"

// Files past kMaxFileSize are refused before anything is read, so that one file cannot take the
// game's memory.
ResourceXml::ResourceXml(const std::string& fileName)
    : ResourceXml(fileName, VirtualFile::Load(fileName, kMaxFileSize)) {}

// Every failure but a missing file is logged: a file that is there and still not used would
// otherwise be ignored without a trace, leaving a player or an author no clue why their settings or
// data do not apply.
ResourceXml::ResourceXml(const std::string& fileName, const VirtualFile& file) : m_Document(fileName) {
    if (file.status == VirtualFile::Missing) {
        return;
    }
    if (file.status == VirtualFile::TooLarge) {
        log_error("ResourceXml::ResourceXml: %s is not read: its length is %lld bytes (at most %lld)", fileName.c_str(),
                  file.length, kMaxFileSize);
        return;
    }
    if (file.status == VirtualFile::Unreadable) {
        log_error("ResourceXml::ResourceXml: cannot read %s", fileName.c_str());
        return;
    }
    if (file.status == VirtualFile::NotRegular) {
        log_error("ResourceXml::ResourceXml: %s is not read: it is not a regular file", fileName.c_str());
        return;
    }
    const std::string& text = file.bytes;
    m_HasBom = text.compare(0, 3, "\xEF\xBB\xBF") == 0;
    std::string error;
    if (!sme::XmlTextParser::Parse(m_Document, text.c_str(), &error)) {
        log_error("ResourceXml::ResourceXml: cannot parse %s: %s", fileName.c_str(), error.c_str());
        m_Document.ClearError();
        return;
    }
    m_Root = m_Document.FirstChildElement();
}

void ResourceXml::SetRoot(const TiXmlElement* element) {
    m_Document.Clear();
    m_Root = nullptr;
    if (element == nullptr) {
        return;
    }
    TiXmlElement* copy = static_cast<TiXmlElement*>(element->Clone());
    copy->SetValue("resource");
    m_Document.LinkEndChild(copy);
    m_Root = copy;
}

bool ResourceXml::Save() const {
    return XmlFileOutput::Save(m_Document, m_HasBom, m_Document.ValueStr());
}

void LoadXmlObject(sme::Serializable& record, const std::string& fileName, const char* key) {
    LoadXmlObject(record, ResourceXml(fileName), key);
}

void LoadXmlObject(sme::Serializable& record, const ResourceXml& resource, const char* key) {
    if (resource.GetRoot() == nullptr) {
        return;
    }
    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(resource.GetRoot());
    reader.ReadObject(key, record);
}

bool SaveXmlObject(sme::Serializable& record, const std::string& fileName, const char* key) {
    ResourceXml resource(fileName);
    sme::XmlStorageBuffer writer(true);
    writer.WriteObject(key, record);
    resource.SetRoot(writer.GetRoot());
    return resource.Save();
}
