#pragma once
// Internal to the screen tests: controllers made from their stored form, the application's
// controller list for the length of a test, a render target that draws nothing, the game's
// virtual file system over fresh folders, and where the main menu's bubbles stand.

#include "app/Application.h"
#include "app/KeyboardController.h"
#include "app/TiXmlIOProxy.h"
#include "app/TinyxmlPhysfsProxy.h"
#include "flash/FSCommand.h"
#include "flash/FlashMovie.h"
#include "gui/MovieClips.h"
#include "serializeme/XmlStorageBuffer.h"
#include "tests/app/VirtualFolders.h"
#include "tests/support/GameData.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <physfs.h>
#include <tinyxml.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace gui_testing {

// A keyboard controller with the menu number (its name in journals: "c<index>"), the cursor
// colour, the movie that pictures it (none when empty) and its keys (the attributes of a control
// file, such as m_KeyLeft="291"; none when empty).
inline std::unique_ptr<Controller> MakeController(unsigned int index, sf::Color color, const std::string& image = "",
                                                  const std::string& keys = "") {
    const std::string xml = "<keyboardcontroller m_GUIIndex=\"" + std::to_string(index) + "\" m_GUIImage=\"" + image +
                            "\" " + keys + "><color name=\"m_GUIColor\" r=\"" + std::to_string(color.r) + "\" g=\"" +
                            std::to_string(color.g) + "\" b=\"" + std::to_string(color.b) + "\" a=\"" +
                            std::to_string(color.a) + "\"/></keyboardcontroller>";
    TiXmlDocument document;
    document.Parse(xml.c_str());
    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(document.RootElement());
    auto controller = std::make_unique<KeyboardController>();
    controller->Serialize(reader);
    return controller;
}

// Gives the application two controllers, c1 and c2, in the colours and with the keys of the
// game's two keyboards (the first owns the menus' shared cursors), and takes them back at the end.
class AppControllers {
public:
    // The keys of the arrows' set and of the W A S D set (spit, start and back: right Control,
    // Return and Escape; left Control, Tab and Q).
    static constexpr const char* kArrowKeys =
        "m_KeyLeft=\"291\" m_KeyRight=\"292\" m_KeyUp=\"293\" m_KeyDown=\"294\" m_KeySpit=\"261\" "
        "m_KeyStart=\"278\" m_KeyBack=\"256\"";
    static constexpr const char* kWasdKeys =
        "m_KeyLeft=\"97\" m_KeyRight=\"100\" m_KeyUp=\"119\" m_KeyDown=\"115\" m_KeySpit=\"257\" "
        "m_KeyStart=\"280\" m_KeyBack=\"113\"";

    AppControllers() {
        std::vector<std::unique_ptr<Controller>> controllers;
        controllers.push_back(MakeController(1, sf::Color(230, 70, 60), "", kArrowKeys));
        controllers.push_back(MakeController(2, sf::Color(60, 120, 235), "", kWasdKeys));
        std::swap(Application::GetInstance().controllers, controllers);
        m_Previous = std::move(controllers);
    }
    ~AppControllers() { std::swap(Application::GetInstance().controllers, m_Previous); }
    AppControllers(const AppControllers&) = delete;
    AppControllers& operator=(const AppControllers&) = delete;

    Controller* operator[](size_t index) const { return Application::GetInstance().controllers[index].get(); }

private:
    std::vector<std::unique_ptr<Controller>> m_Previous;
};

// Hears every FSCommand, as the director does, and runs a hook with each.
struct CommandEar : public sigslot::has_slots<> {
    CommandEar() { FSCommandSignal().connect(this, &CommandEar::Hear); }
    void Hear(const char* command) {
        heard.push_back(command);
        if (onCommand) {
            onCommand(command);
        }
    }
    std::vector<std::string> heard;
    std::function<void(const std::string&)> onCommand;
};

// A copy of the game's data folder, without the movies' cache files, in a folder of the test's own,
// mounted as the root of the virtual file system until the object goes: tests running side by
// side never share the cache files that loading the movies writes beside them.
class GameDataCopy {
public:
    GameDataCopy() {
        testing_support::CopyGameData(PONDORIX_GAME_DIR "/data", m_Folder / "data");
        PHYSFS_init(nullptr);
        PHYSFS_mount(m_Folder.Path().c_str(), nullptr, 0);
    }
    ~GameDataCopy() { PHYSFS_deinit(); }
    GameDataCopy(const GameDataCopy&) = delete;
    GameDataCopy& operator=(const GameDataCopy&) = delete;

    const std::filesystem::path& Path() const { return m_Folder.Path(); }

private:
    testing_support::TempDir m_Folder;
};

// Where the named clip of the game's own main menu movie stands, in pixels of the logical screen:
// the middle of its bubble, where a click on it aims.
inline std::pair<int, int> MainMenuClipCentre(const std::string& clip) {
    const GameDataCopy data;
    FlashMovie menu;
    menu.Load("data/gui/mainmenu.swf");
    const sf::Vector2f at = ClipPosition(menu.GetCharacter(clip));
    return {static_cast<int>(at.x), static_cast<int>(at.y)};
}

// A fresh user folder mounted at "/userfolder" and made the write directory, with XML output
// going through the virtual file system as in the game, until the object goes. Made after a
// GameDataCopy (which starts the file system) and gone before it.
class UserFolder {
public:
    UserFolder() {
        PHYSFS_mount(m_Folder.Path().c_str(), "/userfolder", 0);
        PHYSFS_setWriteDir(m_Folder.Path().c_str());
        TiXmlIOProxy::SetCurrent(&m_Proxy);
    }
    ~UserFolder() { TiXmlIOProxy::SetCurrent(nullptr); }
    UserFolder(const UserFolder&) = delete;
    UserFolder& operator=(const UserFolder&) = delete;

    const std::filesystem::path& Path() const { return m_Folder.Path(); }

private:
    testing_support::TempDir m_Folder;
    TinyxmlPhysfsProxy m_Proxy;
};

// A render target without pixels: drawing a screen through it only runs the screen's Render.
class NullTarget : public sf::RenderTarget {
public:
    sf::Vector2u getSize() const override { return {800, 600}; }
};

}  // namespace gui_testing
