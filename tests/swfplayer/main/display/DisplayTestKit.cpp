#include "tests/swfplayer/main/display/DisplayTestKit.h"

#include "swfplayer/main/script/as_c_function.h"
#include "swfplayer/main/script/fn_call.h"

namespace display_test {

std::vector<std::string> g_events;

namespace {

template <int Event>
void record(const fn_call& fn) {
    static const char* const names[] = {"load", "enterFrame", "unload", "construct"};
    character* ch = cast_to_character(fn.this_ptr);
    g_events.push_back(std::string(ch ? ch->get_name().c_str() : "?") + ":" + names[Event]);
}

}  // namespace

std::ostream& operator<<(std::ostream& out, const child_state& s) {
    out << "{depth " << s.depth << " id " << s.id << " '" << s.name << "' m";
    for (float v : s.matrix) {
        out << " " << v;
    }
    out << " cx";
    for (float v : s.cxform) {
        out << " " << v;
    }
    return out << " ratio " << s.ratio << " clip " << s.clip_depth << "}";
}

std::vector<child_state> picture(display_list& list) {
    std::vector<child_state> states;
    for (int i = 0; i < list.size(); i++) {
        character* ch = list.get_character(i);
        const matrix& m = ch->get_matrix();
        const cxform& cx = ch->get_cxform();
        states.push_back(child_state{
            ch->get_depth(),
            ch->get_id(),
            ch->get_name().c_str(),
            {m.m[0][0], m.m[0][1], m.m[0][2], m.m[1][0], m.m[1][1], m.m[1][2]},
            {cx.m[0][0], cx.m[0][1], cx.m[1][0], cx.m[1][1], cx.m[2][0], cx.m[2][1], cx.m[3][0], cx.m[3][1]},
            ch->get_ratio(),
            ch->get_clip_depth()});
    }
    return states;
}

void record_events(as_object* object) {
    object->set_member("onLoad", as_value(object->get_player(), record<0>));
    object->set_member("onEnterFrame", as_value(object->get_player(), record<1>));
    object->set_member("onUnload", as_value(object->get_player(), record<2>));
    object->set_member("onConstruct", as_value(object->get_player(), record<3>));
}

double number_of(as_object* object, const char* member) {
    as_value value;
    EXPECT_TRUE(object->get_member(member, &value)) << member;
    return value.to_number();
}

std::string text_of(as_object* object, const char* member) {
    as_value value;
    return object->get_member(member, &value) ? value.to_string() : "unset";
}

void place_at(display_list& list, character* ch, int depth, const matrix& m, uint16_t clip_depth) {
    list.add_display_object(ch, depth, false, cxform(), m, 0.0f, clip_depth);
}

swfkit::Placement placement(uint16_t depth, uint16_t id, const char* name) {
    swfkit::Placement p;
    p.depth = depth;
    p.characterId = id;
    p.name = name;
    return p;
}

void DisplayFixture::SetUp() {
    SwfLoadingFixture::SetUp();
    g_events.clear();
    m_root = new movie_root();
    m_player->set_root(m_root.get_ptr());
    set_render_handler(&m_render);
}

void DisplayFixture::TearDown() {
    set_render_handler(nullptr);
    SwfLoadingFixture::TearDown();
}

smart_ptr<character> DisplayFixture::make_box(int id, float width, float height, character* parent) {
    smart_ptr<character_def> def = new box_def(m_player.get_ptr(), id, rect(0.0f, width, 0.0f, height));
    return def->create_character_instance(parent, id);
}

smart_ptr<sprite_instance> DisplayFixture::make_root_sprite(movie_definition_sub* def) {
    smart_ptr<sprite_instance> sprite = new sprite_instance(m_player.get_ptr(), def, m_root.get_ptr(), nullptr, -1);
    m_root->set_root_movie(sprite.get_ptr());
    sprite->execute_frame_tags(0, false);
    return sprite;
}

smart_ptr<movie_def_impl> DisplayFixture::load_with_clip(const std::function<void(swfkit::Movie&)>& fill) {
    swfkit::Movie movie(6, {0, 8000, 0, 6000}, 30.0);
    swfkit::TagList clip(6);
    movie.Tags().DefineSprite(1, clip.ShowFrame());
    fill(movie);
    return LoadMovie(movie.Write(false));
}

}  // namespace display_test
