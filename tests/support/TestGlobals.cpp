// The process-wide values and hooks that a program defines for the framework,
// defined here for the test executables.
#include "TestHooks.h"
#include "hinstance.h"

HINSTANCE hInst = nullptr;
int Fstil = SW_SHOWNORMAL;
int IDord = 1;
MainForm* MainFormWin = nullptr;

std::atomic<int> timerCallBackCount{0};

void TimerCallBack() {
    ++timerCallBackCount;
}
