#pragma once
// Plays raw PCM (44100 Hz, 16 bits, two channels) through the default wave
// output device. Bytes are copied into a ring of 20 blocks of 8192 bytes; a
// block is queued to the device as soon as it is full, and the device hands
// it back through a callback on its own thread. The ring and its lock are
// state of this unit, so at most one AudioClass may exist at a time.
#include <windows.h>
// after windows.h, which it needs
#include <mmsystem.h>

// Defined by the application: called on the device's thread after every
// block the device has finished playing.
void TimerCallBack();

class AudioClass {
public:
    int error;  // 1 when the ring could not be allocated or the device not opened

    AudioClass();
    // Returns once every queued block has been played; a partly filled block
    // is dropped. A device that has stopped handing blocks back is reset.
    ~AudioClass();
    AudioClass(const AudioClass&) = delete;
    AudioClass& operator=(const AudioClass&) = delete;

    // Appends `size` bytes; holds the caller while every block is queued,
    // until the device hands one back or, stalled, is reset.
    void writeAudio(const unsigned char* data, int size);
    // Blocks not queued to the device: 20 when all is played.
    int FreeBlocksCnt();

private:
    HWAVEOUT hWaveOut;  // null when the device could not be opened
    WAVEFORMATEX wfx;

    WAVEHDR* allocateBlocks(int size, int count);
    void freeBlocks(WAVEHDR* blockArray);
    bool queueBlock(WAVEHDR* block);  // false when the device refused it
    void waitForFreeBlocks(int wanted);
    static void CALLBACK waveOutProc(HWAVEOUT hWaveOut, UINT uMsg, DWORD_PTR dwInstance,
                                     DWORD_PTR dwParam1, DWORD_PTR dwParam2);

    // Lets the unit's tests drive the device callback and the handle directly.
    friend struct AudioClassTestAccess;
};
