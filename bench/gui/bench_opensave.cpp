// Opening and saving a script through the editor control, against a plain
// read + write of the same bytes in the same run. Prints medians and ratios.
//   QT_QPA_PLATFORM=offscreen build/bench_opensave

#include "documents/gui/richedit.h"

#include "benchsupport.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

using namespace varkel;
using namespace varkel::bench;

namespace {

void run(const char *label, size_t bytes, int reps)
{
    QTemporaryDir dir;
    const std::string src = dir.filePath("src.cfg").toStdString();
    const std::string dst = dir.filePath("dst.cfg").toStdString();
    {
        std::ofstream(src, std::ios::binary) << ScriptOfSize(CorpusText(), bytes);
    }
    std::vector<double> plain, load, save, edit;
    RichEdit editor;
    for (int r = 0; r < reps; ++r) {
        auto t0 = Clock::now();
        {
            std::ifstream in(src, std::ios::binary);
            std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            std::ofstream(dst, std::ios::binary) << data;
        }
        auto t1 = Clock::now();
        plain.push_back(Ms(t1 - t0));

        t0 = Clock::now();
        editor.LoadFile(src);
        t1 = Clock::now();
        load.push_back(Ms(t1 - t0));

        t0 = Clock::now();
        editor.SetSel(editor.TextLength() / 2, 0);
        editor.SetSelText("x");
        t1 = Clock::now();
        edit.push_back(Ms(t1 - t0));

        t0 = Clock::now();
        editor.SaveFile(dst);
        t1 = Clock::now();
        save.push_back(Ms(t1 - t0));
    }
    const double p = Median(plain), l = Median(load), s = Median(save), e = Median(edit);
    std::printf("%-6s plain read+write %8.2f ms | open %8.2f ms  save %8.2f ms  open+save %8.2f ms  ratio %5.2f | one edit %6.3f ms\n",
                label, p, l, s, l + s, (l + s) / p, e);
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    run("1 MB", 1u << 20, 15);
    run("50 MB", 50u << 20, 5);
    return 0;
}
