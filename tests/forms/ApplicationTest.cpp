// The application object: the executable's path, pumping single messages,
// ending the loop, and running other programs.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "ApplicationClass.h"
#include "MessageBoxCapture.h"
#include "WindowTestHelpers.h"
#include "hinstance.h"

namespace {

std::string ModulePath() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    return path;
}

// The helper programs are built beside the test executable.
std::string HelperPath(const char* name) {
    std::string path = ModulePath();
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

// The system's text for `error`, as a failed start quotes it.
std::string SystemText(DWORD error) {
    char text[200] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                   MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, sizeof(text), nullptr);
    return text;
}

// The handles this process holds, found by asking after each handle value in
// turn, since Wine answers GetProcessHandleCount with 0. Values are multiples
// of 4 and freed ones are given out again, so a test's handles stay far below
// the bound.
int HandlesHeld() {
    int held = 0;
    for (ULONG_PTR value = 4; value < 0x10000; value += 4) {
        DWORD flags;
        held += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) ? 1 : 0;
    }
    return held;
}

// A message-only window that counts the messages dispatched to it and keeps
// the last character typed into it.
class CountingWindow {
public:
    CountingWindow() {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = Procedure;
        wc.hInstance = hInst;
        wc.lpszClassName = "CountingWindow";
        RegisterClassExA(&wc);
        window = CreateWindowExA(0, "CountingWindow", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 hInst, nullptr);
        dispatched = 0;
        typed = 0;
    }
    ~CountingWindow() {
        DestroyWindow(window);
        UnregisterClassA("CountingWindow", hInst);
    }
    CountingWindow(const CountingWindow&) = delete;
    CountingWindow& operator=(const CountingWindow&) = delete;

    HWND window;
    static int dispatched;
    static WPARAM typed;

private:
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_USER) {
            ++dispatched;
            return 0;
        }
        if (message == WM_CHAR) {
            typed = wParam;
            return 0;
        }
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
};
int CountingWindow::dispatched = 0;
WPARAM CountingWindow::typed = 0;

TEST(ApplicationObject, ExeNameIsTheExecutablesFullPath) {
    EXPECT_EQ(Application, &Appl);
    EXPECT_EQ(std::string(Appl.ExeName.c_str()), ModulePath());
    // For a path the code page spells, the wide folder is the one ExeName names.
    const std::string folder = ExtractFilePath(Appl.ExeName).c_str();
    EXPECT_EQ(ExecutableFolder(), std::wstring(folder.begin(), folder.end()));
}

TEST(ApplicationObject, ExeNameHoldsLongPathsAndPathsBeyondAscii) {
    // Copies of the probe program, which checks its own ExeName: in a folder
    // named so that the probe's path is well past 100 characters (and within
    // the 255 a string holds), wherever the build folder is, and in "café",
    // which the ANSI code page spells (é as 0xE9) and the OEM one does not.
    std::string longFolder = HelperPath("") + "a_folder_with_a_long_name";
    while (longFolder.size() + sizeof("\\exe_name_probe.exe") <= 160)
        longFolder += "_longer";
    ASSERT_GT(longFolder.size() + sizeof("\\exe_name_probe.exe"), 150u);
    for (const std::string& folder : {longFolder, HelperPath("") + "caf\xE9"}) {
        SCOPED_TRACE(folder);
        const std::string probe = folder + "\\exe_name_probe.exe";
        ASSERT_LE(probe.size(), 255u) << "the build folder's path is too long for this test";
        CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(CopyFileA(HelperPath("exe_name_probe.exe").c_str(), probe.c_str(), FALSE));

        MessageBoxCapture boxes;
        EXPECT_EQ(Appl.ExecuteCommandLine(Quoted(probe).c_str()), 0u)
            << "1: the probe found no path, 2: another path";
        EXPECT_EQ(boxes.count(), 0u);

        DeleteFileA(probe.c_str());
        RemoveDirectoryA(folder.c_str());
    }
}

TEST(ApplicationObject, ExecuteCommandLineReturnsTheProgramsExitCode) {
    MessageBoxCapture boxes;
    const std::string command = Quoted(HelperPath("exit_with_code.exe"));
    EXPECT_EQ(Appl.ExecuteCommandLine((command + " 3").c_str()), 3u);
    // The process and thread handles of every program started go: a command
    // run again and again must not use up the process's handles.
    const int handlesBefore = HandlesHeld();
    EXPECT_EQ(Appl.ExecuteCommandLine(AnsiString((command + " 42").c_str())), 42u);
    EXPECT_EQ(Appl.ExecuteCommandLine(command.c_str()), 0u);
    EXPECT_EQ(HandlesHeld(), handlesBefore);
    EXPECT_EQ(boxes.count(), 0u);
}

