#include "Effects.h"

#include <cstdlib>
#include <cstring>

#include "Samples.h"

namespace Effects {

const int wave1[kWave1Length] = {
    997,    1995,   3171,   4525,   6045,   7715,   9510,   11382,  13278,  15145,  16932,  18603,
    20120,  21447,  22541,  23364,  23884,  24101,  24028,  23699,  23152,  22421,  21536,  20523,
    19408,  18208,  16944,  15615,  14225,  12782,  11295,  9795,   8321,   6903,   5573,   4350,
    3263,   2336,   1599,   1074,   749,    612,    633,    795,    1077,   1455,   1891,   2326,
    2716,   3019,   3227,   3342,   3364,   3281,   3077,   2742,   2291,   1754,   1150,   485,
    -258,   -1116,  -2102,  -3204,  -4385,  -5591,  -6783,  -7929,  -9011,  -10002, -10867, -11550,
    -12012, -12230, -12214, -12005, -11648, -11181, -10618, -9959,  -9194,  -8319,  -7344,  -6287,
    -5176,  -4041,  -2903,  -1777,  -679,   371,    1341,   2186,   2860,   3322,   3555,   3552,
    3320,   2865,   2195,   1324,   283,    -876,   -2100,  -3335,  -4543,  -5704,  -6811,  -7854,
    -8817,  -9675,  -10411, -11013, -11479, -11805, -11987, -12004, -11832, -11452, -10858, -10065,
    -9111,  -8051,  -6944,  -5853,  -4829,  -3909,  -3124,  -2490,  -2016,  -1709,  -1567,  -1579,
    -1730,  -1995,  -2355,  -2803,  -3338,  -3973,  -4716,  -5572,  -6537,  -7594,  -8717,  -9870,
    -11017, -12103, -13073, -13873, -14448, -14763, -14808, -14584, -14113, -13412, -12501, -11398,
    -10124, -8699,  -7165,  -5556,  -3900,  -2225,  -551,   1107,   2723,   4257,   5671,   6930,
    8022,   8955,   9740,   10386,  10884,  11216,  11357,  11297,  11055,  10665,  10164,  9590,
    8970,   8327,   7681,   7055,   6468,   5952,   5530,   5216,   5015,   4907,   4862,   4856,
    4876,   4934,   5044,   5216,   5439,   5690,   5942,   6189,   6437,   6695,   6959,   7205,
    7398,   7514,   7547,   7505,   7390,   7189,   6878,   6431,   5851,   5166,   4436,   3728,
    3095,   2568,   2155,   1853,   1657,   1559,   1557,   1635,   1779,   1961,   2158,   2362,
    2578,   2825,   3115,   3455,   3831,   4211,   4562,   4861,   5085,   5221,   5251,   5157,
    4915,   4515,   3953,   3247,   2425,   1532,   608,    -314,   -1212,  -2069,  -2882,  -3644,
    -4339,  -4947,  -5453,  -5840,  -6097,  -6210,  -6156,  -5900,  -5403,  -4628,  -3556,  -2181,
    -518,   1403,   3537,   5806,   8121,   10367,  12418,  14167,  15528,  16445,  16909,  16930,
    16554,  15827,  14805,  13531,  12054,  10408,  8608,   6660,   4543,   2216,   -335,   -3119,
    -6100,  -9195,  -12305, -15310, -18085, -20521, -22521, -24008, -24929, -25264, -25029, -24286,
    -23124, -21653, -19978, -18158, -16216, -14147, -11928, -9548,  -7020,  -4375,  -1645,  1134,
    3906,   6602,   9113,   11306,  13070,  14306,  14969,  15068,  14636,  13741,  12459,  10885,
    9120,   7262,   5394,   3575,   1825,   147,    -1463,  -3017,  -4497,  -5883,  -7133,  -8202,
    -9046,  -9616,  -9873,  -9789,  -9344,  -8551,  -7432,  -6047,  -4462,  -2757,  -1010,  697,
    2305,   3755,   5021,   6079,   6922,   7539,   7922,   8054,   7926,   7525,   6858,   5926,
    4742,   3310,   1642,   -240,   -2306,  -4514,  -6808,  -9144,  -11462, -13713, -15834, -17757,
    -19408, -20717, -21634, -22119, -22176, -21809, -21046, -19926, -18491, -16804, -14933, -12955,
    -10926, -8896,  -6896,  -4959,  -3119,  -1405,  148,    1530,   2728,   3738,   4534,   5093,
    5391,   5416,   5168,   4663,   3929,   2978,   1850,   578,    -774,   -2135,  -3435,  -4601,
    -5563,  -6265,  -6667,  -6745,  -6502,  -5957,  -5140,  -4067,  -2755,  -1211,  554};

namespace {

// The lead-in of the pitch processors ends at the first upward crossing among
// samples 1..100, or at sample 101 when there is none.
constexpr int kLastLeadInSample = 100;

// DigitalSignProc2 cuts a segment that has found no crossing after this many
// samples plus one, so that a signal without crossings still has periods.
constexpr int kLongestSegment = 440;

// DigitalSignProc3 scales its envelope by this before applying wave1.
constexpr double kEnvelopeScale = 20000.0;

// A negative sample followed by a zero or positive one.
bool UpwardCrossing(int previous, int current) {
    return previous < 0 && current >= 0;
}

// Marks the lead-in in CINP and returns the sample at which it ends. That
// sample itself is neither kept nor marked as a crossing.
int EndOfLeadIn(const unsigned char* DINP, unsigned int* CINP) {
    int previous = ReadSample(DINP, 0);
    for (int n = 1;; ++n) {
        const int x = ReadSample(DINP, n);
        CINP[n] = kLeadInColour;
        if (UpwardCrossing(previous, x) || n > kLastLeadInSample) {
            return n;
        }
        previous = x;
    }
}

// Fills all of DOUT from CONV, writing every `interval`-th CONV sample
// twice. The pitch processors take the interval from the whole buffer, not
// from the part of CONV they wrote, so this in general reads past that part;
// it never reads past CONV itself, since each sample yields at least one.
void StretchRepeatingEvery(int interval, const unsigned char* CONV, unsigned char* DOUT) {
    int d = 0;
    int sinceRepeat = 0;
    for (int i = 0; d < kSampleCount; ++i) {
        const int sample = ReadSample(CONV, i);
        WriteSample(DOUT, d++, sample);
        if (++sinceRepeat == interval && d < kSampleCount) {
            sinceRepeat = 0;
            WriteSample(DOUT, d++, sample);
        }
    }
}

}  // namespace

void DigitalSignProc(const unsigned char* DINP, unsigned char* DOUT, unsigned char* CONV,
                     unsigned char* ZERO, unsigned int* CINP) {
    std::memset(ZERO, 0, kSampleCount);
    int cnt = 0;
    int lastzeropos = 0;
    int pos = 0;

    // Keep every other sample after the lead-in, flagging each upward
    // crossing at the output position of the next kept sample.
    const int leadInEnd = EndOfLeadIn(DINP, CINP);
    int previous = ReadSample(DINP, leadInEnd);
    for (int n = leadInEnd + 1; n < kSampleCount; ++n) {
        const int x = ReadSample(DINP, n);
        const bool crossing = UpwardCrossing(previous, x);
        previous = x;
        if (crossing) {
            CINP[n] = kCrossingColour;
            ZERO[pos] = 1;
            lastzeropos = pos;
        }
        if (cnt > 0) {
            cnt = 0;
        } else {
            WriteSample(DOUT, pos, x);
            ++pos;
            cnt = 1;
        }
    }
    WriteSample(DOUT, lastzeropos, 0);

    // Hear every stretch between two crossings twice; what follows the last
    // crossing is dropped.
    pos = 0;
    int st = 0;
    for (int i = 0; i <= lastzeropos; ++i) {
        WriteSample(CONV, pos++, ReadSample(DOUT, i));
        if (ZERO[i] == 1) {
            for (int j = st; j < i; ++j) {
                WriteSample(CONV, pos++, ReadSample(DOUT, j));
            }
            st = i;
        }
    }

    // Stretch back to full length. The interval counter runs from 0 up to
    // and including `space`, so every (space + 1)-th sample is repeated.
    const int needed = kSampleCount - pos;
    const int space = kSampleCount / needed;
    StretchRepeatingEvery(space + 1, CONV, DOUT);
    WriteSample(DOUT, kSampleCount - 1, 0);
}

void DigitalSignProc2(const unsigned char* DINP, unsigned char* DOUT, unsigned char* CONV,
                      unsigned int* CINP) {
    unsigned char skipping = 0;
    int cnt = 0;
    int pos = 0;
    int lastzeropos = 0;

    // Cut the signal after the lead-in at its upward crossings (or after a
    // longest segment) and keep every other segment.
    const int leadInEnd = EndOfLeadIn(DINP, CINP);
    int previous = ReadSample(DINP, leadInEnd);
    for (int n = leadInEnd + 1; n < kSampleCount; ++n) {
        const int x = ReadSample(DINP, n);
        const bool crossing = UpwardCrossing(previous, x);
        previous = x;
        if (skipping == 0) {
            WriteSample(DOUT, pos++, x);
        }
        ++cnt;
        if (crossing || cnt > kLongestSegment) {
            cnt = 0;
            CINP[n] = kCrossingColour;
            skipping ^= 1;
            lastzeropos = pos;
        }
    }
    const int E = lastzeropos;
    WriteSample(DOUT, E, 0);

    // Double the sample count by putting the average of each neighbouring
    // pair between them. When the kept part is too long for that, the rest
    // is copied as it stands until CONV is full.
    WriteSample(CONV, 0, ReadSample(DOUT, 0));
    int P = 1;
    for (int m = 1; m <= E; ++m) {
        const int left = ReadSample(DOUT, m - 1);
        const int right = ReadSample(DOUT, m);
        WriteSample(CONV, P++, (left + right) / 2);  // truncates toward zero
        WriteSample(CONV, P++, right);
        if (kSampleCount - P <= E - m + 2) {
            for (int j = m + 1; P < kSampleCount; ++j) {
                WriteSample(CONV, P++, ReadSample(DOUT, j));
            }
            break;
        }
    }

    // Stretch back to full length. Unlike DigitalSignProc, the interval
    // counter starts at 1, so every `space`-th sample is repeated.
    const int needed = kSampleCount - P;
    if (needed <= 0) {
        std::memcpy(DOUT, CONV, kSampleBytes);
        return;
    }
    StretchRepeatingEvery(kSampleCount / needed, CONV, DOUT);
}

void DigitalSignProc3(const unsigned char* DINP, unsigned char* DOUT) {
    const int last = kSampleCount - 1;
    WriteSample(DOUT, 0, 0);
    WriteSample(DOUT, last, 0);

    // Keep the strict positive peaks only.
    for (int n = 1; n < last; ++n) {
        const int x = ReadSample(DINP, n);
        const bool peak = x > 0 && x > ReadSample(DINP, n - 1) && x > ReadSample(DINP, n + 1);
        WriteSample(DOUT, n, peak ? x : 0);
    }

    // Join each peak to the previous one (the first to position 0). A line
    // writes only up to the current peak, so later peaks are still found.
    int lastpul = 0;
    for (int n = 0; n < kSampleCount; ++n) {
        const int y = ReadSample(DOUT, n);
        if (y != 0) {
            Line(n, y, lastpul, ReadSample(DOUT, lastpul), DOUT);
            lastpul = n;
        }
    }

    // Impose wave1 on the envelope. The scale is rounded to float on purpose,
    // but the product is formed in double so that every build agrees.
    int count = 0;
    for (int n = 0; n < kSampleCount; ++n) {
        const float perc = static_cast<float>(ReadSample(DOUT, n) / kEnvelopeScale);
        const double product = wave1[count] * static_cast<double>(perc);
        WriteSample(DOUT, n, static_cast<int>(product));
        if (++count >= kWave1Length) {
            count = 0;
        }
    }
}

void Line(int x1, int y1, int x2, int y2, unsigned char* DAT) {
    int dx = x2 - x1;
    int dy = y2 - y1;
    const int inx = dx > 0 ? 1 : -1;
    const int iny = dy > 0 ? 1 : -1;
    dx = std::abs(dx);
    dy = std::abs(dy);

    if (dx >= dy) {
        dy = 2 * dy;
        int e = dy - dx;
        dx = 2 * dx;
        while (x1 != x2) {
            WriteSample(DAT, x1, y1);
            if (e >= 0) {
                y1 += iny;
                e -= dx;
            }
            e += dy;
            x1 += inx;
        }
    } else {
        // Steep: the step rule visits every y from y1 towards y2 and writes
        // each at the current x, so a position keeps the last value written
        // there before x moves on. Rather than writing the values that are
        // overwritten at once, go a position at a time: from the error term,
        // count the steps that stay at this x (e < 0) and write only the
        // value of the step at which x moves (e >= 0). A steep envelope line
        // costs its length in x, not its height.
        dx = 2 * dx;
        int e = dx - dy;
        dy = 2 * dy;
        int stepsLeft = std::abs(y2 - y1);
        while (stepsLeft > 0) {
            const int stay = e >= 0 ? 0 : dx == 0 ? stepsLeft : (-e + dx - 1) / dx;
            if (stay >= stepsLeft) {
                y1 = y2;  // the line ends at this x; the end point is written below
                break;
            }
            y1 += stay * iny;
            e += stay * dx;
            WriteSample(DAT, x1, y1);
            x1 += inx;
            e += dx - dy;
            y1 += iny;
            stepsLeft -= stay + 1;
        }
    }
    WriteSample(DAT, x1, y1);
}

}  // namespace Effects
