#pragma once

#include "serializeme/BinaryStorageBuffer.h"
#include "serializeme/XmlStorageBuffer.h"

#include <string>

// The records of one file, for reading in order (recordings). A binary image of the file, named
// as the file with ".bin" appended, is preferred when the virtual file system has one; otherwise
// the XML file is read.
class FileStorage {
public:
    // Reads the file's records into the buffer they will be read from; a writing storage starts
    // with empty buffers.
    FileStorage(const std::string& fileName, bool writing);
    virtual ~FileStorage() = default;
    FileStorage(const FileStorage&) = delete;
    FileStorage& operator=(const FileStorage&) = delete;

    // Whether the records come from the binary image.
    bool UsesBinary() const { return m_UseBinary; }
    // The buffer the records are read from: the binary image's, else the XML file's.
    sme::StorageBuffer& GetBuffer();
    sme::BinaryStorageBuffer& GetBinary() { return m_Binary; }
    sme::XmlStorageBuffer& GetXml() { return m_Xml; }

private:
    // Reads the whole ".bin" image into the binary buffer; false when there is none to use.
    bool LoadBinary(const std::string& binaryName);

    bool m_Writing;
    bool m_UseBinary = true;
    sme::BinaryStorageBuffer m_Binary;
    sme::XmlStorageBuffer m_Xml;
};
