#pragma once

namespace swfplayer {

class stream;

// The anti-aliasing advice of a CSMTextSettings tag for one text definition. It is kept for the
// log only: nothing draws differently because of it.
struct csm_text_settings {
    bool m_use_flashtype = false;
    int m_grid_fit = 0;
    float m_thickness = 0.0f;
    float m_sharpness = 0.0f;

    // The CSMTextSettings (74) body after the character id.
    void read(stream* in, int tag_type);
};

}  // namespace swfplayer
