#include "tools/levels/ContentFiles.h"

#include "serializeme/StorageBuffer.h"
#include "serializeme/VectorSerialization.h"
#include "serializeme/XmlStorageBuffer.h"
#include "tools/pictures/PngWriter.h"

#include <tinyxml.h>

#include <fstream>

bool LevelDescription::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("screenshot", screenshot);
    } else {
        buffer.ReadString("screenshot", screenshot);
    }
    return true;
}

bool LevelSetData::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("screenshot", screenshot);
        sme::WriteVector(buffer, "levels", levels);
        return true;
    }
    buffer.ReadString("screenshot", screenshot);
    return sme::ReadVector(buffer, "levels", levels);
}

bool WriteRecords(const std::filesystem::path& path,
                  const std::vector<std::pair<const char*, sme::Serializable*>>& records) {
    sme::XmlStorageBuffer writer(true);
    for (const auto& [key, record] : records) {
        writer.WriteObject(key, *record);
    }
    TiXmlElement* root = writer.GetRoot();
    root->SetValue("resource");
    TiXmlDocument document;
    document.LinkEndChild(new TiXmlDeclaration("1.0", "", ""));
    document.InsertEndChild(*root);
    TiXmlPrinter printer;
    printer.SetIndent("    ");
    document.Accept(&printer);
    return WriteText(path, printer.Str());
}

bool WriteBytes(const std::filesystem::path& path, const swfkit::Bytes& bytes) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

bool WriteText(const std::filesystem::path& path, const std::string& text) {
    return WriteBytes(path, swfkit::Bytes(text.begin(), text.end()));
}

bool WritePicture(const std::filesystem::path& path, const pictures::Canvas& canvas) {
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    return WritePng(path.string(), static_cast<uint32_t>(canvas.Width()), static_cast<uint32_t>(canvas.Height()),
                    canvas.Bytes());
}
