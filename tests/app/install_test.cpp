// `cmake --install` lays out what a user of the programs needs: both programs under bin/, their
// data, the manual pages gzipped, the bash completion, and for the desktop the entry, icon, file
// type and software-centre metadata, with the package's copyright and changelog.
#include "app/data_folder.h"
#include "test_util.h"
#include "tool_skip.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace pigmentaria {
namespace {

namespace fs = std::filesystem;

struct TShellRun {
    int Status = -1;
    std::string Out;
};

TShellRun Shell(const std::string& command) {
    TShellRun run;
    FILE* p = popen((command + " 2>&1").c_str(), "r");
    if (!p) return run;
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
        run.Out.append(buf, n);
    const int status = pclose(p);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

std::string Quoted(const fs::path& p) {
    return "'" + p.string() + "'";
}

// One installation for all the tests of this file.
class Install : public testing::Test {
protected:
    static void SetUpTestSuite() {
        Prefix_ = new test::TTempDir;
        const TShellRun run =
            Shell(std::string(PIGMENTARIA_CMAKE) + " --install " + Quoted(PIGMENTARIA_BUILD_DIR) +
                  " --prefix " + Quoted(Prefix_->Path()));
        InstallStatus_ = run.Status;
        InstallOutput_ = run.Out;
    }
    static void TearDownTestSuite() {
        delete Prefix_;
        Prefix_ = nullptr;
    }
    void SetUp() override { ASSERT_EQ(InstallStatus_, 0) << InstallOutput_; }
    static fs::path Prefix() { return Prefix_->Path(); }

private:
    static inline test::TTempDir* Prefix_ = nullptr;
    static inline int InstallStatus_ = -1;
    static inline std::string InstallOutput_;
};

TEST_F(Install, TheCommandLineRunsFromTheInstallTreeWithItsManualAndCompletion) {
    const fs::path cli = Prefix() / "bin" / "pigmentaria-cli";
    ASSERT_TRUE(fs::exists(cli));
    const TShellRun installed = Shell(Quoted(cli) + " --help");
    EXPECT_EQ(installed.Status, 0);
    EXPECT_EQ(installed.Out, Shell(Quoted(PIGMENTARIA_CLI) + " --help").Out);

    const fs::path manual = Prefix() / "share/man/man1/pigmentaria-cli.1.gz";
    ASSERT_TRUE(fs::exists(manual));
    const TShellRun text = Shell("gzip -dc " + Quoted(manual));
    EXPECT_EQ(text.Status, 0);
    // The version is filled in and nothing else is left to fill.
    EXPECT_NE(text.Out.find(".TH PIGMENTARIA-CLI 1 "), std::string::npos);
    EXPECT_NE(text.Out.find("\"Pigmentaria " PIGMENTARIA_VERSION "\""), std::string::npos);
    EXPECT_EQ(text.Out.find('@'), std::string::npos);

    const fs::path completion = Prefix() / "share/bash-completion/completions/pigmentaria-cli";
    EXPECT_EQ(test::ReadText(completion),
              test::ReadText(fs::path(PIGMENTARIA_DATA_SOURCE) / "completion/pigmentaria-cli"));
    EXPECT_TRUE(fs::exists(Prefix() / "share/doc/pigmentaria/copyright"));
    const TShellRun changelog =
        Shell("gzip -dc " + Quoted(Prefix() / "share/doc/pigmentaria/changelog.Debian.gz"));
    EXPECT_EQ(changelog.Out.rfind("pigmentaria (" PIGMENTARIA_VERSION "-", 0), 0u) << changelog.Out;
}

#if PIGMENTARIA_GUI
TEST_F(Install, TheDesktopProgramFindsItsDataAndTheDesktopKnowsIt) {
    const fs::path program = Prefix() / "bin" / "pigmentaria";
    ASSERT_TRUE(fs::exists(program));
    const auto data = DataFolderForProgram(program);
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(*data, Prefix() / "share" / "pigmentaria");
    for (const char* file : {"help/index.html", "splash.png", "palettes"})
        EXPECT_TRUE(fs::exists(*data / file)) << file;
    for (const char* file :
         {"share/man/man1/pigmentaria.1.gz", "share/applications/pigmentaria.desktop",
          "share/icons/hicolor/scalable/apps/pigmentaria.svg",
          "share/mime/packages/pigmentaria.xml"})
        EXPECT_TRUE(fs::exists(Prefix() / file)) << file;
}

TEST_F(Install, TheSoftwareCentreMetadataNamesTheInstalledFilesAndValidates) {
    const fs::path metainfo =
        Prefix() / "share/metainfo/io.github.pigmentaria.Pigmentaria.metainfo.xml";
    const std::string xml = test::ReadText(metainfo);
    ASSERT_FALSE(xml.empty());
    EXPECT_NE(xml.find("<id>io.github.pigmentaria.Pigmentaria</id>"), std::string::npos);
    // What it points at is installed beside it.
    EXPECT_NE(xml.find("<launchable type=\"desktop-id\">pigmentaria.desktop</launchable>"),
              std::string::npos);
    EXPECT_NE(xml.find("<binary>pigmentaria</binary>"), std::string::npos);
    EXPECT_NE(xml.find("<binary>pigmentaria-cli</binary>"), std::string::npos);
    EXPECT_NE(xml.find("<screenshot type=\"default\">"), std::string::npos);
    // The newest release is this version.
    const std::size_t release = xml.find("<release ");
    ASSERT_NE(release, std::string::npos);
    EXPECT_EQ(xml.find("version=\"" PIGMENTARIA_VERSION "\"", release),
              xml.find("version=", release));

    if (Shell("command -v appstreamcli").Status != 0)
        SKIP_WITHOUT_TOOL("appstreamcli (package appstream) is not installed");
    const TShellRun valid = Shell("appstreamcli validate --no-net " + Quoted(metainfo));
    EXPECT_EQ(valid.Status, 0) << valid.Out;
}
#endif

} // namespace
} // namespace pigmentaria
