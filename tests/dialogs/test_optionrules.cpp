// The options dialog's widget-free rules: which colour rows are enabled, and
// what the block size and block character boxes do with a typed key.

#include "dialogs/optionrules.h"

#include <gtest/gtest.h>

using namespace varkel;

TEST(SyntaxPageRules, RowsFollowTheModeAndColorStringContents)
{
    for (int mode : {0, 1, 2}) {
        for (bool colorString : {false, true}) {
            const SyntaxPageEnables e = SyntaxPageRules(mode, colorString);
            // No colouring leaves only plain text; colouring string contents
            // leaves out the string row.
            for (int k = 0; k < kSyntaxColorRows; ++k)
                EXPECT_EQ(e.rowEnabled[static_cast<size_t>(k)],
                          k == 0 || (mode != 0 && !(colorString && k == kStringColorRow)))
                    << "mode " << mode << " strings " << colorString << " row " << k;
            EXPECT_EQ(e.colorStringEnabled, mode != 0);
        }
    }
}

TEST(BlockSizeFilter, DigitsOnlyAtMostTwo)
{
    EXPECT_EQ(FilterBlockSizeKey(U'9', 1, 0), KeyVerdict::Accept);
    // A third digit is refused unless it replaces a selection.
    EXPECT_EQ(FilterBlockSizeKey(U'3', 2, 0), KeyVerdict::Refuse);
    EXPECT_EQ(FilterBlockSizeKey(U'3', 2, 1), KeyVerdict::Accept);
    for (char32_t c : {U'a', U'-', U'+', U'.', U' ', U'/', U':', U'\u00B2', U'\u0663'})
        EXPECT_EQ(FilterBlockSizeKey(c, 0, 0), KeyVerdict::Refuse) << static_cast<unsigned>(c);
    EXPECT_EQ(FilterBlockSizeKey(kKeyBackspace, 2, 0), KeyVerdict::Accept);
    EXPECT_EQ(FilterBlockSizeKey(kKeyEnter, 2, 0), KeyVerdict::ApplyPage);

    EXPECT_EQ(BlockSizeValue(""), 0);
    EXPECT_EQ(BlockSizeValue("05"), 5);
    EXPECT_EQ(BlockSizeValue("3x"), 3);
    EXPECT_EQ(BlockSizeValue("x3"), 0);
    EXPECT_LT(BlockSizeValue("99999999999999999999"), 10000000); // never overflows
}

TEST(BlockCharFilter, OneCharacterOfLatin1)
{
    EXPECT_EQ(FilterComCharKey(U'#', 0, 0), KeyVerdict::Accept);
    EXPECT_EQ(FilterComCharKey(U'=', 1, 0), KeyVerdict::Refuse);
    EXPECT_EQ(FilterComCharKey(U'=', 1, 1), KeyVerdict::Accept);
    EXPECT_EQ(FilterComCharKey(U'\u00A7', 0, 0), KeyVerdict::Accept); // section sign, in Latin-1
    for (char32_t c : {U'\u20AC', U'\U0001F600', U'\t'}) // the euro sign is not in Latin-1
        EXPECT_EQ(FilterComCharKey(c, 0, 0), KeyVerdict::Refuse) << static_cast<unsigned>(c);
    EXPECT_EQ(FilterComCharKey(kKeyBackspace, 1, 0), KeyVerdict::Accept);
    EXPECT_EQ(FilterComCharKey(kKeyEnter, 0, 0), KeyVerdict::ApplyPage);
}
