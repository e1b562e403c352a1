// Time of each effect over one 4096-sample buffer, beside plain passes over
// the same buffers (read, copy, write) as the floor that any processing of
// the sample costs. Input: the shipped sample, or noise.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "Effects.h"
#include "SampleStore.h"
#include "Samples.h"

namespace {

enum Input { kShippedSample, kNoise };

struct Buffers {
    explicit Buffers(int input) {
        if (input == kShippedSample) {
            if (!SampleStore::LoadSample(WARBLE_SAMPLE_FILE, DINP.get(), DOUT.get())) {
                std::abort();
            }
        } else {
            unsigned int state = 1;
            for (int k = 0; k < kSampleBytes; ++k) {
                state = state * 1103515245u + 12345u;
                DINP[k] = static_cast<unsigned char>(state >> 16);
            }
        }
        std::memcpy(DOUT.get(), DINP.get(), kSampleBytes);
    }

    std::unique_ptr<unsigned char[]> DINP{new unsigned char[kSampleBytes]()};
    std::unique_ptr<unsigned char[]> DOUT{new unsigned char[kSampleBytes]()};
    std::unique_ptr<unsigned char[]> ZERO{new unsigned char[kSampleCount]()};
    std::unique_ptr<unsigned char[]> CONV{new unsigned char[kSampleBytes]()};
    std::unique_ptr<unsigned int[]> CINP{new unsigned int[kSampleCount]()};
};

void SetLabel(benchmark::State& state) {
    state.SetLabel(state.range(0) == kShippedSample ? "shipped sample" : "noise");
    state.SetItemsProcessed(state.iterations() * kSampleCount);
}

// The plain passes: the least that reading the input, producing the output
// and filling a work buffer cost.
void Read(const Buffers& b) {
    int sum = 0;
    for (int i = 0; i < kSampleCount; ++i) {
        sum += ReadSample(b.DINP.get(), i);
    }
    benchmark::DoNotOptimize(sum);
}

void Copy(Buffers& b) {
    for (int i = 0; i < kSampleCount; ++i) {
        WriteSample(b.DOUT.get(), i, ReadSample(b.DINP.get(), i));
    }
}

void Write(Buffers& b) {
    for (int i = 0; i < kSampleCount; ++i) {
        WriteSample(b.CONV.get(), i, i);
    }
}

void ReadPass(benchmark::State& state) {
    Buffers b(state.range(0));
    for (auto _ : state) {
        Read(b);
    }
    SetLabel(state);
}

void CopyPass(benchmark::State& state) {
    Buffers b(state.range(0));
    for (auto _ : state) {
        Copy(b);
        benchmark::ClobberMemory();
    }
    SetLabel(state);
}

void WritePass(benchmark::State& state) {
    Buffers b(state.range(0));
    for (auto _ : state) {
        Write(b);
        benchmark::ClobberMemory();
    }
    SetLabel(state);
}

// The three passes in one: the floor the effects are measured against.
void Floor(benchmark::State& state) {
    Buffers b(state.range(0));
    for (auto _ : state) {
        Read(b);
        Copy(b);
        Write(b);
        benchmark::ClobberMemory();
    }
    SetLabel(state);
}

void DigitalSignProc(benchmark::State& state) {
    Buffers b(state.range(0));
    for (auto _ : state) {
        Effects::DigitalSignProc(b.DINP.get(), b.DOUT.get(), b.CONV.get(), b.ZERO.get(),
                                 b.CINP.get());
        benchmark::ClobberMemory();
    }
    SetLabel(state);
}

void DigitalSignProc2(benchmark::State& state) {
    Buffers b(state.range(0));
    for (auto _ : state) {
        Effects::DigitalSignProc2(b.DINP.get(), b.DOUT.get(), b.CONV.get(), b.CINP.get());
        benchmark::ClobberMemory();
    }
    SetLabel(state);
}

void DigitalSignProc3(benchmark::State& state) {
    Buffers b(state.range(0));
    for (auto _ : state) {
        Effects::DigitalSignProc3(b.DINP.get(), b.DOUT.get());
        benchmark::ClobberMemory();
    }
    SetLabel(state);
}

}  // namespace

BENCHMARK(ReadPass)->Arg(kShippedSample);
BENCHMARK(CopyPass)->Arg(kShippedSample);
BENCHMARK(WritePass)->Arg(kShippedSample);
BENCHMARK(Floor)->Arg(kShippedSample);
BENCHMARK(DigitalSignProc)->Arg(kShippedSample)->Arg(kNoise);
BENCHMARK(DigitalSignProc2)->Arg(kShippedSample)->Arg(kNoise);
BENCHMARK(DigitalSignProc3)->Arg(kShippedSample)->Arg(kNoise);

BENCHMARK_MAIN();
