#include "AudioSink.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "WinePath.h"

namespace {
constexpr size_t kFrameBytes = 4;

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
    std::vector<unsigned char> received;
    if (!available()) {
        return received;
    }
    std::unique_ptr<FILE, FileCloser> file(fopen(path_.c_str(), "rb"));
    if (!file) {
        return received;
    }
    unsigned char chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        received.insert(received.end(), chunk, chunk + got);
    }
    return received;
}

std::vector<unsigned char> AudioSink::sound() const {
    return withoutSilentFrames(bytes());
}

std::vector<unsigned char> AudioSink::withoutSilentFrames(const std::vector<unsigned char>& pcm) {
    std::vector<unsigned char> kept;
    kept.reserve(pcm.size());
    const size_t whole = pcm.size() - pcm.size() % kFrameBytes;
    for (size_t i = 0; i < whole; i += kFrameBytes) {
        const auto frame = pcm.begin() + i;
        if (std::any_of(frame, frame + kFrameBytes, [](unsigned char b) { return b != 0; })) {
            kept.insert(kept.end(), frame, frame + kFrameBytes);
        }
    }
    kept.insert(kept.end(), pcm.begin() + whole, pcm.end());
    return kept;
}
