#pragma once

#include "app/Application.h"
#include "app/Controller.h"
#include "app/SoundManager.h"
#include "app/sigslot.h"
#include "flash/FSCommand.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Window/Event.hpp>

#include <cstring>
#include <deque>

// Stand-in for the screen director and its control-hint overlay: it keeps the stack of screen
// ids that the application pushes and shows at most one screen, which a host program lends it.
// That screen gets the updates, the drawing, the window events, the controllers' commands and
// the movies' FSCommands (except "playsound" ones, which go to the sound manager). The director
// never closes the window itself.

namespace standin {

// What the director asks of the screen it shows.
class Screen {
public:
    virtual ~Screen() = default;
    // dt seconds of one update step.
    virtual void Update(Application& application, float dt) = 0;
    virtual void Render(sf::RenderTarget& target) = 0;
    virtual void OnEvent(const sf::Event&) {}
    // A controller's command 1 to 7 (left, right, up, down, select, start, back).
    virtual void OnCommand(Controller*, int) {}
    virtual void OnFSCommand(const char*) {}
};

class GUIHint {
public:
    void ShowHint(const char*, int) {}
};

class GUIDirector : public CommandHandler, public sigslot::has_slots<> {
public:
    static GUIDirector& GetInstance() {
        static GUIDirector instance;
        return instance;
    }

    void PushScreen(int id) {
        m_Ids.push_front(id);
        Application::GetInstance().frameSkip = true;
    }

    // The id on top of the stack, 0 when the stack is empty.
    int GetCurrentScreenId() const { return m_Ids.empty() ? 0 : m_Ids.front(); }

    // Shows the screen in place of any earlier one; null shows none. The caller keeps the screen
    // alive while it is shown (until another is shown, or Shutdown).
    void ShowScreen(Screen* screen) {
        m_Screen = screen;
        Application::GetInstance().frameSkip = true;
    }
    Screen* GetScreen() const { return m_Screen; }

    void OnEvent(const sf::Event& event) {
        if (m_Screen) {
            m_Screen->OnEvent(event);
        }
    }
    void HandleCommand(Controller* controller, int command) override {
        if (m_Screen) {
            m_Screen->OnCommand(controller, command);
        }
    }
    void Update(float dt) {
        if (m_Screen) {
            m_Screen->Update(Application::GetInstance(), dt);
        }
    }
    void Draw(sf::RenderTarget& target) {
        if (m_Screen) {
            m_Screen->Render(target);
        }
    }
    void OnFSCommand(const char* command) {
        if (std::strncmp(command, "playsound", 9) == 0) {
            SoundManager::GetInstance().ExecuteCommand(command);
        } else if (m_Screen) {
            m_Screen->OnFSCommand(command);
        }
    }
    GUIHint& GetHint() { return m_Hint; }

    // Releases the screens and empties the stack (application shutdown).
    void Shutdown() {
        m_Screen = nullptr;
        m_Ids.clear();
    }

private:
    GUIDirector() { FSCommandSignal().connect(this, &GUIDirector::OnFSCommand); }

    std::deque<int> m_Ids;
    Screen* m_Screen = nullptr;
    GUIHint m_Hint;
};

}  // namespace standin
