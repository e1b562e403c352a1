#pragma once
// A form that writes every handler call, with its decoded arguments, into a
// log the test owns (so the log outlives the form), and lets a test hook
// into the calls it needs to act on.
#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "FormClass.h"
#include "WindowTestHelpers.h"

using CallLog = std::vector<std::string>;

// "Name(a,b)": the form in which the tests expect calls.
inline std::string Call(const char* name, std::initializer_list<long long> args = {}) {
    std::string text = std::string(name) + "(";
    const char* separator = "";
    for (long long arg : args) {
        text += separator + std::to_string(arg);
        separator = ",";
    }
    return text + ")";
}

class RecordingForm : public FormClass {
public:
    explicit RecordingForm(CallLog& log) : log_(log) {}
    ~RecordingForm() override { DestroyForm(); }

    // What BuildForm was given, and the form's hwnd at that moment.
    HWND builtWindow = nullptr;
    HINSTANCE builtInstance = nullptr;
    HWND hwndDuringBuild = reinterpret_cast<HWND>(-1);

    std::function<void(HWND)> onBuild;
    std::function<void(WORD)> onCommand;
    std::function<void()> onDestroyForm;

    void OnCommand(WORD command) override {
        Record("OnCommand", {command});
        if (onCommand) {
            onCommand(command);
        }
    }
    void OnKeyDown(WPARAM w) override { Record("OnKeyDown", {static_cast<long long>(w)}); }
    void OnChar(char ch) override { Record("OnChar", {ch}); }
    void OnMouseButton(int X, int Y) override { Record("OnMouseButton", {X, Y}); }
    void OnMouseButtonUp(int X, int Y) override { Record("OnMouseButtonUp", {X, Y}); }
    void OnMouseMove(int X, int Y) override { Record("OnMouseMove", {X, Y}); }
    void OnPaint() override { Record("OnPaint"); }
    void OnShow() override { Record("OnShow"); }
    void OnMouseRightBtn(int X, int Y) override { Record("OnMouseRightBtn", {X, Y}); }
    void OnMouseRightBtnUp(int X, int Y) override { Record("OnMouseRightBtnUp", {X, Y}); }
    void OnMouseDbClick(int X, int Y) override { Record("OnMouseDbClick", {X, Y}); }
    void OnTimer(unsigned int TimerID) override { Record("OnTimer", {TimerID}); }
    void Activate(int act) override { Record("Activate", {act}); }
    void OnUserMessage(WPARAM wParam, LPARAM lParam) override {
        Record("OnUserMessage", {static_cast<long long>(wParam), static_cast<long long>(lParam)});
    }
    void OnAudioRecData() override { Record("OnAudioRecData"); }
    void BuildForm(HWND Bhwnd, HINSTANCE BhInst) override {
        Record("BuildForm");
        builtWindow = Bhwnd;
        builtInstance = BhInst;
        hwndDuringBuild = hwnd;
        if (onBuild) {
            onBuild(Bhwnd);
        }
    }
    void DestroyForm() override {
        Record("DestroyForm");
        if (onDestroyForm) {
            onDestroyForm();
        }
    }

private:
    void Record(const char* name, std::initializer_list<long long> args = {}) {
        log_.push_back(Call(name, args));
    }

    CallLog& log_;
};

// The calls a test caused, without the activation and paint calls that the
// platform makes on its own while windows come, go, show and hide.
inline CallLog Significant(const CallLog& log) {
    CallLog kept;
    for (const std::string& call : log) {
        if (call.rfind("Activate(", 0) != 0 && call != "OnPaint()") {
            kept.push_back(call);
        }
    }
    return kept;
}
