#include "app/Application.h"

#include "app/ControlHints.h"
#include "app/Controller.h"
#include "app/ControllerFactory.h"
#include "app/DebugKeys.h"
#include "app/FrameSteps.h"
#include "app/KeyCodes.h"
#include "app/Log.h"
#include "app/Logger.h"
#include "app/PerformanceCounter.h"
#include "app/ResourceXml.h"
#include "app/SoundManager.h"
#include "app/TiXmlIOProxy.h"
#include "app/UserPreferences.h"
#include "app/ViewFitting.h"
#include "app/VirtualFile.h"
#include "app/WindowPlacement.h"
#include "flash/render_handler_ogl.h"
#include "platform/AccessibilityShortcuts.h"
#include "platform/HeapSettings.h"
#include "serializeme/StorageBuffer.h"
#include "serializeme/VectorSerialization.h"

#include <SFML/Graphics/Image.hpp>
#include <SFML/Window/Joystick.hpp>
#include <physfs.h>

#include <algorithm>
#include <array>
#include <filesystem>

namespace {

constexpr float kLogicalWidth = 800.0f;
constexpr float kLogicalHeight = 600.0f;
constexpr unsigned int kDefaultWindowWidth = 1024;
constexpr unsigned int kDefaultWindowHeight = 768;
// Larger windows than this are not asked of the system, whatever the preferences say.
constexpr float kMaxWindowSide = 8192.0f;
constexpr unsigned int kAntialiasingLevel = 4;
constexpr unsigned int kUnfocusedFrameRate = 24;
const sf::Color kClearColorWithoutBitmaps(193, 249, 242);

// The performance counters that the main loop fills.
enum CounterNumber { kUpdateCounter = 0, kRenderCounter = 1, kSwfCounter = 2, kSwfPrimsCounter = 3 };

// Screen ids of the screen director that the application pushes.
constexpr int kTitleScreen = 1;
constexpr int kMainMenuScreen = 4;
constexpr int kQuickMatchSelectionScreen = 5;
constexpr int kPodiumScreen = 12;

// The places of the podium that Alt+O shows.
const std::array<std::string, 3> kDebugPodium = {"data/players/bubbles.xml", "data/players/sprout.xml",
                                                 "data/players/hooligan.xml"};

// Files the application reads whole (the icon and the font) are far smaller than this.
constexpr long long kMaxWholeFileBytes = 64 * 1024 * 1024;

// A window side from the preferences: a size below 1 pixel (or not a number) asks for the
// default; a huge one is capped.
float WindowSide(float preferred, unsigned int fallback) {
    if (!(preferred >= 1.0f)) {
        return static_cast<float>(fallback);
    }
    return std::min(preferred, kMaxWindowSide);
}

}  // namespace

Application& Application::GetInstance() {
    static Application instance;
    return instance;
}

Application::Application() = default;

// The controllers go first, before the window and the director they were attached to.
Application::~Application() {
    controllers.clear();
}

bool Application::Data::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        sme::WriteVector(buffer, "m_Controllers", m_Controllers);
    } else {
        sme::ReadVector(buffer, "m_Controllers", m_Controllers);
    }
    return true;
}

