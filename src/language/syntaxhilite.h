#pragma once
// The colouring scan of a script, free of any widget. The scan walks a text
// and reports colouring runs to a style sink in the order in which an editor
// applies them: a later run overwrites an earlier one where they overlap, so
// the colour a byte finally shows is the class of the last run that covered
// it. A whole document, one line while typing and the options preview all
// colour through these functions; the caller turns the runs into styles.

#include "documents/editlog.h"
#include "language/dictionary.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace varkel {

// Receives one colouring run: `length` (always > 0) bytes from control
// position `start` take the colour of keyword class `keywordClass`.
using StyleSink = std::function<void(std::size_t start, std::size_t length, KeywordClass keywordClass)>;

// Keyword class (Command..KeyName) of a word, 0 when the word is no keyword.
// Case-insensitive, like GameDictionary::Lookup.
using KeywordLookup = std::function<int(std::string_view word)>;

// Colours `text`, whose first byte sits at control position `offset`.
// Words are looked up and painted in their class; digits are painted one by
// one as numbers before their word is looked up; "//" up to and including the
// next line feed is a comment; a double-quoted run is a string, painted whole
// or, with colorStringElements, word by word through SyntaxHiLiteSubString.
// Tabs count as spaces. The scan stops early at an unterminated string and at
// a comment with no line feed after it, leaving the rest unpainted.
void SyntaxHiLite(std::string_view text, std::size_t offset, const KeywordLookup &lookup,
                  bool colorStringElements, const StyleSink &sink);
void SyntaxHiLite(std::string_view text, std::size_t offset, const GameDictionary &dictionary,
                  bool colorStringElements, const StyleSink &sink);

// Colours the contents of a string (without its quotes), whose first byte sits
// at control position `offset`: ";" separates words like a space, every word
// is painted whole, a numeric one as a number even when it is a keyword.
void SyntaxHiLiteSubString(std::string_view text, std::size_t offset, const KeywordLookup &lookup,
                           const StyleSink &sink);

// True when `token` reads completely as a decimal number: an optional sign,
// digits with at most one decimal point (at least one digit), and an optional
// exponent ("e" or "E", an optional sign, at least one digit).
bool isNumericToken(std::string_view token);

// The line of `text` that holds position `pos` (a position at the very end
// belongs to the last line): its first byte and its length including its line
// end (CR LF, LF or a lone CR). Costs time in proportion to that line only.
struct LineSpan {
    std::size_t start = 0;
    std::size_t length = 0;
};
LineSpan lineSpanAt(std::string_view text, std::size_t pos);

// The pass run while the user types: colours the line of `documentText` that
// holds `pos` (its text with its line end, at the line's own position), the
// rest of the document untouched. An empty line colours nothing.
void hiLiteLine(std::string_view documentText, std::size_t pos, const GameDictionary &dictionary,
                bool colorStringElements, const StyleSink &sink);

// A sink that paints runs into `classes`, one byte per control position:
// '1'..'8' is the class of the last run over that position. Runs past the end
// of `classes` are cut off.
StyleSink classPainter(std::string &classes);

// The classes every byte of `text` ends with after one whole-text pass on a
// freshly loaded document (offset 0): '0' for a byte that no run covered,
// '1'..'8' for the keyword class of the last run that covered it.
std::string hiLiteClasses(std::string_view text, const KeywordLookup &lookup, bool colorStringElements);
std::string hiLiteClasses(std::string_view text, const GameDictionary &dictionary, bool colorStringElements);

// The classes of hiLiteClasses, handed out a piece at a time: `piece` gets
// the classes of the bytes from `start` on, pieces in order. A piece holds
// whole lines and about pieceSize bytes (more where a string runs across
// lines), so that a big text needs no second buffer of its size.
using ClassesPiece = std::function<void(std::size_t start, std::string_view classes)>;
void hiLiteClassesInPieces(std::string_view text, const GameDictionary &dictionary, bool colorStringElements,
                           std::size_t pieceSize, const ClassesPiece &piece);

// The style every byte of `text` (at control position `offset`) ends with
// after one pass: its keyword class as a byte (1..8), or `untouched` where no
// run covered it. The same pass as SyntaxHiLite, painted straight into one
// buffer for an editor to take in a single call. With lineLocal, tells
// whether each line of the text took colours that depend on that line alone
// (no string runs across a line feed, no unterminated string stops the pass).
std::string hiLiteStyles(std::string_view text, std::size_t offset, const GameDictionary &dictionary,
                         bool colorStringElements, char untouched, bool *lineLocal = nullptr);

// Styles for a stretch of a document, from `start` on.
struct StyledSpan {
    std::size_t start = 0;
    std::string styles;
};

// After the changes `changed` (ranges of today's `text`) to a text whose last
// whole pass was line-local: the styles of the lines that hold the changes,
// which give exactly the styles of a whole pass over `text`. False (and no
// spans) when the changed lines are not line-local any more, so that only a
// whole pass gives the right styles.
bool hiLiteChangedLines(std::string_view text, const std::vector<TextRange> &changed, const GameDictionary &dictionary,
                        bool colorStringElements, char untouched, std::vector<StyledSpan> &spans);

} // namespace varkel
