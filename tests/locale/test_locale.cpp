// Doubles in and out of numbers and strings under a locale whose decimal
// separator is a comma. The program takes its locale from the environment,
// as a program that honours LANG and LC_ALL does; run_locale_test.cmake makes
// de_DE.UTF-8 and starts this binary under it. Every text and value must be
// the one of the "C" locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "tv_double_texts.h"
#include "tv_test_util.h"
#include "tvdcndf.h"

// The runtime itself writes and reads the comma here, so every test below
// runs where the locale-dependent calls go wrong.
TEST(DecimalCommaLocale, IsInEffect)
{
    EXPECT_STREQ(std::localeconv()->decimal_point, ",");
    char szBuf[32];
    std::snprintf(szBuf, sizeof(szBuf), "%.2f", 1.25);
    EXPECT_STREQ(szBuf, "1,25");
    EXPECT_EQ(std::atof("2.75"), 2.0);
}

TEST(DecimalCommaLocale, AssignmentFromDouble)
{
    struct Case {
        int nLen;
        int nScale;
        double d;
        const char* pszText; // nullptr when nErr is expected
        int nErr;
    };
    const Case acase[] = {
        {10, 2, 1.25, "1.25", 0},
        {10, 2, -2.75, "-2.75", 0},
        {10, 2, 2.675, "2.67", 0}, // the double lies below 2.675
        {10, 2, 0.005, "0.01", 0},
        {38, 8, 1.1234567891, "1.12345679", 0},
        {38, 8, 98765.0, "98765", 0},
        {20, 0, 7.5, "8", 0},
        {10, 2, 0.0, "0", 0},
        {10, 2, 1.0, "1", 0},
        {38, 8, 1e31, nullptr, -2053},
        {38, 8, NAN, nullptr, -2045},
        {38, 8, -INFINITY, nullptr, -2045},
    };
    for (const Case& c : acase) {
        SCOPED_TRACE(std::to_string(c.nLen) + "," + std::to_string(c.nScale) + " " + tvdouble::PrintfFixed(c.d, 17));
        clsNumDbFld num(c.nLen, c.nScale);
        if (c.nErr != 0) {
            EXPECT_UTIL_ERROR(c.nErr, num = c.d);
            continue;
        }
        num = c.d;
        EXPECT_EQ(TextOf(num), c.pszText);
    }
}

TEST(DecimalCommaLocale, ConstructionFromDouble)
{
    EXPECT_EQ(TextOf(clsNumDbFld(2.75)), "2.75");
    EXPECT_EQ(TextOf(clsNumDbFld(-1234.56789)), "-1234.56789");
    EXPECT_EQ(TextOf(clsNumDbFld(1.1234567891)), "1.12345679");
    EXPECT_UTIL_ERROR(-2045, clsNumDbFld(std::nan("")));
}

TEST(DecimalCommaLocale, ConversionToDouble)
{
    EXPECT_EQ(static_cast<double>(NumAt(38, 8, "2.75")), 2.75);
    EXPECT_EQ(static_cast<double>(NumAt(38, 8, "-1234.5678")), -1234.5678);
    EXPECT_EQ(static_cast<double>(NumAt(10, 2, "0.01")), 0.01);
    EXPECT_EQ(static_cast<double>(NumAt(100, 8, std::string(90, '9').c_str())), 1e90);
    EXPECT_EQ(static_cast<double>(clsNumDbFld(5, 1)), 0.0);
}

TEST(DecimalCommaLocale, ComparisonsWithDoubles)
{
    const clsNumDbFld num = NumAt(38, 8, "2.75");
    EXPECT_EQ(num == 2.75, 1);
    EXPECT_EQ(2.75 == num, 1);
    EXPECT_EQ(num != 2.5, 1);
    EXPECT_EQ(2.5 != num, 1);
    EXPECT_EQ(num <= 2.76, 1);
    EXPECT_EQ(num >= 2.74, 1);
    EXPECT_EQ(num <= 2.74, 0);
    EXPECT_EQ(2.76 <= num, 0);
    // Rounded to the default scale first: equal as numbers, not as doubles.
    const clsNumDbFld numEight = NumAt(38, 8, "1.12345679");
    EXPECT_EQ(numEight == 1.1234567891, 1);
    EXPECT_EQ(1.1234567891 != numEight, 0);
    EXPECT_UTIL_ERROR(-2045, (void)(num == NAN));
}

TEST(DecimalCommaLocale, AppendDouble)
{
    EXPECT_EQ(TextOf(clsStrPlus(1.25, 2)), "1.25");
    EXPECT_EQ(TextOf(clsStrPlus(-0.125, -1)), "-0.125");
    EXPECT_EQ(TextOf(clsStrPlus(2.0, -1)), "2");
    EXPECT_EQ(TextOf(clsStrPlus(1.5, 0)), "2");
    clsStrPlus str("x=", -1);
    str.AppendDouble(3.5, 3);
    EXPECT_EQ(TextOf(str), "x=3.500");
}

TEST(DecimalCommaLocale, ToDouble)
{
    EXPECT_EQ(clsStrPlus(" -2.5 ", -1).ToDouble(), -2.5);
    EXPECT_EQ(clsStrPlus("0012.3400", -1).ToDouble(), 12.34);
    EXPECT_EQ(clsStrPlus(".", -1).ToDouble(), 0.0);
    EXPECT_UTIL_ERROR(-2045, clsStrPlus("2,5", -1).ToDouble());
}

// Random doubles: the texts and values of the "C" locale, and a double's text
// read back gives the double that the text stands for.
TEST(DecimalCommaLocale, RandomAgreeWithTheCLocale)
{
    const unsigned long long nSeed = TestSeed(20240611);
    SCOPED_TRACE(SeedNote(nSeed));
    std::mt19937_64 rng(nSeed);
    for (int nIter = 0; nIter < 20000; ++nIter) {
        const double d = tvdouble::DrawDouble(rng);
        const int nDecimals = static_cast<int>(rng() % 101);
        const std::string strExpected = tvdouble::PrintfFixed(d, nDecimals);
        ASSERT_EQ(TextOf(clsStrPlus(d, nDecimals)), strExpected) << std::hexfloat << d << " / " << nDecimals;
        const std::string strNumber = tvdouble::DrawNumberText(rng);
        ASSERT_TRUE(tvdouble::SameDouble(clsStrPlus(strNumber).ToDouble(), tvdouble::AtofC(strNumber.c_str())))
            << "'" << strNumber << "'";
    }
}

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // The locale named by the environment (LC_ALL, LC_NUMERIC, LANG).
    const char* pszLocale = std::setlocale(LC_ALL, "");
    if (!pszLocale || std::strcmp(std::localeconv()->decimal_point, ",") != 0) {
        std::fprintf(stderr, "the locale of the environment (%s) is missing or has no decimal comma\n",
                     pszLocale ? pszLocale : "none");
        return 1;
    }
    std::printf("locale: %s\n", pszLocale);
    return RUN_ALL_TESTS();
}
