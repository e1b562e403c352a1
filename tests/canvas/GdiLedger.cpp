#include "GdiLedger.h"

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "ImportSlot.h"

namespace {

GdiLedger* ledger = nullptr;
int failures[4] = {};

bool TakeFailure(GdiCall call) {
    int& pending = failures[static_cast<int>(call)];
    if (pending == 0)
        return false;
    --pending;
    return true;
}

// One entry of the import address table, replaced for the hook's lifetime.
struct PatchedImport {
    void** slot;
    void* original;
};
std::vector<PatchedImport> patches;

void** FindImportSlot(const char* dll, const char* function) {
    auto* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    auto* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
    for (; desc->Name; ++desc) {
        if (_stricmp(reinterpret_cast<char*>(base + desc->Name), dll) != 0)
            continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->OriginalFirstThunk);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<char*>(byName->Name), function) == 0)
                return reinterpret_cast<void**>(&slots->u1.Function);
        }
    }
    throw std::runtime_error(std::string("not imported: ") + function);
}

template <class Fn>
Fn Hook(const char* dll, const char* function, Fn replacement) {
    void** slot = FindImportSlot(dll, function);
    patches.push_back({slot, *slot});
    WriteImportSlot(slot, reinterpret_cast<void*>(replacement));
    return reinterpret_cast<Fn>(patches.back().original);
}

decltype(&GetDC) realGetDC;
decltype(&ReleaseDC) realReleaseDC;
decltype(&BeginPaint) realBeginPaint;
// Named here so that the executable imports EndPaint, and a ledger can watch
// it, even when nothing else calls it: a canvas that never gives its paint
// context back must leave the count up, not leave the ledger without a hook.
decltype(&EndPaint) realEndPaint = &EndPaint;
decltype(&CreateCompatibleDC) realCreateCompatibleDC;
decltype(&CreateCompatibleBitmap) realCreateCompatibleBitmap;
decltype(&LoadImageA) realLoadImageA;
decltype(&CreateSolidBrush) realCreateSolidBrush;
decltype(&CreatePen) realCreatePen;
decltype(&DeleteDC) realDeleteDC;
decltype(&DeleteObject) realDeleteObject;

template <class H>
H Made(H handle) {
    if (handle)
        ledger->live.insert(handle);
    return handle;
}

void Released(HGDIOBJ handle) {
    ++ledger->releases;
    if (ledger->live.erase(handle) == 0)
        ++ledger->foreignReleases;
}

HDC WINAPI WatchedGetDC(HWND hwnd) {
    if (TakeFailure(GdiCall::GetDC))
        return nullptr;
    HDC dc = realGetDC(hwnd);
    if (dc)
        ++ledger->windowDCsHeld;
    return dc;
}

int WINAPI WatchedReleaseDC(HWND hwnd, HDC dc) {
    int released = realReleaseDC(hwnd, dc);
    if (released)
        --ledger->windowDCsHeld;
    return released;
}

HDC WINAPI WatchedBeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    HDC dc = realBeginPaint(hwnd, paint);
    if (dc)
        ++ledger->windowDCsHeld;
    return dc;
}

// EndPaint reports no failure; the context it was given is given back.
BOOL WINAPI WatchedEndPaint(HWND hwnd, const PAINTSTRUCT* paint) {
    if (paint->hdc)
        --ledger->windowDCsHeld;
    return realEndPaint(hwnd, paint);
}

HDC WINAPI WatchedCreateCompatibleDC(HDC dc) {
    if (TakeFailure(GdiCall::CreateCompatibleDC))
        return nullptr;
    return Made(realCreateCompatibleDC(dc));
}

HBITMAP WINAPI WatchedCreateCompatibleBitmap(HDC dc, int width, int height) {
    if (TakeFailure(GdiCall::CreateCompatibleBitmap))
        return nullptr;
    return Made(realCreateCompatibleBitmap(dc, width, height));
}

HANDLE WINAPI WatchedLoadImageA(HINSTANCE inst, LPCSTR name, UINT type, int cx, int cy,
                                UINT flags) {
    if (TakeFailure(GdiCall::LoadImageA))
        return nullptr;
    return Made(realLoadImageA(inst, name, type, cx, cy, flags));
}

HBRUSH WINAPI WatchedCreateSolidBrush(COLORREF color) {
    return Made(realCreateSolidBrush(color));
}

HPEN WINAPI WatchedCreatePen(int style, int width, COLORREF color) {
    return Made(realCreatePen(style, width, color));
}

BOOL WINAPI WatchedDeleteDC(HDC dc) {
    BOOL deleted = realDeleteDC(dc);
    if (deleted)
        Released(dc);
    return deleted;
}

BOOL WINAPI WatchedDeleteObject(HGDIOBJ object) {
    BOOL deleted = realDeleteObject(object);
    if (deleted)
        Released(object);
    return deleted;
}

void RestoreImports() {
    for (auto it = patches.rbegin(); it != patches.rend(); ++it)
        WriteImportSlot(it->slot, it->original);
    patches.clear();
    for (int& pending : failures)
        pending = 0;
    ledger = nullptr;
}

}  // namespace

GdiLedger::GdiLedger() {
    if (ledger)
        throw std::logic_error("one GdiLedger at a time");
    ledger = this;
    try {
        InstallHooks();
    } catch (...) {
        RestoreImports();
        throw;
    }
}

GdiLedger::~GdiLedger() {
    RestoreImports();
}

void GdiLedger::InstallHooks() {
    realGetDC = Hook("user32.dll", "GetDC", &WatchedGetDC);
    realReleaseDC = Hook("user32.dll", "ReleaseDC", &WatchedReleaseDC);
    realBeginPaint = Hook("user32.dll", "BeginPaint", &WatchedBeginPaint);
    realEndPaint = Hook("user32.dll", "EndPaint", &WatchedEndPaint);
    realLoadImageA = Hook("user32.dll", "LoadImageA", &WatchedLoadImageA);
    realCreateCompatibleDC = Hook("gdi32.dll", "CreateCompatibleDC", &WatchedCreateCompatibleDC);
    realCreateCompatibleBitmap =
        Hook("gdi32.dll", "CreateCompatibleBitmap", &WatchedCreateCompatibleBitmap);
    realCreateSolidBrush = Hook("gdi32.dll", "CreateSolidBrush", &WatchedCreateSolidBrush);
    realCreatePen = Hook("gdi32.dll", "CreatePen", &WatchedCreatePen);
    realDeleteDC = Hook("gdi32.dll", "DeleteDC", &WatchedDeleteDC);
    realDeleteObject = Hook("gdi32.dll", "DeleteObject", &WatchedDeleteObject);
}

void GdiLedger::FailNext(GdiCall call, int count) {
    failures[static_cast<int>(call)] += count;
}
