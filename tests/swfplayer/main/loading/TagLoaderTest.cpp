#include "swfplayer/main/display/character.h"
#include "swfplayer/main/loading/execute_tags.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/loading/place_object_2.h"
#include "swfplayer/main/loading/sprite_definition.h"
#include "swfplayer/main/script/as_s_function.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tools/swfkit/Movie.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;
using swfkit::Movie;
using swfkit::Placement;
using swfplayer::place_object_2;

// A character that records the display-list calls that frame tags make on it.
class RecordingCharacter : public swfplayer::character {
public:
    explicit RecordingCharacter(swfplayer::player* owner) : character(owner, nullptr, -1) {}

    swfplayer::execute_tag* find_previous_place_tag(int frame, int depth, int id) override {
        calls.push_back("find " + std::to_string(frame) + " " + std::to_string(depth) + " " + std::to_string(id));
        return previous;
    }
    using swfplayer::character::remove_display_object;
    void remove_display_object(int depth, int id) override {
        calls.push_back("remove " + std::to_string(depth) + " " + std::to_string(id));
    }
    swfplayer::character* add_display_object(uint16_t character_id, const swfplayer::base_string& name,
                                             const swfplayer::array<swfplayer::swf_event*>& handlers, int depth,
                                             bool replace, const swfplayer::cxform&, const swfplayer::matrix& mat,
                                             float ratio, uint16_t clip_depth) override {
        calls.push_back("add " + std::to_string(character_id) + " '" + name.c_str() + "' " +
                        std::to_string(handlers.size()) + " " + std::to_string(depth) + " " + std::to_string(replace) +
                        " " + std::to_string(static_cast<int>(mat.m[0][2])) + " " +
                        std::to_string(static_cast<int>(ratio * 100)) + " " + std::to_string(clip_depth));
        return nullptr;
    }
    void move_display_object(int depth, bool use_cxform, const swfplayer::cxform&, bool use_matrix,
                             const swfplayer::matrix&, float, uint16_t) override {
        calls.push_back("move " + std::to_string(depth) + " " + std::to_string(use_cxform) + " " +
                        std::to_string(use_matrix));
    }
    void replace_display_object(uint16_t character_id, const swfplayer::base_string& name, int depth, bool,
                                const swfplayer::cxform&, bool, const swfplayer::matrix&, float, uint16_t) override {
        calls.push_back("replace " + std::to_string(character_id) + " '" + name.c_str() + "' " + std::to_string(depth));
    }
    void add_action_buffer(swfplayer::action_buffer* buffer) override { buffers.push_back(buffer); }
    void set_background_color(const swfplayer::rgba& color) override { background = color; }
    float get_background_alpha() override { return host_alpha; }

    std::vector<std::string> calls;
    std::vector<swfplayer::action_buffer*> buffers;
    swfplayer::execute_tag* previous = nullptr;
    swfplayer::rgba background;
    float host_alpha = 1.0f;
};

// A placement at the depth, of the character when given.
Placement At(uint16_t depth, std::optional<uint16_t> character, bool move = false) {
    Placement place;
    place.depth = depth;
    place.characterId = character;
    place.move = move;
    return place;
}

Bytes StopAction() {
    return {0x07, 0x00};
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
    template <class Fill>
    swfplayer::smart_ptr<swfplayer::movie_def_impl> LoadFrame(int version, Fill fill) {
        Movie movie(version, {0, 2000, 0, 2000}, 12.0);
        fill(movie.Tags());
        movie.Tags().ShowFrame();
        return LoadMovie(movie.Write(false));
    }
    // Runs every tag of frame 0 on the recording character.
    std::vector<std::string> RunFrame(swfplayer::movie_def_impl* def) {
        m_target->calls.clear();
        for (swfplayer::execute_tag* tag : def->get_playlist(0)) {
            tag->execute(m_target.get_ptr());
        }
        return m_target->calls;
    }
    static place_object_2* Place(swfplayer::movie_def_impl* def, int index) {
        return static_cast<place_object_2*>(def->get_playlist(0)[index]);
    }

    swfplayer::smart_ptr<RecordingCharacter> m_target;
};

