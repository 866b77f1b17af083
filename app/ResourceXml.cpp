#include "app/ResourceXml.h"

#include "app/Log.h"
#include "app/XmlFileOutput.h"
#include "serializeme/XmlStorageBuffer.h"
#include "serializeme/XmlTextParser.h"

#include <cstring>
#include <physfs.h>
#include <vector>

ResourceXml::ResourceXml(const std::string& fileName) : m_Document(fileName) {
    PHYSFS_File* file = PHYSFS_openRead(fileName.c_str());
    if (file == nullptr) {
        return;
    }
    const PHYSFS_sint64 length = PHYSFS_fileLength(file);
    if (length < 0 || length > kMaxFileSize) {
        log_error("ResourceXml: %s is not read: its length is %lld bytes (at most %lld)", fileName.c_str(),
                  static_cast<long long>(length), kMaxFileSize);
        PHYSFS_close(file);
        return;
    }
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    const PHYSFS_sint64 read = PHYSFS_readBytes(file, text.data(), static_cast<PHYSFS_uint64>(length));
    PHYSFS_close(file);
    if (read != length) {
        log_error("ResourceXml: cannot read %s", fileName.c_str());
        return;
    }
    m_HasBom = length >= 3 && std::memcmp(text.data(), "\xEF\xBB\xBF", 3) == 0;
    if (!sme::XmlTextParser::Parse(m_Document, text.data())) {
        log_error("ResourceXml: cannot parse %s: %s", fileName.c_str(),
                  m_Document.Error() ? m_Document.ErrorDesc() : "nesting too deep or broken UTF-8");
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
    const ResourceXml resource(fileName);
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
