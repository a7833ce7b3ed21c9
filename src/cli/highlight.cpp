// varkel-cli highlight: colours a script as the editor does on opening it.
#include "cli/cliutil.h"
#include "cli/commands.h"
#include "app/settings.h"
#include "documents/encoding.h"
#include "documents/fileio.h"
#include "language/dictionary.h"
#include "language/gamedetect.h"
#include "language/syntaxhilite.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <optional>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varkel::cli {

namespace {

enum class Format { Classes, Ansi };

constexpr const char *kUsage =
    "Usage: varkel-cli highlight [OPTIONS] FILE\n"
    "\n"
    "Colours FILE as the editor does when it opens it, with the vocabulary of a\n"
    "command set. FILE - reads standard input.\n"
    "\n"
    "Options:\n"
    "  --set Q1|Q2|Q3          command set, in any case (default Q2)\n"
    "  --data DIR              game data folder (default: Data beside the program)\n"
    "  --color-strings         colour the words inside quoted strings\n"
    "  --encoding auto|latin1|utf8\n"
    "                          how FILE's bytes are shown by --format ansi (default\n"
    "                          auto: UTF-8 when they are valid UTF-8 holding a\n"
    "                          non-ASCII byte or start with a byte-order mark,\n"
    "                          Latin-1 otherwise); the terminal gets UTF-8\n"
    "  --format classes|ansi   classes: one character per byte of FILE, then a\n"
    "                          newline: 0 for a byte left uncoloured, else its\n"
    "                          class: 1 plain text, 2 command, 3 cvar, 4 item,\n"
    "                          5 key name, 6 comment, 7 number, 8 string\n"
    "                          ansi: the script in the default colours on the\n"
    "                          terminal's own background (as UTF-8, control\n"
    "                          characters as ^X); plain text without colours\n"
    "                          when NO_COLOR is set or TERM is dumb\n"
    "                          (default: ansi when standard output is a\n"
    "                          terminal, classes otherwise)\n"
    "  -h, --help              show this text\n";

// A 24-bit terminal text colour from a Windows colour value 0x00BBGGRR.
std::string colorEscape(unsigned color)
{
    return "\x1b[38;2;" + std::to_string(color & 0xFF) + ';' + std::to_string((color >> 8) & 0xFF) + ';' +
           std::to_string((color >> 16) & 0xFF) + 'm';
}

// Output gathered in a buffer of fixed size and written whenever it fills,
// so that a big script's output never sits whole in memory.
class BufferedOutput {
public:
    BufferedOutput() : m_buffer(kSize) {}
    void append(const char *bytes, std::size_t n)
    {
        if (m_used + n > m_buffer.size())
            flush();
        if (n > m_buffer.size()) {
            std::cout.write(bytes, static_cast<std::streamsize>(n));
            return;
        }
        std::memcpy(m_buffer.data() + m_used, bytes, n);
        m_used += n;
    }
    void append(std::string_view s) { append(s.data(), s.size()); }
    // Room for at least n more bytes at reserve(n), filled with commit.
    char *reserve(std::size_t n)
    {
        if (m_used + n > m_buffer.size())
            flush();
        return m_buffer.data() + m_used;
    }
    void commit(std::size_t n) { m_used += n; }
    void flush()
    {
        std::cout.write(m_buffer.data(), static_cast<std::streamsize>(m_used));
        m_used = 0;
    }

private:
    static constexpr std::size_t kSize = 1 << 16;
    std::vector<char> m_buffer;
    std::size_t m_used = 0;
};

// How each script byte shows on a UTF-8 terminal: printable Latin-1 as
// UTF-8, control bytes in caret notation (as cat -v shows them) so that
// nothing in a script can drive the terminal. At most four bytes each.
struct VisibleBytes {
    char bytes[256][4];
    unsigned char size[256];
    VisibleBytes()
    {
        for (unsigned c = 0; c < 256; ++c) {
            std::string out;
            if (c == '\t') {
                out += '\t';
            } else if (c < 0x20) {
                out += '^';
                out += static_cast<char>(c + 0x40);
            } else if (c < 0x7F) {
                out += static_cast<char>(c);
            } else if (c == 0x7F) {
                out += "^?";
            } else if (c < 0xA0) {
                out += "M-^";
                out += static_cast<char>(c - 0x80 + 0x40);
            } else {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
            std::memcpy(bytes[c], out.data(), out.size());
            size[c] = static_cast<unsigned char>(out.size());
        }
    }
};

// Writes the script in the default token colours, a piece at a time. The
// background stays the terminal's own, so plain text (and a byte that no run
// coloured, which shows in the plain-text colour as new text does in the
// editor) keeps the terminal's own text colour: black plain text would
// vanish on a dark terminal. Each line end (CR LF, LF or a lone CR) becomes a
// newline with the colour reset before it. Without colour the same text
// comes out plain.
class AnsiWriter {
public:
    AnsiWriter(const Settings &colors, bool color, Encoding encoding)
        : m_color(color)
        , m_utf8(encoding == Encoding::Utf8)
    {
        m_escapes[PlainText] = "\x1b[0m";
        for (int cls = PlainText + 1; cls <= 8; ++cls)
            m_escapes[cls] = colorEscape(colors.SyntaxColors[static_cast<std::size_t>(cls - 1)]);
    }

