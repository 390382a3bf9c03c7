// The recovery copy: where it is kept, that it reads back as the painting it was, that a damaged
// one is put aside and never opened, and when it is written and removed.
#include "app/recovery.h"
#include "platform/file_io.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <map>

namespace pigmentaria {
namespace {

using test::TTempDir;

TEST(RecoveryFolder, FollowsTheStateHomeElseTheHomesLocalState) {
    std::map<std::string, std::string> env = {{"HOME", "/home/ann"}};
    auto get = [&env](const char* name) -> const char* {
        auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    };
    EXPECT_EQ(RecoveryFolder(get), "/home/ann/.local/state/pigmentaria");
    env["XDG_STATE_HOME"] = "/var/state";
    EXPECT_EQ(RecoveryFolder(get), "/var/state/pigmentaria");
    // A relative value is no value.
    env["XDG_STATE_HOME"] = "state";
    EXPECT_EQ(RecoveryFolder(get), "/home/ann/.local/state/pigmentaria");
}

TShapeList Painting() {
    TShapeList list;
    list.Append(MakeShape(0x00FFFFFF, {{0, 0}, {40, 0}, {40, 30}, {0, 30}}, 0x00FFFFFF));
    list.Append(MakeShape(0x000000FF, {{3, 4}, {20, 4}, {20, 18}}, 0x000102FE));
    return list;
}

TEST(RecoveryStore, ACopyReadsBackAsThePaintingUnderItsOwnName) {
    TTempDir dir;
    const TRecoveryStore store(dir / "state" / "pigmentaria");
    EXPECT_EQ(store.Check().Kind, TRecoveryFound::TKind::Nothing);
    TPrintLayoutBlock layout;
    layout.PagesAcross = 3;
    store.Save(EncodePainting(Painting(), "Acrylics", layout), "/home/ann/Bilder/Katze.kvp");
    ASSERT_TRUE(store.Exists());

    const TRecoveryFound found = store.Check();
    ASSERT_EQ(found.Kind, TRecoveryFound::TKind::Painting);
    EXPECT_EQ(found.PaintingFile, "/home/ann/Bilder/Katze.kvp");
    ASSERT_TRUE(found.Contents.has_value());
    EXPECT_EQ(found.Contents->PaletteName, "Acrylics");
    EXPECT_EQ(found.Contents->Layout.PagesAcross, 3);
    EXPECT_EQ(EncodePainting(found.Contents->Shapes, "Acrylics", layout),
              EncodePainting(Painting(), "Acrylics", layout));
    EXPECT_NE(RecoveryQuestion(found.PaintingFile).find("Katze.kvp"), std::string::npos);

    // A newer copy of an untitled painting replaces it, and no temporary file is left over.
    store.Save(EncodePainting(TShapeList(), "", {}), "");
    EXPECT_EQ(store.Check().PaintingFile, "");
    EXPECT_EQ(store.Check().Contents->Shapes.Count(), 0u);
    EXPECT_NE(RecoveryQuestion("").find("(Untitled)"), std::string::npos);
    std::size_t files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir / "state" / "pigmentaria")) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 2u);

    store.Remove();
    EXPECT_FALSE(store.Exists());
    EXPECT_FALSE(std::filesystem::exists(store.NamePath()));
    EXPECT_EQ(store.Check().Kind, TRecoveryFound::TKind::Nothing);
}

TEST(RecoveryStore, ADamagedCopyIsKeptAsideAndNeverOpened) {
    TTempDir dir;
    const TRecoveryStore store(dir.Path());
    // Cut inside the second shape's vertices: the magic is right, the painting is not whole.
    std::vector<std::uint8_t> bytes = EncodePainting(Painting(), "", {});
    bytes.resize(bytes.size() - 5);
    store.Save(bytes, "/tmp/x.kvp");

    const TRecoveryFound found = store.Check();
    ASSERT_EQ(found.Kind, TRecoveryFound::TKind::Damaged);
    EXPECT_FALSE(found.Contents.has_value());
    EXPECT_FALSE(found.Problem.empty());
    EXPECT_EQ(found.KeptAs, dir / "recovery.kvp.damaged");
    EXPECT_EQ(ReadFileBytes(found.KeptAs), bytes);
    EXPECT_TRUE(std::filesystem::exists(dir / "recovery.name.damaged"));
    EXPECT_NE(DamagedRecoveryMessage(found).find("recovery.kvp.damaged"), std::string::npos);
    // Put aside, it is not found again.
    EXPECT_EQ(store.Check().Kind, TRecoveryFound::TKind::Nothing);

    test::WriteText(store.PaintingPath(), "not a painting at all");
    EXPECT_EQ(store.Check().Kind, TRecoveryFound::TKind::Damaged);
    EXPECT_EQ(test::ReadText(dir / "recovery.kvp.damaged"), "not a painting at all");
}

TEST(RecoverySchedule, AChangeIsSavedOnTimeHoweverManyFollowIt) {
    TRecoverySchedule s;
    EXPECT_FALSE(s.Pending());
    EXPECT_EQ(s.Changed(true, 1000), TRecoverySchedule::TAction::None);
    EXPECT_EQ(s.Wait(1000), RecoverySaveDelayMs);
    // Changes every half second do not push the save back.
    for (std::int64_t t = 1500; t < 1000 + RecoverySaveDelayMs; t += 500) {
        s.Changed(true, t);
        EXPECT_FALSE(s.Due(t));
    }
    EXPECT_TRUE(s.Due(1000 + RecoverySaveDelayMs));
    EXPECT_LE(RecoverySaveDelayMs, 10000);
    s.Saved();
    EXPECT_FALSE(s.Pending());
    EXPECT_FALSE(s.Due(100000));
}

TEST(RecoverySchedule, SavingOrDroppingTheChangesRemovesAWrittenCopyOnly) {
    TRecoverySchedule s;
    // Unmodified before anything was written: nothing to remove, and a waiting save is dropped.
    s.Changed(true, 0);
    EXPECT_EQ(s.Changed(false, 10), TRecoverySchedule::TAction::None);
    EXPECT_FALSE(s.Pending());
    s.Changed(true, 20);
    s.Saved();
    EXPECT_EQ(s.Changed(false, 30), TRecoverySchedule::TAction::Remove);
    EXPECT_EQ(s.Changed(false, 40), TRecoverySchedule::TAction::None);
}

} // namespace
} // namespace pigmentaria
