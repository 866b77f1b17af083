// Focus navigation without movies: the neighbour walk, cursors shared and per controller, the
// order of the events, rings and their pulse, hand-overs, and screens that change themselves
// from the events.
#include "gui/FlashGUI.h"
#include "tests/gui/GuiTestKit.h"
#include "tests/gui/ScreenStubs.h"

#include <gtest/gtest.h>

namespace gui_testing {
namespace {

// An item that notes its focus and presses, enabled or not, 60 x 40 pixels at (x, y).
class StubItem : public FocusItem {
public:
    StubItem(const std::string& name, Journal& journal, bool enabled = true, float x = 0.0f, float y = 0.0f)
        : FocusItem(name), enabled(enabled), m_Journal(journal) {
        SetRect({x, y, x + 60.0f, y + 40.0f});
    }
    void OnFocus(Controller* controller) override { m_Journal.push_back(GetName() + ":OnFocus " + NameOf(controller)); }
    void OnPress(Controller* controller) override { m_Journal.push_back(GetName() + ":OnPress " + NameOf(controller)); }
    bool IsEnabled() const override { return enabled; }

    bool enabled;

private:
    Journal& m_Journal;
};

// An item standing for a row of items: a cursor coming here lands on its child.
class GroupItem : public StubItem {
public:
    GroupItem(const std::string& name, Journal& journal, FocusItem* child) : StubItem(name, journal), m_Child(child) {}
    FocusItem* GetTarget() override { return m_Child; }

private:
    FocusItem* m_Child;
};

// A screen whose items are stub items and whose focus events go into the journal; a hook runs
// inside each event.
class NavScreen : public FlashGUI {
public:
    explicit NavScreen(Journal& journal) : m_Journal(journal) {}

    StubItem* Add(const std::string& name, bool enabled = true, float x = 0.0f) {
        auto item = std::make_shared<StubItem>(name, m_Journal, enabled, x);
        StubItem* raw = item.get();
        InsertFocusItemBefore(item, "");
        return raw;
    }
    void OnFocusItemEvent(Controller* controller, FocusItem* item, int kind) override {
        m_Journal.push_back("event " + item->GetName() + " " + std::to_string(kind) + " " + NameOf(controller));
        if (onEvent) {
            onEvent(kind);
        }
    }
    using FlashGUI::ArrangeRings;

