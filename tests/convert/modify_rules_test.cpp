#include "convert/modify_rules.h"
#include "image/image_test_util.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>

namespace pigmentaria {
namespace {

TEST(ModifyRulesTest, ControlSpecsMatchTheSessionDefaultsAndRanges) {
    // The track bars open where the session's controls start and cover what Clamp allows.
    const TConversionControls defaults;
    EXPECT_EQ(ColorDepthSpec.Default, defaults.ColorDepth);
    EXPECT_EQ(SimplificationLevelSpec.Default, defaults.SimplificationLevel);
    EXPECT_EQ(AbstractionLevelSpec.Default, defaults.AbstractionLevel);
    EXPECT_EQ(OutlineMethodIndex(defaults.OutlineMethod), 0);
    for (const TTrackBarSpec* bar :
         {&ColorDepthSpec, &SimplificationLevelSpec, &AbstractionLevelSpec}) {
        TConversionControls low{-50, -50, TOutlineMethod::Outline, -50, true};
        TConversionControls high{500, 500, TOutlineMethod::Outline, 500, true};
        low.Clamp();
        high.Clamp();
        const int lo = bar == &ColorDepthSpec            ? low.ColorDepth
                       : bar == &SimplificationLevelSpec ? low.SimplificationLevel
                                                         : low.AbstractionLevel;
        const int hi = bar == &ColorDepthSpec            ? high.ColorDepth
                       : bar == &SimplificationLevelSpec ? high.SimplificationLevel
                                                         : high.AbstractionLevel;
        EXPECT_EQ(bar->Minimum, lo) << bar->Caption;
        EXPECT_EQ(bar->Maximum, hi) << bar->Caption;
        EXPECT_GE(bar->Default, bar->Minimum);
        EXPECT_LE(bar->Default, bar->Maximum);
    }
    EXPECT_EQ(ColorDepthSpec.Tick, 10);
    EXPECT_STREQ(ColorDepthSpec.LowLabel, "(more)");
    EXPECT_STREQ(SimplificationLevelSpec.HighLabel, "(most)");
    EXPECT_STREQ(AbstractionLevelSpec.LowLabel, "(more detail)");
}

TEST(ModifyRulesTest, TheZoomMenuChecksTheLevelOfTheZoomOrCustom) {
    std::vector<std::string> captions;
    for (const TZoomMenuItem& item : ImportZoomMenu)
        captions.push_back(item.Caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"Custom...", "25%", "50%", "75%", "100%", "125%",
                                                  "150%", "200%", "225%", "250%"}));
    for (std::size_t i = 1; i < ImportZoomMenu.size(); ++i) {
        // Each level's factor is its percentage.
        EXPECT_EQ(std::to_string(static_cast<int>(ImportZoomMenu[i].Factor * 100)) + "%",
                  ImportZoomMenu[i].Caption);
        EXPECT_EQ(ImportZoomMenuCheck(ImportZoomMenu[i].Factor), static_cast<int>(i));
    }
    // Enlarge from 150% reaches 175%, which no level has.
    test::TRecordingProgress progress;
    test::TRecordingMessages messages;
    TImportSession session(progress, messages);
    session.SetPicture(test::Noisy(8, 8, 3));
    session.SetZoomFactor(1.5);
    session.Enlarge();
    EXPECT_EQ(ImportZoomMenuCheck(session.ZoomFactor()), CustomZoomItem);
    session.Enlarge();
    EXPECT_EQ(ImportZoomMenu[ImportZoomMenuCheck(session.ZoomFactor())].Factor, 2.0);
    EXPECT_EQ(ImportZoomMenuCheck(5000.0 / 7000.0), CustomZoomItem);
}

TEST(ModifyRulesTest, ReOpenNamesTheFileOrStaysDisabled) {
    const TReOpenEntry none = ReOpenEntry("");
    EXPECT_FALSE(none.Enabled);
    EXPECT_EQ(none.Caption, "&Re-Open");
    const TReOpenEntry some = ReOpenEntry("/home/ann/Pictures/cat.jpg");
    EXPECT_TRUE(some.Enabled);
    EXPECT_EQ(some.Caption, "Re-Open /home/ann/Pictures/cat.jpg");
}

TEST(ModifyRulesTest, MenusNameEveryFilterOnce) {
    std::set<TFilterKind> kinds;
    for (const auto& item : AdvancedEffectsItems)
        EXPECT_TRUE(kinds.insert(item.Kind).second) << item.Caption;
    for (const auto& item : AdjustColorsItems)
        EXPECT_TRUE(kinds.insert(item.Kind).second) << item.Caption;
    EXPECT_EQ(kinds.size(), 13u);
    std::set<TPaintingStyle> styles(StartingPoints.begin(), StartingPoints.end());
    EXPECT_EQ(styles.size(), 9u);
    EXPECT_EQ(StartingPoints.front(), TPaintingStyle::SimplePainting);
    // Exactly the styles that change the picture say so.
    for (TPaintingStyle style : StartingPoints) {
        test::TRecordingProgress progress;
        test::TRecordingMessages messages;
        TImportSession session(progress, messages);
        session.SetPicture(test::Noisy(16, 12, 3));
        session.ApplyStyle(style);
        EXPECT_EQ(StyleChangesPicture(style),
                  !(session.Picture().ToRaster24() == test::Noisy(16, 12, 3).ToRaster24()))
            << StyleCaption(style);
    }
    EXPECT_EQ(StartingPoints.back(), TPaintingStyle::PenBrushCombo);
}

