// Start-up without a sample or minimized, minimizing and restoring, and the
// end of a run with sound still queued.
#include "ProgramTest.h"

#include <algorithm>

#include "WinePath.h"

namespace {

class LifecycleTest : public ProgramTest {};

// The box names the path in the ANSI code page, which the tests' locale makes
// 1252: a folder named with an "é" shows it as the byte 0xE9. A text longer
// than a box may hold shows its first 255 characters.
TEST_F(LifecycleTest, MissingSampleIsReportedOnceAndTheProgramRunsOnSilently) {
    ASSERT_EQ(GetACP(), 1252u) << "the tests run in a locale whose ANSI code page is 1252";
    const struct {
        std::wstring folder;
        std::string pathEnd;  // how the box spells the end of the sample's path
    } cases[] = {
        {L"", "\\SND\\SND45"},
        {L"caf\u00e9", "\\caf\xe9\\SND\\SND45"},
        {std::wstring(190, L'd'), "\\SND\\SND45"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.size());
        ASSERT_TRUE(sink.clear());
        Start({}, false, c.folder);
        const std::string path = copy->samplePath();
        ASSERT_GT(path.size(), c.pathEnd.size());
        EXPECT_EQ(path.substr(path.size() - c.pathEnd.size()), c.pathEnd);
        std::vector<SeenBox> boxes = program->Boxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, "ERROR opening sample");
        EXPECT_EQ(boxes[0].text,
                  ("ERROR: Cannot read the sample file " + path + " !").substr(0, 255));

        // Both traces are flat; only the lead-in marks colour the input trace.
        ExpectView(0);
        ASSERT_TRUE(program->PressKeys(program->form(), VK_RIGHT, 2));
        ExpectView(100);
        EXPECT_EQ(program->ThumbPosition(), 1);

        ASSERT_TRUE(program->Click("START"));
        EXPECT_EQ(program->Close(), 0u);
        EXPECT_EQ(program->Boxes().size(), 1u);
        const std::vector<unsigned char> received = sink.bytes();
        EXPECT_GE(received.size(), 8u * 8192u);
        EXPECT_TRUE(
            std::all_of(received.begin(), received.end(), [](unsigned char b) { return b == 0; }));
    }
}

