#include "app/errors.h"

#include <cerrno>
#include <gtest/gtest.h>

using namespace varkel;

TEST(Errors, NumbersAndDescriptionsAreStable)
{
    Error e{ErrorCode::FileNotFound, "/tmp/x.cfg"};
    EXPECT_EQ(e.number(), 53);
    EXPECT_EQ(e.description(), "File not found: /tmp/x.cfg");
    EXPECT_EQ(errorFromErrno(EACCES), ErrorCode::PermissionDenied);
    EXPECT_EQ(errorFromErrno(EISDIR), ErrorCode::NotAFile);
}
