#include "game/Level.h"

#include "app/KeyCodes.h"
#include "app/Log.h"
#include "app/Logger.h"
#include "app/ResourceXml.h"
#include "app/SoundManager.h"
#include "app/UserPreferences.h"
#include "app/VirtualFile.h"
#include "game/BodyRegistry.h"
#include "game/FiniteValues.h"
#include "game/FlashClip.h"
#include "game/LevelLimits.h"
#include "game/Teleporter.h"
#include "serializeme/XmlStorageBuffer.h"

#include <box2d/b2_fixture.h>

#include <algorithm>
#include <filesystem>
#include <iterator>

namespace {

// Background pictures are far smaller than this.
constexpr long long kMaxPictureBytes = 64 * 1024 * 1024;
// The background's centre sits on the middle of the 800 x 600 screen.
const sf::Vector2f kScreenCentre(400.0f, 300.0f);
// Key code 112, the letter p, writes the outline sketch.
constexpr unsigned int kSketchKey = 112;

}  // namespace

Level::Level() = default;

Level::~Level() {
    disconnect_all();
    Clear();
}

void Level::Clear() {
    SoundManager& sounds = SoundManager::GetInstance();
    for (const std::unique_ptr<Ball>& ball : m_Balls) {
        sounds.ForgetBody(ball->GetBody());
        EraseBodyRecord(ball->GetBody());
    }
    for (const b2Body* body : m_SoundBodies) {
        sounds.ForgetBody(body);
    }
    m_SoundBodies.clear();
    m_Balls.clear();
    m_Elements.clear();
    m_Effects.clear();
    m_NamedBodies.clear();
    m_Particles = FlashParticles(m_ParticleTransform);
    m_Background = sf::Sprite();
    m_BackgroundTexture.reset();
    m_BackgroundImage = sf::Image();
}

bool Level::ReadData(const std::string& file) {
    const ResourceXml resource(file);
    TiXmlElement* root = resource.GetRoot();
    if (root == nullptr || sme::XmlStorageBuffer::FindChildByName(root, "data") == nullptr) {
        return false;
    }
    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(root);
    reader.ReadObject("data", m_Data);
    LevelLimits::Apply(m_Data, file);
    return true;
}

// The sprite is centred on the screen whether or not a picture loaded (an empty one has its
// centre at its corner).
void Level::LoadBackground() {
    if (!m_Data.m_Background.empty()) {
        LoadBackgroundPicture();
    }
    const sf::FloatRect size = m_Background.getLocalBounds();
    m_Background.setOrigin(size.width / 2.0f, size.height / 2.0f);
    m_Background.setPosition(kScreenCentre);
}

void Level::LoadBackgroundPicture() {
    const std::string bytes = VirtualFile::Load(m_Data.m_Background, kMaxPictureBytes).bytes;
    if (!bytes.empty() && m_BackgroundImage.loadFromMemory(bytes.data(), bytes.size())) {
        m_BackgroundTexture = std::make_unique<sf::Texture>();
        if (!m_BackgroundTexture->loadFromImage(m_BackgroundImage)) {
            m_BackgroundTexture.reset();
        }
    }
    if (m_BackgroundTexture == nullptr) {
        log_error("Failed to load background image %s.", m_Data.m_Background.c_str());
        m_BackgroundImage = sf::Image();
        return;
    }
    m_Background.setTexture(*m_BackgroundTexture, true);
}

void Level::BuildElements() {
    for (const StaticElementData& clip : m_Data.m_Statics) {
        auto element = std::make_unique<FlashClip>(clip.m_FlashFile);
        element->GetMovie().setPosition(clip.m_Position.x, clip.m_Position.y);
        m_Elements.push_back(std::move(element));
    }
    for (const ActiveElementData& active : m_Data.m_Actives) {
        if (active.m_Type == "teleporter") {
            m_Elements.push_back(
                std::make_unique<Teleporter>(active.m_Position, kTeleporterRadius, active.m_Position2));
        }
    }
}

Ball* Level::AddBall(const b2Vec2& position) {
    std::unique_ptr<Ball> ball = Ball::Create(m_Physics, finite_values::Position(position));
    if (ball == nullptr) {
        return nullptr;
    }
    m_Balls.push_back(std::move(ball));
    return m_Balls.back().get();
}

b2Body* Level::GetBodyByName(const std::string& name) const {
    auto it = m_NamedBodies.find(name);
    return it == m_NamedBodies.end() ? nullptr : it->second;
}

Ball* Level::GetBall(const b2Fixture* fixture) const {
    return fixture != nullptr ? GetBall(fixture->GetBody()) : nullptr;
}

Ball* Level::GetBall(const b2Body* body) const {
    for (const std::unique_ptr<Ball>& ball : m_Balls) {
        if (ball->GetBody() == body) {
            return ball.get();
        }
    }
    return nullptr;
}

