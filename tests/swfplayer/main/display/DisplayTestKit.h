#pragma once

// What the display tests share: a definition with fixed bounds that draws its id, a fixture
// with a player, a root and a recording render handler, and a comparable picture of a display
// list.

#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/display/character_def.h"
#include "swfplayer/main/display/display_list.h"
#include "swfplayer/main/display/generic_character.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/movie_def_impl.h"
#include "swfplayer/main/script/movie_root.h"
#include "tests/swfplayer/main/loading/SwfLoadingFixture.h"
#include "tests/swfplayer/main/render/RecordingRenderHandler.h"
#include "tools/swfkit/Movie.h"

#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace display_test {

using namespace swfplayer;

// A rectangle that draws itself as "draw_line_strip <id>" and is hit inside its bounds.
class box_def : public character_def {
public:
    box_def(player* owner, int id, const rect& bounds) : character_def(owner), m_bounds(bounds) { m_id = id; }
    void display(character*) override { render::draw_line_strip(nullptr, m_id); }
    bool point_test_local(float x, float y) const override { return m_bounds.point_test(x, y); }
    void get_bound(rect* r) const override { *r = m_bounds; }

    rect m_bounds;
};

// One child as the goto oracle compares it.
struct child_state {
    int depth;
    int id;
    std::string name;
    std::vector<float> matrix;  // six entries
    std::vector<float> cxform;  // eight entries
    float ratio;
    int clip_depth;

    bool operator==(const child_state&) const = default;
};
std::ostream& operator<<(std::ostream& out, const child_state& s);

// The children of list in order.
std::vector<child_state> picture(display_list& list);

// Names of the events the recording handlers saw: "<clip name>:<event>".
extern std::vector<std::string> g_events;
// Stores recording handlers for onLoad, onEnterFrame, onUnload and onConstruct on object.
void record_events(as_object* object);

// The member as a number (expected to exist), or as a text ("unset" when there is none).
double number_of(as_object* object, const char* member);
std::string text_of(as_object* object, const char* member);

// Adds ch to the list at depth with the matrix and clip depth, no colour change and ratio 0.
void place_at(display_list& list, character* ch, int depth, const matrix& m = matrix(), uint16_t clip_depth = 0);

// A PlaceObject2 of a new instance of the character id at depth under the name.
swfkit::Placement placement(uint16_t depth, uint16_t id, const char* name);

class DisplayFixture : public swf_testing::SwfLoadingFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // A generic character of a fresh box definition (width x height twips at the origin).
    smart_ptr<character> make_box(int id, float width, float height, character* parent = nullptr);
    // A root sprite of def, its first frame built as the root builds it.
    smart_ptr<sprite_instance> make_root_sprite(movie_definition_sub* def);
    // A version 6 movie of 400 x 300 pixels at 30 frames a second: an empty one-frame clip as id 1,
    // then the tags fill writes.
    smart_ptr<movie_def_impl> load_with_clip(const std::function<void(swfkit::Movie&)>& fill);

    smart_ptr<movie_root> m_root;
    testing_support::RecordingRenderHandler m_render;
};

}  // namespace display_test