bool Application::Init(const std::function<ScreenDirector&()>& screens) {
    MountFileSystem();
    TiXmlIOProxy::SetCurrent(&proxy);
    RemoveLeftoverSaves();
    // A missing or unreadable file leaves the list empty: the game runs without controllers.
    LoadXmlObject(data, "application.xml", nullptr);

    UserPreferences& preferences = UserPreferences::GetInstance();
    preferences.windowSize.x = WindowSide(preferences.windowSize.x, kDefaultWindowWidth);
    preferences.windowSize.y = WindowSide(preferences.windowSize.y, kDefaultWindowHeight);
    swfplayer::get_render_handler_ogl().m_enable_bitmaps = preferences.enableBitmaps;
    swfplayer::get_render_handler_ogl().m_enable_meshes = preferences.enableMeshes;

    log_info("Creating main window...");
    CreateMainWindow();

    logicalView.reset(sf::FloatRect(0.0f, 0.0f, kLogicalWidth, kLogicalHeight));
    for (sf::RectangleShape* bar : {&leftBar, &rightBar}) {
        bar->setSize(sf::Vector2f(kLogicalWidth / 2.0f, kLogicalHeight));
        bar->setFillColor(sf::Color::Black);
        bar->setOutlineThickness(0.0f);
    }
    leftBar.setPosition(-kLogicalWidth / 2.0f, 0.0f);
    rightBar.setPosition(kLogicalWidth, 0.0f);
    FitView(0, 0);

    SoundManager::GetInstance().Load();
    for (const std::string& file : data.m_Controllers) {
        if (Controller* controller = CreateController(file)) {
            controllers.emplace_back(controller);
        }
    }
    overlay.Load("data/empty.swf");

    PerformanceCounter& counters = PerformanceCounter::GetInstance();
    counters.Setup();
    counters.AddCounter(kUpdateCounter, "update", PerformanceCounter::Time);
    counters.AddCounter(kRenderCounter, "render", PerformanceCounter::Time);
    counters.AddCounter(kSwfCounter, "swf", PerformanceCounter::Time);
    counters.AddCounter(kSwfPrimsCounter, "swfprims", PerformanceCounter::Count);
    FlashMovie::SetDrawTimer([](float seconds) {
        std::vector<PerformanceCounter::Counter>& all = PerformanceCounter::GetInstance().counters;
        if (all.size() > kSwfCounter) {
            all[kSwfCounter].time += seconds;
            all[kSwfCounter].count += 1;
        }
    });

    setVerticalSyncEnabled(true);
    platform::DisableAccessibilityShortcuts();
    LoadIcon();
    const std::string fontFile = VirtualFile::Load("data/child.ttf", kMaxWholeFileBytes).bytes;
    m_FontBytes.assign(fontFile.begin(), fontFile.end());
    if (!m_FontBytes.empty()) {
        font.loadFromMemory(m_FontBytes.data(), m_FontBytes.size());
    }
    if (screens) {
        // Showing the first screen (the movies it loads and starts) is one frame of the movies.
        const MovieFrame frame;
        m_Screens = &screens();
        ShowFirstScreen(*m_Screens);
    }
    return true;
}

void Application::MountFileSystem() {
    PHYSFS_init(nullptr);
    std::error_code error;
    std::string workingFolder = std::filesystem::current_path(error).string();
    // Without a user folder, files go to the working folder, as the log does.
    std::string userFolder = Logger::GetInstance().GetUserFolder();
    if (userFolder.empty()) {
        userFolder = workingFolder;
    }
    // Each mount goes in front of the earlier ones: "data.bin" is searched first, then the user
    // folder, then the working folder.
    PHYSFS_mount(workingFolder.c_str(), nullptr, 0);
    PHYSFS_mount(userFolder.c_str(), "/userfolder", 0);
    PHYSFS_mount((std::filesystem::path(workingFolder) / "data.bin").c_str(), nullptr, 0);
    PHYSFS_setWriteDir(userFolder.c_str());
    // The player's files may be links to where they keep them; the saves write through them.
    PHYSFS_permitSymbolicLinks(1);
}

void Application::RemoveLeftoverSaves() {
    for (const std::string& name : {std::string(UserPreferences::kFileName), statistics.fileName}) {
        if (const int removed = TinyxmlPhysfsProxy::RemoveLeftovers(name); removed > 0) {
            log_info("Application::RemoveLeftoverSaves: removed %d temporary files that cut-short saves of %s left",
                     removed, name.c_str());
        }
    }
}

void Application::CreateMainWindow() {
    platform::KeepFreedHeapMemory();
    UserPreferences& preferences = UserPreferences::GetInstance();
    sf::VideoMode mode(static_cast<unsigned int>(preferences.windowSize.x),
                       static_cast<unsigned int>(preferences.windowSize.y), 32);
    const sf::Uint32 style = sf::Style::Titlebar | sf::Style::Resize | sf::Style::Close;
    sf::ContextSettings settings(24, 8, kAntialiasingLevel);
    create(mode, "Pondorix", style, settings);
    // The multisample probe: the context reports the antialiasing level it really got.
    if (getSettings().antialiasingLevel < kAntialiasingLevel) {
        log_info("Multisample not supported. Recreating the window.");
        close();
        settings.antialiasingLevel = 0;
        create(mode, "Pondorix", style, settings);
    }
    const sf::VideoMode screen = sf::VideoMode::getDesktopMode();
    setPosition(CentredWindowPosition({screen.width, screen.height}, getSize()));
    log_info("Main window ready.");
    setKeyRepeatEnabled(false);
}

