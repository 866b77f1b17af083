#pragma once

#include "swfplayer/base/smart_ptr.h"
#include "swfplayer/main/render/render_handler.h"

#include <string>
#include <unordered_map>

namespace swfplayer {

class fill_style;

// The gradient bitmaps of the installed render handler that some fill still holds, found by the
// gradient they show: fills that show the same gradient share one bitmap, and one texture,
// whatever shape, instance or movie they belong to. A bitmap lives as long as the fills that
// hold it; the cache only watches it. It forgets everything when another handler is installed or
// a handler is destroyed. The player runs on one thread; so does the cache.
class gradient_bitmaps {
public:
    // The one cache of the process.
    static gradient_bitmaps& instance();

    // The bitmap of the style's gradient (linear or radial, with at least one record) from the
    // installed handler, made when no fill holds one (*made tells); null without a handler.
    smart_ptr<bitmap_info> get(const fill_style& style, bool* made);

    // Gradients watched, and bitmaps made so far.
    size_t size() const { return m_watched.size(); }
    int made() const { return m_made; }

private:
    static std::string key_of(const fill_style& style);
    // Drops the entries whose bitmaps have died.
    void sweep();

    render_handler* m_handler = nullptr;
    int m_generation = 0;
    std::unordered_map<std::string, weak_ptr<bitmap_info>> m_watched;
    size_t m_sweep_at = 64;  // the size at which dead entries are swept next
    int m_made = 0;
};

}  // namespace swfplayer
