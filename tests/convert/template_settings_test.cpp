#include "convert/template_settings.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

TNamedPalette TwoPaints() {
    TNamedPalette p;
    p.Add(MakeColor(250, 250, 245), "Titanium white");
    p.Add(MakeColor(30, 20, 15), "Lamp black");
    return p;
}

TEST(TemplateImportSettings, DefaultsLeaveTheImportOnItsDefaultPath) {
    const TTemplateImportSettings s;
    EXPECT_EQ(s.ColorMode, TColorMode::ByStep);
    EXPECT_EQ(s.PaletteSize, 24);
    const TNamedPalette paints = TwoPaints();
    // Even with paints at hand, nothing is matched until asked.
    EXPECT_FALSE(TemplateControlsOf(s, &paints).Active());
    const TTemplateGroupRules rules = TemplateGroupRules(s, false);
    EXPECT_TRUE(rules.ColorDepthEnabled);
    EXPECT_FALSE(rules.PaletteSizeEnabled);
    EXPECT_FALSE(rules.MatchToPaintsEnabled);
    EXPECT_FALSE(rules.PaintsFileEnabled);
}

TEST(TemplateImportSettings, FieldRulesFollowTheModeAndThePaletteFiles) {
    TTemplateImportSettings s;
    s.ColorMode = TColorMode::ByCount;
    s.MatchToPaints = true;
    TTemplateGroupRules r = TemplateGroupRules(s, true);
    EXPECT_FALSE(r.ColorDepthEnabled);
    EXPECT_TRUE(r.PaletteSizeEnabled);
    EXPECT_TRUE(r.MatchToPaintsEnabled);
    EXPECT_TRUE(r.PaintsFileEnabled);
    // No palette files: the check and the list are off, whatever the check says.
    r = TemplateGroupRules(s, false);
    EXPECT_FALSE(r.MatchToPaintsEnabled);
    EXPECT_FALSE(r.PaintsFileEnabled);
    s.MatchToPaints = false;
    EXPECT_FALSE(TemplateGroupRules(s, true).PaintsFileEnabled);
}

TEST(TemplateImportSettings, TypedNumbersAreHeldToTheirRanges) {
    EXPECT_EQ(WholeFieldValue("12", TemplatePaletteSizeRange, 24), 12);
    EXPECT_EQ(WholeFieldValue(" 7 ", TemplatePaletteSizeRange, 24), 7);
    EXPECT_EQ(WholeFieldValue("1", TemplatePaletteSizeRange, 24), 2);
    EXPECT_EQ(WholeFieldValue("999", TemplatePaletteSizeRange, 24), 255);
    EXPECT_EQ(WholeFieldValue("-5", TemplateMinAreaRange, 30), 0);
    EXPECT_EQ(WholeFieldValue("99999999999", TemplateMinAreaRange, 30), 100000);
    for (const char* bad : {"", "abc", "12a", "1.5", "1,5"})
        EXPECT_EQ(WholeFieldValue(bad, TemplateMinWidthRange, 9), 9) << bad;
    TTemplateImportSettings s;
    s.ColorMode = static_cast<TColorMode>(7);
    s.PaletteSize = 0;
    s.MinAreaPixels = -3;
    s.MinWidthPixels = 1000;
    s.Clamp();
    EXPECT_EQ(s.ColorMode, TColorMode::ByStep);
    EXPECT_EQ(s.PaletteSize, 2);
    EXPECT_EQ(s.MinAreaPixels, 0);
    EXPECT_EQ(s.MinWidthPixels, 200);
}

TEST(TemplateImportSettings, WhatTheConversionIsAsked) {
    TTemplateImportSettings s;
    s.PaletteSize = 12;
    s.MinAreaPixels = 40;
    s.MinWidthPixels = 6;
    TTemplateControls c = TemplateControlsOf(s, nullptr);
    // By step the palette size waits: the slider's step reduces the colours.
    EXPECT_EQ(c.PaletteSize, 0);
    EXPECT_EQ(c.MinRegionPixels, 40);
    EXPECT_EQ(c.MinWidthPixels, 6);
    EXPECT_TRUE(c.Active());
    s.ColorMode = TColorMode::ByCount;
    s.MatchToPaints = true;
    const TNamedPalette paints = TwoPaints();
    c = TemplateControlsOf(s, &paints);
    EXPECT_EQ(c.PaletteSize, 12);
    ASSERT_EQ(c.Paints.Count(), 2u);
    EXPECT_EQ(PaletteNameAt(c.Paints, 2), "Lamp black");
    // Asked to match without paints read: none are matched.
    EXPECT_TRUE(TemplateControlsOf(s, nullptr).Paints.Empty());
}

TEST(TemplateImportSettings, KeysRoundTripAndBadLinesKeepDefaults) {
    TTemplateImportSettings s;
    s.ColorMode = TColorMode::ByCount;
    s.PaletteSize = 30;
    s.MinAreaPixels = 25;
    s.MinWidthPixels = 8;
    s.MatchToPaints = true;
    s.PaintsFile = " oils = 2.KVL";
    const std::string keys = EncodeTemplateKeys(s);
    EXPECT_EQ(keys.rfind("template-colors=count\n", 0), 0u) << keys;
    EXPECT_EQ(DecodeTemplateKeys(keys), s);
    // CR LF ends, unknown keys, junk and out-of-range numbers.
    const TTemplateImportSettings d =
        DecodeTemplateKeys("template-colors=count\r\nwhatever=1\r\nno equals sign\r\n"
                           "template-palette-size=1000\r\ntemplate-min-region-px=lots\r\n"
                           "template-match-paints=yes\r\ntemplate-paints-file=a.KVL\r\n");
    EXPECT_EQ(d.ColorMode, TColorMode::ByCount);
    EXPECT_EQ(d.PaletteSize, 255);
    EXPECT_EQ(d.MinAreaPixels, TemplateMinAreaRange.Default);
    EXPECT_FALSE(d.MatchToPaints);
    EXPECT_EQ(d.PaintsFile, "a.KVL");
    EXPECT_EQ(DecodeTemplateKeys(""), TTemplateImportSettings{});
}

} // namespace
} // namespace pigmentaria