void Application::LoadIcon() {
    const std::string bytes = VirtualFile::Load("data/icon32.png", kMaxWholeFileBytes).bytes;
    sf::Image icon;
    if (!bytes.empty() && icon.loadFromMemory(bytes.data(), bytes.size())) {
        // The image's own size: a picture of another size must not be read as 32 x 32.
        setIcon(icon.getSize().x, icon.getSize().y, icon.getPixelsPtr());
    }
}

void Application::ShowFirstScreen(ScreenDirector& director) {
    // The director takes the controllers' menu commands from now on.
    Controller::SetCommandHandler(&director);
    if (director.GetCurrentScreenId() != 0) {
        return;
    }
    if (UserPreferences::GetInstance().skipMenu) {
        // Straight to the quick-match selection, with the main menu below it to go back to.
        matchSetup.mode = MatchSetup::QuickMatch;
        director.PushScreen(kMainMenuScreen);
        frameSkip = true;
        director.PushScreen(kQuickMatchSelectionScreen);
        frameSkip = true;
    } else {
        director.PushScreen(kTitleScreen);
    }
}

void Application::Run() {
    std::vector<PerformanceCounter::Counter>& counters = PerformanceCounter::GetInstance().counters;
    m_FrameClock.restart();
    while (isOpen()) {
        // Everything the frame plays, from the events' handlers through the update steps to the
        // drawing, is one frame of the movies: one script budget and one network allowance.
        const MovieFrame frame;
        counters[kUpdateCounter].clock.restart();
        counters[kUpdateCounter].count += 1;
        HandleEvents();
        UpdateAndDraw(m_FrameClock.restart().asSeconds());
    }
}

void Application::HandleEvents() {
    sf::Event event;
    while (pollEvent(event)) {
        switch (event.type) {
        case sf::Event::Closed: CloseWindow(); return;
        case sf::Event::Resized: FitView(event.size.width, event.size.height); break;
        case sf::Event::LostFocus: setFramerateLimit(kUnfocusedFrameRate); break;
        case sf::Event::GainedFocus: setFramerateLimit(0); break;
        case sf::Event::KeyPressed: HandleKeyPressed(event); break;
        case sf::Event::KeyReleased:
        case sf::Event::JoystickButtonPressed:
        case sf::Event::JoystickMoved:
            if (std::optional<InputEvent> input = m_EventAdapter.Translate(event)) {
                for (const std::unique_ptr<Controller>& controller : controllers) {
                    controller->OnEvent(*input);
                }
            }
            if (m_Screens != nullptr) {
                m_Screens->OnEvent(event);
            }
            break;
        case sf::Event::MouseButtonPressed:
            if (m_Screens == nullptr) {
                break;
            }
            if (const char* hint = HintForMouseButton(m_Screens->GetCurrentScreenId(), matchSetup.mode)) {
                m_Screens->ShowHint(hint, 0);
            }
            break;
        default: break;
        }
    }
}

void Application::HandleKeyPressed(const sf::Event& event) {
    bool used = false;
    if (std::optional<InputEvent> input = m_EventAdapter.Translate(event)) {
        for (const std::unique_ptr<Controller>& controller : controllers) {
            used = controller->OnEvent(*input) || used;
        }
    }
    if (m_Screens != nullptr) {
        m_Screens->OnEvent(event);
    }

    switch (DebugKeyFor(event.key, paused)) {
    case DebugKey::ToggleDebugDraw: debugDraw = !debugDraw; return;
    case DebugKey::ToggleCounters: showCounters = !showCounters; return;
    case DebugKey::ReloadSounds:
        SoundManager::GetInstance().Clear();
        SoundManager::GetInstance().Load();
        return;
    case DebugKey::ShowPodium: ShowDebugPodium(); return;
    case DebugKey::TogglePause: paused = !paused; return;
    case DebugKey::SingleStep:
        if (m_Screens != nullptr) {
            m_Screens->Update(kMaxStepSeconds);
        }
        return;
    case DebugKey::None: break;
    }
    if (m_Screens == nullptr) {
        return;
    }
    if (const char* hint = HintForKeyPress(used, m_Screens->GetCurrentScreenId())) {
        m_Screens->ShowHint(hint, 0);
    }
}

