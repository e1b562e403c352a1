#include "FormClass.h"

#include "hinstance.h"

namespace {

constexpr int kIconResource = 101;
constexpr int kMenuResource = 100;

// The background brush is given as a raw system-colour value; 5 is read by
// the platform as colour index 4, the menu colour.
const HBRUSH kBackgroundBrush = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(5));

// Mouse positions are the two unsigned 16-bit halves of lParam, so a captured
// mouse left of or above the client area gives numbers near 65535.
int MouseX(LPARAM lParam) {
    return LOWORD(lParam);
}
int MouseY(LPARAM lParam) {
    return HIWORD(lParam);
}

char CharOf(WPARAM wParam) {
    return static_cast<char>(static_cast<unsigned char>(wParam & 0xFF));
}

// The handler's code for a WM_ACTIVATE state; 0 for a state that calls no
// handler (the window is minimized, so the high word is set).
int ActivationOf(WPARAM wParam) {
    switch (wParam) {
        case WA_ACTIVE:
            return 1;
        case WA_CLICKACTIVE:
            return 2;
        case WA_INACTIVE:
            return 3;
        default:
            return 0;
    }
}

// Posted by the size rule to apply itself again once the platform has
// finished the change it was reporting. Registered, so that it cannot clash
// with a derived form's own messages.
UINT KeepGeometryAgainMessage() {
    static const UINT message = RegisterWindowMessageA("Warbletone.KeepGeometryAgain");
    return message;
}

FormClass* FormOf(HWND window) {
    return reinterpret_cast<FormClass*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Clears the window's link to `form`, if the window still exists and is
// linked to it.
void Detach(HWND window, FormClass* form) {
    if (window != nullptr && IsWindow(window) && FormOf(window) == form) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    }
}

}  // namespace

FormClass::~FormClass() {
    // Its window may outlive the form; from now on that window's messages go
    // to the default procedure instead of a deleted object.
    Detach(hwnd, this);
    Detach(DialogHWND, this);
}

bool FormClass::RegisterFormClass(const char* AppName, HICON icon, LPCSTR menu) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = InitialWndProc;
    wc.cbClsExtra = 0;
    wc.cbWndExtra = 0;
    wc.hInstance = hInst;
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = kBackgroundBrush;
    wc.lpszMenuName = menu;
    wc.lpszClassName = AppName;
    if (RegisterClassExA(&wc) == 0) {
        MessageBoxA(nullptr, "Error registering class", "ERROR", MB_ICONWARNING);
        return false;
    }
    return true;
}

void FormClass::CreateFormWindow(const char* AppName, int X, int Y, int Wid, int Hei) {
    // WM_CREATE reaches BuildForm inside this call, before hwnd is stored.
    hwnd = CreateWindowExA(0, AppName, AppName, WS_OVERLAPPEDWINDOW, X, Y, Wid, Hei, nullptr,
                           nullptr, hInst, this);
}

void FormClass::CreateHidden(const char* AppName, int Wid, int Hei) {
    WID = Wid;
    HEI = Hei;
    ChildOfMainForm = 1;
    Visible = false;
    if (!RegisterFormClass(AppName, LoadIconA(nullptr, IDI_APPLICATION), nullptr)) {
        return;
    }
    CreateFormWindow(AppName, CW_USEDEFAULT, CW_USEDEFAULT, Wid, Hei);
}

void FormClass::Create(const char* AppName, int Wid, int Hei) {
    CreateHidden(AppName, Wid, Hei);
    ChildOfMainForm = 0;
    ShowWindow(hwnd, Fstil);
    Visible = true;
}

void FormClass::CreateSpecial(const char* AppName, int StX, int StY, int Wid, int Hei, int Mode) {
    WID = Wid;
    HEI = Hei;
    STX = StX;
    STY = StY;
    if (Mode < 1 || Mode > 4) {
        return;
    }
    const bool withMenu = Mode == 1 || Mode == 3;
    const bool mainForm = Mode == 1 || Mode == 2;
    HICON icon = LoadIconA(hInst, MAKEINTRESOURCEA(kIconResource));
    if (!RegisterFormClass(AppName, icon, withMenu ? MAKEINTRESOURCEA(kMenuResource) : nullptr)) {
        return;
    }
    CreateFormWindow(AppName, StX, StY, Wid, Hei);
    if (withMenu) {
        // The "ATOM" menu is handed to no window (the class menu is what the
        // window carries), so it is released here rather than leaked.
        if (HMENU atom = LoadMenuA(hInst, "ATOM")) {
            SetMenu(nullptr, atom);
            DestroyMenu(atom);
        }
    }
    if (mainForm) {
        ChildOfMainForm = 0;
        ShowWindow(hwnd, Fstil);
        Visible = true;
    } else {
        ChildOfMainForm = 1;
        Visible = false;
    }
}

void FormClass::Show() {
    ShowWindow(hwnd, SW_SHOW);
    Visible = true;
    OnShow();
}

