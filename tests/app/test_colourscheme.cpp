#include "app/colourscheme.h"
#include "app/settings.h"
#include "app/tempdir.h"

#include <gtest/gtest.h>

using namespace varkel;
using varkel::test::writeAll;

TEST(ColourScheme, ContrastRatioFollowsTheWcagFormula)
{
    const unsigned black = Bgr(0, 0, 0), white = Bgr(255, 255, 255);
    EXPECT_DOUBLE_EQ(ContrastRatio(black, white), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(white, black), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio(Bgr(0x77, 0x77, 0x77), Bgr(0x77, 0x77, 0x77)), 1.0);
    // Well-known pairs: #777 on white is just below 4.5, #767676 just above.
    EXPECT_NEAR(ContrastRatio(Bgr(0x77, 0x77, 0x77), white), 4.48, 0.01);
    EXPECT_NEAR(ContrastRatio(Bgr(0x76, 0x76, 0x76), white), 4.54, 0.01);
    // Green weighs most, blue least: the channels are not mixed up.
    EXPECT_NEAR(RelativeLuminance(Bgr(0, 255, 0)), 0.7152, 1e-9);
    EXPECT_NEAR(RelativeLuminance(Bgr(0, 0, 255)), 0.0722, 1e-9);
    EXPECT_NEAR(RelativeLuminance(0x0000FF), 0.2126, 1e-9); // red is the low byte
}

TEST(ColourScheme, DarkPresetKeepsEveryColourReadable)
{
    const double lowest = LowestContrast(kDarkPreset);
    EXPECT_GE(lowest, kMinTextContrast);
    for (std::size_t i = 0; i < kDarkPreset.syntax.size(); ++i)
        EXPECT_GE(ContrastRatio(kDarkPreset.syntax[i], kDarkPreset.background), kMinTextContrast) << "colour " << i;
    EXPECT_LT(RelativeLuminance(kDarkPreset.background), 0.05);
    // The classes stay told apart: no two syntax colours are the same.
    for (std::size_t i = 1; i < kDarkPreset.syntax.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_NE(kDarkPreset.syntax[i], kDarkPreset.syntax[j]);
}

TEST(ColourScheme, LightPresetIsTheStoredDefault)
{
    EXPECT_EQ(kLightPreset.syntax, kDefaultSyntaxColors);
    EXPECT_EQ(kLightPreset.background, Settings{}.BGColor);
}

TEST(ColourScheme, DarkSchemeMeansDarkWindowUnderLightText)
{
    EXPECT_TRUE(IsDarkScheme(Bgr(0x35, 0x35, 0x35), Bgr(0xEE, 0xEE, 0xEE)));
    EXPECT_FALSE(IsDarkScheme(Bgr(0xEF, 0xEF, 0xEF), Bgr(0, 0, 0)));
}

TEST(ColourScheme, FirstStartOnADarkDesktopTakesTheDarkPreset)
{
    test::TempDir dir;
    const std::string ini = dir.file("Varkel.ini");

    // Nothing stored: the desktop decides.
    Settings s = ReadSettings(ini, true);
    EXPECT_EQ(s.BGColor, kDarkPreset.background);
    EXPECT_EQ(s.SyntaxColors, kDarkPreset.syntax);
    s = ReadSettings(ini, false);
    EXPECT_EQ(s.BGColor, kLightPreset.background);
    EXPECT_EQ(s.SyntaxColors, kLightPreset.syntax);

    // Other settings stored but no colour: still a first start for colours.
    writeAll(ini, "[General]\r\nQVersion=Q3\r\n[Font]\r\nSize=12\r\n");
    EXPECT_EQ(ReadSettings(ini, true).BGColor, kDarkPreset.background);

    // One colour stored: the user has chosen; the rest keep the old defaults,
    // so a file written before the preset existed reads as it always did.
    writeAll(ini, "[Font]\r\nSyntaxColor5=4210752\r\n");
    s = ReadSettings(ini, true);
    EXPECT_EQ(s.BGColor, kLightPreset.background);
    EXPECT_EQ(s.SyntaxColors[5], 4210752u);
    EXPECT_EQ(s.SyntaxColors[0], kLightPreset.syntax[0]);

    writeAll(ini, "[Font]\r\nBGColor=16777215\r\n");
    EXPECT_EQ(ReadSettings(ini, true).SyntaxColors, kLightPreset.syntax);
}

TEST(ColourScheme, MostReadablePicksTheHighestContrast)
{
    const unsigned casing = Bgr(0x3B, 0x3F, 0x46), ball = Bgr(0xE6, 0xE8, 0xEB);
    const std::array<unsigned, 3> lightPalette{Bgr(0, 0, 0), Bgr(0xEF, 0xEF, 0xEF), Bgr(0xFF, 0xFF, 0xFF)};
    EXPECT_EQ(MostReadable(casing, lightPalette), Bgr(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(MostReadable(ball, lightPalette), Bgr(0, 0, 0));
    const std::array<unsigned, 2> darkPalette{Bgr(0xFF, 0xFF, 0xFF), Bgr(0x35, 0x35, 0x35)};
    EXPECT_EQ(MostReadable(ball, darkPalette), Bgr(0x35, 0x35, 0x35));
    EXPECT_GE(ContrastRatio(MostReadable(ball, darkPalette), ball), kMinTextContrast);
    EXPECT_EQ(MostReadable(ball, {}), Bgr(0, 0, 0));
    EXPECT_EQ(MostReadable(casing, {}), Bgr(0xFF, 0xFF, 0xFF));
}
