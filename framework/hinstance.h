#pragma once
// Process-wide values of the program. The application's entry unit defines
// them (each test executable defines its own); the framework only reads them.
#include <windows.h>

class ApplicationClass;
class MainForm;

extern HINSTANCE hInst;                // module instance, for classes, windows, resources
extern int Fstil;                      // show command for a form's first showing
extern int IDord;                      // next control identifier; starts at 1
extern ApplicationClass Appl;          // the application object
extern ApplicationClass* Application;  // points to Appl
extern MainForm* MainFormWin;          // the main form, once it exists
