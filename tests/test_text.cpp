// Text in and out: the parser's grammar, assignment from the built-in types,
// raw access to the packed form and the stream operators.
#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <limits>
#include <random>
#include <sstream>
#include <string>

#include "tv_ref_decimal.h"
#include "tv_test_util.h"

namespace {

struct ParseCase {
    int nLen;
    int nScale;
    const char* pszText;
    int nErr;            // 0: success
    const char* pszWant; // the text form after success
};

// Known answers. Every row is also put to the model, which the random tests
// below then use as their reference.
const ParseCase kParseCases[] = {
    // Length 10, scale 2 (integer capacity 8).
    {10, 2, "", 0, ""},
    {10, 2, "   ", 0, "0"},
    {10, 2, "-", 0, "0"},
    {10, 2, "+", 0, "0"},
    {10, 2, ".", 0, "0"},
    {10, 2, "-0", 0, "0"},
    {10, 2, "-0.000", 0, "0"},
    {10, 2, "000", 0, "0"},
    {10, 2, " - ", 0, "0"},
    {10, 2, "  -12.50  ", 0, "-12.5"},
    {10, 2, "0012.5", 0, "12.5"},
    {10, 2, ".5", 0, "0.5"},
    {10, 2, "0.5", 0, "0.5"},
    {10, 2, "5.", 0, "5"},
    {10, 2, "+7", 0, "7"},
    {10, 2, "1.234", 0, "1.23"},
    {10, 2, "1.235", 0, "1.24"},
    {10, 2, "-1.235", 0, "-1.24"},
    {10, 2, "1.2349", 0, "1.23"},
    {10, 2, "0.005", 0, "0.01"},
    {10, 2, "-0.005", 0, "-0.01"},
    {10, 2, "0.004", 0, "0"},
    {10, 2, "-0.004", 0, "0"},
    {10, 2, "0.0001", 0, "0"},
    {10, 2, "1.995", 0, "2"},
    {10, 2, "99999999.994", 0, "99999999.99"},
    {10, 2, "99999999.995", -2053, ""},
    {10, 2, "-99999999.995", -2053, ""},
    // Decimals beyond the scale: the first one alone decides the rounding,
    // the rest are read to the end of the text and judged like any other.
    {10, 2, "1.2349999", 0, "1.23"},
    {10, 2, "1.2350001", 0, "1.24"},
    {10, 2, "-1.2350001", 0, "-1.24"},
    {10, 2, "1.234  ", 0, "1.23"},
    {10, 2, "1.2349 ", 0, "1.23"},
    {10, 2, "0.0000005 ", 0, "0"},
    {10, 2, "1.231xyz", -2045, ""},
    {10, 2, "1.2351xyz", -2045, ""},
    {10, 2, "1.23456e5", -2045, ""},
    {10, 2, "1.234 x", -2045, ""},
    {10, 2, "1.2349 5", -2045, ""},
    {10, 2, "1.2349.", -2044, ""},
    {10, 2, "1.234.5", -2044, ""},
    {10, 2, "1.2345-", -2054, ""},
    {10, 2, "1.2341 +", -2054, ""},
    {10, 2, "1.235xyz", -2045, ""},
    {10, 2, "1.235.", -2044, ""},
    {10, 2, "1.235 ", 0, "1.24"},
    {10, 2, "1.235 x", -2045, ""},
    {10, 2, "1.235-", -2054, ""},
    {10, 2, "1.23x", -2045, ""},
    {10, 2, "1.2x", -2045, ""},
    {10, 2, "0.001x", -2045, ""},
    {10, 2, "0.0000x", -2045, ""},
    {10, 2, "0.000x", -2045, ""},
    {10, 2, ".000x", -2045, ""},
    {10, 2, "0.00001.", -2044, ""},
    {10, 2, "0.0000-", -2054, ""},
    {10, 2, ".0005", 0, "0"},
    {10, 2, "0.00 ", 0, "0"},
    // A tail that is no number fails before the rounding carry would.
    {10, 2, "99999999.9951x", -2045, ""},
    {10, 2, "99999999.9951 ", -2053, ""},
    {10, 2, "1.2.3", -2044, ""},
    {10, 2, "..", -2044, ""},
    {10, 2, "12-", -2054, ""},
    {10, 2, "--5", -2054, ""},
    {10, 2, "+-5", -2054, ""},
    {10, 2, "12 +", -2054, ""},
    {10, 2, " 12 -", -2054, ""},
    {10, 2, "12 3", -2045, ""},
    {10, 2, "- 5", -2045, ""},
    {10, 2, "1e5", -2045, ""},
    {10, 2, "0x10", -2045, ""},
    {10, 2, "abc", -2045, ""},
    {10, 2, "5\t", -2045, ""},
    {10, 2, "\t5", -2045, ""},
    {10, 2, "12 .5", -2045, ""},
    {10, 2, "12345678", 0, "12345678"},
    {10, 2, "-12345678.99", 0, "-12345678.99"},
    {10, 2, "123456789", -2053, ""},
    {10, 2, "123456789x", -2053, ""},
    {10, 2, "123456789.", -2053, ""},
    {10, 2, "12345678x", -2045, ""},
    {10, 2, "00000000000000000012345678.5", 0, "12345678.5"},
    {10, 2, "10000000", 0, "10000000"},
    {10, 2, "1200.00", 0, "1200"},
    // Length 38, scale 8.
    {38, 8, "1.123456789", 0, "1.12345679"},
    {38, 8, "01.12345679000", 0, "1.12345679"},
    {38, 8, "0.000000005", 0, "0.00000001"},
    {38, 8, "0.0000000049", 0, "0"},
    {38, 8, "123456789012345678901234567890", 0, "123456789012345678901234567890"},
    {38, 8, "1234567890123456789012345678901", -2053, ""},
    // Capacity 0.
    {5, 5, "0.5", 0, "0.5"},
    {5, 5, ".99999", 0, "0.99999"},
    {5, 5, "0.999994", 0, "0.99999"},
    {5, 5, "0.999995", -2053, ""},
    {5, 5, "1", -2053, ""},
    {5, 5, "-1", -2053, ""},
    {5, 5, "0", 0, "0"},
    {5, 5, "00.000005", 0, "0.00001"},
    {5, 5, "0.0000000x", -2045, ""},
    {5, 5, "0.0000000 ", 0, "0"},
    {5, 5, "0.000000x", -2045, ""},
    {5, 5, "0.00000x", -2045, ""},
    // Scale 0: the first decimal is the rounding digit.
    {10, 0, "0.5", 0, "1"},
    {10, 0, "-0.5", 0, "-1"},
    {10, 0, "2.4", 0, "2"},
    {10, 0, "2.5", 0, "3"},
    {10, 0, "0.0005", 0, "0"},
    {10, 0, ".5x", -2045, ""},
    {10, 0, ".4x", -2045, ""},
    {10, 0, ".0x", -2045, ""},
    {10, 0, ".00x", -2045, ""},
    {10, 0, "2.49.", -2044, ""},
    {10, 0, "7.", 0, "7"},
    {10, 0, "9999999999.5", -2053, ""},
    {1, 0, "9", 0, "9"},
    {1, 0, "9.4", 0, "9"},
    {1, 0, "9.5", -2053, ""},
    {1, 0, "10", -2053, ""},
    {1, 1, ".5", 0, "0.5"},
    {1, 1, "0.96", -2053, ""},
    // The widest numbers.
    {100, 0, "-1234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890",
     0, "-1234567890123456789012345678901234567890123456789012345678901234567890123456789012345678901234567890"},
    {100, 100, ".00000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000005", 0,
     "0.0000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000000001"},
};

std::string CaseName(int nLen, int nScale, const std::string& strText)
{
    return "'" + strText + "' at (" + std::to_string(nLen) + ", " + std::to_string(nScale) + ")";
}

// Parses strText into a number at (nLen, nScale) that held another value and
// checks the outcome: the value, or the error with the null value, the
// length and the scale unchanged.
::testing::AssertionResult ParsesAs(int nLen, int nScale, const std::string& strText, const tvref::Outcome& want)
{
    clsNumDbFld num(nLen, nScale);
    num = nLen > nScale ? "7" : "0.7";
    int nGot = 0;
    try {
        num.ParseStr(strText.c_str());
    } catch (const clsUtilException& e) {
        nGot = e.m_nErrCode;
    }
    if (nGot != want.nErr)
        return ::testing::AssertionFailure() << "code " << nGot << ", expected " << want.nErr;
    if (NumProbe::Len(num) != nLen || NumProbe::Scale(num) != nScale)
        return ::testing::AssertionFailure() << "length or scale changed";
    if (nGot != 0) {
        if (!NumProbe::Data(num).IsEmpty() || !num.IsZero() || TextOf(num) != "")
            return ::testing::AssertionFailure() << "failed parse left " << PackedText(num);
        return ::testing::AssertionSuccess();
    }
    if (TextOf(num) != want.strText)
        return ::testing::AssertionFailure() << "gave '" << TextOf(num) << "', expected '" << want.strText << "'";
    // The text form is kept only once it is read.
    if (std::string(static_cast<const char*>(num)) != want.strText || std::string(NumProbe::Text(num)) != want.strText)
        return ::testing::AssertionFailure() << "kept text form '" << NumProbe::Text(num) << "'";
    // The value has the one packed form of its text.
    clsNumDbFld numCanon(nLen, nScale);
    numCanon = want.strText.c_str();
    if (PackedText(num) != PackedText(numCanon))
        return ::testing::AssertionFailure() << "packed " << PackedText(num) << ", canonical " << PackedText(numCanon);
    return ::testing::AssertionSuccess();
}

TEST(NumParse, TextsGiveTheirValueOrError)
{
    for (const ParseCase& c : kParseCases) {
        SCOPED_TRACE(CaseName(c.nLen, c.nScale, c.pszText));
        tvref::Outcome want{c.nErr, c.pszWant};
        EXPECT_TRUE(ParsesAs(c.nLen, c.nScale, c.pszText, want));
        tvref::Outcome model = tvref::Parse(c.pszText, c.nLen, c.nScale);
        EXPECT_EQ(model.nErr, c.nErr) << "model";
        EXPECT_EQ(model.strText, c.pszWant) << "model";
    }
}

TEST(NumParse, NullPointerAndOtherEntries)
{
    clsNumDbFld num(10, 2);
    num = "5";
    num.ParseStr(static_cast<const char*>(nullptr));
    EXPECT_EQ(PackedText(num), "");
    num.ParseStr(CString(" -3.5"));
    EXPECT_EQ(TextOf(num), "-3.5");
    num = CString("4.25");
    EXPECT_EQ(TextOf(num), "4.25");
    EXPECT_UTIL_ERROR(-2045, num.ParseStr(CString("4x")));
    EXPECT_EQ(PackedText(num), "");
    // ParseStr returns the number itself.
    EXPECT_EQ(&num.ParseStr("1"), &num);

    clsNumDbFld numText("12.123456789");
    EXPECT_EQ(NumProbe::Len(numText), 38);
    EXPECT_EQ(NumProbe::Scale(numText), 8);
    EXPECT_EQ(TextOf(numText), "12.12345679");
    clsNumDbFld numStd(CString("-0.5"));
    EXPECT_EQ(TextOf(numStd), "-0.5");
    EXPECT_UTIL_ERROR(-2054, clsNumDbFld numBad("1-"));
}

// Texts far longer than any number: only the places up to the rounding
// digit are written, and every character after it is still read and judged.
TEST(NumParse, LongTexts)
{
    const std::string strZeros(5000, '0');
    const std::string strNines(5000, '9');
    EXPECT_TRUE(ParsesAs(10, 2, strZeros + "5", {0, "5"}));
    EXPECT_TRUE(ParsesAs(10, 2, "0." + strZeros + "1", {0, "0"}));
    EXPECT_TRUE(ParsesAs(10, 2, "-1." + strNines, {0, "-2"}));
    EXPECT_TRUE(ParsesAs(10, 2, "1.23" + strZeros + "1" + strNines + "  ", {0, "1.23"}));
    EXPECT_TRUE(ParsesAs(10, 2, "1.23" + strZeros + "x", {-2045, ""}));
    EXPECT_TRUE(ParsesAs(10, 2, "0." + strZeros + "x", {-2045, ""}));
    EXPECT_TRUE(ParsesAs(10, 2, "1.235" + strZeros + ".", {-2044, ""}));
    EXPECT_TRUE(ParsesAs(10, 2, "1.2" + strNines + " -", {-2054, ""}));
    EXPECT_TRUE(ParsesAs(10, 2, strNines, {-2053, ""}));
    EXPECT_TRUE(ParsesAs(100, 100, "." + strNines, {-2053, ""}));
    EXPECT_TRUE(ParsesAs(100, 99, "." + strNines, {0, "1"}));
    EXPECT_TRUE(ParsesAs(10, 2, std::string(5000, ' ') + "7" + std::string(5000, ' '), {0, "7"}));
}

// A number may read its own text, and take its own packed form.
TEST(NumParse, OwnTextAndOwnPackedForm)
{
    clsNumDbFld num(10, 2);
    num = "-12.5";
    num.ParseStr(static_cast<const char*>(num));
    EXPECT_EQ(PackedText(num), "'n', -11, -22, -60");
    num = static_cast<const char*>(num);
    EXPECT_EQ(PackedText(num), "'n', -11, -22, -60");
    num.SetRawData(num.GetRawData());
    EXPECT_EQ(PackedText(num), "'n', -11, -22, -60");
    // The packed form is no text: it fails, and leaves the null value.
    EXPECT_UTIL_ERROR(-2045, num.ParseStr(num.GetRawData()));
    EXPECT_EQ(PackedText(num), "");
}

// Random texts over the characters that matter to the grammar, at lengths
// and scales that put the capacity and the rounding digit close together.
TEST(NumParse, RandomTextsAgreeWithTheModel)
{
    const unsigned uSeed = FreshTestSeed();
    SCOPED_TRACE(SeedNote(uSeed));
    std::mt19937 rng(uSeed);
    const int anLenScale[][2] = {{10, 2}, {5, 5}, {10, 0}, {1, 0}, {1, 1}, {3, 1}, {4, 2}, {38, 8}, {2, 2}};
    const char aChars[] = "000011599.. +-x\t";
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof(aChars)) - 2);
    int anSeen[5] = {}; // successes, -2044, -2045, -2053, -2054
    for (int nIter = 0; nIter < 20000; ++nIter) {
        const int* pnLS = anLenScale[nIter % 9];
        int nChars = std::uniform_int_distribution<int>(0, 12)(rng);
        std::string strText;
        for (int i = 0; i < nChars; ++i)
            strText += aChars[pick(rng)];
        SCOPED_TRACE(CaseName(pnLS[0], pnLS[1], strText));
        tvref::Outcome want = tvref::Parse(strText, pnLS[0], pnLS[1]);
        ASSERT_TRUE(ParsesAs(pnLS[0], pnLS[1], strText, want));
        ++anSeen[want.nErr == 0 ? 0 : want.nErr == -2044 ? 1 : want.nErr == -2045 ? 2 : want.nErr == -2053 ? 3 : 4];
    }
    for (int n : anSeen)
        EXPECT_GT(n, 100);
}

