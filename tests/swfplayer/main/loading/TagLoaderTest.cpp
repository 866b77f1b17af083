#include "swfplayer/main/display/character.h"
#include "swfplayer/main/loading/execute_tags.h"
#include "swfplayer/main/loading/filter_list.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/place_object_2.h"
#include "swfplayer/main/script/as_s_function.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using swfkit::Placement;
using swfplayer::event_id;
using swfplayer::place_object_2;

// A character that records the display-list calls that frame tags make on it.
class RecordingCharacter : public swfplayer::character {
public:
    explicit RecordingCharacter(swfplayer::player* owner) : character(owner, nullptr, -1) {}

    swfplayer::execute_tag* find_previous_place_tag(int frame, int depth, int id) override {
        note("find", frame, depth, id);
        return previous;
    }
    using swfplayer::character::remove_display_object;
    void remove_display_object(int depth, int id) override { note("remove", depth, id); }
    swfplayer::character* add_display_object(uint16_t character_id, const swfplayer::base_string& name,
                                             const swfplayer::array<swfplayer::swf_event*>& handlers, int depth,
                                             bool replace, const swfplayer::cxform&, const swfplayer::matrix& mat,
                                             float ratio, uint16_t clip_depth) override {
        note("add", character_id, "'" + std::string(name.c_str()) + "'", handlers.size(), depth, replace,
             static_cast<int>(mat.m[0][2]), static_cast<int>(ratio * 100), clip_depth);
        return nullptr;
    }
    void move_display_object(int depth, bool use_cxform, const swfplayer::cxform&, bool use_matrix,
                             const swfplayer::matrix&, float, uint16_t) override {
        note("move", depth, use_cxform, use_matrix);
    }
    void replace_display_object(uint16_t character_id, const swfplayer::base_string& name, int depth, bool,
                                const swfplayer::cxform&, bool, const swfplayer::matrix&, float, uint16_t) override {
        note("replace", character_id, "'" + std::string(name.c_str()) + "'", depth);
    }
    void add_action_buffer(swfplayer::action_buffer* buffer) override { buffers.push_back(buffer); }
    void set_background_color(const swfplayer::rgba& color) override { background = color; }
    float get_background_alpha() override { return host_alpha; }

    std::vector<std::string> calls;
    std::vector<swfplayer::action_buffer*> buffers;
    swfplayer::execute_tag* previous = nullptr;
    swfplayer::rgba background;
    float host_alpha = 1.0f;

private:
    template <class... T>
    void note(const T&... parts) {
        std::ostringstream line;
        ((line << parts << ' '), ...);
        calls.push_back(line.str().substr(0, line.str().size() - 1));
    }
};

const Bytes stop_action = {0x07, 0x00};

// A placement at the depth, of the character when given, with the clip actions.
Placement At(uint16_t depth, std::optional<uint16_t> character, bool move = false,
             std::vector<swfkit::ClipAction> actions = {}) {
    Placement place;
    place.depth = depth;
    place.characterId = character;
    place.move = move;
    place.clipActions = std::move(actions);
    return place;
}

class TagLoaderTest : public swf_testing::SwfLoadingFixture {
protected:
    void SetUp() override {
        SwfLoadingFixture::SetUp();
        m_target = new RecordingCharacter(m_player.get_ptr());
    }
    void TearDown() override {
        m_target = nullptr;
        SwfLoadingFixture::TearDown();
    }

    // Loads a one-frame movie whose frame holds the tags that fill writes.
    void LoadFrame(int version, const std::function<void(swfkit::TagList&)>& fill) {
        m_def = LoadBuilt(version, [&](swfkit::TagList& tags) {
            fill(tags);
            tags.ShowFrame();
        });
        ASSERT_TRUE(m_def);
    }
    // Runs every tag of frame 0 on the recording character.
    std::vector<std::string> RunFrame() {
        m_target->calls.clear();
        for (swfplayer::execute_tag* tag : m_def->get_playlist(0)) {
            tag->execute(m_target.get_ptr());
        }
        return m_target->calls;
    }
    place_object_2* Place(int index) { return static_cast<place_object_2*>(m_def->get_playlist(0)[index]); }

    swfplayer::smart_ptr<RecordingCharacter> m_target;
    swfplayer::smart_ptr<swfplayer::movie_def_impl> m_def;
};

