// A hook library for the end-to-end tests. Installed system-wide, it makes
// every attempt to create a window titled like the program's main window
// fail, so a test can see how the program copes when its window cannot be
// created.
#include <windows.h>

#include <cstring>

#include "ProgramDriver.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK RefuseMainWindow(int code, WPARAM wParam,
                                                                   LPARAM lParam) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        if (create->lpszName && std::strcmp(create->lpszName, kProgramTitle) == 0) {
            return 1;  // refuses the creation
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
