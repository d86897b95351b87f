#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/Rounding.h"
#include "common/RuntimeErrors.h"
#include "common/RuntimeError.h"

using namespace pelomar;
using namespace pelomar::core;

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
    const struct { double in; double out; } cases[] = {
        {0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {-0.5, 0}, {-1.5, -2}, {-2.5, -2},
        {2.4999999, 2}, {2.5000001, 3}, {299.5, 300}, {149.5, 150}, {-0.4, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(roundHalfEven(c.in), c.out) << c.in;
}

TEST(Rounding, WholeNumberStoresRaiseOverflowOutOfRange) {
    EXPECT_EQ(toLong(2147483647.4), 2147483647);
    EXPECT_EQ(toLong(-2147483648.5), std::numeric_limits<int32_t>::min());  // tie to even
    EXPECT_EQ(toInteger(32767.4), 32767);
    EXPECT_EQ(toInteger(-32768.5), -32768);

    const double longOverflows[] = {2147483647.5, -2147483649.0, 1e300, NAN, INFINITY, -INFINITY};
    for (double v : longOverflows) {
        try {
            toLong(v);
            ADD_FAILURE() << v;
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number(), err::kOverflow);
            EXPECT_STREQ(e.what(), "Overflow");
        }
    }
    EXPECT_THROW(toInteger(32767.5), RuntimeError);
    EXPECT_THROW(toInteger(-32769), RuntimeError);
}

TEST(RuntimeErrors, TextsAndErrnoMapping) {
    EXPECT_EQ(errorText(7), "Out of memory");
    EXPECT_EQ(errorText(9), "Subscript out of range");
    EXPECT_EQ(errorText(53), "File not found");
    EXPECT_EQ(errorText(61), "Disk full");
    EXPECT_EQ(errorText(75), "Path/File access error");
    EXPECT_EQ(errorText(393), "Get not supported at runtime");
    EXPECT_EQ(errorText(394), "Get not supported (write-only property)");
    EXPECT_EQ(errorText(12345), "Application-defined or object-defined error");

    EXPECT_EQ(errorFromErrno(ENOENT), err::kFileNotFound);
    EXPECT_EQ(errorFromErrno(ENOSPC), err::kDiskFull);
    EXPECT_EQ(errorFromErrno(EACCES), err::kPermissionDenied);
    EXPECT_EQ(errorFromErrno(ENOTDIR), err::kPathNotFound);
    EXPECT_EQ(errorFromErrno(EIO), err::kDeviceIoError);
}