// Well-formed texts with many digits: leading zeros, long fractions, signs
// and blanks, checked against the model's exact rounding.
TEST(NumParse, RandomNumbersAgreeWithTheModel)
{
    const unsigned uSeed = FreshTestSeed();
    SCOPED_TRACE(SeedNote(uSeed));
    std::mt19937 rng(uSeed);
    auto Digits = [&](int nCount, int nZeroBias) {
        std::string str;
        for (int i = 0; i < nCount; ++i) {
            int d = std::uniform_int_distribution<int>(0, 9 + nZeroBias)(rng);
            str += d > 9 ? (d % 2 ? '9' : '0') : static_cast<char>('0' + d);
        }
        return str;
    };
    for (int nIter = 0; nIter < 5000; ++nIter) {
        int nLen = std::uniform_int_distribution<int>(1, 100)(rng);
        int nScale = std::uniform_int_distribution<int>(0, nLen)(rng);
        int nCap = nLen - nScale;
        std::string strText(std::uniform_int_distribution<int>(0, 2)(rng), ' ');
        int nSign = std::uniform_int_distribution<int>(0, 2)(rng);
        if (nSign)
            strText += nSign == 1 ? '-' : '+';
        strText += std::string(std::uniform_int_distribution<int>(0, 3)(rng), '0');
        int nInt = std::uniform_int_distribution<int>(0, nCap + 1)(rng);
        strText += Digits(nInt, 4);
        if (rng() % 4) {
            strText += '.';
            strText += Digits(std::uniform_int_distribution<int>(0, nScale + 3)(rng), 6);
        }
        strText += std::string(std::uniform_int_distribution<int>(0, 2)(rng), ' ');
        SCOPED_TRACE(CaseName(nLen, nScale, strText));
        ASSERT_TRUE(ParsesAs(nLen, nScale, strText, tvref::Parse(strText, nLen, nScale)));
    }
}

