// Run with every sound driver switched off: the device cannot be opened.
#include <memory>

#include "AudioSink.h"
#include "AudioTestSupport.h"
#include "MessageBoxCapture.h"
#include "TestHooks.h"

using namespace audio_test;

namespace {

TEST(AudioNoDevice, ReportsOnceThenDiscardsAndClosesAtOnce) {
    AudioSink sink;
    sink.clear();
    const int callbacksBefore = timerCallBackCount;
    MessageBoxCapture boxes;

    auto audio = std::make_unique<AudioClass>();
    EXPECT_EQ(audio->error, 1);
    const std::vector<CapturedBox> reported{
        ErrorBox("ERROR opening Audio", "Unable to open wave mapper device")};
    EXPECT_EQ(boxes.boxes(), reported);

    // More than the ring holds: a failed output that counted these as queued
    // would hold the writer for ever.
    const auto pcm = numberedFrames(30 * kBlock);
    withinDeadline("writing without a device", [&] {
        audio->writeAudio(pcm.data(), static_cast<int>(pcm.size()));
        audio->writeAudio(pcm.data(), 100);
    });
    EXPECT_EQ(audio->FreeBlocksCnt(), kRing);
    withinDeadline("closing without a device", [&] { audio.reset(); });

    EXPECT_EQ(boxes.boxes(), reported);
    EXPECT_EQ(timerCallBackCount - callbacksBefore, 0);
    EXPECT_TRUE(sink.sound().empty());
}

}  // namespace
