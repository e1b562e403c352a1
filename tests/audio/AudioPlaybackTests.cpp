// Playback through Wine's real wave output into the test's file device.
#include <memory>

#include "AudioSink.h"
#include "AudioTestSupport.h"
#include "TestHooks.h"

using namespace audio_test;

namespace {

class AudioOutput : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sink.available()) << "WARBLE_AUDIO_SINK is not set";
        ASSERT_TRUE(sink.clear()) << sink.path();
        callbacksBefore = timerCallBackCount;
    }

    int callbacksSinceStart() const { return timerCallBackCount - callbacksBefore; }

    // Writes `pcm` in pieces of the given sizes, then destroys the output.
    void playInPieces(const std::vector<unsigned char>& pcm, const std::vector<int>& pieces) {
        auto audio = std::make_unique<AudioClass>();
        ASSERT_EQ(audio->error, 0);
        withinDeadline("writing and closing", [&] {
            size_t at = 0;
            for (int piece : pieces) {
                audio->writeAudio(pcm.data() + at, piece);
                at += piece;
            }
            audio.reset();
        });
    }

    AudioSink sink;
    int callbacksBefore = 0;
};

TEST_F(AudioOutput, PlaysExactlyTheFullBlocksInOrder) {
    struct Case {
        std::vector<int> pieces;
        size_t played;
    };
    const Case cases[] = {
        {{8192}, 8192},          // exactly one block
        {{100, 8092}, 8192},     // a block completed by a second write
        {{20000}, 16384},        // the last 3616 bytes stay in an unqueued block
        {{20000, 4576}, 24576},  // ... until a later write fills it
        {{65536}, 65536},        // eight blocks, as a button press writes them
        {{8191}, 0},             // a partial block is never played
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.pieces));
        ASSERT_TRUE(sink.clear());
        size_t total = 0;
        for (int piece : c.pieces) {
            total += piece;
        }
        const auto pcm = numberedFrames(total);
        playInPieces(pcm, c.pieces);
        EXPECT_TRUE(samePcm(sink.sound(), firstBytes(pcm, c.played)));
    }
}

TEST_F(AudioOutput, RingIsReusedAndClosingWaitsForEveryBlock) {
    // 50 blocks in pieces that never line up with a block boundary; the
    // output is destroyed at once, with the ring full.
    const int blocks = 50;
    const auto pcm = numberedFrames(blocks * kBlock);
    std::vector<int> pieces(pcm.size() / 5000, 5000);
    pieces.push_back(static_cast<int>(pcm.size() % 5000));
    DeviceCallSeam seam;
    playInPieces(pcm, pieces);

    EXPECT_TRUE(samePcm(sink.sound(), pcm));
    EXPECT_TRUE(WaitFor([&] { return callbacksSinceStart() >= blocks; }, kHandBackMs));
    EXPECT_EQ(callbacksSinceStart(), blocks);
    // Every block, also one that has come back, is prepared without flags.
    EXPECT_EQ(DeviceCallSeam::prepares, blocks);
    EXPECT_EQ(DeviceCallSeam::preparesWithFlags, 0);
}

TEST_F(AudioOutput, FreeBlockCountFallsWhileQueuedAndRecovers) {
    const int blocks = 30;
    const auto pcm = numberedFrames(blocks * kBlock);
    auto audio = std::make_unique<AudioClass>();
    ASSERT_EQ(audio->error, 0);
    EXPECT_EQ(audio->FreeBlocksCnt(), kRing);

    std::vector<int> seen;
    withinDeadline("writing", [&] {
        for (int b = 0; b < blocks; ++b) {
            audio->writeAudio(pcm.data() + b * kBlock, kBlock);
            seen.push_back(audio->FreeBlocksCnt());
        }
    });
    for (int free : seen) {
        EXPECT_GE(free, 0);
        EXPECT_LE(free, kRing);
    }
    EXPECT_LT(*std::min_element(seen.begin(), seen.end()), kRing);

    EXPECT_TRUE(WaitFor([&] { return audio->FreeBlocksCnt() == kRing; }, kHandBackMs));
    EXPECT_TRUE(WaitFor([&] { return callbacksSinceStart() >= blocks; }, kHandBackMs));
    EXPECT_EQ(callbacksSinceStart(), blocks);

    withinDeadline("closing", [&] { audio.reset(); });
    EXPECT_EQ(callbacksSinceStart(), blocks) << "closing the device is no finished block";
    EXPECT_TRUE(samePcm(sink.sound(), pcm));
}

TEST_F(AudioOutput, WritesOfNothingAreIgnored) {
    const auto pcm = numberedFrames(kBlock);
    auto audio = std::make_unique<AudioClass>();
    withinDeadline("writing and closing", [&] {
        audio->writeAudio(pcm.data(), 0);
        audio->writeAudio(pcm.data(), -4);
        audio->writeAudio(nullptr, kBlock);
        audio->writeAudio(pcm.data(), kBlock);
        audio.reset();
    });
    EXPECT_TRUE(samePcm(sink.sound(), pcm));
}

