// varkel-cli comment-block: prints a framed comment block.
#include "cli/cliutil.h"
#include "cli/commands.h"
#include "language/commentblock.h"

#include <charconv>
#include <optional>
#include <string>

namespace varkel::cli {

namespace {

constexpr const char *kUsage =
    "Usage: varkel-cli comment-block [OPTIONS] TEXT\n"
    "\n"
    "Prints a framed comment block for TEXT, as Insert Comment Block puts it into\n"
    "a script. A TEXT that begins with '-' follows '--'.\n"
    "\n"
    "Options:\n"
    "  --char C          the border character (default *)\n"
    "  --size N          the block's width for --fixed, 0 to 32767 (default 20)\n"
    "  --auto            size the block to the text (default)\n"
    "  --fixed           a block of --size characters\n"
    "  --center          centre the text (default)\n"
    "  --left            put the text at the left\n"
    "  --upper           the text in upper case (default)\n"
    "  --keep-case       the text as given\n"
    "  --crlf            end lines in CR LF instead of LF\n"
    "  --encoding auto|latin1|utf8\n"
    "                    the encoding of the script the block goes into:\n"
    "                    utf8 counts characters by the columns they take and\n"
    "                    upper-cases every letter; latin1 writes the block in\n"
    "                    Latin-1 bytes, TEXT and C read from the terminal's\n"
    "                    UTF-8 (a character Latin-1 lacks is an error); auto\n"
    "                    (default): utf8 when TEXT and C are UTF-8 with a\n"
    "                    non-ASCII character, otherwise their bytes as Latin-1\n"
    "  -h, --help        show this text\n";

} // namespace

int runCommentBlock(const std::vector<std::string_view> &args)
{
    CommentBlockSettings settings = CommentBlockSettings::fromSettings(Settings{}); // the defaults
    std::string_view lineEnd = "\n";
    std::string text;
    bool haveText = false;
    bool optionsEnded = false;
    std::optional<Encoding> encoding;

    for (std::size_t a = 0; a < args.size(); ++a) {
        const std::string_view arg = args[a];
        if (!optionsEnded && isHelpOption(arg))
            return printText(kUsage);
        std::string_view value;
        bool missing = false;
        if (optionsEnded || arg.empty() || arg.front() != '-') {
            if (haveText)
                return usageError("comment-block takes one TEXT (quote a text with spaces)");
            text = arg;
            haveText = true;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--char" || arg == "--size") {
            if (a + 1 >= args.size())
                return usageError("option '" + std::string(arg) + "' needs a value");
            const std::string_view v = args[++a];
            if (arg == "--char") {
                if (v.empty())
                    return usageError("the border character must not be empty");
                settings.CommentChar = v;
            } else {
                int size = 0;
                const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), size);
                if (ec != std::errc() || end != v.data() + v.size() || size < 0 || size > 32767)
                    return usageError("the size must be a whole number from 0 to 32767, not '" +
                                      std::string(v) + "'");
                settings.CommentSize = size;
            }
        } else if (arg == "--auto") {
            settings.CommentAutoSize = true;
        } else if (arg == "--fixed") {
            settings.CommentAutoSize = false;
        } else if (arg == "--center") {
            settings.CommentAlignment = true;
        } else if (arg == "--left") {
            settings.CommentAlignment = false;
        } else if (arg == "--upper") {
            settings.CommentUCase = true;
        } else if (arg == "--keep-case") {
            settings.CommentUCase = false;
        } else if (arg == "--crlf") {
            lineEnd = "\r\n";
        } else if (optionValue(args, a, "--encoding", value, missing)) {
            if (missing || !ParseEncodingOption(value, encoding))
                return usageError("--encoding needs auto, latin1 or utf8");
        } else {
            return usageError("unknown option '" + std::string(arg) + "' for comment-block");
        }
    }
    if (!haveText || text.empty())
        return usageError("comment-block needs a TEXT");

    // The arguments come as the terminal's UTF-8; a Latin-1 block takes
    // their characters as its bytes. Arguments that are not UTF-8 are taken
    // as script bytes already.
    const Encoding blockEncoding = encoding.value_or(DetectEncoding(text + settings.CommentChar));
    if (blockEncoding == Encoding::Latin1 && IsValidUtf8(text) && IsValidUtf8(settings.CommentChar)) {
        std::string refused;
        auto heldText = Utf8ToDocumentBytes(text, Encoding::Latin1, &refused);
        auto heldChar = heldText ? Utf8ToDocumentBytes(settings.CommentChar, Encoding::Latin1, &refused)
                                 : std::nullopt;
        if (!heldText || !heldChar)
            return usageError("'" + refused + "' cannot be written in Latin-1");
        text = std::move(*heldText);
        settings.CommentChar = std::move(*heldChar);
    }
    return printText(BuildCommentBlock(text, settings, lineEnd, blockEncoding));
}

} // namespace varkel::cli
