#pragma once
// A private copy of Warbletone.exe in a fresh temporary folder, with a sample
// file of the test's choosing as SND\SND45 beside it (or none at all), so a
// test controls exactly what the program reads. The folder is removed again
// when the copy goes away.
#include <string>
#include <vector>

class ProgramCopy {
public:
    // The folder gets SND\SND45 holding `sample`.
    explicit ProgramCopy(const std::vector<unsigned char>& sample);
    // The folder has no SND\SND45.
    ProgramCopy();
    ~ProgramCopy();
    ProgramCopy(const ProgramCopy&) = delete;
    ProgramCopy& operator=(const ProgramCopy&) = delete;

    bool ok() const { return ok_; }
    const std::string& folder() const { return folder_; }  // ends in a backslash
    std::string exePath() const { return folder_ + "Warbletone.exe"; }
    std::string samplePath() const { return folder_ + "SND\\SND45"; }

private:
    std::string folder_;
    bool ok_ = false;

    void CopyProgram();
};

// The program as built, and the sample the build put beside it.
std::string BuiltProgramPath();
std::string BuiltSamplePath();
