// Conversions of clsNumDbFld to the built-in types and to CString: through the
// number's text form, whole numbers only for the integer types, 16-bit and
// 32-bit bounds (long and ULONG keep the 32-bit ones on this 64-bit platform),
// and neither a change nor a validity check of the number.
#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>

#include "tv_test_util.h"

namespace {

// What a conversion to an integer type gave: a value, or the code it raised.
struct IntOutcome {
    int nCode;         // 0: converted
    long long nValue;  // the value converted (0 with a code)

    bool operator==(const IntOutcome& other) const { return nCode == other.nCode && nValue == other.nValue; }
};

std::ostream& operator<<(std::ostream& os, const IntOutcome& outcome)
{
    if (outcome.nCode != 0)
        return os << "error " << outcome.nCode;
    return os << "value " << outcome.nValue;
}

constexpr IntOutcome Val(long long n)
{
    return {0, n};
}
constexpr IntOutcome Err(int nCode)
{
    return {nCode, 0};
}

template <class T>
IntOutcome ConvertTo(const clsNumDbFld& num)
{
    try {
        T value = static_cast<T>(num);
        return Val(static_cast<long long>(value));
    } catch (const clsUtilException& e) {
        return Err(e.m_nErrCode);
    }
}

// A number at the default length and scale from a text; nullptr gives the
// null value.
clsNumDbFld DefaultNum(const char* pszValue)
{
    clsNumDbFld num;
    if (pszValue)
        num = pszValue;
    return num;
}

struct ConvCase {
    const char* pszNum; // parsed at (38, 8); nullptr: the null value
    IntOutcome shortOut;
    IntOutcome ushortOut;
    IntOutcome intOut;  // int and long alike
    IntOutcome uintOut; // UINT and ULONG alike
    double dValue;
    const char* pszText; // operator CString
};

// clang-format off
const ConvCase kConvCases[] = {
    // number                 short        USHORT       int, long           UINT, ULONG        double          CString
    {nullptr,                 Val(0),      Val(0),      Val(0),             Val(0),            0.0,            ""},
    {"0",                     Val(0),      Val(0),      Val(0),             Val(0),            0.0,            "0"},
    {"1.5",                   Err(-2044),  Err(-2044),  Err(-2044),         Err(-2044),        1.5,            "1.5"},
    {"-1",                    Val(-1),     Err(-2047),  Val(-1),            Err(-2047),        -1.0,           "-1"},
    {"40000",                 Err(-2048),  Val(40000),  Val(40000),         Val(40000),        40000.0,        "40000"},
    {"70000",                 Err(-2048),  Err(-2049),  Val(70000),         Val(70000),        70000.0,        "70000"},
    {"-40000",                Err(-2048),  Err(-2047),  Val(-40000),        Err(-2047),        -40000.0,       "-40000"},
    {"3000000000",            Err(-2050),  Err(-2049),  Err(-2050),         Val(3000000000),   3e9,            "3000000000"},
    {"5000000000",            Err(-2050),  Err(-2051),  Err(-2050),         Err(-2051),        5e9,            "5000000000"},
    // With decimals: the sign is seen first by the unsigned types.
    {"-1.5",                  Err(-2044),  Err(-2047),  Err(-2044),         Err(-2047),        -1.5,           "-1.5"},
    {"-0.5",                  Err(-2044),  Err(-2047),  Err(-2044),         Err(-2047),        -0.5,           "-0.5"},
    {"0.001",                 Err(-2044),  Err(-2044),  Err(-2044),         Err(-2044),        0.001,          "0.001"},
    {"1.123456789",           Err(-2044),  Err(-2044),  Err(-2044),         Err(-2044),        1.12345679,     "1.12345679"},
    // Decimal zeros are not part of the text form, so they do not stand in the way.
    {"12.000",                Val(12),     Val(12),     Val(12),            Val(12),           12.0,           "12"},
    // Integer zeros that the packed form does not store.
    {"1200",                  Val(1200),   Val(1200),   Val(1200),          Val(1200),         1200.0,         "1200"},
    // 16-bit bounds.
    {"32767",                 Val(32767),  Val(32767),  Val(32767),         Val(32767),        32767.0,        "32767"},
    {"32768",                 Err(-2048),  Val(32768),  Val(32768),         Val(32768),        32768.0,        "32768"},
    {"-32768",                Val(-32768), Err(-2047),  Val(-32768),        Err(-2047),        -32768.0,       "-32768"},
    {"-32769",                Err(-2048),  Err(-2047),  Val(-32769),        Err(-2047),        -32769.0,       "-32769"},
    {"65535",                 Err(-2048),  Val(65535),  Val(65535),         Val(65535),        65535.0,        "65535"},
    {"65536",                 Err(-2048),  Err(-2049),  Val(65536),         Val(65536),        65536.0,        "65536"},
    // 32-bit bounds: the magnitude is limited to 2147483647 for both signs.
    // Within them short and USHORT raise their own codes, beyond them the 32-bit ones.
    {"2147483647",            Err(-2048),  Err(-2049),  Val(2147483647),    Val(2147483647),   2147483647.0,   "2147483647"},
    {"2147483648",            Err(-2050),  Err(-2049),  Err(-2050),         Val(2147483648),   2147483648.0,   "2147483648"},
    {"-2147483647",           Err(-2048),  Err(-2047),  Val(-2147483647),   Err(-2047),        -2147483647.0,  "-2147483647"},
    {"-2147483648",           Err(-2050),  Err(-2047),  Err(-2050),         Err(-2047),        -2147483648.0,  "-2147483648"},
    {"4294967295",            Err(-2050),  Err(-2049),  Err(-2050),         Val(4294967295),   4294967295.0,   "4294967295"},
    {"4294967296",            Err(-2050),  Err(-2051),  Err(-2050),         Err(-2051),        4294967296.0,   "4294967296"},
    // Far beyond 32 bits (and beyond 64).
    {"1000000000000000",      Err(-2050),  Err(-2051),  Err(-2050),         Err(-2051),        1e15,           "1000000000000000"},
    {"-1000000000000000",     Err(-2050),  Err(-2047),  Err(-2050),         Err(-2047),        -1e15,          "-1000000000000000"},
    {"123456789012345678901234567890",
                              Err(-2050),  Err(-2051),  Err(-2050),         Err(-2051),
                              123456789012345678901234567890.0,             "123456789012345678901234567890"},
};
// clang-format on

TEST(NumConvert, WhatANumberGivesByItsValue)
{
    for (const ConvCase& c : kConvCases) {
        SCOPED_TRACE(c.pszNum ? c.pszNum : "(null value)");
        const clsNumDbFld num = DefaultNum(c.pszNum);
        EXPECT_EQ(ConvertTo<short>(num), c.shortOut) << "short";
        EXPECT_EQ(ConvertTo<USHORT>(num), c.ushortOut) << "USHORT";
        EXPECT_EQ(ConvertTo<int>(num), c.intOut) << "int";
        EXPECT_EQ(ConvertTo<long>(num), c.intOut) << "long";
        EXPECT_EQ(ConvertTo<UINT>(num), c.uintOut) << "UINT";
        EXPECT_EQ(ConvertTo<ULONG>(num), c.uintOut) << "ULONG";
        // The text form read back by the runtime: the nearest double, exactly.
        EXPECT_EQ(static_cast<double>(num), c.dValue);
        EXPECT_EQ(num.operator CString(), c.pszText);
    }
}

TEST(NumConvert, ResultTypesHoldTheFullValue)
{
    // Values at the top of each range arrive intact in the type itself (not
    // through a wider or narrower type on the way).
    const short sh = DefaultNum("-32768");
    EXPECT_EQ(sh, SHRT_MIN);
    const USHORT ush = DefaultNum("65535");
    EXPECT_EQ(ush, USHRT_MAX);
    const int i = DefaultNum("-2147483647");
    EXPECT_EQ(i, -INT_MAX);
    const UINT ui = DefaultNum("4294967295");
    EXPECT_EQ(ui, UINT_MAX);
    const long l = DefaultNum("2147483647");
    EXPECT_EQ(l, 2147483647L);
    const ULONG ul = DefaultNum("4294967295");
    EXPECT_EQ(ul, 4294967295UL);
}

TEST(NumConvert, WideLongGoesInWholeButNotOut)
{
    // A 64-bit long is taken at its full value, but a long or ULONG result
    // keeps the 32-bit bounds.
    clsNumDbFld num;
    num = 1000000000000000L;
    EXPECT_EQ(num.operator CString(), "1000000000000000");
    EXPECT_EQ(static_cast<double>(num), 1e15);
    EXPECT_UTIL_ERROR(-2050, (void)static_cast<long>(num));
    EXPECT_UTIL_ERROR(-2050, (void)static_cast<int>(num));
    EXPECT_UTIL_ERROR(-2050, (void)static_cast<short>(num));
    EXPECT_UTIL_ERROR(-2051, (void)static_cast<ULONG>(num));
    EXPECT_UTIL_ERROR(-2051, (void)static_cast<UINT>(num));
    EXPECT_UTIL_ERROR(-2051, (void)static_cast<USHORT>(num));

    num = LONG_MIN;
    EXPECT_EQ(num.operator CString(), "-9223372036854775808");
    EXPECT_UTIL_ERROR(-2050, (void)static_cast<long>(num));
    EXPECT_UTIL_ERROR(-2047, (void)static_cast<ULONG>(num));

    num = ULONG_MAX;
    EXPECT_EQ(num.operator CString(), "18446744073709551615");
    EXPECT_UTIL_ERROR(-2051, (void)static_cast<ULONG>(num));
    EXPECT_UTIL_ERROR(-2050, (void)static_cast<long>(num));

    // Just inside the 32-bit bounds from a long, and just outside.
    num = 2147483647L;
    EXPECT_EQ(static_cast<long>(num), 2147483647L);
    num = 2147483648L;
    EXPECT_UTIL_ERROR(-2050, (void)static_cast<long>(num));
    EXPECT_EQ(static_cast<ULONG>(num), 2147483648UL);
    num = -2147483648L;
    EXPECT_UTIL_ERROR(-2050, (void)static_cast<long>(num));
    num = 4294967296L;
    EXPECT_UTIL_ERROR(-2051, (void)static_cast<ULONG>(num));
}

TEST(NumConvert, UsesTheNumbersOwnDigits)
{
    // Unlike a comparison, a conversion is not held to the default scale: all
    // of the number's decimals reach the double.
    EXPECT_EQ(static_cast<double>(NumAt(20, 10, "0.1234567891")), 0.1234567891);
    EXPECT_EQ(static_cast<double>(NumAt(60, 30, "-0.123456789012345678901234567891")),
              -0.123456789012345678901234567891);
    EXPECT_EQ(NumAt(60, 30, "-0.123456789012345678901234567891").operator CString(),
              "-0.123456789012345678901234567891");
    // The widest number, 100 integer digits.
    const std::string strNines(100, '9');
    const clsNumDbFld numNines = NumAt(100, 0, strNines.c_str());
    EXPECT_EQ(static_cast<double>(numNines), 1e100);
    EXPECT_EQ(numNines.operator CString(), strNines);
    EXPECT_UTIL_ERROR(-2050, (void)static_cast<long>(numNines));
    EXPECT_UTIL_ERROR(-2051, (void)static_cast<ULONG>(numNines));
    // The longest texts: a hundred decimals, a hundred integer digits.
    const std::string strTiny = "0." + std::string(99, '0') + "1";
    EXPECT_EQ(static_cast<double>(NumAt(100, 100, strTiny.c_str())), 1e-100);
    EXPECT_EQ(NumAt(100, 100, strTiny.c_str()).operator CString(), strTiny);
    const std::string strHuge = "1" + std::string(99, '0');
    EXPECT_EQ(static_cast<double>(NumAt(100, 0, strHuge.c_str())), 1e99);
    EXPECT_UTIL_ERROR(-2044, (void)static_cast<int>(NumAt(100, 100, strTiny.c_str())));
    // At scale 0 a value rounded on the way in converts as a whole number.
    const clsNumDbFld numRounded = NumAt(10, 0, "2.5");
    EXPECT_EQ(static_cast<int>(numRounded), 3);
    EXPECT_EQ(static_cast<short>(NumAt(10, 0, "-2.5")), -3);
}

TEST(NumConvert, ImplicitConversionPicksTheTargetsOwnOperator)
{
    // Each target type reaches its own operator, not a neighbour followed by a
    // built-in conversion: the codes tell them apart.
    const clsNumDbFld num40000 = DefaultNum("40000");
    short sh = 0;
    EXPECT_UTIL_ERROR(-2048, sh = num40000);
    USHORT ush = num40000;
    EXPECT_EQ(ush, 40000);

    const clsNumDbFld num70000 = DefaultNum("70000");
    EXPECT_UTIL_ERROR(-2049, ush = num70000);

    const clsNumDbFld num3e9 = DefaultNum("3000000000");
    int i = 0;
    long l = 0;
    EXPECT_UTIL_ERROR(-2050, i = num3e9);
    EXPECT_UTIL_ERROR(-2050, l = num3e9);
    UINT ui = num3e9;
    ULONG ul = num3e9;
    EXPECT_EQ(ui, 3000000000U);
    EXPECT_EQ(ul, 3000000000UL);

    const clsNumDbFld numMinus1 = DefaultNum("-1");
    EXPECT_UTIL_ERROR(-2047, ui = numMinus1);
    EXPECT_UTIL_ERROR(-2047, ul = numMinus1);
    i = numMinus1;
    l = numMinus1;
    sh = numMinus1;
    EXPECT_EQ(i, -1);
    EXPECT_EQ(l, -1L);
    EXPECT_EQ(sh, -1);

    double d = DefaultNum("1.123456789");
    EXPECT_EQ(d, 1.12345679);

    // The casts as callers write them.
    EXPECT_EQ((CString)DefaultNum("-0.25"), "-0.25");
    EXPECT_EQ((clsValDbFld)DefaultNum("7"), "7");
    EXPECT_EQ((double)DefaultNum("-0.25"), -0.25);
    EXPECT_EQ((short)(double)DefaultNum("1.9"), 1);
}

// Runs every conversion, swallowing the errors.
void ConvertToEveryType(const clsNumDbFld& num)
{
    (void)ConvertTo<short>(num);
    (void)ConvertTo<USHORT>(num);
    (void)ConvertTo<int>(num);
    (void)ConvertTo<UINT>(num);
    (void)ConvertTo<long>(num);
    (void)ConvertTo<ULONG>(num);
    (void)static_cast<double>(num);
    (void)num.operator CString();
}

TEST(NumConvert, LeavesTheNumberUnchanged)
{
    const char* const apszValues[] = {nullptr, "0", "1.5", "-1", "70000", "-2147483648", "5000000000", "-0.001"};
    for (const char* pszValue : apszValues) {
        SCOPED_TRACE(pszValue ? pszValue : "(null value)");
        clsNumDbFld num(20, 4);
        if (pszValue)
            num = pszValue;
        const std::string strBefore = NumState(num);
        ConvertToEveryType(num);
        EXPECT_EQ(NumState(num), strBefore);
    }
}

// A number that counts its validity checks.
struct CountingNum : clsNumDbFld {
    using clsNumDbFld::clsNumDbFld;
    void CheckValid() const override
    {
        ++m_nChecks;
        clsNumDbFld::CheckValid();
    }
    mutable int m_nChecks = 0;
};

TEST(NumConvert, MakesNoValidityCheck)
{
    CountingNum num("-1.5");
    num.m_nChecks = 0;
    ConvertToEveryType(num);
    EXPECT_EQ(num.m_nChecks, 0);

    // The counter does count: a comparison checks the number.
    EXPECT_EQ(num == -1.5, 1);
    EXPECT_GT(num.m_nChecks, 0);
}

TEST(NumConvert, ConvertsANumberThatFailsItsValidityCheck)
{
    // 123.45 whose length no longer leaves room for its integer part: the
    // validity check would stop the process, the conversions go through the
    // text form alone.
    clsNumDbFld num = NumAt(10, 2, "123.45");
    NumProbe::SetFields(num, 3, 2);
    EXPECT_EQ(static_cast<double>(num), 123.45);
    EXPECT_EQ(num.operator CString(), "123.45");
    EXPECT_UTIL_ERROR(-2044, (void)static_cast<int>(num));
    NumProbe::SetFields(num, 10, 2);
}

} // namespace
