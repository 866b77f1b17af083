#pragma once

#include "tools/swfkit/BitWriter.h"
#include "tools/swfkit/Records.h"
#include "tools/swfkit/TagList.h"

#include <cstdint>
#include <optional>

namespace swfkit {

// A whole movie: the header values and the main timeline's tags. Write gives the file's bytes,
// plain ("FWS") or with everything after the 8-byte header zlib-compressed ("CWS").
class Movie {
public:
    // frameSize in twips; frameRate in frames per second (written as 8.8 fixed point).
    Movie(int version, const Rect& frameSize, double frameRate);

    TagList& Tags() { return m_Tags; }
    const TagList& Tags() const { return m_Tags; }
    int GetVersion() const { return m_Tags.GetVersion(); }

    // The header's frame count; by default the number of ShowFrame tags written.
    void SetFrameCount(uint16_t count) { m_FrameCount = count; }
    // The header's file length; by default the real uncompressed length.
    void SetDeclaredLength(uint32_t length) { m_DeclaredLength = length; }

    // The file. An End tag is appended when the tags do not already end with one.
    Bytes Write(bool compressed) const;

private:
    Rect m_FrameSize;
    double m_FrameRate;
    TagList m_Tags;
    std::optional<uint16_t> m_FrameCount;
    std::optional<uint32_t> m_DeclaredLength;
};

}  // namespace swfkit