TEST_F(TagLoaderTest, place_move_replace_and_remove) {
    auto def = LoadFrame(6, [](swfkit::TagList& tags) {
        Placement place = At(3, 7);
        place.name = "ball";
        place.ratio = 65535;
        place.clipDepth = 9;
        tags.PlaceObject2(place);
        Placement move = At(3, {}, true);
        move.matrix = swfkit::Matrix{};
        tags.PlaceObject2(move);
        tags.PlaceObject2(At(3, 8, true));  // replace
        tags.PlaceObject2(At(4, {}));       // neither character nor move
        tags.RemoveObject(7, 3);
        tags.RemoveObject2(3);
    });
    ASSERT_TRUE(def);
    ASSERT_EQ(def->get_playlist(0).size(), 6);
    const struct {
        int type;
        uint32_t depth_id;
    } places[] = {{place_object_2::PLACE, 0x0003FFFFu},
                  {place_object_2::MOVE, 0xFFFFFFFFu},
                  {place_object_2::REPLACE, 0x0003FFFFu},
                  {place_object_2::PLACE, 0x0004FFFFu}};
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(Place(def.get_ptr(), i)->m_place_type, places[i].type) << "tag " << i;
        EXPECT_EQ(Place(def.get_ptr(), i)->get_depth_id_of_replace_or_add_tag(), places[i].depth_id) << "tag " << i;
    }
    EXPECT_EQ(Place(def.get_ptr(), 3)->m_character_id, 0);
    std::vector<std::string> expected = {"add 7 'ball' 0 3 1 0 100 9", "move 3 0 1", "replace 8 '' 3",
                                         "add 0 '' 0 4 1 0 0 0",       "remove 3 7", "remove 3 -1"};
    EXPECT_EQ(RunFrame(def.get_ptr()), expected);
}

TEST_F(TagLoaderTest, place_object_one_with_and_without_colour_transform) {
    auto def = LoadFrame(4, [](swfkit::TagList& tags) {
        swfkit::Matrix at;
        at.translateX = 40;
        tags.PlaceObject(7, 3, at);
        swfkit::ColorTransform tint;
        tint.hasAdd = true;
        tint.add[0] = 100;
        tags.PlaceObject(8, 4, {}, tint);
    });
    ASSERT_TRUE(def);
    place_object_2* plain = Place(def.get_ptr(), 0);
    EXPECT_FLOAT_EQ(plain->m_color_transform.m[0][1], 0.0f);
    EXPECT_FLOAT_EQ(plain->m_color_transform.m[0][0], 1.0f);
    EXPECT_FALSE(plain->m_has_matrix);
    EXPECT_FALSE(plain->m_has_cxform);
    EXPECT_EQ(plain->get_depth_id_of_replace_or_add_tag(), 0x00030007u);
    EXPECT_FLOAT_EQ(Place(def.get_ptr(), 1)->m_color_transform.m[0][1], 100.0f);
    std::vector<std::string> expected = {"add 7 '' 0 3 0 40 0 0", "add 8 '' 0 4 0 0 0 0"};
    EXPECT_EQ(RunFrame(def.get_ptr()), expected);
}

