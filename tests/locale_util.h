#pragma once
// Tests under a German locale, where the C library writes and reads a decimal comma: files and
// arguments must come out the same there as anywhere. scripts/setup.sh installs the locale; where
// it is missing a test is skipped with a notice, except in CI (CI=true), where it fails.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale>
#include <string>

namespace pigmentaria::test {

inline constexpr const char* GermanLocale = "de_DE.UTF-8";

inline bool RunningInCI() {
    const char* ci = std::getenv("CI");
    return ci && std::strcmp(ci, "true") == 0;
}

// True when the locale can be had; the process's locale is left as it was.
inline bool LocaleInstalled(const char* name) {
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    const bool ok = std::setlocale(LC_ALL, name) != nullptr;
    std::setlocale(LC_ALL, saved.c_str());
    return ok;
}

// Skips the test (or, in CI, fails it) unless the locale is installed. For the test body or SetUp.
#define PIGMENTARIA_NEED_LOCALE(name)                                                              \
    do {                                                                                           \
        if (!::pigmentaria::test::LocaleInstalled(name)) {                                         \
            if (::pigmentaria::test::RunningInCI())                                                \
                FAIL() << "the locale " << (name) << " is not installed (scripts/setup.sh)";       \
            GTEST_SKIP() << "the locale " << (name)                                                \
                         << " is not installed; scripts/setup.sh installs it";                     \
        }                                                                                          \
    } while (false)

// The whole process in a locale, C library and C++ global locale alike, as a program that adopts
// the user's locale runs; the former locale comes back at the end.
class TGermanLocaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        PIGMENTARIA_NEED_LOCALE(GermanLocale);
        Saved_ = std::setlocale(LC_ALL, nullptr);
        std::locale::global(std::locale(GermanLocale));
        std::setlocale(LC_ALL, GermanLocale);
        // The locale really writes a decimal comma, or the test would prove nothing.
        char probe[16];
        std::snprintf(probe, sizeof probe, "%.1f", 0.5);
        ASSERT_STREQ(probe, "0,5");
    }
    void TearDown() override {
        if (Saved_.empty()) return;
        std::locale::global(std::locale::classic());
        std::setlocale(LC_ALL, Saved_.c_str());
    }

private:
    std::string Saved_;
};

} // namespace pigmentaria::test
