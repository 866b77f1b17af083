#include "swfplayer/main/loading/sprite_definition.h"
#include "swfplayer/main/script/event_id.h"
#include "tests/swfplayer/main/display/DisplayTestKit.h"

#include <algorithm>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>

namespace display_test {

namespace {

// A box that counts its unload events and runs hooks when advanced or unloaded.
class probe : public generic_character {
public:
    probe(player* owner, character_def* def, int id) : generic_character(owner, def, nullptr, id) {}
    bool on_event(const event_id& id) override {
        if (id.m_id == event_id::UNLOAD) {
            unloads++;
            if (on_unload) {
                on_unload();
            }
        }
        return generic_character::on_event(id);
    }
    void advance(float) override {
        advances++;
        if (on_advance) {
            on_advance();
        }
    }
    int unloads = 0;
    int advances = 0;
    std::function<void()> on_unload;
    std::function<void()> on_advance;
};

class DisplayListTest : public DisplayFixture {
protected:
    smart_ptr<probe> make_probe(int id) {
        if (!m_def) {
            m_def = new box_def(m_player.get_ptr(), 0, rect(0.0f, 10.0f, 0.0f, 10.0f));
        }
        return new probe(m_player.get_ptr(), m_def.get_ptr(), id);
    }
    smart_ptr<character_def> m_def;
};

// Random placements, moves, replacements, removals and swaps against a plain model of what the
// list must hold: same characters in the same order, sorted by depth, depths kept in step, one
// unload per removal.
TEST_F(DisplayListTest, random_edits_keep_the_list_sorted_and_in_step) {
    for (unsigned seed = 1; seed <= 20; seed++) {
        std::mt19937 rng(seed);
        display_list list;
        std::vector<std::pair<int, probe*>> model;
        std::vector<smart_ptr<probe>> all;
        std::set<probe*> placed;
        auto find = [&](auto match) {
            return std::find_if(model.begin(), model.end(), match);
        };
        auto erase = [&](auto match) {
            if (find(match) != model.end()) {
                model.erase(find(match));
            }
        };
        auto at_depth = [](int depth) {
            return [depth](const auto& e) {
                return e.first == depth;
            };
        };
        auto insert_model = [&](int depth, probe* p) {
            placed.insert(p);
            model.insert(find([depth](const auto& e) { return e.first >= depth; }), {depth, p});
        };
        for (int step = 0; step < 300; step++) {
            int depth = static_cast<int>(rng() % 12);
            int op = static_cast<int>(rng() % 7);
            smart_ptr<probe> fresh = make_probe(static_cast<int>(rng() % 3));
            all.push_back(fresh);
            if (op <= 1 || op == 3) {  // add, add replacing, replace
                if (op != 0) {
                    erase(at_depth(depth));
                }
                if (op == 3) {
                    list.replace_display_object(fresh.get_ptr(), depth, false, cxform(), false, matrix(), 0.0f, 0);
                } else {
                    list.add_display_object(fresh.get_ptr(), depth, op == 1, cxform(), matrix(), 0.0f, 0);
                }
                insert_model(depth, fresh.get_ptr());
            } else if (op == 2) {
                matrix m;
                m.m[0][2] = static_cast<float>(step);
                list.move_display_object(depth, false, cxform(), true, m, 0.5f, 0);
                if (find(at_depth(depth)) != model.end()) {
                    ASSERT_EQ(find(at_depth(depth))->second->get_matrix().m[0][2], step);
                }
            } else if (op == 4) {
                int id = static_cast<int>(rng() % 4) - 1;  // -1 means any
                list.remove_display_object(depth, id);
                erase([&](const auto& e) { return e.first == depth && (id == -1 || e.second->get_id() == id); });
            } else if (op == 6 && !model.empty()) {
                // swapDepths, often with a kept reference to a character that left the list or
                // never joined it: then nothing changes.
                auto pick = [&]() {
                    return rng() % 2 ? model[rng() % model.size()].second : all[rng() % all.size()].get_ptr();
                };
                probe* a = pick();
                probe* b = pick();
                list.swap_characters(a, b);
                auto entry_a = find([a](const auto& e) { return e.second == a; });
                auto entry_b = find([b](const auto& e) { return e.second == b; });
                if (entry_a != model.end() && entry_b != model.end()) {
                    std::swap(entry_a->second, entry_b->second);
                }
            } else if (op == 5 && !model.empty()) {
                int target = 20 + static_cast<int>(rng() % 5);
                probe* p = model[rng() % model.size()].second;
                if (find(at_depth(target)) == model.end()) {
                    list.change_character_depth(p, target);
                    erase([p](const auto& e) { return e.second == p; });
                    insert_model(target, p);
                }
            }
            ASSERT_EQ(list.size(), static_cast<int>(model.size())) << "seed " << seed << " step " << step;
            for (int i = 0; i < list.size(); i++) {
                ASSERT_TRUE(i == 0 || list.get_character(i - 1)->get_depth() <= list.get_character(i)->get_depth())
                    << "seed " << seed << " step " << step;
                ASSERT_EQ(list.get_character(i), model[i].second) << "seed " << seed << " step " << step;
                ASSERT_EQ(list.get_character(i)->get_depth(), model[i].first);
                ASSERT_TRUE(list.get_character(i)->is_active());
            }
        }
        list.clear();
        for (const smart_ptr<probe>& p : all) {
            ASSERT_EQ(p->unloads, placed.count(p.get_ptr()) ? 1 : 0) << "seed " << seed;
            ASSERT_FALSE(p->is_active());
            ASSERT_EQ(p->get_depth(), 0);
        }
    }
}

// Name lookups use an index beside the depth order; whatever the edits (several characters of
// one depth or name, moves, swaps, reorders, renames), they must find what a walk of the list
// finds: the first character in list order with the name, exactly or without regard to case.
TEST_F(DisplayListTest, name_lookups_find_what_a_walk_of_the_list_finds) {
    const std::vector<std::string> names = {"a", "A", "b", "B", "", "c", "d"};
    for (unsigned seed = 1; seed <= 20; seed++) {
        std::mt19937 rng(seed);
        auto pick = [&rng](int n) {
            return static_cast<int>(rng() % static_cast<unsigned>(n));
        };
        display_list list;
        std::vector<smart_ptr<probe>> all;
        for (int step = 0; step < 400; step++) {
            const int op = pick(7);
            const int depth = pick(8);
            if (op <= 1 || list.size() < 2) {
                smart_ptr<probe> fresh = make_probe(pick(3));
                fresh->set_name(names[pick(static_cast<int>(names.size()))].c_str());
                all.push_back(fresh);
                list.add_display_object(fresh.get_ptr(), depth, op == 1, cxform(), matrix(), 0.0f, 0);
            } else if (op == 2) {
                list.remove_display_object(depth, -1);
            } else if (op == 3) {
                character* ch = list.get_character(pick(list.size()));
                if (list.get_character_at_depth(20 + depth) == nullptr) {
                    list.change_character_depth(ch, 20 + depth);
                }
            } else if (op == 4) {
                character* a = list.get_character(pick(list.size()));
                character* b = list.get_character(pick(list.size()));
                list.swap_characters(a, b);
            } else if (op == 5) {
                // A character of the list or one that left it takes a new name.
                probe* p = all[pick(static_cast<int>(all.size()))].get_ptr();
                p->set_name(names[pick(static_cast<int>(names.size()))].c_str());
            } else {
                std::vector<character*> at;
                for (int i = 0; i < list.size(); i++) {
                    if (list.get_character(i)->get_depth() == depth) {
                        at.push_back(list.get_character(i));
                    }
                }
                std::shuffle(at.begin(), at.end(), rng);
                list.reorder_at_depth(depth, at);
            }
            for (const std::string& name : names) {
                character* exact = nullptr;
                character* any_case = nullptr;
                for (int i = list.size() - 1; i >= 0; i--) {
                    character* ch = list.get_character(i);
                    if (ch->get_name() == name.c_str()) {
                        exact = ch;
                    }
                    if (base_string::stricmp(ch->get_name().c_str(), name.c_str()) == 0) {
                        any_case = ch;
                    }
                }
                ASSERT_EQ(list.get_character_by_name(name.c_str()), exact) << "seed " << seed << " step " << step;
                ASSERT_EQ(list.get_character_by_name_i(name.c_str()), any_case) << "seed " << seed << " step " << step;
            }
        }
        list.clear();
        for (const std::string& name : names) {
            ASSERT_EQ(list.get_character_by_name_i(name.c_str()), nullptr);
        }
    }
    // A character shared by two lists (one movie's clip put into another) is found in both
    // under its new name; a list that goes leaves the character's name to the other.
    smart_ptr<probe> shared = make_probe(1);
    shared->set_name("old");
    display_list first;
    place_at(first, shared.get_ptr(), 1);
    {
        display_list second;
        place_at(second, shared.get_ptr(), 2);
        shared->set_name("new");
        EXPECT_EQ(first.get_character_by_name("new"), shared.get_ptr());
        EXPECT_EQ(second.get_character_by_name_i("NEW"), shared.get_ptr());
        EXPECT_EQ(first.get_character_by_name("old"), nullptr);
        EXPECT_EQ(second.get_character_by_name("old"), nullptr);
    }
    shared->set_name("last");
    EXPECT_EQ(first.get_character_by_name("last"), shared.get_ptr());
}

TEST_F(DisplayListTest, depth_and_name_queries) {
    display_list list;
    EXPECT_EQ(list.get_highest_depth(), 16384);
    smart_ptr<probe> ball = make_probe(1);
    ball->set_name("Ball");
    place_at(list, ball.get_ptr(), 5);
    EXPECT_EQ(list.get_highest_depth(), 16384);
    place_at(list, make_probe(2).get_ptr(), 1);
    place_at(list, make_probe(3).get_ptr(), 20000);
    EXPECT_EQ(list.get_highest_depth(), 20001);
    EXPECT_EQ(list.get_character_by_name("Ball"), ball.get_ptr());
    EXPECT_EQ(list.get_character_by_name("ball"), nullptr);
    EXPECT_EQ(list.get_character_by_name_i("ball"), ball.get_ptr());
    EXPECT_EQ(list.get_character_at_depth(5), ball.get_ptr());
    EXPECT_EQ(list.get_character_at_depth(6), nullptr);
    // Moving past the deepest character is silent; a gap in between is logged.
    ClearLog();
    list.move_display_object(30000, false, cxform(), false, matrix(), 0.0f, 0);
    EXPECT_TRUE(Log().empty());
    list.move_display_object(7, false, cxform(), false, matrix(), 0.0f, 0);
    EXPECT_TRUE(Logged("no object at depth 7"));
    list.remove_display_object(5, 9);
    EXPECT_TRUE(Logged("no character at depth 5 with id 9"));
    EXPECT_EQ(list.size(), 3);
}

// Removal empties a sprite's own list first, so unload events run from the leaves up.
TEST_F(DisplayListTest, unload_runs_depth_first) {
    smart_ptr<sprite_definition> empty = new sprite_definition(m_player.get_ptr(), nullptr);
    smart_ptr<sprite_instance> top = make_root_sprite(empty.get_ptr());
    auto child = [&](sprite_instance* parent, const char* name, int depth, bool sprite) {
        smart_ptr<character> ch =
            sprite ? empty->create_character_instance(parent, 1) : make_box(2, 10.0f, 10.0f, parent);
        ch->set_name(name);
        record_events(ch.get_ptr());
        place_at(parent->get_display_list(), ch.get_ptr(), depth);
        return ch;
    };
    smart_ptr<character> a = child(top.get_ptr(), "A", 1, true);
    child(cast_to_sprite_instance(a.get_ptr()), "a1", 1, false);
    child(cast_to_sprite_instance(a.get_ptr()), "a2", 2, true);
    smart_ptr<character> b = child(top.get_ptr(), "B", 2, true);
    child(cast_to_sprite_instance(b.get_ptr()), "b1", 3, false);
    g_events.clear();
    top->clear_display_objects();
    EXPECT_EQ(g_events, (std::vector<std::string>{"a1:unload", "a2:unload", "A:unload", "b1:unload", "B:unload"}));
}

// A script may remove or add siblings while the list advances or while it unloads one of them.
TEST_F(DisplayListTest, handlers_may_edit_the_list_under_way) {
    display_list list;
    smart_ptr<probe> a = make_probe(1), b = make_probe(2), late = make_probe(3), newcomer = make_probe(4);
    place_at(list, a.get_ptr(), 1);
    place_at(list, b.get_ptr(), 2);
    a->on_advance = [&] {
        list.remove_display_object(b.get_ptr());
        place_at(list, late.get_ptr(), 3);
    };
    list.advance(0.1f);
    EXPECT_EQ(b->advances, 1) << "removed during the pass, still advanced in it";
    EXPECT_EQ(late->advances, 0) << "added during the pass";
    EXPECT_EQ(b->unloads, 1);

    // Unloading a removes the others and places a newcomer; clear still ends, each removal
    // unloads once, and a removal of a itself from its own unload does not unload it again.
    a->on_advance = nullptr;
    a->on_unload = [&] {
        list.remove_display_object(late.get_ptr());
        list.remove_display_object(a.get_ptr());
        place_at(list, newcomer.get_ptr(), 9);
    };
    newcomer->on_unload = [&] {
        place_at(list, make_probe(5).get_ptr(), 10);
    };
    list.clear();
    EXPECT_EQ(a->unloads, 1);
    EXPECT_EQ(late->unloads, 1);
    ASSERT_EQ(list.size(), 1);
    EXPECT_EQ(list.get_character(0), newcomer.get_ptr());
    list.clear();
    EXPECT_EQ(newcomer->unloads, 1);
    EXPECT_EQ(list.size(), 1) << "placed by the last unload, after clear began";
}

// Random layouts of masks (some invisible, some overlapping, some nested): every character is
// drawn under exactly the visible masks whose range covers its depth, and every mask that is
// submitted is disabled again.
TEST_F(DisplayListTest, masks_cover_their_range_and_balance) {
    for (unsigned seed = 1; seed <= 200; seed++) {
        std::mt19937 rng(seed);
        display_list list;
        struct layout {
            int clip;
            bool visible;
        };
        std::map<int, layout> by_depth;
        for (int n = 0; n < 10; n++) {
            int depth = 1 + static_cast<int>(rng() % 20);
            if (by_depth.count(depth)) {
                continue;
            }
            layout l{rng() % 3 == 0 ? depth + static_cast<int>(rng() % 8) - 1 : 0, rng() % 6 != 0};
            by_depth[depth] = l;
            smart_ptr<character> box = make_box(depth, 10.0f, 10.0f);
            box->set_visible(l.visible);
            place_at(list, box.get_ptr(), depth, matrix(), static_cast<uint16_t>(std::max(0, l.clip)));
        }
        m_render.calls.clear();
        m_render.mask_level = 0;
        list.display();
        ASSERT_EQ(m_render.mask_level, 0) << "seed " << seed;

        std::vector<int> stack;
        bool submitting = false;
        int submitted = -1;
        std::map<int, std::set<int>> seen;
        for (const std::string& call : m_render.calls) {
            std::istringstream words(call);
            std::string op;
            int id = 0;
            words >> op >> id;
            if (op == "begin_submit_mask") {
                submitting = true;
            } else if (op == "end_submit_mask") {
                submitting = false;
                stack.push_back(submitted);
            } else if (op == "disable_mask") {
                ASSERT_FALSE(stack.empty());
                stack.pop_back();
            } else if (op == "draw_line_strip" && submitting) {
                submitted = id;
            } else if (op == "draw_line_strip") {
                seen[id] = std::set<int>(stack.begin(), stack.end());
            }
        }
        for (const auto& [depth, l] : by_depth) {
            if (!l.visible || l.clip > 0) {
                EXPECT_EQ(seen.count(depth), 0u) << "seed " << seed << " depth " << depth;
                continue;
            }
            std::set<int> expected;
            for (const auto& [mask_depth, m] : by_depth) {
                if (m.visible && m.clip > 0 && mask_depth < depth && depth <= m.clip) {
                    expected.insert(mask_depth);
                }
            }
            EXPECT_EQ(seen[depth], expected) << "seed " << seed << " depth " << depth;
        }
    }
}

}  // namespace

}  // namespace display_test
