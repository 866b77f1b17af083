#include "app/FileStorage.h"

#include "app/Log.h"
#include "app/ResourceXml.h"
#include "app/VirtualFile.h"

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
    // The image is held in memory whole, so its length is checked like an XML file's: a huge
    // image, or one whose length cannot be told, is refused rather than allocated. The refusal
    // is logged, since the recording then plays from its XML file or not at all.
    VirtualFile file = VirtualFile::Load(binaryName, ResourceXml::kMaxFileSize);
    if (file.status == VirtualFile::TooLarge) {
        log_error("FileStorage::LoadBinary: %s is not read: its length is %lld bytes (at most %lld)",
                  binaryName.c_str(), file.length, ResourceXml::kMaxFileSize);
    } else if (file.status == VirtualFile::Unreadable) {
        log_error("FileStorage::LoadBinary: cannot read %s", binaryName.c_str());
    } else if (file.status == VirtualFile::NotRegular) {
        log_error("FileStorage::LoadBinary: %s is not read: it is not a regular file", binaryName.c_str());
    }
    if (file.status != VirtualFile::Read) {
        return false;
    }
    m_Binary.SetData(std::move(file.bytes));
    return true;
}

sme::StorageBuffer& FileStorage::GetBuffer() {
    if (m_UseBinary) {
        return m_Binary;
    }
    return m_Xml;
}
