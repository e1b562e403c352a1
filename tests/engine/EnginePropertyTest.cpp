// Randomized inputs through the three effects. The sanitizers of the native
// build watch every access (each buffer is a heap block of exactly its size);
// the checks here are the invariants that hold for every input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "Effects.h"
#include "EngineBuffers.h"

namespace {

#ifdef _WIN32
constexpr int kInputsPerEffect = 20000;  // Wine runs the same checks, fewer times
#else
constexpr int kInputsPerEffect = 100000;
#endif
// How often a run is repeated over different leftovers in the buffers.
constexpr int kRepeatEvery = 8;

constexpr unsigned int kLeadIn = Effects::kLeadInColour;
constexpr unsigned int kMarked = Effects::kCrossingColour;

// splitmix64: small, fast and the same everywhere, so failures reproduce.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 <= result < limit, by scaling rather than division (it runs per sample).
    int Below(int limit) {
        return static_cast<int>(((Next() >> 32) * static_cast<std::uint64_t>(limit)) >> 32);
    }
    int Sample() { return Below(65536) - 32768; }

private:
    std::uint64_t state_;
};

// The kinds of sample the effects meet: noise, silence, constants, signs
// that alternate on every sample, sines of many periods, files shorter than
// the sample (0xFF past the end) and random walks (many small peaks).
class InputMaker {
public:
    enum Kind { kUniform, kSilence, kConstant, kAlternating, kSine, kShortFile, kWalk, kKinds };

    InputMaker() : sine_(kTable) {
        const double pi = std::acos(-1.0);
        for (int i = 0; i < kTable; ++i) {
            sine_[i] = std::sin(2 * pi * i / kTable);
        }
    }

    void Make(int index, Random& random, unsigned char* DINP) {
        switch (index % kKinds) {
            case kUniform:
                Uniform(random, DINP, kSampleBytes);
                break;
            case kSilence:
                std::memset(DINP, 0, kSampleBytes);
                break;
            case kConstant:
                EngineBuffers::Fill(DINP, random.Sample());
                break;
            case kAlternating: {
                const int negativeParity = random.Below(2);
                for (int n = 0; n < kSampleCount; ++n) {
                    const int magnitude = random.Below(32768);
                    WriteSample(DINP, n, n % 2 == negativeParity ? -1 - magnitude : magnitude);
                }
                break;
            }
            case kSine:
                Sine(random, DINP);
                break;
            case kShortFile: {
                const int length = random.Below(kSampleBytes);
                if (random.Below(2) == 0) {
                    Uniform(random, DINP, length);
                } else {
                    Sine(random, DINP);
                }
                std::memset(DINP + length, 0xFF, kSampleBytes - length);
                break;
            }
            case kWalk: {
                int value = random.Sample() / 4;
                const int stride = 1 + random.Below(4000);
                for (int n = 0; n < kSampleCount; ++n) {
                    value =
                        std::clamp(value + random.Below(2 * stride + 1) - stride, -32768, 32767);
                    WriteSample(DINP, n, value);
                }
                break;
            }
        }
    }

private:
    static constexpr int kTable = 4096;

    static void Uniform(Random& random, unsigned char* bytes, int count) {
        for (int k = 0; k < count; k += 8) {
            const std::uint64_t word = random.Next();
            std::memcpy(bytes + k, &word, std::min(8, count - k));
        }
    }

    // Periods from two samples to far beyond the sample, at any amplitude and
    // offset (clipped to 16 bits).
    void Sine(Random& random, unsigned char* DINP) {
        const std::uint32_t step = static_cast<std::uint32_t>(random.Next()) >> random.Below(20);
        std::uint32_t phase = static_cast<std::uint32_t>(random.Next());
        const double amplitude = random.Below(40000);
        const double offset = random.Sample() / 8;
        for (int n = 0; n < kSampleCount; ++n, phase += step) {
            const double value = offset + amplitude * sine_[phase >> 20];
            WriteSample(DINP, n, static_cast<int>(std::clamp(value, -32768.0, 32767.0)));
        }
    }

    std::vector<double> sine_;
};

// Colours that the effects must not touch, different at every entry.
void FillColours(unsigned int* CINP) {
    for (int i = 0; i < kSampleCount; ++i) {
        CINP[i] = 0x00FF0000u ^ static_cast<unsigned int>(i);
    }
}

bool Untouched(const unsigned int* CINP, int i) {
    return CINP[i] == (0x00FF0000u ^ static_cast<unsigned int>(i));
}

// The first n in [from, to) for which `holds` is false, or -1: the checks
// below run a million times, so they compare plainly and report once.
template <typename Check>
int FirstFailure(int from, int to, Check holds) {
    for (int n = from; n < to; ++n) {
        if (!holds(n)) {
            return n;
        }
    }
    return -1;
}

class EngineProperties : public ::testing::Test {
protected:
    // Makes input `index` and notes where it crosses upward and where the
    // lead-in of the pitch processors ends.
    void MakeInput(int index) {
        maker.Make(index, random, b.DINP.get());
        FillColours(b.CINP.get());
        std::memset(b.CONV.get(), 0, kSampleBytes);
        std::memset(b.DOUT.get(), random.Below(256), kSampleBytes);

        leadInEnd = 0;
        int previous = ReadSample(b.DINP.get(), 0);
        for (int n = 1; n < kSampleCount; ++n) {
            const int current = ReadSample(b.DINP.get(), n);
            crossing[n] = previous < 0 && current >= 0;
            previous = current;
            if (leadInEnd == 0 && (crossing[n] || n > 100)) {
                leadInEnd = n;
            }
        }
    }

