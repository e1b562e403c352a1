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

// The lead-in of the pitch processors ends at the first upward crossing among
// samples 1..100, or at 101; the octave-down one cuts a segment after 441.
constexpr int kLastLeadInSample = 100;
constexpr int kLongestSegment = 441;

// Whether the first `count` entries agree, naming the first that does not.
// A plain memcmp first: the checks run a million times.
template <typename T>
testing::AssertionResult Same(const T* found, const T* wanted, int count) {
    if (std::memcmp(found, wanted, count * sizeof(T)) == 0) {
        return testing::AssertionSuccess();
    }
    const auto i = std::mismatch(found, found + count, wanted).first - found;
    return testing::AssertionFailure()
           << "entry " << i << " is " << +found[i] << ", not " << +wanted[i];
}

class EngineProperties : public ::testing::Test {
protected:
    EngineProperties() {
        // Colours that the effects must not touch, different at every entry.
        for (int i = 0; i < kSampleCount; ++i) {
            untouched[i] = 0x00FF0000u ^ static_cast<unsigned int>(i);
        }
    }

    // Makes input `index`, with leftovers in the buffers the effects write.
    // The form keeps CONV cleared, but other data there shows in the result,
    // which makes a missed final clearing of DOUT visible.
    void MakeInput(int index) {
        maker.Make(index, random, b.DINP.get());
        std::memcpy(b.CINP.get(), untouched.data(), kSampleCount * sizeof(unsigned int));
        convLeftover = random.Below(256);
        std::memset(b.CONV.get(), convLeftover, kSampleBytes);
        std::memset(b.DOUT.get(), random.Below(256), kSampleBytes);
    }

    // Notes where the lead-in of the pitch processors ends and the upward
    // crossings after it, and starts the expected colours with the lead-in.
    void FindCrossings() {
        expected = untouched;
        crossings.clear();
        leadInEnd = 0;
        int previous = ReadSample(b.DINP.get(), 0);
        for (int n = 1; n < kSampleCount; ++n) {
            const int current = ReadSample(b.DINP.get(), n);
            const bool crossing = previous < 0 && current >= 0;
            previous = current;
            if (leadInEnd == 0) {
                expected[n] = kLeadIn;
                if (crossing || n > kLastLeadInSample) {
                    leadInEnd = n;
                }
            } else if (crossing) {
                crossings.push_back(n);
            }
        }
    }

    bool IsPeak(int n) const {
        const int x = ReadSample(b.DINP.get(), n);
        return x > 0 && x > ReadSample(b.DINP.get(), n - 1) && x > ReadSample(b.DINP.get(), n + 1);
    }

    Random random{20120704};
    InputMaker maker;
    EngineBuffers b;
    std::vector<unsigned int> untouched = std::vector<unsigned int>(kSampleCount);
    std::vector<unsigned int> expected;
    std::vector<int> crossings;
    int leadInEnd = 0;
    int convLeftover = 0;
    std::vector<unsigned char> first = std::vector<unsigned char>(kSampleBytes);
};

TEST_F(EngineProperties, PitchShifterUp) {
    std::vector<unsigned char> flags(kSampleCount);
    for (int index = 0; index < kInputsPerEffect; ++index) {
        MakeInput(index);
        FindCrossings();
        std::memset(b.ZERO.get(), random.Below(256), kSampleCount);
        Effects::DigitalSignProc(b.DINP.get(), b.DOUT.get(), b.CONV.get(), b.ZERO.get(),
                                 b.CINP.get());
        SCOPED_TRACE(testing::Message() << "input " << index);

        ASSERT_EQ(b.Out(kSampleCount - 1), 0);
        // Only the lead-in and the crossings are marked; each crossing also
        // flags the output position of the next kept sample, and only flags
        // are left in ZERO.
        std::fill(flags.begin(), flags.end(), 0);
        for (int n : crossings) {
            expected[n] = kMarked;
            flags[(n - leadInEnd) / 2] = 1;
        }
        ASSERT_TRUE(Same(b.CINP.get(), expected.data(), kSampleCount));
        ASSERT_TRUE(Same(b.ZERO.get(), flags.data(), kSampleCount));

        // Whatever DOUT and ZERO held before does not change the result.
        if (index % kRepeatEvery == 0) {
            std::memcpy(first.data(), b.DOUT.get(), kSampleBytes);
            std::memset(b.CONV.get(), convLeftover, kSampleBytes);
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
        FindCrossings();
        Effects::DigitalSignProc2(b.DINP.get(), b.DOUT.get(), b.CONV.get(), b.CINP.get());
        SCOPED_TRACE(testing::Message() << "input " << index);

        // Lead-in, then boundaries: every crossing, and a cut wherever a
        // segment reaches 441 samples without one.
        int lastBoundary = leadInEnd;
        auto mark = [&](int n) {
            expected[n] = kMarked;
            lastBoundary = n;
        };
        for (int n : crossings) {
            while (n - lastBoundary > kLongestSegment) {
                mark(lastBoundary + kLongestSegment);
            }
            mark(n);
        }
        while (lastBoundary + kLongestSegment < kSampleCount) {
            mark(lastBoundary + kLongestSegment);
        }
        ASSERT_TRUE(Same(b.CINP.get(), expected.data(), kSampleCount));
    }
}

TEST_F(EngineProperties, PeakEnvelopeResynthesis) {
    const std::vector<unsigned char> silence(kSampleBytes, 0);
    for (int index = 0; index < kInputsPerEffect; ++index) {
        MakeInput(index);
        Effects::DigitalSignProc3(b.DINP.get(), b.DOUT.get());
        SCOPED_TRACE(testing::Message() << "input " << index);

        // Silence at the start and after the last peak.
        int lastPeak = kSampleCount - 2;
        while (lastPeak > 0 && !IsPeak(lastPeak)) {
            --lastPeak;
        }
        ASSERT_EQ(b.Out(0), 0);
        const int tail = 2 * (lastPeak + 1);
        ASSERT_TRUE(Same(b.DOUT.get() + tail, silence.data(), kSampleBytes - tail));

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
