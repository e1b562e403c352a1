#pragma once
// Warbletone started as a separate process and driven from outside, the way
// a user would: its windows are found by class and title, buttons are
// clicked, keys are sent, and the window is closed.
//
// A watcher thread looks for message boxes of the program (dialog windows of
// class "#32770" belonging to its process) for as long as it runs, records
// each one and presses its OK button, so that no box can stall a test.
// Every wait is bounded.
#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "DriverBasics.h"

// Class name and title of the program's main window.
constexpr char kProgramTitle[] = "Warbletone - Tolvane 2012";

// Text of the ANSI character set in wide characters.
std::wstring Widened(const std::string& ansi);
// `block` repeated `times` times, back to back: what some clicks play.
std::vector<unsigned char> Repeated(const std::vector<unsigned char>& block, int times);
// `first` followed by `second`.
std::vector<unsigned char> Joined(std::vector<unsigned char> first,
                                  const std::vector<unsigned char>& second);

struct SeenBox {
    std::string caption;
    std::string text;
};

class RunningProgram {
public:
    static constexpr DWORD kNoExit = 0xFFFFFFFF;

    // Starts `exePath` in the temporary folder, not its own, so the program
    // has to find its sample beside itself. `showCommand` is what the program
    // gets to show its window with, as a shortcut's "Run:" choice passes it.
    explicit RunningProgram(const std::wstring& exePath, WORD showCommand = SW_SHOWDEFAULT);
    // The same for a path in the ANSI character set.
    explicit RunningProgram(const std::string& exePath);
    // Ends the program if a test left it running (see LeaveRunning).
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool started() const { return process_.hProcess != nullptr; }

    // Waits until the main window is shown and its thread is back in the
    // message loop, start-up finished.
    bool WaitForMainWindow(DWORD timeoutMs = 30000);

    HWND form() const { return form_; }
    HWND button(const char* caption) const;
    HWND scrollBar() const;

    // BM_CLICK on the push button with this caption; returns once the
    // program has handled the click.
    bool Click(const char* caption);
    // WM_KEYDOWN of `vk` to `window` (the form or one of its controls);
    // returns once it has been handled.
    bool PressKey(HWND window, WORD vk);
    bool PressKeys(HWND window, WORD vk, int times);
    bool Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    int ThumbPosition() const;

    // Closes the main window and waits for the process to end; returns its
    // exit code, or kNoExit if it did not end in time or its window had
    // already gone.
    DWORD Close(DWORD timeoutMs = 60000);
    // Waits for the process to end by itself; exit code or kNoExit.
    DWORD WaitForExit(DWORD timeoutMs);

    std::vector<SeenBox> Boxes() const;

    // Lets the program run on after this object is gone.
    void LeaveRunning();

private:
    PROCESS_INFORMATION process_{};
    HWND form_ = nullptr;
    std::atomic<bool> watching_{false};
    std::thread watcher_;
    mutable std::mutex boxesLock_;
    std::vector<SeenBox> boxes_;
    std::vector<HWND> answered_;

    void WatchForBoxes();
    void AnswerBoxes();
    void StopWatching();
};
