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

} // namespace varkel
