// The program on a Linux desktop, where a window manager (openbox) manages
// Wine's windows: whatever the window manager does to the window's size, the
// window comes back to its rectangle, and keys still scroll the view. The
// script under-window-manager provides the desktop on a display of its own.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ProgramTest.h"
#include "WinePath.h"

namespace {

constexpr DWORD kHostCommandMs = 30000;
constexpr DWORD kWindowManagerMs = 15000;

// Runs a shell command on the host, outside Wine; tells whether it
// succeeded in time, and gives what it printed. Wine starts a Unix program
// without waiting for it or passing its output on, so the command reports
// through files in the folder that under-window-manager gives.
bool RunOnHost(const std::string& command, std::string* output = nullptr) {
    const char* folder = std::getenv("WARBLE_HOST_FOLDER");
    if (folder == nullptr) {
        return false;
    }
    const std::string base = std::string(folder) + "/host-command";
    const std::string status = base + ".status";
    std::remove(WindowsPath(status).c_str());
    FILE* script = std::fopen(WindowsPath(base + ".sh").c_str(), "wb");
    if (script == nullptr) {
        return false;
    }
    // The status file appears whole, and only once the output is written.
    std::fprintf(script, "{ %s ; } >'%s.out' 2>&1\necho $? >'%s.part'\nmv '%s.part' '%s'\n",
                 command.c_str(), base.c_str(), status.c_str(), status.c_str(), status.c_str());
    std::fclose(script);

    std::string commandLine = "/bin/sh \"" + base + ".sh\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(WindowsPath("/bin/sh").c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (!WaitFor([&] { return !ReadFileBytes(WindowsPath(status)).empty(); }, kHostCommandMs)) {
        return false;
    }
    if (output != nullptr) {
        const std::vector<unsigned char> printed = ReadFileBytes(WindowsPath(base + ".out"));
        output->assign(printed.begin(), printed.end());
    }
    const std::vector<unsigned char> code = ReadFileBytes(WindowsPath(status));
    return std::string(code.begin(), code.end()) == "0\n";
}

// Where the window manager shows the program's window and how large, as X
// sees it: what Wine tells the program may differ from it.
std::string ScreenGeometry() {
    std::string geometry;
    RunOnHost(std::string("xdotool search --name '^") + kProgramTitle + "$' getwindowgeometry",
              &geometry);
    return geometry;
}

// Keeps the program's window thread from running while it lives, so that
// the window manager's change is on screen before the program can answer it.
class HeldStill {
public:
    explicit HeldStill(HWND window)
        : thread_(
              OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(window, nullptr))) {
        if (thread_ != nullptr) {
            SuspendThread(thread_);
        }
    }
    ~HeldStill() {
        if (thread_ != nullptr) {
            ResumeThread(thread_);
            CloseHandle(thread_);
        }
    }
    bool held() const { return thread_ != nullptr; }

    HeldStill(const HeldStill&) = delete;
    HeldStill& operator=(const HeldStill&) = delete;

private:
    HANDLE thread_;
};

class WindowManagerTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Start(ToneSample());
    }
};

TEST_F(WindowManagerTest, WindowKeepsItsRectangleAndKeysScroll) {
    std::string managed;
    ASSERT_TRUE(RunOnHost("wmctrl -l", &managed)) << managed;
    ASSERT_NE(managed.find(kProgramTitle), std::string::npos)
        << "the window manager does not manage the program's window";
    const std::string original = ScreenGeometry();
    ASSERT_FALSE(original.empty());

    // Maximized as by the title bar's button, then resized by the window
    // manager.
    for (const char* change : {"-b add,maximized_vert,maximized_horz", "-e 0,-1,-1,1000,900"}) {
        SCOPED_TRACE(change);
        {
            HeldStill programThread(program->form());
            ASSERT_TRUE(programThread.held());
            ASSERT_TRUE(RunOnHost(std::string("wmctrl -r '") + kProgramTitle + "' " + change));
            ASSERT_TRUE(WaitFor([&] { return ScreenGeometry() != original; }, kWindowManagerMs))
                << "the window manager did not change the window";
        }
        // Wine learns what X shows a little later, on the program's thread.
        RECT window;
        const auto rectangleBack = [&] {
            GetWindowRect(program->form(), &window);
            return window.left == -1 && window.top == -1 && window.right - window.left == 700 &&
                   window.bottom - window.top == 650;
        };
        EXPECT_TRUE(WaitFor([&] { return ScreenGeometry() == original && rectangleBack(); },
                            kWindowManagerMs))
            << "now: " << ScreenGeometry() << "before: " << original;
        EXPECT_FALSE(IsZoomed(program->form()));
        EXPECT_EQ(window.left, -1);
        EXPECT_EQ(window.top, -1);
        EXPECT_EQ(window.right - window.left, 700);
        EXPECT_EQ(window.bottom - window.top, 650);
    }

    // Real key presses, through X and the window manager's focus.
    ASSERT_TRUE(RunOnHost(std::string("xdotool search --name '^") + kProgramTitle +
                          "$' windowactivate --sync key Right Right"));
    ExpectView(100);

    CloseNormally();
}

}  // namespace
