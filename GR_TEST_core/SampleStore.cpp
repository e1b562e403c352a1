#include "SampleStore.h"

#include <cstdio>
#include <cstring>

namespace SampleStore {

void FillColourTables(unsigned int* CINP, unsigned int* COUT) {
    for (int i = 0; i < kSampleCount; ++i) {
        CINP[i] = kInputColour;
        COUT[i] = kOutputColour;
    }
    COUT[kSampleCount - 1] = kLastOutputColour;
}

bool LoadSample(std::FILE* file, unsigned char* DINP, unsigned char* DOUT) {
    if (file == nullptr) {
        std::memset(DINP, 0, kSampleBytes);
        std::memset(DOUT, 0, kSampleBytes);
        return false;
    }
    // Past the end fgetc returns EOF, whose low byte 0xFF is kept as it is:
    // a short file ends in samples of -1.
    for (int k = 0; k < kSampleBytes; ++k) {
        const unsigned char byte = static_cast<unsigned char>(std::fgetc(file) & 0xFF);
        DINP[k] = byte;
        DOUT[k] = byte;
    }
    std::fclose(file);
    return true;
}

bool LoadSample(const char* path, unsigned char* DINP, unsigned char* DOUT) {
    return LoadSample(std::fopen(path, "rb"), DINP, DOUT);
}

}  // namespace SampleStore
