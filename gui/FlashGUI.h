#pragma once

#include "flash/FlashMovie.h"
#include "gui/FocusInstance.h"
#include "gui/FocusItem.h"
#include "gui/GUIBase.h"
#include "gui/TextElement.h"
#include "serializeme/Serializable.h"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Font.hpp>

#include <map>
#include <memory>
#include <string>
#include <vector>

// A menu screen built from a description file under "data/gui": a stack of SWF movies (the
// layers, the first drawn on top) with texts drawn over them, and the focus navigation of its
// items by the controllers' cursors. Screens derive from it and add their items, texts and
// FSCommands.
//
// Screens push and pop screens from inside their own handlers, and a movie's FSCommand can
// unload the very screen whose movie is playing. So the screen never walks its live lists while
// it calls out: it walks copies, and layers, items and cursors are shared, so whatever a walk or
// a cursor still holds lives until it lets go.
class FlashGUI : public GUIBase {
public:
    // One movie of a description (record "guilayer").
    struct LayerData : public sme::Serializable {
        bool Serialize(sme::StorageBuffer& buffer) override;
        const char* TypeName() const override { return "guilayer"; }

        std::string m_Name;
        std::string m_FlashFile;
    };

    // A screen's description (record "flashgui").
    struct Data : public sme::Serializable {
        bool Serialize(sme::StorageBuffer& buffer) override;
        const char* TypeName() const override { return "flashgui"; }

        // The font of all the texts.
        std::string m_FontName;
        // The movies, the first on top.
        std::vector<LayerData> m_Layers;
        std::vector<TextElementData> m_TextElements;
    };

    // One movie of the screen, placed at (0, 0), with the mouse passed on to it.
    class Layer {
    public:
        explicit Layer(std::string name) : m_Name(std::move(name)) {}
        virtual ~Layer() = default;
        Layer(const Layer&) = delete;
        Layer& operator=(const Layer&) = delete;

        virtual void Render(sf::RenderTarget& target, sf::RenderStates states) const;
        // Passes the mouse position (in the window's view) and the button state (the left button
        // while it is held and the window has the focus) to the movie, then advances it by dt.
        virtual void Update(Application& application, float dt);
        // Mouse button presses and releases set the button state (1 left, 2 right, 0 none) and
        // pass it to the movie at once.
        virtual void OnEvent(const sf::Event& event);

        const std::string& GetName() const { return m_Name; }
        FlashMovie& GetMovie() { return m_Movie; }
        const FlashMovie& GetMovie() const { return m_Movie; }
        int GetMouseButtons() const { return m_MouseButtons; }
        void ClearMouseButtons();

    private:
        void NotifyMouse(Application& application);

        FlashMovie m_Movie;
        std::string m_Name;
        int m_MouseButtons = 0;
        bool m_LeftDown = false;
        bool m_RightDown = false;
    };

    // The focus-item events of OnFocusItemEvent.
    enum FocusEvent { kFocusGained = 0, kFocusLost = 1, kPressed = 2 };

    FlashGUI() = default;
    ~FlashGUI() override = default;
    FlashGUI(const FlashGUI&) = delete;
    FlashGUI& operator=(const FlashGUI&) = delete;

    void Render(sf::RenderTarget& target, sf::RenderStates states) const override;
    void Update(Application& application, float dt) override;
    void OnEvent(const sf::Event& event) override;
    // Moves and presses with the controller's cursor (FlashGUIFocus.cpp).
    void OnCommand(Controller* controller, int command) override;
    // Clears the layers' mouse buttons and removes every cursor; the items stay.
    void Activate() override;
    // "EnableNavigation" switches the navigation on; everything else is the screens' business.
    void OnFSCommand(const std::string& command) override;
    bool IsOverlay() const override { return false; }
    bool UpdatesBelow() const override { return false; }
    // The last controller that sent this screen a command.
    Controller* GetHandOver() const override { return m_LastController; }
    // Puts the controller's cursor on the current focus item.
    void TakeHandOver(Controller* controller) override;

    // Reads the description and builds its layers and texts; the focus items are not touched.
    // A file that cannot be read is logged and gives a screen without layers or texts; a font
    // that fails is logged and the texts use the application's font.
    virtual void Load(const std::string& file);
    // Removes the layers, items, cursors and texts; the description and the font stay.
    virtual void Unload();
    // A controller's cursor came onto an item, left it, or pressed it. Nothing here.
    virtual void OnFocusItemEvent(Controller* controller, FocusItem* item, int kind);

