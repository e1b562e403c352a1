#pragma once
// A horizontal scroll bar whose thumb the program positions itself (0 to
// 100). Keys typed while it has the focus are passed on to the parent form.
#include <windows.h>

// The scroll-bar class's own window procedure, which every subclassed scroll
// bar hands its messages on to.
extern WNDPROC ScrollBarProcAddr;

class TScrollBar {
public:
    HWND ScrollBarHwnd;
    int ID;  // drawn from IDord; the window's own control identifier stays 0

    // `Size` holds {x, y, width, height} in the parent's client coordinates;
    // `Caption` is accepted for symmetry with Button and not shown.
    TScrollBar(HWND hwnd, HINSTANCE hinst, const char* Caption, int* Size);
    // Leaves the window alone: it dies with its parent.
    ~TScrollBar();

    void SetPos(int pos);
    int GetPos();

    static LRESULT CALLBACK StatWndProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
};
