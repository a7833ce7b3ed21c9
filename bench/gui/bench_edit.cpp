// What single edits and whole-text commands cost in a big script, with
// colouring by character, automatic refresh and conflicts over all scripts
// on: for a 1 MB and a 10 MB script built from the corpus, the median and
// worst CPU time of each operation, and its ratio to what the editor control
// alone (a second control with nothing attached) spends on the same change.
// Find's baseline is a memmem over the same bytes, and the whole-text
// commands (open, syntax refresh, command-set switch) are set against the
// control's own load of the same bytes. One line per figure:
//   <size> <operation>: median <ms> ms, worst <ms> ms, ratio <r>
// A last part types at the end of a 1 MB line, the slowest case of the
// control's layout.
//   QT_QPA_PLATFORM=offscreen build/bench_edit [--quick] [--keys] [--open]
// --quick measures the 1 MB script only; --keys only the typed keys (a
// keystroke, Enter, Backspace) with their Undo and Redo; --open only the
// open.

#include "app/gui/fmain.h"
#include "app/mglobal.h"
#include "bindings/gui/keybindings.h"
#include "bindings/gui/scriptchecks.h"
#include "commands/gui/menucommands.h"
#include "commands/gui/replacedialog.h"
#include "documents/gui/documentarea.h"
#include "documents/gui/prompts.h"
#include "documents/gui/richedit.h"
#include "language/gui/colouring.h"

#include "benchsupport.h"
#include "gui/benchframe.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <vector>

using namespace varkel;
using namespace varkel::bench;

namespace {

// CPU time of the whole process, so that other work on the machine weighs
// less than it does on the wall clock.
double CpuMs()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) * 1e3 + double(ts.tv_nsec) / 1e6;
}

struct Figures {
    std::vector<double> times;
    std::vector<double> base;
};

std::map<std::string, Figures> g_figures;
volatile std::uintptr_t g_sink; // keeps the results of the baselines alive
std::vector<std::string> g_order;

void Record(const std::string &name, double ms, double baseMs)
{
    if (!g_figures.count(name))
        g_order.push_back(name);
    g_figures[name].times.push_back(ms);
    g_figures[name].base.push_back(baseMs);
}

void PrintFigures(const char *size)
{
    for (const std::string &name : g_order) {
        const Figures &f = g_figures[name];
        const double median = Median(f.times);
        const double worst = *std::max_element(f.times.begin(), f.times.end());
        const double base = Median(f.base);
        std::printf("%s %s: median %.1f ms, worst %.1f ms, ratio %.1f\n", size, name.c_str(), median, worst,
                    base > 0 ? median / base : 0.0);
    }
    std::fflush(stdout);
    g_figures.clear();
    g_order.clear();
}

// Runs f and returns its CPU time, the events it posted handled.
double Timed(const std::function<void()> &f)
{
    QCoreApplication::processEvents();
    const double t0 = CpuMs();
    f();
    QCoreApplication::processEvents();
    return CpuMs() - t0;
}

// Lets the work a command leaves for the pause after it (the checks wait
// 300 ms) run before the next command is measured, not within it.
void Settle()
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 400)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

void SendKey(RichEdit *e, int key, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(e, &press);
    QApplication::sendEvent(e, &release);
}

// A word of at least six letters that the seed holds exactly once (in any
// case), so that a script made of copies of the seed holds it rarely.
std::string RareWord(const std::string &seed)
{
    std::map<std::string, int> count;
    std::vector<std::string> order;
    for (size_t i = 0; i < seed.size();) {
        if (!std::isalpha(static_cast<unsigned char>(seed[i]))) {
            ++i;
            continue;
        }
        size_t j = i;
        while (j < seed.size() && std::isalpha(static_cast<unsigned char>(seed[j])))
            ++j;
        std::string w = seed.substr(i, j - i);
        for (char &c : w)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (w.size() >= 6 && count[w]++ == 0)
            order.push_back(w);
        i = j;
    }
    for (const std::string &w : order)
        if (count[w] == 1)
            return w;
    return "rarely";
}

