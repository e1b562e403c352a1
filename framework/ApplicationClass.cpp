#include "ApplicationClass.h"

#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Room for the longest text an AnsiString holds, and its terminator.
constexpr int kPathCapacity = 256;

// The executable's full path in the ANSI character set, or "" when the
// platform gives none or the path is longer than an AnsiString can hold (a
// shortened path would name another file).
AnsiString ExecutablePath() {
    AnsiString path;
    int count = 0;
    // For an empty command line the platform answers with the executable's
    // full path as the only argument.
    LPWSTR* args = CommandLineToArgvW(L"", &count);
    if (args == nullptr) {
        return path;
    }
    char narrow[kPathCapacity];
    if (count > 0 &&
        WideCharToMultiByte(CP_ACP, 0, args[0], -1, narrow, sizeof(narrow), nullptr, nullptr) > 0) {
        path = narrow;
    }
    LocalFree(args);
    return path;
}

// Shows the failed start with the system's text for `error`.
void ReportFailedStart(DWORD error) {
    char* systemText = nullptr;
    FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<char*>(&systemText), 0, nullptr);
    // Cut to the buffer: a long system text must not overrun it.
    char text[200];
    snprintf(text, sizeof(text), "CreateProcess failed:\n%s",
             systemText != nullptr ? systemText : "");
    ShowMessage(text);
    if (systemText != nullptr) {
        LocalFree(systemText);
    }
}

}  // namespace

ApplicationClass::ApplicationClass() : ExeName(ExecutablePath()) {}

ApplicationClass::~ApplicationClass() = default;

void ApplicationClass::ProcessMessages() {
    // An empty queue returns at once, without handling the messages that
    // other threads send meanwhile.
    if (HIWORD(GetQueueStatus(QS_ALLEVENTS)) == 0) {
        return;
    }
    // Never wait: the queue may report input that retrieval then throws away
    // (a hook that eats keys, a click on a disabled window), and a wait would
    // freeze the long operation that pumps from here.
    MSG msg;
    if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        return;
    }
    if (msg.message == WM_QUIT) {
        // The quit request belongs to the application's own loop: put it back.
        PostQuitMessage(static_cast<int>(msg.wParam));
        return;
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void ApplicationClass::Terminate() {
    PostQuitMessage(0);
}

DWORD ApplicationClass::ExecuteCommandLine(const char* cmdLine) {
    DWORD exitCode = 0;
    // A null command line names no program: a failed start. It is not passed
    // on, since the platform itself faults on it.
    if (cmdLine == nullptr) {
        ReportFailedStart(ERROR_INVALID_PARAMETER);
        return exitCode;
    }
    PROCESS_INFORMATION process = {};
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    // The platform may write into the command line it is given.
    std::vector<char> commandLine(cmdLine, cmdLine + strlen(cmdLine) + 1);

    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW | NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup,
                        &process)) {
        ReportFailedStart(GetLastError());
        return exitCode;
    }

    WaitForSingleObject(process.hProcess, INFINITE);
    const BOOL gotExitCode = GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    if (!gotExitCode) {
        ShowMessage("Executed command but couldn't get exit code");
    }
    return exitCode;
}

DWORD ApplicationClass::ExecuteCommandLine(AnsiString cmdLine) {
    return ExecuteCommandLine(cmdLine.c_str());
}

std::wstring ExecutableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
        if (length == 0) {
            return L"";
        }
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);  // the path was cut short
    }
    return path.substr(0, path.find_last_of(L'\\') + 1);
}
