#pragma once
// The whole window as the program starts it, for the benchmarks of the
// widgets: its settings live in a folder of their own, thrown away after.

#include "app/gui/fmain.h"
#include "app/mglobal.h"
#include "documents/gui/prompts.h"

#include <QTemporaryDir>

#include <memory>

namespace varkel::bench {

struct BenchFrame {
    QTemporaryDir dir;
    // Set before the frame reads them.
    bool settingsPlaced = [this] {
        mGlobal::AppDir = VARKEL_BINARY_DIR;
        mGlobal::IniPath = dir.filePath("Varkel.ini").toStdString();
        return true;
    }();
    fMain frame;

    BenchFrame()
    {
        frame.SetPrompts(std::make_unique<Prompts>());
        frame.MDIForm_Load(QString());
    }
};

} // namespace varkel::bench
