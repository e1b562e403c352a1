// Runs an unpacked Warbletone.exe the way a user would and checks that it
// works from where it was unpacked:
//
//   package_driver <Windows path of Warbletone.exe>
//
// starts the program (in the temporary folder, not its own), waits for its
// main window, clicks "START", closes the window and expects exit code 0,
// no message box at any point, and the sample beside the program heard
// eight times. Exit code 0 when all of that held, 1 with the reason on
// standard error otherwise. Every wait is bounded, so a stuck program fails
// the run instead of hanging it.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "AudioSink.h"
#include "ProgramDriver.h"

namespace {

constexpr size_t kSampleBytes = 8192;
constexpr int kCopiesPerClick = 8;

bool Fail(const std::string& why) {
    fprintf(stderr, "package_driver: %s\n", why.c_str());
    return false;
}

// The program reports failures in message boxes; one showing up means the
// run went wrong, and its text says why.
bool NoBoxShown(const RunningProgram& program) {
    const std::vector<SeenBox> boxes = program.Boxes();
    if (boxes.empty()) {
        return true;
    }
    return Fail("the program showed a message box \"" + boxes[0].caption + "\": " + boxes[0].text);
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.find_last_of('\\') + 1);
}

bool RunUnpackedProgram(const std::string& exe) {
    AudioSink sink;
    if (!sink.available() || !sink.clear()) {
        return Fail("no sound sink to listen on (WARBLE_AUDIO_SINK)");
    }
    std::vector<unsigned char> sample = ReadFileBytes(FolderOf(exe) + "SND\\SND45");
    if (sample.size() < kSampleBytes) {
        return Fail("the package's SND\\SND45 holds " + std::to_string(sample.size()) +
                    " bytes, fewer than one sample");
    }
    sample.resize(kSampleBytes);
    const std::vector<unsigned char> expected =
        AudioSink::withoutSilentFrames(Repeated(sample, kCopiesPerClick));

    RunningProgram program(exe);
    if (!program.started()) {
        return Fail("cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")");
    }
    const bool shown = program.WaitForMainWindow();
    if (!NoBoxShown(program)) {
        return false;
    }
    if (!shown) {
        return Fail("the main window did not appear");
    }
    if (program.button("START") == nullptr) {
        return Fail("the main window has no \"START\" button");
    }
    if (!sink.sound().empty()) {
        return Fail("the program played sound before anything was clicked");
    }
    if (!program.Click("START")) {
        return Fail("the program did not take the click on \"START\"");
    }

    // Closing waits until everything queued has been played.
    const DWORD exitCode = program.Close();
    if (exitCode == RunningProgram::kNoExit) {
        return Fail("the program did not end after its window was closed");
    }
    if (exitCode != 0) {
        return Fail("the program ended with exit code " + std::to_string(exitCode));
    }
    if (!NoBoxShown(program)) {
        return false;
    }
    const std::vector<unsigned char> heard = sink.sound();
    if (heard != expected) {
        return Fail("after \"START\" the sound device received " + std::to_string(heard.size()) +
                    " bytes of sound, not the " + std::to_string(expected.size()) +
                    " of eight copies of the packaged sample");
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: package_driver <path of Warbletone.exe>\n");
        return 2;
    }
    return RunUnpackedProgram(argv[1]) ? 0 : 1;
}
