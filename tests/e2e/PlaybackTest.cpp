// What the device receives when the user presses the buttons. Every check
// is made after the program has ended, so all it queued has been played.
#include "ProgramTest.h"

namespace {

class PlaybackTest : public ProgramTest {};

// START plays the input sample eight times, STOP the processed one. A click
// queues behind what is still playing; it never stops or replaces it. The
// identifiers follow creation order: commands 1 and 2 play like START and
// STOP, whatever notification code comes with them; those of other controls
// play nothing. Users' folders often carry names the ANSI code page cannot
// spell ("Test folder" in Russian, "sound sample" in Chinese): the program
// reads its sample there all the same.
TEST_F(PlaybackTest, ClicksAndCommandsPlayTheirSampleEightTimesInTurn) {
    struct Case {
        const wchar_t* folder;            // of the program's copy
        std::vector<const char*> clicks;  // buttons clicked, in this order
        std::vector<WPARAM> commands;     // then WM_COMMAND sent with these
        const char* played;               // 'I' the input, 'P' the processed sample, 8 times each
    };
    const Case cases[] = {
        {L"", {"START"}, {}, "I"},
        {L"", {"STOP"}, {}, "P"},
        {L"", {"START", "START", "STOP"}, {}, "IIP"},
        {L"", {}, {3, 9, 0}, ""},  // clicks (BN_CLICKED is 0) of other controls
        {L"", {}, {MAKEWPARAM(2, BN_DBLCLK), 1}, "PI"},
        {L"\u0422\u0435\u0441\u0442 \u043f\u0430\u043f\u043a\u0430", {"START"}, {}, "I"},
        {L"\u97f3 \u6a23\u672c", {"START"}, {}, "I"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("row " + std::to_string(&c - cases));
        ASSERT_TRUE(sink.clear());
        Start(ToneSample(), true, c.folder);
        ExpectView(0);
        for (const char* caption : c.clicks) {
            ASSERT_TRUE(program->Click(caption));
        }
        for (WPARAM command : c.commands) {
            ASSERT_TRUE(program->Send(program->form(), WM_COMMAND, command, 0));
        }
        CloseNormally();
        std::vector<unsigned char> expected;
        for (const char* which = c.played; *which; ++which) {
            expected =
                Joined(expected, Repeated(*which == 'I' ? sample.input : sample.processed, 8));
        }
        // The processed sample has silent stretches of its own; only the
        // frames that carry sound can be told from the device's filling.
        EXPECT_TRUE(samePcm(sink.sound(), AudioSink::withoutSilentFrames(expected)));
    }
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