    // Texts, by their tags (compared exactly); each acts on every text with the tag.
    void SetAllTextsVisible(bool visible);
    // Shows every text whose tag contains the part; the others stay as they are.
    void ShowTextsWithTagPart(const std::string& part);
    void SetTextVisible(const std::string& tag, bool visible);
    void SetTextPosition(const std::string& tag, const sf::Vector2f& position);
    // Alpha 0 to 1; the colour's other components stay.
    void SetTextAlpha(const std::string& tag, float alpha);
    void SetText(const std::string& tag, const std::string& text);

    // Inserts the layer before the first layer of the name, or last when there is none.
    void InsertLayerBefore(std::shared_ptr<Layer> layer, const std::string& name);
    // Every layer's movie goes back to its first frame and plays.
    void RewindLayers();

    // Focus items and cursors (FlashGUIFocus.cpp).
    // An item for the first layer's clip of the name, appended; the first item becomes the
    // current focus item.
    void AddFlashFocusItem(const std::string& name);
    // Inserts the item before the first item of the name, or last when there is none.
    void InsertFocusItemBefore(std::shared_ptr<FocusItem> item, const std::string& name);
    FocusItem* FindFocusItem(const std::string& name) const;
    // Cuts the named item's links and the links back to it from its four neighbours.
    void UnlinkFocusItem(const std::string& name);
    // Unlinks and deletes the named item; no link of any other item points to it afterwards.
    // Cursors on it stay until the caller moves them (MoveAllFocus).
    void RemoveFocusItem(const std::string& name);
    // Deletes every item; the current focus item becomes none. Cursors on them stay until the
    // caller moves them.
    void RemoveAllFocusItems();
    // The named item becomes the current focus item (none when there is none), and a cursor
    // that every controller shares is made on it, for the application's first controller,
    // unless there is one already (which stays where it is).
    void SetFocus(const std::string& name);
    // Puts the controller's cursor (the shared one, if any) on the named item.
    void SetControllerFocus(Controller* controller, const std::string& name);
    // Removes every cursor; the items stay.
    void RemoveAllCursors();
    // Puts every cursor on the named item, or on the current focus item when there is none.
    void MoveAllFocus(const std::string& name);

    // State for screens and tests.
    const std::vector<std::shared_ptr<Layer>>& GetLayers() const { return m_Layers; }
    // The first layer's movie; null when there are no layers.
    FlashMovie* GetFirstMovie() const;
    const std::vector<TextElement>& GetTextElements() const { return m_TextElements; }
    const std::vector<std::shared_ptr<FocusItem>>& GetFocusItems() const { return m_FocusItems; }
    FocusItem* GetCurrentFocusItem() const { return m_CurrentFocusItem; }
    FocusInstance* GetSharedCursor() const { return m_SharedCursor.get(); }
    // The controller's own cursor; null when it has none.
    FocusInstance* GetCursor(Controller* controller) const;
    size_t GetCursorCount() const { return m_Cursors.size(); }
    const Data& GetData() const { return m_Data; }
    const sf::Font& GetFont() const;
    bool IsLoaded() const { return m_Loaded; }
    void SetLoaded(bool loaded) { m_Loaded = loaded; }
    bool IsNavigationEnabled() const { return m_NavigationEnabled; }
    void SetNavigationEnabled(bool enabled) { m_NavigationEnabled = enabled; }
    // The screen's colour (white at first): every layer's movie is tinted by it each update.
    const sf::Color& GetColor() const { return m_Color; }
    void SetColor(const sf::Color& color) { m_Color = color; }

protected:
    // Makes the controller's cursor on the current focus item (or the first item) with its
    // flash, and arranges the rings.
    void CreateCursor(Controller* controller);
    // Moves the cursor one step in the direction, for the controller that commanded it.
    void MoveFocus(const std::shared_ptr<FocusInstance>& cursor, int direction, Controller* controller);
    // Nests the rings of controllers' cursors that share an item.
    void ArrangeRings();

private:
    void LoadFont(const std::string& file);
    std::shared_ptr<FocusItem> ItemHandle(const FocusItem* item) const;
    // Whether the cursor is still one of this screen's cursors.
    bool HoldsCursor(const FocusInstance* cursor) const;
    std::vector<std::shared_ptr<FocusInstance>> AllCursors() const;

    Data m_Data;
    sf::Font m_Font;
    std::string m_FontFile;
    std::vector<char> m_FontBytes;
    bool m_HasFont = false;
    std::vector<std::shared_ptr<Layer>> m_Layers;
    std::vector<TextElement> m_TextElements;
    std::vector<std::shared_ptr<FocusItem>> m_FocusItems;
    std::map<Controller*, std::shared_ptr<FocusInstance>> m_Cursors;
    FocusItem* m_CurrentFocusItem = nullptr;
    std::shared_ptr<FocusInstance> m_SharedCursor;
    Controller* m_LastController = nullptr;
    bool m_Loaded = true;
    bool m_NavigationEnabled = true;
    sf::Color m_Color = sf::Color::White;
};
