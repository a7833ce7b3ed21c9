#include "bindings/panelfit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include <gtest/gtest.h>

using namespace varkel;

namespace {
// The panel as designed at 96 dpi and a frame's central area.
PanelFitInput frameArea(int width, int height)
{
    PanelFitInput in;
    in.naturalWidth = 790;
    in.naturalHeight = 200;
    in.availableWidth = width;
    in.areaHeight = height;
    in.documentChrome = 56;
    in.lineHeight = 15;
    in.minLines = 20;
    return in;
}
} // namespace

TEST(PanelFit, RoomyWindowDrawsTheDesignedSize)
{
    EXPECT_DOUBLE_EQ(PanelScale(frameArea(1920, 900)), 1.0);
    // No area known: the designed size.
    EXPECT_DOUBLE_EQ(PanelScale(PanelFitInput{790, 200}), 1.0);
}

TEST(PanelFit, NarrowWindowKeepsProportionsDownToTheMinimum)
{
    EXPECT_NEAR(PanelScale(frameArea(395, 900)), 0.5, 1e-9);
    EXPECT_NEAR(PanelScale(frameArea(100, 900)), 0.4, 1e-9);
}

TEST(PanelFit, EditorKeepsItsLinesAndNeverFewerThanThePanelTakes)
{
    // Room for twenty lines once the panel shrinks: it shrinks just enough.
    const PanelFitInput roomy = frameArea(1920, 520);
    const double scale = PanelScale(roomy);
    EXPECT_LT(scale, 1.0);
    EXPECT_GE(EditorLinesLeft(roomy, scale), 20);
    EXPECT_LT(EditorLinesLeft(roomy, scale + 0.05), 20);

    // A 1920x1080 screen at scale factor 2 (960x540 logical): menus, tool
    // bars and status bar leave the panel and the scripts about 410; the
    // panel goes down to its minimum and the editor gets what is left.
    const PanelFitInput twice = frameArea(960, 410);
    EXPECT_DOUBLE_EQ(PanelScale(twice), twice.minScale);
    EXPECT_GT(EditorLinesLeft(twice, twice.minScale), EditorLinesLeft(twice, 1.0));
    std::printf("960x410 area: panel at %.2f, %d editor lines (%d at full size)\n", twice.minScale,
                EditorLinesLeft(twice, twice.minScale), EditorLinesLeft(twice, 1.0));

    // Tall enough for twenty lines but not for a panel as high as the editor.
    PanelFitInput tall = frameArea(1920, 500);
    tall.minLines = 5;
    const double half = PanelScale(tall);
    EXPECT_LE(200 * half, 500 - 56 - 200 * half + 1e-9);
    EXPECT_GE(EditorLinesLeft(tall, half) * 15, static_cast<int>(200 * half) - 15);

    // Too small for both: the panel stops at its minimum, the editor gives way.
    const PanelFitInput tiny = frameArea(960, 200);
    EXPECT_DOUBLE_EQ(PanelScale(tiny), 0.4);
    EXPECT_LT(EditorLinesLeft(tiny, 0.4), 20);
}

TEST(PanelFit, LowWindowsPutThePanelBesideTheCommandBar)
{
    // The command bar's row leaves the panel 400 of 960 px; the bar is 60 high.
    auto linesBeside = [](const PanelFitInput &in, const PanelPlace &place, int barHeight) {
        const int growth = std::max(0, static_cast<int>(std::ceil(in.naturalHeight * place.scale)) - barHeight);
        return (in.areaHeight - growth - in.documentChrome) / in.lineHeight;
    };

    // Room for twenty lines under the panel: it stays above the scripts.
    const PanelFitInput roomy = frameArea(1920, 900);
    EXPECT_FALSE(PlacePanel(roomy, 1000, 60).besideCommandBar);

    // 960x540 logical: above the scripts the editor would keep fewer than
    // twenty lines; beside the bar the band grows only as far as they allow.
    const PanelFitInput twice = frameArea(960, 410);
    const PanelPlace place = PlacePanel(twice, 400, 60);
    ASSERT_TRUE(place.besideCommandBar);
    EXPECT_GE(place.scale, 0.25);
    EXPECT_LE(place.scale, 400.0 / 790);
    EXPECT_GE(linesBeside(twice, place, 60), 20);
    EXPECT_GT(linesBeside(twice, place, 60), EditorLinesLeft(twice, PanelScale(twice)));

    // Lower still: the panel stops at its smallest size beside the bar and
    // still leaves more lines than above the scripts.
    const PanelFitInput low = frameArea(960, 300);
    const PanelPlace lowPlace = PlacePanel(low, 400, 30);
    ASSERT_TRUE(lowPlace.besideCommandBar);
    EXPECT_DOUBLE_EQ(lowPlace.scale, 0.25);
    EXPECT_GT(linesBeside(low, lowPlace, 30), EditorLinesLeft(low, PanelScale(low)));

    // No room beside the bar: above the scripts, at the scale that fits there.
    const PanelPlace narrow = PlacePanel(twice, 150, 60);
    EXPECT_FALSE(narrow.besideCommandBar);
    EXPECT_DOUBLE_EQ(narrow.scale, PanelScale(twice));
}
