#pragma once
// Shared set-up of the end-to-end tests: a test sample, the program started
// on it, and checks of what the program shows and plays.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "AudioSink.h"
#include "CanvasPicture.h"
#include "ProgramCopy.h"
#include "ProgramDriver.h"
#include "SamePcm.h"

// A two-tone sample with upward crossings all along it and no sample equal
// to 0, so it holds no all-zero frame: whatever all-zero frames the device
// received were added by the device, not played.
std::vector<unsigned char> ToneSample();

class ProgramTest : public ::testing::Test {
protected:
    AudioSink sink;
    std::unique_ptr<ProgramCopy> copy;
    std::unique_ptr<RunningProgram> program;
    ProcessedSample sample;

    void SetUp() override;

    // Starts a private copy of the program with `fileBytes` as its sample
    // (none when `withSample` is false), in a folder named `folderName` when
    // one is given, with `showCommand` to show its window with, and waits
    // for its window.
    void Start(const std::vector<unsigned char>& fileBytes, bool withSample = true,
               const std::wstring& folderName = L"", WORD showCommand = SW_SHOWDEFAULT);
    // Starts the program as built, with the sample the build put beside it.
    void StartBuilt();

    // Asserts that the canvas on screen shows the view at `viewBase`.
    void ExpectView(int viewBase);
    // Closes the window and expects a clean exit without any message box.
    void CloseNormally();
};