    // The bytes of `script` from `start` on with their classes; a piece never
    // ends between the CR and the LF of a line end, but may end inside a
    // UTF-8 character, which is written whole with the piece it starts in.
    void write(std::string_view script, std::size_t start, std::string_view classes)
    {
        static const VisibleBytes visible;
        const std::string_view text = script.substr(start, classes.size());
        const std::size_t n = text.size();
        std::size_t i = (std::min)(m_skip, n);
        m_skip -= i;
        for (; i < n; ++i) {
            const char c = text[i];
            if (c == '\r' || c == '\n') {
                if (c == '\r' && i + 1 < n && text[i + 1] == '\n')
                    ++i;
                if (m_current != PlainText)
                    m_out.append(m_escapes[PlainText]);
                m_out.append("\n", 1);
                m_current = PlainText;
                continue;
            }
            const int cls = classes[i] == '0' ? PlainText : classes[i] - '0';
            if (m_color && cls != m_current) {
                m_out.append(m_escapes[cls]);
                m_current = cls;
            }
            if (m_utf8 && static_cast<unsigned char>(c) >= 0x80) {
                // A UTF-8 script's characters go out as they are, but for the
                // C1 controls (U+0080..U+009F), shown like the Latin-1 bytes of
                // the same value. An ill-formed byte shows as its Latin-1
                // character. A character takes the colour of its first byte.
                const std::size_t length = Utf8SequenceLength(script, start + i);
                if (length == 2 && static_cast<unsigned char>(c) == 0xC2 &&
                    static_cast<unsigned char>(script[start + i + 1]) < 0xA0) {
                    const auto b = static_cast<unsigned char>(script[start + i + 1]);
                    m_out.append(visible.bytes[b], visible.size[b]);
                } else if (length > 1) {
                    m_out.append(script.data() + start + i, length);
                } else {
                    const auto b = static_cast<unsigned char>(c);
                    m_out.append(visible.bytes[b], visible.size[b]);
                    continue;
                }
                if (i + length > n)
                    m_skip = i + length - n;
                i += length - 1;
                continue;
            }
            // The run of bytes up to the next change of colour or line end.
            const std::size_t stop = (std::min)(n, i + 4096);
            char *to = m_out.reserve(4 * (stop - i));
            char *p = to;
            std::size_t k = i;
            do {
                const auto b = static_cast<unsigned char>(text[k]);
                std::memcpy(p, visible.bytes[b], 4);
                p += visible.size[b];
                ++k;
            } while (k < stop && classes[k] == classes[i] && text[k] != '\r' && text[k] != '\n' &&
                     !(m_utf8 && static_cast<unsigned char>(text[k]) >= 0x80));
            m_out.commit(static_cast<std::size_t>(p - to));
            i = k - 1;
        }
    }

    // The end of the script, whose last byte is `last`.
    void finish(bool empty, char last)
    {
        if (m_current != PlainText)
            m_out.append(m_escapes[PlainText]);
        if (!empty && last != '\n' && last != '\r')
            m_out.append("\n", 1);
        m_out.flush();
    }

private:
    bool m_color;
    bool m_utf8;
    std::size_t m_skip = 0; // bytes of a character written with the piece before
    std::string m_escapes[9];
    BufferedOutput m_out;
    int m_current = PlainText; // class whose colour is set; plain text: none
};

// A script file mapped into memory rather than copied; standard input and
// anything that cannot be mapped is read as before.
class Input {
public:
    explicit Input(const std::string &file)
    {
        if (file != "-") {
            const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
            struct stat st {};
            if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0) {
                void *p = ::mmap(nullptr, static_cast<std::size_t>(st.st_size), PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
                if (p != MAP_FAILED) {
                    m_map = p;
                    m_size = static_cast<std::size_t>(st.st_size);
                }
            }
            if (fd >= 0)
                ::close(fd);
        }
        if (!m_map)
            m_read = readInput(file);
    }
    ~Input()
    {
        if (m_map)
            ::munmap(m_map, m_size);
    }
    Input(const Input &) = delete;
    Input &operator=(const Input &) = delete;

