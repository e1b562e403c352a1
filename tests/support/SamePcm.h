#pragma once
// Sound compared as the device received it: a mismatch is told by the sizes
// and the first byte that differs, not by printing both, which for a few
// hundred kilobytes floods the output and can exhaust a 32-bit process.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

inline testing::AssertionResult samePcm(const std::vector<unsigned char>& received,
                                        const std::vector<unsigned char>& expected) {
    if (received == expected) {
        return testing::AssertionSuccess();
    }
    const size_t common = std::min(received.size(), expected.size());
    const size_t at =
        std::mismatch(received.begin(), received.begin() + common, expected.begin()).first -
        received.begin();
    return testing::AssertionFailure()
           << "the device received " << received.size() << " bytes, expected " << expected.size()
           << "; they first differ at byte " << at;
}
