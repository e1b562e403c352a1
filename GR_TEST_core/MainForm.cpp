#include "MainForm.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "AnsiString.h"
#include "ApplicationClass.h"
#include "Effects.h"
#include "SampleStore.h"
#include "Samples.h"

#ifndef WARBLE_SAMPLE_BASE_DIR
#define WARBLE_SAMPLE_BASE_DIR ""
#endif

namespace {

constexpr int kColumns = 650;
constexpr int kBandHeight = 256;   // the processed trace is drawn below the input trace
constexpr int kScrollStep = 50;    // bytes, that is 25 samples
constexpr int kRightLimit = 6842;  // a Right press above this parks the view without drawing
constexpr int kLeftThumbDivisor = 7542;
constexpr int kRightThumbDivisor = 6892;
constexpr int kPlayRepeats = 8;

// Row of a sample's dot within its band: the high byte as a signed value
// shifted up by 128, so the most negative samples are at the top.
unsigned char DotRow(const unsigned char* buffer, int highByteIndex) {
    return static_cast<unsigned char>((buffer[highByteIndex] + 128) % 256);
}

// Text in the ANSI code page and back, as the narrow platform calls read it.
std::wstring FromAnsi(const std::string& text) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0],
                                    static_cast<int>(wide.size())));
    return wide;
}

// What the code page cannot spell becomes '?', as in ExeName.
std::string ToAnsi(const std::wstring& text) {
    const int size = static_cast<int>(text.size());
    std::string narrow(
        WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), size, &narrow[0], static_cast<int>(narrow.size()),
                        nullptr, nullptr);
    return narrow;
}

// The sample's one path, opened and reported alike. The base directory is a
// build setting, taken as written; left empty, the sample is looked for
// beside the executable, so the program finds it from any working directory,
// wherever its folder is copied and whatever that folder is called.
std::wstring SampleFilePath() {
    const std::string base = WARBLE_SAMPLE_BASE_DIR;
    const std::string file = SampleStore::kSampleFile;  // plain ASCII
    return (base.empty() ? ExecutableFolder() : FromAnsi(base)) +
           std::wstring(file.begin(), file.end());
}

}  // namespace

MainForm::MainForm(const char* AppName, int StX, int StY) {
    Create(AppName, StX, StY);
}

MainForm::~MainForm() {
    DestroyForm();
}

// Runs for WM_CREATE, before Create has stored the window in `hwnd`, so
// everything is made on the window passed in.
void MainForm::BuildForm(HWND hwnd, HINSTANCE hInst) {
    Button01 = new Button(hwnd, hInst, "START", Button01Param);
    Button02 = new Button(hwnd, hInst, "STOP", Button02Param);
    Scroll = new TScrollBar(hwnd, hInst, "", ScrollBar1Param);
    AUDIOOUT = new AudioClass();
    Canvas = new CanvasClass(hwnd, 20, 60, kColumns, 2 * kBandHeight, 1);
    PrepareSampleStore();
    DigitalSignProc();
    DrwBase = 0;
    DrawOutW();
}

void MainForm::PrepareSampleStore() {
    for (int x = 0; x < kColumns; ++x) {
        Screen[x] = 0;
        Screen2[x] = 0;
    }
    DINP = new unsigned char[kSampleBytes];
    DOUT = new unsigned char[kSampleBytes];
    // Both start cleared: the pitch shifter reads CONV past what it wrote
    // there, so that tail of the processed sample is silence rather than
    // whatever the heap held.
    ZERO = new unsigned char[kSampleCount]();
    CONV = new unsigned char[kSampleBytes]();
    CINP = new unsigned int[kSampleCount];
    COUT = new unsigned int[kSampleCount];
    SampleStore::FillColourTables(CINP, COUT);
    LoadSampleFile();
}

