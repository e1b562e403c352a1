// The octave-up pitch shifter.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "Effects.h"
#include "EngineBuffers.h"

namespace {

void ShiftUp(EngineBuffers& b) {
    Effects::DigitalSignProc(b.DINP.get(), b.DOUT.get(), b.CONV.get(), b.ZERO.get(), b.CINP.get());
}

// With space 1 the stretch writes every odd CONV sample twice: W0 W1 W1 W2 W3 W3 ...
int StretchedBySpaceOne(const EngineBuffers& b, int d) {
    const int group = d / 3;
    return b.Conv(2 * group + (d % 3 == 0 ? 0 : 1));
}

TEST(DigitalSignProc, DoublesEachStretchUpToACrossing) {
    // Lead-in ends at the crossing at 9; further crossings at 13 and 20, the
    // last out of the most negative sample (bytes 00 80).
    std::vector<int> x(kSampleCount);
    for (int n = 0; n < kSampleCount; ++n) {
        x[n] = 1000 + n;
    }
    x[8] = -8;
    x[12] = -12;
    x[19] = -32768;
    EngineBuffers b(x);
    ShiftUp(b);

    // Kept: x[10], x[12], ... as D[0], D[1], ...; D[5] is cleared as the last mark.
    const std::vector<int> conv = {1010, -12, 1014, 1010, -12, 1016, 1018, 0, 1014, 1016, 1018};
    for (int i = 0; i < kSampleCount; ++i) {
        ASSERT_EQ(b.Conv(i), i < 11 ? conv[i] : 0) << "CONV " << i;
    }
    for (int i = 0; i < kSampleCount; ++i) {
        EXPECT_EQ(b.ZERO[i], i == 2 || i == 5 ? 1 : 0) << "ZERO " << i;
    }
    // k = 11 gives space 1; the tail repeats the cleared part of CONV.
    for (int d = 0; d < kSampleCount - 1; ++d) {
        ASSERT_EQ(b.Out(d), StretchedBySpaceOne(b, d)) << "DOUT " << d;
    }
    EXPECT_EQ(b.Out(15), 1018);
    EXPECT_EQ(b.Out(4095), 0);

    b.ExpectMarks(9, {13, 20});
}

TEST(DigitalSignProc, CrossingOnTheDroppedLastSampleMarksBeyondTheKeptOnes) {
    // A crossing between samples 0 and 1 ends the lead-in at once; the only
    // other crossing is on the last sample, which the scan drops.
    std::vector<int> x(kSampleCount);
    for (int n = 1; n < kSampleCount; ++n) {
        x[n] = n % 1000 + 1;
    }
    x[0] = -5;
    x[4094] = -7;
    x[4095] = 7;
    EngineBuffers b(x);
    ShiftUp(b);

    // Kept: x[2], x[4], ..., x[4094] as D[0..2046]; the mark at 2047 is cleared.
    // CONV = D[0..2047] D[0..2046] is 4095 samples long, so nothing is repeated.
    for (int j = 0; j < 2047; ++j) {
        ASSERT_EQ(b.Out(j), x[2 + 2 * j]) << j;
        ASSERT_EQ(b.Out(2048 + j), x[2 + 2 * j]) << 2048 + j;
    }
    EXPECT_EQ(b.Out(2047), 0);
    EXPECT_EQ(b.Out(4094), -7);
    EXPECT_EQ(b.Out(4095), 0);
    for (int i = 0; i < kSampleCount; ++i) {
        ASSERT_EQ(b.ZERO[i], i == 2047 ? 1 : 0) << i;
    }
    b.ExpectMarks(1, {4095});
}

TEST(DigitalSignProc, LeadInWithoutCrossingEndsAtSample101) {
    std::vector<int> x(kSampleCount, 500);
    x[104] = -104;  // crossing at 105, a dropped sample: marks the next kept one
    EngineBuffers b(x);
    ShiftUp(b);

    // Kept from 102 on: D = 500, -104, 500 (cleared as the mark), ...
    EXPECT_EQ(b.Conv(0, 6), (std::vector<int>{500, -104, 0, 500, -104, 0}));
    b.ExpectMarks(101, {105});
}

TEST(DigitalSignProc, WithoutCrossingsTheStretchReadsFarIntoConv) {
    // Nothing is marked, so CONV gets only the cleared D[0] (k = 1) and the
    // stretch reads W[0..2730]. Work data left in CONV shows in the result,
    // which is why the form keeps CONV cleared.
    EngineBuffers b(std::vector<int>(kSampleCount, 500));
    for (int i = 0; i < kSampleCount; ++i) {
        WriteSample(b.CONV.get(), i, i);
    }
    ShiftUp(b);

    EXPECT_EQ(b.Conv(0), 0);
    for (int d = 0; d < kSampleCount - 1; ++d) {
        ASSERT_EQ(b.Out(d), StretchedBySpaceOne(b, d)) << d;
    }
    EXPECT_EQ(b.Out(4094), 2729);
    EXPECT_EQ(b.Out(4095), 0);
    b.ExpectMarks(101, {});
}

TEST(DigitalSignProc, StrictlyAlternatingSignsGiveTheLongestDoubling) {
    std::vector<int> x(kSampleCount);
    for (int n = 0; n < kSampleCount; ++n) {
        x[n] = n % 2 == 0 ? -(1 + n % 300) : n % 300;
    }
    EngineBuffers b(x);
    ShiftUp(b);

    // Kept: the negative samples x[2], x[4], ... as D[0..2046]; every odd
    // sample from 3 on is a crossing, marking D[1..2047]; D[2047] is cleared.
    // CONV = D0, D1 D0, D2 D1, ..., D2047 D2046 fills DOUT without repeats.
    auto D = [&](int i) { return i == 2047 ? 0 : x[2 + 2 * i]; };
    EXPECT_EQ(b.Out(0), D(0));
    for (int i = 1; i <= 2047; ++i) {
        ASSERT_EQ(b.Out(2 * i - 1), D(i)) << i;
        ASSERT_EQ(b.Out(2 * i), D(i - 1)) << i;
    }
    EXPECT_EQ(b.Out(4095), 0);
    EXPECT_EQ(b.ZERO[0], 0);
    for (int i = 1; i < kSampleCount; ++i) {
        ASSERT_EQ(b.ZERO[i], i <= 2047 ? 1 : 0) << i;
    }
    std::set<int> oddFrom3;
    for (int n = 3; n < kSampleCount; n += 2) {
        oddFrom3.insert(n);
    }
    b.ExpectMarks(1, oddFrom3);
}

}  // namespace
