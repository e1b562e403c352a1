// A demonstration run for machines without a screen or a sound card, in two
// steps around a screenshot taken by the caller:
//
//   warbletone_demo start <Warbletone.exe>
//       starts the program, presses "START" and then "STOP", scrolls a
//       little, leaves it running and prints the part of the screen its
//       window covers as an ImageMagick geometry (WxH+X+Y);
//   warbletone_demo stop <file.wav>
//       closes the program, waits until it has played everything, and saves
//       what the sound device received (WARBLE_AUDIO_SINK) as a WAV file.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "AudioSink.h"
#include "ProgramDriver.h"
#include "WinePath.h"

namespace {

constexpr int kDemoScrollSteps = 2;
// What "START" and "STOP" hand over: the sample and its processed copy, each
// 8192 bytes played eight times.
constexpr size_t kPlayedBytes = 2 * 8 * 8192;

int Start(const std::string& exe) {
    RunningProgram program(WindowsPath(exe));
    if (!program.WaitForMainWindow()) {
        std::fprintf(stderr, "The program's window did not appear.\n");
        return 1;
    }
    if (!program.Click("START") || !program.Click("STOP") ||
        !program.PressKeys(program.form(), VK_RIGHT, kDemoScrollSteps)) {
        std::fprintf(stderr, "The program did not answer.\n");
        return 1;
    }
    RECT window;
    GetWindowRect(program.form(), &window);
    const RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    IntersectRect(&window, &window, &screen);
    std::printf("%ldx%ld+%ld+%ld\n", window.right - window.left, window.bottom - window.top,
                window.left, window.top);
    program.LeaveRunning();
    return 0;
}

void PutLE(std::vector<unsigned char>& out, unsigned long value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<unsigned char>((value >> (8 * i)) & 0xFF));
    }
}

// 44100 Hz, 16 bits, two channels, as the program plays: what the device
// received from its first sound on (the sample starts with sound), for the
// program's own length, the processed copy's silent tail included. Silence
// the device added before or after is left out. Should it have filled a gap
// with silence, the file keeps the gap and runs on to the last sound.
bool SaveWave(const std::vector<unsigned char>& received, const std::string& path) {
    constexpr size_t kFrame = AudioSink::kFrameBytes;
    const size_t whole = received.size() - received.size() % kFrame;
    size_t first = 0;
    while (first < whole && AudioSink::IsSilentFrame(&received[first])) {
        first += kFrame;
    }
    size_t soundEnd = whole;
    while (soundEnd > first && AudioSink::IsSilentFrame(&received[soundEnd - kFrame])) {
        soundEnd -= kFrame;
    }
    const size_t end = std::min(whole, std::max(soundEnd, first + kPlayedBytes));
    const unsigned long dataBytes = static_cast<unsigned long>(end - first);
    std::vector<unsigned char> wave;
    wave.insert(wave.end(), {'R', 'I', 'F', 'F'});
    PutLE(wave, 36 + dataBytes, 4);
    wave.insert(wave.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    PutLE(wave, 16, 4);      // format chunk size
    PutLE(wave, 1, 2);       // PCM
    PutLE(wave, 2, 2);       // channels
    PutLE(wave, 44100, 4);   // frames per second
    PutLE(wave, 176400, 4);  // bytes per second
    PutLE(wave, 4, 2);       // bytes per frame
    PutLE(wave, 16, 2);      // bits per sample
    wave.insert(wave.end(), {'d', 'a', 't', 'a'});
    PutLE(wave, dataBytes, 4);
    wave.insert(wave.end(), received.begin() + first, received.begin() + end);

    FILE* file = std::fopen(WindowsPath(path).c_str(), "wb");
    if (!file) {
        return false;
    }
    const bool written = std::fwrite(wave.data(), 1, wave.size(), file) == wave.size();
    return std::fclose(file) == 0 && written;
}

int Stop(const std::string& wavePath) {
    HWND form = FindWindowA(kProgramTitle, kProgramTitle);
    if (!form) {
        std::fprintf(stderr, "The program is not running.\n");
        return 1;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(form, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, processId);
    PostMessageA(form, WM_CLOSE, 0, 0);
    DWORD exitCode = RunningProgram::kNoExit;
    if (process && WaitForSingleObject(process, 60000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process, &exitCode);
    }
    if (process) {
        CloseHandle(process);
    }
    if (exitCode != 0) {
        std::fprintf(stderr, "The program did not end cleanly.\n");
        return 1;
    }
    AudioSink sink;
    if (!sink.available() || !SaveWave(sink.bytes(), wavePath)) {
        std::fprintf(stderr, "Cannot save the sound as %s.\n", wavePath.c_str());
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "start") == 0) {
        return Start(argv[2]);
    }
    if (argc == 3 && std::strcmp(argv[1], "stop") == 0) {
        return Stop(argv[2]);
    }
    std::fprintf(stderr, "usage: warbletone_demo start <Warbletone.exe> | stop <file.wav>\n");
    return 2;
}
