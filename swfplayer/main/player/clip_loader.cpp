#include "swfplayer/main/player/clip_loader.h"

#include "swfplayer/base/image_jpeg.h"
#include "swfplayer/base/log.h"
#include "swfplayer/main/display/sprite_instance.h"
#include "swfplayer/main/loading/bitmap_character.h"
#include "swfplayer/main/loading/movie_loader.h"
#include "swfplayer/main/player/as_mcloader.h"
#include "swfplayer/main/render/render_handler.h"
#include "swfplayer/main/script/builtin_registry.h"
#include "swfplayer/main/script/load_file.h"
#include "swfplayer/main/script/player.h"

#include <strings.h>

#include <memory>
#include <string>

namespace swfplayer {

namespace {

enum class file_kind { none, movie, image, model };

file_kind kind_of(const std::string& url) {
    if (url.size() < 5) {
        return file_kind::none;
    }
    const char* extension = url.c_str() + url.size() - 4;
    if (strcasecmp(extension, ".swf") == 0) {
        return file_kind::movie;
    }
    if (strcasecmp(extension, ".jpg") == 0) {
        return file_kind::image;
    }
    if (strcasecmp(extension, ".3ds") == 0) {
        return file_kind::model;
    }
    return file_kind::none;
}

character* load_movie(player* owner, character* target, const std::string& url) {
    movie_def_impl* def = owner->create_movie(url.c_str());
    return def ? target->replace_me(def) : nullptr;
}

character* load_image(player* owner, character* target, const std::string& url) {
    std::unique_ptr<base_file> in(open_file(url.c_str()));
    std::unique_ptr<image::rgb> im = in ? image::read_jpeg(in.get()) : nullptr;
    if (im == nullptr) {
        return nullptr;
    }
    smart_ptr<bitmap_info> bi = render::create_bitmap_info_rgb(im.get());
    smart_ptr<character_def> def = new bitmap_character(owner, bi.get_ptr());
    return target->replace_me(def.get_ptr());
}

}  // namespace

as_object* load_into_clip(player* owner, as_object* target_object, const char* url) {
    smart_ptr<character> target = cast_to_character(target_object);
    if (owner == nullptr || target == nullptr) {
        return nullptr;
    }
    if (url[0] == '\0') {
        if (character* parent = target->get_parent()) {
            parent->remove_display_object(target.get_ptr());
        } else {
            target->clear_display_objects();
        }
        return nullptr;
    }
    if (!is_allowed_movie_name(url)) {
        return nullptr;
    }
    const std::string full = std::string(owner->get_workdir().c_str()) + url;
    const file_kind kind = kind_of(full);
    if (kind == file_kind::model) {
        log_error("swfplayer is not linked to lib3ds -- can't load 3DS file\n");
        return nullptr;
    }
    if (kind == file_kind::none) {
        return nullptr;
    }
    return kind == file_kind::movie ? load_movie(owner, target.get_ptr(), full)
                                    : load_image(owner, target.get_ptr(), full);
}

void register_clip_loader() {
    register_clip_loader(load_into_clip);
    register_movieclip_loader_ctor(as_global_mcloader_ctor);
}

}  // namespace swfplayer
