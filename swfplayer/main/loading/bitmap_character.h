#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/common/rect.h"
#include "swfplayer/main/loading/bitmap_character_def.h"
#include "swfplayer/main/render/render_handler.h"

namespace swfplayer {

// The bitmap that a movie's bitmap tags define. Its bounds in twips run from (0, 0) to
// 20 times the bitmap's width and height, asked from the bitmap each time.
class bitmap_character : public bitmap_character_def {
public:
    // Keeps bi (adds a reference) when it is not null.
    bitmap_character(player* owner, bitmap_info* bi);

    bitmap_info* get_bitmap_info() const override { return m_bitmap_info.get_ptr(); }

    // Draws the whole bitmap over its bounds, through the instance's world matrix and tinted by
    // its world colour transform.
    void display(character* inst) override;
    void get_bound(rect* r) const override;
    // True inside the bounds, edges included.
    bool point_test_local(float x, float y) const override;

private:
    smart_ptr<bitmap_info> m_bitmap_info;
};

}  // namespace swfplayer
