#pragma once
// The tips file and the tip shown at start-up.
//
// The tips file, <program directory>/Data/Tips.dat, holds one tip per line. A
// line ends at CR or at CR LF; a lone LF belongs to the text. Every line is one
// tip, also an empty one; text after the last line end is a last tip.

#include "dialogs/ctips.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace varkel {

// "<appDir>/Data/Tips.dat".
std::string TipsFilePath(const std::string &appDir);

// The lines of a tips file, without their line ends.
std::vector<std::string> SplitTipLines(std::string_view text);

// Adds every line of the file at path to tips; false when it cannot be read.
bool LoadTipsFile(const std::string &path, cTips &tips);

// The start-up tip: only when the tips file exists and mGlobal::ShowTipOday is
// set, reads the file and calls showDialog (the modal tip dialog) with the
// collection; afterwards stores the collection's ShowAtStartup in
// mGlobal::ShowTipOday and writes it to [General] ShowTipOday of iniPath.
// A file without a single line shows nothing. Returns true when the dialog
// was shown.
bool ShowStartupTip(const std::string &appDir, const std::string &iniPath,
                    const std::function<void(cTips &)> &showDialog);

} // namespace varkel
