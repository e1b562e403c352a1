#include "TScrollBar.h"

#include "hinstance.h"

WNDPROC ScrollBarProcAddr = nullptr;

TScrollBar::TScrollBar(HWND hwnd, HINSTANCE hinst, const char* /*Caption*/, int* Size)
    : ScrollBarHwnd(nullptr), ID(0) {
    // No scroll-bar style bits: a horizontal bar. Its window identifier
    // stays 0; the number drawn below is the wrapper's own.
    ScrollBarHwnd = CreateWindowExA(0, "SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE, Size[0],
                                    Size[1], Size[2], Size[3], hwnd, nullptr, hinst, nullptr);
    SetScrollRange(ScrollBarHwnd, SB_CTL, 0, 100, TRUE);
    ID = IDord++;

    // A failed creation must not overwrite the class procedure that the
    // scroll bars made before still hand their messages to.
    if (ScrollBarHwnd) {
        ScrollBarProcAddr =
            reinterpret_cast<WNDPROC>(GetWindowLongPtrA(ScrollBarHwnd, GWLP_WNDPROC));
        SetWindowLongPtrA(ScrollBarHwnd, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(&TScrollBar::StatWndProc));
    }
}

TScrollBar::~TScrollBar() {}

void TScrollBar::SetPos(int pos) {
    SetScrollPos(ScrollBarHwnd, SB_CTL, pos, TRUE);
}

int TScrollBar::GetPos() {
    return GetScrollPos(ScrollBarHwnd, SB_CTL);
}

LRESULT CALLBACK TScrollBar::StatWndProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    HWND parent = GetParent(hWnd);
    switch (Msg) {
        case WM_KEYDOWN:
        case WM_CHAR:
            SendMessageA(parent, Msg, wParam, lParam);
            break;
        case WM_GETDLGCODE:
            // A dialog-style message loop asks for the dialog code before it
            // would take Enter, Tab or Escape for itself; the form is told
            // of the key then, so it sees those keys under any loop.
            if (wParam == VK_RETURN || wParam == VK_TAB || wParam == VK_ESCAPE)
                SendMessageA(parent, WM_KEYDOWN, wParam, 0);
            break;
    }
    return CallWindowProcA(ScrollBarProcAddr, hWnd, Msg, wParam, lParam);
}
