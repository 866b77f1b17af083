#include "swfplayer/main/shapes/gradient_bitmaps.h"

#include "swfplayer/main/shapes/fill_style.h"

#include <algorithm>

namespace swfplayer {

gradient_bitmaps& gradient_bitmaps::instance() {
    static gradient_bitmaps cache;
    return cache;
}

// The type, then per record its ratio and colour: everything the bitmap is made from.
std::string gradient_bitmaps::key_of(const fill_style& style) {
    std::string key(1, static_cast<char>(style.get_type()));
    for (int i = 0; i < style.m_gradients.size(); i++) {
        const gradient_record& r = style.m_gradients[i];
        key.append({static_cast<char>(r.m_ratio), static_cast<char>(r.m_color.r), static_cast<char>(r.m_color.g),
                    static_cast<char>(r.m_color.b), static_cast<char>(r.m_color.a)});
    }
    return key;
}

void gradient_bitmaps::sweep() {
    for (auto it = m_watched.begin(); it != m_watched.end();) {
        it = it->second.get_ptr() ? std::next(it) : m_watched.erase(it);
    }
    // Sweeping again only once the cache has doubled keeps the cost per lookup constant.
    m_sweep_at = std::max<size_t>(64, 2 * m_watched.size());
}

smart_ptr<bitmap_info> gradient_bitmaps::get(const fill_style& style, bool* made) {
    *made = false;
    render_handler* handler = get_render_handler();
    if (handler == nullptr) {
        return nullptr;
    }
    if (handler != m_handler || get_render_handler_generation() != m_generation) {
        m_watched.clear();
        m_handler = handler;
        m_generation = get_render_handler_generation();
    }
    weak_ptr<bitmap_info>& watched = m_watched[key_of(style)];
    if (bitmap_info* alive = watched.get_ptr()) {
        return alive;
    }
    smart_ptr<bitmap_info> bitmap = style.create_gradient_bitmap();
    watched = bitmap;
    m_made++;
    *made = true;
    if (m_watched.size() >= m_sweep_at) {
        sweep();
    }
    return bitmap;
}

}  // namespace swfplayer
