#pragma once
// Unix paths as a Windows program running under Wine reaches them.
#include <algorithm>
#include <string>

// "/x/y" through Wine's drive Z:, "Z:\x\y". Any other path comes back as it is.
inline std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') {
        return path;
    }
    std::string windows = "Z:" + path;
    std::replace(windows.begin(), windows.end(), '/', '\\');
    return windows;
}
