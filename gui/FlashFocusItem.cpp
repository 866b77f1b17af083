#include "gui/FlashFocusItem.h"

#include "gui/MovieClips.h"

FlashFocusItem::FlashFocusItem(std::shared_ptr<FlashGUI::Layer> layer, const std::string& name)
    : FocusItem(name), m_Layer(std::move(layer)) {
    if (swfplayer::character* clip = GetClip()) {
        const sf::Vector2f centre = ClipPosition(clip);
        const sf::Vector2f half = ClipSize(clip) / 2.0f;
        SetRect({centre.x - half.x, centre.y - half.y, centre.x + half.x, centre.y + half.y});
    }
}

swfplayer::character* FlashFocusItem::GetClip() const {
    return m_Layer ? m_Layer->GetMovie().GetCharacter(GetName()) : nullptr;
}

void FlashFocusItem::OnFocus(Controller* /*controller*/) {
    GotoClipLabel(GetClip(), "over", true);
}

void FlashFocusItem::OnPress(Controller* /*controller*/) {
    GotoClipLabel(GetClip(), "pressed", true);
}

bool FlashFocusItem::IsEnabled() const {
    return GetClip() != nullptr && !m_Layer->GetMovie().IsCharacterDisabled(GetName());
}
