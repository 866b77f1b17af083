#include "swfplayer/main/loading/bitmap_character.h"

#include "swfplayer/main/common/twips.h"
#include "swfplayer/main/display/character.h"

namespace swfplayer {

bitmap_character::bitmap_character(player* owner, bitmap_info* bi) : bitmap_character_def(owner), m_bitmap_info(bi) {}

void bitmap_character::get_bound(rect* r) const {
    const int width = m_bitmap_info ? m_bitmap_info->get_width() : 0;
    const int height = m_bitmap_info ? m_bitmap_info->get_height() : 0;
    *r = rect(0.0f, static_cast<float>(twips_per_pixel * width), 0.0f, static_cast<float>(twips_per_pixel * height));
}

void bitmap_character::display(character* inst) {
    rect coords;
    get_bound(&coords);
    const rect uv(0.0f, 1.0f, 0.0f, 1.0f);
    const rgba colour = inst->get_world_cxform().transform(rgba(255, 255, 255, 255));
    render::draw_bitmap(inst->get_world_matrix(), m_bitmap_info.get_ptr(), coords, uv, colour);
}

bool bitmap_character::point_test_local(float x, float y) const {
    rect bound;
    get_bound(&bound);
    return bound.point_test(x, y);
}

}  // namespace swfplayer
