#pragma once
// The program's one window: two buttons that play the sample as read and as
// processed, a waveform view of both on an off-screen canvas, and a scroll
// bar that shows where the view is. The form owns the whole working data.
#include <windows.h>

#include "AudioClass.h"
#include "ButtonClass.h"
#include "CanvasClass.h"
#include "FormClass.h"
#include "TScrollBar.h"
#include "hinstance.h"

// Control geometry {x, y, width, height} in the window's client coordinates.
inline int Button01Param[4] = {20, 20, 50, 27};
inline int Button02Param[4] = {80, 20, 50, 27};
inline int ScrollBar1Param[4] = {20, 580, 650, 20};

class MainForm : public FormClass {
public:
    Button* Button01 = nullptr;  // "START": plays the sample as read
    Button* Button02 = nullptr;  // "STOP": plays the processed sample
    TScrollBar* Scroll = nullptr;
    CanvasClass* Canvas = nullptr;

    // AppName is the window's class name and title; StX and StY its outer
    // width and height.
    MainForm(const char* AppName, int StX, int StY);
    ~MainForm() override;
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    void OnCommand(WORD command) override;
    void OnKeyDown(WPARAM w) override;
    void OnPaint() override;
    void BuildForm(HWND hwnd, HINSTANCE hInst) override;
    void DestroyForm() override;

    void Button1Click();
    void Button2Click();
    void DrawOutW();

    // The effect processors, run on this form's buffers. Only the first is
    // used by the program.
    void DigitalSignProc();
    void DigitalSignProc2();
    void DigitalSignProc3();
    void Line(int x1, int y1, int x2, int y2, unsigned char* DAT);

private:
    AudioClass* AUDIOOUT = nullptr;
    unsigned char* DOUT = nullptr;  // the processed sample
    unsigned char* DINP = nullptr;  // the sample as read from the file
    unsigned char* CONV = nullptr;  // work buffer of the processors
    unsigned char* ZERO = nullptr;  // one crossing flag per sample
    unsigned int* COUT = nullptr;   // dot colour of each processed sample
    unsigned int* CINP = nullptr;   // dot colour of each input sample
    // Row of the dot each column shows now, per trace; lets a redraw erase
    // exactly its old dots instead of clearing the whole bitmap.
    unsigned char Screen[650] = {};
    unsigned char Screen2[650] = {};
    int DrwBase = 0;  // byte offset of the first shown sample; always even

    void PrepareSampleStore();
    void LoadSampleFile();
};
