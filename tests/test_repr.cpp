// The packed form, the validity check, the exponent, the digit counts and the
// text form of clsNumDbFld.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tv_test_util.h"

namespace {

// A packed string from its sign letter and signed byte values.
std::string Packed(char chSign, std::vector<int> anBytes)
{
    std::string str(1, chSign);
    for (int n : anBytes)
        str += static_cast<char>(static_cast<signed char>(n));
    return str;
}

struct PackedCase {
    const char* pszValue; // as the text form writes it
    const char* pszPacked;
};

// Values and their packed bytes; the text column is also the exact text form.
const PackedCase kPackedCases[] = {
    {"0", "'o'"},
    {"1", "'p', 10, 20"},
    {"-1", "'n', -10, -20"},
    {"10", "'p', 11, 20"},
    {"1010", "'p', 13, 20, 20"},
    {"1.05", "'p', 10, 20, 60"},
    {"99.99", "'p', 11, 109, 109"},
    {"123.45", "'p', 12, 22, 44, 60"},
    {"-123.45", "'n', -12, -22, -44, -60"},
    {"0.5", "'p', -11, 60"},
    {"-0.5", "'n', 11, -60"},
    {"0.00123", "'p', -13, 22, 40"},
    {"-0.00123", "'n', 13, -22, -40"},
    {"12.5", "'p', 11, 22, 60"},
    {"1200", "'p', 13, 22"},
    {"100", "'p', 12, 20"},
    {"0.99", "'p', -11, 109"},
    {"-0.00000001", "'n', 18, -20"},
    {"1.1", "'p', 10, 21"},
    {"99999999999999999999999999999999999999",
     "'p', 47, 109, 109, 109, 109, 109, 109, 109, 109, 109, 109, 109, 109, 109, 109, 109, 109, 109, 109, 109"},
};

TEST(NumRepr, PackedFormOfEachValue)
{
    for (const PackedCase& c : kPackedCases) {
        SCOPED_TRACE(c.pszValue);
        clsNumDbFld num(100, 8);
        num = c.pszValue;
        EXPECT_EQ(PackedText(num), c.pszPacked);
        EXPECT_EQ(BytesText(num.GetRawData()), c.pszPacked);
    }
}

// The text form read straight from packed bytes, so that it does not rest on
// the parser.
TEST(NumRepr, TextFormOfPackedBytes)
{
    for (const PackedCase& c : kPackedCases) {
        SCOPED_TRACE(c.pszValue);
        clsNumDbFld numSource(100, 8);
        numSource = c.pszValue;
        clsNumDbFld num(100, 8);
        num.SetRawData(numSource.GetRawData());
        EXPECT_EQ(std::string(num.GetText()), c.pszValue);
        EXPECT_STREQ(static_cast<const char*>(num), c.pszValue);
    }
}

TEST(NumRepr, TextFormDropsTrailingZerosAndNeedsNoScale)
{
    EXPECT_EQ(std::string(NumAt(38, 8, "1.2").GetText()), "1.2");
    EXPECT_EQ(std::string(NumAt(38, 8, "12.500").GetText()), "12.5");
    EXPECT_EQ(std::string(NumAt(10, 2, "1.50").GetText()), "1.5");
    EXPECT_EQ(std::string(NumAt(10, 0, "1200").GetText()), "1200");
    EXPECT_EQ(std::string(NumAt(10, 2, "-0.5").GetText()), "-0.5");
    EXPECT_EQ(std::string(clsNumDbFld(10, 2).GetText()), "");
}

// The longest texts: 100 integer digits, 100 decimals, and a value of length
// 101 as the division's working copies have it.
TEST(NumRepr, TextFormAtTheLimits)
{
    std::string strBig = "1" + std::string(99, '0');
    clsNumDbFld numBig(100, 0);
    numBig = strBig.c_str();
    EXPECT_EQ(PackedText(numBig), "'p', 109, 20");
    EXPECT_EQ(std::string(numBig.GetText()), strBig);

    std::string strTiny = "-0." + std::string(99, '0') + "1";
    clsNumDbFld numTiny(100, 100);
    numTiny = strTiny.c_str();
    EXPECT_EQ(PackedText(numTiny), "'n', 110, -20");
    EXPECT_EQ(std::string(numTiny.GetText()), strTiny);

    std::string strNines(100, '9');
    clsNumDbFld numNines(100, 50);
    numNines = (strNines.substr(0, 50) + "." + strNines.substr(50)).c_str();
    EXPECT_EQ(std::string(numNines.GetText()), strNines.substr(0, 50) + "." + strNines.substr(50));

    // Length 101, as the division's working copies have it: 100 integer
    // digits and one decimal in 51 digit bytes, the last with the pad digit.
    clsNumDbFld numWide(100, 0);
    NumProbe::SetFields(numWide, 101, 1);
    std::vector<int> anBytes(1, 109); // e = 99
    anBytes.insert(anBytes.end(), 50, 109);
    anBytes.push_back(100);
    numWide.SetRawData(Packed('p', anBytes).c_str());
    EXPECT_EQ(std::string(numWide.GetText()), std::string(100, '9') + ".9");
}

TEST(NumRepr, IsZero)
{
    EXPECT_EQ(clsNumDbFld().IsZero(), 1);
    EXPECT_EQ(NumAt(38, 8, "0").IsZero(), 1);
    EXPECT_EQ(NumAt(38, 8, "-0.000").IsZero(), 1);
    EXPECT_EQ(NumAt(38, 8, "0.5").IsZero(), 0);
    EXPECT_EQ(NumAt(38, 8, "-1").IsZero(), 0);
    EXPECT_EQ(NumAt(38, 8, "0.00000001").IsZero(), 0);
}

struct CountCase {
    const char* pszValue; // nullptr: the null value
    int nCurNumLen;
    int nCurScale;
    int nCurIntLen;
};

TEST(NumRepr, DigitCounts)
{
    const CountCase aCases[] = {
        {"123.45", 5, 2, 3},   {"-123.45", 5, 2, 3}, {"0.00123", 5, 5, 0},
        {"1010", 4, 0, 4},     {"100", 3, 0, 3},     {"1200", 4, 0, 4},
        {"-0.5", 1, 1, 0},     {"1.05", 3, 2, 1},    {"12.5", 3, 1, 2},
        {"0.00000001", 8, 8, 0}, {"99999999.99", 10, 2, 8}, {"1", 1, 0, 1},
        {"0", 0, 0, 0},        {nullptr, 0, 0, 0},
    };
    for (const CountCase& c : aCases) {
        SCOPED_TRACE(c.pszValue ? c.pszValue : "(null value)");
        clsNumDbFld num(38, 8);
        num = c.pszValue;
        int nNumLen = -7;
        int nScale = -7;
        num.GetCurNumLenScale(&nNumLen, &nScale);
        EXPECT_EQ(nNumLen, c.nCurNumLen);
        EXPECT_EQ(nScale, c.nCurScale);
        EXPECT_EQ(num.GetCurNumLen(), c.nCurNumLen);
        EXPECT_EQ(num.GetCurScale(), c.nCurScale);
        EXPECT_EQ(num.GetCurIntLen(), c.nCurIntLen);
        // Either pointer may be null.
        int nOnly = -7;
        num.GetCurNumLenScale(nullptr, &nOnly);
        EXPECT_EQ(nOnly, c.nCurScale);
        num.GetCurNumLenScale(&nOnly, nullptr);
        EXPECT_EQ(nOnly, c.nCurNumLen);
        num.GetCurNumLenScale(nullptr, nullptr);
    }
    // The longest value: 38 digits of which 8 decimals.
    clsNumDbFld num(38, 8);
    num = "123456789012345678901234567890.12345678";
    EXPECT_EQ(num.GetCurNumLen(), 38);
    EXPECT_EQ(num.GetCurScale(), 8);
    EXPECT_EQ(num.GetCurIntLen(), 30);
}

TEST(NumRepr, ExponentReadAndWritten)
{
    clsNumDbFld num(38, 8);
    const char* aszValues[] = {"123.45", "7", "0.00123", "-0.00123", "-1", "0.5", "-99.99"};
    const int anExp[] = {2, 0, -3, -3, 0, -1, 1};
    for (int i = 0; i < 7; ++i) {
        num = aszValues[i];
        EXPECT_EQ(num.GetExponent(), anExp[i]) << aszValues[i];
        EXPECT_EQ(num.DecodeExponent(num.GetRawData()), anExp[i]) << aszValues[i];
    }
    // DecodeExponent reads only the first two bytes of any packed value.
    EXPECT_EQ(num.DecodeExponent(Packed('n', {13}).c_str()), -3);
    EXPECT_EQ(num.DecodeExponent(Packed('p', {47}).c_str()), 37);
    EXPECT_EQ(num.DecodeExponent(Packed('n', {-10}).c_str()), 0);

    NumProbe probe(38, 8);
    probe = "123.45";
    probe.SetExponent(-3);
    EXPECT_EQ(PackedText(probe), "'p', -13, 22, 44, 60");
    EXPECT_EQ(std::string(probe.GetText()), "0.0012345");
    probe = "-123.45";
    probe.SetExponent(0);
    EXPECT_EQ(PackedText(probe), "'n', -10, -22, -44, -60");
    EXPECT_EQ(std::string(probe.GetText()), "-1.2345");
    probe.SetExponent(-1);
    EXPECT_EQ(PackedText(probe), "'n', 11, -22, -44, -60");
}

TEST(NumRepr, DefaultsAndConstruction)
{
    EXPECT_EQ(clsNumDbFld::GetDefaultLen(), 38);
    EXPECT_EQ(clsNumDbFld::GetDefaultScale(), 8);
    clsNumDbFld num;
    EXPECT_EQ(NumProbe::Len(num), 38);
    EXPECT_EQ(NumProbe::Scale(num), 8);
    EXPECT_EQ(num.GetIntLen(), 30);
    EXPECT_EQ(PackedText(num), "");
    EXPECT_EQ(std::string(NumProbe::Text(num)), "");
}

TEST(NumRepr, CopyConstructorCopiesTheValue)
{
    clsNumDbFld numSource(10, 2);
    numSource = "1.5";
    clsNumDbFld numCopy(numSource);
    EXPECT_EQ(NumProbe::Len(numCopy), 10);
    EXPECT_EQ(NumProbe::Scale(numCopy), 2);
    EXPECT_EQ(PackedText(numCopy), PackedText(numSource));
    // The text form is made when it is read, not by the copy's check.
    EXPECT_TRUE(NumProbe::Text(numCopy).IsEmpty());
    EXPECT_EQ(std::string(static_cast<const char*>(numCopy)), "1.5");

    clsNumDbFld numZero(NumAt(5, 1, "0"));
    EXPECT_EQ(std::string(static_cast<const char*>(numZero)), "0");
    clsNumDbFld numNull(clsNumDbFld(5, 1));
    EXPECT_EQ(PackedText(numNull), "");
    EXPECT_EQ(std::string(static_cast<const char*>(numNull)), "");
}

// The check writes nothing: the kept text form is the one that the last
// reading wrote, also for the null value and zero.
TEST(NumRepr, TextFormIsWrittenOnlyWhenRead)
{
    clsNumDbFld num(10, 2);
    num = "1.5";
    EXPECT_TRUE(NumProbe::Text(num).IsEmpty());
    ASSERT_EQ(std::string(static_cast<const char*>(num)), "1.5");
    ASSERT_EQ(std::string(NumProbe::Text(num)), "1.5");
    // Neither a failed parse nor a check touches it...
    EXPECT_UTIL_ERROR(-2045, num = "x");
    ASSERT_EQ(PackedText(num), "");
    num.CheckValid();
    ASSERT_EQ(std::string(NumProbe::Text(num)), "1.5");
    // ...until it is read again.
    EXPECT_EQ(std::string(static_cast<const char*>(num)), "");
    EXPECT_TRUE(NumProbe::Text(num).IsEmpty());

    num = "2.5";
    num.SetRawData("o");
    EXPECT_EQ(std::string(static_cast<const char*>(num)), "0");
    num.SetRawData(nullptr);
    EXPECT_EQ(PackedText(num), "");
    EXPECT_EQ(std::string(NumProbe::Text(num)), "0");
    EXPECT_EQ(std::string(static_cast<const char*>(num)), "");
}

// Boundary values that the check accepts.
TEST(NumRepr, CheckValidAcceptsBoundaries)
{
    clsNumDbFld num(10, 2);
    num.SetRawData(Packed('p', {17, 109, 109, 109, 109, 109}).c_str()); // 99999999.99
    EXPECT_EQ(std::string(num.GetText()), "99999999.99");
    num.SetRawData(Packed('p', {10, 22, 40}).c_str()); // 1.23: scale + 1 places, the last the pad
    EXPECT_EQ(std::string(num.GetText()), "1.23");
    num.SetRawData(Packed('n', {12, -20}).c_str()); // -0.01
    EXPECT_EQ(std::string(num.GetText()), "-0.01");
    num.SetRawData(Packed('n', {-10, -22, -40}).c_str()); // -1.23, the pad digit negated
    EXPECT_EQ(std::string(num.GetText()), "-1.23");
}

// --- the assertions of the check, reached through broken packed data -------

// The reported text as a regular expression matching it literally.
std::string Literal(const std::string& str)
{
    std::string strOut;
    for (char ch : str) {
        if (std::string("\\.^$|()[]{}*+?").find(ch) != std::string::npos)
            strOut += '\\';
        strOut += ch;
    }
    return strOut;
}

// The report names the condition, then this file of the library and a line.
std::string Report(const std::string& strCond)
{
    return Literal("!!(" + strCond + ")") + ".*tvdcndf_repr\\.cpp.*[0-9]+";
}

struct BrokenCase {
    const char* pszName;
    int nLen;
    int nScale;
    std::string strData;
    const char* pszCond;
};

class NumReprDeathTest : public ::testing::Test {
protected:
    void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(NumReprDeathTest, BrokenPackedDataStopsTheCheck)
{
    const BrokenCase aCases[] = {
        {"one byte other than o", 10, 2, "p", "m_strData[0] == 'o'"},
        {"two-byte string", 10, 2, Packed('p', {10}), "nCurStrLen > 2"},
        {"bad sign", 10, 2, Packed('x', {10, 20}), "m_strData[0] == 'n' || m_strData[0] == 'p'"},
        {"zero sign with digits", 10, 2, Packed('o', {10, 20}), "m_strData[0] == 'n' || m_strData[0] == 'p'"},
        {"exponent byte 5", 10, 2, Packed('p', {5, 20}), "nExp >= 10 || nExp <= -10"},
        {"exponent byte -9", 10, 2, Packed('n', {-9, -20}), "nExp >= 10 || nExp <= -10"},
        {"exponent 10 in a negative value", 10, 2, Packed('n', {10, -20}), "nExp > 10 || nExp <= -10"},
        {"exponent -10 in a positive value", 10, 2, Packed('p', {-10, 20}), "nExp >= 10 || nExp < -10"},
        {"exponent at the capacity", 10, 2, Packed('p', {18, 20}), "nExp < m_nDbFldLen - m_nDbFldScale"},
        {"negative exponent at the capacity", 10, 2, Packed('n', {-18, -20}),
         "nExp < m_nDbFldLen - m_nDbFldScale"},
        {"any integer digit at capacity 0", 5, 5, Packed('p', {10, 20}), "nExp < m_nDbFldLen - m_nDbFldScale"},
        {"more digit bytes than the length", 2, 2, Packed('p', {-11, 22, 40}), "nNumDigStored <= m_nDbFldLen + 1"},
        {"first digit byte below 20", 10, 2, Packed('p', {10, 19}), "*ptrData >= 20 || *ptrData <= -20"},
        {"negative first digit byte above -20", 10, 2, Packed('n', {-10, -15}), "*ptrData >= 20 || *ptrData <= -20"},
        {"positive digit byte 110", 10, 2, Packed('p', {11, 20, 110}), "*ptrData >= 10 && *ptrData < 110"},
        {"positive digit byte below 10", 10, 2, Packed('p', {11, 20, 9}), "*ptrData >= 10 && *ptrData < 110"},
        {"negative value with a positive byte", 10, 2, Packed('n', {-11, -20, 20}),
         "*ptrData <= -10 && *ptrData > -110"},
        {"negative digit byte -110", 10, 2, Packed('n', {-11, -20, -110}), "*ptrData <= -10 && *ptrData > -110"},
        {"last byte 10", 10, 2, Packed('p', {10, 20, 10}), "*ptrData > 10 || *ptrData < -10"},
        {"last byte -10", 10, 2, Packed('n', {-10, -20, -10}), "*ptrData > 10 || *ptrData < -10"},
        {"two decimals too many", 10, 2, Packed('p', {10, 22, 44, 60}), "nCurScale <= m_nDbFldScale + 1"},
        {"one decimal too many", 10, 2, Packed('p', {10, 22, 44}), "(*ptrData % 10) == 0"},
        {"one negative decimal too many", 10, 2, Packed('n', {-10, -22, -44}), "(*ptrData % 10) == 0"},
        {"a decimal at scale 0", 5, 0, Packed('p', {10, 25}), "(*ptrData % 10) == 0"},
        {"two decimals at scale 0", 5, 0, Packed('p', {-11, 60}), "nCurScale <= m_nDbFldScale + 1"},
    };
    for (const BrokenCase& c : aCases) {
        SCOPED_TRACE(c.pszName);
        EXPECT_DEATH(
            {
                clsNumDbFld num(c.nLen, c.nScale);
                num.SetRawData(c.strData.c_str());
            },
            Report(c.pszCond));
    }
}

// The check reads a value in its string block, 16 bytes at a time in windows
// that end at the value's last byte or start at its first digit byte: a bad
// digit byte is found at each window's edges, in values of every window count.
TEST_F(NumReprDeathTest, BadDigitByteIsFoundInEachWindow)
{
    for (bool bNegative : {false, true}) {
        for (int nBytes : {3, 17, 18, 19, 35, 51, 52}) {
            std::vector<int> anBytes = {bNegative ? -10 : 10}; // e = 0
            for (int i = 2; i < nBytes; ++i) {
                const int nByte = i == nBytes - 1 ? 60 : 20 + (i * 37) % 90;
                anBytes.push_back(bNegative ? -nByte : nByte);
            }
            for (int nPos : {2, 17, 18, 34, 50, nBytes - 1}) {
                if (nPos >= nBytes)
                    continue;
                std::vector<int> anBroken = anBytes;
                anBroken[static_cast<size_t>(nPos - 1)] = bNegative ? 110 : -110;
                SCOPED_TRACE(testing::Message() << nBytes << " bytes, byte " << nPos);
                EXPECT_DEATH(
                    {
                        clsNumDbFld num(100, 99);
                        num.SetRawData(Packed(bNegative ? 'n' : 'p', anBroken).c_str());
                    },
                    Report(bNegative ? "*ptrData <= -10 && *ptrData > -110" : "*ptrData >= 10 && *ptrData < 110"));
            }
        }
    }
}

TEST_F(NumReprDeathTest, BrokenFieldsStopTheCheck)
{
    struct FieldCase {
        int nLen;
        int nScale;
        const char* pszCond;
    };
    const FieldCase aCases[] = {
        {0, 0, "m_nDbFldLen > 0"},
        {10, -1, "m_nDbFldScale >= 0"},
        {10, 11, "m_nDbFldLen >= m_nDbFldScale"},
        {102, 2, "m_nDbFldLen <= MAX_NumDbFldLen + 1"},
        {101, 101, "m_nDbFldScale <= MAX_NumDbFldLen"},
    };
    for (const FieldCase& c : aCases) {
        SCOPED_TRACE(std::to_string(c.nLen) + ", " + std::to_string(c.nScale));
        EXPECT_DEATH(
            {
                clsNumDbFld num(10, 2);
                NumProbe::SetFields(num, c.nLen, c.nScale);
                num.CheckValid();
            },
            Report(c.pszCond));
    }
    // Length 101, the division's working length, passes.
    clsNumDbFld num(10, 2);
    NumProbe::SetFields(num, 101, 100);
    num.CheckValid();
    EXPECT_EQ(std::string(NumProbe::Text(num)), "");
}

} // namespace