std::string Lines(const std::string &text, long from, int n)
{
    size_t p = static_cast<size_t>(from);
    for (int k = 0; k < n && p < text.size(); ++k) {
        p = text.find('\n', p);
        p = p == std::string::npos ? text.size() : p + 1;
    }
    return text.substr(static_cast<size_t>(from), p - static_cast<size_t>(from));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    bool quick = false;
    bool keysOnly = false;
    bool openOnly = false;
    for (int a = 1; a < argc; ++a) {
        quick = quick || std::strcmp(argv[a], "--quick") == 0;
        keysOnly = keysOnly || std::strcmp(argv[a], "--keys") == 0;
        openOnly = openOnly || std::strcmp(argv[a], "--open") == 0;
    }
    BenchFrame bench;
    fMain &frame = bench.frame;
    frame.resize(1000, 700);
    frame.show();
    frame.colouring().SetAutoSyntax(1, false);
    mGlobal::AutoRefresh = true;
    mGlobal::ConflictType = 1;
    frame.bindings().SetConflictState();

    // The same control with nothing attached, the same size on screen.
    RichEdit bare;
    bare.resize(900, 600);
    bare.show();

    const std::string seed = CorpusText("q2");
    const std::string rare = RareWord(seed);
    const std::string absent = "zqxjvkw";
    const std::vector<size_t> sizes = quick ? std::vector<size_t>{size_t(1) << 20}
                                            : std::vector<size_t>{size_t(1) << 20, size_t(10) << 20};
    for (size_t size : sizes) {
        const int reps = size > (size_t(1) << 20) ? 5 : 9;
        const std::string text = ScriptOfSize(seed, size);
        const std::string path = bench.dir.filePath("big.cfg").toStdString();
        std::ofstream(path, std::ios::binary) << text;
        const char *label = size > (size_t(1) << 20) ? "10MB" : "1MB";

        // Open: the whole start of a document against the control's load.
        for (int r = 0; r < std::max(3, reps / 2); ++r) {
            const double open = Timed([&] { frame.documents().OpenConfig(path); });
            // What colouring leaves for idle time after the first frame.
            const double idle0 = CpuMs();
            frame.colouring().FinishPendingHiLite();
            const double idle = CpuMs() - idle0;
            // The whole check of the script, which waits for a pause.
            const double check0 = CpuMs();
            frame.checks().CheckNow(frame.documents().ActiveEditor());
            const double check = CpuMs() - check0;
            // A fresh control, as the document's editor is: a control that
            // loaded before reuses its buffers and is spared their first
            // touch.
            RichEdit fresh;
            fresh.resize(900, 600);
            fresh.show();
            QCoreApplication::processEvents();
            const double load = Timed([&] { fresh.LoadFile(path); });
            Record("open", open, load);
            Record("open-idle-colouring", idle, load);
            Record("open-whole-check", check, load);
            if (r + 1 < std::max(3, reps / 2))
                frame.documents().UnloadDocument(frame.documents().ActiveDoc());
        }
        if (openOnly) {
            PrintFigures(label);
            frame.documents().UnloadDocument(frame.documents().ActiveDoc());
            continue;
        }
        RichEdit *e = frame.documents().ActiveEditor();
        // The key handlers run only for the editor that has the focus.
        QApplication::setActiveWindow(&frame);
        e->setFocus();
        QCoreApplication::processEvents();
        if (!e->hasFocus())
            std::printf("warning: the editor has no focus, so the key handlers do not run\n");
        bare.LoadFile(path);
        const double loadMs = Median(g_figures["open"].base);

        // Each single edit in the frame and in the bare control, then its
        // Undo and Redo; a last Undo (control only) puts the text back.
        const long middle = e->LineIndex(e->LineCount() / 2);
        const std::string oneLine = Lines(text, middle, 1);
        const std::string thousand = Lines(text, middle, 1000);
        struct Edit {
            std::string name;
            std::function<void(RichEdit *, bool inFrame)> run;
        };
        DocumentArea &docs = frame.documents();
        const auto paste = [&](RichEdit *c, bool inFrame, const std::string &bytes) {
            QApplication::clipboard()->setText(QString::fromLatin1(bytes.data(), qsizetype(bytes.size())));
            if (inFrame)
                docs.EditPaste();
            else
                c->SetSelText(bytes);
        };
        const std::vector<Edit> edits = {
            {"keystroke", [](RichEdit *c, bool) { SendKey(c, Qt::Key_X, QStringLiteral("x")); }},
            {"enter", [](RichEdit *c, bool) { SendKey(c, Qt::Key_Return, QStringLiteral("\r")); }},
            {"backspace", [](RichEdit *c, bool) { SendKey(c, Qt::Key_Backspace, QString()); }},
            {"paste-line", [&](RichEdit *c, bool f) { paste(c, f, oneLine); }},
            {"paste-1000-lines", [&](RichEdit *c, bool f) { paste(c, f, thousand); }},
            {"cut-line", [&](RichEdit *c, bool f) {
                 c->SetSel(c->SelStart(), c->LineIndex(c->GetLineFromChar(c->SelStart()) + 1) - c->SelStart());
                 if (f)
                     docs.EditCut();
                 else
                     c->SetSelText("");
             }},
            {"delete", [&](RichEdit *c, bool f) {
                 c->SetSel(c->SelStart(), 12);
                 if (f)
                     docs.EditDelete();
                 else
                     c->SetSelText("");
             }},
        };
        for (const Edit &edit : edits) {
            if (keysOnly && edit.name != "keystroke" && edit.name != "enter" && edit.name != "backspace")
                continue;
            for (int r = 0; r < reps; ++r) {
                // A line start a little further on each time.
                const long at = e->LineIndex(e->LineCount() / 2 + r * 7);
                e->SetSelStart(at);
                bare.SetSelStart(at);
                const double t = Timed([&] { edit.run(e, true); });
                const double b = Timed([&] { edit.run(&bare, false); });
                Record(edit.name, t, b);
                const double u = Timed([&] { docs.EditUndo(); });
                const double ub = Timed([&] { bare.EditUndo(); });
                Record("undo-" + edit.name, u, ub);
                const double d = Timed([&] { docs.EditRedo(); });
                const double db = Timed([&] { bare.EditRedo(); });
                Record("redo-" + edit.name, d, db);
                e->EditUndo();
                bare.EditUndo();
            }
        }
        QCoreApplication::processEvents();
        if (keysOnly) {
            PrintFigures(label);
            docs.UnloadDocument(docs.ActiveDoc());
            continue;
        }

        // Find: no hit from the top, and Find Next of the selected word.
        const std::string_view all = e->TextView();
        for (int r = 0; r < reps; ++r) {
            mGlobal::LastSearchText = absent;
            e->SetSelStart(0);
            const double t = Timed([&] { frame.commands().FindNext(); });
            const double t0 = CpuMs();
            g_sink = g_sink + reinterpret_cast<std::uintptr_t>(memmem(all.data(), all.size(), absent.data(), absent.size()));
            const double m = CpuMs() - t0;
            Record("find-no-hit", t, m);
        }
        e->SetSelStart(middle);
        e->Find("bind", middle);
        for (int r = 0; r < reps; ++r) {
            const long from = e->SelStart();
            const double t = Timed([&] { frame.commands().FindNext(); });
            const long to = e->SelStart();
            const double t0 = CpuMs();
            const std::string_view rest = e->TextView().substr(static_cast<size_t>(from + 1));
            g_sink = g_sink + reinterpret_cast<std::uintptr_t>(memmem(rest.data(), rest.size(), "bind", 4));
            const double m = CpuMs() - t0;
            (void)to;
            Record("find-next", t, m);
        }

        // Replace All of a rare word, undone each time.
        frame.commands().ShowReplaceDialog();
        frame.commands().replaceDialog()->setFindText(QString::fromStdString(rare));
        frame.commands().replaceDialog()->setReplaceText(QString::fromStdString(rare + "x"));
        frame.commands().replaceDialog()->hide();
        for (int r = 0; r < reps; ++r) {
            const double t = Timed([&] { frame.commands().ReplaceAll(); });
            const double b = Timed([&] {
                bare.SendScintilla(QsciScintillaBase::SCI_BEGINUNDOACTION);
                for (long p = 0; (p = bare.Find(rare, p)) >= 0;) {
                    bare.SetSelText(rare + "x");
                    p += static_cast<long>(rare.size()) + 1;
                }
                bare.SendScintilla(QsciScintillaBase::SCI_ENDUNDOACTION);
            });
            Record("replace-all", t, b);
            e->EditUndo();
            bare.EditUndo();
        }
        QCoreApplication::processEvents();

        // Whole-text commands against the control's load of the same bytes.
        // The whole check a switch leaves for the pause after it runs
        // before the next command is measured, not within it.
        for (int r = 0; r < reps; ++r) {
            frame.checks().CheckNow(e);
            Settle();
            Record("command-set-switch", Timed([&] { frame.colouring().SwitchCommandSet(r % 2 ? "Q2" : "Q3"); }),
                   loadMs);
        }
        frame.colouring().SwitchCommandSet("Q2");
        for (int r = 0; r < reps; ++r) {
            frame.checks().CheckNow(e);
            Settle();
            Record("syntax-refresh", Timed([&] { frame.Dispatch("cmnuSyntaxRefresh"); }), loadMs);
        }
        PrintFigures(label);
        docs.UnloadDocument(docs.ActiveDoc());
    }

    // Typing at the end of a 1 MB line: the control lays the line out again.
    if (!keysOnly && !openOnly) {
        std::string line;
        while (line.size() < (size_t(1) << 20))
            line += "bind x \"+attack\"; ";
        line += "\r\n";
        const std::string path = bench.dir.filePath("long.cfg").toStdString();
        std::ofstream(path, std::ios::binary) << line;
        frame.documents().OpenConfig(path);
        RichEdit *e = frame.documents().ActiveEditor();
        QApplication::setActiveWindow(&frame);
        e->setFocus();
        bare.LoadFile(path);
        const long end = e->LineLength(0);
        e->SetSelStart(end);
        bare.SetSelStart(end);
        e->ensureCursorVisible();
        bare.ensureCursorVisible();
        QCoreApplication::processEvents();
        for (int r = 0; r < 5; ++r) {
            const double t = Timed([&] { SendKey(e, Qt::Key_X, QStringLiteral("x")); e->repaint(); });
            const double b = Timed([&] { SendKey(&bare, Qt::Key_X, QStringLiteral("x")); bare.repaint(); });
            Record("keystroke-long-line", t, b);
        }
        // What the control's own caches and wrapping give, each tried alone
        // on the document's editor (the ratio is to its settings without).
        struct Setting {
            const char *name;
            std::function<void(RichEdit &, bool on)> apply;
        };
        const std::vector<Setting> settings = {
            {"layout-cache-document", [](RichEdit &c, bool on) {
                 c.SendScintilla(QsciScintillaBase::SCI_SETLAYOUTCACHE, on ? 3UL : 1UL);
             }},
            {"position-cache-65536", [](RichEdit &c, bool on) {
                 c.SendScintilla(QsciScintillaBase::SCI_SETPOSITIONCACHE, on ? 65536UL : 1024UL);
             }},
            {"wrap-word", [](RichEdit &c, bool on) {
                 c.SendScintilla(QsciScintillaBase::SCI_SETWRAPMODE, on ? 1UL : 0UL);
             }},
            {"no-scroll-width-tracking", [](RichEdit &c, bool on) {
                 c.SendScintilla(QsciScintillaBase::SCI_SETSCROLLWIDTHTRACKING, on ? 0UL : 1UL);
             }},
        };
        for (const Setting &setting : settings) {
            std::vector<double> plain;
            for (int r = 0; r < 5; ++r)
                plain.push_back(Timed([&] { SendKey(e, Qt::Key_X, QStringLiteral("x")); e->repaint(); }));
            setting.apply(*e, true);
            QCoreApplication::processEvents();
            for (int r = 0; r < 5; ++r)
                Record(std::string("keystroke-long-line-") + setting.name,
                       Timed([&] { SendKey(e, Qt::Key_X, QStringLiteral("x")); e->repaint(); }), Median(plain));
            setting.apply(*e, false);
        }
        PrintFigures("1MB");
    }
    return 0;
}
