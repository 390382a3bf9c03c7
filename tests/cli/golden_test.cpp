// End to end: every bundled sample photo, converted by the command line with the default
// controls and with the style "Complex Painting", gives exactly the committed painting file, and
// so does the painting the template command makes of it with its defaults.
#include "test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace pigmentaria {
namespace {

namespace fs = std::filesystem;

constexpr const char* kRegenerate =
    "If the change is intended, check the new paintings and regenerate the goldens with\n"
    "    bash scripts/update_goldens.sh";

std::vector<fs::path> Samples() {
    std::vector<fs::path> out;
    for (const auto& e : fs::directory_iterator(PIGMENTARIA_SAMPLES)) {
        std::string ext = e.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        if (ext == ".png" || ext == ".jpg") out.push_back(e.path());
    }
    std::sort(out.begin(), out.end());
    return out;
}

// The first byte offset where the two differ, or the shorter length.
std::size_t FirstDifference(const std::string& a, const std::string& b) {
    const auto m = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return static_cast<std::size_t>(m.first - a.begin());
}

TEST(GoldenPaintings, EverySampleConvertsToItsCommittedPainting) {
    const std::vector<fs::path> samples = Samples();
    ASSERT_GE(samples.size(), 3u);
    test::TTempDir dir;
    const fs::path golden = fs::path(PIGMENTARIA_TEST_DATA) / "golden";
    for (const fs::path& sample : samples) {
        const std::string name = sample.stem().string();
        for (const auto& [suffix, options] :
             {std::pair<std::string, std::string>{"", ""},
              {"-complex-painting", " --style 'Complex Painting'"}}) {
            const std::string file = name + suffix + ".kvp";
            SCOPED_TRACE(file);
            const fs::path out = dir / file;
            const std::string command = std::string(PIGMENTARIA_CLI) + " convert '" +
                                        sample.string() + "' -o '" + out.string() + "'" + options +
                                        " >/dev/null";
            ASSERT_EQ(std::system(command.c_str()), 0) << command;
            ASSERT_TRUE(fs::exists(golden / file))
                << "tests/data/golden/" << file << " is missing.\n"
                << kRegenerate;
            const std::string want = test::ReadText(golden / file);
            const std::string got = test::ReadText(out);
            EXPECT_TRUE(got == want)
                << "converting samples/" << sample.filename().string() << options
                << " no longer gives tests/data/golden/" << file << " (" << got.size()
                << " bytes against " << want.size() << ", first difference at byte "
                << FirstDifference(got, want) << ").\n"
                << kRegenerate;
        }
    }
}

// The template's painting is made before its PDF files, so a build without printing makes it
// too (and then fails for the PDF files).
TEST(GoldenPaintings, EverySampleMakesItsCommittedTemplatePainting) {
    const std::vector<fs::path> samples = Samples();
    ASSERT_GE(samples.size(), 3u);
    test::TTempDir dir;
    const fs::path golden = fs::path(PIGMENTARIA_TEST_DATA) / "golden";
    for (const fs::path& sample : samples) {
        const std::string name = sample.stem().string();
        const std::string file = name + "-template.kvp";
        SCOPED_TRACE(file);
        const fs::path out = dir / name;
        const std::string command = std::string(PIGMENTARIA_CLI) + " template '" + sample.string() +
                                    "' -o '" + out.string() + "' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        ASSERT_EQ(status, PIGMENTARIA_GUI ? 0 : 1 << 8) << command;
        ASSERT_TRUE(fs::exists(golden / file)) << "tests/data/golden/" << file << " is missing.\n"
                                               << kRegenerate;
        const std::string want = test::ReadText(golden / file);
        const std::string got = test::ReadText(out / (name + ".kvp"));
        EXPECT_TRUE(got == want) << "the template of samples/" << sample.filename().string()
                                 << " no longer gives tests/data/golden/" << file << " ("
                                 << got.size() << " bytes against " << want.size()
                                 << ", first difference at byte " << FirstDifference(got, want)
                                 << ").\n"
                                 << kRegenerate;
    }
}

} // namespace
} // namespace pigmentaria