void FormClass::Hide() {
    ShowWindow(hwnd, SW_HIDE);
    Visible = false;
}

void FormClass::Update() {
    InvalidateRect(hwnd, nullptr, FALSE);
}

void FormClass::Title(const char* title) {
    SendMessageA(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title));
}

void FormClass::KeepGeometry(HWND window) {
    // Moving a minimized window moves what stands for it on the desktop, away
    // from where the platform keeps minimized windows (off screen on Windows
    // with a taskbar). It is left there; restoring it sends a size message
    // of its own, which puts it back.
    if (IsIconic(window)) {
        return;
    }
    MoveWindow(window, STX, STY, WID, HEI, TRUE);
    // Under Wine with a window manager this move may not hold: a maximized
    // window stays maximized, and a move made while Wine is reporting the
    // window manager's size does not reach the screen. Applied again from
    // the queue, the rule holds; on Windows it changes nothing.
    if (MayKeepGeometryAgain()) {
        PostMessageA(window, KeepGeometryAgainMessage(), 0, 0);
    }
}

bool FormClass::MayKeepGeometryAgain() {
    // A window manager that insists on a size of its own (a tiling one)
    // answers every move with that size again; the rule then gives way for
    // the rest of the period instead of fighting it without end.
    const DWORD now = GetTickCount();
    if (now - geometryRepeatPeriodStart_ >= kGeometryRepeatPeriodMs) {
        geometryRepeatPeriodStart_ = now;
        geometryRepeats_ = 0;
    }
    return geometryRepeats_++ < kGeometryRepeatsPerPeriod;
}

void FormClass::KeepGeometryAgain(HWND window) {
    // Restoring sends a size message of its own, which applies the rule. It
    // neither takes the focus nor shows a form hidden in the meantime. A
    // window minimized in the meantime stays where it is, as above.
    if (IsIconic(window)) {
        return;
    }
    if (IsZoomed(window) && IsWindowVisible(window)) {
        ShowWindow(window, SW_SHOWNOACTIVATE);
        restoredAt_ = GetTickCount();
        awaitingRestoreAnswer_ = true;
    } else {
        MoveWindow(window, STX, STY, WID, HEI, TRUE);
    }
}

void FormClass::AnswerRestoreMove(HWND window) {
    // A window manager answers the restore of a maximized window with a place
    // of its own (where it had the window before maximizing it), and that
    // answer may reach the program after the rule's move. It then moves the
    // window without resizing it, which sends no size message. A move soon
    // after the restore, leaving the window at the rule's size somewhere
    // else, is taken for that answer; a later one, as a title-bar drag, is
    // kept until the next size change.
    if (!awaitingRestoreAnswer_) {
        return;
    }
    if (GetTickCount() - restoredAt_ >= kRestoreAnswerMs) {
        awaitingRestoreAnswer_ = false;
        return;
    }
    RECT rect;
    GetWindowRect(window, &rect);
    const bool ruleSize = rect.right - rect.left == WID && rect.bottom - rect.top == HEI;
    const bool rulePlace = rect.left == STX && rect.top == STY;
    if (ruleSize && !rulePlace && !IsIconic(window) && !IsZoomed(window) &&
        MayKeepGeometryAgain()) {
        PostMessageA(window, KeepGeometryAgainMessage(), 0, 0);
    }
}

// What window forms and dialog forms do alike: the size rule's second step,
// and the handlers for input, commands, timers and activation; false for any
// other message.
bool FormClass::CallCommonHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == KeepGeometryAgainMessage()) {
        KeepGeometryAgain(window);
        return true;
    }
    switch (message) {
        case WM_MOVE:
            AnswerRestoreMove(window);
            return false;  // the default processing as for any move
        case WM_ACTIVATE:
            if (int act = ActivationOf(wParam)) {
                Activate(act);
            }
            return true;
        case WM_KEYDOWN:
            OnKeyDown(wParam);
            return true;
        case WM_CHAR:
            OnChar(CharOf(wParam));
            return true;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam));
            return true;
        case WM_TIMER:
            OnTimer(static_cast<unsigned int>(wParam));
            return true;
        case WM_MOUSEMOVE:
            OnMouseMove(MouseX(lParam), MouseY(lParam));
            return true;
        case WM_LBUTTONDOWN:
            OnMouseButton(MouseX(lParam), MouseY(lParam));
            return true;
        case WM_LBUTTONUP:
            OnMouseButtonUp(MouseX(lParam), MouseY(lParam));
            return true;
        case WM_LBUTTONDBLCLK:
            OnMouseDbClick(MouseX(lParam), MouseY(lParam));
            return true;
        case WM_RBUTTONDOWN:
            OnMouseRightBtn(MouseX(lParam), MouseY(lParam));
            return true;
        case WM_RBUTTONUP:
            OnMouseRightBtnUp(MouseX(lParam), MouseY(lParam));
            return true;
        default:
            return false;
    }
}

