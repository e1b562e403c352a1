#include "AnsiString.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <utility>

HWND Owner = nullptr;

namespace {

constexpr int Capacity = 255;  // characters; the buffer has one more slot for the terminator

const char* const TooLongText = "ERROR: AnsiString too long!";
const char* const TooLongCaption = "AnsiString::operator=";
const char* const ResultTooLongText = "ERROR: Resulting AnsiString is too long!";
const char* const ConcatCaption = "AnsiString::operator+";
const char* const InsertCaption = "AnsiString::Insert";
const char* const FileOpenText = "ERROR: File open error!";
const char* const LoadCaption = "AnsiString::Load";
const char* const SaveCaption = "AnsiString::Save";

// Handed out by operator[] for positions outside the buffer, so that a stray
// index reads a NUL and a stray write lands nowhere that matters.
char outOfRangeSlot;

void ReportError(const char* text, const char* caption) {
    MessageBoxA(Owner, text, caption, MB_ICONERROR);
}

// Length of a caller's character string, looking no further than one past
// the capacity: anything that long is refused anyway. A null pointer counts
// as the empty text.
int BoundedLength(const char* str) {
    return str ? static_cast<int>(strnlen(str, Capacity + 1)) : 0;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// snprintf may not read from the buffer it writes. A format or argument
// taken from the text about to be replaced is therefore used from `copy`;
// any other string is used as it is. A null string counts as empty.
const char* Detached(const char* str, const char (&buffer)[256], char (&copy)[256]) {
    if (!str) {
        return "";
    }
    const std::less<const char*> before;
    if (before(str, buffer) || !before(str, buffer + sizeof(buffer))) {
        return str;
    }
    const size_t room = static_cast<size_t>(buffer + Capacity - str);
    const size_t len = strnlen(str, room);
    memcpy(copy, str, len);
    copy[len] = '\0';
    return copy;
}

// 0-based index of the last path separator of `str`, or -1.
int LastSeparator(const AnsiString& str) {
    int x = str.Length() - 1;
    while (x >= 0 && !IsSeparator(str.String[x])) {
        --x;
    }
    return x;
}

}  // namespace

AnsiString::AnsiString() : NumberConvError(0), String{} {}

AnsiString::AnsiString(const char* str) : NumberConvError(0), String{} {
    LoadStr(str);
}

AnsiString::AnsiString(HWND Hwnd) : NumberConvError(0), String{} {
    Owner = Hwnd;
}

AnsiString::~AnsiString() = default;

AnsiString& AnsiString::operator=(const AnsiString& str) {
    LoadStr(str);
    return *this;
}

AnsiString& AnsiString::operator=(const char* str) {
    LoadStr(str);
    return *this;
}

void AnsiString::LoadStr(const char* str) {
    const int len = BoundedLength(str);
    if (len > Capacity) {
        ReportError(TooLongText, TooLongCaption);
        return;
    }
    memmove(String, str ? str : "", len);
    String[len] = '\0';
}

void AnsiString::LoadStr(const AnsiString& str) {
    // An AnsiString never holds more than the capacity, so there is nothing
    // to check; memmove keeps self-assignment harmless.
    const int len = str.Length();
    memmove(String, str.String, len);
    String[len] = '\0';
}

namespace {

// `left` followed by the `len2` characters at `right`, or the empty text
// with the report when together they pass the capacity.
AnsiString Joined(const AnsiString& left, const char* right, int len2) {
    AnsiString result;
    const int len1 = left.Length();
    if (len1 + len2 > Capacity) {
        ReportError(ResultTooLongText, ConcatCaption);
        return result;
    }
    memcpy(result.String, left.String, len1);
    memcpy(result.String + len1, right, len2);
    result.String[len1 + len2] = '\0';
    return result;
}

}  // namespace

AnsiString AnsiString::operator+(const AnsiString& str) const {
    return Joined(*this, str.String, str.Length());
}

AnsiString AnsiString::operator+(const char* str) const {
    return Joined(*this, str ? str : "", BoundedLength(str));
}

char& AnsiString::operator[](unsigned int i) {
    if (i >= 1 && i <= sizeof(String)) {
        return String[i - 1];
    }
    outOfRangeSlot = '\0';
    return outOfRangeSlot;
}

char* AnsiString::c_str() {
    std::as_const(*this).c_str();  // restores the terminator
    return String;
}

const char* AnsiString::c_str() const {
    // Position 256 may have been written through operator[]; the text never
    // reaches that slot, so restoring the terminator there changes nothing.
    // Written only when needed, so that reading stays a plain read.
    if (String[Capacity] != '\0') {
        String[Capacity] = '\0';
    }
    return String;
}

int AnsiString::Length() const {
    // Bounded so that a buffer whose last slot was overwritten still ends
    // inside the object.
    return static_cast<int>(strnlen(String, Capacity));
}

int AnsiString::IsEmpty() const {
    return String[0] == '\0' ? 1 : 0;
}

int AnsiString::AnsiCompare(const AnsiString& str) const {
    const int len2 = str.Length();
    AnsiString other;
    memcpy(other.String, str.String, len2);
    other.String[len2] = '\0';
    return AnsiCompare(other.String);
}

int AnsiString::AnsiCompare(const char* str) const {
    if (!str) {
        str = "";
    }
    const int len = Length();
    for (int i = 0;; ++i) {
        const unsigned char a = i < len ? static_cast<unsigned char>(String[i]) : 0;
        const unsigned char b = static_cast<unsigned char>(str[i]);
        if (a != b) {
            return a - b;
        }
        if (a == 0) {
            return 0;
        }
    }
}

int AnsiString::Pos(const AnsiString& str) const {
    const int len1 = Length();
    const int len2 = str.Length();
    for (int x = 0; x <= len1 - len2; ++x) {
        if (memcmp(String + x, str.String, len2) == 0) {
            return x + 1;
        }
    }
    return 0;
}

int AnsiString::Pos(const char* str) const {
    const AnsiString searched(str);
    // A refused text is longer than any AnsiString and so occurs nowhere;
    // its empty stand-in would otherwise match at position 1.
    if (BoundedLength(str) > Capacity) {
        return 0;
    }
    return Pos(searched);
}

int AnsiString::AnsiPos(const char* str) const {
    return Pos(str);
}

int AnsiString::AnsiPos(const AnsiString& str) const {
    return Pos(str);
}

AnsiString AnsiString::Delete(int index, int count) {
    const int len = Length();
    if (index >= 1 && index <= len && count > 0) {
        const int start = index - 1;
        const int removed = count < len - start ? count : len - start;
        memmove(String + start, String + start + removed, len - start - removed);
        String[len - removed] = '\0';
    }
    return *this;
}

AnsiString AnsiString::Insert(const AnsiString& str, int index) {
    const int len1 = Length();
    const int len2 = str.Length();
    if (len1 + len2 > Capacity) {
        ReportError(ResultTooLongText, InsertCaption);
        return *this;
    }
    if (index < 1 || index > len1 + 1) {
        return *this;
    }
    const AnsiString inserted(str);  // `str` may be this very object
    const int start = index - 1;
    memmove(String + start + len2, String + start, len1 - start);
    memcpy(String + start, inserted.String, len2);
    String[len1 + len2] = '\0';
    return *this;
}

AnsiString AnsiString::Insert(const char* str, int index) {
    return Insert(AnsiString(str), index);
}

void AnsiString::UpperCase() {
    for (char& c : String) {
        if (c == '\0') {
            break;
        }
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 0x20);
        }
    }
}

