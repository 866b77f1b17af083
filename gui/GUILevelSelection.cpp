#include "gui/GUILevelSelection.h"

#include "app/Application.h"
#include "app/Log.h"
#include "app/ResourceXml.h"
#include "app/UserPreferences.h"
#include "app/VirtualFile.h"
#include "gui/FocusLinks.h"
#include "gui/GUIDirector.h"
#include "serializeme/StorageBuffer.h"
#include "serializeme/XmlStorageBuffer.h"

namespace {

constexpr const char* kLevelSuffix = ".xml";

// Loads the entry's screenshot into its sprite; a picture that cannot be loaded leaves the sprite
// empty.
void LoadScreenshot(GUILevelSelection::Entry& entry) {
    const std::string& file = entry.description.screenshot;
    if (!entry.Load(file, GUILevelSelection::kScreenshotX, GUILevelSelection::kScreenshotY) && !file.empty()) {
        log_error("GUILevelSelection::Load: cannot load the screenshot %s", file.c_str());
    }
}

}  // namespace

bool GUILevelSelection::LevelDesc::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("screenshot", screenshot);
    } else {
        buffer.ReadString("screenshot", screenshot);
    }
    return true;
}

void GUILevelSelection::Load(const std::string& file) {
    FlashGUI::Load(file);
    for (const char* name : {"Back", "Left", "Start", "Right"}) {
        AddFlashFocusItem(name);
    }
    LinkRight(*this, "Back", "Left");
    LinkRight(*this, "Left", "Start");
    LinkRight(*this, "Start", "Right");
    LinkRight(*this, "Right", "Back");
    LinkDown(*this, "Back", "Left");
    LinkDown(*this, "Left", "Back");
    LinkDown(*this, "Start", "Back");
    LinkDown(*this, "Right", "Back");
    for (const char* name : {"Left", "Start", "Right"}) {
        LinkDown(*this, "Back", name);
    }
    ReadLevels();
    const std::string& favourite = UserPreferences::GetInstance().favouriteLevel;
    for (size_t i = 0; i < m_Entries.size(); ++i) {
        if (m_Entries[i]->file == favourite) {
            m_Selected = i;
        }
    }
}

void GUILevelSelection::ReadLevels() {
    m_Entries.clear();
    for (const std::string& name : VirtualFile::List(kLevelsFolder)) {
        if (!HasSuffix(name, kLevelSuffix)) {
            continue;
        }
        auto entry = std::make_unique<Entry>();
        entry->file = std::string(kLevelsFolder) + "/" + name;
        const ResourceXml resource(entry->file);
        if (resource.GetRoot() != nullptr) {
            sme::XmlStorageBuffer reader(false);
            reader.SetRoot(resource.GetRoot());
            reader.ReadObject("description", entry->description);
        }
        m_Entries.push_back(std::move(entry));
    }
    for (const std::unique_ptr<Entry>& entry : m_Entries) {
        LoadScreenshot(*entry);
    }
    if (m_Selected >= m_Entries.size()) {
        m_Selected = 0;
    }
}

void GUILevelSelection::Activate() {
    SetFocus("Start");
}

void GUILevelSelection::Update(Application& application, float dt) {
    if (m_ScreenshotDelay > 0.0f) {
        m_ScreenshotDelay -= dt;
    }
    FlashGUI::Update(application, dt);
}

void GUILevelSelection::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    if (m_ScreenshotDelay <= 0.0f && m_Selected < m_Entries.size()) {
        target.draw(m_Entries[m_Selected]->sprite, states);
    }
    FlashGUI::Render(target, states);
}

void GUILevelSelection::OnFSCommand(const std::string& command) {
    FlashGUI::OnFSCommand(command);
    const bool start = command.starts_with("Start");
    if (!start && command != "Left" && command != "Right") {
        return;
    }
    if (m_Entries.empty()) {
        log_error("GUILevelSelection::OnFSCommand: no level for %s", command.c_str());
        return;
    }
    if (start) {
        Start();
    } else {
        Browse(command == "Left" ? -1 : 1);
    }
}

void GUILevelSelection::Browse(int step) {
    const size_t count = m_Entries.size();
    m_Selected =
        step < 0 ? (m_Selected == 0 ? count - 1 : m_Selected - 1) : (m_Selected + 1 < count ? m_Selected + 1 : 0);
    UserPreferences::GetInstance().favouriteLevel = m_Entries[m_Selected]->file;
    m_ScreenshotDelay = kScreenshotDelay;
}

void GUILevelSelection::Start() {
    Application& application = Application::GetInstance();
    application.levelFile = m_Entries[m_Selected]->file;
    UserPreferences::GetInstance().Save();
    m_Director.PopScreen();
    m_Director.PopScreen();
    m_Director.PushScreen(GUIDirector::kGame);
}