// The text form reads back to the same packed value at every length and scale.
TEST(NumParse, TextFormRoundTrips)
{
    const unsigned uSeed = FreshTestSeed();
    SCOPED_TRACE(SeedNote(uSeed));
    std::mt19937 rng(uSeed);
    for (int nIter = 0; nIter < 5000; ++nIter) {
        int nLen = nIter < 100 ? nIter + 1 : std::uniform_int_distribution<int>(1, 100)(rng);
        int nScale = std::uniform_int_distribution<int>(0, nLen)(rng);
        std::string strInt, strFrac;
        int nInt = std::uniform_int_distribution<int>(0, nLen - nScale)(rng);
        int nFrac = std::uniform_int_distribution<int>(0, nScale)(rng);
        for (int i = 0; i < nInt; ++i)
            strInt += static_cast<char>('0' + rng() % 10);
        for (int i = 0; i < nFrac; ++i)
            strFrac += static_cast<char>('0' + (rng() % 3 ? rng() % 10 : 0));
        std::string strValue = tvref::CanonText(rng() % 2 == 0, strInt, strFrac);
        SCOPED_TRACE(CaseName(nLen, nScale, strValue));

        clsNumDbFld num(nLen, nScale);
        num.ParseStr(strValue.c_str());
        std::string strText = TextOf(num);
        ASSERT_EQ(strText, strValue);
        clsNumDbFld numBack(nLen, nScale);
        numBack.ParseStr(strText.c_str());
        ASSERT_EQ(PackedText(numBack), PackedText(num));
        // SetRawData takes the packed form back as it is.
        clsNumDbFld numRaw(nLen, nScale);
        numRaw.SetRawData(num.GetRawData());
        ASSERT_EQ(TextOf(numRaw), strValue);
    }
}

