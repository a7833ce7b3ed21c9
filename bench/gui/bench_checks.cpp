// The cost of checking while typing, in a 1 MB script built from the corpus
// (Quake II and Quake III scripts): one keystroke in the middle of the text
// with the checks and completions off and on (key handling, re-checking the
// changed line, squiggles, completion list, every other part's work on a
// keystroke), and the whole check once typing pauses. Then the same
// keystroke in an editor control alone, with only the checks attached, so
// their own share stands out from the rest of the window's.
//   QT_QPA_PLATFORM=offscreen build/bench_checks

#include "app/gui/fmain.h"
#include "app/mglobal.h"
#include "bindings/gui/scriptchecks.h"
#include "documents/gui/documentarea.h"
#include "documents/gui/prompts.h"
#include "documents/gui/richedit.h"
#include "language/dictionary.h"

#include "benchsupport.h"
#include "gui/benchframe.h"

#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <vector>

using namespace varkel;
using namespace varkel::bench;

namespace {

struct Figures {
    double median = 0, worst = 0;
};

// Types `keys` one after another at the middle of the text, `rounds` times,
// each round undone after it.
Figures Keystrokes(RichEdit *e, const QString &keys, int rounds)
{
    std::vector<double> times;
    for (int r = 0; r < rounds; ++r) {
        e->SetSelStart(e->LineIndex(e->LineCount() / 2));
        for (const QChar c : keys) {
            const int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c == ' ' ? Qt::Key_Space : 0;
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(c));
            QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, QString(c));
            const auto t0 = Clock::now();
            QApplication::sendEvent(e, &press);
            QApplication::sendEvent(e, &release);
            QCoreApplication::processEvents();
            times.push_back(Ms(Clock::now() - t0));
        }
        e->cancelList();
        e->EditUndo();
    }
    return {Median(times), *std::max_element(times.begin(), times.end())};
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    BenchFrame bench;
    fMain &frame = bench.frame;
    frame.show();

    for (const char *game : {"q2", "q3"}) {
        const std::string path = bench.dir.filePath(QStringLiteral("big-%1.cfg").arg(QLatin1String(game))).toStdString();
        std::ofstream(path, std::ios::binary) << ScriptOfSize(CorpusText(game), std::size_t(1) << 20);
        frame.documents().OpenConfig(QString::fromStdString(path));
        RichEdit *e = frame.documents().ActiveEditor();
        ScriptChecks &checks = frame.checks();
        checks.CheckNow(e);
        const std::size_t found = checks.Findings(e).size();

        // A command and its argument typed on a line of its own.
        const QString keys = QStringLiteral("bind x weapon ");
        mGlobal::CheckScripts = mGlobal::OfferCompletions = false;
        checks.ApplySettings();
        const Figures off = Keystrokes(e, keys, 10);
        mGlobal::CheckScripts = true;
        checks.ApplySettings();
        const Figures checking = Keystrokes(e, keys, 10);
        mGlobal::OfferCompletions = true;
        checks.ApplySettings();
        const Figures on = Keystrokes(e, keys, 10);

        std::vector<double> whole;
        for (int r = 0; r < 5; ++r) {
            e->SetSelStart(e->LineIndex(e->LineCount() / 2));
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
            QApplication::sendEvent(e, &press);
            const auto t0 = Clock::now();
            checks.CheckNow(e);
            whole.push_back(Ms(Clock::now() - t0));
            e->EditUndo();
        }
        std::printf("%s 1 MB, %d lines, %zu findings\n", game, e->LineCount(), found);
        std::printf("  one keystroke, checks and completions off: median %.3f ms, worst %.3f ms\n", off.median, off.worst);
        std::printf("  one keystroke, checks on, completions off: median %.3f ms, worst %.3f ms\n", checking.median,
                    checking.worst);
        std::printf("  one keystroke, checks and completions on:  median %.3f ms, worst %.3f ms\n", on.median, on.worst);
        std::printf("  whole check once typing pauses:            median %.2f ms, worst %.2f ms\n", Median(whole),
                    *std::max_element(whole.begin(), whole.end()));
        frame.documents().UnloadDocument(frame.documents().ActiveDoc());
    }

    // The editor control alone, the checks its only listener.
    for (const char *game : {"q2", "q3"}) {
        const std::string set = game == std::string("q2") ? "Q2" : "Q3";
        GameDictionary dict;
        BuildDictionary(dict, mGlobal::AppDir + "/Data", set);
        RichEdit editor;
        editor.resize(800, 600);
        editor.show();
        editor.SetText(ScriptOfSize(CorpusText(game), std::size_t(1) << 20));
        ScriptChecks checks;
        ScriptChecks::Hooks hooks;
        hooks.activeEditor = [&editor] { return &editor; };
        hooks.commandSetOf = [set](RichEdit *) { return set; };
        hooks.dictionaryFor = [&dict](const std::string &) { return &dict; };
        checks.SetHooks(std::move(hooks));
        checks.Attach(&editor);
        const QString keys = QStringLiteral("bind x weapon ");
        mGlobal::CheckScripts = mGlobal::OfferCompletions = false;
        checks.ApplySettings();
        const Figures off = Keystrokes(&editor, keys, 20);
        mGlobal::CheckScripts = true;
        checks.ApplySettings();
        const Figures checking = Keystrokes(&editor, keys, 20);
        mGlobal::OfferCompletions = true;
        checks.ApplySettings();
        const Figures on = Keystrokes(&editor, keys, 20);
        std::printf("%s 1 MB in the editor control alone\n", game);
        std::printf("  one keystroke, checks and completions off: median %.3f ms, worst %.3f ms\n", off.median, off.worst);
        std::printf("  one keystroke, checks on, completions off: median %.3f ms, worst %.3f ms\n", checking.median,
                    checking.worst);
        std::printf("  one keystroke, checks and completions on:  median %.3f ms, worst %.3f ms\n", on.median, on.worst);
    }
    return 0;
}
