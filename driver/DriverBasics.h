#pragma once
// The small pieces the driver is made of that the tests use on their own as
// well: waiting for an outcome, a window's text, a whole file.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

// Polls `ready` every 20 ms until it holds or `limitMs` have passed; tells
// whether it held. Another process, the sound device and input through the
// display server all act on their own schedule, so a test waits for the
// outcome instead of assuming it.
template <typename Ready>
bool WaitFor(Ready ready, DWORD limitMs) {
    const DWORD start = GetTickCount();
    while (!ready()) {
        if (GetTickCount() - start >= limitMs) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

// The title or caption of `window`, in the ANSI character set.
inline std::string WindowText(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// The whole file; empty when it cannot be read.
inline std::vector<unsigned char> ReadFileBytes(const std::string& path) {
    std::vector<unsigned char> bytes;
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return bytes;
    }
    unsigned char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    std::fclose(file);
    return bytes;
}
