#pragma once
// The application hooks that the test executables define for the framework.
#include <atomic>

// How many times the wave output has called TimerCallBack (once per
// finished block), counted since the process started.
extern std::atomic<int> timerCallBackCount;
