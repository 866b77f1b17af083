#pragma once

#include "serializeme/Serializable.h"
#include "tools/pictures/Canvas.h"
#include "tools/swfkit/BitWriter.h"

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

// Writing the level tool's files, and the two small records of level files and level sets that
// the level tool writes and the selection screens read.

// A level file's "description" object: the level's screenshot picture.
class LevelDescription : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "leveldesc"; }

    std::string screenshot;
};

// A level set: its preview picture and its level files, in play order.
class LevelSetData : public sme::Serializable {
public:
    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "levelset"; }

    std::string screenshot;
    std::vector<std::string> levels;
};

// An XML file of the game's storage layout: the element "resource" holding each record under
// its key. False when the file cannot be written.
bool WriteRecords(const std::filesystem::path& path,
                  const std::vector<std::pair<const char*, sme::Serializable*>>& records);
bool WriteBytes(const std::filesystem::path& path, const swfkit::Bytes& bytes);
bool WriteText(const std::filesystem::path& path, const std::string& text);
bool WritePicture(const std::filesystem::path& path, const pictures::Canvas& canvas);
