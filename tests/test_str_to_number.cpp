// Strict decimal text to numbers: StrToLong, StrToULong, clsStrPlus::CheckNumber
// and the conversions ToChar .. ToDouble of clsStrPlus.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "tv_double_texts.h"
#include "tv_test_util.h"
#include "tvncstrb.h"

namespace {
// The code thrown for each status of the text checkers.
int ThrownFor(int nStatus)
{
    switch (nStatus) {
    case -4024: return -2044;
    case -4025: return -2045;
    case -4026: return -2047;
    case -4029: return -2050;
    case -4030: return -2051;
    case -4031: return -2054;
    }
    ADD_FAILURE() << "no thrown code for status " << nStatus;
    return 0;
}

struct ParseCase {
    const char* pszText;
    bool bEndPos;    // the caller asks for the end position
    long nValue;     // checked when the status is 0
    int nStatus;
    int nEndPos;     // checked when bEndPos is set
};

// Runs one case of StrToLong or StrToULong in both modes: with a status
// out-parameter, and throwing (the end position written before the throw).
template <class F>
void CheckParse(F fnParse, const ParseCase& c)
{
    SCOPED_TRACE(std::string("'") + c.pszText + "'" + (c.bEndPos ? " with end position" : ""));
    int nErr = 99;
    int nEndPos = -99;
    const long nValue = static_cast<long>(fnParse(c.pszText, &nErr, c.bEndPos ? &nEndPos : nullptr));
    EXPECT_EQ(nErr, c.nStatus);
    if (c.nStatus == 0) {
        EXPECT_EQ(nValue, c.nValue);
    }
    EXPECT_EQ(nEndPos, c.bEndPos ? c.nEndPos : -99);

    nEndPos = -99;
    if (c.nStatus == 0) {
        EXPECT_EQ(static_cast<long>(fnParse(c.pszText, nullptr, c.bEndPos ? &nEndPos : nullptr)), c.nValue);
    } else {
        EXPECT_UTIL_ERROR(ThrownFor(c.nStatus), fnParse(c.pszText, nullptr, c.bEndPos ? &nEndPos : nullptr));
    }
    EXPECT_EQ(nEndPos, c.bEndPos ? c.nEndPos : -99);
}
} // namespace

TEST(StrToNumber, StrToLong)
{
    const ParseCase acase[] = {
        // Nothing to read is a good 0.
        {"", true, 0, 0, 0},
        {"   ", true, 0, 0, 3},
        {"+", true, 0, 0, 1},
        {"-", true, 0, 0, 1},
        {"", false, 0, 0, 0},
        {"  -0012  ", true, -12, 0, 9},
        {"  42  ", false, 42, 0, 0},
        {"+17", true, 17, 0, 3},
        {"0000000000000000000007", true, 7, 0, 22},
        // The 32-bit magnitude, for both signs.
        {"2147483647", true, 2147483647L, 0, 10},
        {"-2147483647", true, -2147483647L, 0, 11},
        {"-000000000000002147483647", false, -2147483647L, 0, 0},
        {"2147483648", true, 0, -4029, 9},
        {"-2147483648", true, 0, -4029, 10},
        {"21474836470", true, 0, -4029, 10},
        {"9999999999", true, 0, -4029, 9},
        {"1000000000000000", false, 0, -4029, 0},
        {"2147483648", false, 0, -4029, 0},
        // Trailing text: an error, unless the caller reads a head.
        {"1 2", false, 0, -4025, 0},
        {"1 2", true, 1, 0, 2},
        {"12abc", false, 0, -4025, 0},
        {"12abc", true, 12, 0, 2},
        {"12\t", false, 0, -4025, 0}, // a tab is no blank
        {"12\t", true, 12, 0, 2},
        {"- 5", false, 0, -4025, 0},
        {"- 5", true, 0, 0, 2},
        // Points: only zeros and blanks may follow, in either mode.
        {"12.", true, 12, 0, 3},
        {"12.000", true, 12, 0, 6},
        {"12.0  ", true, 12, 0, 6},
        {"12.  ", false, 12, 0, 0},
        {"12.5", true, 0, -4024, 3},
        {"12.5", false, 0, -4024, 0},
        {".5", true, 0, -4024, 1},
        {"12. 5", true, 0, -4024, 4},
        {"12.0 x", true, 0, -4024, 5},
        {"12.0 x", false, 0, -4024, 0},
        // Signs after the start.
        {"1+2", true, 0, -4031, 1},
        {"--5", true, 0, -4031, 1},
        {"5-", false, 0, -4031, 0},
    };
    for (const ParseCase& c : acase)
        CheckParse(StrToLong, c);
}

