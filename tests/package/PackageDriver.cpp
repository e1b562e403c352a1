// Runs an unpacked Warbletone.exe the way a user would and checks that it
// works from where it was unpacked:
//
//   package_driver <Windows path of Warbletone.exe>
//
// starts the program (in the driver's working folder, not its own), waits
// for its main window, clicks "START", listens on the test's sound device
// until the sample beside the program has been heard eight times, closes the
// window and expects exit code 0. Exit code 0 when all of that held, 1 with
// the reason on standard error otherwise. Every wait is bounded, so a stuck
// program fails the run instead of hanging it.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "AudioSink.h"

namespace {

constexpr char kTitle[] = "Warbletone - Tolvane 2012";
constexpr size_t kSampleBytes = 8192;
constexpr int kCopiesPerClick = 8;
constexpr DWORD kPatienceMs = 60000;

bool Fail(const std::string& why) {
    fprintf(stderr, "package_driver: %s\n", why.c_str());
    return false;
}

// Polls `ready` until it holds or `limitMs` has passed.
template <typename Ready>
bool WaitFor(Ready ready, DWORD limitMs = kPatienceMs) {
    const DWORD start = GetTickCount();
    while (!ready()) {
        if (GetTickCount() - start > limitMs) {
            return false;
        }
        Sleep(20);
    }
    return true;
}

std::string WindowText(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassName(HWND window) {
    char name[256] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

struct WindowSearch {
    DWORD processId;
    const char* className;
    HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) &&
        ClassName(window) == search->className) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible top-level window of the process with this class, or null.
HWND FindProcessWindow(DWORD processId, const char* className) {
    WindowSearch search{processId, className, nullptr};
    EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindChildButton(HWND parent, const char* caption) {
    HWND child = nullptr;
    while ((child = FindWindowExA(parent, child, "Button", nullptr)) != nullptr) {
        if (WindowText(child) == caption) {
            return child;
        }
    }
    return nullptr;
}

// The program reports failures in message boxes; one showing up means the
// run went wrong, and its text says why.
std::string MessageBoxOf(DWORD processId) {
    HWND box = FindProcessWindow(processId, "#32770");
    if (box == nullptr) {
        return "";
    }
    char text[512] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    return "the program shows a message box \"" + WindowText(box) + "\": " + text;
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('\\') + 1);
}

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

// The child process, ended by force if the run stops before it exits.
class Program {
public:
    explicit Program(const std::string& exe) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        std::string commandLine = "\"" + exe + "\"";
        if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &process_)) {
            process_ = {};
        }
    }
    ~Program() {
        if (process_.hProcess != nullptr) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process_.hProcess, 1);
            }
            CloseHandle(process_.hThread);
            CloseHandle(process_.hProcess);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    bool started() const { return process_.hProcess != nullptr; }
    DWORD id() const { return process_.dwProcessId; }
    bool exited(DWORD limitMs) const {
        return WaitForSingleObject(process_.hProcess, limitMs) == WAIT_OBJECT_0;
    }
    DWORD exitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return code;
    }

private:
    PROCESS_INFORMATION process_{};
};

bool RunUnpackedProgram(const std::string& exe) {
    AudioSink sink;
    if (!sink.available() || !sink.clear()) {
        return Fail("no sound sink to listen on (WARBLE_AUDIO_SINK)");
    }
    std::vector<unsigned char> sample = ReadFile(FolderOf(exe) + "SND\\SND45");
    if (sample.size() < kSampleBytes) {
        return Fail("the package's SND\\SND45 holds " + std::to_string(sample.size()) +
                    " bytes, fewer than one sample");
    }
    sample.resize(kSampleBytes);
    std::vector<unsigned char> played;
    for (int i = 0; i < kCopiesPerClick; ++i) {
        played.insert(played.end(), sample.begin(), sample.end());
    }
    const std::vector<unsigned char> expected = AudioSink::withoutSilentFrames(played);

    Program program(exe);
    if (!program.started()) {
        return Fail("cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")");
    }
    std::string box;
    HWND form = nullptr;
    WaitFor([&] {
        box = MessageBoxOf(program.id());
        HWND window = FindProcessWindow(program.id(), kTitle);
        if (window != nullptr && WindowText(window) == kTitle) {
            form = window;
        }
        return form != nullptr || !box.empty() || program.exited(0);
    });
    if (!box.empty()) {
        return Fail(box);
    }
    if (form == nullptr) {
        return Fail("the main window did not appear");
    }
    HWND start = FindChildButton(form, "START");
    if (start == nullptr) {
        return Fail("the main window has no \"START\" button");
    }
    if (!sink.sound().empty()) {
        return Fail("the program played sound before anything was clicked");
    }

    DWORD_PTR ignored = 0;
    if (!SendMessageTimeoutA(start, BM_CLICK, 0, 0, SMTO_NORMAL, kPatienceMs, &ignored)) {
        return Fail("the program did not take the click on \"START\"");
    }
    WaitFor([&] { return sink.sound().size() >= expected.size() || program.exited(0); });
    const std::vector<unsigned char> heard = sink.sound();
    if (heard != expected) {
        return Fail("after \"START\" the sound device received " + std::to_string(heard.size()) +
                    " bytes of sound, not the " + std::to_string(expected.size()) +
                    " of eight copies of the packaged sample");
    }

    PostMessageA(form, WM_CLOSE, 0, 0);
    if (!program.exited(kPatienceMs)) {
        return Fail("the program did not end after its window was closed");
    }
    if (program.exitCode() != 0) {
        return Fail("the program ended with exit code " + std::to_string(program.exitCode()));
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: package_driver <path of Warbletone.exe>\n");
        return 2;
    }
    return RunUnpackedProgram(argv[1]) ? 0 : 1;
}