    const Error &error() const { return m_read.error; }
    std::string_view bytes() const
    {
        return m_map ? std::string_view(static_cast<const char *>(m_map), m_size) : std::string_view(m_read.bytes);
    }

private:
    void *m_map = nullptr;
    std::size_t m_size = 0;
    ReadResult m_read;
};

} // namespace

int runHighlight(const std::vector<std::string_view> &args)
{
    std::string set = "Q2";
    std::string dataDir;
    bool haveDataDir = false;
    bool colorStrings = false;
    Format format = isatty(STDOUT_FILENO) ? Format::Ansi : Format::Classes;
    std::string file;
    bool haveFile = false;
    std::optional<Encoding> encoding;

    bool optionsEnded = false;
    for (std::size_t a = 0; a < args.size(); ++a) {
        const std::string_view arg = args[a];
        if (!optionsEnded && isHelpOption(arg))
            return printText(kUsage);
        if (optionsEnded || arg == "-" || arg.empty() || arg.front() != '-') {
            if (haveFile)
                return usageError("highlight takes one FILE");
            file = arg;
            haveFile = true;
        } else if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--set" || arg == "--data" || arg == "--format" || arg == "--encoding") {
            if (a + 1 >= args.size())
                return usageError("option '" + std::string(arg) + "' needs a value");
            const std::string_view v = args[++a];
            if (arg == "--set") {
                set = commandSetOrAuto(v);
                if (set.empty())
                    return usageError("unknown command set '" + std::string(v) + "' (use Q1, Q2, Q3 or auto)");
            } else if (arg == "--data") {
                dataDir = v;
                haveDataDir = true;
            } else if (arg == "--encoding") {
                if (!ParseEncodingOption(v, encoding))
                    return usageError("unknown encoding '" + std::string(v) + "' (use auto, latin1 or utf8)");
            } else if (v == "classes") {
                format = Format::Classes;
            } else if (v == "ansi") {
                format = Format::Ansi;
            } else {
                return usageError("unknown format '" + std::string(v) + "' (use classes or ansi)");
            }
        } else if (arg == "--color-strings") {
            colorStrings = true;
        } else {
            return usageError("unknown option '" + std::string(arg) + "' for highlight");
        }
    }
    if (!haveFile)
        return usageError("highlight needs a FILE");

    if (!haveDataDir)
        dataDir = programDirectory() + "/Data";
    std::error_code ec;
    if (!std::filesystem::is_directory(dataDir, ec))
        return failure("data folder not found: " + dataDir);

    const Input input(file);
    if (input.error())
        return failure("cannot read " + inputName(file) + ": " + std::string(errorDescription(input.error().code)));
    const std::string_view text = input.bytes();

    if (set == "auto") {
        GameDetector detector;
        if (const Error e = BuildGameDetector(detector, dataDir))
            return failure("cannot read the game data: " + e.description());
        set = detector.Detect(text, "Q2").set;
    }
    GameDictionary dictionary;
    if (const Error e = BuildDictionary(dictionary, dataDir, set))
        return failure("cannot build the " + set + " dictionary: " + e.description());

    // The classes come a piece at a time and go straight out, so that only
    // the script itself is ever held whole.
    constexpr std::size_t kPiece = 1 << 16;
    if (format == Format::Classes) {
        hiLiteClassesInPieces(text, dictionary, colorStrings, kPiece, [](std::size_t, std::string_view classes) {
            std::cout.write(classes.data(), static_cast<std::streamsize>(classes.size()));
        });
        return printText("\n");
    }
    AnsiWriter writer(Settings{}, colorAllowed(), encoding.value_or(DetectEncoding(text)));
    hiLiteClassesInPieces(text, dictionary, colorStrings, kPiece, [&](std::size_t start, std::string_view classes) {
        writer.write(text, start, classes);
    });
    writer.finish(text.empty(), text.empty() ? '\0' : text.back());
    return finishOutput();
}

} // namespace varkel::cli
