#include "gui/FlashGUI.h"

#include "app/Application.h"
#include "app/Log.h"
#include "app/ResourceXml.h"
#include "app/VirtualFile.h"
#include "serializeme/StorageBuffer.h"
#include "serializeme/VectorSerialization.h"
#include "serializeme/XmlStorageBuffer.h"

#include <SFML/Window/Mouse.hpp>

#include <algorithm>
#include <cmath>

namespace {

// Font files are far smaller than this.
constexpr long long kMaxFontBytes = 64 * 1024 * 1024;
constexpr float kTwipsPerPixel = 20.0f;
// The button state a movie is given while the left mouse button is held.
constexpr int kLeftButton = 1;

}  // namespace

bool FlashGUI::LayerData::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("m_Name", m_Name);
        buffer.WriteString("m_FlashFile", m_FlashFile);
    } else {
        buffer.ReadString("m_Name", m_Name);
        buffer.ReadString("m_FlashFile", m_FlashFile);
    }
    return true;
}

bool FlashGUI::Data::Serialize(sme::StorageBuffer& buffer) {
    if (buffer.IsWriting()) {
        buffer.WriteString("m_FontName", m_FontName);
        sme::WriteVector(buffer, "m_Layers", m_Layers);
        sme::WriteVector(buffer, "m_TextElements", m_TextElements);
        return true;
    }
    buffer.ReadString("m_FontName", m_FontName);
    const bool layers = sme::ReadVector(buffer, "m_Layers", m_Layers);
    const bool texts = sme::ReadVector(buffer, "m_TextElements", m_TextElements);
    return layers && texts;
}

void FlashGUI::Layer::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    target.draw(m_Movie, states);
}

void FlashGUI::Layer::Update(Application& application, float dt) {
    NotifyMouse(application);
    m_Movie.Advance(dt);
}

void FlashGUI::Layer::OnEvent(const sf::Event& event) {
    if (event.type != sf::Event::MouseButtonPressed && event.type != sf::Event::MouseButtonReleased) {
        return;
    }
    const bool pressed = event.type == sf::Event::MouseButtonPressed;
    if (event.mouseButton.button == sf::Mouse::Left) {
        m_LeftDown = pressed;
    } else if (event.mouseButton.button == sf::Mouse::Right) {
        m_RightDown = pressed;
    }
    m_MouseButtons = m_LeftDown ? 1 : (m_RightDown ? 2 : 0);
    NotifyMouse(Application::GetInstance());
}

void FlashGUI::Layer::ClearMouseButtons() {
    m_LeftDown = false;
    m_RightDown = false;
    m_MouseButtons = 0;
}

// A window that is not open has no mouse to report, nor a view to map it into: the movie then
// gets the buttons at (0, 0). The main loop answers a press of a mouse button with a hint and never
// hands it on as an event, so the left button is read as it is held now, while the window has the
// focus: a click on a clip of the movie presses it.
void FlashGUI::Layer::NotifyMouse(Application& application) {
    swfplayer::root* root = m_Movie.GetRoot();
    if (root == nullptr) {
        return;
    }
    sf::Vector2f mouse;
    int buttons = m_MouseButtons;
    if (application.isOpen()) {
        mouse = application.mapPixelToCoords(sf::Mouse::getPosition(application));
        if (application.hasFocus() && sf::Mouse::isButtonPressed(sf::Mouse::Left)) {
            buttons = kLeftButton;
        }
    }
    root->notify_mouse_state(static_cast<int>(mouse.x), static_cast<int>(mouse.y), buttons);
}

void FlashGUI::Load(const std::string& file) {
    const ResourceXml resource(file);
    Data data;
    if (resource.GetRoot() == nullptr) {
        log_error("FlashGUI::Load: cannot read %s", file.c_str());
    } else {
        sme::XmlStorageBuffer reader(false);
        reader.SetRoot(resource.GetRoot());
        if (!reader.ReadObject(nullptr, data)) {
            log_error("FlashGUI::Load: %s holds no complete screen description", file.c_str());
        }
    }
    m_Data = data;
    LoadFont(m_Data.m_FontName);

    m_Layers.clear();
    for (const LayerData& record : m_Data.m_Layers) {
        auto layer = std::make_shared<Layer>(record.m_Name);
        layer->GetMovie().Load(record.m_FlashFile.c_str());
        layer->GetMovie().setPosition(0.0f, 0.0f);
        m_Layers.push_back(std::move(layer));
    }
    m_TextElements.clear();
    for (const TextElementData& record : m_Data.m_TextElements) {
        m_TextElements.emplace_back(record, GetFont());
    }
    m_Loaded = true;
}

// The font is read again only when the description names another one.
void FlashGUI::LoadFont(const std::string& file) {
    if (m_HasFont && file == m_FontFile) {
        return;
    }
    m_FontFile = file;
    const std::string bytes = VirtualFile::Load(file, kMaxFontBytes).bytes;
    m_FontBytes.assign(bytes.begin(), bytes.end());
    m_HasFont = !m_FontBytes.empty() && m_Font.loadFromMemory(m_FontBytes.data(), m_FontBytes.size());
    if (!m_HasFont) {
        log_error("FlashGUI::Load: cannot load the font %s", file.c_str());
    }
}

const sf::Font& FlashGUI::GetFont() const {
    return m_HasFont ? m_Font : Application::GetInstance().font;
}

