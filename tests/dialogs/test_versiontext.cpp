#include "dialogs/versiontext.h"

#include <gtest/gtest.h>

using namespace varkel;

TEST(VersionText, PadsMinorToTwoAndRevisionToFourDigits)
{
    EXPECT_EQ(VersionText(1, 2, 3), "1.02.0003");
    EXPECT_EQ(VersionText(0, 0, 0), "0.00.0000");
    EXPECT_EQ(VersionText(12, 345, 67890), "12.345.67890");
    EXPECT_EQ(VersionText(), VersionText(VARKEL_VERSION_MAJOR, VARKEL_VERSION_MINOR, VARKEL_VERSION_PATCH));
}