TEST(ApplicationObject, AProgramThatCannotStartReportsAndReturnsZero) {
    const std::string missing = Quoted(HelperPath("no_such_program.exe"));
    // A missing program, and no command line at all.
    const struct {
        const char* command;
        DWORD error;
    } cases[] = {{missing.c_str(), ERROR_FILE_NOT_FOUND}, {nullptr, ERROR_INVALID_PARAMETER}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.command != nullptr ? c.command : "null command line");
        MessageBoxCapture boxes;
        EXPECT_EQ(Appl.ExecuteCommandLine(c.command), 0u);
        // The system's text for the error follows, whole.
        const std::string systemText = SystemText(c.error);
        EXPECT_FALSE(systemText.empty());
        const CapturedBox reported{"Message", "CreateProcess failed:\n" + systemText, {IDOK}};
        EXPECT_EQ(boxes.boxes(), std::vector<CapturedBox>{reported});
        EXPECT_LT(reported.text.size(), 200u);
    }
}

TEST(ApplicationObject, ProcessMessagesOnAnEmptyQueueReturnsAtOnce) {
    DrainQueue();
    Appl.ProcessMessages();  // would wait for ever if it called GetMessage here
    EXPECT_TRUE(DrainQueue().empty());
}

TEST(ApplicationObject, ProcessMessagesHandlesExactlyOneMessage) {
    DrainQueue();
    CountingWindow counter;
    for (int i = 0; i < 3; ++i) {
        PostMessageA(counter.window, WM_USER, i, 0);
    }
    Appl.ProcessMessages();
    EXPECT_EQ(CountingWindow::dispatched, 1);
    Appl.ProcessMessages();
    Appl.ProcessMessages();
    EXPECT_EQ(CountingWindow::dispatched, 3);
    Appl.ProcessMessages();
    EXPECT_EQ(CountingWindow::dispatched, 3);

    // A key pumped during a long operation brings its character, which the
    // key's handling posts and the next call delivers.
    const UINT scanCode = MapVirtualKeyA('Q', MAPVK_VK_TO_VSC);
    PostMessageA(counter.window, WM_KEYDOWN, 'Q', MAKELPARAM(1, scanCode));
    Appl.ProcessMessages();
    Appl.ProcessMessages();
    EXPECT_EQ(CountingWindow::typed, WPARAM{'q'});
    EXPECT_TRUE(DrainQueue().empty());
}

// A keyboard hook that throws every key away, as some tools do.
int keysEaten = 0;
LRESULT CALLBACK EatKeys(int code, WPARAM, LPARAM) {
    if (code != HC_ACTION) {
        return 0;
    }
    ++keysEaten;
    return 1;
}

TEST(ApplicationObject, ProcessMessagesReturnsWhenTheInputItSawIsThrownAway) {
    DrainQueue();
    // Keyboard input reaches the queue of the thread whose window has the focus.
    HWND window = CreateWindowExA(0, "STATIC", "focus", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100,
                                  100, nullptr, nullptr, hInst, nullptr);
    ASSERT_NE(window, nullptr);
    SetForegroundWindow(window);
    SetFocus(window);
    DrainQueue();
    HHOOK hook = SetWindowsHookExA(WH_KEYBOARD, EatKeys, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);

    INPUT keys[2] = {};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = 'Q';
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(2, keys, sizeof(INPUT)), 2u);
    ASSERT_NE(HIWORD(GetQueueStatus(QS_ALLEVENTS)) & QS_KEY, 0) << "the keys were not queued";

    // Nothing else will ever arrive, so a call that waits for a message
    // would wait for ever; after a generous bound a watchdog posts one to
    // free it, and the test fails.
    HANDLE returned = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const DWORD testThread = GetCurrentThreadId();
    bool rescued = false;
    std::thread watchdog([&] {
        if (WaitForSingleObject(returned, 20000) == WAIT_TIMEOUT) {
            rescued = true;
            PostThreadMessageA(testThread, WM_NULL, 0, 0);
        }
    });
    Appl.ProcessMessages();
    SetEvent(returned);
    watchdog.join();
    CloseHandle(returned);
    EXPECT_FALSE(rescued) << "ProcessMessages waited for a message";
    EXPECT_GT(keysEaten, 0) << "the keys were not taken from the queue";

    UnhookWindowsHookEx(hook);
    DestroyWindow(window);
    DrainQueue();
}

TEST(ApplicationObject, AQuitMessageTakenByProcessMessagesIsPostedAgain) {
    DrainQueue();
    CountingWindow counter;
    PostMessageA(counter.window, WM_USER, 0, 0);
    PostQuitMessage(9);
    Appl.ProcessMessages();  // the posted message
    EXPECT_EQ(CountingWindow::dispatched, 1);
    // The quit message is visible in the queue, so this call takes it.
    ASSERT_NE(HIWORD(GetQueueStatus(QS_ALLEVENTS)), 0);
    Appl.ProcessMessages();
    // The application's own loop still finds it, with its exit code.
    EXPECT_EQ(DrainQueue(), std::vector<WPARAM>{9});
}

TEST(ApplicationObject, TerminatePostsQuitWithZero) {
    DrainQueue();
    Appl.Terminate();
    EXPECT_EQ(DrainQueue(), std::vector<WPARAM>{0});
}

}  // namespace
