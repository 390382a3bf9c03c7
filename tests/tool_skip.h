#pragma once
// Tests that check our output with a tool from outside (an office suite, Pillow) skip when the
// tool is missing on a developer's machine. In CI (CI=true) a missing tool is a broken set-up that
// would hide what the test checks, so the test fails instead.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string_view>

namespace pigmentaria::test {

inline bool RunningInCi() {
    const char* ci = std::getenv("CI");
    return ci && *ci && std::string_view(ci) != "false" && std::string_view(ci) != "0";
}

} // namespace pigmentaria::test

// Leaves the test: skipped, or failed in CI. `why` may be a chain of `<<` pieces.
#define SKIP_WITHOUT_TOOL(why)                                                                     \
    do {                                                                                           \
        if (::pigmentaria::test::RunningInCi()) {                                                  \
            GTEST_FAIL() << why << " (CI=true: scripts/setup.sh test installs it)";                \
        } else {                                                                                   \
            GTEST_SKIP() << why;                                                                   \
        }                                                                                          \
    } while (0)
