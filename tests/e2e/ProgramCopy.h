#pragma once
// A private copy of Warbletone.exe in a fresh temporary folder, with a sample
// file of the test's choosing as SND\SND45 beside it (or none at all), so a
// test controls exactly what the program reads. The folder is removed again
// when the copy goes away. Paths are wide: a test may put the program in a
// folder whose name the ANSI code page cannot spell.
#include <string>
#include <vector>

class ProgramCopy {
public:
    // The folder gets SND\SND45 holding `sample`. A non-empty `folderName`
    // puts the program and its sample into a folder of that name inside the
    // fresh one.
    explicit ProgramCopy(const std::vector<unsigned char>& sample,
                         const std::wstring& folderName = L"");
    // The folder, named `folderName` as above, has no SND\SND45.
    explicit ProgramCopy(const std::wstring& folderName = L"");
    ~ProgramCopy();
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;

    bool ok() const { return ok_; }
    const std::wstring& folder() const { return folder_; }  // ends in a backslash
    std::wstring exePath() const { return folder_ + L"Warbletone.exe"; }
    // In the ANSI character set, as the program's own messages spell it.
    std::string samplePath() const;

private:
    std::wstring base_;    // the fresh temporary folder
    std::wstring folder_;  // the program's: base_ or the named folder in it
    bool ok_ = false;

    void CopyProgram(const std::wstring& folderName);
    std::wstring sampleFile() const { return folder_ + L"SND\\SND45"; }
};

// The program as built, and the sample the build put beside it.
std::string BuiltProgramPath();
std::string BuiltSamplePath();
