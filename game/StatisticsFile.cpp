#include "game/StatisticsFile.h"

#include "app/Log.h"
#include "app/VirtualFile.h"
#include "app/XmlFileOutput.h"
#include "serializeme/ValueText.h"
#include "serializeme/VectorSerialization.h"
#include "serializeme/XmlStorageBuffer.h"
#include "serializeme/XmlTextParser.h"

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

// Renames the user's file so that a new one can be written without losing it, in the folder the
// read path's mount stands for. False, logged, when the file stays where it is.
bool MoveAside(const std::string& readPath) {
    const std::filesystem::path file = VirtualFile::RealPath(readPath);
    if (file.empty()) {
        log_error("LoadStatistics: cannot find the folder of %s to move it aside", readPath.c_str());
        return false;
    }
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
            return false;
        }
        log_error("LoadStatistics: %s is kept as %s", readPath.c_str(), aside.c_str());
        return true;
    }
    log_error("LoadStatistics: no free name to move %s aside", file.c_str());
    return false;
}

}  // namespace

std::string StatisticsReadPath(const StatisticsStore& store) {
    return kUserFolder + store.fileName;
}

bool ReadStatistics(const TiXmlElement* root, std::vector<GameStatistics>& records) {
    const TiXmlElement* array = FindArray(root);
    if (array == nullptr) {
        return false;
    }
    for (const TiXmlElement* entry = array->FirstChildElement(); entry != nullptr;
         entry = entry->NextSiblingElement()) {
        GameStatistics& record = records.emplace_back();
        sme::XmlStorageBuffer reader(false);
        reader.SetRoot(entry);
        record.Serialize(reader);
        record.player1.playerId = AsUtf8(record.player1.playerId);
        record.player2.playerId = AsUtf8(record.player2.playerId);
    }
    return true;
}

bool LoadStatistics(StatisticsStore& store) {
    store.records.clear();
    store.fileUnreadable = false;
    const std::string path = StatisticsReadPath(store);
    const VirtualFile file = VirtualFile::Load(path, kMaxStatisticsFileBytes);
    if (file.status == VirtualFile::Missing) {
        return true;
    }
    if (file.status == VirtualFile::Unreadable) {
        // What it holds is unknown, and may be every result so far: it stays where it is, and
        // nothing is saved over it while it cannot be read.
        log_error("LoadStatistics: %s is there but cannot be opened or read; results are not saved over it",
                  VirtualFile::ShownPath(path).c_str());
        store.fileUnreadable = true;
        return false;
    }
    if (file.status == VirtualFile::NotRegular) {
        // A device or a pipe the player put there (or links to, as to /dev/null) is their choice
        // of where results go: it is neither read, moved aside nor replaced.
        log_error("LoadStatistics: %s is not a regular file; results are not saved to it", path.c_str());
        store.fileUnreadable = true;
        return false;
    }
    TiXmlDocument document;
    std::string error;
    if (file.status == VirtualFile::TooLarge) {
        error = "its length is " + std::to_string(file.length) + " bytes (at most " +
                std::to_string(kMaxStatisticsFileBytes) + ")";
    } else if (!sme::XmlTextParser::Parse(document, file.bytes.c_str(), &error)) {
        error = "not XML: " + error;
    } else if (!ReadStatistics(document.RootElement(), store.records)) {
        error = "no statistics array";
    }
    if (!error.empty()) {
        log_error("LoadStatistics: %s cannot be read as statistics: %s", path.c_str(), error.c_str());
        store.records.clear();
        // A file that stays where it is must not be written over, as one that cannot be opened.
        store.fileUnreadable = !MoveAside(path);
        return false;
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
    if (store.fileUnreadable) {
        log_error("SaveStatistics: %s could not be read, so it is not written over", store.fileName.c_str());
        return false;
    }
    TiXmlDocument document;
    WriteStatistics(store.records, document);
    const std::string text = XmlFileOutput::Print(document, false);
    // A file the next load would refuse must not replace one it reads.
    if (static_cast<long long>(text.size()) > kMaxStatisticsFileBytes) {
        log_error("SaveStatistics: %zu results would make %s %zu bytes long (at most %lld); it is kept as it was",
                  store.records.size(), store.fileName.c_str(), text.size(), kMaxStatisticsFileBytes);
        return false;
    }
    if (!XmlFileOutput::Write(text, store.fileName)) {
        log_error("SaveStatistics: the statistics were not saved to %s", store.fileName.c_str());
        return false;
    }
    return true;
}
