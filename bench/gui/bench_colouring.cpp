// Editor costs against loading the same bytes into the editor control, all
// measured in the same run: one whole-text colouring pass over a 1 MB and a
// 10 MB script, reading the bindings of the 1 MB script, and one keystroke in
// the 1 MB script while colouring by character with automatic refresh on (key
// handling, line colouring, binding re-read, panel repaint, command states).
//   QT_QPA_PLATFORM=offscreen build/bench_colouring

#include "app/gui/fmain.h"
#include "bindings/gui/keybindings.h"
#include "documents/gui/documentarea.h"
#include "language/gui/colouring.h"
#include "documents/gui/prompts.h"
#include "app/mglobal.h"
#include "bindings/gui/devicepanel.h"
#include "documents/gui/fedit.h"
#include "documents/gui/richedit.h"

#include "benchsupport.h"
#include "gui/benchframe.h"

#include <QApplication>
#include <QDirIterator>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <vector>

using namespace varkel;
using namespace varkel::bench;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    BenchFrame bench;
    fMain &frame = bench.frame;
    frame.show();

    for (size_t size : {size_t(1) << 20, size_t(10) << 20}) {
        const std::string path = bench.dir.filePath("big.cfg").toStdString();
        std::ofstream(path, std::ios::binary) << ScriptOfSize(CorpusText("q2"), size);
        std::vector<double> load, pass;
        frame.documents().OpenConfig(QString::fromStdString(path));
        RichEdit *e = frame.documents().ActiveEditor();
        for (int r = 0; r < 7; ++r) {
            auto t0 = Clock::now();
            e->LoadFile(path);
            auto t1 = Clock::now();
            frame.colouring().SyntaxHiLiteAll(e);
            auto t2 = Clock::now();
            load.push_back(Ms(t1 - t0));
            pass.push_back(Ms(t2 - t1));
        }
        std::printf("%5zu MB  load into control %8.2f ms | whole colouring pass %8.2f ms | ratio %5.2f\n",
                    size >> 20, Median(load), Median(pass), Median(pass) / Median(load));
        if (size == (size_t(1) << 20)) {
            std::vector<double> scan;
            for (int r = 0; r < 7; ++r) {
                auto t0 = Clock::now();
                frame.bindings().RefreshBindings();
                scan.push_back(Ms(Clock::now() - t0));
            }
            std::printf("       ClearData + GetBindings (RefreshBindings) %8.2f ms | ratio to load %5.2f\n", Median(scan),
                        Median(scan) / Median(load));
            frame.colouring().SetAutoSyntax(1, false);
            e->SetSelStart(e->TextLength() / 2);
            std::vector<double> key;
            for (int r = 0; r < 200; ++r) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
                auto t0 = Clock::now();
                QApplication::sendEvent(e, &press);
                QApplication::sendEvent(e, &release);
                QCoreApplication::processEvents();
                auto t1 = Clock::now();
                key.push_back(Ms(t1 - t0));
            }
            std::printf("       one keystroke (colouring by character, automatic refresh %s): median %.3f ms, worst %.3f ms\n",
                        mGlobal::AutoRefresh ? "on" : "off", Median(key),
                        *std::max_element(key.begin(), key.end()));
            frame.colouring().SetAutoSyntax(2, false);
        }
        frame.documents().UnloadDocument(frame.documents().ActiveDoc());
    }
    return 0;
}
