#include "tools/swfkit/Movie.h"

#include "tools/swfkit/Bitmaps.h"

#include <cmath>

namespace swfkit {

Movie::Movie(int version, const Rect& frameSize, double frameRate)
    : m_FrameSize(frameSize), m_FrameRate(frameRate), m_Tags(version) {}

Bytes Movie::Write(bool compressed) const {
    BitWriter body;
    WriteRect(body, m_FrameSize);
    body.WriteU16(static_cast<uint16_t>(std::lround(m_FrameRate * 256.0)));
    body.WriteU16(m_FrameCount ? *m_FrameCount : static_cast<uint16_t>(m_Tags.GetShowFrameCount()));
    body.WriteBytes(m_Tags.GetBytes());
    if (!m_Tags.EndsWithEnd()) {
        body.WriteU16(0);
    }
    const Bytes& content = body.GetBytes();

    BitWriter file;
    file.WriteU8(compressed ? 'C' : 'F');
    file.WriteU8('W');
    file.WriteU8('S');
    file.WriteU8(static_cast<uint8_t>(GetVersion()));
    file.WriteU32(m_DeclaredLength ? *m_DeclaredLength : static_cast<uint32_t>(content.size() + 8));
    Bytes result = file.GetBytes();
    if (!compressed) {
        result.insert(result.end(), content.begin(), content.end());
        return result;
    }
    const Bytes packed = Deflated(content);
    if (packed.empty()) {
        return {};
    }
    result.insert(result.end(), packed.begin(), packed.end());
    return result;
}

}  // namespace swfkit
