#include "ProgramCopy.h"

#include <windows.h>

#include <cstdio>

#include "ProgramDriver.h"
#include "WinePath.h"

namespace {

std::wstring MakeTempFolder() {
    wchar_t base[MAX_PATH];
    if (GetTempPathW(MAX_PATH, base) == 0) {
        return L"";
    }
    static int counter = 0;
    for (int attempt = 0; attempt < 100; ++attempt) {
        wchar_t name[MAX_PATH];
        std::swprintf(name, MAX_PATH, L"%lswarble-e2e-%lu-%d\\", base, GetCurrentProcessId(),
                      ++counter);
        if (CreateDirectoryW(name, nullptr)) {
            return name;
        }
    }
    return L"";
}

bool WriteFileBytes(const std::wstring& path, const std::vector<unsigned char>& bytes) {
    FILE* file = _wfopen(path.c_str(), L"wb");
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

ProgramCopy::ProgramCopy(const std::wstring& folderName) {
    CopyProgram(folderName);
}

ProgramCopy::ProgramCopy(const std::vector<unsigned char>& sample, const std::wstring& folderName) {
    CopyProgram(folderName);
    ok_ = ok_ && CreateDirectoryW((folder_ + L"SND").c_str(), nullptr) &&
          WriteFileBytes(sampleFile(), sample);
}

void ProgramCopy::CopyProgram(const std::wstring& folderName) {
    base_ = MakeTempFolder();
    folder_ = base_.empty() || folderName.empty() ? base_ : base_ + folderName + L"\\";
    ok_ = !base_.empty() && (folder_ == base_ || CreateDirectoryW(folder_.c_str(), nullptr)) &&
          CopyFileW(Widened(BuiltProgramPath()).c_str(), exePath().c_str(), TRUE);
}

std::string ProgramCopy::samplePath() const {
    const std::wstring wide = sampleFile();
    std::string ansi(wide.size() * 2, '\0');
    ansi.resize(WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), &ansi[0],
                                    static_cast<int>(ansi.size()), nullptr, nullptr));
    return ansi;
}

ProgramCopy::~ProgramCopy() {
    if (base_.empty()) {
        return;
    }
    DeleteFileW(sampleFile().c_str());
    RemoveDirectoryW((folder_ + L"SND").c_str());
    DeleteFileW(exePath().c_str());
    RemoveDirectoryW(folder_.c_str());
    RemoveDirectoryW(base_.c_str());
}
