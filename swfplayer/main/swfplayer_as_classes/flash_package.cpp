#include "swfplayer/main/swfplayer_as_classes/flash_package.h"

#include "swfplayer/main/swfplayer_as_classes/as_color_transform.h"
#include "swfplayer/main/swfplayer_as_classes/as_event.h"
#include "swfplayer/main/swfplayer_as_classes/as_matrix.h"
#include "swfplayer/main/swfplayer_as_classes/as_point.h"
#include "swfplayer/main/swfplayer_as_classes/as_transform.h"

namespace swfplayer {

as_object* make_flash_package(player* owner) {
    as_object* geom = new as_object(owner);
    geom->builtin_member("Point", as_value(owner, as_global_point_ctor));
    geom->builtin_member("Matrix", as_value(owner, as_global_matrix_ctor));
    geom->builtin_member("Transform", as_value(owner, as_global_transform_ctor));
    geom->builtin_member("ColorTransform", as_value(owner, as_global_color_transform_ctor));
    as_object* flash = new as_object(owner);
    flash->builtin_member("geom", as_value(geom));
    as_object* events = new as_event(owner);
    events->builtin_member("MouseEvent", as_value(new as_mouse_event(owner)));
    flash->builtin_member("Events", as_value(events));
    return flash;
}

}  // namespace swfplayer
