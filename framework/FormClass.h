#pragma once
// A top-level window and the object that owns it. The form registers a window
// class named after its title, creates the window with itself as creation
// parameter and turns each incoming message into a call of one of its
// virtual handlers with decoded arguments. A derived form overrides the
// handlers it needs; the others do nothing.
//
// The same object can run as a modal dialog built from a dialog template
// (CreateDialogBox, ShowModal); its handlers are then called from the dialog
// procedure instead.
//
// A form keeps a fixed geometry: whenever its window is resized it is put
// back to STX, STY, WID, HEI, and once more from the message queue, where a
// maximized window is first restored (a window manager may not let the
// first move hold, and may answer the restore with a place of its own after
// it). A minimized window is left where the platform keeps it until it is
// restored.
#include <windows.h>

class FormClass {
public:
    char ChildOfMainForm = 0;    // 1: closing only hides the window; 0: closing destroys it
    int STX = -1;                // screen x of the top-left corner; -1 = unset
    int STY = -1;                // screen y of the top-left corner; -1 = unset
    int WID = -1;                // outer width, frame and caption included; -1 = unset
    int HEI = -1;                // outer height; -1 = unset
    HWND hwnd = nullptr;         // the form's window, stored once creation returns
    bool Visible = false;        // true after Show, false after Hide
    HWND DialogHWND = nullptr;   // the dialog window while ShowModal runs
    HWND DialogOwner = nullptr;  // owner window of the modal dialog
    int DialogResource = 0;      // dialog template id (low 16 bits used)

    FormClass() = default;
    // Detaches the form from a window that outlives it, so that no message
    // reaches the deleted object; the window itself is left alone.
    virtual ~FormClass();

    virtual void OnCommand(WORD /*command*/) {}
    virtual void OnKeyDown(WPARAM /*w*/) {}
    virtual void OnChar(char /*ch*/) {}
    virtual void OnMouseButton(int /*X*/, int /*Y*/) {}
    virtual void OnMouseButtonUp(int /*X*/, int /*Y*/) {}
    virtual void OnMouseMove(int /*X*/, int /*Y*/) {}
    virtual void OnPaint() {}
    virtual void OnShow() {}
    virtual void OnMouseRightBtn(int /*X*/, int /*Y*/) {}
    virtual void OnMouseRightBtnUp(int /*X*/, int /*Y*/) {}
    virtual void OnMouseDbClick(int /*X*/, int /*Y*/) {}
    virtual void OnTimer(unsigned int /*TimerID*/) {}
    virtual void Activate(int /*act*/) {}  // 1 activated, 2 by a click, 3 deactivated
    virtual void OnUserMessage(WPARAM /*wParam*/, LPARAM /*lParam*/) {}
    virtual void OnAudioRecData() {}
    // Where a derived form creates its child controls and other resources.
    virtual void BuildForm(HWND /*Bhwnd*/, HINSTANCE /*BhInst*/) {}
    // Where a derived form releases them; its destructor calls it.
    virtual void DestroyForm() {}

    // A main form, shown at once with Fstil; closing it ends the application.
    void Create(const char* AppName, int Wid, int Hei);
    // A secondary form, created hidden at the system's default position.
    void CreateHidden(const char* AppName, int Wid, int Hei);
    // Explicit position; the class gets icon 101, and menu 100 in modes 1 and
    // 3. Modes 1 and 2 make a main form, 3 and 4 a hidden secondary form; any
    // other mode creates nothing.
    void CreateSpecial(const char* AppName, int StX, int StY, int Wid, int Hei, int Mode);

    void Show();    // shows the window and calls OnShow
    void Hide();    // hides the window; no handler is called
    void Update();  // asks for a repaint of the whole client area
    void Title(const char* title);

    LRESULT WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK InitialWndProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK StaticWndProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

    void CreateDialogBox(HWND Owner, int Resource);
    // Runs the dialog and returns what ModalResult gave; when the dialog
    // could not run, -1 (or 0 for an owner that is not a window).
    int ShowModal();
    void ModalResult(int result);  // ends the running dialog with result
    BOOL DialogFunc(HWND hDlg, UINT Msg, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK InitialDialogFunc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

    FormClass(const FormClass&) = delete;
    FormClass& operator=(const FormClass&) = delete;

private:
    bool RegisterFormClass(const char* AppName, HICON icon, LPCSTR menu);
    void CreateFormWindow(const char* AppName, int X, int Y, int Wid, int Hei);
    void KeepGeometry(HWND window);
    void KeepGeometryAgain(HWND window);
    bool MayKeepGeometryAgain();
    void AnswerRestoreMove(HWND window);
    bool CallCommonHandler(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // How often per period the size rule may apply itself again.
    static constexpr DWORD kGeometryRepeatPeriodMs = 1000;
    static constexpr int kGeometryRepeatsPerPeriod = 8;
    DWORD geometryRepeatPeriodStart_ = 0;
    int geometryRepeats_ = 0;
    // How long after the rule restored a maximized window a move is taken
    // for the window manager's answer to that restore.
    static constexpr DWORD kRestoreAnswerMs = 2000;
    DWORD restoredAt_ = 0;
    bool awaitingRestoreAnswer_ = false;
};
