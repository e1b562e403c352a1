// GoogleTest entry for the Windows test executables: sets the process-wide
// values as the program's WinMain does before any form is made.
#include <gtest/gtest.h>
#include <windows.h>

#include "hinstance.h"

int main(int argc, char** argv) {
    hInst = GetModuleHandleA(nullptr);
    Fstil = SW_SHOWNORMAL;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