TEST_F(TagLoaderTest, reversing_placements) {
    auto def = LoadFrame(6, [](swfkit::TagList& tags) {
        tags.PlaceObject(7, 3);
        tags.PlaceObject2(At(5, 2));
        tags.PlaceObject2(At(5, 2, true));
        tags.RemoveObject(7, 3);
        tags.RemoveObject2(5);
    });
    ASSERT_TRUE(def);
    const auto& frame = def->get_playlist(0);
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

TEST_F(TagLoaderTest, background_colour_keeps_the_host_alpha) {
    auto def = LoadFrame(6, [](swfkit::TagList& tags) { tags.SetBackgroundColor({10, 20, 30}); });
    ASSERT_TRUE(def);
    const struct {
        float host_alpha;
        int alpha;
    } cases[] = {{0.0f, 0}, {0.5f, 128}, {7.0f, 255}};
    for (const auto& c : cases) {
        m_target->host_alpha = c.host_alpha;
        RunFrame(def.get_ptr());
        EXPECT_EQ(m_target->background.r, 10);
        EXPECT_EQ(m_target->background.b, 30);
        EXPECT_EQ(m_target->background.a, c.alpha) << c.host_alpha;
    }
}

TEST_F(TagLoaderTest, clip_actions_use_sixteen_bit_flags_before_version_six) {
    auto def = LoadFrame(5, [](swfkit::TagList& tags) {
        Placement place = At(1, 1);
        place.clipActions.push_back({0x0003, 0, StopAction()});  // onLoad and onEnterFrame
        place.clipActions.push_back({0x0400, 0, {0x06, 0x00}});  // onPress
        tags.PlaceObject2(place);
        tags.RemoveObject2(9);
    });
    ASSERT_TRUE(def);
    ASSERT_EQ(def->get_playlist(0).size(), 2);  // the stream stayed in step
    const auto& handlers = Place(def.get_ptr(), 0)->m_event_handlers;
    ASSERT_EQ(handlers.size(), 3);
    EXPECT_EQ(handlers[0]->m_event.m_id, swfplayer::event_id::LOAD);
    EXPECT_EQ(handlers[1]->m_event.m_id, swfplayer::event_id::ENTER_FRAME);
    EXPECT_EQ(handlers[2]->m_event.m_id, swfplayer::event_id::PRESS);
    auto* load = static_cast<swfplayer::as_s_function*>(handlers[0]->m_method.to_function());
    auto* enter = static_cast<swfplayer::as_s_function*>(handlers[1]->m_method.to_function());
    ASSERT_TRUE(load && enter);
    EXPECT_TRUE(load->get_action_buffer().shares_bytes_with(enter->get_action_buffer()));
    EXPECT_EQ(load->get_length(), 2);
    EXPECT_EQ(load->get_start_pc(), 0);
    EXPECT_TRUE(Log().empty());
}

TEST_F(TagLoaderTest, clip_actions_use_thirty_two_bit_flags_and_key_codes_from_version_six) {
    auto def = LoadFrame(6, [](swfkit::TagList& tags) {
        Placement place = At(1, 1);
        place.clipActions.push_back({0x20000, 37, StopAction()});  // onKeyPress with LEFT
        place.clipActions.push_back({0x40000, 0, StopAction()});   // onConstruct
        tags.PlaceObject3(place);
        tags.RemoveObject2(9);
    });
    ASSERT_TRUE(def);
    ASSERT_EQ(def->get_playlist(0).size(), 2);
    const auto& handlers = Place(def.get_ptr(), 0)->m_event_handlers;
    ASSERT_EQ(handlers.size(), 2);
    EXPECT_EQ(handlers[0]->m_event.m_id, swfplayer::event_id::KEY_PRESS);
    EXPECT_EQ(handlers[0]->m_event.m_key_code, 37);
    EXPECT_EQ(handlers[1]->m_event.m_id, swfplayer::event_id::CONSTRUCT);
    EXPECT_EQ(handlers[1]->m_event.m_key_code, 0);
}

TEST_F(TagLoaderTest, clip_action_length_mismatch_and_unknown_flags) {
    auto def = LoadFrame(6, [](swfkit::TagList& tags) {
        swfkit::BitWriter body;
        body.WriteBits(0x86, 8);  // clip actions, matrix, character
        body.WriteU16(2);         // depth
        body.WriteU16(1);         // character
        body.WriteU8(0x00);       // identity matrix
        body.WriteU16(0);
        body.WriteU32(0x100001);
        body.WriteU32(0x100001);  // an unknown bit and onLoad
        body.WriteU32(2);
        body.WriteBytes(StopAction());
        body.WriteU32(1);
        body.WriteU32(5);  // claims five bytes, holds two
        body.WriteBytes(StopAction());
        body.WriteU32(0);
        tags.Tag(swfplayer::tag_place_object2, body.GetBytes());
    });
    ASSERT_TRUE(def);
    place_object_2* place = Place(def.get_ptr(), 0);
    EXPECT_EQ(place->m_event_handlers.size(), 1);
    EXPECT_EQ(place->m_place_type, place_object_2::PLACE);
    EXPECT_TRUE(Logged("swf_event::read() -- unknown event type received, flags = 0x100001"));
    EXPECT_TRUE(Logged("swf_event::read(), event_length = 5, but read 2"));
}

TEST_F(TagLoaderTest, place_object_three_skips_filters_and_blend_mode) {
    auto def = LoadFrame(8, [](swfkit::TagList& tags) {
        Placement place = At(1, 4);
        place.name = "glow";
        place.blendMode = 3;
        place.filterList = Bytes{2, 1, 0, 0, 4, 0, 0, 0, 4, 0, 0x21,  // blur
                                 6};                                  // colour matrix, 80 bytes
        place.filterList->resize(place.filterList->size() + 80);
        place.clipActions.push_back({0x1, 0, StopAction()});
        tags.PlaceObject3(place);
    });
    ASSERT_TRUE(def);
    place_object_2* place = Place(def.get_ptr(), 0);
    EXPECT_EQ(place->m_tag_type, 70);
    EXPECT_EQ(place->m_name, "glow");
    EXPECT_EQ(place->m_event_handlers.size(), 1);
}

TEST_F(TagLoaderTest, unknown_filter_abandons_the_rest_of_the_placement) {
    auto def = LoadFrame(8, [](swfkit::TagList& tags) {
        Placement place = At(1, 4);
        place.filterList = Bytes{1, 9, 0, 0, 0};
        place.clipActions.push_back({0x1, 0, StopAction()});
        tags.PlaceObject3(place);
        tags.RemoveObject2(2);
    });
    ASSERT_TRUE(def);
    ASSERT_EQ(def->get_playlist(0).size(), 2);
    EXPECT_EQ(Place(def.get_ptr(), 0)->m_character_id, 4);
    EXPECT_EQ(Place(def.get_ptr(), 0)->m_event_handlers.size(), 0);
    EXPECT_TRUE(Logged("unknown filter id 9"));
}

TEST_F(TagLoaderTest, frame_actions_and_init_actions) {
    auto def = LoadFrame(6, [](swfkit::TagList& tags) {
        tags.DoAction({0x96, 0x02, 0x00, 0x08, 0x00, 0x07, 0x00, 0xEE});  // push, stop, end, junk
        tags.DoAction({0x07, 0x96, 0x09, 0x00});                          // stop, a cut push, no end
        tags.DoInitAction(3, StopAction());
    });
    ASSERT_TRUE(def);
    ASSERT_EQ(def->get_playlist(0).size(), 2);
    EXPECT_TRUE(def->get_playlist(0)[0]->is_action_tag());
    auto* first = static_cast<swfplayer::do_action*>(def->get_playlist(0)[0]);
    auto* cut = static_cast<swfplayer::do_action*>(def->get_playlist(0)[1]);
    EXPECT_EQ(first->m_buf.size(), 7);
    EXPECT_EQ(cut->m_buf.size(), 2);  // stop, then the end action put in its place
    EXPECT_EQ(cut->m_buf[1], 0);
    RunFrame(def.get_ptr());
    EXPECT_EQ(m_target->buffers, (std::vector<swfplayer::action_buffer*>{&first->m_buf, &cut->m_buf}));
    const auto* init = def->get_init_actions(0);
    ASSERT_TRUE(init);
    ASSERT_EQ(init->size(), 1);
    EXPECT_EQ(static_cast<swfplayer::do_action*>((*init)[0])->m_buf.size(), 2);
}

TEST_F(TagLoaderTest, exports_name_characters_and_report_the_unknown) {
    auto def = LoadFrame(6, [](swfkit::TagList& tags) {
        swfkit::TagList sprite(6);
        sprite.ShowFrame();
        tags.DefineSprite(12, sprite);
        tags.ExportAssets({{12, "Ball"}, {13, "Missing"}});
    });
    ASSERT_TRUE(def);
    EXPECT_EQ(def->get_exported_resource("ball"), def->get_character_def(12));
    EXPECT_TRUE(Logged("export error: don't know how to export resource 'Missing'"));
}

}  // namespace
