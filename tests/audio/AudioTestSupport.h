#pragma once
// Helpers shared by the wave-output tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <future>
#include <thread>
#include <vector>

#include "AudioClass.h"
#include "DriverBasics.h"

// Reaches the device callback and handle that the class keeps private.
struct AudioClassTestAccess {
    static HWAVEOUT device(const AudioClass& audio) { return audio.hWaveOut; }
    static void deliver(UINT message, volatile int* freeBlockCounter) {
        AudioClass::waveOutProc(nullptr, message, reinterpret_cast<DWORD_PTR>(freeBlockCounter), 0,
                                0);
    }
};

namespace audio_test {

constexpr int kBlock = 8192;
constexpr int kRing = 20;

// PCM whose 4-byte frames hold their own number, counted from 1: no frame is
// all zero (so silence the device adds can be told apart) and every frame
// differs (so a lost, repeated or reordered block shows).
inline std::vector<unsigned char> numberedFrames(size_t bytes) {
    std::vector<unsigned char> pcm(bytes);
    for (size_t i = 0; i < bytes; ++i) {
        const uint32_t frame = static_cast<uint32_t>(i / 4 + 1);
        pcm[i] = static_cast<unsigned char>(frame >> (8 * (i % 4)));
    }
    return pcm;
}

inline std::vector<unsigned char> firstBytes(const std::vector<unsigned char>& pcm, size_t n) {
    return std::vector<unsigned char>(pcm.begin(), pcm.begin() + std::min(n, pcm.size()));
}

inline testing::AssertionResult samePcm(const std::vector<unsigned char>& received,
                                        const std::vector<unsigned char>& expected) {
    if (received == expected) {
        return testing::AssertionSuccess();
    }
    const size_t common = std::min(received.size(), expected.size());
    const size_t at =
        std::mismatch(received.begin(), received.begin() + common, expected.begin()).first -
        received.begin();
    return testing::AssertionFailure()
           << "the device received " << received.size() << " bytes, expected " << expected.size()
           << "; they first differ at byte " << at;
}

// Runs `action` on a helper thread. One that has not returned within a
// minute is taken as hung, and the process ends with a message rather than
// stall the whole suite.
template <class Action>
void withinDeadline(const char* what, Action action) {
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    std::thread worker([&] {
        action();
        done.set_value();
    });
    if (finished.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        fprintf(stderr, "HUNG: %s did not return\n", what);
        fflush(stderr);
        ExitProcess(3);
    }
    worker.join();
}

// Polls `condition` until it holds or a generous bound passes.
template <class Condition>
bool eventually(Condition condition) {
    return WaitFor(condition, 30000);
}

}  // namespace audio_test
