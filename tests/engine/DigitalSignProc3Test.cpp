// The peak-envelope resynthesis and its line drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "Effects.h"
#include "EngineBuffers.h"
#include "LineByTheRules.h"

namespace {

constexpr int kUntouched = 0x7777;

// Runs the resynthesis on an input that is 0 except at the given
// (position, value) pairs, with DOUT full of other data beforehand.
EngineBuffers RunWithSamples(const std::vector<std::pair<int, int>>& samples) {
    std::vector<int> x(kSampleCount, 0);
    for (const auto& [position, value] : samples) {
        x[position] = value;
    }
    EngineBuffers b(x);
    EngineBuffers::Fill(b.DOUT.get(), kUntouched);
    Effects::DigitalSignProc3(b.DINP.get(), b.DOUT.get());
    return b;
}

TEST(DigitalSignProc3, InputsWithoutAStrictPositivePeakGiveSilence) {
    std::vector<std::vector<int>> inputs;
    inputs.emplace_back(kSampleCount, 0);
    inputs.emplace_back(kSampleCount, 1000);
    std::vector<int> ramp(kSampleCount), negative(kSampleCount), plateau(kSampleCount, 0),
        zeroSummit(kSampleCount, -5);
    for (int n = 0; n < kSampleCount; ++n) {
        ramp[n] = n * 8 - 16384;
        negative[n] = -1000 - (n > 2000 ? n - 2000 : 2000 - n);  // summit -1000 at 2000
    }
    plateau[100] = plateau[101] = 500;
    negative[3000] = -32768;  // the most negative sample is a trough, not a peak
    zeroSummit[300] = 0;
    inputs.insert(inputs.end(), {ramp, negative, plateau, zeroSummit});

    for (size_t i = 0; i < inputs.size(); ++i) {
        EngineBuffers b(inputs[i]);
        EngineBuffers::Fill(b.DOUT.get(), kUntouched);
        Effects::DigitalSignProc3(b.DINP.get(), b.DOUT.get());
        for (int n = 0; n < kSampleCount; ++n) {
            ASSERT_EQ(b.Out(n), 0) << "input " << i << ", sample " << n;
        }
    }
}

TEST(DigitalSignProc3, PeaksRampUpFromTheStartAndLeaveSilenceAfter) {
    // Envelope 32 at 309, where wave1 is -4375: the float scale is just below
    // 0.0016, so the double product -6.99... truncates to -6.
    const EngineBuffers b = RunWithSamples({{309, 32}});
    EXPECT_EQ(b.Out(309), -6);
    EXPECT_EQ(b.Out(0), 0);
    for (int n = 310; n < kSampleCount; ++n) {
        ASSERT_EQ(b.Out(n), 0) << n;
    }

    // Two close peaks: the second line runs back to 951, the value the steep
    // first line left at position 10, not to that peak's own 1000.
    const EngineBuffers close = RunWithSamples({{10, 1000}, {12, 5000}});
    EXPECT_EQ(close.Out(0, 13),
              (std::vector<int>{0, 5, 23, 56, 106, 173, 262, 370, 498, 644, 805, 1826, 4011}));
}

TEST(DigitalSignProc3, ScalesWave1ByTheEnvelopeAndWrapsWithoutClipping) {
    // A second peak of the same height, far enough from the first that the
    // line between them is flat, has exactly its own value as envelope. The
    // table restarts every 419 samples.
    struct Case {
        int first, second, value, expected;
    };
    const Case cases[] = {
        {400, 838, 10000, 498},    // 997 * 0.5 = 498.5
        {500, 855, 20000, 24101},  // 24101 * 1
        {400, 716, 30000, 27640},  // -25264 * 1.5 = -37896, wrapped
    };
    for (const Case& c : cases) {
        const EngineBuffers b = RunWithSamples({{c.first, c.value}, {c.second, c.value}});
        EXPECT_EQ(b.Out(c.second), c.expected) << c.second;
    }
}

TEST(DigitalSignProc3, TruncatesTowardZero) {
    // A peak of 1 at 297 gives an envelope of 1 from 149 up to it.
    const EngineBuffers b = RunWithSamples({{297, 1}});
    EXPECT_EQ(b.Out(297), -1);  // -25264 / 20000
    EXPECT_EQ(b.Out(292), 0);   // -18085 / 20000
    EXPECT_EQ(b.Out(274), 0);   // 16909 / 20000
}

class LineTest : public ::testing::Test {
protected:
    // Checks the values from position `from` on and that nothing else changed.
    void ExpectSamples(int from, const std::vector<int>& values) {
        for (int i = 0; i < kSampleCount; ++i) {
            const bool drawn = i >= from && i < from + static_cast<int>(values.size());
            ASSERT_EQ(ReadSample(buffer.get(), i), drawn ? values[i - from] : kUntouched) << i;
        }
    }