TEST_F(AudioOutput, OnlyFinishedBlocksAreCounted) {
    AudioClass audio;  // the callback takes the output's lock
    volatile int counter = 5;
    for (UINT message : {UINT(WOM_OPEN), UINT(WOM_CLOSE), UINT(0), UINT(WOM_DONE + 1)}) {
        AudioClassTestAccess::deliver(message, &counter);
    }
    EXPECT_EQ(counter, 5);
    EXPECT_EQ(callbacksSinceStart(), 0);

    AudioClassTestAccess::deliver(WOM_DONE, &counter);
    EXPECT_EQ(counter, 6);
    EXPECT_EQ(callbacksSinceStart(), 1);
}

TEST_F(AudioOutput, DeviceRefusingBlocksHoldsNobody) {
    // No refused block may count as queued, or the ring would fill and the
    // writer and the destructor wait for blocks that never come back. Rows: a
    // device that has gone away refuses every block; one that prepares every
    // block but refuses to play it, more often than the ring has blocks,
    // plays again once it takes blocks again.
    const auto pcm = numberedFrames(30 * kBlock);
    for (const bool gone : {true, false}) {
        SCOPED_TRACE(gone ? "device gone" : "writes refused");
        auto audio = std::make_unique<AudioClass>();
        ASSERT_EQ(audio->error, 0);
        DeviceCallSeam seam;
        if (gone) {
            ASSERT_EQ(waveOutClose(AudioClassTestAccess::device(*audio)), MMSYSERR_NOERROR);
        } else {
            DeviceCallSeam::writesToRefuse = 30;
        }
        withinDeadline("writing to a refusing device",
                       [&] { audio->writeAudio(pcm.data(), static_cast<int>(pcm.size())); });
        EXPECT_EQ(DeviceCallSeam::writesToRefuse, 0);
        EXPECT_EQ(audio->FreeBlocksCnt(), kRing);
        withinDeadline("writing again and closing", [&] {
            audio->writeAudio(pcm.data(), kBlock);
            audio.reset();
        });
        const int played = gone ? 0 : 1;
        EXPECT_TRUE(WaitFor([&] { return callbacksSinceStart() >= played; }, kHandBackMs));
        EXPECT_EQ(callbacksSinceStart(), played);
        EXPECT_TRUE(samePcm(sink.sound(), firstBytes(pcm, played * kBlock)));
    }
}

TEST_F(AudioOutput, StalledDeviceIsResetInsteadOfHoldingTheWriterOrTheCloser) {
    // A paused device keeps every block it is given. Rows: the blocks written
    // to it, whether it goes on for one block after each of two stops shorter
    // than the stall time and then for good, and how many of the blocks
    // written last are played.
    const struct {
        int written;
        bool stopsBriefly;
        int played;
    } cases[] = {
        // The writer fills the ring and, once none comes back, resets the
        // device: the 20 held blocks return unplayed, and what follows plays.
        {kRing + 5, false, 5},
        // Closing with blocks held resets the device the same way.
        {3, false, 0},
        // Each block handed back starts the stall clock again: the device is
        // left alone although the wait as a whole lasts longer than the stall
        // time, and every block plays.
        {4, true, 4},
    };
    const auto pcm = numberedFrames((kRing + 5) * kBlock);
    int returned = 0;  // every block comes back once, played or not
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        auto audio = std::make_unique<AudioClass>();
        ASSERT_EQ(audio->error, 0);
        HWAVEOUT device = AudioClassTestAccess::device(*audio);
        ASSERT_EQ(waveOutPause(device), MMSYSERR_NOERROR);
        std::atomic<bool> closed{false};
        std::thread goesOn([&] {
            for (int stop = 1; c.stopsBriefly && stop <= 3; ++stop) {
                Sleep(900);
                const int before = callbacksSinceStart();
                waveOutRestart(device);
                WaitFor([&] { return closed || callbacksSinceStart() > before; }, kHandBackMs);
                if (stop < 3) {
                    waveOutPause(device);  // one block later
                }
            }
        });
        withinDeadline("writing to a paused device and closing", [&] {
            audio->writeAudio(pcm.data(), c.written * kBlock);
            audio.reset();
        });
        closed = true;
        goesOn.join();
        returned += c.written;
        EXPECT_TRUE(WaitFor([&] { return callbacksSinceStart() >= returned; }, kHandBackMs));
        EXPECT_EQ(callbacksSinceStart(), returned);
        EXPECT_TRUE(samePcm(
            sink.sound(), std::vector<unsigned char>(pcm.begin() + (c.written - c.played) * kBlock,
                                                     pcm.begin() + c.written * kBlock)));
    }
}

// Silence Wine adds on an underrun is dropped; played frames never are.
TEST(AudioSink, DropsOnlyAllZeroFrames) {
    const std::vector<unsigned char> received = {0, 0, 0, 0, 1, 2, 3, 4, 0, 0, 0, 0, 0,
                                                 0, 0, 9, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const std::vector<unsigned char> expected = {1, 2, 3, 4, 0, 0, 0, 9, 9, 0, 0, 0, 0, 0};
    EXPECT_EQ(AudioSink::withoutSilentFrames(received), expected);
    EXPECT_TRUE(AudioSink::withoutSilentFrames({}).empty());
}

}  // namespace
