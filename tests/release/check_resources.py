#!/usr/bin/env python3
"""Checks the resources of the program as Explorer and the loader see them.

    check_resources.py WRESTOOL EXE VERSION

- icon group 101 with 16, 32 and 48 pixel images;
- version information whose numbers and strings are VERSION (x.y.z);
- exactly one application manifest, ours, asking for the common controls
  6 (a second one, such as a toolchain's default manifest, must not take
  its place);
- no menus and no dialog templates.
"""
import re
import struct
import subprocess
import sys

RT_MENU, RT_DIALOG, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 4, 5, 14, 16, 24
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
    return condition


def list_resources(wrestool, exe):
    """(type, name) of every resource, as numbers where they are numbers."""
    listing = subprocess.run([wrestool, "-l", exe], check=True, capture_output=True,
                             text=True).stdout
    resources = []
    for line in listing.splitlines():
        found = re.match(r"--type=(\S+) --name=(\S+)", line)
        if found:
            kind, name = (int(v) if v.isdigit() else v.strip("'") for v in found.groups())
            resources.append((kind, name))
    return resources


def extract(wrestool, exe, kind, name):
    return subprocess.run([wrestool, "-x", "--raw", f"--type={kind}", f"--name={name}", exe],
                          check=True, capture_output=True).stdout


def check_icon(data):
    reserved, kind, count = struct.unpack_from("<HHH", data)
    check(reserved == 0 and kind == 1, "icon group 101 has no icon directory")
    # Group entries are 14 bytes; a width of 0 stands for 256.
    sizes = sorted(data[6 + 14 * i] or 256 for i in range(count))
    check(sizes == [16, 32, 48], f"icon 101 has sizes {sizes}, not 16, 32 and 48")


def version_string(data, key):
    """The value of a StringFileInfo entry: the key and its value are
    NUL-terminated UTF-16, the value starting at the next 4-byte boundary."""
    marker = (key + "\0").encode("utf-16-le")
    start = data.find(marker)
    if start < 0:
        return None
    value = start + len(marker)
    value += (-value) % 4
    end = value
    while end + 2 <= len(data) and data[end:end + 2] != b"\0\0":
        end += 2
    return data[value:end].decode("utf-16-le", "replace")


def check_version(data, version):
    numbers = [int(n) for n in version.split(".")] + [0]
    fixed = data.find(struct.pack("<I", 0xFEEF04BD))
    if not check(fixed >= 0, "the version information has no fixed part"):
        return
    file_ms, file_ls, product_ms, product_ls = struct.unpack_from("<IIII", data, fixed + 8)
    for what, ms, ls in (("file", file_ms, file_ls), ("product", product_ms, product_ls)):
        found = [ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF]
        check(found == numbers, f"{what} version is {found}, not {numbers}")
    for key in ("FileVersion", "ProductVersion"):
        text = version_string(data, key)
        check(text == version, f"{key} reads {text!r}, not {version!r}")


def check_manifest(data):
    text = data.decode("utf-8", "replace")
    check("Microsoft.Windows.Common-Controls" in text and 'version="6.0.0.0"' in text,
          "the manifest does not ask for common controls 6")
    check('level="asInvoker"' in text, "the manifest does not run the program asInvoker")
    check("dpiAware" in text, "the manifest sets no DPI awareness")
    check("supportedOS" in text, "the manifest lists no supported systems")


def main(wrestool, exe, version):
    resources = list_resources(wrestool, exe)
    print(f"{exe} resources: {resources}")
    if check((RT_GROUP_ICON, 101) in resources, "no icon group 101"):
        check_icon(extract(wrestool, exe, RT_GROUP_ICON, 101))
    versions = [name for kind, name in resources if kind == RT_VERSION]
    if check(len(versions) == 1, f"{len(versions)} version resources, not one"):
        check_version(extract(wrestool, exe, RT_VERSION, versions[0]), version)
    manifests = [name for kind, name in resources if kind == RT_MANIFEST]
    if check(manifests == [1], f"manifests {manifests}, not the one process manifest 1"):
        check_manifest(extract(wrestool, exe, RT_MANIFEST, 1))
    check(not [r for r in resources if r[0] in (RT_MENU, RT_DIALOG)],
          "the program carries menus or dialog templates it never uses")
    for failure in failures:
        print(failure, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    sys.exit(main(*sys.argv[1:]))