    std::function<void(int)> onEvent;

private:
    Journal& m_Journal;
};

void Link(FocusItem* a, FocusItem* b, int direction, int back) {
    a->SetLink(direction, b);
    b->SetLink(back, a);
}

class FocusNavigationTest : public VirtualFolders {
protected:
    AppControllers controllers;
    Journal journal;
    NavScreen screen{journal};
};

// A chain a -> b -> c ... to the right, each item enabled or not by its letter's case.
std::vector<std::unique_ptr<StubItem>> Chain(const std::string& pattern, Journal& journal, bool ring) {
    std::vector<std::unique_ptr<StubItem>> items;
    for (char letter : pattern) {
        items.push_back(std::make_unique<StubItem>(std::string(1, letter), journal, std::isupper(letter) != 0));
    }
    for (size_t i = 0; i + 1 < items.size(); ++i) {
        items[i]->SetLink(FocusItem::kRight, items[i + 1].get());
    }
    if (ring) {
        items.back()->SetLink(FocusItem::kRight, items.front().get());
    }
    return items;
}

TEST_F(FocusNavigationTest, the_neighbour_walk_skips_disabled_items_and_gives_up_safely) {
    struct Case {
        const char* chain;  // upper case: enabled
        bool ring;
        const char* found;  // name, or "" for none
    };
    const Case cases[] = {
        {"AB", false, "B"},
        {"AbC", false, "C"},
        {"Abc", false, ""},
        {"A", false, ""},
        {"abc", true, "a"},
        {"Abc", true, "A"},
        {"AbcD", true, "D"},
        // The walk gives up after its twentieth step: past nineteen disabled items it still finds
        // the next, past twenty it stays, even where the chain ends there.
        {"AbbbbbbbbbbbbbbbbbbbC", false, "C"},
        {"AbbbbbbbbbbbbbbbbbbbbC", false, "A"},
        {"Abbbbbbbbbbbbbbbbbbbb", false, "A"},
        {"Abbbbbbbbbbbbbbbbbbb", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.chain);
        auto items = Chain(c.chain, journal, c.ring);
        FocusItem* found = items.front()->FindNeighbour(FocusItem::kRight);
        EXPECT_EQ(found ? found->GetName() : "", c.found);
    }
    auto items = Chain("AB", journal, false);
    EXPECT_EQ(items[0]->FindNeighbour(FocusItem::kLeft), nullptr);
    EXPECT_EQ(items[0]->FindNeighbour(-1), nullptr);
    EXPECT_EQ(items[0]->FindNeighbour(4), nullptr);
    // A group lands on its child; a disabled child is walked past along the group's links.
    StubItem child("child", journal, false);
    StubItem next("next", journal);
    GroupItem group("group", journal, &child);
    child.SetLink(FocusItem::kDown, &next);
    items[0]->SetLink(FocusItem::kDown, &group);
    EXPECT_EQ(items[0]->FindNeighbour(FocusItem::kDown), &next);
    child.enabled = true;
    EXPECT_EQ(items[0]->FindNeighbour(FocusItem::kDown), &child);
}

TEST_F(FocusNavigationTest, a_shared_cursor_moves_for_every_controller_and_events_come_in_order) {
    StubItem* a = screen.Add("a");
    StubItem* b = screen.Add("b");
    Link(a, b, FocusItem::kRight, FocusItem::kLeft);
    screen.SetFocus("a");
    ASSERT_NE(screen.GetSharedCursor(), nullptr);
    EXPECT_EQ(screen.GetSharedCursor()->GetController(), controllers[0]);
    EXPECT_EQ(screen.GetSharedCursor()->GetItem(), a);

    // The second controller moves it: the item hears of that controller, the old item loses the
    // focus before the new one gains it, and no controller gets a cursor of its own.
    screen.OnCommand(controllers[1], Controller::kRight);
    EXPECT_EQ(journal, (Journal{"b:OnFocus c2", "event a 1 c2", "event b 0 c2"}));
    EXPECT_EQ(screen.GetCursorCount(), 0u);
    EXPECT_EQ(screen.GetSharedCursor()->GetItem(), b);
    EXPECT_EQ(screen.GetHandOver(), controllers[1]);

    // A press goes to the item before the screen hears of it.
    journal.clear();
    screen.OnCommand(controllers[0], Controller::kStart);
    screen.OnCommand(controllers[0], Controller::kSpit);
    EXPECT_EQ(journal, (Journal{"b:OnPress c1", "event b 2 c1", "b:OnPress c1", "event b 2 c1"}));
    // A disabled item under the cursor is pressed all the same; back is not the navigation's.
    journal.clear();
    b->enabled = false;
    screen.OnCommand(controllers[1], Controller::kSpit);
    screen.OnCommand(controllers[0], Controller::kBack);
    EXPECT_EQ(journal, (Journal{"b:OnPress c2", "event b 2 c2"}));

    // SetFocus again moves the current item but not the existing cursor.
    screen.SetFocus("b");
    EXPECT_EQ(screen.GetCurrentFocusItem(), b);
    EXPECT_EQ(screen.GetSharedCursor()->GetItem(), b);
    screen.SetFocus("nothing");
    EXPECT_EQ(screen.GetCurrentFocusItem(), nullptr);
}

TEST_F(FocusNavigationTest, a_direction_without_a_usable_neighbour_goes_to_the_current_item) {
    StubItem* a = screen.Add("a");
    StubItem* b = screen.Add("b");
    StubItem* c = screen.Add("c");
    Link(a, b, FocusItem::kDown, FocusItem::kUp);
    Link(b, c, FocusItem::kDown, FocusItem::kUp);
    screen.SetFocus("a");
    screen.OnCommand(controllers[0], Controller::kDown);
    screen.OnCommand(controllers[0], Controller::kDown);
    EXPECT_EQ(screen.GetSharedCursor()->GetItem(), c);
    // Left has no link: back to the current item "a".
    journal.clear();
    screen.OnCommand(controllers[0], Controller::kLeft);
    EXPECT_EQ(screen.GetSharedCursor()->GetItem(), a);
    EXPECT_EQ(journal, (Journal{"a:OnFocus c1", "event c 1 c1", "event a 0 c1"}));
    // Already there: nothing happens.
    journal.clear();
    screen.OnCommand(controllers[0], Controller::kLeft);
    EXPECT_TRUE(journal.empty());
    // A ring of disabled items keeps the cursor where it is, without events.
    b->enabled = false;
    c->enabled = false;
    c->SetLink(FocusItem::kDown, b);
    screen.OnCommand(controllers[0], Controller::kDown);
    screen.OnCommand(controllers[0], Controller::kDown);
    EXPECT_EQ(screen.GetSharedCursor()->GetItem(), a);
    screen.MoveAllFocus("c");
    journal.clear();
    screen.OnCommand(controllers[0], Controller::kDown);
    EXPECT_EQ(screen.GetSharedCursor()->GetItem(), c);
    EXPECT_TRUE(journal.empty());
}

TEST_F(FocusNavigationTest, each_controller_shows_its_own_cursor_first_and_shares_an_item_with_nested_rings) {
    StubItem* a = screen.Add("a");
    StubItem* b = screen.Add("b");
    Link(a, b, FocusItem::kRight, FocusItem::kLeft);
    // Without a shared cursor, a controller's first command only shows its cursor, flashing.
    screen.OnCommand(controllers[0], Controller::kRight);
    ASSERT_NE(screen.GetCursor(controllers[0]), nullptr);
    EXPECT_EQ(screen.GetCursor(controllers[0])->GetItem(), a);
    EXPECT_EQ(screen.GetCursor(controllers[0])->GetFlashTimer(), 1.0f);
    EXPECT_TRUE(journal.empty());
    screen.OnCommand(controllers[1], Controller::kSpit);
    EXPECT_TRUE(journal.empty());

    // Both on "a": nested rings, each half as thick as one alone, inner to outer in the order
    // of the cursors' map.
    const float w = 60.0f;
    Controller* inner = std::min(controllers[0], controllers[1]);
    for (Controller* controller : {controllers[0], controllers[1]}) {
        const auto& ring = screen.GetCursor(controller)->GetRing();
        ASSERT_TRUE(ring.has_value());
        EXPECT_FLOAT_EQ(ring->getRadius(), 0.47f * w + (controller == inner ? 0.0f : w / 30.0f));
        EXPECT_FLOAT_EQ(ring->getOutlineThickness(), w / 30.0f);
        EXPECT_EQ(ring->getOutlineColor(), sf::Color(controller->GetGUIColor()));
    }
    // One moves away: each has a single ring again.
    screen.OnCommand(controllers[1], Controller::kRight);
    EXPECT_EQ(journal, (Journal{"b:OnFocus c2", "event a 1 c2", "event b 0 c2"}));
    EXPECT_EQ(screen.GetCursor(controllers[0])->GetItem(), a);
    for (int k = 0; k < 2; ++k) {
        EXPECT_FLOAT_EQ(screen.GetCursor(controllers[k])->GetRing()->getRadius(), 0.47f * w);
        EXPECT_FLOAT_EQ(screen.GetCursor(controllers[k])->GetRing()->getOutlineThickness(), w / 15.0f);
    }
    // The flash runs half a second.
    screen.Update(Application::GetInstance(), 0.2f);
    EXPECT_FLOAT_EQ(screen.GetCursor(controllers[0])->GetFlashTimer(), 0.6f);
    screen.Update(Application::GetInstance(), 0.4f);
    EXPECT_EQ(screen.GetCursor(controllers[0])->GetFlashTimer(), 0.0f);

    // Activation removes every cursor; the next command shows one again.
    screen.Activate();
    EXPECT_EQ(screen.GetCursorCount(), 0u);
    screen.OnCommand(controllers[1], Controller::kLeft);
    EXPECT_EQ(screen.GetCursor(controllers[1])->GetItem(), a);
}

TEST_F(FocusNavigationTest, rings_follow_the_item_and_an_item_without_width_has_none) {
    struct Case {
        FocusRect rect;
        int count, index;
        bool drawn;
        float radius, thickness, aspect, x, y;
    };
    const Case cases[] = {
        {{0, 0, 60, 40}, 1, 0, true, 28.2f, 4.0f, 40.0f / 60.0f, 30, 20},
        {{100, 50, 250, 200}, 3, 2, true, 70.5f + 2 * 10.0f / 3, 10.0f / 3, 1.0f, 175, 125},
        {{10, 10, 10, 50}, 1, 0, false, 0, 0, 0, 0, 0},
        {{10, 10, 5, 50}, 1, 0, false, 0, 0, 0, 0, 0},
        {{0, 0, 60, 40}, 0, 0, false, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        std::optional<RingGeometry> ring = RingFor(c.rect, c.count, c.index);
        ASSERT_EQ(ring.has_value(), c.drawn);
        if (ring) {
            EXPECT_FLOAT_EQ(ring->radius, c.radius);
            EXPECT_FLOAT_EQ(ring->thickness, c.thickness);
            EXPECT_FLOAT_EQ(ring->aspect, c.aspect);
            EXPECT_EQ(ring->centre, sf::Vector2f(c.x, c.y));
        }
    }
    // A cursor on an item of no width draws no ring.
    StubItem* flat = screen.Add("flat");
    flat->SetRect({5, 5, 5, 30});
    screen.SetFocus("flat");
    EXPECT_FALSE(screen.GetSharedCursor()->GetRing().has_value());
    NullTarget target;
    screen.Render(target, {});
}

TEST_F(FocusNavigationTest, the_ring_pulses_between_its_bounds) {
    struct Step {
        float dt;
        bool rising;
        float value;
    };
    const Step steps[] = {
        {0.1f, true, 0.525f},    // falls from 0 below 0.2 at once and turns: 0.4 - (-0.125)
        {0.25f, true, 0.725f},   // rises at 0.8 a second
        {0.25f, false, 0.675f},  // passes 0.8 and turns: 1.6 - 0.925
        {0.1f, false, 0.55f},    // falls at 1.25 a second
        {0.3f, true, 0.225f},    // passes 0.2 and turns: 0.4 - 0.175
    };
    RingPulse pulse;
    for (const Step& step : steps) {
        pulse.Step(step.dt);
        EXPECT_EQ(pulse.rising, step.rising);
        EXPECT_NEAR(pulse.value, step.value, 1e-5);
    }
}

TEST_F(FocusNavigationTest, the_hand_over_puts_the_controllers_cursor_on_the_current_item) {
    // The first item added as a clip becomes the current one (there is no movie: it has no clip).
    screen.AddFlashFocusItem("a");
    FocusItem* a = screen.FindFocusItem("a");
    StubItem* b = screen.Add("b");
    screen.TakeHandOver(controllers[1]);
    ASSERT_NE(screen.GetCursor(controllers[1]), nullptr);
    EXPECT_EQ(screen.GetCursor(controllers[1])->GetItem(), a);
    EXPECT_EQ(screen.GetCursor(controllers[1])->GetFlashTimer(), 0.0f);
    EXPECT_TRUE(journal.empty());
    EXPECT_EQ(screen.GetHandOver(), nullptr);
    // With a shared cursor, that one goes.
    screen.SetControllerFocus(controllers[0], "b");
    EXPECT_EQ(screen.GetCursor(controllers[0])->GetItem(), b);
    screen.SetFocus("a");
    screen.SetControllerFocus(controllers[0], "b");
    EXPECT_EQ(screen.GetSharedCursor()->GetItem(), b);
    EXPECT_EQ(screen.GetCursor(controllers[0])->GetItem(), b);
    screen.SetControllerFocus(controllers[0], "nothing");
    EXPECT_EQ(screen.GetSharedCursor()->GetItem(), b);
}

TEST_F(FocusNavigationTest, removed_items_leave_no_links_behind_and_cursors_wait_to_be_moved) {
    StubItem* a = screen.Add("a");
    StubItem* b = screen.Add("b");
    StubItem* c = screen.Add("c");
    Link(a, b, FocusItem::kRight, FocusItem::kLeft);
    c->SetLink(FocusItem::kUp, b);  // one way only
    screen.SetFocus("b");
    screen.RemoveFocusItem("b");
    EXPECT_EQ(screen.FindFocusItem("b"), nullptr);
    EXPECT_EQ(a->GetLink(FocusItem::kRight), nullptr);
    EXPECT_EQ(c->GetLink(FocusItem::kUp), nullptr);
    EXPECT_EQ(screen.GetCurrentFocusItem(), nullptr);
    // The cursor still holds the removed item until the caller moves it; moving from it is safe.
    EXPECT_EQ(screen.GetSharedCursor()->GetItem()->GetName(), "b");
    screen.OnCommand(controllers[0], Controller::kLeft);
    EXPECT_EQ(screen.GetSharedCursor()->GetItem(), a);
    screen.MoveAllFocus("c");
    EXPECT_EQ(screen.GetSharedCursor()->GetItem(), c);
    // Unlinking cuts both ways.
    Link(a, c, FocusItem::kDown, FocusItem::kUp);
    screen.UnlinkFocusItem("c");
    EXPECT_EQ(a->GetLink(FocusItem::kDown), nullptr);
    EXPECT_EQ(c->GetLink(FocusItem::kUp), nullptr);
    // Items go before the named one, or last.
    screen.InsertFocusItemBefore(std::make_shared<StubItem>("first", journal), "a");
    screen.InsertFocusItemBefore(std::make_shared<StubItem>("last", journal), "nothing");
    std::vector<std::string> names;
    for (const auto& item : screen.GetFocusItems()) {
        names.push_back(item->GetName());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"first", "a", "c", "last"}));
}

TEST_F(FocusNavigationTest, navigation_waits_for_its_movie_and_needs_items_or_a_cursor) {
    screen.OnCommand(controllers[0], Controller::kRight);
    EXPECT_EQ(screen.GetCursorCount(), 0u);
    EXPECT_EQ(screen.GetHandOver(), nullptr);
    screen.Add("a");
    screen.SetNavigationEnabled(false);
    screen.OnCommand(controllers[0], Controller::kRight);
    EXPECT_EQ(screen.GetCursorCount(), 0u);
    screen.OnFSCommand("enablenavigation");
    EXPECT_FALSE(screen.IsNavigationEnabled());
    screen.OnFSCommand("EnableNavigation");
    screen.OnCommand(controllers[0], Controller::kRight);
    EXPECT_EQ(screen.GetCursorCount(), 1u);
}

// A screen that unloads itself when an item loses the focus, or when it is pressed: the moves and
// presses stop there, and nothing freed is touched (the sanitizer build checks that).
TEST_F(FocusNavigationTest, a_screen_that_changes_itself_from_its_events_stops_the_move) {
    StubItem* a = screen.Add("a");
    StubItem* b = screen.Add("b");
    Link(a, b, FocusItem::kRight, FocusItem::kLeft);
    screen.OnCommand(controllers[0], Controller::kRight);
    screen.onEvent = [&](int kind) {
        if (kind == FlashGUI::kFocusLost) {
            screen.Unload();
        }
    };
    screen.OnCommand(controllers[0], Controller::kRight);
    EXPECT_EQ(journal, (Journal{"b:OnFocus c1", "event a 1 c1"}));
    EXPECT_TRUE(screen.GetFocusItems().empty());

    // The press's own script unloads the screen: the screen hears nothing of an item it no
    // longer has.
    journal.clear();
    StubItem* c = screen.Add("c");
    screen.SetFocus("c");
    screen.onEvent = nullptr;
    screen.Unload();
    screen.OnCommand(controllers[0], Controller::kSpit);
    EXPECT_TRUE(journal.empty());
    (void)c;
}

}  // namespace
}  // namespace gui_testing
