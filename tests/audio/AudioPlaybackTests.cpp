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

    LockWatch lock(&counter);
    AudioClassTestAccess::deliver(WOM_DONE, &counter);
    EXPECT_EQ(counter, 6);
    EXPECT_EQ(LockWatch::seen, (std::vector<int>{5, 6})) << "taken at 5, given back at 6";
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
    // A stuck device keeps every block it is given until it is reset. Rows:
    // the blocks written to it, how many of them the test hands on to be
    // played, one every half second, how many of the blocks written last
    // are played, and how often the device is reset.
    const struct {
        int written;
        int handedOn;
        int played;
        int resets;
    } cases[] = {
        // The writer fills the ring and, once none comes back, resets the
        // device: the 20 kept blocks return unplayed, and what follows plays.
        {kRing + 5, 0, 5, 1},
        // Closing with blocks kept resets the device the same way.
        {3, 0, 0, 1},
        // Each block handed back starts the stall clock again: the closer
        // waits twice the stall time in all but about a quarter of it for
        // each block, and leaves the device alone.
        {8, 8, 8, 0},
    };
    const auto pcm = numberedFrames((kRing + 5) * kBlock);
    int returned = 0;  // every block comes back once, played or not
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        auto audio = std::make_unique<AudioClass>();
        ASSERT_EQ(audio->error, 0);
        DeviceCallSeam seam;
        DeviceCallSeam::stuck = true;
        std::thread handsOn([&] {
            for (int block = 0; block < c.handedOn; ++block) {
                Sleep(kStallMs / 4);
                DeviceCallSeam::handOnOne();
            }
        });
        const DWORD start = GetTickCount();
        withinDeadline("writing to a stuck device and closing", [&] {
            audio->writeAudio(pcm.data(), c.written * kBlock);
            audio.reset();
        });
        const DWORD took = GetTickCount() - start;
        handsOn.join();
        EXPECT_EQ(DeviceCallSeam::resets, c.resets);
        // A stall is given the stall time, and no more than a few times it
        // holds the writer or the closer: never as long as it takes to hang.
        if (c.resets > 0) {
            EXPECT_GE(took, kStallMs);
            EXPECT_LT(took, 3 * kStallMs);
        }
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
