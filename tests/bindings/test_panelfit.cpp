#include "bindings/panelfit.h"

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
