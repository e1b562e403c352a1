#pragma once
// Helpers shared by the wave-output tests.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#include "AudioClass.h"
#include "DriverBasics.h"
#include "ImportSlot.h"
#include "SamePcm.h"

// Reaches the device callback and handle that the class keeps private.
struct AudioClassTestAccess {
    static HWAVEOUT device(const AudioClass& audio) { return audio.hWaveOut; }
    static void deliver(UINT message, volatile int* freeBlockCounter) {
        AudioClass::waveOutProc(nullptr, message, reinterpret_cast<DWORD_PTR>(freeBlockCounter), 0,
                                0);
    }
};

// The slots of this executable's import table through which AudioClass
// prepares and writes blocks and resets the device (the 32-bit names are
// decorated).
using HeaderCall = MMRESULT(WINAPI*)(HWAVEOUT, LPWAVEHDR, UINT);
using DeviceCall = MMRESULT(WINAPI*)(HWAVEOUT);
using LockCall = void(WINAPI*)(LPCRITICAL_SECTION);
#ifdef _WIN64
extern "C" HeaderCall prepareSlot __asm__("__imp_waveOutPrepareHeader");
extern "C" HeaderCall writeSlot __asm__("__imp_waveOutWrite");
extern "C" DeviceCall resetSlot __asm__("__imp_waveOutReset");
extern "C" LockCall enterSlot __asm__("__imp_EnterCriticalSection");
extern "C" LockCall leaveSlot __asm__("__imp_LeaveCriticalSection");
#else
extern "C" HeaderCall prepareSlot __asm__("__imp__waveOutPrepareHeader@12");
extern "C" HeaderCall writeSlot __asm__("__imp__waveOutWrite@12");
extern "C" DeviceCall resetSlot __asm__("__imp__waveOutReset@4");
extern "C" LockCall enterSlot __asm__("__imp__EnterCriticalSection@4");
extern "C" LockCall leaveSlot __asm__("__imp__LeaveCriticalSection@4");
#endif

namespace audio_test {

constexpr int kBlock = 8192;
constexpr int kRing = 20;

// While it lives, stands between AudioClass and the device's prepare, write
// and reset calls, in this test executable only: it counts the preparations,
// those of headers that still carry flags, and the resets, and it can make
// the device refuse writes, or keep them until the test hands them on one by
// one or a reset takes them back unplayed; a real device cannot be made to
// do either on its own, nor at a time the test decides.
class DeviceCallSeam {
public:
    DeviceCallSeam() {
        realPrepare_ = prepareSlot;
        realWrite_ = writeSlot;
        realReset_ = resetSlot;
        prepares = preparesWithFlags = writesToRefuse = resets = 0;
        stuck = false;
        WriteImportSlot(&prepareSlot, &Prepare);
        WriteImportSlot(&writeSlot, &Write);
        WriteImportSlot(&resetSlot, &Reset);
    }
    ~DeviceCallSeam() {
        WriteImportSlot(&prepareSlot, realPrepare_);
        WriteImportSlot(&writeSlot, realWrite_);
        WriteImportSlot(&resetSlot, realReset_);
    }
    DeviceCallSeam(const DeviceCallSeam&) = delete;
    DeviceCallSeam& operator=(const DeviceCallSeam&) = delete;

    static inline std::atomic<int> prepares{0};
    static inline std::atomic<int> preparesWithFlags{0};
    static inline std::atomic<int> writesToRefuse{0};  // counts down with each refusal
    static inline std::atomic<int> resets{0};
    // While set, written blocks are kept, not played, until a reset.
    static inline std::atomic<bool> stuck{false};

