#pragma once

#include <tinyxml.h>

#include <string>

// Writes tinyxml documents through the current file-access proxy (TiXmlIOProxy::GetCurrent).
class XmlFileOutput {
public:
    // The document as tinyxml prints it, with four spaces of indentation per level, preceded by
    // the UTF-8 byte order mark (EF BB BF) when asked for.
    static std::string Print(const TiXmlDocument& document, bool withBom);

    // Writes the printed document to the named file, replacing it only once everything was
    // written. False, with a logged error and the old file kept, when it could not be stored.
    static bool Save(const TiXmlDocument& document, bool withBom, const std::string& fileName);
    // Writes printed text to the named file as Save does.
    static bool Write(const std::string& text, const std::string& fileName);
};