    Random random{20120704};
    InputMaker maker;
    EngineBuffers b;
    std::vector<unsigned char> crossing = std::vector<unsigned char>(kSampleCount);
    int leadInEnd = 0;
    std::vector<unsigned char> first = std::vector<unsigned char>(kSampleBytes);
};

TEST_F(EngineProperties, PitchShifterUp) {
    for (int index = 0; index < kInputsPerEffect; ++index) {
        MakeInput(index);
        std::memset(b.ZERO.get(), random.Below(256), kSampleCount);
        Effects::DigitalSignProc(b.DINP.get(), b.DOUT.get(), b.CONV.get(), b.ZERO.get(),
                                 b.CINP.get());
        SCOPED_TRACE(testing::Message() << "input " << index);

        ASSERT_EQ(b.Out(kSampleCount - 1), 0);
        ASSERT_TRUE(Untouched(b.CINP.get(), 0));
        int crossings = 0;
        ASSERT_EQ(FirstFailure(1, kSampleCount,
                               [&](int n) {
                                   if (n <= leadInEnd) {
                                       return b.CINP[n] == kLeadIn;
                                   }
                                   if (crossing[n]) {
                                       ++crossings;
                                       return b.CINP[n] == kMarked;
                                   }
                                   return Untouched(b.CINP.get(), n);
                               }),
                  -1);
        // Every crossing flags its own output position, and only flags are left.
        int flags = 0;
        ASSERT_EQ(FirstFailure(0, kSampleCount,
                               [&](int i) {
                                   flags += b.ZERO[i];
                                   return b.ZERO[i] <= 1;
                               }),
                  -1);
        ASSERT_EQ(flags, crossings);

        // Whatever DOUT and ZERO held before does not change the result.
        if (index % kRepeatEvery == 0) {
            std::memcpy(first.data(), b.DOUT.get(), kSampleBytes);
            std::memset(b.CONV.get(), 0, kSampleBytes);
            std::memset(b.DOUT.get(), 0xA5, kSampleBytes);
            std::memset(b.ZERO.get(), 1, kSampleCount);
            Effects::DigitalSignProc(b.DINP.get(), b.DOUT.get(), b.CONV.get(), b.ZERO.get(),
                                     b.CINP.get());
            ASSERT_EQ(std::memcmp(first.data(), b.DOUT.get(), kSampleBytes), 0);
        }
    }
}

TEST_F(EngineProperties, PitchShifterDown) {
    for (int index = 0; index < kInputsPerEffect; ++index) {
        MakeInput(index);
        Effects::DigitalSignProc2(b.DINP.get(), b.DOUT.get(), b.CONV.get(), b.CINP.get());
        SCOPED_TRACE(testing::Message() << "input " << index);

        // Lead-in, then boundaries: every crossing, and no segment longer
        // than 441 samples.
        ASSERT_TRUE(Untouched(b.CINP.get(), 0));
        int lastBoundary = leadInEnd;
        ASSERT_EQ(FirstFailure(1, kSampleCount,
                               [&](int n) {
                                   if (n <= leadInEnd) {
                                       return b.CINP[n] == kLeadIn;
                                   }
                                   if (b.CINP[n] == kMarked) {
                                       const bool shortEnough = n - lastBoundary <= 441;
                                       lastBoundary = n;
                                       return shortEnough;
                                   }
                                   return !crossing[n] && Untouched(b.CINP.get(), n);
                               }),
                  -1);
        ASSERT_LE(kSampleCount - 1 - lastBoundary, 440);
    }
}

TEST_F(EngineProperties, PeakEnvelopeResynthesis) {
    for (int index = 0; index < kInputsPerEffect; ++index) {
        MakeInput(index);
        Effects::DigitalSignProc3(b.DINP.get(), b.DOUT.get());
        SCOPED_TRACE(testing::Message() << "input " << index);

        int lastPeak = 0;
        for (int n = 1; n < kSampleCount - 1; ++n) {
            const int x = ReadSample(b.DINP.get(), n);
            if (x > 0 && x > ReadSample(b.DINP.get(), n - 1) &&
                x > ReadSample(b.DINP.get(), n + 1)) {
                lastPeak = n;
            }
        }
        ASSERT_EQ(b.Out(0), 0);
        ASSERT_EQ(FirstFailure(lastPeak + 1, kSampleCount, [&](int n) { return b.Out(n) == 0; }),
                  -1);

        // The result depends on DINP alone.
        if (index % kRepeatEvery == 0) {
            std::memcpy(first.data(), b.DOUT.get(), kSampleBytes);
            std::memset(b.DOUT.get(), 0x5A, kSampleBytes);
            Effects::DigitalSignProc3(b.DINP.get(), b.DOUT.get());
            ASSERT_EQ(std::memcmp(first.data(), b.DOUT.get(), kSampleBytes), 0);
        }
    }
}

}  // namespace
