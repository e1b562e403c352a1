#pragma once
// The file sound device that the tests and the demonstration listen to.
//
// They run through tools/headless with a private HOME whose .asoundrc points
// ALSA's default device at a file:
//
//   pcm.!default { type file; slave.pcm "null"; file "<sink>"; format "raw" }
//
// Wine's wave output reaches ALSA, so whatever the program plays through
// waveOut lands in <sink> byte for byte, in the device format (44100 Hz,
// 16 bits, two channels: 4-byte frames). The variable WARBLE_AUDIO_SINK holds
// its Unix path. Two things differ from a sound card:
// - the device is not paced in real time: playing ends sooner than it would
//   sound;
// - when the device runs dry Wine fills the gap with silence, so all-zero
//   frames may appear between and after the played blocks. Compare with test
//   data that has no all-zero frame, through sound().
// ALSA truncates the file each time the device is opened; clear() between
// two players in one process (never while a device is open).
//
//   AudioSink sink;               // the one named by WARBLE_AUDIO_SINK
//   sink.clear();
//   { AudioClass out; out.writeAudio(data, 8192); }
//   EXPECT_TRUE(samePcm(sink.sound(), expected));  // tests/support/SamePcm.h
#include <string>
#include <vector>

class AudioSink {
public:
    // The sink named by WARBLE_AUDIO_SINK; unavailable() when it is unset.
    AudioSink();
    // A sink file given by its Unix path ("/x/y") or Windows path ("Z:\x\y").
    explicit AudioSink(const std::string& path);

    bool available() const { return !path_.empty(); }
    const std::string& path() const { return path_; }  // as Windows sees it

    // Empties the file (creates it when missing); false when that fails.
    bool clear() const;
    // Everything the device received; empty when the file is missing.
    std::vector<unsigned char> bytes() const;
    // What was played: bytes() without the all-zero frames.
    std::vector<unsigned char> sound() const;

    static constexpr size_t kFrameBytes = 4;
    // Whether the kFrameBytes bytes at `frame` are all zero: silence, which
    // the device may have added.
    static bool IsSilentFrame(const unsigned char* frame);
    // `pcm` without its all-zero frames; a trailing partial frame is kept.
    static std::vector<unsigned char> withoutSilentFrames(const std::vector<unsigned char>& pcm);

private:
    std::string path_;
};
