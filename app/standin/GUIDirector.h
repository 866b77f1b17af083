#pragma once

#include "app/Application.h"
#include "app/Controller.h"

#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Window/Event.hpp>

#include <deque>

// Stand-in for the screen director and its control-hint overlay: it keeps the stack of screen
// ids that the application pushes, shows no screen, takes the controllers' commands without acting
// on them and never closes the window itself.

namespace standin {

class GUIHint {
public:
    void ShowHint(const char*, int) {}
};

class GUIDirector : public CommandHandler {
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

    void OnEvent(const sf::Event&) {}
    void HandleCommand(Controller*, int) override {}
    void Update(float) {}
    void Draw(sf::RenderTarget&) {}
    GUIHint& GetHint() { return m_Hint; }

    // Releases the screens and empties the stack (application shutdown).
    void Shutdown() { m_Ids.clear(); }

private:
    GUIDirector() = default;

    std::deque<int> m_Ids;
    GUIHint m_Hint;
};

}  // namespace standin
