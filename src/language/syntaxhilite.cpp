#include "language/syntaxhilite.h"

#include <algorithm>

namespace varkel {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A tab is treated as one space throughout the scan.
bool isSpace(char c)
{
    return c == ' ' || c == '\t';
}

bool isDelimiter(char c)
{
    return isSpace(c) || c == '\r' || c == '\n';
}

// Inside a string, ";" separates words like a space.
bool isSubSpace(char c)
{
    return isSpace(c) || c == ';';
}

bool isSubDelimiter(char c)
{
    return isSubSpace(c) || c == '\r' || c == '\n';
}

// Forwards a run unless it is empty: an empty run changes no colour.
template<typename Sink>
void paint(const Sink &sink, std::size_t start, std::size_t length, KeywordClass keywordClass)
{
    if (length > 0)
        sink(start, length, keywordClass);
}

// Words of a string's contents: every word is painted whole, in the number
// colour when it reads as a number, else in its class or the plain colour.
// After a keyword the scan steps to the next position; after any other word
// it first skips the spaces that follow.
template<typename Lookup, typename Sink>
void scanSubString(std::string_view s, std::size_t offset, const Lookup &lookup, const Sink &sink)
{
    const std::size_t end = s.size();
    std::size_t i = 0;
    std::size_t j = 0; // start of the current word
    while (i <= end) {
        if (i < end && !isSubDelimiter(s[i])) {
            ++i;
            continue;
        }
        const std::string_view token = s.substr(j, i - j);
        const bool numeric = isNumericToken(token);
        if (const int k = lookup(token)) {
            paint(sink, offset + j, token.size(), numeric ? Number : static_cast<KeywordClass>(k));
            j = i + 1;
            i = i + 1;
        } else {
            paint(sink, offset + j, token.size(), numeric ? Number : PlainText);
            j = i + 1;
            while (j < end && isSubSpace(s[j]))
                ++j;
            if (j > i + 1 && j >= end)
                return; // only spaces remain
            i = j;
        }
    }
}

// The whole-text scan. Positions are 0-based text positions; position
// text.size() is the end position, which ends the last token. When lineLocal
// is given, it is cleared if a string runs across a line feed or the scan
// stops at an unterminated string: only then can a line's colours depend on
// another line.
template<typename Lookup, typename Sink>
void scan(std::string_view text, std::size_t offset, const Lookup &lookup, bool colorStringElements,
          const Sink &sink, bool *lineLocal = nullptr)
{
    const std::size_t end = text.size();
    std::size_t i = 0;         // scan position
    std::size_t j = 0;         // start of the current token
    bool skipToken = false;    // the token after a string is not looked up

    while (i <= end) {
        std::size_t next = i + 1;
        const char c = i < end ? text[i] : '\0';

        // Digits take the number colour one by one; the word they belong to
        // may paint over them when it is looked up.
        if (i < end && isDigit(c))
            paint(sink, offset + i, 1, Number);

        if (i < end && c == '"') {
            // String: both quotes plain, the run between them (quotes
            // included) in the string colour. The closing quote is searched
            // from just after the token's start, so a quote inside a word
            // finds itself as its closing quote.
            paint(sink, offset + i, 1, PlainText);
            const std::size_t k = text.find('"', j + 1);
            if (k == std::string_view::npos) {
                if (lineLocal)
                    *lineLocal = false;
                return; // unterminated: the rest of the text stays as it is
            }
            if (lineLocal && k > i && text.substr(i, k - i).find('\n') != std::string_view::npos)
                *lineLocal = false;
            paint(sink, offset + k, 1, PlainText);
            if (!skipToken) {
                if (colorStringElements) {
                    std::size_t first = i;
                    std::size_t last = k + 1;
                    if (first < last && text[first] == '"')
                        ++first;
                    if (first < last && text[last - 1] == '"')
                        --last;
                    if (first < last)
                        scanSubString(text.substr(first, last - first), offset + i + 1, lookup, sink);
                } else {
                    paint(sink, offset + i, k - i + 1, String);
                }
            }
            skipToken = true;
            j = k;
            next = k + 1;
        } else if (i < end && !isDelimiter(c)) {
            // Word character. "//" starts a comment that runs up to and
            // including the next line feed; the line feed then ends the
            // token as a delimiter. The word before a glued "//" is neither
            // looked up nor painted.
            if (c == '/' && i + 1 < end && text[i + 1] == '/') {
                const std::size_t k = text.find('\n', j + 1);
                if (k == std::string_view::npos)
                    return; // no line feed: the comment stays uncoloured
                paint(sink, offset + i, k - i + 1, Comment);
                j = k;
                next = k;
            }
        } else {
            // Delimiter (space, tab, CR, LF or the end): the token j..i-1 ends.
            const std::string_view token = text.substr(j, i - j);
            bool found = false;
            if (skipToken) {
                skipToken = false;
            } else if (const int k = lookup(token)) {
                paint(sink, offset + j, token.size(), static_cast<KeywordClass>(k));
                found = true;
                j = i + 1;
                next = i + 1;
            } else if (!isNumericToken(token)) {
                paint(sink, offset + j, token.size(), PlainText);
            }
            // After anything but a keyword, the spaces that follow are
            // skipped; after a keyword the next position is examined as is.
            if (!found) {
                j = i + 1;
                while (j < end && isSpace(text[j]))
                    ++j;
                if (j > i + 1 && j >= end)
                    return; // only spaces remain
                next = j;
            }
        }
        i = next;
    }
}

auto dictionaryLookup(const GameDictionary &dictionary)
{
    return [&dictionary](std::string_view word) { return dictionary.Lookup(word); };
}

// Paints straight into a class buffer, cutting runs at its end.
// Paints runs into a buffer that holds one byte per position from `offset`
// on: base + the keyword class of the last run over that position.
struct ClassBufferPainter {
    std::string *classes;
    std::size_t offset = 0;
    char base = '0';
    void operator()(std::size_t start, std::size_t length, KeywordClass keywordClass) const
    {
        if (start < offset || start - offset >= classes->size())
            return;
        start -= offset;
        length = std::min(length, classes->size() - start);
        std::fill_n(classes->begin() + static_cast<std::ptrdiff_t>(start), length,
                    static_cast<char>(base + keywordClass));
    }
};

} // namespace

