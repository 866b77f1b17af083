#pragma once
// Internal to the screen tests: screens that write what is asked of them into one shared journal
// ("<id>:<what>"), with hooks that run inside their handlers, where real screens push and pop.

#include "app/Application.h"
#include "app/Controller.h"
#include "gui/GUIDirector.h"
#include "gui/ScreenRoles.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace gui_testing {

using Journal = std::vector<std::string>;

// The name a controller goes by in the journal.
inline std::string NameOf(const Controller* controller) {
    return controller == nullptr ? "none" : "c" + std::to_string(controller->GetGUIIndex());
}

// What every stub does: journal entries and a hook per handler.
struct StubHooks {
    std::function<void()> onUpdate;
    std::function<void(int)> onCommand;
    std::function<void(const std::string&)> onFSCommand;
    bool overlay = false;
    bool updatesBelow = false;
    Controller* handOver = nullptr;
};

// A Flash GUI screen under an id, without a movie of its own.
class StubScreen : public FlashGUI {
public:
    StubScreen(int id, Journal& journal) : m_Id(id), m_Journal(journal) {}
    ~StubScreen() override { Note("deleted"); }

    void Render(sf::RenderTarget&, sf::RenderStates) const override { Note("Render"); }
    void Update(Application&, float dt) override {
        Note("Update " + std::to_string(dt));
        if (hooks.onUpdate) {
            hooks.onUpdate();
        }
    }
    void OnCommand(Controller* controller, int command) override {
        Note("OnCommand " + NameOf(controller) + " " + std::to_string(command));
        if (hooks.onCommand) {
            hooks.onCommand(command);
        }
    }
    void Activate() override { Note("Activate"); }
    void OnFSCommand(const std::string& command) override {
        Note("OnFSCommand " + command);
        if (hooks.onFSCommand) {
            hooks.onFSCommand(command);
        }
    }
    bool IsOverlay() const override { return hooks.overlay; }
    bool UpdatesBelow() const override { return hooks.updatesBelow; }
    Controller* GetHandOver() const override { return hooks.handOver; }
    void TakeHandOver(Controller* controller) override { Note("TakeHandOver " + NameOf(controller)); }
    void Load(const std::string& file) override { Note("Load " + file); }
    void Unload() override { Note("Unload"); }

    StubHooks hooks;

protected:
    void Note(const std::string& what) const { m_Journal.push_back(std::to_string(m_Id) + ":" + what); }

private:
    int m_Id;
    Journal& m_Journal;
};

class StubTutorial : public TutorialScreen {
public:
    explicit StubTutorial(Journal& journal) : m_Journal(journal) {}
    void Activate() override { m_Journal.push_back("2:Activate"); }
    void Load(const std::string& file) override { m_Journal.push_back("2:Load " + file); }
    void Reset() override { m_Journal.push_back("2:Reset"); }
    void EnableButtons(bool enabled) override { m_Journal.push_back("2:EnableButtons " + std::to_string(enabled)); }

private:
    Journal& m_Journal;
};

class StubGetReady : public GetReadyScreen {
public:
    explicit StubGetReady(Journal& journal) : m_Journal(journal) {}
    void Activate() override { m_Journal.push_back("11:Activate"); }
    void Load(const std::string& file) override { m_Journal.push_back("11:Load " + file); }
    void Load(const std::string& file, MatchScreen&) override {
        m_Journal.push_back("11:Load " + file + " with match");
    }
    void Unload() override { m_Journal.push_back("11:Unload"); }
    bool IsOverlay() const override { return true; }
    bool UpdatesBelow() const override { return true; }
    void Update(Application&, float) override { m_Journal.push_back("11:Update"); }

private:
    Journal& m_Journal;
};

// The in-match screen; it notes whether the application's first controller still had a
// creature when its match ended.
class StubMatch : public MatchScreen {
public:
    explicit StubMatch(Journal& journal) : m_Journal(journal) {}
    void StartMatch() override { m_Journal.push_back("13:StartMatch"); }
    void EndMatch() override {
        const std::vector<std::unique_ptr<Controller>>& controllers = Application::GetInstance().controllers;
        const bool attached = !controllers.empty() && controllers.front()->GetCreature() != nullptr;
        m_Journal.push_back(std::string("13:EndMatch") + (attached ? " attached" : ""));
    }
    void Render(sf::RenderTarget&, sf::RenderStates) const override { m_Journal.push_back("13:Render"); }
    void Update(Application&, float dt) override { m_Journal.push_back("13:Update " + std::to_string(dt)); }
    void OnEvent(const sf::Event&) override { m_Journal.push_back("13:OnEvent"); }
    void OnCommand(Controller* controller, int command) override {
        m_Journal.push_back("13:OnCommand " + NameOf(controller) + " " + std::to_string(command));
    }
    void Activate() override { m_Journal.push_back("13:Activate"); }
    void OnFSCommand(const std::string& command) override { m_Journal.push_back("13:OnFSCommand " + command); }
    bool IsOverlay() const override { return false; }
    bool UpdatesBelow() const override { return false; }
    Controller* GetHandOver() const override { return nullptr; }
    void TakeHandOver(Controller*) override {}

private:
    Journal& m_Journal;
};

// Makes the director with a screen of the type, made for it, under the id, and stubs under the
// other ids (a stub match under the match's); the screen made.
template <typename Screen>
Screen& MakeDirectorWith(std::optional<GUIDirector>& director, int id, std::initializer_list<int> stubs,
                         Journal& journal) {
    Screen* made = nullptr;
    director.emplace([&](GUIDirector& owner) {
        auto screen = std::make_unique<Screen>(owner);
        made = screen.get();
        owner.RegisterScreen(id, std::move(screen));
        for (int stub : stubs) {
            if (stub == GUIDirector::kGame) {
                owner.RegisterMatch(std::make_unique<StubMatch>(journal));
            } else {
                owner.RegisterScreen(stub, std::make_unique<StubScreen>(stub, journal));
            }
        }
    });
    return *made;
}

}  // namespace gui_testing