TEST(ModifyRulesTest, ShownPictureIsThePictureAtItsZoom) {
    EXPECT_EQ(ShownPictureSize(101, 51, 0.5).Width, 50);
    EXPECT_EQ(ShownPictureSize(101, 51, 0.5).Height, 25);
    test::TRecordingProgress progress;
    test::TRecordingMessages messages;
    TImportSession session(progress, messages);
    session.SetPicture(test::Noisy(40, 30, 3));
    session.SetZoomFactor(1.25);
    const TPixelGraphic shown = session.ShownPicture();
    EXPECT_EQ(shown.Width(), 50);
    EXPECT_EQ(shown.Height(), 37);
    EXPECT_EQ(shown.ColorType(), ct24Bit);
    session.SetZoomFactor(1.0);
    EXPECT_EQ(session.ShownPicture().ToRaster24(), session.Picture().ToRaster24());
}

// ---- The session's long operations as a worker runs them

struct TSessionWorkTest : ::testing::Test {
    test::TRecordingProgress Progress;
    test::TRecordingMessages Messages;
    TImportSession Session{Progress, Messages};
    void SetUp() override {
        Session.SetPicture(test::Noisy(48, 36, 3));
        Session.SelectionMade({4, 3, 40, 30});
        Session.Filters.Contour.Strength = 300;
    }
};

TEST_F(TSessionWorkTest, EveryStyleOnAStateDoesWhatTheSessionDoes) {
    for (TPaintingStyle style : StartingPoints) {
        test::TRecordingProgress progress, workerProgress;
        test::TRecordingMessages messages;
        TImportSession direct(progress, messages), adopting(progress, messages);
        direct.AdoptState(Session.CopyState());
        adopting.AdoptState(Session.CopyState());
        direct.ApplyStyle(style);
        adopting.AdoptWork(ApplyStyleToState(Session.CopyState(), style, workerProgress));
        EXPECT_EQ(adopting.Controls, direct.Controls) << StyleCaption(style);
        EXPECT_EQ(adopting.Picture().ToRaster24(), direct.Picture().ToRaster24())
            << StyleCaption(style);
        EXPECT_EQ(adopting.ZoomFactor(), direct.ZoomFactor());
        EXPECT_EQ(adopting.Selection(), direct.Selection());
        EXPECT_EQ(adopting.Reduced(), direct.Reduced());
        // The worker reported the steps the synchronous run reported.
        EXPECT_EQ(workerProgress.Messages, progress.Messages) << StyleCaption(style);
    }
    // The session the states were copied from is untouched.
    EXPECT_EQ(Session.Selection(), (TCropRect{4, 3, 40, 30}));
    EXPECT_EQ(Session.Controls, TConversionControls{});
}

TEST_F(TSessionWorkTest, FiltersAndReduceIntoOriginalOnAState) {
    for (TFilterKind kind : {TFilterKind::Sharpen, TFilterKind::GrayScale, TFilterKind::HSV}) {
        Session.Filters.HSV[0] = 40;
        TImportSession direct(Progress, Messages);
        direct.AdoptState(Session.CopyState());
        direct.ApplyFilter(kind);
        test::TRecordingProgress worker;
        TSessionWork work = ApplyFilterToState(Session.CopyState(), kind, worker);
        EXPECT_FALSE(work.Reduction);
        EXPECT_EQ(work.State.Picture.ToRaster24(), direct.Picture().ToRaster24());
        EXPECT_EQ(worker.Messages, std::vector<std::string>{FilteringMessage});
    }
    TSessionWork reduced = ReduceIntoOriginalOfState(Session.CopyState(), Progress);
    ASSERT_TRUE(reduced.Reduction);
    EXPECT_EQ(reduced.State.Picture.Width(), 36);
    EXPECT_EQ(reduced.State.Picture.Height(), 27);
    EXPECT_FALSE(reduced.State.Selection);
    EXPECT_EQ(reduced.State.Picture.ToRaster24(), reduced.Reduction->Reduced);
    Session.AdoptWork(std::move(reduced));
    EXPECT_EQ(Session.Picture().Width(), 36);
    EXPECT_EQ(Session.Reduced().Width(), 36);
}

TEST_F(TSessionWorkTest, AStoppedOperationThrowsAndLeavesNothingToAdopt) {
    Progress.AbortAt = 3;
    EXPECT_THROW(ApplyStyleToState(Session.CopyState(), TPaintingStyle::PenInk, Progress),
                 EAborted);
    test::TRecordingProgress stopFilter;
    stopFilter.AbortAt = 2;
    EXPECT_THROW(ApplyFilterToState(Session.CopyState(), TFilterKind::Blur, stopFilter), EAborted);
    test::TRecordingProgress stopGray;
    stopGray.AbortAt = 2;
    EXPECT_THROW(ApplyFilterToState(Session.CopyState(), TFilterKind::GrayScale, stopGray),
                 EAborted);
    EXPECT_EQ(Session.Picture().ToRaster24(), test::Noisy(48, 36, 3).ToRaster24());
}

TEST_F(TSessionWorkTest, AWorkersMessagesAreShownWhenAdopted) {
    TSessionWork work;
    work.State = Session.CopyState();
    work.Messages = {{TWorkMessage::TKind::Warning, "careful"}};
    Session.AdoptWork(std::move(work));
    EXPECT_EQ(Messages.Warnings, std::vector<std::string>{"careful"});
}

} // namespace
} // namespace pigmentaria
