// Loading the sample, the trace colours and the sample the program ships.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "Effects.h"
#include "EngineBuffers.h"
#include "SampleStore.h"

namespace {

constexpr unsigned char kGarbage = 0x5A;

std::string TempPath(const std::string& name) {
    return testing::TempDir() + "warble_engine_" + name;
}

std::vector<unsigned char> Pattern(size_t size) {
    std::vector<unsigned char> bytes(size);
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<unsigned char>(i * 7 + i / 256);
    }
    return bytes;
}

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr) << path;
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    ASSERT_EQ(std::fclose(file), 0);
}

// Loads `path` into buffers that hold other data beforehand.
bool Load(const std::string& path, EngineBuffers& b) {
    std::fill_n(b.DINP.get(), kSampleBytes, kGarbage);
    std::fill_n(b.DOUT.get(), kSampleBytes, kGarbage);
    return SampleStore::LoadSample(path.c_str(), b.DINP.get(), b.DOUT.get());
}

void ExpectBothBuffersAre(const EngineBuffers& b, const std::vector<unsigned char>& bytes) {
    for (int k = 0; k < kSampleBytes; ++k) {
        ASSERT_EQ(b.DINP[k], bytes[k]) << "DINP " << k;
        ASSERT_EQ(b.DOUT[k], bytes[k]) << "DOUT " << k;
    }
}

TEST(SampleStore, ColourTables) {
    std::vector<unsigned int> CINP(kSampleCount, 0), COUT(kSampleCount, 0);
    SampleStore::FillColourTables(CINP.data(), COUT.data());
    for (int i = 0; i < kSampleCount; ++i) {
        ASSERT_EQ(CINP[i], 0x00FF0000u) << i;
        ASSERT_EQ(COUT[i], i < kSampleCount - 1 ? 0x000000FFu : 0x0000FF00u) << i;
    }
}

TEST(SampleStore, ShortFileReadsAsMinusOnePastItsEndAndALongerOneIsCut) {
    for (size_t size : {size_t{100}, size_t{kSampleBytes + 1808}}) {
        SCOPED_TRACE(size);
        const std::string path = TempPath("file" + std::to_string(size));
        const std::vector<unsigned char> file = Pattern(size);
        WriteFile(path, file);
        EngineBuffers b;
        EXPECT_TRUE(Load(path, b));

        const size_t read = std::min<size_t>(size, kSampleBytes);
        std::vector<unsigned char> expected(kSampleBytes, 0xFF);
        std::copy_n(file.begin(), read, expected.begin());
        ExpectBothBuffersAre(b, expected);
        for (int i = static_cast<int>(read / 2); i < kSampleCount; ++i) {
            ASSERT_EQ(ReadSample(b.DINP.get(), i), -1) << i;
        }
        // Closed once read: Windows deletes no file that is still open.
        EXPECT_EQ(std::remove(path.c_str()), 0);
    }
}

TEST(SampleStore, MissingFileIsReportedAndLeavesSilence) {
    EngineBuffers b;
    EXPECT_FALSE(Load(TempPath("no such file"), b));
    ExpectBothBuffersAre(b, std::vector<unsigned char>(kSampleBytes, 0));
}

TEST(SampleStore, DirectoryGivenAsTheFile) {
    const std::string path = TempPath("directory");
    std::filesystem::create_directory(path);
    EngineBuffers b;
#ifdef _WIN32
    // The Windows C runtime refuses to open a directory.
    EXPECT_FALSE(Load(path, b));
    ExpectBothBuffersAre(b, std::vector<unsigned char>(kSampleBytes, 0));
#else
    // glibc opens it and reads end of file at once: an empty sample.
    EXPECT_TRUE(Load(path, b));
    ExpectBothBuffersAre(b, std::vector<unsigned char>(kSampleBytes, 0xFF));
#endif
    std::filesystem::remove(path);
}

// The sample the program ships, as the generator made it.
class ShippedSample : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SampleStore::LoadSample(WARBLE_SAMPLE_FILE, b.DINP.get(), b.DOUT.get()));
        std::error_code error;
        ASSERT_EQ(std::filesystem::file_size(WARBLE_SAMPLE_FILE, error),
                  static_cast<std::uintmax_t>(kSampleBytes));
    }

    int Frame(int f) const { return ReadSample(b.DINP.get(), 2 * f); }

    static constexpr int kFrames = kSampleCount / 2;
    EngineBuffers b;
};

TEST_F(ShippedSample, IsTheSameOnBothChannels) {
    for (int f = 0; f < kFrames; ++f) {
        ASSERT_EQ(ReadSample(b.DINP.get(), 2 * f + 1), Frame(f)) << f;
    }
}

TEST_F(ShippedSample, LoopsWithoutAClick) {
    // Played eight times over, the step from the last frame to the first is
    // no larger than a step within the sample.
    int largestStep = 0;
    for (int f = 1; f < kFrames; ++f) {
        largestStep = std::max(largestStep, std::abs(Frame(f) - Frame(f - 1)));
    }
    EXPECT_LE(std::abs(Frame(0) - Frame(kFrames - 1)), largestStep);
    EXPECT_GT(largestStep, 0);
}

TEST_F(ShippedSample, CrossesUpwardEarlySoThePitchShifterFindsPeriods) {
    int firstCrossing = 0;
    for (int n = 1; n < kSampleCount && firstCrossing == 0; ++n) {
        if (ReadSample(b.DINP.get(), n - 1) < 0 && ReadSample(b.DINP.get(), n) >= 0) {
            firstCrossing = n;
        }
    }
    EXPECT_GT(firstCrossing, 0);
    EXPECT_LE(firstCrossing, 100);

    Effects::DigitalSignProc(b.DINP.get(), b.DOUT.get(), b.CONV.get(), b.ZERO.get(), b.CINP.get());
    int crossingsMarked = 0;
    for (int n = 0; n < kSampleCount; ++n) {
        crossingsMarked += b.CINP[n] == Effects::kCrossingColour;
    }
    EXPECT_GT(crossingsMarked, 1);
}

}  // namespace
