// Find searches the editor's own buffer: it finds what the control's search
// finds, for any start and end, in either case mode, with Latin-1 bytes in
// the text and in the query, and ASCII queries in UTF-8 text.

#include "documents/gui/richedit.h"

#include <QTest>

#include <random>
#include <string>

using namespace varkel;

namespace {

// The control's own search over [start, end), as Find did it before.
long controlSearch(RichEdit &e, const std::string &what, long start, long end, bool matchCase)
{
    e.SendScintilla(QsciScintillaBase::SCI_SETSEARCHFLAGS,
                    matchCase ? static_cast<unsigned long>(QsciScintillaBase::SCFIND_MATCHCASE) : 0UL);
    e.SendScintilla(QsciScintillaBase::SCI_SETTARGETSTART, static_cast<unsigned long>(start));
    e.SendScintilla(QsciScintillaBase::SCI_SETTARGETEND, static_cast<unsigned long>(end));
    return e.SendScintilla(QsciScintillaBase::SCI_SEARCHINTARGET, static_cast<uintptr_t>(what.size()), what.data());
}

} // namespace

class TestFindInBuffer : public QObject {
    Q_OBJECT
private slots:
    void findsWhatTheControlsSearchFinds()
    {
        RichEdit e;
        std::mt19937 rng(11);
        static const char kBytes[] = "bBiInNdD xXzZ\"+;/\r\n1\xC0\xE0\xC9\xE9\xFF\x80@[`{";
        for (int round = 0; round < 60; ++round) {
            std::string text;
            const int n = 1 + static_cast<int>(rng() % 400);
            for (int i = 0; i < n; ++i)
                text += kBytes[rng() % (sizeof kBytes - 1)];
            e.SetText(text);
            for (int q = 0; q < 40; ++q) {
                std::string what;
                if (rng() % 2) {
                    // A piece of the text, some letters in the other case.
                    const size_t at = rng() % text.size();
                    what = text.substr(at, 1 + rng() % 4);
                    for (char &c : what)
                        if (rng() % 2 && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')))
                            c = static_cast<char>(c ^ 0x20);
                } else {
                    for (int k = 1 + static_cast<int>(rng() % 3); k > 0; --k)
                        what += kBytes[rng() % (sizeof kBytes - 1)];
                }
                const long len = e.TextLength();
                const long start = static_cast<long>(rng() % static_cast<unsigned>(len + 1));
                const long end = rng() % 4 ? -1 : start + static_cast<long>(rng() % static_cast<unsigned>(len - start + 1));
                const bool matchCase = rng() % 3 == 0;
                const long expected = controlSearch(e, what, start, end < 0 ? len : end, matchCase);
                QCOMPARE(e.Find(what, start, end, true, matchCase), expected);
            }
        }
    }

    void findsAsciiInUtf8TextWhatTheControlsSearchFinds()
    {
        RichEdit e;
        e.SetEncoding(Encoding::Utf8);
        std::mt19937 rng(12);
        static const char *const kPieces[] = {"b", "I", "n", "D", " ", "x", "Z", "\"", "\r\n", "\xC3\xA9", "\xC3\x89",
                                              "\xE2\x82\xAC", "\xC3\xA4", "bind", "BIND"};
        static const char kAscii[] = "bBiInNdD xXzZ\"+;";
        for (int round = 0; round < 40; ++round) {
            std::string text;
            for (int n = 1 + static_cast<int>(rng() % 200); n > 0; --n)
                text += kPieces[rng() % std::size(kPieces)];
            e.SetText(text);
            for (int q = 0; q < 40; ++q) {
                std::string what;
                for (int k = 1 + static_cast<int>(rng() % 4); k > 0; --k)
                    what += kAscii[rng() % (sizeof kAscii - 1)];
                const long len = e.TextLength();
                const long start = static_cast<long>(rng() % static_cast<unsigned>(len + 1));
                const bool matchCase = rng() % 3 == 0;
                QCOMPARE(e.Find(what, start, -1, true, matchCase), controlSearch(e, what, start, len, matchCase));
            }
        }
    }
};

QTEST_MAIN(TestFindInBuffer)
#include "tst_findinbuffer.moc"
