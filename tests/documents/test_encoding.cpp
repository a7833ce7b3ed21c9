#include "documents/encoding.h"

#include <gtest/gtest.h>

#include <string>

using namespace varkel;
using namespace std::string_literals;

namespace {

TEST(Encoding, DetectsUtf8OnlyFromValidNonAsciiTextOrABom)
{
    // Pure ASCII (and the empty file) stays 8-bit, as before.
    EXPECT_EQ(DetectEncoding(""), Encoding::Latin1);
    EXPECT_EQ(DetectEncoding("bind x \"say hi\"\r\n"), Encoding::Latin1);
    // Valid UTF-8 with a non-ASCII character.
    EXPECT_EQ(DetectEncoding("say \xC3\xA9t\xC3\xA9\n"), Encoding::Utf8);
    EXPECT_EQ(DetectEncoding("name \xE2\x82\xAC\xF0\x9F\x98\x80"), Encoding::Utf8);
    // Latin-1 text is not valid UTF-8.
    EXPECT_EQ(DetectEncoding("say \xE9t\xE9\n"), Encoding::Latin1);
    EXPECT_EQ(DetectEncoding("a\xC3"), Encoding::Latin1); // cut short at the end
    // A byte-order mark says UTF-8 even over ASCII, nothing, or invalid bytes.
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF"), Encoding::Utf8);
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF" "bind x y"), Encoding::Utf8);
    EXPECT_EQ(DetectEncoding("\xEF\xBB\xBF" "caf\xE9"), Encoding::Utf8);
    // A BOM that is not at the start is only text.
    EXPECT_EQ(DetectEncoding("x\xEF\xBB\xBF"), Encoding::Utf8);
    EXPECT_EQ(DetectEncoding("x\xEF\xBB"), Encoding::Latin1);
}

TEST(Encoding, ValidUtf8RejectsOverlongsSurrogatesAndOutOfRange)
{
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"));
    EXPECT_TRUE(IsValidUtf8("nul\0byte"s));
    for (const std::string bad : {"\x80", "\xBF", "\xC0\x80", "\xC1\xBF", "\xE0\x80\x80", "\xE0\x9F\xBF", "\xED\xA0\x80",
                                  "\xED\xBF\xBF", "\xF0\x80\x80\x80", "\xF0\x8F\xBF\xBF", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80",
                                  "\xFF", "\xFE", "\xC3", "\xE2\x82", "\xF0\x9F\x98", "\xC3\x28", "\xE2\x28\xA1"})
        EXPECT_FALSE(IsValidUtf8(bad)) << testing::PrintToString(bad);
    EXPECT_EQ(Utf8SequenceLength("a\xE2\x82\xAC", 1), 3u);
    EXPECT_EQ(Utf8SequenceLength("a\xE2\x82\xAC", 2), 0u);
    EXPECT_EQ(Utf8SequenceLength("a", 1), 0u);
}

TEST(Encoding, DocumentBytesBecomeUtf8TextWithoutLosingAByte)
{
    EXPECT_EQ(DocumentBytesToUtf8("caf\xE9 \xA4", Encoding::Latin1), "caf\xC3\xA9 \xC2\xA4");
    EXPECT_EQ(DocumentBytesToUtf8("caf\xC3\xA9", Encoding::Latin1), "caf\xC3\x83\xC2\xA9");
    EXPECT_EQ(DocumentBytesToUtf8("caf\xC3\xA9 \xE2\x82\xAC", Encoding::Utf8), "caf\xC3\xA9 \xE2\x82\xAC");
    // An ill-formed byte in a UTF-8 document reads as its Latin-1 character.
    EXPECT_EQ(DocumentBytesToUtf8("\xEF\xBB\xBF" "a\xE9" "b\xE2\x82", Encoding::Utf8),
              "\xEF\xBB\xBF" "a\xC3\xA9" "b\xC3\xA2\xC2\x82");
    EXPECT_EQ(DocumentBytesToUtf8("a\0b"s, Encoding::Utf8), "a\0b"s);

    // Every Latin-1 byte goes to UTF-8 and back unchanged.
    std::string all;
    for (int b = 0; b < 256; ++b)
        all += static_cast<char>(b);
    const std::string text = DocumentBytesToUtf8(all, Encoding::Latin1);
    EXPECT_TRUE(IsValidUtf8(text));
    EXPECT_EQ(Utf8ToDocumentBytes(text, Encoding::Latin1), all);
}

TEST(Encoding, TextALatin1DocumentCannotHoldIsRefused)
{
    EXPECT_EQ(Utf8ToDocumentBytes("bind x \"say \xC3\xA9\xC3\xBF\"", Encoding::Latin1), "bind x \"say \xE9\xFF\"");
    std::string refused;
    EXPECT_EQ(Utf8ToDocumentBytes("a\xC3\xA9\xE2\x82\xAC\xC5\x93", Encoding::Latin1, &refused), std::nullopt);
    EXPECT_EQ(refused, "\xE2\x82\xAC");
    EXPECT_EQ(Utf8ToDocumentBytes("\xC4\x80", Encoding::Latin1, &refused), std::nullopt);
    EXPECT_EQ(refused, "\xC4\x80");
    EXPECT_EQ(Utf8ToDocumentBytes("\xF0\x9F\x98\x80", Encoding::Latin1), std::nullopt);
    // A UTF-8 document holds any character as it is.
    EXPECT_EQ(Utf8ToDocumentBytes("\xE2\x82\xAC\xF0\x9F\x98\x80", Encoding::Utf8), "\xE2\x82\xAC\xF0\x9F\x98\x80");
}

TEST(Encoding, NamesAndOptionValues)
{
    EXPECT_EQ(EncodingName(Encoding::Utf8), "UTF-8");
    EXPECT_EQ(EncodingName(Encoding::Latin1), "Latin-1");
    std::optional<Encoding> chosen = Encoding::Utf8;
    EXPECT_TRUE(ParseEncodingOption("auto", chosen));
    EXPECT_EQ(chosen, std::nullopt);
    EXPECT_TRUE(ParseEncodingOption("Latin1", chosen));
    EXPECT_EQ(chosen, Encoding::Latin1);
    EXPECT_TRUE(ParseEncodingOption("UTF8", chosen));
    EXPECT_EQ(chosen, Encoding::Utf8);
    EXPECT_FALSE(ParseEncodingOption("utf-16", chosen));
    EXPECT_FALSE(ParseEncodingOption("", chosen));
    EXPECT_EQ(chosen, Encoding::Utf8);
}

} // namespace