// --- assignment from the built-in types ------------------------------------

TEST(NumAssignBuiltIn, Integers)
{
    clsNumDbFld num(38, 8);
    num = 0L;
    EXPECT_EQ(PackedText(num), "'o'");
    num = 1L;
    EXPECT_EQ(PackedText(num), "'p', 10, 20");
    num = -5L;
    EXPECT_EQ(TextOf(num), "-5");
    num = LONG_MAX;
    EXPECT_EQ(TextOf(num), "9223372036854775807");
    num = LONG_MIN;
    EXPECT_EQ(TextOf(num), "-9223372036854775808");
    num = 4294967296L;
    EXPECT_EQ(TextOf(num), "4294967296");
    num = -2147483649L;
    EXPECT_EQ(TextOf(num), "-2147483649");
    num = ULONG_MAX;
    EXPECT_EQ(TextOf(num), "18446744073709551615");
    num = static_cast<ULONG>(0);
    EXPECT_EQ(PackedText(num), "'o'");
    num = static_cast<ULONG>(1);
    EXPECT_EQ(TextOf(num), "1");
    num = static_cast<short>(-32768);
    EXPECT_EQ(TextOf(num), "-32768");
    num = static_cast<USHORT>(65535);
    EXPECT_EQ(TextOf(num), "65535");
    num = INT_MIN;
    EXPECT_EQ(TextOf(num), "-2147483648");
    num = UINT_MAX;
    EXPECT_EQ(TextOf(num), "4294967295");

    // The constructors, at the default length and scale.
    EXPECT_EQ(TextOf(clsNumDbFld(static_cast<short>(-7))), "-7");
    EXPECT_EQ(TextOf(clsNumDbFld(static_cast<USHORT>(7))), "7");
    EXPECT_EQ(TextOf(clsNumDbFld(-70)), "-70");
    EXPECT_EQ(TextOf(clsNumDbFld(70u)), "70");
    EXPECT_EQ(TextOf(clsNumDbFld(-9000000000L)), "-9000000000");
    EXPECT_EQ(TextOf(clsNumDbFld(9000000000UL)), "9000000000");
    EXPECT_EQ(NumProbe::Len(clsNumDbFld(3)), 38);
    EXPECT_EQ(NumProbe::Scale(clsNumDbFld(3)), 8);

    // At (19, 0) the largest ULONG needs a twentieth digit.
    clsNumDbFld numNarrow(19, 0);
    numNarrow = 7L;
    EXPECT_UTIL_ERROR(-2053, numNarrow = ULONG_MAX);
    EXPECT_EQ(PackedText(numNarrow), "");
    numNarrow = LONG_MAX;
    EXPECT_EQ(TextOf(numNarrow), "9223372036854775807");
    EXPECT_UTIL_ERROR(-2053, clsNumDbFld::SetDefaultLenScale(19, 0); clsNumDbFld numDef(ULONG_MAX));
    clsNumDbFld::SetDefaultLenScale(38, 8);
}