TEST(StrToNumber, StrToULong)
{
    const ParseCase acase[] = {
        {"", true, 0, 0, 0},
        {"+", true, 0, 0, 1},
        {"+5", true, 5, 0, 2},
        {"  7  ", true, 7, 0, 5},
        {"4294967295", true, 4294967295L, 0, 10},
        {"00004294967295", false, 4294967295L, 0, 0},
        {"2147483648", false, 2147483648L, 0, 0},
        {"4294967296", true, 0, -4030, 9},
        {"42949672950", true, 0, -4030, 10},
        {"99999999999", false, 0, -4030, 0},
        // No sign for the unsigned type, not even for zero.
        {"-0", true, 0, -4026, 0},
        {"-5", true, 0, -4026, 0},
        {"  -5", true, 0, -4026, 2},
        {"-5", false, 0, -4026, 0},
        {"+-1", true, 0, -4031, 1},
        {"1 2", false, 0, -4025, 0},
        {"1 2", true, 1, 0, 2},
        {"12abc", true, 12, 0, 2},
        {"1.5", false, 0, -4024, 0},
        {"3.00", true, 3, 0, 4},
    };
    for (const ParseCase& c : acase)
        CheckParse(StrToULong, c);
    // The value that comes with a refused sign is 0.
    int nErr = 0;
    EXPECT_EQ(StrToULong("-5", &nErr, nullptr), 0UL);
}

TEST(StrToNumber, CheckNumber)
{
    struct Case {
        const char* pszText;
        int nStatus;
        int nDigits;
        int nDecimals;
        int nErrPos;
    };
    const Case acase[] = {
        {"0012.3400", 0, 4, 2, 9},
        {"0.05", 0, 2, 2, 4},
        {"100", 0, 3, 0, 3},
        {"-0.000", 0, 0, 0, 6},
        {"  12  ", 0, 2, 0, 6},
        {".5", 0, 1, 1, 2},
        {"-.50", 0, 1, 1, 4},
        {"1.000001", 0, 7, 6, 8},
        {"1.5 ", 0, 2, 1, 4},
        {"123456789012345678901234567890", 0, 30, 0, 30}, // no range limit
        {"", 0, 0, 0, 0},
        {"   ", 0, 0, 0, 3},
        {"+", 0, 0, 0, 1},
        {".", 0, 0, 0, 1},
        {"1.2.3", -4024, 2, 1, 3},
        {"..", -4024, 0, 0, 1},
        {"1 x", -4025, 1, 0, 2},
        {"12abc", -4025, 2, 0, 2},
        {"1e5", -4025, 1, 0, 1},
        {"1. 5", -4025, 1, 0, 3},
        {"1-", -4031, 1, 0, 1},
        {"+-1", -4031, 0, 0, 1},
    };
    for (const Case& c : acase) {
        SCOPED_TRACE(std::string("'") + c.pszText + "'");
        const clsStrPlus str(c.pszText, -1);
        int nDigits = -99, nDecimals = -99, nErrPos = -99;
        EXPECT_EQ(str.CheckNumber(&nDigits, &nDecimals, 0, &nErrPos), c.nStatus);
        EXPECT_EQ(nDigits, c.nDigits);
        EXPECT_EQ(nDecimals, c.nDecimals);
        EXPECT_EQ(nErrPos, c.nErrPos);
        EXPECT_EQ(str.CheckNumber(nullptr, nullptr, 0, nullptr), c.nStatus);

        // Throwing: the same counts and position are written first.
        nDigits = nDecimals = nErrPos = -99;
        if (c.nStatus == 0) {
            EXPECT_EQ(str.CheckNumber(&nDigits, &nDecimals, 1, &nErrPos), 0);
        } else {
            EXPECT_UTIL_ERROR(ThrownFor(c.nStatus), str.CheckNumber(&nDigits, &nDecimals, 1, &nErrPos));
        }
        EXPECT_EQ(nDigits, c.nDigits);
        EXPECT_EQ(nDecimals, c.nDecimals);
        EXPECT_EQ(nErrPos, c.nErrPos);
    }
}

