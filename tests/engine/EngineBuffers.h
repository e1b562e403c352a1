#pragma once
// The main form's sample store for the engine checks. Each buffer is a heap
// block of exactly its size, so the sanitizers catch any access past it. CONV
// and ZERO start cleared, as the form allocates them.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "Effects.h"
#include "SampleStore.h"
#include "Samples.h"

struct EngineBuffers {
    std::unique_ptr<unsigned char[]> DINP{new unsigned char[kSampleBytes]()};
    std::unique_ptr<unsigned char[]> DOUT{new unsigned char[kSampleBytes]()};
    std::unique_ptr<unsigned char[]> ZERO{new unsigned char[kSampleCount]()};
    std::unique_ptr<unsigned char[]> CONV{new unsigned char[kSampleBytes]()};
    std::unique_ptr<unsigned int[]> CINP{new unsigned int[kSampleCount]};
    std::unique_ptr<unsigned int[]> COUT{new unsigned int[kSampleCount]};

    EngineBuffers() { SampleStore::FillColourTables(CINP.get(), COUT.get()); }

    // With 4096 samples in DINP and DOUT, as the loader leaves them.
    explicit EngineBuffers(const std::vector<int>& samples) : EngineBuffers() {
        for (int i = 0; i < kSampleCount; ++i) {
            WriteSample(DINP.get(), i, samples[i]);
            WriteSample(DOUT.get(), i, samples[i]);
        }
    }

    // Fills a sample buffer with one sample value throughout.
    static void Fill(unsigned char* buffer, int value) {
        for (int i = 0; i < kSampleCount; ++i) {
            WriteSample(buffer, i, value);
        }
    }

    // The marks a pitch effect leaves in the input colours: sample 0 is never
    // marked, samples 1 to `leadInEnd` are the lead-in, and of the others only
    // `marked` are.
    void ExpectMarks(int leadInEnd, const std::set<int>& marked) const {
        EXPECT_EQ(CINP[0], SampleStore::kInputColour);
        for (int n = 1; n < kSampleCount; ++n) {
            const unsigned int expected = n <= leadInEnd        ? Effects::kLeadInColour
                                          : marked.count(n) > 0 ? Effects::kCrossingColour
                                                                : SampleStore::kInputColour;
            ASSERT_EQ(CINP[n], expected) << n;
        }
    }

    int Out(int i) const { return ReadSample(DOUT.get(), i); }
    int Conv(int i) const { return ReadSample(CONV.get(), i); }
    // `count` samples from position `from` on.
    std::vector<int> Out(int from, int count) const { return Read(DOUT.get(), from, count); }
    std::vector<int> Conv(int from, int count) const { return Read(CONV.get(), from, count); }

private:
    static std::vector<int> Read(const unsigned char* buffer, int from, int count) {
        std::vector<int> samples;
        for (int i = from; i < from + count; ++i) {
            samples.push_back(ReadSample(buffer, i));
        }
        return samples;
    }
};
