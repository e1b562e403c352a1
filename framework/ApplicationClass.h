#pragma once
// The program-wide application object: knows the executable's path, pumps
// pending messages, ends the message loop and runs other programs.
#include <windows.h>

#include <string>

#include "AnsiString.h"

class ApplicationClass {
public:
    AnsiString ExeName;  // full path of the program's executable; empty if unknown

    ApplicationClass();
    ~ApplicationClass();

    void ProcessMessages();  // handles at most one pending message
    void Terminate();        // asks the message loop to end (exit code 0)
    DWORD ExecuteCommandLine(const char* cmdLine);
    DWORD ExecuteCommandLine(AnsiString cmdLine);
};

// The folder of the program's executable in wide characters, ending in a
// backslash; "" when the platform names none. Unlike ExeName, whose ANSI
// conversion turns what the code page cannot spell into '?', it names any
// folder the program can run from.
std::wstring ExecutableFolder();