    // Hands the oldest kept block on to the device, which plays it and
    // hands it back.
    static void handOnOne() {
        std::lock_guard<std::mutex> lock(keptLock_);
        if (!kept_.empty()) {
            realWrite_(keptBy_, kept_.front(), sizeof(WAVEHDR));
            kept_.pop_front();
        }
    }

private:
    static MMRESULT WINAPI Prepare(HWAVEOUT device, LPWAVEHDR header, UINT size) {
        ++prepares;
        preparesWithFlags += header->dwFlags != 0;
        return realPrepare_(device, header, size);
    }
    static MMRESULT WINAPI Write(HWAVEOUT device, LPWAVEHDR header, UINT size) {
        if (writesToRefuse > 0) {
            --writesToRefuse;
            return MMSYSERR_ERROR;
        }
        if (stuck) {
            std::lock_guard<std::mutex> lock(keptLock_);
            keptBy_ = device;
            kept_.push_back(header);
            return MMSYSERR_NOERROR;
        }
        return realWrite_(device, header, size);
    }
    // A reset frees a stuck device: the kept blocks reach the paused device
    // and come back through the reset unplayed, as a device's own would.
    static MMRESULT WINAPI Reset(HWAVEOUT device) {
        ++resets;
        std::lock_guard<std::mutex> lock(keptLock_);
        if (stuck.exchange(false)) {
            waveOutPause(device);
            for (LPWAVEHDR header : kept_) {
                realWrite_(device, header, sizeof(WAVEHDR));
            }
            kept_.clear();
        }
        return realReset_(device);
    }
    static inline HeaderCall realPrepare_;
    static inline HeaderCall realWrite_;
    static inline DeviceCall realReset_;
    static inline std::mutex keptLock_;
    static inline std::deque<LPWAVEHDR> kept_;
    static inline HWAVEOUT keptBy_ = nullptr;
};

// While it lives, notes in `seen` the value of a counter each time this thread
// takes or gives back a critical section through this executable's imports,
// as AudioClass does: a change made under the lock shows as a value at the
// give-back other than the one at the take. A lost update needs a second
// thread at the wrong moment; whether the lock was held can be seen at once.
class LockWatch {
public:
    explicit LockWatch(volatile int* counter) {
        counter_ = counter;
        thread_ = GetCurrentThreadId();
        seen.clear();
        realEnter_ = enterSlot;
        realLeave_ = leaveSlot;
        WriteImportSlot(&enterSlot, &Enter);
        WriteImportSlot(&leaveSlot, &Leave);
    }
    ~LockWatch() {
        WriteImportSlot(&enterSlot, realEnter_);
        WriteImportSlot(&leaveSlot, realLeave_);
    }
    LockWatch(const LockWatch&) = delete;
    LockWatch& operator=(const LockWatch&) = delete;

    static inline std::vector<int> seen;

private:
    static void WINAPI Enter(LPCRITICAL_SECTION lock) {
        realEnter_(lock);
        note();
    }
    static void WINAPI Leave(LPCRITICAL_SECTION lock) {
        note();
        realLeave_(lock);
    }
    static void note() {
        if (GetCurrentThreadId() == thread_) {
            seen.push_back(static_cast<int>(*counter_));
        }
    }
    static inline LockCall realEnter_;
    static inline LockCall realLeave_;
    static inline volatile int* counter_ = nullptr;
    static inline DWORD thread_ = 0;
};

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

// Runs `action` on a helper thread. One that has not returned within half a
// minute is taken as hung, and the process ends with a message, well within
// the suite's time limit, rather than stall the whole suite.
template <class Action>
void withinDeadline(const char* what, Action action) {
    std::promise<void> done;
    std::future<void> finished = done.get_future();
    std::thread worker([&] {
        action();
        done.set_value();
    });
    if (finished.wait_for(std::chrono::seconds(30)) != std::future_status::ready) {
        fprintf(stderr, "HUNG: %s did not return\n", what);
        fflush(stderr);
        ExitProcess(3);
    }
    worker.join();
}

// A generous bound on how long the device takes to hand back what it got.
constexpr DWORD kHandBackMs = 30000;
// How long the output lets a device keep every block before it resets it.
constexpr DWORD kStallMs = 2000;

}  // namespace audio_test
