#pragma once

#include "flash/FlashMovie.h"
#include "game/BotSettings.h"
#include "game/GlobboData.h"
#include "gui/TextElement.h"

#include <SFML/Graphics/Drawable.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Transformable.hpp>

#include <cstdint>
#include <optional>
#include <string>

// A creature's portrait on a menu: its face in a photo frame that pops up and away, a test tube
// of its body colour beside it and its name under it. Everything is drawn in the portrait's own
// coordinates, whose origin is the middle of the photo frame: its position, scale and origin
// place all four.
class GlobboSnapshot : public sf::Drawable, public sf::Transformable {
public:
    // What is drawn.
    enum Flags : uint32_t {
        kFace = 1,
        // The photo frame (which shows the face in its clip "face"), and the name laid out for it.
        kFrame = 2,
        kTube = 4,
        kOtherTube = 8,
        // A controller's picture beside the portrait (drawn by its focus item).
        kDecoration = 16,
    };
    // Where the frame's animation is.
    enum State { kShown = 0, kHiding = 1, kShowingUp = 2, kEmpty = 3 };

    static constexpr const char* kFrameMovie = "data/gui/photo_frame.swf";
    static constexpr const char* kTubeMovie = "data/gui/globbo_test_tube.swf";
    static constexpr const char* kFrameText = "data/gui/photo_frame_text.xml";
    static constexpr const char* kNoFrameText = "data/gui/photo_frame_text_noframe.xml";

    GlobboSnapshot();
    ~GlobboSnapshot() override = default;
    GlobboSnapshot(const GlobboSnapshot&) = delete;
    GlobboSnapshot& operator=(const GlobboSnapshot&) = delete;

    // Reads the creature's file (its definition, and the bot settings a computer opponent's file
    // adds; a file that cannot be read leaves the defaults), puts its portrait movie's "face" in
    // the frame's, lays out its name in the font and tints the tube's "liquid" with its body
    // colour. The portrait is showing up from then on.
    void Setup(const std::string& file, const sf::Font& font, uint32_t flags, const sf::Vector2f& tubeOffset);
    // Advances the frame's animation; when it has stopped, a portrait showing up is shown and one
    // hiding is empty.
    void Update(float dt);
    // The tube (while showing up or shown), the frame, the face, the name (while shown).
    virtual void Render(sf::RenderTarget& target, sf::RenderStates states) const;
    // Plays the frame's animation of the label from its start.
    void PlayFrameLabel(const char* label);

    const GlobboData& GetData() const { return m_Data; }
    const BotSettings& GetBotSettings() const { return m_BotSettings; }
    const std::string& GetFile() const { return m_File; }
    uint32_t GetFlags() const { return m_Flags; }
    int GetState() const { return m_State; }
    void SetState(int state) { m_State = state; }
    FlashMovie& GetFrameMovie() { return m_FrameMovie; }
    FlashMovie& GetTubeMovie() { return m_TubeMovie; }
    // The name text; null before Setup.
    const TextElement* GetName() const { return m_Name ? &*m_Name : nullptr; }
    void SetNameVisible(bool visible);

private:
    void draw(sf::RenderTarget& target, sf::RenderStates states) const final { Render(target, states); }
    void ReadCreature(const std::string& file);
    void LayOutName(const sf::Font& font);

    GlobboData m_Data;
    BotSettings m_BotSettings;
    FlashMovie m_FrameMovie;
    FlashMovie m_FaceMovie;
    FlashMovie m_TubeMovie;
    std::optional<TextElement> m_Name;
    std::string m_File;
    uint32_t m_Flags = 0;
    int m_State = kEmpty;
};
