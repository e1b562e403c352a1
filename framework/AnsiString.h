#pragma once
// The framework's text type: at most 255 8-bit characters held inline, with
// positions counted from 1. Overlong results and file errors are reported in
// a message box owned by `Owner`; the operation then goes on.
// Beside it, the free message-box and file-name helpers every unit uses.
#include <windows.h>

// Owner window of every message box shown by this unit; null until an
// AnsiString is constructed from a window handle.
extern HWND Owner;

class AnsiString {
public:
    char NumberConvError;  // 0: last conversion succeeded, 1: it failed
    // NUL-terminated text. Mutable so that the read-only c_str() can restore
    // the terminator that a write at position 256 takes from a full text.
    mutable char String[256];

    AnsiString();
    AnsiString(const char* str);
    explicit AnsiString(HWND Hwnd);
    AnsiString(const AnsiString& str) = default;  // the whole value, flag included
    ~AnsiString();

    AnsiString& operator=(const AnsiString& str);
    AnsiString& operator=(const char* str);
    void LoadStr(const char* str);
    void LoadStr(const AnsiString& str);

    AnsiString operator+(const AnsiString& str) const;
    AnsiString operator+(const char* str) const;

    char& operator[](unsigned int i);
    char* c_str();
    const char* c_str() const;
    int Length() const;
    int IsEmpty() const;
    int AnsiCompare(const AnsiString& str) const;
    int AnsiCompare(const char* str) const;
    int Pos(const AnsiString& str) const;
    int Pos(const char* str) const;
    int AnsiPos(const char* str) const;
    int AnsiPos(const AnsiString& str) const;

    AnsiString Delete(int index, int count);
    AnsiString Insert(const AnsiString& str, int index);
    AnsiString Insert(const char* str, int index);
    void UpperCase();
    void IntToStr(int x);
    void FloatToStr(double x);
    void Sprintf(const char* fmt, int n);
    void Sprintf(const char* fmt, float n);
    void Sprintf(const char* fmt, double n);
    void Sprintf(const char* fmt, const char* str);
    void Sprintf(const char* fmt, const AnsiString& str);

    AnsiString SubString(int index, int count) const;

    int ConvertToInt();
    double ConvertToDouble();
    int ToInt();        // throws the int 10 when the text is no number
    double ToDouble();  // throws the int 10 when the text is no number

    void Show();
    void ShowT(const char* Title);
    void ShowT(AnsiString Title);
    void ShowErrorMsg(AnsiString Title);

    bool Load(const char* fname);
    bool Save(const char* fname);
    bool SaveAdd(const char* fname);
    bool Load(const AnsiString& fname);
    bool Save(const AnsiString& fname);
    bool SaveAdd(const AnsiString& fname);
};

void ShowMessage(AnsiString str);
void ShowMessage(const char* str);
void ShowMessageT(const char* str, const char* Title);
void ShowMessageT(const char* str, AnsiString Title);
void ShowError(const char* msg, const char* title);
bool YesNo(const char* str);
bool YesNo(AnsiString str);
bool OkCancel(const char* str);
bool OkCancel(AnsiString str);
AnsiString ExtractFilePath(const AnsiString& str);
AnsiString ExtractFileName(const AnsiString& str);
AnsiString ChangeFileExt(const AnsiString& str, const AnsiString& Ext);
AnsiString ChangeFileExt(const AnsiString& str, const char* Ext);
bool FileExists(const char* fname);
bool FileExists(AnsiString fname);

// A small number made from the local date and time (year + month + day +
// hour + minute + second), not a clock count. It overloads the C library's
// time(), so that one is always called as std::time in this project.
int time(int* p);
