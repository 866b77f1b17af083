#include "swfplayer/main/common/swf_tag.h"
#include "swfplayer/main/loading/button_character_instance.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/player/root.h"
#include "swfplayer/main/script/event_id.h"
#include "swfplayer/main/sound/sound_handler.h"
#include "tests/swfplayer/main/display/DisplayTestKit.h"
#include "tests/swfplayer/main/sound/RecordingSoundHandler.h"
#include "tools/swfkit/ActionAssembler.h"
#include "tools/swfkit/Movie.h"

#include <cfloat>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace display_test {

namespace {

using swfkit::ButtonAction;
using swfkit::ButtonRecord;
using swfkit::Bytes;

// Box ids and what they are in the standard button: 1 up, 2 over, 3 down (0..200 twips each),
// 4 hit area only (0..100 twips).
constexpr uint16_t up_box = 1, over_box = 2, down_box = 3, hit_box = 4;
constexpr uint16_t hit_sprite = 6, button_id = 10, sound_id = 20;

ButtonRecord record(uint16_t id, bool up, bool over, bool down, bool hit) {
    ButtonRecord r;
    std::tie(r.characterId, r.up, r.over, r.down, r.hitTest) = std::tie(id, up, over, down, hit);
    return r;
}

std::vector<ButtonRecord> standard_records(uint16_t hit_id = hit_box) {
    return {record(up_box, true, false, false, false), record(over_box, false, true, false, false),
            record(down_box, false, false, true, false), record(hit_id, false, false, false, true)};
}

// Actions that append letter to the root's variable "log".
Bytes append(const std::string& letter) {
    using namespace swfkit;
    action_assembler a;
    a.push({str("log"), str("log")}).op(GET_VAR).push({str(letter)}).op(STR_CAT).op(SET_VAR);
    return a.bytes();
}

// The body of a tag as the kit writes it, without the header.
Bytes body_of(const swfkit::TagList& tags) {
    const Bytes& all = tags.GetBytes();
    const size_t header = (all[0] & 0x3F) == 0x3F ? 6 : 2;
    return Bytes(all.begin() + static_cast<long>(header), all.end());
}

// An action per transition, appending its letter: o roll over, u roll out, p press, r and then R
// release, d drag out, v drag over, x release outside; "!" for the two transitions never raised.
std::vector<ButtonAction> mouse_actions() {
    return {
        {0x0001, append("o")}, {0x0002, append("u")}, {0x0004, append("p")}, {0x0008, append("r")},
        {0x0010, append("d")}, {0x0020, append("v")}, {0x0040, append("x")}, {0x0080, append("!")},
        {0x0100, append("!")}, {0x0008, append("R")},
    };
}

class ButtonTest : public DisplayFixture {
protected:
    void TearDown() override {
        m_sprite = nullptr;
        m_movie = nullptr;
        set_sound_handler(nullptr);
        DisplayFixture::TearDown();
    }

    // A movie that defines the button with the tags of define (after a hit sprite that shows the
    // hit box), places it as "b" at (1000, 0) twips, and removes it in its second frame. The boxes
    // join the dictionary after loading.
    void LoadDefinition(const std::function<void(swfkit::TagList&)>& define) {
        swfkit::Movie movie(8, {0, 4000, 0, 4000}, 12.0);
        swfkit::TagList hit(8);
        hit.PlaceObject(hit_box, 1).ShowFrame();
        movie.Tags().DefineSprite(hit_sprite, hit);
        define(movie.Tags());
        swfkit::Placement p;
        p.characterId = button_id;
        p.name = "b";
        p.matrix = swfkit::Matrix{1, 1, 0, 0, 1000, 0};
        movie.Tags().PlaceObject2(p).ShowFrame().RemoveObject2(1).ShowFrame();
        m_movie = LoadMovie(movie.Write(false));
        ASSERT_TRUE(m_movie);
        for (uint16_t id : {up_box, over_box, down_box, hit_box}) {
            const float size = id == hit_box ? 100 : 200;
            m_movie->add_character(id, new box_def(m_player.get_ptr(), id, rect(0, size, 0, size)));
        }
    }
    // The movie of LoadDefinition, its first frame shown by a root sprite.
    void Load(const std::function<void(swfkit::TagList&)>& define) {
        LoadDefinition(define);
        m_sprite = make_root_sprite(m_movie.get_ptr());
        m_sprite->set_member("log", as_value(""));
    }
    void LoadButton2(const std::vector<ButtonRecord>& records, const std::vector<ButtonAction>& actions) {
        Load([&](swfkit::TagList& t) { t.DefineButton2(button_id, false, records, actions); });
    }

