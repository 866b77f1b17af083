#include "gui/GlobboSnapshot.h"

#include "app/Log.h"
#include "app/ResourceXml.h"
#include "serializeme/XmlStorageBuffer.h"

#include <tinyxml.h>

GlobboSnapshot::GlobboSnapshot() : m_FrameMovie(kFrameMovie), m_TubeMovie(kTubeMovie) {}

void GlobboSnapshot::Setup(const std::string& file, const sf::Font& font, uint32_t flags,
                           const sf::Vector2f& tubeOffset) {
    m_Flags = flags;
    m_State = kShowingUp;
    m_File = file;
    setOrigin(m_FrameMovie.GetWidth() / 2.0f, m_FrameMovie.GetHeight() / 2.0f);
    ReadCreature(file);

    m_FaceMovie.Load(m_Data.m_SnapshotFile.c_str());
    m_FrameMovie.ReplaceCharacter("face", m_FaceMovie, "face");
    LayOutName(font);

    if ((flags & (kTube | kOtherTube)) != 0) {
        m_TubeMovie.setOrigin(m_TubeMovie.GetWidth() / 2.0f, m_TubeMovie.GetHeight() / 2.0f);
        m_TubeMovie.setPosition(tubeOffset);
        const ColorData& color = m_Data.m_BodyColor;
        m_TubeMovie.SetCharacterColor("liquid", color.r / 255.0f, color.g / 255.0f, color.b / 255.0f, 1.0f);
    }
}

// A player's file holds the creature's definition; a computer opponent's file holds its bot
// settings beside it.
void GlobboSnapshot::ReadCreature(const std::string& file) {
    m_Data = GlobboData();
    m_BotSettings = BotSettings();
    const ResourceXml resource(file);
    const TiXmlElement* root = resource.GetRoot();
    const TiXmlElement* definition = root != nullptr ? root->FirstChildElement("globbo") : nullptr;
    if (definition == nullptr) {
        log_error("GlobboSnapshot::Setup: cannot read the creature %s", file.c_str());
        return;
    }
    sme::XmlStorageBuffer reader(false);
    reader.SetRoot(definition);
    m_Data.Serialize(reader);
    sme::XmlStorageBuffer settings(false);
    settings.SetRoot(root);
    settings.ReadObject("m_Settings", m_BotSettings);
}

// The name takes the layout of the text file's first text, as a screen's text element does, with
// the creature's name for its words.
void GlobboSnapshot::LayOutName(const sf::Font& font) {
    const char* layoutFile = (m_Flags & kFrame) != 0 ? kFrameText : kNoFrameText;
    TextElementData layout;
    const ResourceXml resource(layoutFile);
    const TiXmlElement* first = resource.GetRoot() != nullptr ? resource.GetRoot()->FirstChildElement() : nullptr;
    if (first == nullptr) {
        log_error("GlobboSnapshot::Setup: no text layout in %s", layoutFile);
    } else {
        sme::XmlStorageBuffer reader(false);
        reader.SetRoot(first);
        layout.Serialize(reader);
    }
    m_Name.emplace(layout, font);
    const std::string& name = m_Data.m_CharacterName;
    m_Name->text.setString(sf::String::fromUtf8(name.begin(), name.end()));
}

void GlobboSnapshot::SetNameVisible(bool visible) {
    if (m_Name) {
        m_Name->visible = visible;
    }
}

void GlobboSnapshot::PlayFrameLabel(const char* label) {
    m_FrameMovie.GotoLabel(label, true);
}

void GlobboSnapshot::Update(float dt) {
    m_FrameMovie.Advance(dt);
    const swfplayer::root* root = m_FrameMovie.GetRoot();
    if (root == nullptr || root->get_play_state() == swfplayer::character::STOP) {
        if (m_State == kShowingUp) {
            m_State = kShown;
        } else if (m_State == kHiding) {
            m_State = kEmpty;
        }
    }
}

void GlobboSnapshot::Render(sf::RenderTarget& target, sf::RenderStates states) const {
    states.transform *= getTransform();
    if ((m_Flags & (kTube | kOtherTube)) != 0 && (m_State == kShown || m_State == kShowingUp)) {
        target.draw(m_TubeMovie, states);
    }
    if ((m_Flags & kFrame) != 0) {
        target.draw(m_FrameMovie, states);
    }
    if ((m_Flags & kFace) != 0) {
        target.draw(m_FaceMovie, states);
    }
    if (m_State == kShown && m_Name && m_Name->visible) {
        target.draw(m_Name->text, states);
    }
}