void Level::AddEffect(std::unique_ptr<LevelElement> effect) {
    if (effect != nullptr) {
        m_Effects.push_back(std::move(effect));
    }
}

void Level::OnBodyRemoved(const b2Body* body) {
    auto ball = std::find_if(m_Balls.begin(), m_Balls.end(), [body](const auto& b) { return b->GetBody() == body; });
    if (ball != m_Balls.end()) {
        SoundManager::GetInstance().ForgetBody(body);
        EraseBodyRecord(body);
        m_Balls.erase(ball);
    }
    auto name = std::find_if(m_NamedBodies.begin(), m_NamedBodies.end(),
                             [body](const auto& entry) { return entry.second == body; });
    if (name != m_NamedBodies.end()) {
        m_NamedBodies.erase(name);
    }
    std::erase(m_SoundBodies, body);
}

// The loops below go by index and read the list's size at every step: an update or a draw that
// leads to a body being removed (and its ball with it) never leaves them on a freed entry.

void Level::DrawBack(sf::RenderTarget& target, const sf::RenderStates& states) {
    if (UserPreferences::GetInstance().enableBitmaps && m_BackgroundTexture != nullptr) {
        target.draw(m_Background, states);
    }
    for (size_t i = 0; i < m_Elements.size(); ++i) {
        m_Elements[i]->DrawBack(target, states, m_Physics);
    }
}

void Level::DrawBalls(sf::RenderTarget& target, const sf::RenderStates& states) {
    for (size_t i = 0; i < m_Balls.size(); ++i) {
        m_Balls[i]->DrawFront(target, states, m_Physics);
    }
}

void Level::DrawFront(sf::RenderTarget& target, const sf::RenderStates& states) {
    for (size_t i = 0; i < m_Elements.size(); ++i) {
        m_Elements[i]->DrawFront(target, states, m_Physics);
    }
    for (size_t i = 0; i < m_Effects.size(); ++i) {
        m_Effects[i]->DrawFront(target, states, m_Physics);
    }
    target.draw(m_Particles, states);
    m_Sketch.Draw(target, states);
}

void Level::DrawOverlay(sf::RenderTarget& target, const sf::RenderStates& states) {
    m_PathFinder.DrawGrid(m_Physics, target, states);
    for (size_t i = 0; i < m_Elements.size(); ++i) {
        m_Elements[i]->DrawOverlay(target, states, m_Physics);
    }
    for (size_t i = 0; i < m_Effects.size(); ++i) {
        m_Effects[i]->DrawOverlay(target, states, m_Physics);
    }
}

void Level::Update(Application* application, float dt) {
    for (size_t i = 0; i < m_Balls.size(); ++i) {
        m_Balls[i]->Update(application, m_Physics, dt);
    }
    for (size_t i = 0; i < m_Elements.size(); ++i) {
        m_Elements[i]->Update(application, m_Physics, dt);
    }
    // The effects run from a list of their own, so that effects added meanwhile wait for the
    // next update and a finished one is dropped after its own update has returned.
    std::vector<std::unique_ptr<LevelElement>> running;
    running.swap(m_Effects);
    std::vector<std::unique_ptr<LevelElement>> kept;
    for (std::unique_ptr<LevelElement>& effect : running) {
        if (effect->Update(application, m_Physics, dt)) {
            kept.push_back(std::move(effect));
        }
    }
    kept.insert(kept.end(), std::make_move_iterator(m_Effects.begin()), std::make_move_iterator(m_Effects.end()));
    m_Effects = std::move(kept);
    m_Particles.Update(dt);
}

void Level::HandleEvent(const sf::Event& event, const sf::RenderTarget& target, const sf::Transform& levelTransform) {
    if (event.type == sf::Event::KeyPressed) {
        const std::optional<Key::Code> key = Key::FromSfml(event.key.code);
        if (key && *key == kSketchKey) {
            const std::string& userFolder = Logger::GetInstance().GetUserFolder();
            std::error_code error;
            m_Sketch.Save(userFolder.empty() ? std::filesystem::current_path(error)
                                             : std::filesystem::path(userFolder));
        }
        return;
    }
    if (event.type != sf::Event::MouseButtonPressed) {
        return;
    }
    const sf::Vector2f screen = target.mapPixelToCoords(sf::Vector2i(event.mouseButton.x, event.mouseButton.y));
    const sf::Vector2f pixel = levelTransform.getInverse().transformPoint(screen);
    if (event.mouseButton.button == sf::Mouse::Left) {
        m_Sketch.AddPoint(pixel);
    } else if (event.mouseButton.button == sf::Mouse::Right) {
        m_Sketch.StartShape();
    }
}
