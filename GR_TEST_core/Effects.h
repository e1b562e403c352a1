#pragma once
// The sample effects of the main form: transformations of one 4096-sample
// buffer (Samples.h) into another. They work on the form's buffers, passed in,
// and hold no state of their own, so they can be run and checked on their own.

namespace Effects {

// Colours with which the pitch processors mark the input trace (0x00BBGGRR).
constexpr unsigned int kLeadInColour = 0x000000FF;    // red: before the first crossing
constexpr unsigned int kCrossingColour = 0x00FFFFFF;  // white: a crossing or boundary

// The waveform that DigitalSignProc3 imposes on the input's peak envelope;
// one period of 419 samples, never written.
constexpr int kWave1Length = 419;
extern const int wave1[kWave1Length];

// Raises the pitch of DINP by an octave at the same length into DOUT.
// CONV is a 4096-sample work buffer: the part of it this call leaves unwritten
// is read back as the tail of DOUT, so keep it cleared. ZERO holds 4096 flags
// marking upward crossings by output position; CINP, the colours of the input
// trace, gets the lead-in and the crossings marked.
void DigitalSignProc(const unsigned char* DINP, unsigned char* DOUT, unsigned char* CONV,
                     unsigned char* ZERO, unsigned int* CINP);

// Lowers the pitch of DINP by an octave at about the same length into DOUT by
// keeping every other period and interpolating. CONV and CINP as above.
void DigitalSignProc2(const unsigned char* DINP, unsigned char* DOUT, unsigned char* CONV,
                      unsigned int* CINP);

// Replaces the waveform of DINP by wave1, keeping only its peak envelope.
void DigitalSignProc3(const unsigned char* DINP, unsigned char* DOUT);

// Draws into the sample buffer DAT the integer line from (x1, y1) to (x2, y2),
// x being a sample position and y a sample value. Every position from x1 to
// x2 is written and no other. Positions must lie within the buffer and values
// within 16 bits.
void Line(int x1, int y1, int x2, int y2, unsigned char* DAT);

}  // namespace Effects
