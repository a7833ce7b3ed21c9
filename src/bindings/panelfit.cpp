#include "bindings/panelfit.h"

#include <algorithm>
#include <cmath>

namespace varkel {

double PanelScale(const PanelFitInput &in)
{
    if (in.naturalWidth <= 0 || in.naturalHeight <= 0)
        return 1.0;
    double scale = 1.0;
    if (in.availableWidth > 0)
        scale = std::min(scale, static_cast<double>(in.availableWidth) / in.naturalWidth);
    if (in.areaHeight > 0) {
        const double text = in.areaHeight - std::max(in.documentChrome, 0);
        // The editor keeps at least as much height as the panel takes...
        scale = std::min(scale, text / (2.0 * in.naturalHeight));
        // ...and its minimum number of lines.
        const double lines = std::max(in.minLines, 0) * static_cast<double>(std::max(in.lineHeight, 0));
        scale = std::min(scale, (text - lines) / in.naturalHeight);
    }
    return std::clamp(scale, std::min(in.minScale, 1.0), 1.0);
}

int EditorLinesLeft(const PanelFitInput &in, double scale)
{
    if (in.lineHeight <= 0)
        return 0;
    const int panel = static_cast<int>(std::ceil(in.naturalHeight * scale));
    const int text = in.areaHeight - std::max(in.documentChrome, 0) - panel;
    return std::max(text, 0) / in.lineHeight;
}

PanelPlace PlacePanel(const PanelFitInput &above, int besideWidth, int commandBarHeight, double minBesideScale)
{
    PanelPlace place;
    place.scale = PanelScale(above);
    if (above.naturalWidth <= 0 || above.naturalHeight <= 0 || above.areaHeight <= 0 || above.lineHeight <= 0)
        return place;
    if (EditorLinesLeft(above, place.scale) >= above.minLines)
        return place;
    // The band grows past the bar's height only as far as the editor keeps its lines.
    const double text = above.areaHeight - std::max(above.documentChrome, 0);
    const double slack = text - static_cast<double>(std::max(above.minLines, 0)) * above.lineHeight;
    double scale = std::min(1.0, static_cast<double>(besideWidth) / above.naturalWidth);
    scale = std::min(scale, (std::max(commandBarHeight, 0) + std::max(slack, 0.0)) / above.naturalHeight);
    if (static_cast<double>(besideWidth) / above.naturalWidth < minBesideScale)
        return place; // no room beside the bar: the panel stays above the scripts
    place.besideCommandBar = true;
    place.scale = std::max(scale, minBesideScale);
    return place;
}

} // namespace varkel
