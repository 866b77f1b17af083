#pragma once

#include <tinyxml.h>

#include <string>

namespace sme {
class Serializable;
}
struct VirtualFile;

// One XML file read whole through the virtual file system (PhysFS) and parsed, with its root
// element. It is also the document that is filled and saved when the game writes a file.
class ResourceXml {
public:
    // The largest file that is read, in bytes.
    static constexpr long long kMaxFileSize = 10000000;

    // Reads and parses the file. A missing, oversized, unreadable or unparsable file leaves a
    // valid object without a root; all but a missing file are logged.
    explicit ResourceXml(const std::string& fileName);
    // Parses the file as read already under that name, as the constructor above does.
    ResourceXml(const std::string& fileName, const VirtualFile& file);
    virtual ~ResourceXml() = default;
    ResourceXml(const ResourceXml&) = delete;
    ResourceXml& operator=(const ResourceXml&) = delete;

    // The document's first element, or null when the file could not be had.
    TiXmlElement* GetRoot() const { return m_Root; }
    const TiXmlDocument& GetDocument() const { return m_Document; }
    // Whether the file began with the UTF-8 byte order mark; a save then writes it again.
    bool HasBom() const { return m_HasBom; }

    // Makes a deep copy of the element, renamed "resource", the document's only content, and
    // the new root. The first step of every save.
    void SetRoot(const TiXmlElement* element);
    // Writes the document to the file it was read from, through the current file-access proxy
    // (the write directory of the virtual file system). False, logged, when it failed; the old
    // file is then kept.
    bool Save() const;

private:
    // The document's first element; it belongs to the document.
    TiXmlElement* m_Root = nullptr;
    // The parsed document; its value is the file name.
    TiXmlDocument m_Document;
    bool m_HasBom = false;
};

// Reads one record out of a file: the root's child element named by the key (ignoring letter
// case; an unnamed key takes the first child element). A missing file or element leaves the
// record as it was.
void LoadXmlObject(sme::Serializable& record, const std::string& fileName, const char* key);
// Reads the record out of a file read and parsed already, as above.
void LoadXmlObject(sme::Serializable& record, const ResourceXml& resource, const char* key);

// Saves one record as the only child of the element "resource", stored under the key, keeping
// the byte order mark of a file of that name that the virtual file system finds. False, logged,
// when the file could not be written; the old file is then kept.
bool SaveXmlObject(sme::Serializable& record, const std::string& fileName, const char* key);
