#include "swfplayer/main/text/csm_text_settings.h"

#include "swfplayer/base/log.h"
#include "swfplayer/main/common/stream.h"
#include "swfplayer/main/common/swf_tag.h"

#include <cassert>

namespace swfplayer {

void csm_text_settings::read(stream* in, [[maybe_unused]] int tag_type) {
    assert(tag_type == tag_csm_text_settings);
    m_use_flashtype = in->read_uint(2) != 0;
    m_grid_fit = static_cast<int>(in->read_uint(3));
    in->read_uint(3);
    m_thickness = in->read_float();
    m_sharpness = in->read_float();
    in->read_u8();
    if (get_verbose_parse()) {
        log_msg("reading CSMTextSetting tag\n");
        log_msg("\tm_use_flashtype = %s\n", m_use_flashtype ? "true" : "false");
        log_msg("\tm_grid_fit = %d\n", m_grid_fit);
        log_msg("\tm_thickness = %f\n", m_thickness);
        log_msg("\tm_sharpness = %f\n", m_sharpness);
    }
}

}  // namespace swfplayer
