// Program entry: the process-wide values the framework reads, the main form
// and the message loop.
#include <windows.h>

#include "AnsiString.h"
#include "ApplicationClass.h"
#include "MainForm.h"
#include "hinstance.h"

HINSTANCE hInst;
int Fstil;
int IDord = 1;
ApplicationClass Appl;
ApplicationClass* Application = &Appl;
MainForm* MainFormWin = nullptr;

// Called by the wave output on its own thread after every finished block;
// the program needs no notification.
void TimerCallBack() {}

int WINAPI WinMain(HINSTANCE hThisInstance, HINSTANCE /*hPrevInstance*/, LPSTR /*lpszArgument*/,
                   int nFunsterStil) {
    hInst = hThisInstance;
    Fstil = nFunsterStil;

    // The window is created, built and shown inside the constructor.
    MainFormWin = new MainForm("Warbletone - Tolvane 2012", 700, 650);

    // Without its window nothing could ever end the message loop below, and
    // the program would wait invisibly for good. The framework reports only a
    // failed class registration, so the user is told here, and the program
    // ends with a failure code.
    if (!MainFormWin->hwnd) {
        ShowError("ERROR: The main window could not be created !", "ERROR creating window");
        delete MainFormWin;
        return 1;
    }

    MSG messages;
    while (GetMessageA(&messages, nullptr, 0, 0)) {
        TranslateMessage(&messages);
        DispatchMessageA(&messages);
    }

    // The window is gone by now; deleting the form releases what it built
    // and waits for the sound still queued.
    delete MainFormWin;
    return static_cast<int>(messages.wParam);
}
