#pragma once
// Dispatching what is queued for the test's own thread, for the tests that
// create windows in their own process.
#include <windows.h>

#include <vector>

// Dispatches what is queued for this thread and returns the codes of the
// quit messages met on the way, in order; they are taken out of the queue,
// so that no quit request left behind ends a later test's modal loop.
// Bounded: a window that never validates its paint region gets WM_PAINT for
// ever, and that must make a test fail instead of hang.
inline std::vector<WPARAM> DrainQueue() {
    constexpr int kMostMessages = 1000;
    std::vector<WPARAM> quitCodes;
    MSG msg;
    for (int i = 0; i < kMostMessages && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            quitCodes.push_back(msg.wParam);
        } else {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return quitCodes;
}