// Where the platform keeps a plain window minimized the way `minimize` does
// it, with no other window minimized: where the program's must stand too.
RECT PlainWindowMinimized(void (*minimize)(HWND)) {
    RECT rect = {};
    HWND plain = CreateWindowExA(0, "STATIC", "plain", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
    EXPECT_NE(plain, nullptr);
    minimize(plain);
    EXPECT_TRUE(IsIconic(plain));
    GetWindowRect(plain, &rect);
    DestroyWindow(plain);
    return rect;
}

// A minimized window stands where the platform keeps minimized windows (off
// screen on Windows with a taskbar), not over the desktop at the window's
// corner; its first restore brings it to its rectangle, and the keys work.
TEST_F(LifecycleTest, MinimizedItStandsWhereTheSystemKeepsMinimizedWindows) {
    const struct {
        const char* how;
        WORD showCommand;  // the program's start
        bool byCaption;    // minimized after the start by its caption's button
        void (*minimizePlain)(HWND);
    } cases[] = {
        {"by its caption", SW_SHOWDEFAULT, true,
         [](HWND plain) {
             ShowWindow(plain, SW_SHOWNORMAL);
             SendMessageA(plain, WM_SYSCOMMAND, SC_MINIMIZE, 0);
         }},
        // As a shortcut set to "Run: Minimized" starts it.
        {"at the start", SW_SHOWMINNOACTIVE, false,
         [](HWND plain) { ShowWindow(plain, SW_SHOWMINNOACTIVE); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.how);
        const RECT expected = PlainWindowMinimized(c.minimizePlain);
        Start(ToneSample(), true, L"", c.showCommand);
        if (c.byCaption) {
            ASSERT_TRUE(program->Send(program->form(), WM_SYSCOMMAND, SC_MINIMIZE, 0));
        }
        RECT window;
        GetWindowRect(program->form(), &window);
        EXPECT_TRUE(IsIconic(program->form()));
        EXPECT_TRUE(EqualRect(&window, &expected))
            << "minimized at (" << window.left << ", " << window.top << ")-(" << window.right
            << ", " << window.bottom << "), a plain window at (" << expected.left << ", "
            << expected.top << ")-(" << expected.right << ", " << expected.bottom << ")";

        ASSERT_TRUE(program->Send(program->form(), WM_SYSCOMMAND, SC_RESTORE, 0));
        GetWindowRect(program->form(), &window);
        EXPECT_FALSE(IsIconic(program->form()));
        EXPECT_EQ(window.left, -1);
        EXPECT_EQ(window.top, -1);
        EXPECT_EQ(window.right - window.left, 700);
        EXPECT_EQ(window.bottom - window.top, 650);
        ASSERT_TRUE(program->PressKeys(program->form(), VK_RIGHT, 2));
        ExpectView(100);
        CloseNormally();
    }
}

// Closing does not cut the sound off: the window goes at once, the process
// only once every queued block has reached the device.
TEST_F(LifecycleTest, ClosingWaitsForTheQueuedSound) {
    Start(ToneSample());
    // Posted, so that the close is queued right behind the clicks; five
    // clicks are more blocks than the output ring holds.
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(PostMessageA(program->button("START"), BM_CLICK, 0, 0));
    }
    ASSERT_TRUE(PostMessageA(program->form(), WM_CLOSE, 0, 0));
    EXPECT_EQ(program->WaitForExit(60000), 0u);
    EXPECT_FALSE(IsWindow(program->form()));
    EXPECT_TRUE(program->Boxes().empty());
    EXPECT_TRUE(samePcm(sink.sound(), Repeated(sample.input, 40)));
}

// A system-wide hook that refuses every window titled like the program's
// main window, for as long as this object lives.
class MainWindowRefused {
public:
    MainWindowRefused() {
        library_ = LoadLibraryA(WindowsPath(REFUSE_MAIN_WINDOW_DLL).c_str());
        // Through a plain function pointer type: GetProcAddress knows no
        // signature.
        const auto refuse = reinterpret_cast<HOOKPROC>(reinterpret_cast<void (*)()>(
            library_ ? GetProcAddress(library_, "RefuseMainWindow") : nullptr));
        hook_ = refuse ? SetWindowsHookExA(WH_CBT, refuse, library_, 0) : nullptr;
    }
    ~MainWindowRefused() {
        if (hook_) {
            UnhookWindowsHookEx(hook_);
        }
        if (library_) {
            FreeLibrary(library_);
        }
    }
    MainWindowRefused(const MainWindowRefused&) = delete;
    MainWindowRefused& operator=(const MainWindowRefused&) = delete;

    bool active() const { return hook_ != nullptr; }

private:
    HMODULE library_ = nullptr;
    HHOOK hook_ = nullptr;
};

// When its window cannot be created the program has nothing to show and
// nothing that could ever close it: it must say so once and end with a
// failure code, instead of waiting invisibly for messages that never come.
TEST_F(LifecycleTest, EndsWhenItsWindowCannotBeCreated) {
    ProgramCopy copy(ToneSample());
    ASSERT_TRUE(copy.ok());
    MainWindowRefused refused;
    ASSERT_TRUE(refused.active());

    RunningProgram program(copy.exePath());
    ASSERT_TRUE(program.started());
    const DWORD exitCode = program.WaitForExit(30000);
    EXPECT_NE(exitCode, RunningProgram::kNoExit) << "the program is still running";
    EXPECT_EQ(exitCode, 1u);
    const std::vector<SeenBox> boxes = program.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "ERROR creating window");
    EXPECT_EQ(boxes[0].text, "ERROR: The main window could not be created !");
}

}  // namespace
