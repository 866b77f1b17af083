#pragma once

#include "app/Vec2Data.h"
#include "serializeme/Serializable.h"

#include <string>

// The player's settings, one record stored as "preferences.xml" in the user's data folder
// (element "userpreferences" under the key "prefs"). Members missing from the file keep their
// defaults.
class UserPreferences : public sme::Serializable {
public:
    // The name the preferences are saved under in the user's data folder.
    static constexpr const char* kFileName = "preferences.xml";

    // The one preference record, loaded from the user's data folder on first use.
    static UserPreferences& GetInstance();

    // A record with every default; GetInstance loads the one the game uses.
    UserPreferences() = default;

    // Reads "/userfolder/preferences.xml"; a missing, empty or unparsable file, or one that is
    // not a regular file (never opened), changes nothing. A file that is there but cannot be read
    // changes nothing either; the log says so, and no save replaces it.
    void Load();
    // Writes "preferences.xml" into the virtual file system's write directory, the user's data
    // folder. False, logged, when the file could not be written; the old file is then kept. False
    // without writing, and without another line, while the last Load could not read the file.
    bool Save();

    bool Serialize(sme::StorageBuffer& buffer) override;
    const char* TypeName() const override { return "userpreferences"; }

    // The level file last chosen on a level selection screen.
    std::string favouriteLevel;
    // The championship level set last chosen.
    std::string favouriteLevelSet;
    // Player 1's creature file and controls file.
    std::string player1Char;
    std::string player1Controls;
    // Player 2's creature file and controls file.
    std::string player2Char;
    std::string player2Controls;
    // The window's position in pixels.
    Vec2Data windowPosition;
    // The window's size in pixels; below 1 means the default size.
    Vec2Data windowSize;
    // Whether bitmaps and bitmap fills are drawn (also chooses the window's clear colour).
    bool enableBitmaps = true;
    // Whether filled shapes are drawn.
    bool enableMeshes = true;
    // Start at the quick-match player selection instead of the title.
    bool skipMenu = false;
    // Music volume, 0 to 1.
    float musicVolume = 0.6f;
    // Show the control hints in menus.
    bool hintMenuControls = true;
    // Show the control hints in a match.
    bool hintGameControls = true;
    // Suppress the hint overlay.
    bool disableHints = false;

private:
    // Set by the load when the file is there but could not be opened or read: what it holds is
    // unknown and may be every setting the player made, so no save replaces it.
    bool m_FileUnreadable = false;
};
