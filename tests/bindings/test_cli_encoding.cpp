// varkel-cli's commands print script text as UTF-8, read in each script's
// encoding or the one --encoding names, and line tables up by the columns
// the terminal shows. Run as a separate process.
#include "bindingfixture.h"
#include "support/runcli.h"

#include <gtest/gtest.h>
#include <sstream>

using namespace varkel::test;

namespace {

class CliEncoding : public CliScriptTest
{
};

// The terminal column at which `needle` starts in `line`, a UTF-8 line of
// one-column characters.
std::size_t columnOf(const std::string &line, const std::string &needle)
{
    const std::size_t at = line.find(needle);
    if (at == std::string::npos)
        return std::string::npos;
    std::size_t column = 0;
    for (std::size_t i = 0; i < at; ++i)
        column += (static_cast<unsigned char>(line[i]) & 0xC0) != 0x80;
    return column;
}

} // namespace

// Each script of the exec chain is read in its own encoding; --encoding
// overrides them all. Paths stay as given.
TEST_F(CliEncoding, EffectiveBindingsReadEachScriptInItsEncoding)
{
    const std::string start = script("latin.cfg", "bind a \"say caf\xE9\"\nexec utf8\nexec m\xE9nu\n");
    const std::string other = script("utf8.cfg", "bind b \"say \xC3\xA9t\xC3\xA9 \xE2\x82\xAC\"\n");
    CliResult r = runCli({"bindings", "--effective", start});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "bind\ta\t" + start + ":1\tsay caf\xC3\xA9\n"
                     "bind\tb\t" + other + ":1\tsay \xC3\xA9t\xC3\xA9 \xE2\x82\xAC\n"
                     "note\t" + start + ":3\tmissing\tm\xC3\xA9nu\n");
    r = runCli({"bindings", "--effective", "--encoding=latin1", start});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\tsay \xC3\x83\xC2\xA9t\xC3\x83\xC2\xA9 \xC3\xA2\xC2\x82\xC2\xAC\n"), std::string::npos)
        << r.out;
    r = runCli({"bindings", "--effective", "--encoding", "latin1", "-"}, CliIo::withInput("bind c \xC3\xA4\n"));
    EXPECT_EQ(r.out, "bind\tc\t-:1\t\xC3\x83\xC2\xA4\n");
    EXPECT_EQ(runCli({"bindings", "--effective", "--encoding", "utf16", start}).status, 2);
}

// The table's columns line up on the terminal however many bytes a cell's
// characters take, and a path keeps its bytes whatever the script's encoding.
TEST_F(CliEncoding, BindingsTablePadsByColumnsAndKeepsPaths)
{
    const std::string path = script("\xC3\xA4\xC3\xB6\xC3\xBC.cfg", "bind x \"say caf\xC3\xA9\"\nbind mouse1 +attack\n");
    CliResult r = runCli({"bindings", "--data", testData().dir(), "--lines", "--format", "table", path});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string header, line;
    std::getline(lines, header);
    std::getline(lines, header);
    const std::size_t commandColumn = columnOf(header, "Command");
    ASSERT_NE(commandColumn, std::string::npos) << r.out;
    int rows = 0;
    while (std::getline(lines, line) && !line.empty()) {
        EXPECT_EQ(columnOf(line, "\""), commandColumn) << r.out;
        EXPECT_NE(line.find(path + ":"), std::string::npos) << line;
        ++rows;
    }
    EXPECT_EQ(rows, 2);
    EXPECT_NE(r.out.find("\"say caf\xC3\xA9\""), std::string::npos) << r.out;

    const std::string latin = script("\xC3\xA9t\xC3\xA9.cfg", "bind x \"say caf\xE9\"\n");
    r = runCli({"bindings", "--data", testData().dir(), "--lines", latin});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\tOn\t" + latin + ":1\tsay caf\xC3\xA9\n"), std::string::npos) << r.out;
}