// At capacity 0 the value 1 comes from the global one and fails in the
// assignment between numbers, which keeps the old value; every other value
// that does not fit fails in the parse, which leaves the null value.
TEST(NumAssignBuiltIn, ValueOneAtCapacityZeroKeepsTheOldValue)
{
    clsNumDbFld num(5, 5);
    num = "0.25";
    EXPECT_UTIL_ERROR(-2053, num = 1L);
    EXPECT_EQ(TextOf(num), "0.25");
    EXPECT_UTIL_ERROR(-2053, num = 1);
    EXPECT_EQ(TextOf(num), "0.25");
    EXPECT_UTIL_ERROR(-2053, num = static_cast<ULONG>(1));
    EXPECT_EQ(TextOf(num), "0.25");
    EXPECT_UTIL_ERROR(-2053, num = 1.0);
    EXPECT_EQ(TextOf(num), "0.25");
    EXPECT_UTIL_ERROR(-2053, num = "1");
    EXPECT_EQ(PackedText(num), "");

    num = "0.25";
    EXPECT_UTIL_ERROR(-2053, num = 2L);
    EXPECT_EQ(PackedText(num), "");
    num = "0.25";
    EXPECT_UTIL_ERROR(-2053, num = -1L);
    EXPECT_EQ(PackedText(num), "");
    num = 0L;
    EXPECT_EQ(PackedText(num), "'o'");
    EXPECT_EQ(NumProbe::Len(num), 5);
    EXPECT_EQ(NumProbe::Scale(num), 5);
}

