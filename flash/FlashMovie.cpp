#include "flash/FlashMovie.h"

#include "flash/FSCommand.h"
#include "flash/MovieCache.h"
#include "flash/PhysfsFile.h"
#include "flash/render_handler_ogl.h"
#include "swfplayer/main/common/finite_float.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/player/clip_loader.h"
#include "swfplayer/main/player/precompute.h"
#include "swfplayer/main/script/as_object.h"
#include "swfplayer/main/shapes/canvas.h"
#include "swfplayer/main/swfplayer_as_classes/builtin_classes.h"
#include "swfplayer/main/text/edit_text_character.h"

#include <GL/gl.h>
#include <SFML/System/Clock.hpp>

#include <cmath>

using swfplayer::character;
using swfplayer::smart_ptr;
using swfplayer::sprite_instance;

namespace {

FlashMovie::DrawTimer g_DrawTimer = nullptr;

sprite_instance* AsSprite(character* ch) {
    return swfplayer::cast_to_sprite_instance(ch);
}

float FiniteOrZero(float value) {
    return std::isfinite(value) ? value : 0.0f;
}

character* SetMultipliers(character* ch, float r, float g, float b, float a) {
    if (ch) {
        swfplayer::cxform cx = ch->get_cxform();
        const float values[4] = {r, g, b, a};
        for (int i = 0; i < 4; ++i) {
            cx.m[i][0] = FiniteOrZero(values[i]);
        }
        ch->set_cxform(cx);
    }
    return ch;
}

character* SetTranslation(character* ch, const sf::Vector2f& pos) {
    if (ch) {
        swfplayer::matrix m = ch->get_matrix();
        m.m[0][2] = FiniteOrZero(pos.x * 20.0f);
        m.m[1][2] = FiniteOrZero(pos.y * 20.0f);
        ch->set_matrix(m);
    }
    return ch;
}

}  // namespace

FlashMovie::FlashMovie(const char* file) {
    Load(file);
}

FlashMovie::~FlashMovie() {
    m_Root = nullptr;
    m_Player = nullptr;
}

void FlashMovie::Load(const char* file) {
    m_Root = nullptr;
    m_Player = nullptr;
    swfplayer::register_file_opener_callback(OpenPhysfsFile);
    swfplayer::set_render_handler(&swfplayer::get_render_handler_ogl());
    swfplayer::register_fscommand_callback(FSCommandCallback);
    swfplayer::register_builtin_classes();
    swfplayer::register_clip_loader();
    m_Player = new swfplayer::player();

    // Freshness is decided before anything is read, so a stale cache is never loaded; the
    // cache is then read from the very file judged fresh, not found again by the opener.
    const MovieCache cache(file);
    swfplayer::set_use_cache_files(false);
    if (swfplayer::movie_def_impl* def = m_Player->create_movie(file)) {
        const bool cached = cache.Read(def);
        swfplayer::precompute_cached_data(def);
        if (!cached) {
            cache.Write(*def);
        }
    }
    m_Root = m_Player->load_file(file);
    if (m_Root) {
        const int width = m_Root->get_movie_width();
        const int height = m_Root->get_movie_height();
        m_Root->set_display_viewport(0, 0, width, height);
        m_Root->set_background_alpha(0.0f);
        m_Width = static_cast<float>(width);
        m_Height = static_cast<float>(height);
    }
    m_Visible = true;
}

swfplayer::root* FlashMovie::CurrentRoot() const {
    swfplayer::root* root = m_Root.get_ptr();
    while (root && root->get_replacement()) {
        root = root->get_replacement();
    }
    return root;
}

// The replaced root keeps the old movie alive while it is held: once the handle holds the new
// root instead, the old movie goes.
void FlashMovie::AdoptReplacement() {
    m_Root = CurrentRoot();
}

void FlashMovie::Update(void* /*context*/, float dt) {
    Advance(dt);
}

void FlashMovie::Advance(float dt) {
    // The movie's FSCommand handlers may drop this handle (and with it the movie) meanwhile.
    smart_ptr<swfplayer::player> player = m_Player;
    smart_ptr<swfplayer::root> root = m_Root;
    if (root) {
        root->advance(dt);
        // A movie loaded into the root movie took its place during the advance.
        if (m_Root == root) {
            AdoptReplacement();
        }
    }
}

void FlashMovie::draw(sf::RenderTarget& target, sf::RenderStates states) const {
    states.transform *= getTransform();
    Render(target, states);
}

void FlashMovie::Render(sf::RenderTarget& target, const sf::RenderStates& states) const {
    const sf::Clock clock;
    if (m_Visible && m_Root) {
        smart_ptr<swfplayer::root> root = CurrentRoot();
        root->set_display_viewport(0, 0, static_cast<int>(m_Width), static_cast<int>(m_Height));
        // The render handler draws inside the matrices it finds: SFML's view as the projection
        // and the drawable's transform as the model view. It gives back every state it changes
        // and the matrices are popped here, so SFML's own state cache still holds afterwards;
        // the viewport set here is the one SFML keeps for its current view.
        target.setActive(true);
        const sf::IntRect viewport = target.getViewport(target.getView());
        glViewport(viewport.left, static_cast<int>(target.getSize().y) - (viewport.top + viewport.height),
                   viewport.width, viewport.height);
        glMatrixMode(GL_PROJECTION);
        glPushMatrix();
        glLoadMatrixf(target.getView().getTransform().getMatrix());
        glMatrixMode(GL_MODELVIEW);
        glPushMatrix();
        glLoadMatrixf(states.transform.getMatrix());
        root->display();
        glMatrixMode(GL_PROJECTION);
        glPopMatrix();
        glMatrixMode(GL_MODELVIEW);
        glPopMatrix();
    }
    if (g_DrawTimer != nullptr) {
        g_DrawTimer(clock.getElapsedTime().asSeconds());
    }
}

