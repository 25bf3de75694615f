// Multiplication of clsNumDbFld and its integer and decimal parts: exact
// packed results, null and zero operands, overflow before and after the
// product is formed, rounding to the scale.
#include <gtest/gtest.h>

#include <string>

#include "tv_test_util.h"

namespace {

// --- products ------------------------------------------------------------------

TEST(NumMul, PackedResultOfTheDigitLoop)
{
    // 12.5 x -0.4: the positions -5, 0, 0 give the byte -15, whose first digit
    // is 0, so the digits move up one place and the exponent stays 0.
    clsNumDbFld numX = NumAt(38, 8, "12.5");
    numX *= NumAt(38, 8, "-0.4");
    EXPECT_EQ(PackedText(numX), "'n', -10, -60");

    NumProbe probe(NumAt(38, 8, "12.5"));
    probe.MultiplyBy(NumAt(38, 8, "-0.4"));
    EXPECT_EQ(PackedText(probe), "'n', -10, -60");
}

struct ProductCase {
    int nLen, nScale; // of x
    const char* pszX;
    const char* pszY; // at length 38, scale 10
    const char* pszPacked;
};

const ProductCase kProducts[] = {
    {38, 8, "-2", "-3", "'p', 10, 70"},
    {38, 8, "-1.5", "1.5", "'n', -10, -32, -60"},
    {38, 8, "5", "2", "'p', 11, 20"},                 // first byte 20: one exponent up
    {38, 8, "0.5", "0.2", "'p', -11, 20"},
    {38, 8, "99.99", "99.99", "'p', 13, 109, 108, 10, 11"}, // 9998.0001
    {38, 8, "1.23456789", "1.1", "'p', 10, 23, 68, 12, 56, 90"}, // 1.358024679 rounds up
    {38, 8, "-1.23456789", "1.1", "'n', -10, -23, -68, -12, -56, -90"},
    {38, 8, "0.00000001", "0.5", "'p', -18, 20"},     // half a unit rounds away from zero
    {38, 8, "0.00000001", "-0.5", "'n', 18, -20"},
    {38, 8, "0.00000001", "0.49999999", "'o'"},       // below half a unit: zero
    {10, 2, "1.11", "1.11", "'p', 10, 22, 40"},       // 1.2321
    {10, 0, "7", "0.5", "'p', 10, 50"},               // 3.5 rounds to 4
    {10, 0, "-7", "0.5", "'n', -10, -50"},
    {38, 8, "1024", "0.0009765625", "'p', 10, 20"},   // 1, rounded from 1.0000000000
};

TEST(NumMul, ProductsRoundedToTheScale)
{
    for (const ProductCase& c : kProducts) {
        SCOPED_TRACE(std::string(c.pszX) + " * " + c.pszY);
        clsNumDbFld numX = NumAt(c.nLen, c.nScale, c.pszX);
        clsNumDbFld numY(38, 10);
        numY = c.pszY;
        numX *= numY;
        EXPECT_EQ(PackedText(numX), c.pszPacked);
        EXPECT_EQ(NumProbe::Len(numX), c.nLen);
        EXPECT_EQ(NumProbe::Scale(numX), c.nScale);
    }
}

TEST(NumMul, NullAndZeroOperands)
{
    struct Case {
        const char* pszX; // nullptr: the null value
        const char* pszY;
        const char* pszPacked;
    };
    const Case aCases[] = {
        {"0", "5", "'o'"},         // zero times anything stays zero
        {nullptr, "5", ""},        // null times anything stays null
        {nullptr, "0", ""},
        {"5", "0", "'o'"},         // times zero gives zero
        {"5", nullptr, ""},        // times null gives null
        {"-5", nullptr, ""},
        {"0", nullptr, "'o'"},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(std::string(c.pszX ? c.pszX : "null") + " * " + (c.pszY ? c.pszY : "null"));
        clsNumDbFld numX(10, 2);
        if (c.pszX)
            numX = c.pszX;
        clsNumDbFld numY(38, 8);
        if (c.pszY)
            numY = c.pszY;
        numX *= numY;
        EXPECT_EQ(PackedText(numX), c.pszPacked);
        EXPECT_EQ(NumProbe::Len(numX), 10);
        EXPECT_EQ(NumProbe::Scale(numX), 2);
    }
}

TEST(NumMul, NumberTimesItself)
{
    clsNumDbFld numX = NumAt(38, 8, "-1.5");
    numX *= numX;
    EXPECT_EQ(TextOf(numX), "2.25");
    numX *= numX;
    EXPECT_EQ(TextOf(numX), "5.0625");

    clsNumDbFld numLong = NumAt(38, 8, "111111111.11111111");
    numLong *= numLong;
    EXPECT_EQ(TextOf(numLong), "12345679012345678.7654321"); // .7654320987654321 rounded

    clsNumDbFld numFull = NumAt(38, 8, "1000000000000000"); // 10^15: its square needs 31 digits
    EXPECT_UTIL_ERROR(-2053, numFull *= numFull);
    EXPECT_EQ(TextOf(numFull), "1000000000000000");
}

// --- overflow at the integer capacity ---------------------------------------------

// Length 38 and scale 8: integer capacity 30, so e may be at most 29.
TEST(NumMul, OverflowBeforeTheProduct)
{
    NumProbe probe(NumAt(38, 8, "1000000000000000"));
    probe *= NumAt(38, 8, "2");
    ASSERT_EQ(TextOf(probe), "2000000000000000");
    // e 15 + 15 = 30 reaches the capacity: refused before any work.
    EXPECT_UTIL_ERROR(-2053, probe *= NumAt(38, 8, "1000000000000000"));
    EXPECT_EQ(TextOf(probe), "2000000000000000");
    EXPECT_TRUE(NumProbe::Work(probe).IsEmpty());
}

TEST(NumMul, OverflowAfterTheProductKeepsTheValue)
{
    // e 14 + 15 = 29 fits, but the product 10^30 has its first digit one
    // place higher.
    clsNumDbFld numX = NumAt(38, 8, "500000000000000");
    EXPECT_UTIL_ERROR(-2053, numX *= NumAt(38, 8, "2000000000000000"));
    EXPECT_EQ(TextOf(numX), "500000000000000");
    EXPECT_TRUE(NumProbe::Work(numX).IsEmpty());

    clsNumDbFld numNeg = NumAt(5, 3, "-50");
    EXPECT_UTIL_ERROR(-2053, numNeg *= NumAt(38, 8, "2"));
    EXPECT_EQ(TextOf(numNeg), "-50");

    // 2 x 10^14 times 3 x 10^15: 6 x 10^29, the first byte below 20, fits.
    clsNumDbFld numFits = NumAt(38, 8, "200000000000000");
    numFits *= NumAt(38, 8, "3000000000000000");
    EXPECT_EQ(TextOf(numFits), "600000000000000000000000000000");
}

TEST(NumMul, RoundingCarryBeyondTheCapacityLeavesNull)
{
    // 99.999 x 1.000006 = 99.999599994 fits, rounded to three decimals it is 100.
    clsNumDbFld numX = NumAt(5, 3, "99.999");
    EXPECT_UTIL_ERROR(-2053, numX *= NumAt(38, 8, "1.000006"));
    EXPECT_TRUE(NumProbe::Data(numX).IsEmpty());

    // No integer digit at all: 0.999 x 1.0006 = 0.9995994 rounds to 1.
    clsNumDbFld numFrac = NumAt(3, 3, "0.999");
    EXPECT_UTIL_ERROR(-2053, numFrac *= NumAt(38, 8, "-1.0006"));
    EXPECT_TRUE(NumProbe::Data(numFrac).IsEmpty());

    clsNumDbFld numBelow = NumAt(3, 3, "0.999");
    numBelow *= NumAt(38, 8, "1.0005");
    EXPECT_EQ(TextOf(numBelow), "0.999"); // 0.9994995
}

// Products far below the last decimal place: exponents that the packed form
// cannot hold must not be stored even for a moment.
TEST(NumMul, TinyProductsRoundToZero)
{
    const std::string strTiny = "0." + std::string(99, '0') + "1"; // 10^-100
    const std::string strHalf = "0." + std::string(99, '0') + "5";
    struct Case {
        int nLen, nScale;
        std::string strX;
        std::string strY;
        const char* pszText;
    };
    const Case aCases[] = {
        {100, 100, strTiny, strTiny, "0"},
        {100, 100, strTiny, "-" + strTiny, "0"},
        {100, 100, strHalf, "0.2", strTiny.c_str()}, // 10^-100 exactly
        {100, 100, strHalf, "0.1", strTiny.c_str()}, // 5 x 10^-101 rounds up
        {100, 100, strHalf, "0.09", "0"},
        {100, 60, "0." + std::string(59, '0') + "1", "0." + std::string(59, '0') + "1", "0"},
        {100, 100, "0." + std::string(59, '0') + "7", "0." + std::string(59, '0') + "7", "0"},
        {100, 100, "0.5", strTiny, strTiny.c_str()}, // 5 x 10^-101 rounds up
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.strX + " * " + c.strY);
        clsNumDbFld numX = NumAt(c.nLen, c.nScale, c.strX.c_str());
        clsNumDbFld numY = NumAt(c.nLen, c.nScale, c.strY.c_str());
        numX *= numY;
        EXPECT_EQ(TextOf(numX), c.pszText);
        EXPECT_EQ(NumProbe::Data(numX).IsEmpty(), false);
    }
}