LRESULT FormClass::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            BuildForm(hwnd, hInst);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        case WM_SIZE:
            KeepGeometry(hwnd);
            return 0;
        case WM_PAINT:
            // The default processing validates whatever the handler left
            // unpainted, so WM_PAINT does not come again.
            OnPaint();
            return DefWindowProcA(hwnd, message, wParam, lParam);
        case WM_CLOSE:
            if (ChildOfMainForm != 0) {
                Hide();
            } else {
                DefWindowProcA(hwnd, message, wParam, lParam);
            }
            return 0;
        case MM_WIM_DATA:
            OnAudioRecData();
            return 0;
        case WM_USER:
            OnUserMessage(wParam, lParam);
            return 0;
    }
    // A handled WM_ACTIVATE is not passed on either.
    if (CallCommonHandler(hwnd, message, wParam, lParam)) {
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK FormClass::InitialWndProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (Msg != WM_NCCREATE) {
        return DefWindowProcA(hWnd, Msg, wParam, lParam);
    }
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    auto* form = static_cast<FormClass*>(create->lpCreateParams);
    // A window of a form's class created without a form is a plain window.
    if (form == nullptr) {
        return DefWindowProcA(hWnd, Msg, wParam, lParam);
    }
    SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWndProc));
    return form->WndProc(hWnd, Msg, wParam, lParam);
}

LRESULT CALLBACK FormClass::StaticWndProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    // A window whose form was deleted has no form left to ask.
    if (FormClass* form = FormOf(hWnd)) {
        return form->WndProc(hWnd, Msg, wParam, lParam);
    }
    return DefWindowProcA(hWnd, Msg, wParam, lParam);
}

void FormClass::CreateDialogBox(HWND Owner, int Resource) {
    DialogOwner = Owner;
    DialogResource = Resource;
}

int FormClass::ShowModal() {
    const WORD templateId = LOWORD(DialogResource);
    return static_cast<int>(DialogBoxParamA(hInst, MAKEINTRESOURCEA(templateId), DialogOwner,
                                            InitialDialogFunc, reinterpret_cast<LPARAM>(this)));
}

void FormClass::ModalResult(int result) {
    EndDialog(DialogHWND, result);
}

BOOL FormClass::DialogFunc(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam) {
    DialogHWND = hDlg;
    switch (Msg) {
        case WM_DESTROY:
            // Ending a dialog does not end the application: no quit message.
            DestroyForm();
            return TRUE;
        case WM_SIZE:
        case WM_SIZING:
            KeepGeometry(hDlg);
            return TRUE;
        case WM_PAINT: {
            OnPaint();
            PAINTSTRUCT ps;
            BeginPaint(hDlg, &ps);
            EndPaint(hDlg, &ps);
            return TRUE;
        }
        case WM_CLOSE:
            ModalResult(IDCANCEL);
            return TRUE;
        case WM_SYSKEYDOWN:
            // Alt combinations reach the form in a dialog, not in a window.
            OnKeyDown(wParam);
            return TRUE;
        case WM_INITDIALOG: {
            SendMessageA(
                hDlg, WM_SETICON, ICON_SMALL,
                reinterpret_cast<LPARAM>(LoadIconA(hInst, MAKEINTRESOURCEA(kIconResource))));
            // Geometry the caller left unset is taken from where the
            // platform put the dialog.
            WINDOWINFO info = {};
            info.cbSize = sizeof(info);
            GetWindowInfo(hDlg, &info);
            if (STX == -1) {
                STX = info.rcWindow.left;
            }
            if (STY == -1) {
                STY = info.rcWindow.top;
            }
            if (WID == -1) {
                WID = info.rcWindow.right - info.rcWindow.left;
            }
            if (HEI == -1) {
                HEI = info.rcWindow.bottom - info.rcWindow.top;
            }
            BuildForm(hDlg, hInst);
            // TRUE lets the platform give the focus to the control it proposes.
            return TRUE;
        }
    }
    // The size rule's second step, input, commands, timers and activation as
    // in a window form; FALSE leaves every other message to the dialog
    // manager.
    return CallCommonHandler(hDlg, Msg, wParam, lParam) ? TRUE : FALSE;
}

INT_PTR CALLBACK FormClass::InitialDialogFunc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
    if (FormClass* form = FormOf(hWnd)) {
        return form->DialogFunc(hWnd, Msg, wParam, lParam);
    }
    // Before WM_INITDIALOG there is no form yet, and a dialog run on this
    // procedure without one never has one: the dialog manager's default
    // processing.
    if (Msg != WM_INITDIALOG || lParam == 0) {
        return FALSE;
    }
    // The form is linked only after its WM_INITDIALOG handling; messages sent
    // to the dialog meanwhile get the dialog manager's default processing.
    auto* form = reinterpret_cast<FormClass*>(lParam);
    // The form's answer decides whether the platform gives the first focus.
    const INT_PTR focusProposed = form->DialogFunc(hWnd, Msg, wParam, lParam);
    SetWindowLongPtrA(hWnd, GWLP_USERDATA, lParam);
    return focusProposed;
}
