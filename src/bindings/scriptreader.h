#pragma once
// Reading a script as the game reads it, command by command.
//
// Lines end at a line feed, a carriage return + line feed or a lone carriage
// return. A line is cut into commands at every ";" outside double quotes, and
// "//" outside double quotes ends it. A command is cut into words at blanks
// (every byte up to and including the space). A double quote starts a quoted
// word wherever it stands, ending the word before it; the run up to the next
// double quote is one word without its quotes, and a quote never closed runs
// to the end of the line. Text right after a closing quote starts a new word.
//
// Every word is a run of the script's own bytes, so the reader copies nothing:
// words are views into the text, with their byte offsets.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace varkel {

struct ScriptWord {
    std::string_view text; // the word, without its quotes
    std::size_t start = 0; // byte offset of its first byte (the opening quote of a quoted word)
    std::size_t end = 0;   // byte offset just past its last byte (past the closing quote)
    bool quoted = false;   // it began with a double quote
    bool closed = true;    // false for a quoted word whose quote is never closed
};

struct ScriptCommand {
    int line = 0;               // 0-based line of the command
    std::size_t lineStart = 0;  // byte offset where that line begins
    std::size_t start = 0;      // byte offset of the first word
    std::size_t end = 0;        // byte offset just past the last word
    std::size_t comment = std::string_view::npos; // byte offset of a "//" that ends the line right after this command
    std::vector<ScriptWord> words; // at least one

    // The word's text, or empty past the last word.
    std::string_view word(std::size_t i) const { return i < words.size() ? words[i].text : std::string_view(); }
    // Whether the first word is `name` (lower case), compared without regard to case.
    bool is(std::string_view name) const;
};

// Reads the commands of one script in order. Commands with no word (empty
// lines, comment lines, ";;") are skipped. Linear in the length of the text.
class ScriptReader
{
public:
    explicit ScriptReader(std::string_view text) : m_text(text) {}

    // Fills `command` with the next command and returns true, or returns
    // false at the end of the script. The command's vector keeps its storage
    // from one call to the next.
    bool next(ScriptCommand &command);

    std::string_view text() const { return m_text; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;       // where reading goes on
    int m_line = 0;              // line of m_pos
    std::size_t m_lineStart = 0; // where that line begins
};

// A blank between words: any byte up to and including the space. (Carriage
// return and line feed are blanks too, but they end the line first.)
inline bool IsScriptBlank(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

// `a` and `b` are equal when ASCII letters are compared without regard to case.
bool EqualsNoCase(std::string_view a, std::string_view b);

// `text` with ASCII capitals made small, into `out` (its storage reused).
void AsciiLower(std::string_view text, std::string &out);

} // namespace varkel
