// What the device receives when the user presses the buttons. Every check
// is made after the program has ended, so all it queued has been played.
#include "ProgramTest.h"

namespace {

class PlaybackTest : public ProgramTest {};

TEST_F(PlaybackTest, StartPlaysTheInputSampleEightTimes) {
    Start(ToneSample());
    ASSERT_TRUE(program->Click("START"));
    CloseNormally();
    EXPECT_EQ(sink.sound(), Repeated(sample.input, 8));
}

TEST_F(PlaybackTest, StopPlaysTheProcessedSampleEightTimes) {
    Start(ToneSample());
    ASSERT_TRUE(program->Click("STOP"));
    CloseNormally();
    // The processed sample has silent stretches of its own; only the frames
    // that carry sound can be told from the device's filling.
    EXPECT_EQ(sink.sound(), AudioSink::withoutSilentFrames(Repeated(sample.processed, 8)));
}

// Users' folders often carry names the ANSI code page cannot spell ("Test
// folder" in Russian, "sound sample" in Chinese): the program reads its
// sample there all the same.
TEST_F(PlaybackTest, ReadsItsSampleFromAFolderOfAnyName) {
    for (const wchar_t* folder :
         {L"\u0422\u0435\u0441\u0442 \u043f\u0430\u043f\u043a\u0430", L"\u97f3 \u6a23\u672c"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(folder)));
        ASSERT_TRUE(sink.clear());
        Start(ToneSample(), true, folder);
        ExpectView(0);
        ASSERT_TRUE(program->Click("START"));
        CloseNormally();
        EXPECT_EQ(sink.sound(), Repeated(sample.input, 8));
    }
}

// A click queues behind what is still playing; it never stops or replaces it.
TEST_F(PlaybackTest, ClicksQueueBehindEachOther) {
    Start(ToneSample());
    ASSERT_TRUE(program->Click("START"));
    ASSERT_TRUE(program->Click("START"));
    ASSERT_TRUE(program->Click("STOP"));
    CloseNormally();
    EXPECT_EQ(sink.sound(), AudioSink::withoutSilentFrames(
                                Joined(Repeated(sample.input, 16), Repeated(sample.processed, 8))));
}

TEST_F(PlaybackTest, CommandsOfOtherControlsPlayNothing) {
    Start(ToneSample());
    for (WORD id : {3, 9, 0}) {
        ASSERT_TRUE(program->Send(program->form(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0));
    }
    CloseNormally();
    EXPECT_TRUE(sink.sound().empty());
}

// The identifiers follow creation order: START is 1 and STOP is 2, whatever
// notification code comes with them.
TEST_F(PlaybackTest, CommandsOneAndTwoPlayLikeTheButtons) {
    Start(ToneSample());
    ASSERT_TRUE(program->Send(program->form(), WM_COMMAND, MAKEWPARAM(2, BN_DBLCLK), 0));
    ASSERT_TRUE(program->Send(program->form(), WM_COMMAND, 1, 0));
    CloseNormally();
    EXPECT_EQ(sink.sound(), AudioSink::withoutSilentFrames(
                                Joined(Repeated(sample.processed, 8), Repeated(sample.input, 8))));
}

// With the real sample (which may hold silent frames of its own) the device
// must have received exactly what was played, with nothing but whole silent
// frames added around it.
TEST_F(PlaybackTest, TheBuiltSampleReachesTheDeviceUnchanged) {
    StartBuilt();
    ASSERT_TRUE(program->Click("START"));
    ASSERT_TRUE(program->Click("STOP"));
    CloseNormally();

    const std::vector<unsigned char> expected =
        Joined(Repeated(sample.input, 8), Repeated(sample.processed, 8));
    const std::vector<unsigned char> received = sink.bytes();
    ASSERT_EQ(received.size() % 4, 0u);

    size_t matched = 0;
    size_t added = 0;
    for (size_t i = 0; i < received.size(); i += 4) {
        if (matched < expected.size() && std::equal(received.begin() + i, received.begin() + i + 4,
                                                    expected.begin() + matched)) {
            matched += 4;
        } else if (AudioSink::IsSilentFrame(&received[i])) {
            ++added;
        } else {
            FAIL() << "frame " << i / 4 << " is neither played nor silence";
        }
    }
    EXPECT_EQ(matched, expected.size()) << added << " silent frames were added";
}

}  // namespace
