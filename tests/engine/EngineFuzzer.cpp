// libFuzzer entry: every input, read as a sample file would be (a short one
// padded with 0xFF), goes through the three effects, and its first bytes also
// choose a line to draw. The sanitizers report any access outside the
// buffers; the checks below trap on a broken invariant.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "Effects.h"
#include "LineByTheRules.h"
#include "Samples.h"

namespace {

constexpr unsigned int kUntouchedColour = 0x00FF0000;

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

void CheckEffects(const unsigned char* DINP) {
    std::unique_ptr<unsigned char[]> DOUT(new unsigned char[kSampleBytes]);
    std::unique_ptr<unsigned char[]> CONV(new unsigned char[kSampleBytes]);
    std::unique_ptr<unsigned char[]> ZERO(new unsigned char[kSampleCount]);
    std::unique_ptr<unsigned int[]> CINP(new unsigned int[kSampleCount]);
    std::memcpy(DOUT.get(), DINP, kSampleBytes);
    // Leftovers in CONV reach the tail of DOUT, so its last sample is only
    // known to be cleared on purpose when CONV is not silent.
    std::memset(CONV.get(), 0xC3, kSampleBytes);
    std::memset(ZERO.get(), 0xEE, kSampleCount);
    std::fill_n(CINP.get(), kSampleCount, kUntouchedColour);

    Effects::DigitalSignProc(DINP, DOUT.get(), CONV.get(), ZERO.get(), CINP.get());
    Require(ReadSample(DOUT.get(), kSampleCount - 1) == 0);
    Require(CINP[0] == kUntouchedColour);

    std::memset(CONV.get(), 0, kSampleBytes);
    Effects::DigitalSignProc2(DINP, DOUT.get(), CONV.get(), CINP.get());
    Require(CINP[0] == kUntouchedColour);

    Effects::DigitalSignProc3(DINP, DOUT.get());
    Require(ReadSample(DOUT.get(), 0) == 0);
    Require(ReadSample(DOUT.get(), kSampleCount - 1) == 0);
}

// A line between two positions of the buffer draws what the step rules
// draw, writes exactly the positions from one to the other and ends at its
// end point.
void CheckLine(const std::uint8_t* data) {
    auto word = [&](int i) { return data[2 * i] | (data[2 * i + 1] << 8); };
    const int x1 = word(0) % kSampleCount;
    const int x2 = word(1) % kSampleCount;
    const int y1 = word(2) - 32768;
    const int y2 = word(3) - 32768;
    constexpr int kMarker = 0x3C3C;

    std::unique_ptr<unsigned char[]> DAT(new unsigned char[kSampleBytes]);
    std::unique_ptr<unsigned char[]> stepByStep(new unsigned char[kSampleBytes]);
    std::memset(DAT.get(), 0x3C, kSampleBytes);
    std::memset(stepByStep.get(), 0x3C, kSampleBytes);
    Effects::Line(x1, y1, x2, y2, DAT.get());
    LineByTheRules(x1, y1, x2, y2, stepByStep.get());
    Require(std::memcmp(DAT.get(), stepByStep.get(), kSampleBytes) == 0);
    Require(ReadSample(DAT.get(), x2) == y2);
    const int low = x1 < x2 ? x1 : x2;
    const int high = x1 < x2 ? x2 : x1;
    for (int i = 0; i < kSampleCount; ++i) {
        if (i < low || i > high) {
            Require(ReadSample(DAT.get(), i) == kMarker);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::unique_ptr<unsigned char[]> DINP(new unsigned char[kSampleBytes]);
    const std::size_t used = size < kSampleBytes ? size : kSampleBytes;
    std::memcpy(DINP.get(), data, used);
    std::memset(DINP.get() + used, 0xFF, kSampleBytes - used);
    CheckEffects(DINP.get());
    if (size >= 8) {
        CheckLine(data);
    }
    return 0;
}
