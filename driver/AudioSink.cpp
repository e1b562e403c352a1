#include "AudioSink.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "DriverBasics.h"
#include "WinePath.h"

namespace {
struct FileCloser {
    void operator()(FILE* f) const { fclose(f); }
};
}  // namespace

AudioSink::AudioSink() {
    if (const char* sink = std::getenv("WARBLE_AUDIO_SINK")) {
        path_ = WindowsPath(sink);
    }
}

AudioSink::AudioSink(const std::string& path) : path_(WindowsPath(path)) {}

bool AudioSink::clear() const {
    if (!available()) {
        return false;
    }
    std::unique_ptr<FILE, FileCloser> file(fopen(path_.c_str(), "wb"));
    return file != nullptr;
}

std::vector<unsigned char> AudioSink::bytes() const {
    return ReadFileBytes(path_);
}

std::vector<unsigned char> AudioSink::sound() const {
    return withoutSilentFrames(bytes());
}

bool AudioSink::IsSilentFrame(const unsigned char* frame) {
    return std::all_of(frame, frame + kFrameBytes, [](unsigned char b) { return b == 0; });
}

std::vector<unsigned char> AudioSink::withoutSilentFrames(const std::vector<unsigned char>& pcm) {
    std::vector<unsigned char> kept;
    kept.reserve(pcm.size());
    const size_t whole = pcm.size() - pcm.size() % kFrameBytes;
    for (size_t i = 0; i < whole; i += kFrameBytes) {
        if (!IsSilentFrame(&pcm[i])) {
            kept.insert(kept.end(), pcm.begin() + i, pcm.begin() + i + kFrameBytes);
        }
    }
    kept.insert(kept.end(), pcm.begin() + whole, pcm.end());
    return kept;
}
