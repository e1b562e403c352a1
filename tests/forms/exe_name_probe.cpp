// Ends with 0 when the application object found this program's full path,
// 1 when it found none, and 2 when it found another one. A test copies it to
// a long path and runs it there.
#include <windows.h>

#include <cstring>

#include "ApplicationClass.h"
#include "hinstance.h"

int main() {
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    if (Appl.ExeName.IsEmpty()) {
        return 1;
    }
    return std::strcmp(Appl.ExeName.c_str(), path) == 0 ? 0 : 2;
}
