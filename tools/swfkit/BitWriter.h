#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace swfkit {

using Bytes = std::vector<uint8_t>;

// Writes the movie format's primitives: bit fields most significant bit first, and byte-aligned
// little-endian numbers, fixed-point values and strings. Every byte-aligned write first pads the
// current bit byte with zeros.
class BitWriter {
public:
    // Unsigned field of bits bits (0..32); higher bits of value are dropped.
    void WriteBits(uint32_t value, int bits);
    // Signed field of bits bits (two's complement).
    void WriteSignedBits(int32_t value, int bits);
    // Pads the current bit byte with zeros.
    void Align();

    void WriteU8(uint8_t value);
    void WriteU16(uint16_t value);
    void WriteU32(uint32_t value);
    // Signed 16.16 fixed point, rounded to the nearest step.
    void WriteFixed(double value);
    // Signed 8.8 fixed point, rounded to the nearest step.
    void WriteFixed8(double value);
    void WriteFloat(float value);
    void WriteDouble(double value);
    // Variable-length unsigned number, seven bits a byte.
    void WriteVu32(uint32_t value);
    // The text's bytes and a terminating 0.
    void WriteString(const std::string& text);
    void WriteBytes(const Bytes& bytes);

    // The bytes written so far, the bit byte padded.
    const Bytes& GetBytes();

    // Bits a field needs to hold value: unsigned, and signed (with the sign bit; 0 needs 0).
    static int UnsignedBitsNeeded(uint32_t value);
    static int SignedBitsNeeded(int32_t value);

private:
    Bytes m_Bytes;
    uint8_t m_BitByte = 0;
    int m_BitsUsed = 0;  // bits of m_BitByte already written, 0..7
};

}  // namespace swfkit
