// The floors of the start-up benchmark: a Win32 program that opens one empty
// window of the main window's size and runs a message loop, nothing more;
// with "wave" on its command line it also opens the default wave output in
// the program's format first, as the program must, and closes it at the end.
#include <windows.h>

#include <cstring>

namespace {

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void CALLBACK IgnoreWaveMessage(HWAVEOUT, UINT, DWORD_PTR, DWORD_PTR, DWORD_PTR) {}

HWAVEOUT OpenWaveOutput() {
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = 2;
    format.nSamplesPerSec = 44100;
    format.wBitsPerSample = 16;
    format.nBlockAlign = 4;
    format.nAvgBytesPerSec = format.nBlockAlign * format.nSamplesPerSec;
    HWAVEOUT device = nullptr;
    if (waveOutOpen(&device, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(&IgnoreWaveMessage),
                    0, CALLBACK_FUNCTION) != MMSYSERR_NOERROR) {
        return nullptr;
    }
    return device;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int show) {
    HWAVEOUT device = std::strcmp(commandLine, "wave") == 0 ? OpenWaveOutput() : nullptr;
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_MENU + 1);
    windowClass.lpszClassName = "Minimal window";
    RegisterClassExA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "Minimal window",
                                  WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 700, 650,
                                  nullptr, nullptr, instance, nullptr);
    ShowWindow(window, show);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (device) {
        waveOutClose(device);
    }
    return static_cast<int>(message.wParam);
}
