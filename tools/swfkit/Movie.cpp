#include "tools/swfkit/Movie.h"

#include <zlib.h>

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
    uLongf packedSize = compressBound(static_cast<uLong>(content.size()));
    Bytes packed(packedSize);
    if (compress2(packed.data(), &packedSize, content.data(), static_cast<uLong>(content.size()), Z_BEST_COMPRESSION) !=
        Z_OK) {
        return {};
    }
    result.insert(result.end(), packed.begin(), packed.begin() + static_cast<long>(packedSize));
    return result;
}

}  // namespace swfkit