// The formatting operations write through snprintf into the whole buffer, so
// a result longer than the capacity is cut to its first 255 characters.

void AnsiString::IntToStr(int x) {
    snprintf(String, sizeof(String), "%d", x);
}

void AnsiString::FloatToStr(double x) {
    snprintf(String, sizeof(String), "%f", x);
}

void AnsiString::Sprintf(const char* fmt, int n) {
    char format[sizeof(String)];
    snprintf(String, sizeof(String), Detached(fmt, String, format), n);
}

void AnsiString::Sprintf(const char* fmt, float n) {
    char format[sizeof(String)];
    snprintf(String, sizeof(String), Detached(fmt, String, format), static_cast<double>(n));
}

void AnsiString::Sprintf(const char* fmt, double n) {
    char format[sizeof(String)];
    snprintf(String, sizeof(String), Detached(fmt, String, format), n);
}

void AnsiString::Sprintf(const char* fmt, const char* str) {
    char format[sizeof(String)];
    char argument[sizeof(String)];
    snprintf(String, sizeof(String), Detached(fmt, String, format),
             Detached(str, String, argument));
}

void AnsiString::Sprintf(const char* fmt, const AnsiString& str) {
    AnsiString argument;
    argument.LoadStr(str);
    Sprintf(fmt, argument.String);
}

