#pragma once
// Small helpers that the form and application tests share.
#include <windows.h>

#include <string>
#include <vector>

// Every quit message posted meanwhile, in order; dispatches the rest and
// leaves the queue empty, so that no quit request ends a later test's modal
// loop.
inline std::vector<WPARAM> DrainQueue() {
    std::vector<WPARAM> quitCodes;
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quitCodes.push_back(msg.wParam);
        } else {
            DispatchMessageA(&msg);
        }
    }
    return quitCodes;
}

inline std::string WindowText(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}