TEST_F(TagLoaderTest, place_move_replace_and_remove) {
    LoadFrame(6, [](swfkit::TagList& tags) {
        swfkit::Matrix at;
        at.translateX = 40;
        tags.PlaceObject(7, 3, at);
        swfkit::ColorTransform tint;
        tint.hasAdd = true;
        tint.add[0] = 100;
        tags.PlaceObject(8, 4, {}, tint);
        Placement place = At(3, 7);
        place.name = "ball";
        place.ratio = 65535;
        place.clipDepth = 9;
        Placement move = At(3, {}, true);
        move.matrix = swfkit::Matrix{};
        tags.PlaceObject2(place).PlaceObject2(move);
        tags.PlaceObject2(At(3, 8, true)).PlaceObject2(At(4, {}));  // replace; neither character nor move
        tags.RemoveObject(7, 3);
        tags.RemoveObject2(3);
    });
    ASSERT_EQ(m_def->get_playlist(0).size(), 8);
    const struct {
        int type;
        uint32_t depth_id;
        bool matrix;
        float add_red;
    } places[] = {{place_object_2::PLACE, 0x00030007u, false, 0},   {place_object_2::PLACE, 0x00040008u, false, 100},
                  {place_object_2::PLACE, 0x0003FFFFu, false, 0},   {place_object_2::MOVE, 0xFFFFFFFFu, true, 0},
                  {place_object_2::REPLACE, 0x0003FFFFu, false, 0}, {place_object_2::PLACE, 0x0004FFFFu, false, 0}};
    for (int i = 0; i < 6; i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Place(i)->m_place_type, places[i].type);
        EXPECT_EQ(Place(i)->get_depth_id_of_replace_or_add_tag(), places[i].depth_id);
        EXPECT_EQ(Place(i)->m_has_matrix, places[i].matrix);
        EXPECT_FLOAT_EQ(Place(i)->m_color_transform.m[0][0], 1.0f);
        EXPECT_FLOAT_EQ(Place(i)->m_color_transform.m[0][1], places[i].add_red);
    }
    EXPECT_FALSE(Place(0)->m_has_cxform);
    EXPECT_EQ(Place(5)->m_character_id, 0);
    std::vector<std::string> expected = {"add 7 '' 0 3 0 40 0 0",
                                         "add 8 '' 0 4 0 0 0 0",
                                         "add 7 'ball' 0 3 1 0 100 9",
                                         "move 3 0 1",
                                         "replace 8 '' 3",
                                         "add 0 '' 0 4 1 0 0 0",
                                         "remove 3 7",
                                         "remove 3 -1"};
    EXPECT_EQ(RunFrame(), expected);
}

TEST_F(TagLoaderTest, reversing_placements) {
    LoadFrame(6, [](swfkit::TagList& tags) {
        tags.PlaceObject(7, 3).PlaceObject2(At(5, 2));
        tags.PlaceObject2(At(5, 2, true)).RemoveObject(7, 3).RemoveObject2(5);
    });
    const auto& frame = m_def->get_playlist(0);
    ASSERT_EQ(frame.size(), 5);
    frame[0]->execute_state_reverse(m_target.get_ptr(), 2);
    frame[1]->execute_state_reverse(m_target.get_ptr(), 2);
    frame[2]->execute_state_reverse(m_target.get_ptr(), 2);  // no earlier placement: logged
    m_target->previous = frame[1];
    frame[2]->execute_state_reverse(m_target.get_ptr(), 2);  // the earlier placement runs again
    frame[4]->execute_state_reverse(m_target.get_ptr(), 2);
    m_target->previous = nullptr;
    frame[3]->execute_state_reverse(m_target.get_ptr(), 2);
    std::vector<std::string> expected = {"remove 3 7",           "remove 5 -1", "find 2 5 -1",          "find 2 5 -1",
                                         "add 2 '' 0 5 1 0 0 0", "find 2 5 -1", "add 2 '' 0 5 1 0 0 0", "find 2 3 7"};
    EXPECT_EQ(m_target->calls, expected);
    EXPECT_TRUE(Logged("reverse REPLACE can't find previous replace or add tag(2, 5)"));
    EXPECT_TRUE(Logged("reverse REMOVE can't find previous replace or add tag(2, 3)"));
    EXPECT_TRUE(frame[3]->is_remove_tag());
    EXPECT_FALSE(frame[0]->is_remove_tag());
}