AnsiString AnsiString::SubString(int index, int count) const {
    AnsiString result;
    const int len = Length();
    if (index < 1 || index > len + 1 || count <= 0) {
        return result;
    }
    const int start = index - 1;
    const int taken = count < len - start ? count : len - start;
    memcpy(result.String, String + start, taken);
    result.String[taken] = '\0';
    return result;
}

int AnsiString::ConvertToInt() {
    NumberConvError = 0;
    AnsiString copy;
    copy.LoadStr(*this);
    const int len = copy.Length();

    int sign = 1;
    if (copy.String[0] == '-') {
        sign = -1;
        copy.String[0] = '0';
    }

    // Kept wider than 32 bits so that a value past the int range is seen as
    // such instead of wrapping into a plausible small number. The parse stops
    // as soon as the value passes the range, so 64 bits never overflow.
    int64_t value = 0;
    auto failed = [&]() {
        NumberConvError = 1;
        return 0;
    };

    if (copy.String[0] == '0' && copy.String[1] == 'x') {
        // The hexadecimal form carries no sign: '-x10' would otherwise read
        // as +16, while '-0x10' is refused.
        if (sign < 0) {
            return failed();
        }
        for (int i = 2; i < len; ++i) {
            const char c = copy.String[i];
            if (IsDigit(c)) {
                value += c - '0';
            } else if (c >= 'A' && c <= 'F') {
                value += c - 'A' + 10;
            } else {
                return failed();
            }
            if (value > INT32_MAX) {
                return failed();
            }
            if (i < len - 1) {
                value <<= 4;
            }
        }
        return static_cast<int>(value);
    }

    // -2147483648 is refused as well: the magnitude is held to the positive range.
    for (int i = 0; i < len; ++i) {
        const char c = copy.String[i];
        if (!IsDigit(c)) {
            return failed();
        }
        value += c - '0';
        if (value > INT32_MAX) {
            return failed();
        }
        if (i < len - 1) {
            value *= 10;
        }
    }
    return sign * static_cast<int>(value);
}

double AnsiString::ConvertToDouble() {
    NumberConvError = 0;
    AnsiString integerText;
    integerText.LoadStr(*this);
    const int len = integerText.Length();

    int point = len;
    for (int i = len - 1; i >= 0; --i) {
        if (integerText.String[i] == '.') {
            point = i;
            break;
        }
    }
    integerText.String[point] = '\0';

    const int integerPart = integerText.ConvertToInt();
    if (integerText.NumberConvError) {
        NumberConvError = 1;
        return 0.0;
    }
    if (point == len) {
        return integerPart;
    }

    // The copy is still whole after the cut point. The fraction is plain
    // decimal digits: a sign or a hexadecimal prefix there means nothing.
    AnsiString fractionText(integerText.String + point + 1);
    const int fractionDigits = len - point - 1;
    for (int i = 0; i < fractionDigits; ++i) {
        if (!IsDigit(fractionText.String[i])) {
            NumberConvError = 1;
            return 0.0;
        }
    }
    const int fractionValue = fractionText.ConvertToInt();
    if (fractionText.NumberConvError) {
        NumberConvError = 1;
        return 0.0;
    }
    double number = fractionValue;
    for (int i = 0; i < fractionDigits; ++i) {
        number /= 10.0;
    }

    // A negative fraction below one has the integer part 0, so its sign
    // shows only in the text.
    if (integerPart < 0 || (integerPart == 0 && String[0] == '-')) {
        return integerPart - number;
    }
    return integerPart + number;
}

int AnsiString::ToInt() {
    const int value = ConvertToInt();
    if (NumberConvError) {
        throw 10;
    }
    return value;
}

double AnsiString::ToDouble() {
    const double value = ConvertToDouble();
    if (NumberConvError) {
        throw 10;
    }
    return value;
}

void AnsiString::Show() {
    MessageBoxA(Owner, c_str(), "Message", MB_OK);
}

void AnsiString::ShowT(const char* Title) {
    MessageBoxA(Owner, c_str(), Title, MB_OK);
}

void AnsiString::ShowT(AnsiString Title) {
    MessageBoxA(Owner, c_str(), Title.c_str(), MB_OK);
}

void AnsiString::ShowErrorMsg(AnsiString Title) {
    MessageBoxA(Owner, c_str(), Title.c_str(), MB_ICONERROR);
}

bool AnsiString::Load(const char* fname) {
    FILE* file = fname ? fopen(fname, "rb") : nullptr;
    if (!file) {
        ReportError(FileOpenText, LoadCaption);
        return false;
    }
    int stored = 0;
    while (stored < Capacity) {
        const int c = fgetc(file);
        if (c == EOF || c == 0x00 || c == 0x0A || c == 0x0D) {
            break;
        }
        String[stored++] = static_cast<char>(c);
    }
    String[stored] = '\0';
    fclose(file);
    return true;
}

