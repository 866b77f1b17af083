#include "app/FileStorage.h"

#include "app/Log.h"
#include "app/ResourceXml.h"

#include <physfs.h>

FileStorage::FileStorage(const std::string& fileName, bool writing)
    : m_Writing(writing), m_Binary(writing), m_Xml(writing) {
    if (m_Writing || LoadBinary(fileName + ".bin")) {
        return;
    }
    m_UseBinary = false;
    const ResourceXml resource(fileName);
    m_Xml.SetRoot(resource.GetRoot());
}

bool FileStorage::LoadBinary(const std::string& binaryName) {
    PHYSFS_File* file = PHYSFS_openRead(binaryName.c_str());
    if (file == nullptr) {
        return false;
    }
    // The image is held in memory whole; its length is checked like an XML file's.
    const PHYSFS_sint64 length = PHYSFS_fileLength(file);
    if (length < 0 || length > ResourceXml::kMaxFileSize) {
        log_error("FileStorage: %s is not read: its length is %lld bytes (at most %lld)", binaryName.c_str(),
                  static_cast<long long>(length), ResourceXml::kMaxFileSize);
        PHYSFS_close(file);
        return false;
    }
    std::string data(static_cast<size_t>(length), '\0');
    const PHYSFS_sint64 read = PHYSFS_readBytes(file, data.data(), static_cast<PHYSFS_uint64>(length));
    PHYSFS_close(file);
    if (read != length) {
        log_error("FileStorage: cannot read %s", binaryName.c_str());
        return false;
    }
    m_Binary.SetData(std::move(data));
    return true;
}

sme::StorageBuffer& FileStorage::GetBuffer() {
    if (m_UseBinary) {
        return m_Binary;
    }
    return m_Xml;
}