TEST(StrToNumber, ToChar)
{
    EXPECT_EQ(clsStrPlus().ToChar(), '\0');
    EXPECT_EQ(clsStrPlus("x", -1).ToChar(), 'x');
    EXPECT_EQ(clsStrPlus(" ", -1).ToChar(), ' ');
    EXPECT_UTIL_ERROR(-2043, clsStrPlus("xy", -1).ToChar());
}

TEST(StrToNumber, ToShortAndToUShort)
{
    EXPECT_EQ(clsStrPlus("-32768", -1).ToShort(), -32768);
    EXPECT_EQ(clsStrPlus("32767", -1).ToShort(), 32767);
    EXPECT_EQ(clsStrPlus(" +0 ", -1).ToShort(), 0);
    EXPECT_EQ(clsStrPlus().ToShort(), 0);
    EXPECT_UTIL_ERROR(-2048, clsStrPlus("32768", -1).ToShort());
    EXPECT_UTIL_ERROR(-2048, clsStrPlus("-32769", -1).ToShort());
    EXPECT_UTIL_ERROR(-2048, clsStrPlus("2147483647", -1).ToShort());
    EXPECT_UTIL_ERROR(-2048, clsStrPlus("-2147483647", -1).ToShort());
    // Beyond the 32-bit range the 32-bit code comes first.
    EXPECT_UTIL_ERROR(-2050, clsStrPlus("2147483648", -1).ToShort());
    EXPECT_UTIL_ERROR(-2050, clsStrPlus("-2147483648", -1).ToShort());
    EXPECT_UTIL_ERROR(-2044, clsStrPlus("1.5", -1).ToShort());
    EXPECT_UTIL_ERROR(-2045, clsStrPlus("1x", -1).ToShort());
    EXPECT_UTIL_ERROR(-2054, clsStrPlus("1-", -1).ToShort());

    EXPECT_EQ(clsStrPlus("65535", -1).ToUShort(), 65535);
    EXPECT_EQ(clsStrPlus("0", -1).ToUShort(), 0);
    EXPECT_UTIL_ERROR(-2049, clsStrPlus("65536", -1).ToUShort());
    EXPECT_UTIL_ERROR(-2049, clsStrPlus("4294967295", -1).ToUShort());
    EXPECT_UTIL_ERROR(-2051, clsStrPlus("4294967296", -1).ToUShort());
    EXPECT_UTIL_ERROR(-2047, clsStrPlus("-1", -1).ToUShort());
    EXPECT_UTIL_ERROR(-2047, clsStrPlus("-0", -1).ToUShort());
}

TEST(StrToNumber, ToIntToUIntToLongToULong)
{
    EXPECT_EQ(clsStrPlus("2147483647", -1).ToInt(), 2147483647);
    EXPECT_EQ(clsStrPlus("-2147483647", -1).ToInt(), -2147483647);
    EXPECT_UTIL_ERROR(-2050, clsStrPlus("2147483648", -1).ToInt());
    EXPECT_UTIL_ERROR(-2050, clsStrPlus("-2147483648", -1).ToInt());
    EXPECT_UTIL_ERROR(-2044, clsStrPlus("2.5", -1).ToInt());

    EXPECT_EQ(clsStrPlus("4294967295", -1).ToUInt(), 4294967295u);
    EXPECT_UTIL_ERROR(-2051, clsStrPlus("4294967296", -1).ToUInt());
    EXPECT_UTIL_ERROR(-2047, clsStrPlus("-1", -1).ToUInt());

    EXPECT_EQ(clsStrPlus("2147483647", -1).ToLong(), 2147483647L);
    EXPECT_EQ(clsStrPlus("-2147483647", -1).ToLong(), -2147483647L);
    EXPECT_UTIL_ERROR(-2050, clsStrPlus("2147483648", -1).ToLong());
    EXPECT_UTIL_ERROR(-2050, clsStrPlus("1000000000000000", -1).ToLong()); // 32-bit bounds on a 64-bit long
    EXPECT_UTIL_ERROR(-2045, clsStrPlus("1e3", -1).ToLong());

    EXPECT_EQ(clsStrPlus("4294967295", -1).ToULong(), 4294967295UL);
    EXPECT_UTIL_ERROR(-2051, clsStrPlus("4294967296", -1).ToULong());
    EXPECT_UTIL_ERROR(-2047, clsStrPlus("-0", -1).ToULong());
    EXPECT_UTIL_ERROR(-2054, clsStrPlus("4-", -1).ToULong());
}