// A comment block is built for the script it goes into: a UTF-8 block is
// measured in characters and upper-cases every letter; a Latin-1 one is
// written in Latin-1 bytes and refuses what Latin-1 lacks.
TEST_F(CliEncoding, CommentBlockInEitherEncoding)
{
    const std::string utf8Block = "//**************\n"
                                  "//*    CAF\xC3\x89    *\n"
                                  "//**************\n";
    CliResult r = runCli({"comment-block", "caf\xC3\xA9"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, utf8Block);
    EXPECT_EQ(runCli({"comment-block", "--encoding", "utf8", "caf\xC3\xA9"}).out, utf8Block);
    // A wide border character fills the border whole.
    r = runCli({"comment-block", "--char", "\xE2\x98\x85", "--keep-case", "\xCE\xB1\xCE\xB2"});
    EXPECT_EQ(r.out, "//\xE2\x98\x85\xE2\x98\x85\xE2\x98\x85\xE2\x98\x85\xE2\x98\x85\xE2\x98\x85\xE2\x98\x85"
                     "\xE2\x98\x85\xE2\x98\x85\xE2\x98\x85\xE2\x98\x85\xE2\x98\x85\n"
                     "//\xE2\x98\x85    \xCE\xB1\xCE\xB2    \xE2\x98\x85\n"
                     "//\xE2\x98\x85\xE2\x98\x85\xE2\x98\x85\xE2\x98\x85\xE2\x98\x85\xE2\x98\x85\xE2\x98\x85"
                     "\xE2\x98\x85\xE2\x98\x85\xE2\x98\x85\xE2\x98\x85\xE2\x98\x85\n");

    r = runCli({"comment-block", "--encoding=latin1", "--char", "\xC2\xA4", "caf\xC3\xA9"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "//\xA4\xA4\xA4\xA4\xA4\xA4\xA4\xA4\xA4\xA4\xA4\xA4\xA4\xA4\n"
                     "//\xA4    CAF\xC9    \xA4\n"
                     "//\xA4\xA4\xA4\xA4\xA4\xA4\xA4\xA4\xA4\xA4\xA4\xA4\xA4\xA4\n");
    // Bytes that are not UTF-8 are a Latin-1 script's bytes already.
    EXPECT_EQ(runCli({"comment-block", "caf\xE9"}).out, "//**************\n//*    CAF\xC9    *\n//**************\n");
    r = runCli({"comment-block", "--encoding", "latin1", "5 \xE2\x82\xAC"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.out.empty());
    EXPECT_NE(r.err.find("'\xE2\x82\xAC' cannot be written in Latin-1"), std::string::npos) << r.err;
    EXPECT_EQ(runCli({"comment-block", "--encoding"}).status, 2);
}

// detect quotes a script's words as UTF-8.
TEST_F(CliEncoding, DetectQuotesWordsAsUtf8)
{
    const std::string latin = script("latin.cfg", "seta cg_caf\xE9 1\n");
    CliResult r = runCli({"detect", "--data", testData().dir(), latin});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("(cg_caf\xC3\xA9)"), std::string::npos) << r.out;
    r = runCli({"detect", "--data", testData().dir(), "--encoding", "utf8", latin});
    EXPECT_NE(r.out.find("(cg_caf\xC3\xA9)"), std::string::npos) << r.out;
    const std::string utf8 = script("utf8.cfg", "seta cg_caf\xC3\xA9 1\n");
    r = runCli({"detect", "--data", testData().dir(), "--encoding=latin1", utf8});
    EXPECT_NE(r.out.find("(cg_caf\xC3\x83\xC2\xA9)"), std::string::npos) << r.out;
    EXPECT_EQ(runCli({"detect", "--encoding", "ascii", latin}).status, 2);
}

// Every command that reads or writes script text names --encoding in its
// help; so do the overall usage text and the shell completion.
TEST_F(CliEncoding, HelpTextsNameTheEncodingOption)
{
    for (const char *command : {"highlight", "comment-block", "bindings", "detect", "lint"})
        EXPECT_NE(runCli({command, "--help"}).out.find("--encoding auto|latin1|utf8"), std::string::npos) << command;
    const std::string usage = runCli({"--help"}).out;
    EXPECT_NE(usage.find("bindings --effective [--encoding auto|latin1|utf8] FILE"), std::string::npos);
    EXPECT_NE(usage.find("[--crlf] [--encoding auto|latin1|utf8]"), std::string::npos);
    EXPECT_NE(usage.find("detect [--default Q1|Q2|Q3] [--data DIR] [--encoding auto|latin1|utf8]"),
              std::string::npos);
    const std::string completion = readAll(VARKEL_SOURCE_DIR "/packaging/varkel-cli.bash");
    for (const char *options : {"options=\"--char --size --auto --fixed --center --left --upper --keep-case --crlf "
                                "--encoding --help\"",
                                "options=\"--default --data --encoding --help\"",
                                "options=\"--set --data --names --encoding --help\""})
        EXPECT_NE(completion.find(options), std::string::npos) << options;
}