void FlashMovie::SetDrawTimer(DrawTimer timer) {
    g_DrawTimer = timer;
}

character* FlashMovie::GetCharacter(const std::string& name) const {
    swfplayer::root* root = CurrentRoot();
    sprite_instance* movie = root ? root->get_root_sprite() : nullptr;
    if (movie == nullptr) {
        return nullptr;
    }
    return movie->get_display_list().get_character_by_name(name.c_str());
}

character* FlashMovie::GetChildCharacter(const std::string& parent, const std::string& child) const {
    sprite_instance* sprite = AsSprite(GetCharacter(parent));
    return sprite ? sprite->get_display_list().get_character_by_name(child.c_str()) : nullptr;
}

void FlashMovie::SetColor(float r, float g, float b, float a) {
    if (swfplayer::root* root = CurrentRoot()) {
        SetMultipliers(root->get_root_sprite(), r, g, b, a);
    }
}

character* FlashMovie::SetCharacterColor(const std::string& name, float r, float g, float b, float a) {
    return SetMultipliers(GetCharacter(name), r, g, b, a);
}

character* FlashMovie::SetChildCharacterColor(const std::string& parent, const std::string& child, float r, float g,
                                              float b, float a) {
    return SetMultipliers(GetChildCharacter(parent, child), r, g, b, a);
}

character* FlashMovie::SetCharacterPosition(const std::string& name, const sf::Vector2f& pos) {
    return SetTranslation(GetCharacter(name), pos);
}

character* FlashMovie::SetChildCharacterPosition(const std::string& parent, const std::string& child,
                                                 const sf::Vector2f& pos) {
    return SetTranslation(GetChildCharacter(parent, child), pos);
}

// The other movie's character is shared, not copied: both display lists hold it, so it lives
// as long as either movie shows it. It keeps its parent and player (the other movie's), so its
// own scripts and frames still run in the other movie; once that movie is gone it is only drawn.
bool FlashMovie::ReplaceCharacter(const std::string& name, FlashMovie& other, const std::string& otherName) {
    swfplayer::root* root = CurrentRoot();
    sprite_instance* movie = root ? root->get_root_sprite() : nullptr;
    character* ch = GetCharacter(name);
    character* otherCh = other.GetCharacter(otherName);
    if (movie == nullptr || ch == nullptr || otherCh == nullptr) {
        return false;
    }
    const smart_ptr<character> keep = ch;
    movie->get_display_list().replace_display_object(otherCh, ch->get_depth(), false, swfplayer::cxform(), false,
                                                     swfplayer::matrix(), ch->get_ratio(), ch->get_clip_depth());
    return true;
}

void FlashMovie::SetText(const std::string& name, const std::string& text) {
    character* ch = GetCharacter(name);
    if (ch && ch->is(swfplayer::AS_EDIT_TEXT)) {
        static_cast<swfplayer::edit_text_character*>(ch)->set_text_value(text.c_str());
    }
}

bool FlashMovie::GotoLabel(const char* label, bool play) {
    smart_ptr<swfplayer::player> player = m_Player;
    smart_ptr<swfplayer::root> root = CurrentRoot();
    if (!root || !root->goto_labeled_frame(label)) {
        return false;
    }
    if (play) {
        root->set_play_state(character::PLAY);
    }
    const smart_ptr<swfplayer::root> held = m_Root;
    root->advance(0.0f);
    if (m_Root == held) {
        AdoptReplacement();
    }
    return true;
}

bool FlashMovie::IsCharacterDisabled(const std::string& name) const {
    sprite_instance* sprite = AsSprite(GetCharacter(name));
    if (sprite == nullptr) {
        return false;
    }
    int frame = -1;
    return sprite->get_movie_definition()->get_labeled_frame("disabled", &frame) &&
           sprite->get_current_frame() == frame;
}

bool FlashMovie::CallRootMethod(const char* name) {
    // The function may send FSCommands whose handlers drop this handle, or load another movie
    // into the root.
    smart_ptr<swfplayer::player> player = m_Player;
    smart_ptr<swfplayer::root> root = CurrentRoot();
    if (!root || name == nullptr) {
        return false;
    }
    const smart_ptr<swfplayer::root> held = m_Root;
    root->call_method(name, nullptr, 0);
    if (m_Root == held) {
        AdoptReplacement();
    }
    return true;
}

void ClearRootCanvas(FlashMovie& movie) {
    if (swfplayer::root* root = movie.GetRoot()) {
        if (sprite_instance* sprite = root->get_root_sprite()) {
            if (swfplayer::canvas* drawing = sprite->get_canvas()) {
                drawing->clear();
            }
        }
    }
}
