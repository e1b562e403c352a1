#include "ProgramCopy.h"

#include <windows.h>

#include <cstdio>

#include "WinePath.h"

namespace {

std::string MakeTempFolder() {
    char base[MAX_PATH];
    if (GetTempPathA(MAX_PATH, base) == 0) {
        return "";
    }
    static int counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof name, "%swarble-e2e-%lu-%d\\", base, GetCurrentProcessId(),
                      ++counter);
        if (CreateDirectoryA(name, nullptr)) {
            return name;
        }
    }
    return "";
}

bool WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        return false;
    }
    const size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    return std::fclose(file) == 0 && written == bytes.size();
}

}  // namespace

std::string BuiltProgramPath() {
    return WindowsPath(WARBLETONE_EXE);
}

std::string BuiltSamplePath() {
    const std::string exe = BuiltProgramPath();
    return exe.substr(0, exe.find_last_of('\\') + 1) + "SND\\SND45";
}

ProgramCopy::ProgramCopy() {
    CopyProgram();
}

ProgramCopy::ProgramCopy(const std::vector<unsigned char>& sample) {
    CopyProgram();
    ok_ = ok_ && CreateDirectoryA((folder_ + "SND").c_str(), nullptr) &&
          WriteFileBytes(samplePath(), sample);
}

void ProgramCopy::CopyProgram() {
    folder_ = MakeTempFolder();
    ok_ = !folder_.empty() && CopyFileA(BuiltProgramPath().c_str(), exePath().c_str(), TRUE);
}

ProgramCopy::~ProgramCopy() {
    if (folder_.empty()) {
        return;
    }
    DeleteFileA(samplePath().c_str());
    RemoveDirectoryA((folder_ + "SND").c_str());
    DeleteFileA(exePath().c_str());
    RemoveDirectoryA(folder_.c_str());
}