// Clip event flags are 16 bits before version 6 and 32 bits (with a key code for key presses)
// from version 6; handlers of one record share its bytes.
TEST_F(TagLoaderTest, clip_action_flags_follow_the_version) {
    const struct {
        int version;
        std::vector<swfkit::ClipAction> actions;
        std::vector<std::pair<int, int>> events;  // id, key code
    } cases[] = {
        {6,
         {{0x20000, 37, stop_action}, {0x40000, 0, stop_action}},  // onKeyPress with LEFT, onConstruct
         {{event_id::KEY_PRESS, 37}, {event_id::CONSTRUCT, 0}}},
        {5,
         {{0x0003, 0, stop_action}, {0x0400, 0, {0x06, 0x00}}},  // onLoad and onEnterFrame, onPress
         {{event_id::LOAD, 0}, {event_id::ENTER_FRAME, 0}, {event_id::PRESS, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.version);
        LoadFrame(c.version, [&](swfkit::TagList& tags) {
            Placement place = At(1, 1, false, c.actions);
            c.version < 6 ? tags.PlaceObject2(place) : tags.PlaceObject3(place);
            tags.RemoveObject2(9);
        });
        ASSERT_EQ(m_def->get_playlist(0).size(), 2);  // the stream stayed in step
        std::vector<std::pair<int, int>> events;
        for (const swfplayer::swf_event* h : Place(0)->m_event_handlers) {
            events.emplace_back(h->m_event.m_id, h->m_event.m_key_code);
        }
        EXPECT_EQ(events, c.events);
        EXPECT_TRUE(Log().empty());
    }
    auto* load = static_cast<swfplayer::as_s_function*>(Place(0)->m_event_handlers[0]->m_method.to_function());
    auto* enter = static_cast<swfplayer::as_s_function*>(Place(0)->m_event_handlers[1]->m_method.to_function());
    ASSERT_TRUE(load && enter);
    EXPECT_TRUE(load->get_action_buffer().shares_bytes_with(enter->get_action_buffer()));
    EXPECT_EQ(load->get_length(), 2);
    EXPECT_EQ(load->get_start_pc(), 0);
}

TEST_F(TagLoaderTest, clip_action_length_mismatch_and_unknown_flags) {
    LoadFrame(6, [](swfkit::TagList& tags) {
        swfkit::TagList place(6);  // an unknown bit and onLoad, then onLoad
        place.PlaceObject2(At(2, 1, false, {{0x100001, 0, stop_action}, {0x1, 0, stop_action}}));
        Bytes body(place.GetBytes().begin() + 2, place.GetBytes().end());  // after the short tag header
        body[body.size() - 10] = 5;  // the second record claims five bytes, holds two
        tags.Tag(swfplayer::tag_place_object2, body);
    });
    EXPECT_EQ(Place(0)->m_event_handlers.size(), 1);
    EXPECT_EQ(Place(0)->m_place_type, place_object_2::PLACE);
    EXPECT_TRUE(Logged("swf_event::read() -- unknown event type received, flags = 0x100001"));
    EXPECT_TRUE(Logged("swf_event::read(), event_length = 5, but read 2"));
}

// PlaceObject3 skips its filters and blend mode; an unknown filter abandons the rest of the
// placement, and the next tag is read all the same.
TEST_F(TagLoaderTest, place_object_three_skips_filters_and_blend_mode) {
    LoadFrame(8, [](swfkit::TagList& tags) {
        Bytes filters = {2, 1, 0, 0, 4, 0, 0, 0, 4, 0, 0x21, 6};  // blur, colour matrix of 80 bytes
        filters.resize(filters.size() + 80);
        Placement glow = At(1, 4, false, {{0x1, 0, stop_action}});
        glow.name = "glow";
        glow.blendMode = 3;
        glow.filterList = filters;
        Placement unknown = At(1, 4, false, {{0x1, 0, stop_action}});
        unknown.filterList = Bytes{1, 9, 0, 0, 0};
        tags.PlaceObject3(glow).PlaceObject3(unknown);
        tags.RemoveObject2(2);
    });
    ASSERT_EQ(m_def->get_playlist(0).size(), 3);
    EXPECT_EQ(Place(0)->m_tag_type, 70);
    EXPECT_EQ(Place(0)->m_name, "glow");
    EXPECT_EQ(Place(0)->m_event_handlers.size(), 1);
    EXPECT_EQ(Place(1)->m_character_id, 4);
    EXPECT_EQ(Place(1)->m_event_handlers.size(), 0);
    EXPECT_TRUE(Logged("unknown filter id 9"));
}

// Frame actions, init actions, and a background colour that keeps the host's alpha.
TEST_F(TagLoaderTest, frame_actions_init_actions_and_background) {
    LoadFrame(6, [](swfkit::TagList& tags) {
        tags.DoAction({0x96, 0x02, 0x00, 0x08, 0x00, 0x07, 0x00, 0xEE});  // push, stop, end, junk
        tags.DoAction({0x07, 0x96, 0x09, 0x00});                          // stop, a cut push, no end
        tags.DoInitAction(3, stop_action).SetBackgroundColor({10, 20, 30});
    });
    ASSERT_EQ(m_def->get_playlist(0).size(), 3);
    EXPECT_TRUE(m_def->get_playlist(0)[0]->is_action_tag());
    auto* first = static_cast<swfplayer::do_action*>(m_def->get_playlist(0)[0]);
    auto* cut = static_cast<swfplayer::do_action*>(m_def->get_playlist(0)[1]);
    EXPECT_EQ(first->m_buf.size(), 7);
    EXPECT_EQ(cut->m_buf.size(), 2);  // stop, then the end action put in its place
    EXPECT_EQ(cut->m_buf[1], 0);
    RunFrame();
    EXPECT_EQ(m_target->buffers, (std::vector<swfplayer::action_buffer*>{&first->m_buf, &cut->m_buf}));
    const auto* init = m_def->get_init_actions(0);
    ASSERT_TRUE(init);
    ASSERT_EQ(init->size(), 1);
    EXPECT_EQ(static_cast<swfplayer::do_action*>((*init)[0])->m_buf.size(), 2);
    for (const auto& [host_alpha, alpha] : {std::pair{0.0f, 0}, {0.5f, 128}, {7.0f, 255}}) {
        m_target->host_alpha = host_alpha;
        RunFrame();
        const swfplayer::rgba& c = m_target->background;
        EXPECT_EQ(std::vector<int>({c.r, c.g, c.b, c.a}), std::vector<int>({10, 20, 30, alpha})) << host_alpha;
    }
}

// Reads a filter list from inside a tag holding it and a sentinel byte: each filter takes its
// size, and an unknown id or a filter longer than the tag fails the record.
TEST_F(TagLoaderTest, each_filter_takes_its_size) {
    auto one = [](uint8_t id, int body_bytes, const Bytes& leading = {}) {
        Bytes list(2 + leading.size() + static_cast<size_t>(body_bytes));
        list[0] = 1;
        list[1] = id;
        std::copy(leading.begin(), leading.end(), list.begin() + 2);
        return list;
    };
    Bytes several = one(1, 9);  // blur, colour matrix, gradient glow without colours
    several[0] = 3;
    several.push_back(6);
    several.resize(several.size() + 80);
    several.push_back(4);
    several.resize(several.size() + 20);
    const struct {
        const char* label;
        Bytes list;
        int taken;  // -1: the reader gave up
        const char* logged;
    } cases[] = {
        {"empty list", {0}, 1, nullptr},
        {"drop shadow", one(0, 23), 25, nullptr},
        {"blur: 10 with its id", one(1, 9), 11, nullptr},
        {"glow", one(2, 15), 17, nullptr},
        {"bevel", one(3, 27), 29, nullptr},
        {"colour matrix: 81 with its id", one(6, 80), 82, nullptr},
        {"gradient glow with 2 colours: 31 with the id", one(4, 29, {2}), 32, nullptr},
        {"gradient bevel with 2 colours", one(7, 29, {2}), 32, nullptr},
        {"convolution 3 x 3: 52 with the id", one(5, 49, {3, 3}), 53, nullptr},
        {"three filters", several, static_cast<int>(several.size()), nullptr},
        {"unknown id", {1, 8, 0, 0}, -1, "unknown filter id 8"},
        {"255 x 255 convolution", {1, 5, 255, 255, 0, 0}, -1, "runs past the end of its tag"},
        {"200 gradient colours", {1, 4, 200, 0}, -1, "runs past the end of its tag"},
        {"a gradient glow one byte short", one(4, 27, {2}), -1, "runs past the end of its tag"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        ClearLog();
        swfkit::BitWriter tag;
        tag.WriteU16(70 << 6 | 0x3F);
        tag.WriteU32(static_cast<uint32_t>(c.list.size() + 1));
        tag.WriteBytes(c.list);
        tag.WriteU8(0xEE);
        swf_testing::ByteStream s(tag.GetBytes());
        s.in.open_tag();
        const int start = s.in.get_position();
        const bool read = swfplayer::read_filters(&s.in);
        EXPECT_EQ(read ? s.in.get_position() - start : -1, c.taken);
        if (read) {
            EXPECT_EQ(s.in.read_u8(), 0xEE);
        }
        if (c.logged) {
            EXPECT_TRUE(Logged(c.logged));
        }
    }
}

}  // namespace
