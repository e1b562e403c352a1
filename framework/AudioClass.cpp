// Block-queued wave output. The window thread fills and queues blocks; the
// device's thread hands them back through waveOutProc. The only datum the two
// threads share is the free-block counter, changed under the lock only.
#include "AudioClass.h"

#include <cstring>

#include "AnsiString.h"

namespace {
constexpr int kBlockSize = 8192;
constexpr int kBlockCount = 20;
constexpr DWORD kPollMs = 10;
// A block lasts about 46 ms; a device that has handed none back for this long
// has stopped (paused, hung or gone) rather than fallen behind.
constexpr DWORD kStallMs = 2000;
}  // namespace

// One ring per process, shared by the object and the device callback.
static CRITICAL_SECTION waveCriticalSection;
static WAVEHDR* waveBlocks = nullptr;
static volatile int waveFreeBlockCount = kBlockCount;  // nothing queued
static int waveCurrentBlock = 0;

AudioClass::AudioClass() : error(0), hWaveOut(nullptr), wfx{} {
    waveBlocks = allocateBlocks(kBlockSize, kBlockCount);
    if (!waveBlocks) {
        error = 1;
        return;
    }
    waveFreeBlockCount = kBlockCount;
    waveCurrentBlock = 0;
    InitializeCriticalSection(&waveCriticalSection);

    wfx.wFormatTag = WAVE_FORMAT_PCM;
    wfx.nChannels = 2;
    wfx.nSamplesPerSec = 44100;
    wfx.wBitsPerSample = 16;
    wfx.nBlockAlign = static_cast<WORD>(wfx.nChannels * wfx.wBitsPerSample / 8);
    wfx.nAvgBytesPerSec = wfx.nBlockAlign * wfx.nSamplesPerSec;
    wfx.cbSize = 0;

    MMRESULT opened =
        waveOutOpen(&hWaveOut, WAVE_MAPPER, &wfx, reinterpret_cast<DWORD_PTR>(&waveOutProc),
                    reinterpret_cast<DWORD_PTR>(&waveFreeBlockCount), CALLBACK_FUNCTION);
    if (opened != MMSYSERR_NOERROR) {
        hWaveOut = nullptr;
        ShowError("Unable to open wave mapper device", "ERROR opening Audio");
        error = 1;
    }
}

AudioClass::~AudioClass() {
    if (!waveBlocks) {
        return;  // the allocation failed: no ring, no lock, no device
    }
    // Only blocks the device accepted count as queued; without a device
    // nothing was queued and nothing is waited for.
    waitForFreeBlocks(kBlockCount);
    // The callback counts the last block inside the lock; taking the lock
    // once makes sure it has left it before the lock is deleted.
    EnterCriticalSection(&waveCriticalSection);
    LeaveCriticalSection(&waveCriticalSection);

    for (int i = 0; i < kBlockCount; ++i) {
        if (waveBlocks[i].dwFlags & WHDR_PREPARED) {
            waveOutUnprepareHeader(hWaveOut, &waveBlocks[i], sizeof(WAVEHDR));
        }
    }
    DeleteCriticalSection(&waveCriticalSection);
    freeBlocks(waveBlocks);
    waveBlocks = nullptr;
    if (hWaveOut) {
        waveOutClose(hWaveOut);
    }
}

void AudioClass::writeAudio(const unsigned char* data, int size) {
    // Without a device nothing would ever come back: the sound is dropped
    // rather than the caller held for ever.
    if (!hWaveOut || !data || size <= 0) {
        return;
    }
    WAVEHDR* current = &waveBlocks[waveCurrentBlock];
    while (size > 0) {
        // A block the device has finished with is still prepared.
        if (current->dwFlags & WHDR_PREPARED) {
            waveOutUnprepareHeader(hWaveOut, current, sizeof(WAVEHDR));
        }
        const int filled = static_cast<int>(current->dwUser);
        if (size < kBlockSize - filled) {
            memcpy(current->lpData + filled, data, size);
            current->dwUser += size;
            return;
        }
        const int remain = kBlockSize - filled;
        memcpy(current->lpData + filled, data, remain);
        size -= remain;
        data += remain;

        if (!queueBlock(current)) {
            // The device refused the block: its bytes are lost, and the block
            // is filled again rather than counted as queued for ever.
            current->dwUser = 0;
            continue;
        }
        // The next block in ring order is the oldest queued one; once the
        // counter shows a free block, the device has handed that one back.
        waitForFreeBlocks(1);
        waveCurrentBlock = (waveCurrentBlock + 1) % kBlockCount;
        current = &waveBlocks[waveCurrentBlock];
        current->dwUser = 0;
    }
}

