#pragma once
// Swapping a function in this executable's import table, the seam through
// which some tests stand between a unit and the platform. Newer linkers put
// the table in read-only data, so each write opens its page for that write
// alone.
#include <windows.h>

template <class Function>
void WriteImportSlot(Function* slot, Function value) {
    DWORD protection;
    VirtualProtect(slot, sizeof(*slot), PAGE_READWRITE, &protection);
    *slot = value;
    VirtualProtect(slot, sizeof(*slot), protection, &protection);
}
