// clsStrPlus: texts of the built-in integer types, AppendLong / AppendULong,
// AppendDouble, the trims and AdjustDecimals.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "tv_test_util.h"
#include "tv_double_texts.h"
#include "tvncstrb.h"

namespace {
bool HoldsEmptyBlock(const clsStrBase& str)
{
    return static_cast<const char*>(str) == static_cast<const char*>(clsStrBase()) && str.IsShared();
}
} // namespace

TEST(StrPlusInteger, TextsAtTheTypeBounds)
{
    struct Case {
        clsStrPlus str;
        const char* pszExpected;
    };
    const Case acase[] = {
        {clsStrPlus(static_cast<short>(-32768)), "-32768"},
        {clsStrPlus(static_cast<short>(32767)), "32767"},
        {clsStrPlus(static_cast<USHORT>(65535)), "65535"},
        {clsStrPlus(static_cast<USHORT>(0)), "0"},
        {clsStrPlus(0), "0"},
        {clsStrPlus(-2147483647 - 1), "-2147483648"},
        {clsStrPlus(2147483647), "2147483647"},
        {clsStrPlus(4294967295u), "4294967295"},
        {clsStrPlus(0u), "0"},
        {clsStrPlus(-2147483648L), "-2147483648"},
        {clsStrPlus(2147483647L), "2147483647"},
        {clsStrPlus(4294967295UL), "4294967295"},
        {clsStrPlus(0UL), "0"},
        // A wider long is taken at its full value.
        {clsStrPlus(1000000000000000L), "1000000000000000"},
        {clsStrPlus(-1000000000000000L), "-1000000000000000"},
        {clsStrPlus(1000000000000000UL), "1000000000000000"},
    };
    for (const Case& c : acase)
        EXPECT_EQ(TextOf(c.str), c.pszExpected);
}

TEST(StrPlusInteger, AssignmentReplacesAppendAdds)
{
    clsStrPlus str("some previous text", -1);
    str = static_cast<short>(-5);
    EXPECT_EQ(TextOf(str), "-5");
    str = static_cast<USHORT>(40000);
    EXPECT_EQ(TextOf(str), "40000");
    str = -17;
    EXPECT_EQ(TextOf(str), "-17");
    str = 3000000000u;
    EXPECT_EQ(TextOf(str), "3000000000");
    str = -2147483647L;
    EXPECT_EQ(TextOf(str), "-2147483647");
    str = 12UL;
    EXPECT_EQ(TextOf(str), "12");

    clsStrPlus strShared;
    strShared = 7L;
    EXPECT_EQ(TextOf(strShared), "7");

    clsStrPlus strSum("x=", -1);
    EXPECT_EQ(&strSum.AppendLong(-5), &strSum);
    EXPECT_EQ(TextOf(strSum), "x=-5");
    strSum.AppendULong(4294967295UL).AppendLong(0);
    EXPECT_EQ(TextOf(strSum), "x=-542949672950");
}

TEST(StrPlusDouble, AppendDouble)
{
    struct Case {
        double d;
        int nDecimals;
        const char* pszExpected;
    };
    const Case acase[] = {
        {2.0, 0, "2"},
        {1.5, 2, "1.50"},
        {-1.5, 3, "-1.500"},
        {1e20, 0, "100000000000000000000"},
        {0.0, 1, "0.0"},
        // A negative count: 8 decimals without trailing zeros.
        {2.0, -1, "2"},
        {0.125, -1, "0.125"},
        {1.123456789, -1, "1.12345679"},
        {-0.000000001, -1, "-0"},
        {100.0, -1, "100"},
        {-7.25, -5, "-7.25"},
        {0.0, -1, "0"},
    };
    for (const Case& c : acase) {
        EXPECT_EQ(TextOf(clsStrPlus(c.d, c.nDecimals)), c.pszExpected) << c.d << " / " << c.nDecimals;
        clsStrPlus str("v=", -1);
        str.AppendDouble(c.d, c.nDecimals);
        EXPECT_EQ(TextOf(str), std::string("v=") + c.pszExpected);
    }
}

TEST(StrPlusDouble, AtMostOneHundredDecimals)
{
    for (int nDecimals : {100, 101, 150}) {
        const std::string strText = TextOf(clsStrPlus(0.1, nDecimals));
        ASSERT_EQ(strText.size(), 102u) << nDecimals;
        EXPECT_EQ(strText.substr(0, 57), "0.1000000000000000055511151231257827021181583404541015625");
        EXPECT_EQ(strText.substr(57), std::string(45, '0'));
    }
    // The widest text: sign, 309 integer digits, point and 100 decimals.
    const std::string strWide = TextOf(clsStrPlus(-1.7976931348623157e308, 100));
    EXPECT_EQ(strWide.size(), 411u);
    EXPECT_EQ(strWide.substr(0, 5), "-1797");
    EXPECT_EQ(strWide.substr(310), "." + std::string(100, '0'));
}

