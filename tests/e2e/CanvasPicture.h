#pragma once
// The waveform canvas as a picture: 650 x 512 colours 0x00BBGGRR. The
// expected picture is computed from a sample with the program's own engine;
// the actual one is read back from the screen, where the program showed it.
#include <windows.h>

#include <string>
#include <vector>

struct CanvasPicture {
    static constexpr int kWidth = 650;
    static constexpr int kHeight = 512;

    std::vector<COLORREF> pixels = std::vector<COLORREF>(kWidth * kHeight, 0);

    COLORREF at(int x, int y) const { return pixels[y * kWidth + x]; }
    COLORREF& at(int x, int y) { return pixels[y * kWidth + x]; }
    bool operator==(const CanvasPicture& other) const { return pixels == other.pixels; }
};

// The sample as the program holds it after start-up: the bytes it read, the
// processed copy, and the dot colour of every sample of both traces.
struct ProcessedSample {
    std::vector<unsigned char> input;
    std::vector<unsigned char> processed;
    std::vector<unsigned int> inputColours;
    std::vector<unsigned int> processedColours;
};

// Runs the engine over the first 8192 bytes of `fileBytes` (a short file
// reads as 0xFF past its end; an empty vector stands for a missing file).
ProcessedSample ProcessSample(const std::vector<unsigned char>& fileBytes);

// What the canvas shows with its first column at byte offset `viewBase`.
CanvasPicture ExpectedCanvas(const ProcessedSample& sample, int viewBase);

// The colours (0x00BBGGRR) of a rectangle of the screen, row by row.
std::vector<COLORREF> ScreenPixels(const RECT& area);

// The canvas area of `form` (at (20, 60) of its client area) as on screen.
CanvasPicture CaptureCanvas(HWND form);

// Captures until the screen shows `expected` or the time is up (the program
// puts its drawing on the screen a little after it handled a message);
// returns the last capture.
CanvasPicture WaitForCanvas(HWND form, const CanvasPicture& expected, DWORD timeoutMs = 5000);

// The first few differing pixels, for failure messages.
std::string DescribeDifferences(const CanvasPicture& actual, const CanvasPicture& expected);