    button_character_definition* Definition() {
        character_def* def = m_movie->get_character_def(button_id);
        return def && def->is(AS_BUTTON_DEF) ? static_cast<button_character_definition*>(def) : nullptr;
    }
    button_character_instance* Button() {
        as_value b;
        m_sprite->get_member("b", &b);
        character* ch = cast_to_character(b.to_object());
        return ch && ch->get_character_def() == Definition() ? static_cast<button_character_instance*>(ch) : nullptr;
    }
    std::string ActionLog() {
        as_value log;
        m_sprite->get_member("log", &log);
        return log.to_string();
    }
    // The boxes drawn by one display of the root.
    std::vector<std::string> Drawn() {
        m_render.calls.clear();
        m_sprite->display();
        return m_render.with_prefix("draw_line_strip");
    }

    smart_ptr<movie_def_impl> m_movie;
    smart_ptr<sprite_instance> m_sprite;
    sound_test::RecordingSoundHandler m_sounds;
};

// Records of both tags, DefineButton2's action list, and what broken offsets and filters do.
TEST_F(ButtonTest, parses_records_and_action_lists) {
    ButtonRecord filtered = record(up_box, true, false, false, false);
    filtered.filterList = Bytes{1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // a blur
    filtered.blendMode = 3;
    ButtonRecord broken = filtered;
    broken.filterList = Bytes{1, 8};  // unknown filter id
    const std::vector<ButtonAction> two = {{0x0008, append("a")}, {0x0001, append("b")}};
    auto button2 = [](const std::vector<ButtonRecord>& records, const std::vector<ButtonAction>& actions) {
        return body_of(swfkit::TagList(8).DefineButton2(button_id, true, records, actions));
    };
    // A size-0 action followed by bytes of another action, which must not be read.
    Bytes trailing = button2(standard_records(), two);
    trailing.insert(trailing.end(), {6, 0, 0x08, 0, 0x07, 0});
    Bytes far_offset = button2(standard_records(), two);
    far_offset[3] = 0xFF;
    Bytes long_first = button2(standard_records(), two);
    const size_t first_action = 3 + (long_first[3] | long_first[4] << 8);
    long_first[first_action] = 0xF0;
    const Bytes button1 = body_of(swfkit::TagList(8).DefineButton(button_id, standard_records(), append("r")));
    constexpr int b1 = tag_define_button, b2 = tag_define_button2;
    const struct {
        const char* label;
        int tag;
        Bytes body;
        size_t records;
        std::vector<int> conditions;
        const char* logged;
    } cases[] = {
        {"DefineButton: one release action", b1, button1, 4, {8}, ""},
        {"two actions, the last of size 0", b2, button2(standard_records(), two), 4, {8, 1}, ""},
        {"offset 0: no actions", b2, button2(standard_records(), {}), 4, {}, ""},
        {"bytes after a size-0 action", b2, trailing, 4, {8, 1}, ""},
        {"filters and blend mode skipped", b2, button2({filtered, filtered}, two), 2, {8, 1}, ""},
        {"unknown filter ends the records", b2, button2({filtered, broken, filtered}, two), 1, {8, 1}, "filter id 8"},
        {"offset beyond the tag", b2, far_offset, 4, {}, "does not fit its tag"},
        {"action size beyond the tag", b2, long_first, 4, {}, "does not fit its tag"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ClearLog();
        Bytes body = c.body;
        Load([&](swfkit::TagList& t) { t.Tag(c.tag, body); });
        button_character_definition* def = Definition();
        ASSERT_TRUE(def);
        EXPECT_EQ(def->m_menu, c.tag == tag_define_button2);
        ASSERT_EQ(def->m_button_records.size(), c.records);
        EXPECT_TRUE(c.records != 4 || def->m_button_records[3].m_hit_test);
        std::vector<int> conditions;
        for (const button_action& a : def->m_button_actions) {
            conditions.push_back(a.m_conditions);
        }
        EXPECT_EQ(conditions, c.conditions);
        EXPECT_TRUE(!*c.logged || Logged(c.logged));
    }
    // Filtered records keep their blend mode.
    LoadButton2({filtered}, {});
    EXPECT_EQ(Definition()->m_button_records[0].m_blend_mode, 3);
}

// Each mouse event as the root sends it: the state it leaves and the actions it runs, in order.
TEST_F(ButtonTest, mouse_events_set_the_state_and_run_matching_actions) {
    using E = event_id;
    using B = button_character_instance;
    const std::vector<ButtonAction> actions = mouse_actions();
    const struct {
        const char* label;
        std::vector<uint8_t> events;
        int state;
        const char* log;
    } cases[] = {
        {"new button", {}, B::UP, ""},
        {"roll over", {E::ROLL_OVER}, B::OVER, "o"},
        {"press", {E::ROLL_OVER, E::PRESS}, B::DOWN, "op"},
        {"release runs both release actions in order", {E::ROLL_OVER, E::PRESS, E::RELEASE}, B::OVER, "oprR"},
        {"drag out stays over", {E::ROLL_OVER, E::PRESS, E::DRAG_OUT}, B::OVER, "opd"},
        {"drag back over", {E::ROLL_OVER, E::PRESS, E::DRAG_OUT, E::DRAG_OVER}, B::DOWN, "opdv"},
        {"release outside", {E::ROLL_OVER, E::PRESS, E::DRAG_OUT, E::RELEASE_OUTSIDE}, B::UP, "opdx"},
        {"roll out", {E::ROLL_OVER, E::ROLL_OUT}, B::UP, "ou"},
        {"other events change nothing", {E::ROLL_OVER, E::ENTER_FRAME, E::LOAD}, B::OVER, "o"},
        {"key press keeps the state", {E::ROLL_OVER, E::KEY_PRESS}, B::OVER, "o"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        LoadButton2(standard_records(), actions);
        button_character_instance* b = Button();
        ASSERT_TRUE(b);
        for (uint8_t e : c.events) {
            const bool ran = b->on_event(event_id(e));
            EXPECT_EQ(ran, e != E::ENTER_FRAME && e != E::LOAD && e != E::KEY_PRESS);
        }
        EXPECT_EQ(b->get_button_state(), c.state);
        EXPECT_EQ(ActionLog(), c.log);
        // What shows is the state's box, never the hit-only one.
        const int shown[] = {up_box, down_box, over_box};
        EXPECT_EQ(Drawn(), std::vector<std::string>{"draw_line_strip " + std::to_string(shown[c.state])});
    }
    // DefineButton's action answers the release only.
    Load([](swfkit::TagList& t) { t.DefineButton(button_id, standard_records(), append("r")); });
    for (uint8_t e : {E::ROLL_OVER, E::PRESS, E::DRAG_OUT, E::DRAG_OVER}) {
        Button()->on_event(event_id(e));
    }
    EXPECT_EQ(ActionLog(), "");
    Button()->on_event(event_id(E::RELEASE));
    EXPECT_EQ(ActionLog(), "r");
}

// Key conditions answer their key codes; key presses also reach the button through the root's
// listeners. (How the root turns the host's mouse into button events is pinned by the root's
// tests and the button window test.)
TEST_F(ButtonTest, key_conditions_answer_their_key_codes) {
    const struct {
        int key;  // bits 9..15 of the condition word
        const char* letter;
    } keys[] = {{16, "a"}, {17, "b"}, {65, "c"}, {1, "d"}, {18, "e"}, {7, "f"}, {0, "g"}};
    std::vector<ButtonAction> actions;
    for (const auto& k : keys) {
        actions.push_back({static_cast<uint16_t>(k.key << 9), append(k.letter)});
    }
    LoadDefinition([&](swfkit::TagList& t) { t.DefineButton2(button_id, false, standard_records(), actions); });
    smart_ptr<root> r = create_instance(m_movie.get_ptr());
    m_sprite = r->get_root_sprite();
    m_sprite->set_member("log", as_value(""));
    r->advance(0.01f);
    r->notify_key_event(65, true);
    EXPECT_EQ(ActionLog(), "c");
    button_character_instance* b = Button();
    ASSERT_TRUE(b);
    EXPECT_TRUE(b->has_keypress_event());
    const struct {
        uint8_t code;
        const char* log;
    } presses[] = {{34, "a"}, {33, "b"}, {65, "c"}, {37, "d"}, {9, "e"}, {7, ""}, {0, ""}, {66, ""}};
    for (const auto& p : presses) {
        SCOPED_TRACE(p.code);
        m_sprite->set_member("log", as_value(""));
        EXPECT_EQ(b->on_event(event_id(event_id::KEY_PRESS, p.code)), *p.log != '\0');
        EXPECT_EQ(ActionLog(), p.log);
    }
    LoadButton2(standard_records(), {{0x0008, append("r")}});
    EXPECT_FALSE(Button()->has_keypress_event());
}

// Hit records answer the mouse (a sprite as well as a shape); the drawn boxes do not. Bounds are
// those of the shown state.
TEST_F(ButtonTest, hit_area_and_bounds) {
    for (uint16_t hit : {hit_box, hit_sprite}) {
        SCOPED_TRACE(hit);
        LoadButton2(standard_records(hit), {});
        button_character_instance* b = Button();
        ASSERT_TRUE(b);
        const struct {
            float x, y;
            bool hit;
        } points[] = {{1050, 50, true}, {1010, 90, true}, {1150, 150, false}, {50, 50, false}, {1101, 50, false}};
        for (const auto& p : points) {
            EXPECT_EQ(b->get_topmost_mouse_entity(p.x, p.y) == b, p.hit) << p.x << "," << p.y;
            EXPECT_EQ(m_sprite->get_topmost_mouse_entity(p.x, p.y) == b, p.hit) << p.x << "," << p.y;
        }
        b->set_visible(false);
        EXPECT_EQ(b->get_topmost_mouse_entity(1050, 50), nullptr);
        rect bound;
        b->get_bound(&bound);
        EXPECT_EQ(std::vector<float>({bound.x_min, bound.x_max, bound.y_min, bound.y_max}),
                  std::vector<float>({1000, 1200, 0, 200}));
    }
    // Without records the output stays as it was.
    LoadButton2({}, {});
    rect untouched(1, 2, 3, 4);
    Button()->get_bound(&untouched);
    EXPECT_EQ(std::vector<float>({untouched.x_min, untouched.y_max}), std::vector<float>({1, 4}));
}

// Records that cannot be built are skipped with a log line, and hostile nesting ends: a button
// containing itself directly or through another, a chain deeper than the nesting limit, and
// buttons of many buttons of many more.
TEST_F(ButtonTest, records_that_cannot_be_built_are_skipped) {
    using Buttons = std::vector<std::pair<int, std::vector<int>>>;  // ids and the ids of their records
    auto chain = [](int length, int fan_out) {
        Buttons buttons;
        for (int i = length; i >= 0; i--) {
            buttons.push_back({button_id + i, std::vector<int>(fan_out, i == length ? up_box : button_id + i + 1)});
        }
        return buttons;
    };
    const struct {
        const char* label;
        Buttons buttons;
        const char* logged;
        bool hits;  // whether a hit record's box was built
    } cases[] = {
        {"undefined character", {{button_id, {99}}}, "names character 99, which is not defined", false},
        {"itself", {{button_id, {button_id, up_box}}}, "contains itself through character 10", true},
        {"through another",
         {{button_id + 1, {button_id}}, {button_id, {button_id + 1, up_box}}},
         "contains itself through character 10",
         true},
        {"deep chain", chain(70, 1), "buttons nested deeper than 64", false},
        {"wide chain", chain(3, 20), "more than 4096 children", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ClearLog();
        Load([&](swfkit::TagList& t) {
            for (const auto& [id, children] : c.buttons) {
                std::vector<ButtonRecord> records;
                for (int child : children) {
                    records.push_back(record(static_cast<uint16_t>(child), true, false, false, true));
                }
                t.DefineButton2(static_cast<uint16_t>(id), false, records, {});
            }
        });
        EXPECT_TRUE(Logged(c.logged));
        ASSERT_TRUE(Button());
        EXPECT_EQ(Button()->get_topmost_mouse_entity(1050, 50) != nullptr, c.hits);
        // Buttons that show nothing add nothing to the bounds.
        rect bound;
        Button()->get_bound(&bound);
        EXPECT_EQ(bound.x_max, c.hits ? 1200.0f : -FLT_MAX);
        m_sprite->display();
    }
}

// An action that takes the button off the stage (a goto to the frame that removes it) finishes
// the event: the button dies there, and the later actions still run. Both ways into actions:
// a mouse transition and a key press (whose transition actions are looked for afterwards).
TEST_F(ButtonTest, button_removed_by_its_own_action) {
    swfkit::action_assembler go;
    go.record(0x81, {1, 0});
    const struct {
        uint16_t conditions;
        event_id event;
    } cases[] = {{0x0008, event_id(event_id::RELEASE)}, {65 << 9, event_id(event_id::KEY_PRESS, 65)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.conditions);
        LoadButton2(standard_records(), {{c.conditions, go.bytes()}, {c.conditions, append("after")}});
        weak_ptr<button_character_instance> button = Button();
        ASSERT_TRUE(button.get_ptr());
        EXPECT_TRUE(button.get_ptr()->on_event(c.event));
        EXPECT_EQ(Button(), nullptr);
        EXPECT_EQ(button.get_ptr(), nullptr);
        EXPECT_EQ(ActionLog(), "after");
    }
}

// Entry 0 sounds on roll out, 1 on roll over, 2 on press, 3 on release; a stop entry stops.
TEST_F(ButtonTest, transition_sounds) {
    set_sound_handler(&m_sounds);
    Load([&](swfkit::TagList& t) {
        t.Tag(tag_define_sound, {sound_id, 0, 0x3E, 1, 0, 0, 0, 0, 0});  // one 16-bit mono sample
        t.DefineButton2(button_id, false, standard_records(), {});
        // Four entries, each a sound id and, when not 0, a sound-info byte (0x20 stop, 0x04 loops,
        // here 3 times); a second DefineButtonSound is ignored.
        t.Tag(tag_define_button_sound, {button_id, 0, sound_id, 0, 0x20, sound_id, 0, 0x04, 3, 0, 0, 0, 77, 0, 0});
        t.Tag(tag_define_button_sound, {button_id, 0, sound_id, 0, 0, 0, 0, 0, 0, 0, 0});
    });
    EXPECT_TRUE(Logged("sound_id 77 is not defined"));
    EXPECT_TRUE(Logged("DefineButtonSound ignored"));
    button_character_instance* b = Button();
    ASSERT_TRUE(b);
    const struct {
        uint8_t event;
        std::vector<std::string> calls;
    } steps[] = {{event_id::ROLL_OVER, {"play 100 3"}},
                 {event_id::PRESS, {}},
                 {event_id::RELEASE, {}},
                 {event_id::DRAG_OUT, {}},
                 {event_id::ROLL_OUT, {"stop 100 0"}}};
    for (const auto& s : steps) {
        SCOPED_TRACE(static_cast<int>(s.event));
        m_sounds.calls.clear();
        b->on_event(event_id(s.event));
        EXPECT_EQ(m_sounds.calls, s.calls);
    }
    set_sound_handler(nullptr);
    b->on_event(event_id(event_id::ROLL_OVER));
    EXPECT_EQ(b->get_button_state(), button_character_instance::OVER);
}

}  // namespace

}  // namespace display_test
