#include "ProgramTest.h"

#include <cmath>

#include "Samples.h"

std::vector<unsigned char> ToneSample() {
    std::vector<unsigned char> bytes(kSampleBytes);
    const double pi = std::acos(-1.0);
    for (int i = 0; i < kSampleCount; ++i) {
        const double tone = 9000 * std::sin(2 * pi * i / 97) + 4000 * std::sin(2 * pi * i / 13);
        const int value = static_cast<int>(std::lround(tone)) | 1;  // odd, hence never 0
        WriteSample(bytes.data(), i, value);
    }
    return bytes;
}

void ProgramTest::SetUp() {
    ASSERT_TRUE(sink.available()) << "WARBLE_AUDIO_SINK is not set";
    ASSERT_TRUE(sink.clear());
}

void ProgramTest::Start(const std::vector<unsigned char>& fileBytes, bool withSample,
                        const std::wstring& folderName, WORD showCommand) {
    copy = withSample ? std::make_unique<ProgramCopy>(fileBytes, folderName)
                      : std::make_unique<ProgramCopy>(folderName);
    ASSERT_TRUE(copy->ok()) << "cannot copy the program to " << copy->folder();
    sample = ProcessSample(withSample ? fileBytes : std::vector<unsigned char>());
    program = std::make_unique<RunningProgram>(copy->exePath(), showCommand);
    ASSERT_TRUE(program->started());
    ASSERT_TRUE(program->WaitForMainWindow()) << "the main window did not appear";
}

void ProgramTest::StartBuilt() {
    sample = ProcessSample(ReadFileBytes(BuiltSamplePath()));
    program = std::make_unique<RunningProgram>(BuiltProgramPath());
    ASSERT_TRUE(program->started());
    ASSERT_TRUE(program->WaitForMainWindow()) << "the main window did not appear";
}

void ProgramTest::ExpectView(int viewBase) {
    const CanvasPicture expected = ExpectedCanvas(sample, viewBase);
    const CanvasPicture actual = WaitForCanvas(program->form(), expected);
    EXPECT_TRUE(actual == expected)
        << "view at " << viewBase << ": " << DescribeDifferences(actual, expected);
}

void ProgramTest::CloseNormally() {
    EXPECT_EQ(program->Close(), 0u);
    for (const SeenBox& box : program->Boxes()) {
        ADD_FAILURE() << "unexpected message box \"" << box.caption << "\": " << box.text;
    }
}
