#include "gui/SnapshotFocusItem.h"

#include "app/Controller.h"
#include "app/SoundManager.h"

namespace {

constexpr const char* kFocusSounds = "data/sounds/bubbleover%d.wav";
constexpr const char* kPressSounds = "data/sounds/hit%d.wav";
constexpr int kFirstSound = 1;
constexpr int kLastSound = 5;
// The portrait pops up with the first of its show-up animations.
constexpr const char* kShowUp = "showup1";
constexpr const char* kHide = "hide";

}  // namespace

SnapshotFocusItem::SnapshotFocusItem(const sf::Vector2f& position, const std::string& name, const sf::Font& font,
                                     uint32_t flags, const sf::Vector2f& tubeOffset, float scale)
    : FocusItem(name), m_Flags(flags), m_TubeOffset(tubeOffset), m_Scale(scale), m_Font(font) {
    Place(position, scale);
}

void SnapshotFocusItem::OnFocus(Controller* /*controller*/) {
    SoundManager::GetInstance().PlayRandom(kFocusSounds, kFirstSound, kLastSound, 1.0f);
}

void SnapshotFocusItem::OnPress(Controller* /*controller*/) {
    SoundManager::GetInstance().PlayRandom(kPressSounds, kFirstSound, kLastSound, 1.0f);
}

void SnapshotFocusItem::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    if (!m_Snapshot) {
        return;
    }
    target.draw(*m_Snapshot, states);
    if (HasDecoration()) {
        target.draw(m_Decoration, states);
    }
}

void SnapshotFocusItem::Update(float dt) {
    if (!m_Snapshot) {
        return;
    }
    m_Snapshot->Update(dt);
    if (HasDecoration()) {
        m_Decoration.Advance(dt);
    }
}

bool SnapshotFocusItem::Load(const std::string& file) {
    if (!m_File.empty()) {
        return false;
    }
    m_File = file;
    m_Snapshot = std::make_unique<GlobboSnapshot>();
    m_Snapshot->Setup(file, m_Font, m_Flags, m_TubeOffset);
    m_Snapshot->setPosition(m_Position);
    m_Snapshot->setScale(m_Scale, m_Scale);
    m_Snapshot->PlayFrameLabel(kShowUp);
    m_Snapshot->SetState(GlobboSnapshot::kShowingUp);
    m_Enabled = m_Snapshot->GetData().m_Selectable;
    return true;
}

bool SnapshotFocusItem::LoadWithController(const Controller* controller, const std::string& file) {
    if (!Load(file)) {
        return false;
    }
    if (HasDecoration() && controller != nullptr) {
        m_Decoration.Load(controller->GetGUIImage().c_str());
        Place(m_Position, m_Scale);
    }
    return true;
}

std::string SnapshotFocusItem::TakeOut() {
    std::string file;
    file.swap(m_File);
    m_Enabled = false;
    m_Decoration = FlashMovie();
    if (m_Snapshot) {
        m_Snapshot->PlayFrameLabel(kHide);
        m_Snapshot->SetState(GlobboSnapshot::kHiding);
    }
    return file;
}

void SnapshotFocusItem::SetPosition(const sf::Vector2f& position) {
    Place(position, m_Scale);
}

void SnapshotFocusItem::Place(const sf::Vector2f& position, float scale) {
    m_Position = position;
    m_Scale = scale;
    if (m_Snapshot) {
        m_Snapshot->setPosition(position);
        m_Snapshot->setScale(scale, scale);
    }
    if (HasDecoration()) {
        m_Decoration.setPosition(position.x - kDecorationLeft * scale, position.y + kDecorationDown * scale);
        m_Decoration.setScale(kDecorationScale * scale, kDecorationScale * scale);
    }
    const float half = kHalfSide * scale;
    SetRect({position.x - half, position.y - half, position.x + half, position.y + half});
}
