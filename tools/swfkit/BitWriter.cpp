#include "tools/swfkit/BitWriter.h"

#include <cmath>
#include <cstring>

namespace swfkit {

void BitWriter::WriteBits(uint32_t value, int bits) {
    for (int i = bits - 1; i >= 0; i--) {
        m_BitByte = static_cast<uint8_t>(m_BitByte | (((value >> i) & 1u) << (7 - m_BitsUsed)));
        if (++m_BitsUsed == 8) {
            m_Bytes.push_back(m_BitByte);
            m_BitByte = 0;
            m_BitsUsed = 0;
        }
    }
}

void BitWriter::WriteSignedBits(int32_t value, int bits) {
    WriteBits(static_cast<uint32_t>(value), bits);
}

void BitWriter::Align() {
    if (m_BitsUsed > 0) {
        m_Bytes.push_back(m_BitByte);
        m_BitByte = 0;
        m_BitsUsed = 0;
    }
}

void BitWriter::WriteU8(uint8_t value) {
    Align();
    m_Bytes.push_back(value);
}

void BitWriter::WriteU16(uint16_t value) {
    WriteU8(static_cast<uint8_t>(value));
    WriteU8(static_cast<uint8_t>(value >> 8));
}

void BitWriter::WriteU32(uint32_t value) {
    for (int i = 0; i < 4; i++) {
        WriteU8(static_cast<uint8_t>(value >> (8 * i)));
    }
}

void BitWriter::WriteFixed(double value) {
    WriteU32(static_cast<uint32_t>(static_cast<int32_t>(std::lround(value * 65536.0))));
}

void BitWriter::WriteFixed8(double value) {
    WriteU16(static_cast<uint16_t>(static_cast<int16_t>(std::lround(value * 256.0))));
}

void BitWriter::WriteFloat(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    WriteU32(bits);
}

void BitWriter::WriteDouble(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    WriteU32(static_cast<uint32_t>(bits));
    WriteU32(static_cast<uint32_t>(bits >> 32));
}

void BitWriter::WriteVu32(uint32_t value) {
    do {
        uint8_t group = value & 0x7F;
        value >>= 7;
        WriteU8(value != 0 ? static_cast<uint8_t>(group | 0x80) : group);
    } while (value != 0);
}

void BitWriter::WriteString(const std::string& text) {
    Align();
    m_Bytes.insert(m_Bytes.end(), text.begin(), text.end());
    m_Bytes.push_back(0);
}

void BitWriter::WriteBytes(const Bytes& bytes) {
    Align();
    m_Bytes.insert(m_Bytes.end(), bytes.begin(), bytes.end());
}

const Bytes& BitWriter::GetBytes() {
    Align();
    return m_Bytes;
}

int BitWriter::UnsignedBitsNeeded(uint32_t value) {
    int bits = 0;
    while (value != 0) {
        bits++;
        value >>= 1;
    }
    return bits;
}

int BitWriter::SignedBitsNeeded(int32_t value) {
    if (value == 0) {
        return 0;
    }
    // Magnitude bits plus the sign bit; -2^(n-1) fits in n bits.
    uint32_t magnitude = value < 0 ? ~static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
    return UnsignedBitsNeeded(magnitude) + 1;
}

}  // namespace swfkit
