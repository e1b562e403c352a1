#pragma once
// The layout of a sample buffer: 4096 signed 16-bit two's-complement samples,
// little-endian, in 8192 bytes. The length is fixed throughout the program and
// never stored with a buffer.

constexpr int kSampleBytes = 8192;
constexpr int kSampleCount = kSampleBytes / 2;

// Sample `index` of `buffer` as a signed value.
inline int ReadSample(const unsigned char* buffer, int index) {
    const unsigned char* sample = buffer + 2 * index;
    const int bits = sample[0] | sample[1] << 8;
    return bits < 0x8000 ? bits : bits - 0x10000;
}

// Stores the low 16 bits of `value` as sample `index` of `buffer`; a value
// outside the 16-bit range wraps modulo 65536.
inline void WriteSample(unsigned char* buffer, int index, int value) {
    const unsigned int bits = static_cast<unsigned int>(value);
    unsigned char* sample = buffer + 2 * index;
    sample[0] = static_cast<unsigned char>(bits & 0xFF);
    sample[1] = static_cast<unsigned char>((bits >> 8) & 0xFF);
}
