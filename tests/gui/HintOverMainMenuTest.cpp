// The first start's main menu under its "gui controls" hint, as the game draws both in windows of
// the sizes and shapes a player may give it: while the hint waits for the player's move and press,
// the cursor can go to every item of the menu, so each item, with all that shows the cursor on it
// (its wobbling clip, its label and the ring), and each bubble of the mouse must be drawn in the
// window clear of the hint's panel. Every rectangle is read from the movies and the screens'
// drawables as they are drawn.
#include "app/ViewFitting.h"
#include "gui/GUIDirector.h"
#include "gui/GUIHint.h"
#include "gui/GUIMainMenu.h"
#include "tests/gui/ScreenTestBase.h"

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/View.hpp>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace gui_testing {
namespace {

constexpr float kFrame = 1.0f / 30.0f;
// Long enough for the hint to slide in and for an item's "over" wobble to play out.
constexpr float kSlideSeconds = 1.0f;
constexpr float kWobbleSeconds = 0.5f;
// The default window, the logical screen's own size, and wider, narrower and taller shapes.
const sf::Vector2u kWindows[] = {{1024, 768}, {800, 600}, {1280, 720}, {1920, 1080}, {1280, 1024}, {768, 1024}};

sf::FloatRect Union(const sf::FloatRect& a, const sf::FloatRect& b) {
    if (a.width <= 0.0f && a.height <= 0.0f) {
        return b;
    }
    const float left = std::min(a.left, b.left);
    const float top = std::min(a.top, b.top);
    return {left, top, std::max(a.left + a.width, b.left + b.width) - left,
            std::max(a.top + a.height, b.top + b.height) - top};
}

std::string Describe(const sf::FloatRect& r) {
    std::ostringstream out;
    out << "(" << r.left << ", " << r.top << ") to (" << r.left + r.width << ", " << r.top + r.height << ")";
    return out.str();
}

// The clip's bounds where the layer's movie draws them, in the coordinates of the screens' view:
// the clip's bounds in its parent go through the parent's stage matrix, then from the movie's
// frame (twips) to the movie's size in pixels as the render handler maps them, then through the
// movie's own placement.
sf::FloatRect DrawnBounds(const FlashMovie& movie, swfplayer::character* clip) {
    swfplayer::rect r;
    clip->get_bound(&r);
    if (const swfplayer::character* parent = clip->get_parent()) {
        parent->get_world_matrix().transform(&r);
    }
    const swfplayer::rect& frame = movie.GetRoot()->get_movie_definition()->get_frame_size();
    const float scaleX = movie.GetWidth() / (frame.x_max - frame.x_min);
    const float scaleY = movie.GetHeight() / (frame.y_max - frame.y_min);
    const sf::FloatRect pixels((r.x_min - frame.x_min) * scaleX, (r.y_min - frame.y_min) * scaleY,
                               (r.x_max - r.x_min) * scaleX, (r.y_max - r.y_min) * scaleY);
    return movie.getTransform().transformRect(pixels);
}

// A window of the size, with the game's view fitted to it; it maps the view's rectangles to its
// pixels.
class FittedWindow : public sf::RenderTarget {
public:
    FittedWindow(sf::Vector2u size, sf::Vector2f logical) : m_Size(size) {
        m_View.setCenter(logical / 2.0f);
        m_View.setSize(FittedViewSize(size.x, size.y, logical).value());
    }
    sf::Vector2u getSize() const override { return m_Size; }

    sf::FloatRect Map(const sf::FloatRect& r) const {
        const sf::Vector2i a = mapCoordsToPixel({r.left, r.top}, m_View);
        const sf::Vector2i b = mapCoordsToPixel({r.left + r.width, r.top + r.height}, m_View);
        return {static_cast<float>(a.x), static_cast<float>(a.y), static_cast<float>(b.x - a.x),
                static_cast<float>(b.y - a.y)};
    }

private:
    sf::Vector2u m_Size;
    sf::View m_View;
};

class HintOverMainMenuTest : public ScreenTestBase {
protected:
    void SetUp() override {
        ScreenTestBase::SetUp();
        m_HintMenuControls = preferences.hintMenuControls;
        preferences.hintMenuControls = true;
        director.emplace();
    }
    void TearDown() override {
        preferences.hintMenuControls = m_HintMenuControls;
        ScreenTestBase::TearDown();
    }

    GUIMainMenu& Menu() { return director->GetMainMenu(); }
    GUIHint& Hint() { return director->GetHint(); }
    void Run(float seconds) {
        for (float t = 0; t < seconds; t += kFrame) {
            director->Update(kFrame);
        }
    }
    // The bubble's clip and its label as they are now.
    sf::FloatRect BubbleNow(const std::string& name) {
        const FlashMovie& movie = *Menu().GetFirstMovie();
        sf::FloatRect drawn = DrawnBounds(movie, movie.GetCharacter(name));
        bool labelled = false;
        for (const TextElement& text : Menu().GetTextElements()) {
            if (text.visible && text.tag == "label " + name) {
                drawn = Union(drawn, text.text.getGlobalBounds());
                labelled = true;
            }
        }
        EXPECT_TRUE(labelled) << name << " shows no label";
        return drawn;
    }
    // What shows the cursor on the item now: its bubble, label and the cursor's ring.
    sf::FloatRect ItemNow(const std::string& name) {
        sf::FloatRect drawn = BubbleNow(name);
        if (const auto& ring = Menu().GetSharedCursor()->GetRing()) {
            drawn = Union(drawn, ring->getGlobalBounds());
        }
        return drawn;
    }

    bool m_HintMenuControls = true;
};

TEST_F(HintOverMainMenuTest, every_item_and_the_cursor_on_it_show_clear_of_the_first_start_hint) {
    director->PushScreen(GUIDirector::kMainMenu);
    Run(kSlideSeconds);
    ASSERT_EQ(Hint().GetHintName(), "gui controls");
    ASSERT_TRUE(Hint().IsWaiting());
    ASSERT_NE(Hint().GetFirstMovie(), nullptr);
    ASSERT_NE(Menu().GetFirstMovie(), nullptr);

    const FlashMovie& hintMovie = *Hint().GetFirstMovie();
    const sf::FloatRect hint = DrawnBounds(hintMovie, hintMovie.GetCharacter("background"));
    const FlashMovie& menuMovie = *Menu().GetFirstMovie();
    const sf::FloatRect screen =
        menuMovie.getTransform().transformRect({0, 0, menuMovie.GetWidth(), menuMovie.GetHeight()});

    // The cursor goes round every item to the right, as a player's moves take it, and back to the
    // first; each item is seen from its arrival until its wobble has played out.
    const std::vector<std::shared_ptr<FocusItem>> items = Menu().GetFocusItems();
    ASSERT_EQ(items.size(), 5u);
    std::vector<std::pair<std::string, sf::FloatRect>> seen;
    for (size_t move = 0; move < items.size(); ++move) {
        director->HandleCommand(controllers[0], Controller::kRight);
        const std::string name = Menu().GetSharedCursor()->GetItem()->GetName();
        sf::FloatRect drawn;
        for (float t = 0; t < kWobbleSeconds; t += kFrame) {
            drawn = Union(drawn, ItemNow(name));
            director->Update(kFrame);
        }
        seen.emplace_back(name, drawn);
    }
    std::set<std::string> visited;
    for (const auto& [name, drawn] : seen) {
        visited.insert(name);
    }
    EXPECT_EQ(visited.size(), items.size());
    // The moves alone do not let the hint go: it still waits, where it rested.
    ASSERT_TRUE(Hint().IsWaiting());
    EXPECT_EQ(DrawnBounds(hintMovie, hintMovie.GetCharacter("background")), hint);
    // The bubbles that only the mouse presses show as well.
    for (const char* name : {"newgamechampionship", "tutorial"}) {
        seen.emplace_back(name, BubbleNow(name));
    }

    for (const sf::Vector2u& size : kWindows) {
        const FittedWindow window(size, {menuMovie.GetWidth(), menuMovie.GetHeight()});
        const sf::FloatRect hintInWindow = window.Map(hint);
        const sf::FloatRect screenInWindow = window.Map(screen);
        for (const auto& [name, drawn] : seen) {
            SCOPED_TRACE(name + " in a window of " + std::to_string(size.x) + " x " + std::to_string(size.y));
            const sf::FloatRect item = window.Map(drawn);
            sf::FloatRect overlap;
            EXPECT_FALSE(item.intersects(hintInWindow, overlap))
                << "the item at " << Describe(item) << " lies " << overlap.width << " x " << overlap.height
                << " pixels under the hint at " << Describe(hintInWindow);
            // The screens cover the logical screen; beside it a wide window is blacked out.
            sf::FloatRect inside;
            ASSERT_TRUE(item.intersects(screenInWindow, inside));
            EXPECT_EQ(inside, item) << "the item at " << Describe(item) << " leaves the screen at "
                                    << Describe(screenInWindow);
        }
    }
}

}  // namespace
}  // namespace gui_testing
