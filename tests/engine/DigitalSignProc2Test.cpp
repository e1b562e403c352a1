// The octave-down pitch processor.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "Effects.h"
#include "EngineBuffers.h"

namespace {

// What DOUT holds before the call where the scan does not write it.
constexpr int kStale = 0x1234;

void ShiftDown(EngineBuffers& b) {
    Effects::DigitalSignProc2(b.DINP.get(), b.DOUT.get(), b.CONV.get(), b.CINP.get());
}

// Lead-in ending at a crossing on sample 1, then segments that each end with
// an upward crossing on their last sample, then a tail without crossings.
std::vector<int> Segments(const std::vector<int>& lengths, int tail) {
    std::vector<int> x = {-1, 1};
    for (int length : lengths) {
        for (int i = 1; i < length; ++i) {
            x.push_back(-(100 + static_cast<int>(x.size()) % 200));
        }
        x.push_back(100 + static_cast<int>(x.size()) % 200);
    }
    x.insert(x.end(), tail, -50);
    EXPECT_EQ(x.size(), static_cast<size_t>(kSampleCount));
    return x;
}

TEST(DigitalSignProc2, WithoutCrossingsCutsEvery441SamplesAndKeepsEveryOtherBlock) {
    std::vector<int> x(kSampleCount);
    for (int n = 0; n < kSampleCount; ++n) {
        x[n] = n;
    }
    EngineBuffers b(x);
    EngineBuffers::Fill(b.DOUT.get(), kStale);
    ShiftDown(b);

    // Lead-in 1..101; blocks 102..542, 984..1424, ... are kept: D[0..2204],
    // E = 2205. That is long enough for CONV to fill up with the straight copy
    // of D[1889..2207], which ends in two samples the scan never wrote.
    b.ExpectMarks(101, {542, 983, 1424, 1865, 2306, 2747, 3188, 3629, 4070});
    EXPECT_EQ(b.Out(0, 3), (std::vector<int>{102, 102, 103}));  // (102 + 103) / 2 between
    // Where blocks join: (542 + 984) / 2.
    EXPECT_EQ(b.Out(880, 3), (std::vector<int>{542, 763, 984}));
    // The straight copy begins at 3777.
    EXPECT_EQ(b.Out(3775, 3), (std::vector<int>{3753, 3754, 3755}));
    // The cleared boundary sample, then two never written: the last is not forced to 0.
    EXPECT_EQ(b.Out(4092, 4), (std::vector<int>{4070, 0, kStale, kStale}));
    for (int i = 0; i < kSampleCount; ++i) {
        ASSERT_EQ(b.Out(i), b.Conv(i)) << i;
    }
}

TEST(DigitalSignProc2, InterpolatesTruncatingTowardZeroAndStretches) {
    std::vector<int> x(kSampleCount, 50);
    x[0] = -1;
    x[1] = 0;  // crossing: the lead-in ends at 1
    x[2] = 100;
    x[3] = 300;
    x[4] = -101;
    x[5] = 0;  // crossing: the first segment is 2..5
    EngineBuffers b(x);
    ShiftDown(b);

    b.ExpectMarks(1, {5, 446, 887, 1328, 1769, 2210, 2651, 3092, 3533, 3974});
    EXPECT_EQ(b.Conv(0, 9), (std::vector<int>{100, 200, 300, 99, -101, -50, 0, 25, 50}));
    // E = 4 + 4 * 441 = 1768: k = 3537 ends in the average with the cleared D[E].
    EXPECT_EQ(b.Conv(3534, 3), (std::vector<int>{50, 25, 0}));
    // needed = 559, space = 7: every 7th CONV sample is written twice.
    for (int d = 0; d < kSampleCount; ++d) {
        ASSERT_EQ(b.Out(d), b.Conv(7 * (d / 8) + std::min(d % 8, 6))) << d;
    }
}

TEST(DigitalSignProc2, OneSampleSegmentsAfterTheLeadInAndAfterACut) {
    std::vector<int> x(kSampleCount, 9);
    for (int n = 0; n <= 100; ++n) {
        x[n] = 5;
    }
    x[101] = -5;
    x[102] = 7;   // crossing at the first running sample
    x[543] = -3;  // the cut sample of the second segment
    x[544] = 3;   // crossing right after the cut
    EngineBuffers b(x);
    ShiftDown(b);

    b.ExpectMarks(101, {102, 543, 544, 985, 1426, 1867, 2308, 2749, 3190, 3631, 4072});
    EXPECT_EQ(b.Conv(0, 5), (std::vector<int>{7, 5, 3, 6, 9}));
}

TEST(DigitalSignProc2, KeptPartOf2046StillFitsInterpolated) {
    const int tail = 284;
    const std::vector<int> x = Segments({410, 441, 409, 441, 409, 441, 409, 441, 409}, tail);
    const int lastKept = x[kSampleCount - 1 - tail];  // D[2045]
    EngineBuffers b(x);
    EngineBuffers::Fill(b.DOUT.get(), kStale);
    ShiftDown(b);

    // k = 4093: CONV ends with the average with the cleared D[2046] and D[2046].
    EXPECT_EQ(b.Conv(4091, 5), (std::vector<int>{lastKept / 2, 0, 0, 0, 0}));
    // needed = 3, space = 1365.
    for (int d = 0; d < kSampleCount; ++d) {
        ASSERT_EQ(b.Out(d), b.Conv(d - (d >= 1365) - (d >= 2731))) << d;
    }
}

TEST(DigitalSignProc2, KeptPartOf2047EndsInAStraightCopy) {
    const int tail = 283;
    const std::vector<int> x = Segments({410, 441, 410, 441, 409, 441, 409, 441, 409}, tail);
    const int lastKept = x[kSampleCount - 1 - tail];        // D[2046]
    const int beforeLastKept = x[kSampleCount - 2 - tail];  // D[2045]
    EngineBuffers b(x);
    EngineBuffers::Fill(b.DOUT.get(), kStale);
    ShiftDown(b);

    // The copy starts at m = 2046 with D[2047] (cleared), D[2048], D[2049].
    EXPECT_EQ(b.Conv(4091, 5),
              (std::vector<int>{(beforeLastKept + lastKept) / 2, lastKept, 0, kStale, kStale}));
    for (int i = 0; i < kSampleCount; ++i) {
        ASSERT_EQ(b.Out(i), b.Conv(i)) << i;
    }
}

}  // namespace
