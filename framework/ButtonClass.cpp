#include "ButtonClass.h"

#include "hinstance.h"

WNDPROC ButtonProcAddr = nullptr;

Button::Button(HWND hwnd, HINSTANCE hinst, const char* Caption, int* Size)
    : ButtonHwnd(nullptr),
      CaptionText(),
      EnabledState(true),  // the control is created enabled
      hFont(nullptr),
      ID(0),
      Caption(this, &Button::GetCaption, &Button::SetCaption, &Button::GetRefCaption),
      Enabled(this, &Button::GetEnabled, &Button::SetEnabled, &Button::GetRefEnabled) {
    // No button-style bits: a plain push button. The identifier travels in
    // the menu argument, as for every child window.
    ButtonHwnd = CreateWindowExA(
        0, "Button", Caption, WS_CHILD | WS_VISIBLE, Size[0], Size[1], Size[2], Size[3], hwnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDord)), hinst, nullptr);
    // The identifier is used up even when creation failed, so that numbers
    // stay unique over the run.
    ID = IDord++;
    CaptionText.LoadStr(Caption);

    // A failed creation must not overwrite the class procedure that the
    // buttons made before still hand their messages to.
    if (ButtonHwnd) {
        ButtonProcAddr = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(ButtonHwnd, GWLP_WNDPROC));
        SetWindowLongPtrA(ButtonHwnd, GWLP_WNDPROC,
                          reinterpret_cast<LONG_PTR>(&Button::StatWndProc));
    }
}

Button::~Button() {
    if (!hFont)
        return;
    // A dialog form lets its buttons go before their windows die: a window
    // still drawing with our font gets the default font back first.
    if (IsWindow(ButtonHwnd) &&
        reinterpret_cast<HFONT>(SendMessageA(ButtonHwnd, WM_GETFONT, 0, 0)) == hFont)
        SendMessageA(ButtonHwnd, WM_SETFONT, 0, 1);
    DeleteObject(hFont);
}

void Button::SetCaption(const AnsiString& str) {
    CaptionText = str;
    SetWindowTextA(ButtonHwnd, CaptionText.c_str());
}

const AnsiString& Button::GetCaption() const {
    return CaptionText;
}

AnsiString& Button::GetRefCaption() {
    return CaptionText;
}

void Button::SetEnabled(const bool& en) {
    EnabledState = en;
    EnableWindow(ButtonHwnd, EnabledState);
}

const bool& Button::GetEnabled() const {
    return EnabledState;
}

bool& Button::GetRefEnabled() {
    return EnabledState;
}

void Button::SetDefFont() {
    HFONT previous = hFont;
    hFont = CreateFontA(-11, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_OUTLINE_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH, "Tahoma");
    SendMessageA(ButtonHwnd, WM_SETFONT, reinterpret_cast<WPARAM>(hFont), 1);
    // Only now that the control uses the new font may the old one go.
    if (previous)
        DeleteObject(previous);
}

LRESULT CALLBACK Button::StatWndProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    // The form handles the key first; the button then sees it as well, so
    // the space bar still presses it.
    if (Msg == WM_KEYDOWN || Msg == WM_CHAR)
        SendMessageA(GetParent(hWnd), Msg, wParam, lParam);
    return CallWindowProcA(ButtonProcAddr, hWnd, Msg, wParam, lParam);
}
