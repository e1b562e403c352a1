#pragma once
// The sample the program plays and processes: its file, its loading into the
// form's buffers and the colours with which the two traces are drawn.
#include <cstdio>

#include "Samples.h"

namespace SampleStore {

// Trace colours (0x00BBGGRR) before the pitch shifter marks the input trace.
constexpr unsigned int kInputColour = 0x00FF0000;       // blue
constexpr unsigned int kOutputColour = 0x000000FF;      // red
constexpr unsigned int kLastOutputColour = 0x0000FF00;  // green, the last sample

// The sample file, relative to the program's base directory.
constexpr const char* kSampleFile = "SND\\SND45";

// Fills CINP (4096 colours of the input trace) and COUT (4096 colours of the
// processed trace, the last one set apart).
void FillColourTables(unsigned int* CINP, unsigned int* COUT);

// Reads the first kSampleBytes bytes of `file`, open for reading in binary
// mode, into both DINP and DOUT. A shorter file reads as 0xFF bytes past its
// end; a longer one is cut. A null `file` is one that could not be opened:
// the result is false, and both buffers are left silent (all zero) so that
// the program can go on with defined contents. The file is closed here.
// Opening it is left to the caller because only the platform's side can open
// a path that the narrow character set cannot spell.
bool LoadSample(std::FILE* file, unsigned char* DINP, unsigned char* DOUT);
// The same for the file at `path`.
bool LoadSample(const char* path, unsigned char* DINP, unsigned char* DOUT);

}  // namespace SampleStore