    std::unique_ptr<unsigned char[]> buffer{new unsigned char[kSampleBytes]};
};

TEST_F(LineTest, HandWorkedLines) {
    struct Row {
        int x1, y1, x2, y2;
        int from;  // the first position drawn
        std::vector<int> values;
    };
    const Row rows[] = {
        // Steep: a position keeps the last value written there.
        {10, 1000, 0, 0, 0, {0, 51, 151, 251, 351, 451, 551, 651, 751, 851, 951}},
        {0, 0, 3, 9, 0, {1, 4, 7, 9}},
        // Shallow, either way; a half step rounds on in the direction of travel.
        {4, 3, 0, 0, 0, {0, 1, 1, 2, 3}},
        {100, 0, 104, 2, 100, {0, 1, 1, 2, 2}},
        {0, 0, 2, 1, 0, {0, 1, 1}},
        {2, 1, 0, 0, 0, {0, 0, 1}},
        {0, -3, 6, 0, 0, {-3, -2, -2, -1, -1, 0, 0}},
        // Within one position.
        {4095, -1, 4095, -1, 4095, {-1}},
        {5, 0, 5, 10, 5, {10}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message()
                     << "Line(" << r.x1 << ", " << r.y1 << ", " << r.x2 << ", " << r.y2 << ")");
        EngineBuffers::Fill(buffer.get(), kUntouched);
        Effects::Line(r.x1, r.y1, r.x2, r.y2, buffer.get());
        ExpectSamples(r.from, r.values);
    }
}

TEST_F(LineTest, AgreesWithTheStepRulesForLinesOfEveryShape) {
    // Every direction and slope, steep ones above all, near the buffer's ends
    // and across its whole length, against the lines stated as geometry.
    std::unique_ptr<unsigned char[]> expected(new unsigned char[kSampleBytes]);
    unsigned int seed = 12345;
    auto next = [&](int limit) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<int>((seed >> 8) % static_cast<unsigned int>(limit));
    };
    for (int i = 0; i < 20000; ++i) {
        const int span = i % 3 == 0 ? 8 : i % 3 == 1 ? 300 : kSampleCount;
        const int x1 = next(kSampleCount);
        const int x2 = std::clamp(x1 + next(2 * span + 1) - span, 0, kSampleCount - 1);
        const int y1 = next(65536) - 32768;
        const int y2 = i % 2 == 0 ? next(65536) - 32768 : y1 + next(201) - 100;
        EngineBuffers::Fill(buffer.get(), kUntouched);
        EngineBuffers::Fill(expected.get(), kUntouched);
        Effects::Line(x1, y1, x2, std::clamp(y2, -32768, 32767), buffer.get());
        LineByTheRules(x1, y1, x2, std::clamp(y2, -32768, 32767), expected.get());
        ASSERT_EQ(std::memcmp(buffer.get(), expected.get(), kSampleBytes), 0)
            << "Line(" << x1 << ", " << y1 << ", " << x2 << ", " << y2 << ")";
    }
}

}  // namespace
