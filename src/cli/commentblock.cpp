// varkel-cli comment-block: prints a framed comment block.
#include "cli/cliutil.h"
#include "cli/commands.h"
#include "language/commentblock.h"

#include <charconv>
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
    "  -h, --help        show this text\n";

} // namespace

int runCommentBlock(const std::vector<std::string_view> &args)
{
    CommentBlockSettings settings = CommentBlockSettings::fromSettings(Settings{}); // the defaults
    std::string_view lineEnd = "\n";
    std::string text;
    bool haveText = false;
    bool optionsEnded = false;

    for (std::size_t a = 0; a < args.size(); ++a) {
        const std::string_view arg = args[a];
        if (!optionsEnded && isHelpOption(arg))
            return printText(kUsage);
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
        } else {
            return usageError("unknown option '" + std::string(arg) + "' for comment-block");
        }
    }
    if (!haveText || text.empty())
        return usageError("comment-block needs a TEXT");

    return printText(BuildCommentBlock(text, settings, lineEnd));
}

} // namespace varkel::cli
