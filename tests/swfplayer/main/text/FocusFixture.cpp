#include "tests/swfplayer/main/text/FocusFixture.h"

#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/player/movie_player.h"
#include "swfplayer/main/script/fn_call.h"
#include "tools/swfkit/ActionAssembler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace text_test {

namespace {

constexpr uint16_t kFieldId = 7;
constexpr uint16_t kSquareId = 8;
constexpr uint16_t kClipId = 9;
constexpr int kTwips = 20;
// The objects by depth, from 1.
const char* const kNames[] = {"first", "second", "clip", "other"};

FocusScript g_script;
root* g_root = nullptr;
std::map<std::string, smart_ptr<character>>* g_objects = nullptr;

std::string name_of(as_object* object) {
    as_value name;
    return object && object->get_member("_name", &name) ? name.to_string() : "nobody";
}

// The object of that name, or null when there is none.
character* find_object(const std::string& name) {
    auto found = g_objects->find(name);
    return found == g_objects->end() ? nullptr : found->second.get_ptr();
}

// The path from the root to the object of that name: each prefix before a '_' names a clip that
// holds it ("clip_clip_field" is "clip.clip_clip.clip_clip_field").
std::string path_of(const std::string& name) {
    std::string path;
    for (size_t end = name.find('_'); end != std::string::npos; end = name.find('_', end + 1)) {
        path += name.substr(0, end) + ".";
    }
    return path + name;
}

void listen_to(character* object);

void remove_object(const std::string& name) {
    smart_ptr<character> object = find_object(name);
    character* parent = object ? object->get_parent() : nullptr;
    if (!parent || !object->is_active()) {
        return;
    }
    g_script.events.push_back("remove " + name);
    parent->remove_display_object(object.get_ptr());
    g_script.events.push_back("gone " + name);
}

// A field (kind "field") or an empty clip (kind "clip") placed by script into the clip of that
// name, whether or not it is on the stage: "NAME_field" at depth 9, "NAME_clip" at depth 10.
void create_in(const std::string& kind, const std::string& name) {
    character* holder = find_object(name);
    if (!holder || holder->is(AS_EDIT_TEXT)) {
        return;
    }
    const std::string made = name + "_" + kind;
    const bool field = kind == "field";
    const as_value args[] = {
        as_value(made.c_str()), as_value(field ? 9 : 10), as_value(0), as_value(0), as_value(200), as_value(30)};
    holder->call_method(field ? "createTextField" : "createEmptyMovieClip", args, field ? 6 : 2);
    as_value value;
    smart_ptr<character> object =
        holder->get_member(made.c_str(), &value) ? cast_to_character(value.to_object()) : nullptr;
    if (object) {
        g_script.events.push_back("made " + made);
        (*g_objects)[made] = object;
        listen_to(object.get_ptr());
    }
}

void act(const std::string& action) {
    const size_t space = action.find(' ');
    const std::string verb = action.substr(0, space);
    const std::string name = action.substr(space + 1);
    if (verb == "remove") {
        remove_object(name);
    } else if (verb == "field" || verb == "clip") {
        create_in(verb, name);
    } else if (verb == "input" || verb == "dynamic") {
        if (character* field = find_object(name); field && field->is(AS_EDIT_TEXT)) {
            field->set_member("type", as_value(verb.c_str()));
        }
    } else {
        as_value target = verb == "give" ? as_value(find_object(name)) : as_value(path_of(name).c_str());
        g_root->get_root_sprite()->call_method("focus", &target, 1);
    }
}

void record(const std::string& event, const fn_call& fn) {
    const std::string name = name_of(fn.this_ptr);
    const std::string entry = event + " " + name;
    // An object placed by script over one of the same name leaves that one replaced.
    g_script.events.push_back(find_object(name) == fn.this_ptr ? entry : entry + " (replaced)");
    if (event == "kill") {
        g_script.holders.push_back(name_of(g_root->get_current_focus()));
    }
    if (g_script.calls_left > 0) {
        g_script.calls_left--;
        const std::vector<std::string> actions = g_script.actions[entry];
        for (const std::string& action : actions) {
            act(action);
        }
    }
}
void record_set(const fn_call& fn) {
    record("set", fn);
}
void record_kill(const fn_call& fn) {
    record("kill", fn);
}
void record_unload(const fn_call& fn) {
    record("unload", fn);
}
void take_press(const fn_call& /*fn*/) {}

swfkit::ShapeBuilder Square() {
    swfkit::ShapeBuilder b;
    b.SetFillStyle0(b.AddFillStyle(swfkit::FillStyle::Solid({0, 0, 255, 255})));
    b.MoveTo(0, 0);
    b.LineTo(0, 100 * kTwips);
    b.LineTo(100 * kTwips, 100 * kTwips);
    b.LineTo(100 * kTwips, 0);
    b.LineTo(0, 0);
    return b;
}

// Every object records its focus handlers and a clip its onUnload; a clip takes presses.
void listen_to(character* object) {
    object->set_member("onSetFocus", as_value(object->get_player(), record_set));
    object->set_member("onKillFocus", as_value(object->get_player(), record_kill));
    if (!object->is(AS_EDIT_TEXT)) {
        object->set_member("onUnload", as_value(object->get_player(), record_unload));
        object->set_member("onPress", as_value(object->get_player(), take_press));
    }
}

}  // namespace

