// Nearest palette index for every palette identity, the dither pass and the palette optimiser.
#include "image/palette_match.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <set>

namespace pigmentaria {
namespace {

int Dist2(TColor a, int r, int g, int b) {
    const int dr = RedOf(a) - r, dg = GreenOf(a) - g, db = BlueOf(a) - b;
    return dr * dr + dg * dg + db * db;
}

std::uint32_t BruteNearest(const std::vector<TColor>& pal, int r, int g, int b) {
    std::uint32_t best = 0;
    int bestD = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < pal.size(); ++i)
        if (Dist2(pal[i], r, g, b) < bestD)
            best = static_cast<std::uint32_t>(i), bestD = Dist2(pal[i], r, g, b);
    return best;
}

TPixelGraphic PalettePicture(TPaletteIdent id, TPGColorType type = ct8Bit, int w = 1, int h = 1) {
    TPixelGraphic g;
    g.SetSize(w, h, type);
    g.SetPaletteIdent(id);
    return g;
}

// ---- Standard identities

TEST(NearestPaletteIndex, BlackWhiteSplitsBetweenBrightness382And383) {
    TPixelGraphic g = PalettePicture(pBlackWhite, ct1Bit);
    g.SetRGBWeighting(false);
    EXPECT_EQ(g.NearestPaletteIndex(MakeColor(127, 127, 128)), 0u);
    EXPECT_EQ(g.NearestPaletteIndex(MakeColor(127, 128, 128)), 1u);
    // With weighting on green counts most: (0, 217, 0) has brightness 382, (0, 218, 0) 384.
    g.SetRGBWeighting(true);
    EXPECT_EQ(g.NearestPaletteIndex(MakeColor(0, 217, 0)), 0u);
    EXPECT_EQ(g.NearestPaletteIndex(MakeColor(0, 218, 0)), 1u);
}

TEST(NearestPaletteIndex, GrayPalettesFollowBrightness) {
    TPixelGraphic g4 = PalettePicture(pSysGray4, ct4Bit);
    g4.SetRGBWeighting(false);
    EXPECT_EQ(g4.NearestPaletteIndex(MakeColor(64, 64, 64)), 0u);    // 192
    EXPECT_EQ(g4.NearestPaletteIndex(MakeColor(64, 64, 65)), 1u);    // 193
    EXPECT_EQ(g4.NearestPaletteIndex(MakeColor(160, 160, 160)), 1u); // 480
    EXPECT_EQ(g4.NearestPaletteIndex(MakeColor(160, 160, 161)), 2u);
    EXPECT_EQ(g4.NearestPaletteIndex(MakeColor(223, 223, 224)), 2u); // 670
    EXPECT_EQ(g4.NearestPaletteIndex(MakeColor(224, 223, 224)), 3u);

    // The plain gray palettes answer the entry nearest to brightness / 3.
    for (TPaletteIdent id : {pGray4, pGray16, pGray236, pGray256}) {
        TPixelGraphic g = PalettePicture(id);
        g.SetRGBWeighting(false);
        const std::vector<TColor> pal = g.Palette();
        for (int v = 0; v <= 765; ++v) {
            const int r = std::min(v, 255), gr = std::min(std::max(v - 255, 0), 255),
                      b = std::max(v - 510, 0);
            const std::uint32_t got = g.NearestPaletteIndex(MakeColor(r, gr, b));
            // No entry lies nearer to v / 3 than the one chosen (3 * entry compared with v).
            for (std::size_t i = 0; i < pal.size(); ++i)
                ASSERT_LE(std::abs(3 * RedOf(pal[got]) - v), std::abs(3 * RedOf(pal[i]) - v) + 1)
                    << "identity " << int(id) << " v " << v;
        }
    }
}

TEST(NearestPaletteIndex, Special125And216Levels) {
    TPixelGraphic g125 = PalettePicture(pSpecial125);
    EXPECT_EQ(g125.NearestPaletteIndex(MakeColor(224, 0, 0)), 4u * 25);
    EXPECT_EQ(g125.NearestPaletteIndex(MakeColor(223, 0, 0)), 3u * 25);
    EXPECT_EQ(g125.NearestPaletteIndex(MakeColor(0, 0, 224)), 4u);
    TPixelGraphic g216 = PalettePicture(pSpecial216);
    EXPECT_EQ(g216.NearestPaletteIndex(MakeColor(26, 26, 26)), 0u);
    EXPECT_EQ(g216.NearestPaletteIndex(MakeColor(27, 27, 27)), 43u);
    EXPECT_EQ(g216.Palette()[43], MakeColor(51, 51, 51));
}

TEST(NearestPaletteIndex, Sys16AnswersWindowsColours) {
    TPixelGraphic g = PalettePicture(pSys16, ct4Bit);
    const auto& sys = SystemColors16();
    for (std::uint32_t i = 0; i < 16; ++i)
        EXPECT_EQ(g.NearestPaletteIndex(sys[i]), i);
    EXPECT_EQ(g.NearestPaletteIndex(MakeColor(250, 10, 10)), 9u);
    EXPECT_EQ(g.NearestPaletteIndex(MakeColor(100, 100, 100)), 8u);
    EXPECT_EQ(g.NearestPaletteIndex(MakeColor(200, 190, 180)), 7u);
}

TEST(NearestPaletteIndex, NoPaletteRaises) {
    TPixelGraphic g;
    g.SetSize(2, 2, ct8Bit);
    try {
        g.NearestPaletteIndex(clWhite);
        FAIL();
    } catch (const EPGNoPalette& e) {
        EXPECT_STREQ(e.what(), "No palette");
    }
}

TEST(NearestPaletteIndex, TrueColorIsTheColourItself) {
    TPixelGraphic g;
    g.SetSize(1, 1, ct24Bit);
    EXPECT_EQ(g.NearestPaletteIndex(0x123456), 0x123456u);
}

// ---- pUnknown and its caches

TEST(NearestPaletteIndex, UnknownBlackWhitePaletteAndLastQueryCache) {
    TPixelGraphic g;
    g.SetSize(1, 1, ct1Bit);
    g.SetPalette({clWhite, clBlack}); // other order than pBlackWhite
    ASSERT_EQ(g.PaletteIdent(), pUnknown);
    EXPECT_EQ(g.NearestPaletteIndex(MakeColor(200, 200, 200)), 0u);
    EXPECT_EQ(g.NearestPaletteIndex(MakeColor(200, 200, 200)), 0u);
    // A palette edit invalidates the cached answer.
    g.SetPaletteColor(0, clBlack);
    g.SetPaletteColor(1, clWhite);
    EXPECT_EQ(g.NearestPaletteIndex(MakeColor(200, 200, 200)), 1u);
}

TEST(NearestPaletteIndex, CellCacheIsClaimedByGridSteps) {
    // The query's cell is 3 steps from black's cell and 5 from the other entry's, so the cell
    // cache answers black although the other entry is nearer; the full search finds that one.
    TPixelGraphic g;
    g.SetSize(1, 1, ct8Bit);
    g.SetPalette({clBlack, MakeColor(31, 20, 0)});
    const TColor q = MakeColor(31, 0, 0);
    EXPECT_EQ(g.NearestPaletteIndex(q), 0u);
    g.SetColorCacheEnabled(false);
    EXPECT_EQ(g.NearestPaletteIndex(q), 1u);
    // Cells no entry claims fall back to the full search.
    g.SetColorCacheEnabled(true);
    const std::vector<TColor> far = {clBlack, clWhite, MakeColor(0, 0, 200)};
    g.SetPalette(far);
    for (TColor c : {MakeColor(120, 130, 110), MakeColor(140, 140, 150), MakeColor(60, 200, 90)})
        EXPECT_EQ(g.NearestPaletteIndex(c), BruteNearest(far, RedOf(c), GreenOf(c), BlueOf(c)));
}

TEST(NearestPaletteIndex, UnknownPaletteAgreesWithFullSearchNearItsEntries) {
    // Within a cell of an entry's own colour the cache must name an entry at least as near.
    std::vector<TColor> pal;
    for (int i = 0; i < 200; ++i)
        pal.push_back(MakeColor((i * 97) % 256, (i * 57) % 256, (i * 31) % 256));
    TPixelGraphic g;
    g.SetSize(1, 1, ct8Bit);
    g.SetPalette(pal);
    for (std::size_t i = 0; i < pal.size(); ++i) {
        const std::uint32_t got = g.NearestPaletteIndex(pal[i]);
        EXPECT_EQ(Dist2(pal[got], RedOf(pal[i]), GreenOf(pal[i]), BlueOf(pal[i])), 0) << i;
    }
}

// ---- The fixed 252-colour table

TEST(Special252, TableMakeUp) {
    const auto& t = Special252Table();
    const auto& sys = SystemColors16();
    EXPECT_TRUE(std::equal(sys.begin(), sys.end(), t.begin()));
    const std::set<int> levels = {0, 32, 64, 96, 128, 160, 192, 224, 255};
    for (std::size_t i = 16; i < t.size(); ++i) {
        EXPECT_TRUE(levels.count(RedOf(t[i])) && levels.count(GreenOf(t[i])) &&
                    levels.count(BlueOf(t[i])))
            << i;
    }
    EXPECT_EQ(std::set<TColor>(t.begin(), t.end()).size(), 252u);
    // Recognition, SetPaletteIdent and the table agree.
    TPixelGraphic g;
    g.SetSize(1, 1, ct8Bit);
    g.SetPalette(std::vector<TColor>(t.begin(), t.end()));
    EXPECT_EQ(g.PaletteIdent(), pSpecial252);
}

TEST(Special252, CandidateRunsGiveTheTrueNearestEntryForEveryColour) {
    // Brute force over all 16.7 million colours, made affordable by splitting the distance:
    // for fixed red and green, the best entry with a given blue level is the one with the
    // smallest red-green distance (lowest index on ties).
    const auto& t = Special252Table();
    std::vector<int> blueLevels;
    for (TColor c : t)
        if (std::find(blueLevels.begin(), blueLevels.end(), BlueOf(c)) == blueLevels.end())
            blueLevels.push_back(BlueOf(c));
    TPixelGraphic g = PalettePicture(pSpecial252);
    std::vector<int> bestBase(blueLevels.size());
    std::vector<std::uint32_t> bestIndex(blueLevels.size());
    long mismatches = 0;
    for (int r = 0; r < 256; ++r) {
        for (int gr = 0; gr < 256; ++gr) {
            std::fill(bestBase.begin(), bestBase.end(), std::numeric_limits<int>::max());
            for (std::size_t i = 0; i < t.size(); ++i) {
                const int base = (RedOf(t[i]) - r) * (RedOf(t[i]) - r) +
                                 (GreenOf(t[i]) - gr) * (GreenOf(t[i]) - gr);
                const std::size_t k = static_cast<std::size_t>(
                    std::find(blueLevels.begin(), blueLevels.end(), BlueOf(t[i])) -
                    blueLevels.begin());
                if (base < bestBase[k])
                    bestBase[k] = base, bestIndex[k] = static_cast<std::uint32_t>(i);
            }
            for (int b = 0; b < 256; ++b) {
                int best = std::numeric_limits<int>::max();
                std::uint32_t want = 0;
                for (std::size_t k = 0; k < blueLevels.size(); ++k) {
                    const int d = bestBase[k] + (blueLevels[k] - b) * (blueLevels[k] - b);
                    if (d < best || (d == best && bestIndex[k] < want))
                        best = d, want = bestIndex[k];
                }
                if (NearestSpecial252(r, gr, b) != want) ++mismatches;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    // The picture's answer goes through the same runs.
    EXPECT_EQ(g.NearestPaletteIndex(MakeColor(30, 200, 90)), NearestSpecial252(30, 200, 90));
}

TEST(Special252, RunsAreShort) {
    std::size_t longest = 0;
    for (int cell = 0; cell < 729; ++cell)
        longest = std::max(longest, Special252Candidates(cell).size());
    EXPECT_GT(longest, 0u);
    EXPECT_LT(longest, 64u);
}

// ---- Recognition

TEST(PaletteIdentity, StandardPalettesAreRecognised) {
    for (TPaletteIdent id : {pBlackWhite, pSysGray4, pSys16, pGray4, pGray16, pGray236, pGray256,
                             pSpecial125, pSpecial216, pSpecial252}) {
        bool gray = false;
        EXPECT_EQ(RecognizePaletteIdent(StandardPalette(id), gray), id) << int(id);
        const bool allGray = id == pBlackWhite || id == pSysGray4 || id == pGray4 ||
                             id == pGray16 || id == pGray236 || id == pGray256;
        EXPECT_EQ(gray, allGray) << int(id);
    }
    bool gray = false;
    EXPECT_EQ(RecognizePaletteIdent({clWhite, clBlack}, gray), pUnknown);
    EXPECT_EQ(RecognizePaletteIdent({}, gray), pNone);
    std::vector<TColor> almost = StandardPalette(pSys16);
    almost[15] = MakeColor(254, 255, 255);
    EXPECT_EQ(RecognizePaletteIdent(almost, gray), pUnknown);
}

TEST(PaletteIdentity, Gray236IsRoundedEvenly) {
    const std::vector<TColor> p = StandardPalette(pGray236);
    ASSERT_EQ(p.size(), 236u);
    EXPECT_EQ(p.front(), clBlack);
    EXPECT_EQ(p.back(), clWhite);
    EXPECT_EQ(RedOf(p[1]), 1);     // 1.085
    EXPECT_EQ(RedOf(p[2]), 2);     // 2.17
    EXPECT_EQ(RedOf(p[117]), 127); // 126.96
}

// ---- Dithering

TEST(DitherClampTable, SoftKneeRisesFromHalfTheLimitToTheLimit) {
    const auto t = TDitherPass::ClampTable(32, true);
    auto T = [&](int e) { return t[static_cast<std::size_t>(e + 255)]; };
    EXPECT_EQ(T(0), 0);
    EXPECT_EQ(T(15), 15);
    EXPECT_EQ(T(16), 16);
    EXPECT_EQ(T(17), 16);
    EXPECT_EQ(T(40), 28);
    EXPECT_EQ(T(48), 32);
    EXPECT_EQ(T(49), 32);
    EXPECT_EQ(T(255), 32);
    EXPECT_EQ(T(-40), -28);
    for (int e = -255; e < 255; ++e)
        EXPECT_LE(T(e), T(e + 1)) << e;

    const auto hard = TDitherPass::ClampTable(32, false);
    EXPECT_EQ(hard[255 + 31], 31);
    EXPECT_EQ(hard[255 + 32], 32);
    EXPECT_EQ(hard[255 + 200], 32);
    EXPECT_EQ(hard[255 - 200], -32);

    const auto open = TDitherPass::ClampTable(255, false);
    for (int e = -255; e <= 255; ++e)
        EXPECT_EQ(open[static_cast<std::size_t>(e + 255)], e);
    const auto zero = TDitherPass::ClampTable(0, true);
    for (int v : zero)
        EXPECT_EQ(v, 0);
}

TEST(DitherPass, AutoLimitFollowsTheIdentity) {
    const std::pair<TPaletteIdent, int> cases[] = {
        {pBlackWhite, 255}, {pSys16, 128},     {pGray236, 3}, {pGray256, 2},
        {pSpecial252, 104}, {pSpecial216, 86}, {pGray16, 32}};
    for (auto [id, limit] : cases) {
        TPixelGraphic g = PalettePicture(id, id == pBlackWhite ? ct1Bit : ct8Bit);
        TDitherPass pass(g);
        EXPECT_EQ(pass.Limit(), limit) << int(id);
        EXPECT_TRUE(pass.Soft());
    }
    TPixelGraphic g = PalettePicture(pSys16);
    g.DitherErrorLimitAuto = false;
    g.DitherErrorLimit = 7;
    g.DitherErrorLimitSoft = false;
    TDitherPass pass(g);
    EXPECT_EQ(pass.Limit(), 7);
    EXPECT_FALSE(pass.Soft());
}

TPixelGraphic Gradient24(int w, int h) {
    TPixelGraphic g;
    g.SetSize(w, h, ct24Bit);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            g.SetPixelColor(x, y,
                            MakeColor(x * 255 / (w - 1), (x + y) * 7 % 256, y * 255 / (h - 1)));
    return g;
}

TEST(DitherPass, ZeroLimitChangesNothing) {
    const TPixelGraphic src = Gradient24(40, 12);
    TPixelGraphic plain = PalettePicture(pSys16, ct4Bit, 40, 12);
    plain.Dither = false;
    plain.StretchFromWhole(src);
    TPixelGraphic dithered = PalettePicture(pSys16, ct4Bit, 40, 12);
    dithered.DitherErrorLimitAuto = false;
    dithered.DitherErrorLimit = 0;
    dithered.StretchFromWhole(src);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 40; ++x)
            ASSERT_EQ(plain.GetPixel(x, y), dithered.GetPixel(x, y));
    // With the identity's limit the error does travel.
    TPixelGraphic diffused = PalettePicture(pSys16, ct4Bit, 40, 12);
    diffused.StretchFromWhole(src);
    int differ = 0;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 40; ++x)
            differ += plain.GetPixel(x, y) != diffused.GetPixel(x, y);
    EXPECT_GT(differ, 0);
}

TEST(DitherPass, MidGrayBecomesAMixtureOfTheTwoNearestGrays) {
    TPixelGraphic src;
    src.SetSize(16, 16, ct24Bit);
    src.SetFillColor(MakeColor(128, 128, 128));
    src.Clear();
    TPixelGraphic g = PalettePicture(pGray4, ct8Bit, 16, 16); // 0, 85, 170, 255
    g.StretchFromWhole(src);
    int sum = 0, ones = 0, twos = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const std::uint32_t i = g.GetPixel(x, y);
            ASSERT_TRUE(i == 1 || i == 2) << x << "," << y;
            ones += i == 1;
            twos += i == 2;
            sum += RedOf(g.GetPixelColor(x, y));
        }
    EXPECT_GT(ones, 0);
    EXPECT_GT(twos, 0);
    EXPECT_NEAR(sum / 256.0, 128.0, 3.0);
}

TEST(DitherPass, ErrorTravelsAheadInTheRowsWalkingDirection) {
    // Gray 120 maps to 85 on its own; carrying 7/16 of the error of a neighbour already walked
    // over tips it to 170. Even rows walk right, odd rows walk left.
    auto pixelAfter = [](int y, int firstX) {
        TPixelGraphic g = PalettePicture(pGray4, ct8Bit, 3, 2);
        TDitherPass pass(g);
        for (int row = 0; row <= y; ++row)
            pass.NextRow();
        if (firstX >= 0) pass.DiffusePixel(firstX, y, 120, 120, 120);
        pass.DiffusePixel(1, y, 120, 120, 120);
        return g.GetPixel(1, y);
    };
    EXPECT_EQ(pixelAfter(0, -1), 1u);
    EXPECT_EQ(pixelAfter(0, 0), 2u);
    EXPECT_EQ(pixelAfter(0, 2), 1u);
    EXPECT_EQ(pixelAfter(1, 2), 2u);
    EXPECT_EQ(pixelAfter(1, 0), 1u);
}

TEST(DitherPass, GrayPaletteKeepsOnlyTheGrayError) {
    // A saturated colour on a gray palette is mapped by brightness, not by RGB distance.
    TPixelGraphic g = PalettePicture(pGray256, ct8Bit, 4, 1);
    g.SetRGBWeighting(false);
    TDitherPass pass(g);
    pass.NextRow();
    pass.DiffusePixel(0, 0, 255, 0, 0);
    EXPECT_EQ(g.GetPixel(0, 0), 85u);
}

// ---- Palette optimiser

TEST(OptimizePalette, TwoColoursOfBlackAndWhiteAreTheirCellCentres) {
    TPixelGraphic src;
    src.SetSize(4, 2, ct24Bit);
    for (int x = 0; x < 4; ++x)
        src.SetPixelColor(x, 0, clWhite);
    TPixelGraphic dest;
    dest.SetSize(4, 2, ct1Bit);
    OptimizePalette(dest, src, 2, false);
    EXPECT_EQ(dest.Palette(), (std::vector<TColor>{MakeColor(4, 2, 4), MakeColor(252, 254, 252)}));
}

TEST(OptimizePalette, FewColoursAreFollowedByTheSystemColours) {
    TPixelGraphic src;
    src.SetSize(10, 3, ct24Bit);
    for (int x = 0; x < 10; ++x)
        for (int y = 0; y < 3; ++y)
            src.SetPixelColor(x, y, MakeColor(x * 25, 255 - x * 20, 7 * x));
    TPixelGraphic dest;
    dest.SetSize(10, 3, ct8Bit);
    OptimizePalette(dest, src, 252, true);
    const std::vector<TColor>& p = dest.Palette();
    ASSERT_GE(p.size(), 16u);
    ASSERT_LE(p.size(), 26u);
    EXPECT_TRUE(std::equal(SystemColors16().begin(), SystemColors16().end(), p.end() - 16));
    // Every source colour is within its histogram cell of some chosen colour.
    for (int x = 0; x < 10; ++x) {
        const TColor c = src.GetPixelColor(x, 0);
        const std::uint32_t i = BruteNearest(p, RedOf(c), GreenOf(c), BlueOf(c));
        EXPECT_LE(std::abs(RedOf(p[i]) - RedOf(c)), 4);
        EXPECT_LE(std::abs(GreenOf(p[i]) - GreenOf(c)), 2);
        EXPECT_LE(std::abs(BlueOf(p[i]) - BlueOf(c)), 4);
    }
}

TEST(OptimizePalette, EmptySourceGivesTheSystemPalette) {
    TPixelGraphic src, dest;
    dest.SetSize(2, 2, ct8Bit);
    OptimizePalette(dest, src, 252, true);
    EXPECT_EQ(dest.PaletteIdent(), pSys16);
    TPixelGraphic small;
    small.SetSize(2, 2, ct4Bit);
    OptimizePalette(small, src, 4, false);
    EXPECT_EQ(small.Palette(),
              std::vector<TColor>(SystemColors16().begin(), SystemColors16().begin() + 4));
}

TEST(OptimizePalette, BoxCutStaysWithinTheRequestedCount) {
    const TPixelGraphic src = Gradient24(64, 48);
    for (int n : {2, 5, 16, 100}) {
        TPixelGraphic dest;
        dest.SetSize(1, 1, ct8Bit);
        OptimizePalette(dest, src, n, false);
        EXPECT_EQ(dest.PaletteCount(), n);
        EXPECT_EQ(std::set<TColor>(dest.Palette().begin(), dest.Palette().end()).size(),
                  static_cast<std::size_t>(n));
    }
}

TEST(OptimizePalette, OctreeKeepsFewColoursExactly) {
    TPixelGraphic src;
    src.SetSize(5, 1, ct8Bit);
    src.SetPalette({MakeColor(10, 20, 30), MakeColor(200, 100, 0), MakeColor(7, 7, 7),
                    MakeColor(255, 255, 255), MakeColor(90, 180, 45), MakeColor(1, 2, 3)});
    for (int x = 0; x < 5; ++x)
        src.SetPixel(x, 0, static_cast<std::uint32_t>(x));
    TPixelGraphic dest;
    dest.SetSize(1, 1, ct8Bit);
    OptimizePalette(dest, src, 16, false);
    std::vector<TColor> got = dest.Palette(),
                        want(src.Palette().begin(), src.Palette().begin() + 5);
    std::sort(got.begin(), got.end());
    std::sort(want.begin(), want.end());
    EXPECT_EQ(got, want);
}

TEST(OptimizePalette, OctreeNeverExceedsTheCountEvenForColoursThatPartAtTheTop) {
    // Black, red and blue differ in their top bits, so no node ever joins a reducible list.
    TPixelGraphic src;
    src.SetSize(3, 1, ct4Bit);
    src.SetPalette({clBlack, MakeColor(255, 0, 0), MakeColor(0, 0, 255)});
    for (int x = 0; x < 3; ++x)
        src.SetPixel(x, 0, static_cast<std::uint32_t>(x));
    TPixelGraphic dest;
    dest.SetSize(3, 1, ct1Bit);
    OptimizePalette(dest, src, 2, false);
    EXPECT_GE(dest.PaletteCount(), 1);
    EXPECT_LE(dest.PaletteCount(), 2);
}

TEST(OptimizePalette, OctreeReducesManyColours) {
    TPixelGraphic src;
    src.SetSize(16, 16, ct8Bit);
    std::vector<TColor> pal;
    for (int i = 0; i < 256; ++i)
        pal.push_back(MakeColor(i, (i * 7) % 256, 255 - i));
    src.SetPalette(pal);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            src.SetPixel(x, y, static_cast<std::uint32_t>(y * 16 + x));
    TPixelGraphic dest;
    dest.SetSize(1, 1, ct4Bit);
    OptimizePalette(dest, src, 16, false);
    EXPECT_GE(dest.PaletteCount(), 2);
    EXPECT_LE(dest.PaletteCount(), 16);
}

} // namespace
} // namespace pigmentaria
