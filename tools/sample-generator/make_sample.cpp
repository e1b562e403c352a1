// Writes the program's sample, SND/SND45: 2048 stereo frames of raw signed
// 16-bit little-endian PCM with identical left and right samples.
//
//   make_sample <file>           writes the sample to <file>
//   make_sample --verify <file>  exits with 1 unless <file> holds exactly it
//
// The tone is the first five harmonics of a sawtooth at 44100/128 Hz. Its
// period of 128 frames divides the 2048 frames, so the sample loops without a
// click, and this partial sum of a sawtooth has exactly one upward zero
// crossing per period, placed at frame 8 so that the pitch shifter's lead-in
// ends early. Only integer arithmetic is used, so every machine writes the
// same bytes.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

constexpr int kFrames = 2048;
constexpr int kPeriodFrames = 128;
constexpr int kHarmonics = 5;
constexpr std::int64_t kAmplitude = 12000;  // of the fundamental; the peak is about 19000
constexpr int kFirstCrossingFrame = 8;

// Fixed point with 30 fraction bits.
constexpr std::int64_t kOne = std::int64_t{1} << 30;
constexpr std::int64_t kPi = 3373259426;  // pi, rounded

// sin(theta) for 0 <= theta <= pi/2 by its Taylor series; the terms left out
// are below 2^-30.
std::int64_t SineOfSmallAngle(std::int64_t theta) {
    const std::int64_t square = theta * theta / kOne;
    std::int64_t term = theta;
    std::int64_t sum = theta;
    for (int k = 1; k <= 7; ++k) {
        term = -term * square / kOne / ((2 * k) * (2 * k + 1));
        sum += term;
    }
    return sum;
}

// sin(2 pi k / n) for n divisible by 4, reduced to the first quadrant.
std::int64_t Sine(std::int64_t k, std::int64_t n) {
    const std::int64_t quarter = n / 4;
    k %= n;
    const std::int64_t quadrant = k / quarter;
    const std::int64_t rest = k % quarter;
    const std::int64_t units = (quadrant % 2 == 0) ? rest : quarter - rest;
    const std::int64_t value = SineOfSmallAngle(units * 2 * kPi / n);
    return quadrant < 2 ? value : -value;
}

// The nearest integer to value / kOne, halves away from zero.
std::int64_t RoundFixed(std::int64_t value) {
    return value >= 0 ? (value + kOne / 2) / kOne : -((-value + kOne / 2) / kOne);
}

// The tone at `t` frames after an upward zero crossing.
int Tone(int t) {
    std::int64_t sum = 0;
    for (int k = 1; k <= kHarmonics; ++k) {
        sum += kAmplitude * Sine(std::int64_t{k} * t, kPeriodFrames) / k;
    }
    return static_cast<int>(RoundFixed(sum));
}

std::vector<unsigned char> MakeSample() {
    std::vector<unsigned char> bytes;
    for (int frame = 0; frame < kFrames; ++frame) {
        const int t = (frame - kFirstCrossingFrame + kPeriodFrames) % kPeriodFrames;
        const unsigned int bits = static_cast<unsigned int>(Tone(t)) & 0xFFFF;
        for (int channel = 0; channel < 2; ++channel) {
            bytes.push_back(static_cast<unsigned char>(bits & 0xFF));
            bytes.push_back(static_cast<unsigned char>(bits >> 8));
        }
    }
    return bytes;
}

int Write(const char* path, const std::vector<unsigned char>& sample) {
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "make_sample: cannot create %s\n", path);
        return 1;
    }
    const bool written = std::fwrite(sample.data(), 1, sample.size(), file) == sample.size();
    if (std::fclose(file) != 0 || !written) {
        std::fprintf(stderr, "make_sample: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

int Verify(const char* path, const std::vector<unsigned char>& sample) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        std::fprintf(stderr, "make_sample: cannot open %s\n", path);
        return 1;
    }
    std::vector<unsigned char> found(sample.size() + 1);
    const std::size_t size = std::fread(found.data(), 1, found.size(), file);
    std::fclose(file);
    if (size != sample.size()) {
        std::fprintf(stderr, "make_sample: %s is not %zu bytes long\n", path, sample.size());
        return 1;
    }
    for (std::size_t i = 0; i < sample.size(); ++i) {
        if (found[i] != sample[i]) {
            std::fprintf(stderr, "make_sample: %s differs at byte %zu\n", path, i);
            return 1;
        }
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<unsigned char> sample = MakeSample();
    if (argc == 2) {
        return Write(argv[1], sample);
    }
    if (argc == 3 && std::strcmp(argv[1], "--verify") == 0) {
        return Verify(argv[2], sample);
    }
    std::fprintf(stderr, "usage: make_sample <file> | make_sample --verify <file>\n");
    return 2;
}