namespace {

// Writes the text, then `lineEnd`, to a file opened with `mode`. A file that
// cannot be opened, or whose bytes do not all reach the disk, gives false and
// the same box: either way the caller could not write to that file.
bool WriteText(const char* fname, const char* mode, const char* text, const char* lineEnd) {
    FILE* file = fname ? fopen(fname, mode) : nullptr;
    if (!file) {
        ReportError(FileOpenText, SaveCaption);
        return false;
    }
    bool written = true;
    for (const char* part : {text, lineEnd}) {
        for (const char* p = part; *p; ++p) {
            written = written && fputc(static_cast<unsigned char>(*p), file) != EOF;
        }
    }
    // Buffered bytes only meet the disk when flushed, so that result counts
    // too; it is asked for explicitly, as not every runtime's fclose reports
    // a failed final write.
    written = fflush(file) == 0 && written;
    written = fclose(file) == 0 && written;
    if (!written) {
        ReportError(FileOpenText, SaveCaption);
    }
    return written;
}

}  // namespace

bool AnsiString::Save(const char* fname) {
    return WriteText(fname, "wb", c_str(), "");
}

bool AnsiString::SaveAdd(const char* fname) {
    return WriteText(fname, "ab", c_str(), "\r\n");
}

bool AnsiString::Load(const AnsiString& fname) {
    AnsiString name(fname);
    return Load(name.c_str());
}

bool AnsiString::Save(const AnsiString& fname) {
    AnsiString name(fname);
    return Save(name.c_str());
}

bool AnsiString::SaveAdd(const AnsiString& fname) {
    AnsiString name(fname);
    return SaveAdd(name.c_str());
}

void ShowMessage(AnsiString str) {
    str.Show();
}

void ShowMessage(const char* str) {
    AnsiString(str).Show();
}

void ShowMessageT(const char* str, const char* Title) {
    AnsiString(str).ShowT(Title);
}

void ShowMessageT(const char* str, AnsiString Title) {
    AnsiString(str).ShowT(Title);
}

void ShowError(const char* msg, const char* title) {
    // The caption is built first, so an overlong caption is reported before
    // an overlong text.
    AnsiString caption(title);
    AnsiString text(msg);
    text.ShowErrorMsg(caption);
}

bool YesNo(const char* str) {
    return MessageBoxA(nullptr, str, "Question", MB_YESNO) == IDYES;
}

bool YesNo(AnsiString str) {
    return YesNo(str.c_str());
}

bool OkCancel(const char* str) {
    return MessageBoxA(nullptr, str, "Question", MB_OKCANCEL | MB_ICONINFORMATION) == IDOK;
}

bool OkCancel(AnsiString str) {
    return OkCancel(str.c_str());
}

AnsiString ExtractFilePath(const AnsiString& str) {
    const int x = LastSeparator(str);
    return str.SubString(1, x + 1);
}

AnsiString ExtractFileName(const AnsiString& str) {
    const int x = LastSeparator(str);
    return str.SubString(x + 2, str.Length() - x - 1);
}

AnsiString ChangeFileExt(const AnsiString& str, const AnsiString& Ext) {
    AnsiString f(str);
    // Only the file name can hold the extension: a dot in a folder name is
    // not one, and taking it would name a file in another folder.
    int x = f.Length() - 1;
    while (x >= 0 && f.String[x] != '.' && !IsSeparator(f.String[x])) {
        --x;
    }
    if (x < 0 || IsSeparator(f.String[x])) {
        f = (f + ".") + Ext;
        return f;
    }
    // Keep everything up to and including the dot, then the new extension;
    // operator+ reports a result past the capacity and yields the empty text.
    f.String[x + 1] = '\0';
    return f + Ext;
}

AnsiString ChangeFileExt(const AnsiString& str, const char* Ext) {
    return ChangeFileExt(str, AnsiString(Ext));
}

bool FileExists(const char* fname) {
    FILE* file = fname ? fopen(fname, "r") : nullptr;
    if (!file) {
        return false;
    }
    fclose(file);
    return true;
}

bool FileExists(AnsiString fname) {
    return FileExists(fname.c_str());
}

int time(int* /*p*/) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return now.wYear + now.wMonth + now.wDay + now.wHour + now.wMinute + now.wSecond;
}