TEST(NumAssignBuiltIn, RandomIntegersAgreeWithTheModel)
{
    const unsigned uSeed = FreshTestSeed();
    SCOPED_TRACE(SeedNote(uSeed));
    std::mt19937_64 rng(uSeed);
    for (int nIter = 0; nIter < 5000; ++nIter) {
        int nLen = std::uniform_int_distribution<int>(1, 25)(rng);
        int nScale = std::uniform_int_distribution<int>(0, nLen)(rng);
        // Magnitudes of every width, from one digit to the full 64 bits.
        ULONG uValue = rng() >> std::uniform_int_distribution<int>(0, 63)(rng);
        if (nIter % 50 == 0)
            uValue = nIter % 100 ? 1 : 0;
        bool bSigned = rng() % 2 == 0;
        long nValue = static_cast<long>(uValue);
        std::string strValue = bSigned ? std::to_string(nValue) : std::to_string(uValue);
        SCOPED_TRACE(CaseName(nLen, nScale, strValue));
        tvref::Outcome want = tvref::Parse(strValue, nLen, nScale);

        clsNumDbFld num(nLen, nScale);
        num = nLen > nScale ? "3" : "0.3";
        std::string strBefore = PackedText(num);
        int nGot = 0;
        try {
            if (bSigned)
                num = nValue;
            else
                num = uValue;
        } catch (const clsUtilException& e) {
            nGot = e.m_nErrCode;
        }
        ASSERT_EQ(nGot, want.nErr);
        if (nGot != 0)
            ASSERT_EQ(PackedText(num), uValue == 1 ? strBefore : "");
        else
            ASSERT_EQ(TextOf(num), want.strText);
        ASSERT_EQ(NumProbe::Len(num), nLen);
        ASSERT_EQ(NumProbe::Scale(num), nScale);
    }
}

