#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/script/as_object.h"

namespace swfplayer {

class character;
struct fn_call;

// Color: tints a clip by the multipliers of its colour transform (getRGB, setRGB, getTransform,
// setTransform); offsets are never touched. A channel value c in 0..255 stands for the
// multiplier c / 255. Once the clip is gone the methods do nothing.
class as_color : public as_object {
public:
    as_color(player* owner, character* target);

    bool is(int class_id) const override { return class_id == AS_COLOR || as_object::is(class_id); }

    // The clip while it lives, else null.
    character* get_target() const { return m_target.get_ptr(); }

private:
    weak_ptr<character> m_target;
};

// new Color(target): a Color on the clip that the one argument names (a path or the clip);
// otherwise the result stays undefined.
void as_global_color_ctor(const fn_call& fn);

}  // namespace swfplayer
