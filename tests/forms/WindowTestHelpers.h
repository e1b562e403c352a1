#pragma once
// Small helpers that the form and application tests share.
#include <windows.h>

#include <string>

#include "MessagePump.h"

inline std::string WindowText(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}
