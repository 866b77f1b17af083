#include "tests/swfplayer/main/display/DisplayTestKit.h"

#include <cmath>
#include <functional>
#include <random>

namespace display_test {

namespace {

class CharacterMembersTest : public DisplayFixture {};

// Writes on a 10 x 5 pixel box at the origin, then reads, each row on a fresh box.
TEST_F(CharacterMembersTest, standard_members_read_what_was_written) {
    const double nan = std::nan("");
    struct row {
        const char* what;
        std::vector<std::pair<const char*, double>> writes;
        const char* member;
        double expected;
        float width = 200.0f, height = 100.0f;  // twips
    };
    const std::vector<row> rows = {
        {"_x in pixels", {{"_x", 12.5}}, "_x", 12.5},
        {"_y in pixels", {{"_y", -3}}, "_y", -3},
        {"_x NaN is 0", {{"_x", 7}, {"_x", nan}}, "_x", 0},
        {"_x beyond float is 0", {{"_x", 1e300}}, "_x", 0},
        {"_xscale", {{"_xscale", 150}}, "_xscale", 150},
        {"_xscale keeps _yscale", {{"_xscale", 150}}, "_yscale", 100},
        {"_yscale", {{"_yscale", 40}}, "_yscale", 40},
        {"_xscale NaN ignored", {{"_xscale", 150}, {"_xscale", nan}}, "_xscale", 150},
        {"_rotation", {{"_rotation", 90}}, "_rotation", 90},
        {"_rotation NaN ignored", {{"_rotation", 30}, {"_rotation", nan}}, "_rotation", 30},
        {"mirrored _xscale", {{"_xscale", -100}}, "_xscale", -100},
        {"mirrored keeps rotation", {{"_xscale", -100}, {"_rotation", 30}}, "_rotation", 30},
        {"rotation keeps mirror", {{"_xscale", -100}, {"_rotation", 30}}, "_xscale", -100},
        {"_width reads truncated", {}, "_width", 10},
        {"_height", {}, "_height", 5},
        {"_width doubles _xscale", {{"_width", 20}}, "_xscale", 200},
        {"_width keeps _yscale", {{"_width", 20}}, "_yscale", 100},
        {"_height doubles _yscale", {{"_height", 10}}, "_yscale", 200},
        {"_width 0 ignored", {{"_width", 0}}, "_xscale", 100},
        {"_width negative ignored", {{"_width", -4}}, "_xscale", 100},
        {"_width NaN ignored", {{"_width", nan}}, "_xscale", 100},
        {"_alpha", {{"_alpha", 50}}, "_alpha", 50},
        {"_alpha NaN is 0", {{"_alpha", nan}}, "_alpha", 0},
        {"_visible", {{"_visible", 0}}, "_visible", 0},
        {"_highquality ignored", {{"_highquality", 0}}, "_highquality", 1},
        {"10.5 pixels read as 10", {}, "_width", 10, 210.0f},
        // A character without extent cannot be sized: nothing changes, nothing divides by zero.
        {"no extent: _xscale kept", {{"_width", 5}, {"_height", 5}}, "_xscale", 100, 0.0f, 0.0f},
        {"no extent: _yscale kept", {{"_width", 5}, {"_height", 5}}, "_yscale", 100, 0.0f, 0.0f},
        {"no extent: _width 0", {{"_width", 5}}, "_width", 0, 0.0f, 0.0f},
    };
    for (const row& r : rows) {
        smart_ptr<character> box = make_box(1, r.width, r.height);
        for (const auto& write : r.writes) {
            EXPECT_TRUE(box->set_member(write.first, as_value(write.second))) << r.what;
        }
        EXPECT_NEAR(number_of(box.get_ptr(), r.member), r.expected, 1e-3) << r.what;
        for (int i = 0; i < 2; i++) {
            for (int j = 0; j < 3; j++) {
                EXPECT_TRUE(std::isfinite(box->get_matrix().m[i][j])) << r.what;
            }
        }
    }
    // An _alpha write changes the multiplier only: an add term placed with the box stays.
    smart_ptr<character> box = make_box(1, 200.0f, 100.0f);
    cxform cx;
    cx.m[3][1] = 20.0f;
    box->set_cxform(cx);
    box->set_member("_alpha", as_value(50.0));
    EXPECT_FLOAT_EQ(box->get_cxform().m[3][1], 20.0f);
}

// Any order of scale and rotation writes, mirrored or not, reads back what was written last.
TEST_F(CharacterMembersTest, scale_and_rotation_writes_are_consistent) {
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> scale(5.0, 400.0);
    std::uniform_real_distribution<double> angle(-179.0, 179.0);
    smart_ptr<character> box = make_box(1, 200.0f, 100.0f);
    double want[3] = {100.0, 100.0, 0.0};
    const char* names[3] = {"_xscale", "_yscale", "_rotation"};
    for (int step = 0; step < 500; step++) {
        int which = static_cast<int>(rng() % 3);
        double value = which == 2 ? angle(rng) : scale(rng);
        if (which == 0 && rng() % 2) {
            value = -value;  // mirrored
        }
        want[which] = value;
        box->set_member(names[which], as_value(value));
        for (int k = 0; k < 3; k++) {
            ASSERT_NEAR(number_of(box.get_ptr(), names[k]), want[k], 1e-2 * std::max(1.0, std::fabs(want[k])))
                << "step " << step << " " << names[k];
        }
    }
}

TEST_F(CharacterMembersTest, target_paths_name_the_chain) {
    smart_ptr<character> root = make_box(1, 10.0f, 10.0f);
    smart_ptr<character> a = make_box(2, 10.0f, 10.0f, root.get_ptr());
    smart_ptr<character> b = make_box(3, 10.0f, 10.0f, a.get_ptr());
    smart_ptr<character> unnamed = make_box(4, 10.0f, 10.0f, root.get_ptr());
    a->set_member("_name", as_value("a"));
    b->set_name("b");
    EXPECT_EQ(text_of(root.get_ptr(), "_target"), "/");
    EXPECT_EQ(text_of(unnamed.get_ptr(), "_target"), "/noname");
    EXPECT_EQ(text_of(b.get_ptr(), "_target"), "/a/b");
    // Written, stored as a member, but reading still computes.
    b->set_member("_target", as_value("elsewhere"));
    b->set_member("_url", as_value("elsewhere"));
    EXPECT_EQ(text_of(b.get_ptr(), "_target"), "/a/b");
    EXPECT_EQ(text_of(b.get_ptr(), "_url"), "swfplayer");
    EXPECT_TRUE(b->has_own_member("_target"));
    // Parent links do not keep parents alive.
    as_value parent;
    b->get_member("_parent", &parent);
    EXPECT_EQ(parent.to_object(), a.get_ptr());
    parent.set_undefined();
    a = nullptr;
    EXPECT_EQ(b->get_parent(), nullptr);
    b->get_member("_parent", &parent);
    EXPECT_TRUE(parent.is_null());
}

// The mouse is read in each character's space; a dragged character follows it, mapped into its
// parent's space and kept within the drag's bounds.
TEST_F(CharacterMembersTest, mouse_is_read_in_the_characters_space_and_drags_within_bounds) {
    smart_ptr<character> root = make_box(1, 10.0f, 10.0f);
    smart_ptr<character> child = make_box(2, 10.0f, 10.0f, root.get_ptr());
    child->set_member("_xscale", as_value(200.0));
    child->set_member("_yscale", as_value(200.0));
    child->set_member("_x", as_value(100.0));
    m_root->notify_mouse_state(140, 30, 0);
    EXPECT_DOUBLE_EQ(number_of(child.get_ptr(), "_xmouse"), 20.0);
    EXPECT_DOUBLE_EQ(number_of(child.get_ptr(), "_ymouse"), 15.0);
    EXPECT_DOUBLE_EQ(number_of(root.get_ptr(), "_xmouse"), 140.0);

    smart_ptr<character> dragged = make_box(3, 10.0f, 10.0f, root.get_ptr());
    root->set_member("_xscale", as_value(200.0));
    m_root->notify_mouse_state(50, 40, 0);
    dragged->do_mouse_drag();
    EXPECT_EQ(number_of(dragged.get_ptr(), "_x"), 0) << "not dragged yet";
    m_root->set_drag_character(dragged.get_ptr());
    dragged->do_mouse_drag();
    EXPECT_EQ(number_of(dragged.get_ptr(), "_x"), 25);  // mapped into the scaled parent
    EXPECT_EQ(number_of(dragged.get_ptr(), "_y"), 40);
    drag_state bounded = m_root->get_drag_state();
    bounded.m_bound = true;
    bounded.m_bound_x0 = 0.0f;
    bounded.m_bound_x1 = 600.0f;  // 30 pixels
    bounded.m_bound_y0 = 0.0f;
    bounded.m_bound_y1 = 2000.0f;
    m_root->set_drag_state(bounded);
    dragged->do_mouse_drag();
    EXPECT_EQ(number_of(dragged.get_ptr(), "_x"), 15);
    m_root->stop_drag();
    m_root->notify_mouse_state(0, 0, 0);
    dragged->do_mouse_drag();
    EXPECT_EQ(number_of(dragged.get_ptr(), "_x"), 15);
}

}  // namespace

}  // namespace display_test
