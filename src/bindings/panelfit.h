#pragma once
// How large the device panel is drawn: a scale of its designed size, chosen
// from the room the window gives it and what the script windows need.
//
// The panel sits above the script windows and shares their height with them.
// Its scale is the largest one at which it
//   - fits the width available (its proportions are kept),
//   - takes no more than its designed size,
//   - leaves the script editor at least as many lines as the panel is high,
//   - leaves the script editor at least minLines lines,
// but never below minScale: a panel that small stays readable, and the editor
// gives up lines instead.

namespace varkel {

struct PanelFitInput {
    int naturalWidth = 0;   // the panel at its designed size, in pixels
    int naturalHeight = 0;
    int availableWidth = 0; // the width of the area the panel spans
    int areaHeight = 0;     // the height the panel and the script windows share
    int documentChrome = 0; // what the script windows take besides text lines (tabs, title bar, frame)
    int lineHeight = 0;     // one editor line
    int minLines = 20;
    double minScale = 0.4;
};

double PanelScale(const PanelFitInput &in);

// The editor lines left under a panel drawn at the given scale.
int EditorLinesLeft(const PanelFitInput &in, double scale);

// In a low window the panel may move up beside the command bar, where it
// shares the bar's height instead of taking its own. It goes there only
// when above the script windows it would leave the editor fewer than
// minLines lines, and the room beside the bar takes it at no less than
// minBesideScale. Beside the bar it is drawn as large as the width allows
// and as far as the band may grow without costing the editor its lines,
// never below minBesideScale.
struct PanelPlace {
    bool besideCommandBar = false;
    double scale = 1.0; // the scale beside the bar; above, PanelScale decides
};

// `above` describes the panel above the script windows (its areaHeight is
// the height they would share with it there); besideWidth is the width the
// command bar's row leaves it, commandBarHeight the bar's own height.
PanelPlace PlacePanel(const PanelFitInput &above, int besideWidth, int commandBarHeight, double minBesideScale = 0.25);

} // namespace varkel
