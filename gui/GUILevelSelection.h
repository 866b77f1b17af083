#pragma once

#include "gui/FlashGUI.h"
#include "gui/PreviewPicture.h"
#include "serializeme/Serializable.h"

#include <memory>
#include <string>
#include <vector>

class GUIDirector;

// The level selection (screen 7) after the players of a quick or training match are chosen:
// the players browse the levels of "data/levels" ("Left", "Right", round from either end), each
// shown by its screenshot in the movie's window, and "Start" plays the one showing. The level
// last browsed is remembered in the preferences ("favouriteLevel") and shown first next time;
// it is saved when a match starts.
class GUILevelSelection : public FlashGUI {
public:
    // A level file's "description" object: the picture of the level.
    struct LevelDesc : public sme::Serializable {
        bool Serialize(sme::StorageBuffer& buffer) override;
        const char* TypeName() const override { return "leveldesc"; }

        std::string screenshot;
    };

    // A level of the list: its file, its description and its screenshot.
    struct Entry : PreviewPicture {
        std::string file;
        LevelDesc description;
    };

    static constexpr const char* kLevelsFolder = "data/levels";
    // Where the screenshot's top left corner shows.
    static constexpr float kScreenshotX = 190.0f;
    static constexpr float kScreenshotY = 100.0f;
    // After browsing, the screenshot is hidden this long (about a frame), in seconds.
    static constexpr float kScreenshotDelay = 0.02f;

    explicit GUILevelSelection(GUIDirector& director) : m_Director(director) {}

    // Adds and links the items, reads the list of levels and their screenshots, and selects the
    // favourite level.
    void Load(const std::string& file) override;
    // Puts the focus on "Start"; cursors of an earlier visit stay.
    void Activate() override;
    void Update(Application& application, float dt) override;
    // The screenshot, then the movie over it.
    void Render(sf::RenderTarget& target, sf::RenderStates states) const override;
    // "Start..." plays the selected level; "Left" and "Right" browse. Without levels all three
    // are logged and ignored.
    void OnFSCommand(const std::string& command) override;

    const std::vector<std::unique_ptr<Entry>>& GetEntries() const { return m_Entries; }
    size_t GetSelected() const { return m_Selected; }
    float GetScreenshotDelay() const { return m_ScreenshotDelay; }

private:
    void ReadLevels();
    void Browse(int step);
    void Start();

    GUIDirector& m_Director;
    std::vector<std::unique_ptr<Entry>> m_Entries;
    size_t m_Selected = 0;
    float m_ScreenshotDelay = 0.0f;
};
