#pragma once

#include "gui/FlashGUI.h"
#include "gui/PreviewPicture.h"
#include "serializeme/Serializable.h"

#include <memory>
#include <string>
#include <vector>

class GUIDirector;

// The championship's level-set selection (screen 9): the players browse the level sets of
// "data/levelsets" ("Left", "Right", round from either end), each shown by its preview in the
// movie's window, and "Start" schedules the championship of the chosen players on the set's
// levels and opens the match table. The set last browsed is remembered in the preferences
// ("favouriteLevelSet") and shown first next time.
class GUIChampionshipLevelSelection : public FlashGUI {
public:
    // A level-set file's object: its preview picture's file and its levels in play order, and
    // the picture.
    struct LevelSet : public sme::Serializable, public PreviewPicture {
        bool Serialize(sme::StorageBuffer& buffer) override;
        const char* TypeName() const override { return "levelset"; }

        std::string screenshot;
        std::vector<std::string> levels;
    };

    static constexpr const char* kLevelSetsFolder = "data/levelsets";
    // Where the preview's top left corner shows.
    static constexpr float kPreviewX = 190.0f;
    static constexpr float kPreviewY = 100.0f;
    // After browsing, the preview is hidden this long (about a frame), in seconds.
    static constexpr float kPreviewDelay = 0.02f;

    explicit GUIChampionshipLevelSelection(GUIDirector& director) : m_Director(director) {}

    // Adds and links the items (the focus on "Start"), reads the level sets and their previews,
    // and selects the favourite set.
    void Load(const std::string& file) override;
    void Update(Application& application, float dt) override;
    // The preview, then the movie over it.
    void Render(sf::RenderTarget& target, sf::RenderStates states) const override;
    // "Start..." begins the championship on the selected set; "Left" and "Right" browse. Without
    // sets all three are logged and ignored.
    void OnFSCommand(const std::string& command) override;

    const std::vector<std::unique_ptr<LevelSet>>& GetLevelSets() const { return m_LevelSets; }
    const std::vector<std::string>& GetPaths() const { return m_Paths; }
    size_t GetSelected() const { return m_Selected; }
    float GetPreviewDelay() const { return m_PreviewDelay; }

private:
    void LinkItems();
    void ReadLevelSets();
    void Browse(int step);
    void Start();

    GUIDirector& m_Director;
    std::vector<std::unique_ptr<LevelSet>> m_LevelSets;
    std::vector<std::string> m_Paths;
    size_t m_Selected = 0;
    float m_PreviewDelay = 0.0f;
};