void Application::UpdateAndDraw(float frameSeconds) {
    PerformanceCounter& performance = PerformanceCounter::GetInstance();
    std::vector<PerformanceCounter::Counter>& counters = performance.counters;

    FrameSteps steps = SplitFrameTime(FrameDeltaTime(frameSkip, frameSeconds));
    frameSkip = false;

    // A window closed by this frame's events has nothing left to draw into.
    if (isOpen()) {
        clear(UserPreferences::GetInstance().enableBitmaps ? sf::Color::Black : kClearColorWithoutBitmaps);
    }
    ClearRootCanvas(overlay);
    if (!paused) {
        for (int i = 0; i < steps.count; ++i) {
            SoundManager::GetInstance().Update();
            if (m_Screens != nullptr) {
                m_Screens->Update(steps.step);
            }
        }
    }
    // Nor has a window that the update steps closed (the exit screen).
    const bool drawing = isOpen();
    counters[kUpdateCounter].time += counters[kUpdateCounter].clock.getElapsedTime().asSeconds();
    counters[kRenderCounter].clock.restart();
    counters[kRenderCounter].count += 1;

    if (drawing) {
        if (m_Screens != nullptr) {
            m_Screens->Draw(*this);
        }
        draw(overlay);
        const swfplayer::render_handler_ogl& handler = swfplayer::get_render_handler_ogl();
        counters[kSwfPrimsCounter].count += handler.m_meshes + handler.m_line_strips;
        performance.Update(frameSeconds);
        if (showCounters) {
            draw(performance);
        }
        draw(leftBar);
        draw(rightBar);
        display();
    }
    counters[kRenderCounter].time += counters[kRenderCounter].clock.getElapsedTime().asSeconds();
}

void Application::Shutdown() {
    UserPreferences::GetInstance().Save();
    Controller::SetCommandHandler(nullptr);
    if (m_Screens != nullptr) {
        m_Screens->Shutdown();
    }
    // Every sound and stream goes now, so the audio device closes before the program ends.
    SoundManager::GetInstance().StopMusic();
    SoundManager::GetInstance().Clear();
    TiXmlIOProxy::SetCurrent(nullptr);
    PHYSFS_deinit();
    platform::RestoreAccessibilityShortcuts();
}

void Application::FitView(unsigned int width, unsigned int height) {
    std::optional<sf::Vector2f> size =
        FittedViewSize(width != 0 ? width : getSize().x, height != 0 ? height : getSize().y, logicalView.getSize());
    if (!size) {
        return;
    }
    windowView.setSize(*size);
    windowView.setCenter(logicalView.getCenter());
    setView(windowView);
}

void Application::CloseWindow() {
    if (!isOpen()) {
        return;
    }
    UserPreferences& preferences = UserPreferences::GetInstance();
    preferences.windowSize.x = static_cast<float>(getSize().x);
    preferences.windowSize.y = static_cast<float>(getSize().y);
    close();
}

Controller* Application::FindController(Controller* controller) const {
    for (const std::unique_ptr<Controller>& own : controllers) {
        if (own.get() == controller) {
            return controller;
        }
    }
    return nullptr;
}

void Application::DetachControllers() {
    for (const std::unique_ptr<Controller>& controller : controllers) {
        controller->Attach(nullptr);
    }
}

void Application::NewSetup(int32_t mode) {
    matchSetup = MatchSetup();
    TakeMatch(MatchRecord());
    matchSetup.mode = mode;
}

void Application::ShowDebugPodium() {
    matchSetup.podium = kDebugPodium;
    if (m_Screens != nullptr) {
        m_Screens->PushScreen(kPodiumScreen);
    }
    frameSkip = true;
}

float Application::GetJoystickAxis(unsigned int joystick, unsigned int axis) {
    if (joystick >= sf::Joystick::Count) {
        return 0.0f;
    }
    if (axis == Joy::AxisPOV) {
        return EventAdapter::PovAngle(sf::Joystick::getAxisPosition(joystick, sf::Joystick::PovX),
                                      sf::Joystick::getAxisPosition(joystick, sf::Joystick::PovY));
    }
    // The six stick axes have the same numbers in the window library.
    if (axis > Joy::AxisV) {
        return 0.0f;
    }
    return sf::Joystick::getAxisPosition(joystick, static_cast<sf::Joystick::Axis>(axis));
}

bool Application::IsKeyDown(unsigned int key) {
    sf::Keyboard::Key sfmlKey = Key::ToSfml(key);
    return sfmlKey != sf::Keyboard::Unknown && sf::Keyboard::isKeyPressed(sfmlKey);
}
