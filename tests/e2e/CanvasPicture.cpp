#include "CanvasPicture.h"

#include <cstdio>

#include "Effects.h"
#include "ProgramDriver.h"
#include "SampleStore.h"
#include "Samples.h"

namespace {

constexpr POINT kCanvasOrigin = {20, 60};

int DotRow(unsigned char highByte) {
    return (highByte + 128) % 256;
}

}  // namespace

ProcessedSample ProcessSample(const std::vector<unsigned char>& fileBytes) {
    ProcessedSample sample;
    sample.input.assign(kSampleBytes, 0);
    if (!fileBytes.empty()) {
        for (int k = 0; k < kSampleBytes; ++k) {
            sample.input[k] = k < static_cast<int>(fileBytes.size()) ? fileBytes[k] : 0xFF;
        }
    }
    sample.processed = sample.input;
    sample.inputColours.assign(kSampleCount, 0);
    sample.processedColours.assign(kSampleCount, 0);
    SampleStore::FillColourTables(sample.inputColours.data(), sample.processedColours.data());
    std::vector<unsigned char> work(kSampleBytes, 0);
    std::vector<unsigned char> marks(kSampleCount, 0);
    Effects::DigitalSignProc(sample.input.data(), sample.processed.data(), work.data(),
                             marks.data(), sample.inputColours.data());
    return sample;
}

CanvasPicture ExpectedCanvas(const ProcessedSample& sample, int viewBase) {
    CanvasPicture picture;
    for (int x = 0; x < CanvasPicture::kWidth; ++x) {
        const int index = viewBase / 2 + x;
        picture.at(x, DotRow(sample.input[2 * index + 1])) = sample.inputColours[index];
        picture.at(x, 256 + DotRow(sample.processed[2 * index + 1])) =
            sample.processedColours[index];
    }
    return picture;
}

std::vector<COLORREF> ScreenPixels(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    std::vector<COLORREF> pixels(static_cast<size_t>(width) * height, 0);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
        GdiFlush();
        // A 32-bit DIB holds 0x00RRGGBB; colours are compared as 0x00BBGGRR.
        const auto* rgb = static_cast<const DWORD*>(bits);
        for (size_t i = 0; i < pixels.size(); ++i) {
            const DWORD p = rgb[i];
            pixels[i] = RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
    }
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

CanvasPicture CaptureCanvas(HWND form) {
    POINT origin = kCanvasOrigin;
    ClientToScreen(form, &origin);
    CanvasPicture picture;
    picture.pixels = ScreenPixels(
        {origin.x, origin.y, origin.x + CanvasPicture::kWidth, origin.y + CanvasPicture::kHeight});
    return picture;
}

CanvasPicture WaitForCanvas(HWND form, const CanvasPicture& expected, DWORD timeoutMs) {
    CanvasPicture actual;
    WaitFor(
        [&] {
            actual = CaptureCanvas(form);
            return actual == expected;
        },
        timeoutMs);
    return actual;
}

std::string DescribeDifferences(const CanvasPicture& actual, const CanvasPicture& expected) {
    std::string text;
    int shown = 0;
    int total = 0;
    for (int y = 0; y < CanvasPicture::kHeight; ++y) {
        for (int x = 0; x < CanvasPicture::kWidth; ++x) {
            if (actual.at(x, y) == expected.at(x, y)) {
                continue;
            }
            ++total;
            if (shown < 10) {
                char line[96];
                std::snprintf(line, sizeof line, "(%d,%d): 0x%06lX, expected 0x%06lX\n", x, y,
                              static_cast<unsigned long>(actual.at(x, y)),
                              static_cast<unsigned long>(expected.at(x, y)));
                text += line;
                ++shown;
            }
        }
    }
    return std::to_string(total) + " pixels differ\n" + text;
}
