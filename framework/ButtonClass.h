#pragma once
// A push button on a form. Its clicks reach the form as WM_COMMAND with the
// button's ID; keys typed while it has the focus are passed on to the form
// too, so the form's keyboard handling works whichever control is focused.
#include <windows.h>

#include "AnsiString.h"
#include "properties.h"

// The push-button class's own window procedure, which every subclassed
// button hands its messages on to (all push buttons share it).
extern WNDPROC ButtonProcAddr;

class Button {
public:
    HWND ButtonHwnd;
    AnsiString CaptionText;  // the caption as last set, kept in step with the window text
    bool EnabledState;       // the enabled state as last set
    HFONT hFont;             // made by SetDefFont, owned by the button; null until then
    int ID;                  // control identifier, drawn from IDord

    property<Button, AnsiString, const AnsiString&> Caption;
    property<Button, bool, const bool&> Enabled;

    // `Size` holds {x, y, width, height} in the parent's client coordinates.
    Button(HWND hwnd, HINSTANCE hinst, const char* Caption, int* Size);
    // Leaves the window alone (it dies with its parent), except that a window
    // still using the button's font is handed the default font; releases the
    // font.
    ~Button();
    // The properties point at this very object, and the font has one owner.
    Button(const Button&) = delete;
    Button& operator=(const Button&) = delete;

    void SetCaption(const AnsiString& str);
    const AnsiString& GetCaption() const;
    AnsiString& GetRefCaption();

    void SetEnabled(const bool& en);
    const bool& GetEnabled() const;
    bool& GetRefEnabled();

    // Bold 8-point Tahoma instead of the system font.
    void SetDefFont();

    static LRESULT CALLBACK StatWndProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
};