TEST(StrToNumber, ToDouble)
{
    EXPECT_EQ(clsStrPlus(" -.5 ", -1).ToDouble(), -0.5);
    EXPECT_EQ(clsStrPlus().ToDouble(), 0.0);
    EXPECT_EQ(clsStrPlus("12.50", -1).ToDouble(), 12.5);
    EXPECT_EQ(clsStrPlus("0012.3400", -1).ToDouble(), 12.34);
    EXPECT_EQ(clsStrPlus("123456789012345678901234567890", -1).ToDouble(), 1.2345678901234568e29);
    EXPECT_UTIL_ERROR(-2045, clsStrPlus("1e5", -1).ToDouble());
    EXPECT_UTIL_ERROR(-2044, clsStrPlus("1.2.3", -1).ToDouble());
    EXPECT_UTIL_ERROR(-2054, clsStrPlus("+-1", -1).ToDouble());
    EXPECT_UTIL_ERROR(-2045, clsStrPlus("0x10", -1).ToDouble());
}

// ToDouble gives atof's value in the "C" locale for every text that passes
// the check, also where atof has a way of its own: 0.0 for a text without a
// digit, the sign of a zero, ties, +-HUGE_VAL beyond the range, 0 or a
// subnormal below it.
TEST(StrToNumber, ToDoubleGivesAtofsValue)
{
    const std::string strZeros400(400, '0');
    struct Case {
        std::string strText;
        double dExpected;
    };
    const Case acase[] = {
        {"", 0.0},
        {"   ", 0.0},
        {".", 0.0},
        {"-", 0.0},
        {"+", 0.0},
        {" -. ", 0.0},
        {"+.", 0.0},
        {"-0", -0.0},
        {" -000.000 ", -0.0},
        {"+.5", 0.5},
        {"  7  ", 7.0},
        {"-.25", -0.25},
        {"2.75", 2.75},
        {"9007199254740993", 9007199254740992.0}, // halfway: to the even neighbour
        {"9007199254740993.000000000000000000000001", 9007199254740994.0},
        {"1" + std::string(309, '0'), HUGE_VAL},
        {"-1" + strZeros400 + ".5", -HUGE_VAL},
        {"0." + strZeros400 + "1", 0.0},
        {"-0." + strZeros400 + "1", -0.0},
        {"0." + std::string(323, '0') + "494065645841246544", std::numeric_limits<double>::denorm_min()},
        {"17976931348623157" + std::string(292, '0'), DBL_MAX},
    };
    for (const Case& c : acase) {
        SCOPED_TRACE("'" + c.strText.substr(0, 60) + "'");
        const double d = clsStrPlus(c.strText).ToDouble();
        EXPECT_TRUE(tvdouble::SameDouble(d, c.dExpected)) << std::hexfloat << d;
        EXPECT_TRUE(tvdouble::SameDouble(d, tvdouble::AtofC(c.strText.c_str()))) << std::hexfloat << d;
    }
}

TEST(StrToNumber, ToDoubleAgreesWithAtofOnRandomTexts)
{
    const unsigned uSeed = FreshTestSeed();
    SCOPED_TRACE(SeedNote(uSeed));
    std::mt19937_64 rng(uSeed);
    for (int nIter = 0; nIter < 100000; ++nIter) {
        const std::string strText = tvdouble::DrawNumberText(rng);
        const double d = clsStrPlus(strText).ToDouble();
        ASSERT_TRUE(tvdouble::SameDouble(d, tvdouble::AtofC(strText.c_str())))
            << "'" << strText << "' gave " << std::hexfloat << d;
    }
}
