#include "gui/GUIChampionshipLevelSelection.h"

#include "app/Application.h"
#include "app/Log.h"
#include "app/ResourceXml.h"
#include "app/UserPreferences.h"
#include "app/VirtualFile.h"
#include "gui/Championship.h"
#include "gui/GUIDirector.h"
#include "serializeme/StorageBuffer.h"
#include "serializeme/VectorSerialization.h"
#include "serializeme/XmlStorageBuffer.h"

namespace {

constexpr const char* kSetSuffix = ".xml";
// The name of the object a level-set file holds.
constexpr const char* kSetObject = "data";

// Loads the set's preview into its sprite; a picture that cannot be loaded leaves the sprite
// empty.
void LoadPreview(GUIChampionshipLevelSelection::LevelSet& set) {
    const std::string& file = set.screenshot;
    if (!set.Load(file, GUIChampionshipLevelSelection::kPreviewX, GUIChampionshipLevelSelection::kPreviewY) &&
        !file.empty()) {
        log_error("GUIChampionshipLevelSelection::Load: cannot load the preview %s", file.c_str());
    }
}

}  // namespace

bool GUIChampionshipLevelSelection::LevelSet::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("screenshot", screenshot);
        sme::WriteVector(buffer, "levels", levels);
        return true;
    }
    buffer.ReadString("screenshot", screenshot);
    return sme::ReadVector(buffer, "levels", levels);
}

void GUIChampionshipLevelSelection::Load(const std::string& file) {
    FlashGUI::Load(file);
    LinkItems();
    SetFocus("Start");
    ReadLevelSets();
    const std::string& favourite = UserPreferences::GetInstance().favouriteLevelSet;
    for (size_t i = 0; i < m_Paths.size(); ++i) {
        if (m_Paths[i] == favourite) {
            m_Selected = i;
        }
    }
}

// Right goes round Back, Left, Start, Right and left the other way; up and down lead from the
// arrows and "Start" to "Back", and from "Back" to "Right".
void GUIChampionshipLevelSelection::LinkItems() {
    const char* const ring[] = {"Back", "Left", "Start", "Right"};
    for (const char* name : ring) {
        AddFlashFocusItem(name);
    }
    for (size_t i = 0; i < 4; ++i) {
        FocusItem* item = FindFocusItem(ring[i]);
        item->SetLink(FocusItem::kRight, FindFocusItem(ring[(i + 1) % 4]));
        item->SetLink(FocusItem::kLeft, FindFocusItem(ring[(i + 3) % 4]));
        FocusItem* vertical = FindFocusItem(i == 0 ? "Right" : "Back");
        item->SetLink(FocusItem::kUp, vertical);
        item->SetLink(FocusItem::kDown, vertical);
    }
}

// A set that cannot be read stays in the list without levels (its matches fall back to the
// default level).
void GUIChampionshipLevelSelection::ReadLevelSets() {
    m_LevelSets.clear();
    m_Paths.clear();
    for (const std::string& name : VirtualFile::List(kLevelSetsFolder)) {
        if (!HasSuffix(name, kSetSuffix)) {
            continue;
        }
        auto set = std::make_unique<LevelSet>();
        const std::string path = std::string(kLevelSetsFolder) + "/" + name;
        const ResourceXml resource(path);
        sme::XmlStorageBuffer reader(false);
        if (resource.GetRoot() != nullptr) {
            reader.SetRoot(resource.GetRoot());
        }
        if (resource.GetRoot() == nullptr || !reader.ReadObject(kSetObject, *set)) {
            log_error("GUIChampionshipLevelSelection::Load: cannot read the level set %s", path.c_str());
            set->levels.clear();
        }
        LoadPreview(*set);
        m_LevelSets.push_back(std::move(set));
        m_Paths.push_back(path);
    }
    if (m_Selected >= m_LevelSets.size()) {
        m_Selected = 0;
    }
}

void GUIChampionshipLevelSelection::Update(Application& application, float dt) {
    if (m_PreviewDelay > 0.0f) {
        m_PreviewDelay -= dt;
    }
    FlashGUI::Update(application, dt);
}

void GUIChampionshipLevelSelection::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    if (m_PreviewDelay <= 0.0f && m_Selected < m_LevelSets.size()) {
        target.draw(m_LevelSets[m_Selected]->sprite, states);
    }
    FlashGUI::Render(target, states);
}

void GUIChampionshipLevelSelection::OnFSCommand(const std::string& command) {
    FlashGUI::OnFSCommand(command);
    const bool start = command.starts_with("Start");
    if (!start && command != "Left" && command != "Right") {
        return;
    }
    if (m_LevelSets.empty()) {
        log_error("GUIChampionshipLevelSelection::OnFSCommand: no level set for %s", command.c_str());
        return;
    }
    if (start) {
        Start();
    } else {
        Browse(command == "Left" ? -1 : 1);
    }
}

void GUIChampionshipLevelSelection::Browse(int step) {
    const size_t count = m_LevelSets.size();
    m_Selected =
        step < 0 ? (m_Selected == 0 ? count - 1 : m_Selected - 1) : (m_Selected + 1 < count ? m_Selected + 1 : 0);
    UserPreferences::GetInstance().favouriteLevelSet = m_Paths[m_Selected];
    m_PreviewDelay = kPreviewDelay;
}

// Only two to four players make a championship; with any other number nothing starts.
void GUIChampionshipLevelSelection::Start() {
    Application& application = Application::GetInstance();
    MatchSetup& setup = application.matchSetup;
    Championship championship(setup, application);
    setup.levels = m_LevelSets[m_Selected]->levels;
    UserPreferences::GetInstance().Save();
    if (!championship.CreateSchedule()) {
        return;
    }
    championship.AssignLevels();
    setup.matchIndex = 0;
    m_Director.PopScreen();
    m_Director.PopScreen();
    m_Director.PushScreen(GUIDirector::kChampionshipMatchTable);
}
