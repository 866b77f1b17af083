#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/display/character.h"
#include "swfplayer/main/player/frame_scope.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/script/player.h"

#include <SFML/Graphics/Drawable.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Transformable.hpp>
#include <SFML/System/Vector2.hpp>

#include <string>

// One frame of the game's movies for as long as it lives: every movie advanced, loaded or called,
// every FSCommand handled and every network call made meanwhile share one script budget and one
// allowance of network waits, however many movies play. The application opens one around each of
// its frames; a movie advanced or loaded while none is open is a frame of its own.
using MovieFrame = swfplayer::frame_scope;

// One SWF movie as the game sees it: loaded through the virtual file system, advanced, drawn
// as an SFML drawable (its position, scale, rotation and origin apply), its named clips found,
// coloured, moved, relabelled and replaced. Copies are further handles on the same playing
// movie: they share its player and root.
class FlashMovie : public sf::Drawable, public sf::Transformable {
public:
    FlashMovie() = default;
    explicit FlashMovie(const char* file);
    ~FlashMovie() override;
    FlashMovie(const FlashMovie&) = default;
    FlashMovie& operator=(const FlashMovie&) = default;

    // Loads file (a name of the virtual file system) in place of this handle's movie. On
    // failure the handle has a player and no root; everything else then does nothing, and the
    // size stays that of the movie before.
    virtual void Load(const char* file);
    // Both run dt seconds of the movie; Update's context is not used.
    virtual void Update(void* context, float dt);
    virtual void Advance(float dt);
    // Draws the movie into the current OpenGL context of target, inside the drawable's
    // transform.
    virtual void Render(sf::RenderTarget& target, const sf::RenderStates& states) const;
    // Receives the seconds each Render took (the shell's performance overlay counts them); none
    // by default, and a null one stops the reports.
    using DrawTimer = void (*)(float seconds);
    static void SetDrawTimer(DrawTimer timer);

    swfplayer::player* GetPlayer() const { return m_Player.get_ptr(); }
    // The playing root: when a script loaded another movie into the root movie, the root that
    // took over.
    swfplayer::root* GetRoot() const { return CurrentRoot(); }
    // The frame size in pixels of the movie the last successful load found; 0 before one. A
    // failed load keeps the size from before it, and a movie that a script loads into the root
    // movie is shown in that size.
    float GetWidth() const { return m_Width; }
    float GetHeight() const { return m_Height; }

    // The character called name in the root movie's display list; null when there is none.
    swfplayer::character* GetCharacter(const std::string& name) const;
    // The character child in the display list of the sprite parent.
    swfplayer::character* GetChildCharacter(const std::string& parent, const std::string& child) const;

    // The four multipliers of the root movie's colour transform (a non-finite one counts as 0);
    // the add terms stay.
    void SetColor(float r, float g, float b, float a);
    swfplayer::character* SetCharacterColor(const std::string& name, float r, float g, float b, float a);
    swfplayer::character* SetChildCharacterColor(const std::string& parent, const std::string& child, float r, float g,
                                                 float b, float a);
    // Moves the character's translation to pos pixels.
    swfplayer::character* SetCharacterPosition(const std::string& name, const sf::Vector2f& pos);
    swfplayer::character* SetChildCharacterPosition(const std::string& parent, const std::string& child,
                                                    const sf::Vector2f& pos);
    // Puts other's character otherName in place of this movie's character name (see .cpp).
    bool ReplaceCharacter(const std::string& name, FlashMovie& other, const std::string& otherName);
    // The text of the edit-text field name.
    void SetText(const std::string& name, const std::string& text);
    // Goes to the frame labelled label (and plays when play is set); false for an unknown
    // label, which changes nothing.
    bool GotoLabel(const char* label, bool play);
    // Whether the sprite name shows its frame labelled "disabled".
    bool IsCharacterDisabled(const std::string& name) const;
    // Runs the root movie's script function name at once, without arguments and with the root
    // movie as "this", as a script calling it would. False when no movie is loaded; a name that
    // is no function of the root movie does nothing. This is the game's only call into a
    // movie's script.
    bool CallRootMethod(const char* name);

private:
    void draw(sf::RenderTarget& target, sf::RenderStates states) const override;
    // The root at the end of the chain of replacements from m_Root.
    swfplayer::root* CurrentRoot() const;
    // Holds the current root instead of the one it replaced.
    void AdoptReplacement();

    swfplayer::smart_ptr<swfplayer::player> m_Player;
    swfplayer::smart_ptr<swfplayer::root> m_Root;
    bool m_Visible = true;
    float m_Width = 0.0f;
    float m_Height = 0.0f;
};

// Clears the drawing canvas of the movie's root sprite (made there on first use) where it stands:
// what was drawn into it last frame is gone.
void ClearRootCanvas(FlashMovie& movie);