void FlashGUI::Unload() {
    m_Layers.clear();
    m_FocusItems.clear();
    m_CurrentFocusItem = nullptr;
    m_Cursors.clear();
    m_SharedCursor.reset();
    m_TextElements.clear();
    m_Loaded = false;
}

void FlashGUI::Activate() {
    for (auto layer = m_Layers.rbegin(); layer != m_Layers.rend(); ++layer) {
        (*layer)->ClearMouseButtons();
    }
    RemoveAllCursors();
}

void FlashGUI::RemoveAllCursors() {
    m_Cursors.clear();
    m_SharedCursor.reset();
}

void FlashGUI::OnFSCommand(const std::string& command) {
    if (command == "EnableNavigation") {
        m_NavigationEnabled = true;
    }
}

void FlashGUI::OnFocusItemEvent(Controller* /*controller*/, FocusItem* /*item*/, int /*kind*/) {}

FlashMovie* FlashGUI::GetFirstMovie() const {
    return m_Layers.empty() ? nullptr : &m_Layers.front()->GetMovie();
}

void FlashGUI::Update(Application& application, float dt) {
    // The layers' movies send their FSCommands while they advance.
    const std::vector<std::shared_ptr<Layer>> layers = m_Layers;
    for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer) {
        (*layer)->Update(application, dt);
        (*layer)->GetMovie().SetColor(m_Color.r / 255.0f, m_Color.g / 255.0f, m_Color.b / 255.0f, m_Color.a / 255.0f);
    }

    const FlashMovie* movie = GetFirstMovie();
    for (size_t i = 0; i < m_TextElements.size() && i < m_Data.m_TextElements.size(); ++i) {
        const TextElementData& record = m_Data.m_TextElements[i];
        if (!m_TextElements[i].visible || record.m_Anchor.empty()) {
            continue;
        }
        sf::Vector2f position(record.m_PosX, record.m_PosY);
        if (const swfplayer::character* clip = movie ? movie->GetCharacter(record.m_Anchor) : nullptr) {
            position.x += clip->get_matrix().m[0][2] / kTwipsPerPixel;
            position.y += clip->get_matrix().m[1][2] / kTwipsPerPixel;
        }
        m_TextElements[i].text.setPosition(position);
    }

    for (const std::shared_ptr<FocusItem>& item : std::vector<std::shared_ptr<FocusItem>>(m_FocusItems)) {
        item->Update(dt);
    }
    if (m_NavigationEnabled) {
        for (const std::shared_ptr<FocusInstance>& cursor : AllCursors()) {
            cursor->Update(dt);
        }
    }
}

void FlashGUI::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    for (auto layer = m_Layers.rbegin(); layer != m_Layers.rend(); ++layer) {
        (*layer)->Render(target, states);
    }
    for (const TextElement& element : m_TextElements) {
        if (element.visible) {
            target.draw(element.text, states);
        }
    }
    for (const std::shared_ptr<FocusItem>& item : m_FocusItems) {
        item->Render(target, states);
    }
    if (m_NavigationEnabled) {
        for (const std::shared_ptr<FocusInstance>& cursor : AllCursors()) {
            cursor->Render(target, states);
        }
    }
}

void FlashGUI::OnEvent(const sf::Event& event) {
    for (const std::shared_ptr<Layer>& layer : std::vector<std::shared_ptr<Layer>>(m_Layers)) {
        layer->OnEvent(event);
    }
}

void FlashGUI::SetAllTextsVisible(bool visible) {
    for (TextElement& element : m_TextElements) {
        element.visible = visible;
    }
}

void FlashGUI::ShowTextsWithTagPart(const std::string& part) {
    for (TextElement& element : m_TextElements) {
        if (element.tag.find(part) != std::string::npos) {
            element.visible = true;
        }
    }
}

void FlashGUI::SetTextVisible(const std::string& tag, bool visible) {
    for (TextElement& element : m_TextElements) {
        if (element.tag == tag) {
            element.visible = visible;
        }
    }
}

void FlashGUI::SetTextPosition(const std::string& tag, const sf::Vector2f& position) {
    for (TextElement& element : m_TextElements) {
        if (element.tag == tag) {
            element.text.setPosition(position);
        }
    }
}

void FlashGUI::SetTextAlpha(const std::string& tag, float alpha) {
    const float clamped = std::isfinite(alpha) ? std::clamp(alpha, 0.0f, 1.0f) : 0.0f;
    for (TextElement& element : m_TextElements) {
        if (element.tag == tag) {
            sf::Color color = element.text.getFillColor();
            color.a = static_cast<sf::Uint8>(clamped * 255.0f);
            element.text.setFillColor(color);
        }
    }
}

void FlashGUI::SetText(const std::string& tag, const std::string& text) {
    for (TextElement& element : m_TextElements) {
        if (element.tag == tag) {
            element.text.setString(sf::String::fromUtf8(text.begin(), text.end()));
        }
    }
}

void FlashGUI::InsertLayerBefore(std::shared_ptr<Layer> layer, const std::string& name) {
    auto before = std::find_if(m_Layers.begin(), m_Layers.end(),
                               [&](const std::shared_ptr<Layer>& other) { return other->GetName() == name; });
    m_Layers.insert(before, std::move(layer));
}

void FlashGUI::RewindLayers() {
    for (const std::shared_ptr<Layer>& layer : std::vector<std::shared_ptr<Layer>>(m_Layers)) {
        if (swfplayer::root* root = layer->GetMovie().GetRoot()) {
            root->goto_frame(0);
            root->set_play_state(swfplayer::character::PLAY);
        }
    }
}
