// Text fields made by script. They are edit texts, so this operation of sprite_instance is built
// with the text layer.
#include "swfplayer/base/log.h"
#include "swfplayer/main/common/twips.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/text/edit_text_character_def.h"

#include <algorithm>

namespace swfplayer {

character* sprite_instance::create_text_field(const base_string& name, int depth, int x, int y, int width, int height) {
    player* owner = get_player();
    if (owner == nullptr) {
        return nullptr;
    }
    // A field has no negative size.
    smart_ptr<edit_text_character_def> def =
        new edit_text_character_def(owner, std::max(width, 0), std::max(height, 0));
    smart_ptr<character> field = def->create_character_instance(this, 0);
    if (field == nullptr) {
        return nullptr;
    }
    field->set_name(name);
    matrix at;
    at.m[0][2] = static_cast<float>(x) * twips_per_pixel;
    at.m[1][2] = static_cast<float>(y) * twips_per_pixel;
    m_display_list.add_display_object(field.get_ptr(), depth, true, cxform(), at, 0.0f, 0);
    return field.get_ptr();
}

}  // namespace swfplayer
