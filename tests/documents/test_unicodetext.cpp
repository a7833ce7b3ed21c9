#include "documents/unicodetext.h"

#include <gtest/gtest.h>

#include <string>

using namespace varkel;

TEST(UnicodeText, CharactersReadAndWrittenAsUtf8)
{
    // One character of each length, and an ill-formed byte read alone as
    // its Latin-1 character.
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xE9!";
    std::string again;
    std::size_t at = 0;
    for (const char32_t expected : {U'a', U'\u00E9', U'\u20AC', U'\U0001F600', U'\u00E9', U'!'}) {
        ASSERT_LT(at, text.size());
        const char32_t c = NextCharacter(text, at);
        EXPECT_EQ(static_cast<unsigned>(c), static_cast<unsigned>(expected));
        AppendUtf8(again, c);
    }
    EXPECT_EQ(at, text.size());
    EXPECT_EQ(again, "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80\xC3\xA9!");
}

TEST(UnicodeText, DisplayWidthCountsTerminalColumns)
{
    EXPECT_EQ(DisplayWidth(""), 0u);
    EXPECT_EQ(DisplayWidth("bind x"), 6u);
    EXPECT_EQ(DisplayWidth("caf\xC3\xA9 \xE2\x82\xAC"), 6u);           // each character one column
    EXPECT_EQ(DisplayWidth("e\xCC\x81"), 1u);                          // a combining accent takes none
    EXPECT_EQ(DisplayWidth("\xE6\x97\xA5\xE6\x9C\xAC"), 4u);           // East Asian wide: two each
    EXPECT_EQ(DisplayWidth("\xEF\xBC\xA1" "a"), 3u);                   // a fullwidth letter
    EXPECT_EQ(DisplayWidth("\xF0\x9F\x98\x80"), 2u);                   // an emoji
    EXPECT_EQ(DisplayWidth("caf\xE9"), 4u);                            // an ill-formed byte: one
    EXPECT_EQ(DisplayWidth("a\tb\x7F"), 2u);                           // control characters: none
}

TEST(UnicodeText, SimpleCaseMappingBothWays)
{
    // Capital and small letter of each kind of block: Latin-1 Supplement,
    // Latin Extended-A with the capital on even and on odd code points,
    // Greek with its accented letters, Cyrillic's three ranges and pairs.
    const std::pair<char32_t, char32_t> pairs[] = {
        {U'A', U'a'},           {U'\u00C4', U'\u00E4'}, {U'\u00DE', U'\u00FE'}, {U'\u0178', U'\u00FF'},
        {U'\u0100', U'\u0101'}, {U'\u0132', U'\u0133'}, {U'\u0141', U'\u0142'}, {U'\u0150', U'\u0151'},
        {U'\u017D', U'\u017E'}, {U'\u0386', U'\u03AC'}, {U'\u038F', U'\u03CE'}, {U'\u0391', U'\u03B1'},
        {U'\u03A3', U'\u03C3'}, {U'\u03AB', U'\u03CB'}, {U'\u0401', U'\u0451'}, {U'\u042F', U'\u044F'},
        {U'\u0462', U'\u0463'}, {U'\u04C0', U'\u04CF'}, {U'\u04C1', U'\u04C2'}, {U'\u04D0', U'\u04D1'},
    };
    for (const auto &[capital, small] : pairs) {
        EXPECT_EQ(SimpleCaseFold(capital), small) << std::hex << static_cast<unsigned>(capital);
        EXPECT_EQ(SimpleCaseFold(small), small) << std::hex << static_cast<unsigned>(small);
        EXPECT_EQ(SimpleUpperCase(small), capital) << std::hex << static_cast<unsigned>(small);
        EXPECT_EQ(SimpleUpperCase(capital), capital) << std::hex << static_cast<unsigned>(capital);
    }
    // Letters folded to another letter's small form.
    EXPECT_EQ(SimpleCaseFold(U'\u03C2'), char32_t{0x3C3}); // final sigma
    EXPECT_EQ(SimpleCaseFold(U'\u017F'), char32_t{'s'});   // long s
    EXPECT_EQ(SimpleCaseFold(U'\u00B5'), char32_t{0x3BC}); // micro sign
    // Not letters, or letters without a one-character partner.
    for (const char32_t c : {U'1', U'_', U'\u00D7', U'\u00F7', U'\u00DF', U'\u0138', U'\u0149', U'\u20AC'}) {
        EXPECT_EQ(SimpleCaseFold(c), c) << std::hex << static_cast<unsigned>(c);
        EXPECT_EQ(SimpleUpperCase(c), c) << std::hex << static_cast<unsigned>(c);
    }
    EXPECT_EQ(UpperCaseUtf8("stra\xC3\x9F" "e \xC3\xA9t\xC3\xA9 \xCF\x89 \xD1\x8F \xE9"),
              "STRA\xC3\x9F" "E \xC3\x89T\xC3\x89 \xCE\xA9 \xD0\xAF \xE9");
}
