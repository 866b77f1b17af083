#include "app/UserPreferences.h"

#include "app/Log.h"
#include "app/ResourceXml.h"
#include "app/VirtualFile.h"
#include "serializeme/StorageBuffer.h"

namespace {

// Where the preferences are read from: the user's data folder as mounted, which is also the
// write directory they are saved into.
const char* const kLoadPath = "/userfolder/preferences.xml";
const char* const kKey = "prefs";

}  // namespace

UserPreferences& UserPreferences::GetInstance() {
    static UserPreferences preferences = [] {
        UserPreferences loaded;
        loaded.Load();
        return loaded;
    }();
    return preferences;
}

void UserPreferences::Load() {
    const VirtualFile file = VirtualFile::Load(kLoadPath, ResourceXml::kMaxFileSize);
    m_FileUnreadable = file.status == VirtualFile::Unreadable;
    if (m_FileUnreadable) {
        log_error(
            "UserPreferences::Load: %s is there but cannot be opened or read; the game runs on the default "
            "preferences and saves none over it",
            VirtualFile::ShownPath(kLoadPath).c_str());
        return;
    }
    LoadXmlObject(*this, ResourceXml(kLoadPath, file), kKey);
}

bool UserPreferences::Save() {
    if (m_FileUnreadable) {
        return false;
    }
    return SaveXmlObject(*this, kFileName, kKey);
}

bool UserPreferences::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("favouriteLevel", favouriteLevel);
        buffer.WriteString("favouriteLevelSet", favouriteLevelSet);
        buffer.WriteString("player1Char", player1Char);
        buffer.WriteString("player1Controls", player1Controls);
        buffer.WriteString("player2Char", player2Char);
        buffer.WriteString("player2Controls", player2Controls);
        buffer.WriteObject("windowPosition", windowPosition);
        buffer.WriteObject("windowSize", windowSize);
        buffer.WriteBool("enableBitmaps", enableBitmaps);
        buffer.WriteBool("enableMeshes", enableMeshes);
        buffer.WriteBool("skipMenu", skipMenu);
        buffer.WriteFloat("musicVolume", musicVolume);
        buffer.WriteBool("hintMenuControls", hintMenuControls);
        buffer.WriteBool("hintGameControls", hintGameControls);
        buffer.WriteBool("disableHints", disableHints);
    } else {
        buffer.ReadString("favouriteLevel", favouriteLevel);
        buffer.ReadString("favouriteLevelSet", favouriteLevelSet);
        buffer.ReadString("player1Char", player1Char);
        buffer.ReadString("player1Controls", player1Controls);
        buffer.ReadString("player2Char", player2Char);
        buffer.ReadString("player2Controls", player2Controls);
        buffer.ReadObject("windowPosition", windowPosition);
        buffer.ReadObject("windowSize", windowSize);
        buffer.ReadBool("enableBitmaps", enableBitmaps);
        buffer.ReadBool("enableMeshes", enableMeshes);
        buffer.ReadBool("skipMenu", skipMenu);
        buffer.ReadFloat("musicVolume", musicVolume);
        buffer.ReadBool("hintMenuControls", hintMenuControls);
        buffer.ReadBool("hintGameControls", hintGameControls);
        buffer.ReadBool("disableHints", disableHints);
    }
    return true;
}
