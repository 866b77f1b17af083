#include "game/StatisticsFile.h"

#include "app/Log.h"
#include "app/ResourceXml.h"
#include "app/VirtualFile.h"
#include "app/XmlFileOutput.h"
#include "serializeme/ValueText.h"
#include "serializeme/VectorSerialization.h"
#include "serializeme/XmlStorageBuffer.h"
#include "serializeme/XmlTextParser.h"

#include <physfs.h>
#include <tinyxml.h>

#include <filesystem>
#include <string>

namespace {

constexpr const char* kUserFolder = "/userfolder/";
constexpr const char* kArrayName = "statistics";
// Names tried for a file moved aside: "<name>.bad", then "<name>.bad1" up to this number.
constexpr int kMaxAsideNames = 1000;

bool IsStatisticsArray(const TiXmlElement* element) {
    const char* name = element->Attribute("name");
    return element->ValueStr() == "array" && name != nullptr && sme::ValueText::EqualsIgnoringCase(name, kArrayName);
}

const TiXmlElement* FindArray(const TiXmlElement* root) {
    if (root == nullptr) {
        return nullptr;
    }
    if (IsStatisticsArray(root)) {
        return root;
    }
    for (const TiXmlElement* child = root->FirstChildElement(); child != nullptr; child = child->NextSiblingElement()) {
        if (IsStatisticsArray(child)) {
            return child;
        }
    }
    return nullptr;
}

bool HasNumber(const TiXmlElement* element, const char* key) {
    const char* text = element->Attribute(key);
    int32_t value = 0;
    return text != nullptr && sme::ValueText::ParseInt(text, value);
}

const TiXmlElement* NamedChild(const TiXmlElement* element, const char* type, const char* name) {
    for (const TiXmlElement* child = element->FirstChildElement(type); child != nullptr;
         child = child->NextSiblingElement(type)) {
        const char* childName = child->Attribute("name");
        if (childName != nullptr && sme::ValueText::EqualsIgnoringCase(childName, name)) {
            return child;
        }
    }
    return nullptr;
}

// Whether the element holds a whole result: the reader of the records is forgiving and would
// take text for a number or a missing player for an empty one.
bool IsResult(const TiXmlElement* entry) {
    if (entry->ValueStr() != "gamestats" || !HasNumber(entry, "winner")) {
        return false;
    }
    for (const char* player : {"player1", "player2"}) {
        const TiXmlElement* part = NamedChild(entry, "playerstats", player);
        if (part == nullptr || !HasNumber(part, "score") || !HasNumber(part, "numShots")) {
            return false;
        }
    }
    return true;
}

// The length of the valid UTF-8 sequence that starts the text, 0 when none does.
size_t SequenceLength(const std::string& text, size_t at) {
    const auto byte = [&](size_t i) {
        return static_cast<unsigned char>(text[i]);
    };
    const unsigned char lead = byte(at);
    const size_t length = lead < 0x80           ? 1
                          : (lead >> 5) == 0x6  ? 2
                          : (lead >> 4) == 0xE  ? 3
                          : (lead >> 3) == 0x1E ? 4
                                                : 0;
    if (length == 0 || at + length > text.size()) {
        return 0;
    }
    for (size_t i = at + 1; i < at + length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) {
            return 0;
        }
    }
    return length;
}

// The text with every byte that starts no UTF-8 sequence replaced by '?': the XML library reads
// such bytes back as something else, and could lose the whole entry at the next load.
std::string AsUtf8(const std::string& text) {
    std::string clean;
    for (size_t at = 0; at < text.size();) {
        const size_t length = SequenceLength(text, at);
        clean += length == 0 ? std::string("?") : text.substr(at, length);
        at += length == 0 ? 1 : length;
    }
    return clean;
}

// Renames the user's file so that a new one can be written without losing it. The real folder
// is the one the read path's mount stands for.
void MoveAside(const std::string& readPath, const std::string& fileName) {
    const char* folder = PHYSFS_getRealDir(readPath.c_str());
    if (folder == nullptr) {
        log_error("LoadStatistics: cannot find the folder of %s to move it aside", readPath.c_str());
        return;
    }
    const std::filesystem::path file = std::filesystem::path(folder) / fileName;
    for (int number = 0; number < kMaxAsideNames; ++number) {
        std::filesystem::path aside = file;
        aside += number == 0 ? std::string(".bad") : ".bad" + std::to_string(number);
        std::error_code error;
        if (std::filesystem::exists(aside, error) || error) {
            continue;
        }
        std::filesystem::rename(file, aside, error);
        if (error) {
            log_error("LoadStatistics: cannot move %s aside: %s", file.c_str(), error.message().c_str());
        } else {
            log_error("LoadStatistics: %s is kept as %s", readPath.c_str(), aside.c_str());
        }
        return;
    }
    log_error("LoadStatistics: no free name to move %s aside", file.c_str());
}

}  // namespace

std::string StatisticsReadPath(const StatisticsStore& store) {
    return kUserFolder + store.fileName;
}

bool ReadStatistics(const TiXmlElement* root, std::vector<GameStatistics>& records, int& skipped) {
    skipped = 0;
    const TiXmlElement* array = FindArray(root);
    if (array == nullptr) {
        return false;
    }
    for (const TiXmlElement* entry = array->FirstChildElement(); entry != nullptr;
         entry = entry->NextSiblingElement()) {
        GameStatistics record;
        sme::XmlStorageBuffer reader(false);
        reader.SetRoot(entry);
        if (!IsResult(entry) || !record.Serialize(reader)) {
            ++skipped;
            continue;
        }
        record.player1.playerId = AsUtf8(record.player1.playerId);
        record.player2.playerId = AsUtf8(record.player2.playerId);
        records.push_back(record);
    }
    return true;
}

bool LoadStatistics(StatisticsStore& store) {
    store.records.clear();
    const std::string path = StatisticsReadPath(store);
    const VirtualFile file = VirtualFile::Load(path, ResourceXml::kMaxFileSize);
    if (file.status == VirtualFile::Missing) {
        return true;
    }
    TiXmlDocument document;
    int skipped = 0;
    if (file.status != VirtualFile::Read || !sme::XmlTextParser::Parse(document, file.bytes.c_str()) ||
        !ReadStatistics(document.RootElement(), store.records, skipped)) {
        log_error("LoadStatistics: %s cannot be read as statistics", path.c_str());
        store.records.clear();
        MoveAside(path, store.fileName);
        return false;
    }
    if (skipped > 0) {
        log_error("LoadStatistics: %d entries of %s are not match results and were skipped", skipped, path.c_str());
    }
    return true;
}

void WriteStatistics(const std::vector<GameStatistics>& records, TiXmlDocument& document) {
    std::vector<GameStatistics> copy = records;
    sme::XmlStorageBuffer writer(true);
    sme::WriteVector(writer, kArrayName, copy);
    document.Clear();
    document.LinkEndChild(writer.GetRoot()->FirstChildElement()->Clone());
}

bool SaveStatistics(const StatisticsStore& store) {
    TiXmlDocument document;
    WriteStatistics(store.records, document);
    if (!XmlFileOutput::Save(document, false, store.fileName)) {
        log_error("SaveStatistics: the statistics were not saved to %s", store.fileName.c_str());
        return false;
    }
    return true;
}
