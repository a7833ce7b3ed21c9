// The options dialog's widget-free rules: which colour rows are enabled, and
// what the block size and block character boxes do with a typed key.

#include "dialogs/optionrules.h"

#include <gtest/gtest.h>

using namespace varkel;

TEST(SyntaxPageRules, NoColouringLeavesOnlyPlainTextEnabled)
{
    for (bool colorString : {false, true}) {
        const SyntaxPageEnables e = SyntaxPageRules(0, colorString);
        EXPECT_TRUE(e.rowEnabled[0]);
        for (int k = 1; k < kSyntaxColorRows; ++k)
            EXPECT_FALSE(e.rowEnabled[static_cast<size_t>(k)]) << "row " << k;
        EXPECT_FALSE(e.colorStringEnabled);
    }
}

TEST(SyntaxPageRules, StringRowFollowsColorStringContents)
{
    for (int mode : {1, 2}) {
        SyntaxPageEnables e = SyntaxPageRules(mode, false);
        for (int k = 0; k < kSyntaxColorRows; ++k)
            EXPECT_TRUE(e.rowEnabled[static_cast<size_t>(k)]) << "mode " << mode << " row " << k;
        EXPECT_TRUE(e.colorStringEnabled);

        e = SyntaxPageRules(mode, true);
        EXPECT_FALSE(e.rowEnabled[kStringColorRow]);
        for (int k = 0; k < kStringColorRow; ++k)
            EXPECT_TRUE(e.rowEnabled[static_cast<size_t>(k)]);
        EXPECT_TRUE(e.colorStringEnabled);
    }
}

TEST(BlockSizeFilter, DigitsOnlyAtMostTwo)
{
    EXPECT_EQ(FilterBlockSizeKey(U'1', 0, 0), KeyVerdict::Accept);
    EXPECT_EQ(FilterBlockSizeKey(U'9', 1, 0), KeyVerdict::Accept);
    // A third digit is refused unless it replaces a selection.
    EXPECT_EQ(FilterBlockSizeKey(U'3', 2, 0), KeyVerdict::Refuse);
    EXPECT_EQ(FilterBlockSizeKey(U'3', 2, 2), KeyVerdict::Accept);
    EXPECT_EQ(FilterBlockSizeKey(U'3', 2, 1), KeyVerdict::Accept);
    for (char32_t c : {U'a', U'-', U'+', U'.', U' ', U'/', U':', U'\u00B2', U'\u0663'})
        EXPECT_EQ(FilterBlockSizeKey(c, 0, 0), KeyVerdict::Refuse) << static_cast<unsigned>(c);
    EXPECT_EQ(FilterBlockSizeKey(kKeyBackspace, 2, 0), KeyVerdict::Accept);
    EXPECT_EQ(FilterBlockSizeKey(kKeyEnter, 2, 0), KeyVerdict::ApplyPage);
}

TEST(BlockCharFilter, OneCharacterOfLatin1)
{
    EXPECT_EQ(FilterComCharKey(U'#', 0, 0), KeyVerdict::Accept);
    EXPECT_EQ(FilterComCharKey(U'=', 1, 0), KeyVerdict::Refuse);
    EXPECT_EQ(FilterComCharKey(U'=', 1, 1), KeyVerdict::Accept);
    EXPECT_EQ(FilterComCharKey(U'\u00A7', 0, 0), KeyVerdict::Accept); // section sign, in Latin-1
    EXPECT_EQ(FilterComCharKey(U'\u20AC', 0, 0), KeyVerdict::Refuse); // euro sign, not in Latin-1
    EXPECT_EQ(FilterComCharKey(U'\U0001F600', 0, 0), KeyVerdict::Refuse);
    EXPECT_EQ(FilterComCharKey(U'\t', 0, 0), KeyVerdict::Refuse);
    EXPECT_EQ(FilterComCharKey(kKeyBackspace, 1, 0), KeyVerdict::Accept);
    EXPECT_EQ(FilterComCharKey(kKeyEnter, 1, 0), KeyVerdict::ApplyPage);
    EXPECT_EQ(FilterComCharKey(kKeyEnter, 0, 0), KeyVerdict::ApplyPage);
}

TEST(BlockSizeValue, LeadingDigitsEmptyIsZero)
{
    EXPECT_EQ(BlockSizeValue(""), 0);
    EXPECT_EQ(BlockSizeValue("7"), 7);
    EXPECT_EQ(BlockSizeValue("42"), 42);
    EXPECT_EQ(BlockSizeValue("05"), 5);
    EXPECT_EQ(BlockSizeValue("3x"), 3);
    EXPECT_EQ(BlockSizeValue("x3"), 0);
    EXPECT_LT(BlockSizeValue("99999999999999999999"), 10000000); // never overflows
}
