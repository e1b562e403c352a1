#pragma once
// Watches this executable's own calls of the GDI and USER functions that hand
// out or release device contexts, paint contexts included, and GDI objects,
// by swapping their entries in the executable's import table while a ledger
// lives. It keeps the set of objects made and not yet released, the window
// contexts not yet given back, and the releases of objects it never saw
// made; and it can make chosen calls fail, to reach failure paths the
// platform never takes on its own.
#include <windows.h>

#include <set>

enum class GdiCall { GetDC, CreateCompatibleDC, CreateCompatibleBitmap, LoadImageA };

class GdiLedger {
public:
    GdiLedger();
    ~GdiLedger();
    GdiLedger(const GdiLedger&) = delete;
    GdiLedger& operator=(const GdiLedger&) = delete;

    // The next `count` calls of `call` fail as the platform reports failure.
    void FailNext(GdiCall call, int count = 1);

    std::set<HGDIOBJ> live;   // made through a watched call, not yet deleted
    int windowDCsHeld = 0;    // GetDC and BeginPaint results not yet given back
    int foreignReleases = 0;  // DeleteDC/DeleteObject of something not in `live`
    int releases = 0;         // every DeleteDC/DeleteObject

private:
    void InstallHooks();
};