FocusScript& Script() {
    return g_script;
}

void FocusFixture::SetUp() {
    TextFixture::SetUp();
    m_movie = LoadWithFont([](swfkit::TagList& tags) {
        swfkit::EditText field;
        field.id = kFieldId;
        field.bounds = {0, 200 * kTwips, 0, 30 * kTwips};
        field.fontId = kFontId;
        field.height = 400;
        tags.Tag(tag_define_edit_text, DefineEditTextBody(field));
        tags.DefineShape(kSquareId, Square());
        swfkit::TagList clip(tags.GetVersion());
        clip.PlaceObject(kSquareId, 1).ShowFrame();
        tags.DefineSprite(kClipId, clip);
        for (uint16_t depth = 1; depth <= 4; depth++) {
            swfkit::Placement p;
            p.depth = depth;
            p.characterId = depth <= 2 ? kFieldId : kClipId;
            p.name = kNames[depth - 1];
            p.matrix = swfkit::Matrix{1, 1, 0, 0, 0, (depth - 1) * 100 * kTwips};
            tags.PlaceObject2(p);
        }
        tags.DoAction(swfkit::assemble("fn:focus(target) { 'target' get_var 1 'Selection' get_var 'setFocus' "
                                       "call_method return } stop")
                          .bytes());
        tags.ShowFrame().RemoveObject2(2).RemoveObject2(3);
    });
    ASSERT_TRUE(m_movie);
    Restart();
}

void FocusFixture::Restart() {
    m_objects.clear();
    m_playing = create_instance(m_movie.get_ptr());
    m_playing->advance(0.0f);
    g_root = m_playing.get_ptr();
    g_objects = &m_objects;
    g_script = FocusScript();
    for (const char* name : kNames) {
        as_value value;
        m_playing->get_root_sprite()->get_member(name, &value);
        smart_ptr<character> object = cast_to_character(value.to_object());
        ASSERT_TRUE(object) << name;
        m_objects[name] = object;
        listen_to(object.get_ptr());
    }
}

void FocusFixture::TearDown() {
    m_objects.clear();
    g_objects = nullptr;
    g_root = nullptr;
    g_script = FocusScript();
    m_playing = nullptr;
    TextFixture::TearDown();
}

std::string FocusFixture::Focus(const std::string& name) {
    return m_playing->call_method("focus", "%s", path_of(name).c_str());
}

character* FocusFixture::Object(const std::string& name) {
    return find_object(name);
}

void FocusFixture::Remove(const std::string& name) {
    remove_object(name);
}

void FocusFixture::Act(const std::string& action) {
    act(action);
}

void FocusFixture::Type(const std::string& keys) {
    for (char key : keys) {
        m_player->notify_key_event(key, true);
        m_player->notify_key_event(key, false);
    }
}

bool FocusFixture::Listens(edit_text_character* field) {
    listener& keys = m_playing->get_keypress_listener();
    for (int i = 0; i < keys.size(); i++) {
        if (keys[i] == field) {
            return true;
        }
    }
    return false;
}

std::string FocusFixture::Holder() {
    return name_of(m_playing->get_current_focus());
}

void FocusFixture::ExpectHolder(const char* name) {
    EXPECT_EQ(Holder(), name ? name : "nobody");
    for (const auto& [field, object] : m_objects) {
        if (object->is(AS_EDIT_TEXT)) {
            const bool holds = name && field == name;
            EXPECT_EQ(Field(field)->has_focus(), holds) << field;
            EXPECT_EQ(Listens(Field(field)), holds) << field;
        }
    }
}

void FocusFixture::Click(int x, int y) {
    for (int buttons : {0, 1, 0}) {
        m_playing->notify_mouse_state(x, y, buttons);
        m_playing->advance(0.0f);
    }
}

void FocusFixture::Press(const std::string& name) {
    const int row = static_cast<int>(std::find(std::begin(kNames), std::end(kNames), name) - std::begin(kNames));
    Click(10, 10 + 100 * row);
}

std::vector<std::string> FocusFixture::Heard(const std::string& event) {
    std::vector<std::string> names;
    for (const std::string& entry : g_script.events) {
        if (entry.rfind(event + " ", 0) == 0) {
            names.push_back(entry.substr(event.size() + 1));
        }
    }
    return names;
}

std::vector<std::string> FocusFixture::FocusEvents(const std::string& name, size_t from) {
    std::vector<std::string> heard;
    for (size_t i = from; i < g_script.events.size(); i++) {
        for (const char* event : {"set", "kill"}) {
            if (g_script.events[i] == event + (" " + name)) {
                heard.push_back(event);
            }
        }
    }
    return heard;
}

}  // namespace text_test
