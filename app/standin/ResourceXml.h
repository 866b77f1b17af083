#pragma once

#include <string>
#include <vector>

#include <physfs.h>
#include <tinyxml.h>

// Stand-in for the resource-file and record reading of "application.xml": reads the file
// through the virtual file system and takes the controller file names from the array
// "m_Controllers" of its first record.

namespace standin {

inline std::vector<std::string> ReadControllerFiles(const char* fileName) {
    std::vector<std::string> files;
    PHYSFS_File* file = PHYSFS_openRead(fileName);
    if (!file) {
        return files;
    }
    constexpr PHYSFS_sint64 kMaxLength = 10000000;
    PHYSFS_sint64 length = PHYSFS_fileLength(file);
    std::string text;
    if (length >= 0 && length <= kMaxLength) {
        text.resize(static_cast<size_t>(length));
        if (PHYSFS_readBytes(file, text.data(), static_cast<PHYSFS_uint64>(length)) != length) {
            text.clear();
        }
    }
    PHYSFS_close(file);

    TiXmlDocument document;
    document.Parse(text.c_str());
    const TiXmlElement* root = document.RootElement();
    const TiXmlElement* record = root ? root->FirstChildElement() : nullptr;
    for (const TiXmlElement* array = record ? record->FirstChildElement("array") : nullptr; array;
         array = array->NextSiblingElement("array")) {
        const char* name = array->Attribute("name");
        if (!name || std::string(name) != "m_Controllers") {
            continue;
        }
        for (const TiXmlElement* element = array->FirstChildElement("element"); element;
             element = element->NextSiblingElement("element")) {
            if (const char* value = element->Attribute("value")) {
                files.push_back(value);
            }
        }
        break;
    }
    return files;
}

}  // namespace standin
