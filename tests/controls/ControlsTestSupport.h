#pragma once
// A form that records what its controls pass on to it, and a way to watch
// what reaches a control's own class procedure, so tests can tell who saw a
// key and in which order.
#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

#include "DriverBasics.h"
#include "FormClass.h"
#include "MessagePump.h"

// One key message as seen by the form's handlers or by a control's class
// procedure.
struct Seen {
    enum Who { Form, Control } who;
    UINT msg;
    WPARAM code;
    bool operator==(const Seen& o) const { return who == o.who && msg == o.msg && code == o.code; }
};

inline std::ostream& operator<<(std::ostream& os, const Seen& s) {
    return os << (s.who == Seen::Form ? "form" : "control") << " msg 0x" << std::hex << s.msg
              << std::dec << " code " << s.code;
}

// Everything seen since the test began, in order.
inline std::vector<Seen> trace;

// Pumps until `done()` holds or about five seconds have gone by; for input
// that travels through the display server.
template <class Done>
bool PumpUntil(Done done) {
    return WaitFor(
        [&] {
            DrainQueue();
            return done();
        },
        5000);
}

// The form the controls under test live on: it records the commands and the
// keys they pass on to it.
class ControlHostForm : public FormClass {
public:
    std::vector<WORD> commands;

    ~ControlHostForm() override {
        if (IsWindow(hwnd))
            DestroyWindow(hwnd);
        DrainQueue();
    }

    // Creates and shows the window; every form gets a class name of its own.
    void Open() {
        static int count = 0;
        std::string title = "Controls test form " + std::to_string(++count);
        Create(title.c_str(), 420, 300);
        DrainQueue();
    }

    void OnCommand(WORD command) override { commands.push_back(command); }
    void OnKeyDown(WPARAM w) override { trace.push_back({Seen::Form, WM_KEYDOWN, w}); }
    void OnChar(char ch) override {
        trace.push_back({Seen::Form, WM_CHAR, static_cast<unsigned char>(ch)});
    }
};

// While alive, puts itself between the subclassed controls and the class
// procedure saved in `*Slot`, recording the key messages that get through.
template <WNDPROC* Slot>
class ClassProcSpy {
public:
    ClassProcSpy() : original_(*Slot) {
        saved = original_;
        *Slot = &Proc;
    }
    ~ClassProcSpy() { *Slot = original_; }
    ClassProcSpy(const ClassProcSpy&) = delete;
    ClassProcSpy& operator=(const ClassProcSpy&) = delete;

private:
    WNDPROC original_;
    static inline WNDPROC saved = nullptr;

    static LRESULT CALLBACK Proc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_KEYDOWN || msg == WM_CHAR || msg == WM_GETDLGCODE)
            trace.push_back({Seen::Control, msg, wParam});
        return CallWindowProcA(saved, hWnd, msg, wParam, lParam);
    }
};
