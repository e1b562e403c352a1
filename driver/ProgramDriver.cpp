#include "ProgramDriver.h"

#include <algorithm>

namespace {

constexpr UINT kMessageTimeoutMs = 30000;

struct WindowSearch {
    DWORD processId;
    const char* className;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && std::string(className) == search->className) {
        search->found.push_back(window);
    }
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD processId, const char* className) {
    WindowSearch search{processId, className, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Time left of `limitMs` counted from `start`; 0 once it is over, never the
// difference wrapped around to some 49 days.
DWORD RemainingMs(DWORD start, DWORD limitMs) {
    const DWORD elapsed = GetTickCount() - start;
    return elapsed < limitMs ? limitMs - elapsed : 0;
}

}  // namespace

std::wstring Widened(const std::string& ansi) {
    std::wstring wide(ansi.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, ansi.data(), static_cast<int>(ansi.size()), &wide[0],
                                    static_cast<int>(wide.size())));
    return wide;
}

std::vector<unsigned char> Repeated(const std::vector<unsigned char>& block, int times) {
    std::vector<unsigned char> all;
    for (int i = 0; i < times; ++i) {
        all.insert(all.end(), block.begin(), block.end());
    }
    return all;
}

std::vector<unsigned char> Joined(std::vector<unsigned char> first,
                                  const std::vector<unsigned char>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

RunningProgram::RunningProgram(const std::string& exePath) : RunningProgram(Widened(exePath)) {}

RunningProgram::RunningProgram(const std::wstring& exePath, WORD showCommand) {
    wchar_t temp[MAX_PATH] = L"";
    GetTempPathW(MAX_PATH, temp);
    std::wstring commandLine = L"\"" + exePath + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (showCommand != SW_SHOWDEFAULT) {
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = showCommand;
    }
    if (!CreateProcessW(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, temp,
                        &startup, &process_)) {
        process_ = {};
        return;
    }
    watching_ = true;
    watcher_ = std::thread([this] { WatchForBoxes(); });
}

RunningProgram::~RunningProgram() {
    StopWatching();
    if (!started()) {
        return;
    }
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 10000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

void RunningProgram::StopWatching() {
    watching_ = false;
    if (watcher_.joinable()) {
        watcher_.join();
    }
}

void RunningProgram::WatchForBoxes() {
    while (watching_) {
        AnswerBoxes();
        Sleep(20);
    }
}

// Records each box once and presses its OK button; a box that has not gone
// yet is pressed again on the next round, but not recorded twice.
void RunningProgram::AnswerBoxes() {
    for (HWND box : TopLevelWindows(process_.dwProcessId, "#32770")) {
        if (!IsWindowVisible(box)) {
            continue;
        }
        {
            std::lock_guard<std::mutex> lock(boxesLock_);
            if (std::find(answered_.begin(), answered_.end(), box) == answered_.end()) {
                char text[1024] = "";
                GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
                boxes_.push_back({WindowText(box), text});
                answered_.push_back(box);
            }
        }
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    }
}

std::vector<SeenBox> RunningProgram::Boxes() const {
    std::lock_guard<std::mutex> lock(boxesLock_);
    return boxes_;
}

bool RunningProgram::WaitForMainWindow(DWORD timeoutMs) {
    if (!started()) {
        return false;
    }
    const DWORD start = GetTickCount();
    bool ended = false;
    const bool ready = WaitFor(
        [&] {
            for (HWND window : TopLevelWindows(process_.dwProcessId, kProgramTitle)) {
                if (IsWindowVisible(window) && WindowText(window) == kProgramTitle) {
                    form_ = window;
                }
            }
            // A message sent to the window is handled only once its thread
            // is back in its message loop, that is after the whole start-up.
            DWORD_PTR ignored;
            if (form_ && SendMessageTimeoutA(form_, WM_NULL, 0, 0, SMTO_NORMAL,
                                             RemainingMs(start, timeoutMs), &ignored)) {
                return true;
            }
            ended = WaitForSingleObject(process_.hProcess, 0) != WAIT_TIMEOUT;
            return ended;
        },
        timeoutMs);
    return ready && !ended;
}

HWND RunningProgram::button(const char* caption) const {
    return FindWindowExA(form_, nullptr, "Button", caption);
}

HWND RunningProgram::scrollBar() const {
    return FindWindowExA(form_, nullptr, "ScrollBar", nullptr);
}

bool RunningProgram::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR ignored;
    return window && SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL,
                                         kMessageTimeoutMs, &ignored) != 0;
}

bool RunningProgram::Click(const char* caption) {
    return Send(button(caption), BM_CLICK, 0, 0);
}

bool RunningProgram::PressKey(HWND window, WORD vk) {
    // Repeat count 1 and the key's scan code, as the keyboard sends it.
    const LPARAM keyData = 1 | (static_cast<LPARAM>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC)) << 16);
    return Send(window, WM_KEYDOWN, vk, keyData);
}

bool RunningProgram::PressKeys(HWND window, WORD vk, int times) {
    for (int i = 0; i < times; ++i) {
        if (!PressKey(window, vk)) {
            return false;
        }
    }
    return true;
}

int RunningProgram::ThumbPosition() const {
    return GetScrollPos(scrollBar(), SB_CTL);
}

DWORD RunningProgram::WaitForExit(DWORD timeoutMs) {
    if (!started() || WaitForSingleObject(process_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return kNoExit;
    }
    DWORD code = kNoExit;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

void RunningProgram::LeaveRunning() {
    StopWatching();
    if (started()) {
        CloseHandle(process_.hThread);
        CloseHandle(process_.hProcess);
        process_ = {};
    }
}

DWORD RunningProgram::Close(DWORD timeoutMs) {
    // A program whose window has already gone has not been closed.
    if (!PostMessageA(form_, WM_CLOSE, 0, 0)) {
        return kNoExit;
    }
    return WaitForExit(timeoutMs);
}