// --- integer and decimal parts ---------------------------------------------------------

struct PartCase {
    const char* pszX; // nullptr: the null value; at length 20, scale 4
    const char* pszPacked;
    int nLen, nScale; // of the result
};

const PartCase kIntegerParts[] = {
    {"123.45", "'p', 12, 22, 40", 20, 4},
    {"-123.45", "'n', -12, -22, -40", 20, 4},
    {"100.5", "'p', 12, 20", 20, 4},
    {"120", "'p', 12, 22", 20, 4},         // nothing after the units: a copy
    {"10.5", "'p', 11, 20", 20, 4},
    {"-1.5", "'n', -10, -20", 20, 4},      // -25 becomes -20
    {"99.9999", "'p', 11, 109", 20, 4},
    {"1", "'p', 10, 20", 20, 4},
    {"1000.0001", "'p', 13, 20", 20, 4},
    {"0.75", "'o'", 38, 8},                 // between -1 and 1: zero at 38, 8
    {"-0.75", "'o'", 38, 8},
    {"0.0001", "'o'", 38, 8},
    {"0", "'o'", 20, 4},
    {nullptr, "", 20, 4},
};

TEST(NumParts, IntegerPartTruncatesTowardZero)
{
    for (const PartCase& c : kIntegerParts) {
        SCOPED_TRACE(c.pszX ? c.pszX : "null");
        clsNumDbFld numX(20, 4);
        if (c.pszX)
            numX = c.pszX;
        clsNumDbFld numInt = numX.GetIntegerPart();
        EXPECT_EQ(PackedText(numInt), c.pszPacked);
        EXPECT_EQ(NumProbe::Len(numInt), c.nLen);
        EXPECT_EQ(NumProbe::Scale(numInt), c.nScale);
    }
}

const PartCase kDecimalParts[] = {
    {"123.45", "'p', -11, 55", 20, 4},
    {"-123.45", "'n', 11, -55", 20, 4},
    {"0.75", "'p', -11, 85", 20, 4},
    {"-0.75", "'n', 11, -85", 20, 4},
    {"5", "'o'", 20, 4},
    {"-1200", "'o'", 20, 4},
    {"100.0005", "'p', -14, 60", 20, 4},
    {"0", "'o'", 20, 4},
    {nullptr, "", 20, 4},
};

TEST(NumParts, DecimalPartKeepsTheSign)
{
    for (const PartCase& c : kDecimalParts) {
        SCOPED_TRACE(c.pszX ? c.pszX : "null");
        clsNumDbFld numX(20, 4);
        if (c.pszX)
            numX = c.pszX;
        clsNumDbFld numDec = numX.GetDecimalPart();
        EXPECT_EQ(PackedText(numDec), c.pszPacked);
        EXPECT_EQ(NumProbe::Len(numDec), c.nLen);
        EXPECT_EQ(NumProbe::Scale(numDec), c.nScale);
    }
}

} // namespace