void SyntaxHiLite(std::string_view text, std::size_t offset, const KeywordLookup &lookup,
                  bool colorStringElements, const StyleSink &sink)
{
    scan(text, offset, lookup, colorStringElements, sink);
}

void SyntaxHiLite(std::string_view text, std::size_t offset, const GameDictionary &dictionary,
                  bool colorStringElements, const StyleSink &sink)
{
    scan(text, offset, dictionaryLookup(dictionary), colorStringElements, sink);
}

void SyntaxHiLiteSubString(std::string_view text, std::size_t offset, const KeywordLookup &lookup,
                           const StyleSink &sink)
{
    scanSubString(text, offset, lookup, sink);
}

bool isNumericToken(std::string_view token)
{
    std::size_t p = 0;
    const std::size_t n = token.size();
    if (p < n && (token[p] == '+' || token[p] == '-'))
        ++p;
    std::size_t digits = 0;
    bool point = false;
    for (; p < n; ++p) {
        if (isDigit(token[p]))
            ++digits;
        else if (token[p] == '.' && !point)
            point = true;
        else
            break;
    }
    if (digits == 0)
        return false;
    if (p < n && (token[p] == 'e' || token[p] == 'E')) {
        ++p;
        if (p < n && (token[p] == '+' || token[p] == '-'))
            ++p;
        std::size_t expDigits = 0;
        while (p < n && isDigit(token[p])) {
            ++p;
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    return p == n;
}

LineSpan lineSpanAt(std::string_view text, std::size_t pos)
{
    pos = std::min(pos, text.size());
    // Back to the byte after the previous line end. A CR directly before pos
    // ends the previous line unless it is the CR of a CR LF that pos splits.
    std::size_t start = pos;
    while (start > 0) {
        const char c = text[start - 1];
        if (c == '\n')
            break;
        if (c == '\r' && !(start < text.size() && text[start] == '\n'))
            break;
        --start;
    }
    std::size_t stop = pos;
    // A pos on the LF of a CR LF belongs to the CR's line.
    while (stop < text.size()) {
        const char c = text[stop];
        if (c == '\n') {
            ++stop;
            break;
        }
        if (c == '\r') {
            ++stop;
            if (stop < text.size() && text[stop] == '\n')
                ++stop;
            break;
        }
        ++stop;
    }
    return {start, stop - start};
}

void hiLiteLine(std::string_view documentText, std::size_t pos, const GameDictionary &dictionary,
                bool colorStringElements, const StyleSink &sink)
{
    const LineSpan line = lineSpanAt(documentText, pos);
    if (line.length == 0)
        return;
    scan(documentText.substr(line.start, line.length), line.start, dictionaryLookup(dictionary),
         colorStringElements, sink);
}

StyleSink classPainter(std::string &classes)
{
    return ClassBufferPainter{&classes};
}

std::string hiLiteClasses(std::string_view text, const KeywordLookup &lookup, bool colorStringElements)
{
    std::string classes(text.size(), '0');
    scan(text, 0, lookup, colorStringElements, ClassBufferPainter{&classes});
    return classes;
}

std::string hiLiteClasses(std::string_view text, const GameDictionary &dictionary, bool colorStringElements)
{
    std::string classes(text.size(), '0');
    scan(text, 0, dictionaryLookup(dictionary), colorStringElements, ClassBufferPainter{&classes});
    return classes;
}

void hiLiteClassesInPieces(std::string_view text, const GameDictionary &dictionary, bool colorStringElements,
                           std::size_t pieceSize, const ClassesPiece &piece)
{
    // Pieces end after a line feed. While every piece is line-local, the
    // whole-text scan starts each piece afresh, so a pass over the piece
    // alone gives its classes; once one is not, only the whole rest of the
    // text, scanned at once, gives the right ones.
    const auto lookup = dictionaryLookup(dictionary);
    std::string classes;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.size();
        if (text.size() - start > pieceSize) {
            const std::size_t lf = text.find('\n', start + pieceSize - 1);
            end = lf == std::string_view::npos ? text.size() : lf + 1;
        }
        classes.assign(end - start, '0');
        bool lineLocal = true;
        scan(text.substr(start, end - start), 0, lookup, colorStringElements, ClassBufferPainter{&classes},
             &lineLocal);
        if (!lineLocal && end < text.size()) {
            classes.assign(text.size() - start, '0');
            scan(text.substr(start), 0, lookup, colorStringElements, ClassBufferPainter{&classes});
            end = text.size();
        }
        piece(start, classes);
        start = end;
    }
}

std::string hiLiteStyles(std::string_view text, std::size_t offset, const GameDictionary &dictionary,
                         bool colorStringElements, char untouched, bool *lineLocal)
{
    std::string styles(text.size(), untouched);
    if (lineLocal)
        *lineLocal = true;
    scan(text, offset, dictionaryLookup(dictionary), colorStringElements, ClassBufferPainter{&styles, offset, 0},
         lineLocal);
    return styles;
}

bool hiLiteChangedLines(std::string_view text, const std::vector<TextRange> &changed, const GameDictionary &dictionary,
                        bool colorStringElements, char untouched, std::vector<StyledSpan> &spans)
{
    // Each change grows to whole lines: from the byte after the last line
    // feed before it to the byte after the first line feed behind it. Both
    // line feeds are unchanged bytes, so a whole pass, which starts every
    // line afresh when the text is line-local, reaches both in the same
    // state as before the change; in between, a pass over the lines alone
    // does what the whole pass does as long as it stays line-local itself.
    spans.clear();
    for (const TextRange &r : changed) {
        const TextRange lines = WholeLinesAround(text, r);
        const std::size_t start = lines.start;
        const std::size_t end = lines.end;
        if (!spans.empty() && start <= spans.back().start + spans.back().styles.size()) {
            // Joins the lines of the change before it.
            spans.back().styles.resize(end - spans.back().start);
            continue;
        }
        spans.push_back({start, std::string(end - start, '\0')});
    }
    for (StyledSpan &span : spans) {
        bool lineLocal = true;
        span.styles = hiLiteStyles(text.substr(span.start, span.styles.size()), span.start, dictionary,
                                   colorStringElements, untouched, &lineLocal);
        if (!lineLocal) {
            spans.clear();
            return false;
        }
    }
    return true;
}

} // namespace varkel