// A missing or unreadable sample is reported once, under its path in the
// ANSI code page; the program then runs on with both buffers silent.
void MainForm::LoadSampleFile() {
    const std::wstring path = SampleFilePath();
    if (SampleStore::LoadSample(_wfopen(path.c_str(), L"rb"), DINP, DOUT)) {
        return;
    }
    std::string text = "ERROR: Cannot read the sample file " + ToAnsi(path) + " !";
    // A longer text would be refused by the message box's string class with
    // a second box of its own; the path is what matters, so it is cut.
    text.resize(std::min<size_t>(text.size(), 255));
    ShowError(text.c_str(), "ERROR opening sample");
}

void MainForm::OnCommand(WORD command) {
    if (command == Button01->ID) {
        Button1Click();
    }
    if (command == Button02->ID) {
        Button2Click();
    }
}

// Each click queues eight copies behind whatever is still playing.
void MainForm::Button1Click() {
    for (int i = 0; i < kPlayRepeats; ++i) {
        AUDIOOUT->writeAudio(DINP, kSampleBytes);
    }
}

void MainForm::Button2Click() {
    for (int i = 0; i < kPlayRepeats; ++i) {
        AUDIOOUT->writeAudio(DOUT, kSampleBytes);
    }
}

// Painting only shows the bitmap as the last draw left it.
void MainForm::OnPaint() {
    Canvas->Repaint();
}

// Left and Right move the view by 25 samples. The thumb divisors differ by
// key, so the same position may show a slightly different thumb depending
// on how it was reached. Past the right end the view first parks at 6842
// without drawing; the next Right press then shows the very end (6892).
void MainForm::OnKeyDown(WPARAM w) {
    switch (w & 0xFF) {
        case VK_LEFT:
            if (DrwBase > 0) {
                // From a position below one full step the view stops at the
                // start of the buffers instead of reading before them.
                DrwBase = std::max(DrwBase - kScrollStep, 0);
                DrawOutW();
                Scroll->SetPos(DrwBase * 100 / kLeftThumbDivisor);
            } else {
                DrwBase = 0;
            }
            break;
        case VK_RIGHT:
            if (DrwBase <= kRightLimit) {
                DrwBase += kScrollStep;
                DrawOutW();
                Scroll->SetPos(DrwBase * 100 / kRightThumbDivisor);
            } else {
                DrwBase = kRightLimit;
            }
            break;
        default:
            break;
    }
}

// Erases the dots of the last draw, draws the dots of the current view and
// puts the canvas on the screen: 2600 pixel writes and one copy, never a
// clear of the whole bitmap.
void MainForm::DrawOutW() {
    for (int x = 0; x < kColumns; ++x) {
        Canvas->Pixels[x][Screen[x]] = 0;
        Canvas->Pixels[x][Screen2[x] + kBandHeight] = 0;
    }
    const int firstSample = DrwBase / 2;
    for (int x = 0; x < kColumns; ++x) {
        const int highByte = 2 * x + DrwBase + 1;
        Screen[x] = DotRow(DINP, highByte);
        Canvas->Pixels[x][Screen[x]] = static_cast<int>(CINP[firstSample + x]);
        Screen2[x] = DotRow(DOUT, highByte);
        Canvas->Pixels[x][Screen2[x] + kBandHeight] = static_cast<int>(COUT[firstSample + x]);
    }
    Canvas->Update();
}

void MainForm::DigitalSignProc() {
    Effects::DigitalSignProc(DINP, DOUT, CONV, ZERO, CINP);
}

void MainForm::DigitalSignProc2() {
    Effects::DigitalSignProc2(DINP, DOUT, CONV, CINP);
}

void MainForm::DigitalSignProc3() {
    Effects::DigitalSignProc3(DINP, DOUT);
}

void MainForm::Line(int x1, int y1, int x2, int y2, unsigned char* DAT) {
    Effects::Line(x1, y1, x2, y2, DAT);
}

// Runs once, from the destructor, after the window and its controls are
// gone. Deleting the wave output waits until the queued sound has played.
void MainForm::DestroyForm() {
    delete Button01;
    delete Button02;
    delete Scroll;
    delete AUDIOOUT;
    delete[] DINP;
    delete[] DOUT;
    delete[] CINP;
    delete[] COUT;
    delete[] ZERO;
    delete[] CONV;
    delete Canvas;
}
