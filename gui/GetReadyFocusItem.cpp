#include "gui/GetReadyFocusItem.h"

#include "app/Controller.h"

GetReadyFocusItem::GetReadyFocusItem(const std::string& name, const FocusRect& rect) : FocusItem(name) {
    SetRect(rect);
    m_Movie.Load(kMovie);
    m_Movie.setOrigin(m_Movie.GetWidth() / 2.0f, m_Movie.GetHeight() / 2.0f);
    m_Movie.setPosition((rect.left + rect.right) / 2.0f, (rect.top + rect.bottom) / 2.0f);
}

void GetReadyFocusItem::OnPress(Controller* controller) {
    if (!m_Bound) {
        m_Bound = true;
        m_Controller = controller;
        if (controller != nullptr) {
            const sf::Color& colour = controller->GetGUIColor();
            m_Movie.SetColor(colour.r / 255.0f, colour.g / 255.0f, colour.b / 255.0f, colour.a / 255.0f);
        }
        m_Movie.GotoLabel("showup", true);
    } else if (controller == m_Controller) {
        m_Bound = false;
        m_Controller = nullptr;
        m_Movie.GotoLabel("hide", true);
    }
}

void GetReadyFocusItem::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    target.draw(m_Movie, states);
}

void GetReadyFocusItem::Update(float dt) {
    m_Movie.Advance(dt);
}
