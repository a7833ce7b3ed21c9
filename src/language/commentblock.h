#pragma once
// Framed comment blocks: three script comment lines that title a section of
// a script, e.g.
//   //**************
//   //*    TEXT    *
//   //**************

#include "app/settings.h"
#include "documents/encoding.h"

#include <string>
#include <string_view>

namespace varkel {

// Widest fixed block: sizes are 16-bit numbers.
constexpr int kMaxCommentBlockSize = 32767;

// The layout settings of a block, as their settings keys are named. The
// defaults are those of the settings file.
struct CommentBlockSettings {
    std::string CommentChar = "*"; // the border character
    int CommentSize = 20;          // inner width when not auto-sized
    bool CommentAutoSize = true;   // the width follows the text
    bool CommentAlignment = true;  // centred (false: left)
    bool CommentUCase = true;      // the text is converted to upper case

    static CommentBlockSettings fromSettings(const Settings &settings);
};

// Builds the block for `text`: a border line, the text line and the border
// line again, each "//" + the inner width W of characters + `lineEnd` (pass
// the document's own line end). With CommentUCase the caller's `text` is
// upper-cased in place.
//
// Auto size: W = length + 10, the text with 4 spaces on each side (centred)
// or 1 before and 7 after (left). Fixed size S (taken into 0 ..
// kMaxCommentBlockSize): the text is centred in S,
// (S - length) / 2 rounded half to even giving the left share, or placed
// after one space (left); a text that leaves less than one space on either
// side widens the block to keep one. A border string longer than one
// character fills the border lines with its first character and frames the
// text line with the whole string; an empty one falls back to "*".
//
// `encoding` is that of the text, the border and the block: in UTF-8 the
// length is the columns the text takes on screen (a character one, a wide
// East Asian one two), upper case is made per character and the border's
// first character is its first UTF-8 character; in Latin-1 each byte is a
// character.
std::string BuildCommentBlock(std::string &text, const CommentBlockSettings &settings,
                              std::string_view lineEnd = "\r\n", Encoding encoding = Encoding::Latin1);

} // namespace varkel