TEST(NumAssignBuiltIn, Doubles)
{
    clsNumDbFld num(10, 2);
    num = 2.675; // the double lies just below 2.675
    EXPECT_EQ(TextOf(num), "2.67");
    num = "2.675";
    EXPECT_EQ(TextOf(num), "2.68");
    num = 2.5;
    EXPECT_EQ(TextOf(num), "2.5");
    num = -1.005; // just above -1.005
    EXPECT_EQ(TextOf(num), "-1");
    num = -0.0;
    EXPECT_EQ(PackedText(num), "'o'");
    num = 0.001;
    EXPECT_EQ(PackedText(num), "'o'");
    num = -0.001; // written as -0.00
    EXPECT_EQ(PackedText(num), "'o'");
    num = 1.0;
    EXPECT_EQ(PackedText(num), "'p', 10, 20");
    num = 12345678.994;
    EXPECT_EQ(TextOf(num), "12345678.99");
    num = 5.0;
    EXPECT_UTIL_ERROR(-2053, num = 123456789.0);
    EXPECT_EQ(PackedText(num), "");

    const double adBad[] = {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (double d : adBad) {
        num = 5.0;
        EXPECT_UTIL_ERROR(-2045, num = d);
        EXPECT_EQ(PackedText(num), "");
        EXPECT_EQ(NumProbe::Len(num), 10);
        EXPECT_EQ(NumProbe::Scale(num), 2);
    }

    clsNumDbFld numDefault(38, 8);
    numDefault = 5.0;
    EXPECT_UTIL_ERROR(-2053, numDefault = 1e31);
    EXPECT_EQ(PackedText(numDefault), "");
    numDefault = 1e29;
    EXPECT_EQ(TextOf(numDefault), "99999999999999991433150857216");
    numDefault = 0.1;
    EXPECT_EQ(TextOf(numDefault), "0.1");
    numDefault = 1e-9;
    EXPECT_EQ(PackedText(numDefault), "'o'");
    EXPECT_EQ(TextOf(clsNumDbFld(-0.25)), "-0.25");
    EXPECT_EQ(NumProbe::Scale(clsNumDbFld(0.25)), 8);

    // The extremes: the largest double needs 309 digits, the smallest is 0 at
    // any scale but the widest.
    clsNumDbFld numWide(100, 0);
    EXPECT_UTIL_ERROR(-2053, numWide = DBL_MAX);
    numWide = -std::ldexp(1.0, 330); // exact in binary, 100 digits in decimal
    EXPECT_EQ(TextOf(numWide),
              "-2187250724783011924372502227117621365353169430893212436425770606409952999199375923223513177023053824");
    EXPECT_UTIL_ERROR(-2053, numWide = std::ldexp(1.0, 333));
    clsNumDbFld numFine(100, 100);
    numFine = DBL_MIN;
    EXPECT_EQ(PackedText(numFine), "'o'");
    numFine = 0.5;
    EXPECT_EQ(TextOf(numFine), "0.5");
}

// Any double either gives the value that its "%.*f" text has at the scale,
// or an error with the null value.
TEST(NumAssignBuiltIn, RandomDoublesAgreeWithTheModel)
{
    const unsigned uSeed = FreshTestSeed();
    SCOPED_TRACE(SeedNote(uSeed));
    std::mt19937_64 rng(uSeed);
    for (int nIter = 0; nIter < 3000; ++nIter) {
        int nLen = std::uniform_int_distribution<int>(1, 40)(rng);
        int nScale = std::uniform_int_distribution<int>(0, std::min(nLen, 20))(rng);
        double d = std::ldexp(std::uniform_real_distribution<double>(-1.0, 1.0)(rng),
                              std::uniform_int_distribution<int>(-40, 80)(rng));
        char szBuf[512];
        std::snprintf(szBuf, sizeof(szBuf), "%.*f", nScale, d);
        SCOPED_TRACE(CaseName(nLen, nScale, szBuf));
        tvref::Outcome want = tvref::Parse(szBuf, nLen, nScale);
        clsNumDbFld num(nLen, nScale);
        int nGot = 0;
        try {
            num = d;
        } catch (const clsUtilException& e) {
            nGot = e.m_nErrCode;
        }
        ASSERT_EQ(nGot, want.nErr);
        ASSERT_EQ(TextOf(num), want.strText);
    }
}

// --- raw data, the text of a number and the streams ------------------------

TEST(NumTextOut, RawDataAndText)
{
    clsNumDbFld num(10, 2);
    EXPECT_STREQ(num.GetRawData(), "");
    num = "0";
    EXPECT_STREQ(num.GetRawData(), "o");
    clsNumDbFld numSource = NumAt(38, 8, "-12.5");
    num.SetRawData(numSource.GetRawData());
    EXPECT_EQ(PackedText(num), "'n', -11, -22, -60");
    EXPECT_EQ(NumProbe::Len(num), 10);
    num.SetRawData(nullptr);
    EXPECT_EQ(PackedText(num), "");
    num.SetRawData("");
    EXPECT_EQ(PackedText(num), "");

    num = "12.5";
    const char* psz = num;
    EXPECT_STREQ(psz, "12.5");
    EXPECT_EQ(std::string(clsStrPlus(num)), "12.5");
    clsStrPlus str;
    str = NumAt(10, 2, "-0.05");
    EXPECT_EQ(std::string(str), "-0.05");
}

TEST(NumTextOut, StreamOutput)
{
    std::ostringstream os;
    os << NumAt(38, 8, "1200") << '|' << NumAt(38, 8, "100") << '|' << NumAt(38, 8, "0.001") << '|'
       << clsNumDbFld(5, 1) << '|' << NumAt(5, 1, "0");
    EXPECT_EQ(os.str(), "1200|100|0.001||0");
    std::ostringstream osWide;
    osWide.width(8);
    osWide.fill('*');
    osWide << NumAt(38, 8, "-1.5");
    EXPECT_EQ(osWide.str(), "****-1.5");
}

TEST(NumTextOut, StreamInput)
{
    std::istringstream is("  12.5\n-3  abc 7");
    clsNumDbFld num(10, 2);
    is >> num;
    EXPECT_EQ(TextOf(num), "12.5");
    is >> num;
    EXPECT_EQ(TextOf(num), "-3");
    // A word that is not a number raises its error, consumed.
    EXPECT_UTIL_ERROR(-2045, is >> num);
    EXPECT_EQ(PackedText(num), "");
    is >> num;
    EXPECT_EQ(TextOf(num), "7");
    // At the end: the null value, and the stream carries the failure.
    is >> num;
    EXPECT_EQ(PackedText(num), "");
    EXPECT_TRUE(is.fail());
}

} // namespace