// The text is what "%.*f" writes in the "C" locale, digit for digit: the
// special values and extremes at every precision, then random doubles.
TEST(StrPlusDouble, SameTextAsPrintfInTheCLocale)
{
    const double adSpecial[] = {
        0.0, -0.0, NAN, std::copysign(NAN, -1.0), INFINITY, -INFINITY, DBL_MAX, -DBL_MAX, DBL_MIN,
        std::numeric_limits<double>::denorm_min(), 0.5, 2.5, -2.5, 0.125, -0.375, 2.675, 1e22, 1e23,
        9007199254740993.0, 0.1, 1.0 / 3.0};
    for (double d : adSpecial)
        for (int nDecimals = 0; nDecimals <= 100; ++nDecimals)
            ASSERT_EQ(TextOf(clsStrPlus(d, nDecimals)), tvdouble::PrintfFixed(d, nDecimals))
                << d << " / " << nDecimals;
    EXPECT_EQ(TextOf(clsStrPlus(NAN, -1)), "nan");
    EXPECT_EQ(TextOf(clsStrPlus(-INFINITY, -1)), "-inf");

    const unsigned uSeed = FreshTestSeed();
    SCOPED_TRACE(SeedNote(uSeed));
    std::mt19937_64 rng(uSeed);
    for (int nIter = 0; nIter < 100000; ++nIter) {
        double d = tvdouble::DrawDouble(rng);
        int nDecimals = static_cast<int>(rng() % 101);
        ASSERT_EQ(TextOf(clsStrPlus(d, nDecimals)), tvdouble::PrintfFixed(d, nDecimals))
            << std::hexfloat << d << " / " << nDecimals;
    }
}

TEST(StrPlusTrim, TrimLeftAndRight)
{
    struct Case {
        const char* pszText;
        char ch;
        const char* pszLeft;
        const char* pszRight;
    };
    const Case acase[] = {
        {"000", '0', "", ""},
        {"00100", '0', "100", "001"},
        {"  a b  ", ' ', "a b  ", "  a b"},
        {"abc", 'x', "abc", "abc"},
        {"abc", '\0', "abc", "abc"},
        {"x", 'x', "", ""},
        {"xax", 'x', "ax", "xa"},
    };
    for (const Case& c : acase) {
        clsStrPlus strLeft(c.pszText, -1);
        clsStrPlus strRight(c.pszText, -1);
        const char* pLeft = strLeft;
        const char* pRight = strRight;
        strLeft.TrimLeft(c.ch);
        strRight.TrimRight(c.ch);
        EXPECT_EQ(TextOf(strLeft), c.pszLeft) << c.pszText << " / " << c.ch;
        EXPECT_EQ(TextOf(strRight), c.pszRight) << c.pszText << " / " << c.ch;
        // Trimming edits in place.
        EXPECT_EQ(static_cast<const char*>(strLeft), pLeft);
        EXPECT_EQ(static_cast<const char*>(strRight), pRight);
    }
}

TEST(StrPlusTrim, EmptyStringStaysOnTheSharedBlock)
{
    clsStrPlus str;
    str.TrimLeft('0');
    str.TrimRight('0');
    str.TrimLeft('\0');
    str.AdjustDecimals(0);
    EXPECT_TRUE(HoldsEmptyBlock(str));

    clsStrPlus strPrivate("0", -1);
    strPrivate.TrimLeft('0');
    strPrivate.TrimLeft('0');
    strPrivate.TrimRight('0');
    EXPECT_TRUE(strPrivate.IsEmpty());
    EXPECT_FALSE(strPrivate.IsShared());
}

TEST(StrPlusAdjustDecimals, PadsOrDropsTrailingZerosNeverRounds)
{
    struct Case {
        const char* pszText;
        UINT nDecimals;
        const char* pszExpected;
    };
    const Case acase[] = {
        {"1.5", 3, "1.500"},
        {"7", 2, "7.00"},
        {"7", 0, "7"},
        {"100", 0, "100"},
        {"2.000", 0, "2"},
        {"2.", 0, "2"},
        {"2.50", 0, "2.5"},
        {"1.2300", 2, "1.23"},
        {"1.2345", 2, "1.2345"},
        {"3.000", 2, "3.00"},
        {"5.", 1, "5.0"},
        {"10.00  ", 1, "10.0"},
        {"-0.00000000", 0, "-0"},
        // Further edges.
        {"", 2, ".00"},
        {".", 0, ""},
        {"1000", 0, "1000"},
        {"1.05", 0, "1.05"},
        {"1.10  ", 0, "1.1"},
        {"-1.50", 1, "-1.5"},
        {"0.000", 3, "0.000"},
        {"12", 3, "12.000"},
        {"100.00", 0, "100"},
        {"3.14159", 3, "3.14159"},
    };
    for (const Case& c : acase) {
        clsStrPlus str(c.pszText, -1);
        str.AdjustDecimals(c.nDecimals);
        EXPECT_EQ(TextOf(str), c.pszExpected) << "'" << c.pszText << "', " << c.nDecimals;
        EXPECT_EQ(static_cast<const char*>(str)[str.GetLength()], 0);
    }
}

TEST(StrPlus, ConstructorsFromStrings)
{
    const clsStrBase strBase("base", -1);
    const clsStrPlus strFromBase(strBase);
    EXPECT_EQ(TextOf(strFromBase), "base");
    EXPECT_NE(static_cast<const char*>(strFromBase), static_cast<const char*>(strBase));
    const clsStrPlus strCopy(strFromBase);
    EXPECT_EQ(TextOf(strCopy), "base");
    EXPECT_NE(static_cast<const char*>(strCopy), static_cast<const char*>(strFromBase));
    EXPECT_EQ(TextOf(clsStrPlus(CString("std"))), "std");
    EXPECT_EQ(TextOf(clsStrPlus('z', 2)), "zz");
    EXPECT_EQ(TextOf(clsStrPlus("abcdef", 3)), "abc");

    clsStrPlus str;
    str = strBase;
    EXPECT_EQ(TextOf(str), "base");
    str = 'q';
    EXPECT_EQ(TextOf(str), "q");
    str = CString("text");
    EXPECT_EQ(TextOf(str), "text");
    str = "plain";
    EXPECT_EQ(TextOf(str), "plain");
    clsStrPlus& strAlias = str;
    str = strAlias;
    EXPECT_EQ(TextOf(str), "plain");
}
