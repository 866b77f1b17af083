#include "swfplayer/main/loading/bitmap_character.h"

#include "swfplayer/main/common/twips.h"

namespace swfplayer {

bitmap_character::bitmap_character(player* owner, bitmap_info* bi) : bitmap_character_def(owner), m_bitmap_info(bi) {}

void bitmap_character::get_bound(rect* r) const {
    *r = rect(
        0.0f, static_cast<float>(twips_per_pixel) * static_cast<float>(m_bitmap_info ? m_bitmap_info->get_width() : 0),
        0.0f,
        static_cast<float>(twips_per_pixel) * static_cast<float>(m_bitmap_info ? m_bitmap_info->get_height() : 0));
}

bool bitmap_character::point_test_local(float x, float y) const {
    rect bound;
    get_bound(&bound);
    return bound.point_test(x, y);
}

}  // namespace swfplayer