// Polls the counter without the lock, as its only writers change it under
// the lock and a stale read merely costs one more poll. A device that keeps
// its blocks would hold the window thread (or the program's exit) for ever:
// after a stall it is reset, which hands every queued block back through the
// callback (on this thread, so the lock must not be held here), and then let
// run again, so that what is written next is played.
void AudioClass::waitForFreeBlocks(int wanted) {
    int lastSeen = waveFreeBlockCount;
    DWORD lastReturn = GetTickCount();
    while (waveFreeBlockCount < wanted) {
        Sleep(kPollMs);
        const int seen = waveFreeBlockCount;
        if (seen != lastSeen) {
            lastSeen = seen;
            lastReturn = GetTickCount();
        } else if (GetTickCount() - lastReturn >= kStallMs) {
            waveOutReset(hWaveOut);
            waveOutRestart(hWaveOut);
            lastReturn = GetTickCount();
        }
    }
}

int AudioClass::FreeBlocksCnt() {
    return waveFreeBlockCount;
}

// Hands a full block to the device. The counter drops before the write so
// that the device's hand-back can never take it above the ring size.
bool AudioClass::queueBlock(WAVEHDR* block) {
    block->dwBufferLength = kBlockSize;
    // A block that came back still carries its done bit; the device expects
    // no flags on a header it is to prepare.
    block->dwFlags = 0;
    if (waveOutPrepareHeader(hWaveOut, block, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        return false;
    }
    EnterCriticalSection(&waveCriticalSection);
    waveFreeBlockCount = waveFreeBlockCount - 1;
    LeaveCriticalSection(&waveCriticalSection);

    if (waveOutWrite(hWaveOut, block, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        EnterCriticalSection(&waveCriticalSection);
        waveFreeBlockCount = waveFreeBlockCount + 1;
        LeaveCriticalSection(&waveCriticalSection);
        waveOutUnprepareHeader(hWaveOut, block, sizeof(WAVEHDR));
        return false;
    }
    return true;
}

// The ring in one zero-filled allocation: the headers first, then the data
// areas in the same order.
WAVEHDR* AudioClass::allocateBlocks(int size, int count) {
    const SIZE_T totalBufferSize = (size + sizeof(WAVEHDR)) * count;
    auto* buffer =
        static_cast<unsigned char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, totalBufferSize));
    if (!buffer) {
        ShowError("Memory allocation error", "ERROR opening Audio");
        return nullptr;
    }
    auto* blocks = reinterpret_cast<WAVEHDR*>(buffer);
    unsigned char* dataAreas = buffer + sizeof(WAVEHDR) * count;
    for (int i = 0; i < count; ++i) {
        blocks[i].dwBufferLength = size;
        blocks[i].lpData = reinterpret_cast<LPSTR>(dataAreas + static_cast<SIZE_T>(i) * size);
    }
    return blocks;
}

void AudioClass::freeBlocks(WAVEHDR* blockArray) {
    if (blockArray) {
        HeapFree(GetProcessHeap(), 0, blockArray);
    }
}

// Runs on the device's thread. Only a finished block changes anything.
void CALLBACK AudioClass::waveOutProc(HWAVEOUT, UINT uMsg, DWORD_PTR dwInstance, DWORD_PTR,
                                      DWORD_PTR) {
    if (uMsg != WOM_DONE) {
        return;
    }
    auto* freeBlockCounter = reinterpret_cast<volatile int*>(dwInstance);
    EnterCriticalSection(&waveCriticalSection);
    *freeBlockCounter = *freeBlockCounter + 1;
    LeaveCriticalSection(&waveCriticalSection);
    TimerCallBack();
}
