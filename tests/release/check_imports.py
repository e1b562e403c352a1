#!/usr/bin/env python3
"""Fails when an executable imports a DLL that is not part of Windows.

    check_imports.py OBJDUMP EXE

The program is meant to run from a folder holding nothing but itself and its
sample, so every DLL it loads must come with the system: a MinGW runtime DLL
(libgcc, libstdc++, libwinpthread) would work on the build machine and fail
on the user's.
"""
import subprocess
import sys

SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "winmm.dll", "shell32.dll",
    "advapi32.dll", "comctl32.dll", "msvcrt.dll",
}


def imported_dlls(objdump, exe):
    listing = subprocess.run([objdump, "-p", exe], check=True, capture_output=True,
                             text=True).stdout
    return [line.split("DLL Name:", 1)[1].strip()
            for line in listing.splitlines() if "DLL Name:" in line]


def main(objdump, exe):
    dlls = imported_dlls(objdump, exe)
    print(f"{exe} imports: {', '.join(dlls)}")
    if not dlls:
        # Every Windows program imports kernel32 at least; an empty list means
        # the listing was not understood, not that all is well.
        print("no imports found in the objdump listing", file=sys.stderr)
        return 1
    foreign = [dll for dll in dlls if dll.lower() not in SYSTEM_DLLS]
    if foreign:
        print(f"imports outside the Windows system DLLs: {', '.join(foreign)}", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
