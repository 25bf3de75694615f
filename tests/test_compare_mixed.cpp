// The comparisons of a number with a built-in value, a text or a CString, on
// either side (==, !=, <=, >=): the value becomes a number at the default
// length and scale, so it is rounded to the default scale and must fit the
// default capacity, and Compare decides.
#include <gtest/gtest.h>

#include <climits>
#include <cstddef>
#include <cmath>
#include <limits>
#include <string>
#include <type_traits>
#include <utility>

#include "tv_test_util.h"

namespace {

// The eight forms of a comparison as one text: each pair is the number-first
// form, then the value-first form, for ==, !=, <= and >= in that order.
template <class T>
std::string Forms(const clsNumDbFld& num, const T& value)
{
    auto s = [](int n) { return std::to_string(n); };
    return s(num == value) + s(value == num) + " " + s(num != value) + s(value != num) + " " + s(num <= value) +
           s(value <= num) + " " + s(num >= value) + s(value >= num);
}

// The forms when the number is smaller than, equal to or larger than the value.
const char kLess[] = "00 11 10 01";
const char kEqual[] = "11 00 11 11";
const char kGreater[] = "00 11 01 10";

// Every form raises nCode.
template <class T>
void ExpectFormsRaise(int nCode, const clsNumDbFld& num, const T& value)
{
    EXPECT_UTIL_ERROR(nCode, (void)(num == value));
    EXPECT_UTIL_ERROR(nCode, (void)(value == num));
    EXPECT_UTIL_ERROR(nCode, (void)(num != value));
    EXPECT_UTIL_ERROR(nCode, (void)(value != num));
    EXPECT_UTIL_ERROR(nCode, (void)(num <= value));
    EXPECT_UTIL_ERROR(nCode, (void)(value <= num));
    EXPECT_UTIL_ERROR(nCode, (void)(num >= value));
    EXPECT_UTIL_ERROR(nCode, (void)(value >= num));
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

template <class T>
struct OrderCase {
    const char* pszNum; // at (38, 8); nullptr: the null value
    T value;
    const char* pszForms;
};

// Runs a table of cases; the number compared must come out unchanged.
template <class T>
void ExpectOrders(const char* pszType, std::initializer_list<OrderCase<T>> cases)
{
    for (const OrderCase<T>& c : cases) {
        SCOPED_TRACE(std::string(pszType) + ": " + (c.pszNum ? c.pszNum : "(null value)") + " against " +
                     ::testing::PrintToString(c.value));
        const clsNumDbFld num = DefaultNum(c.pszNum);
        const std::string strBefore = NumState(num);
        EXPECT_EQ(Forms(num, c.value), c.pszForms);
        EXPECT_EQ(NumState(num), strBefore);
    }
}

TEST(NumCompareMixed, EveryFormFollowsTheOrderForEveryType)
{
    ExpectOrders<short>("short", {
                                     {"-2", -1, kLess},
                                     {"-1", -1, kEqual},
                                     {"0.5", 0, kGreater},
                                     {"32767", SHRT_MAX, kEqual},
                                     {"-32768", SHRT_MIN, kEqual},
                                     {"-32767.5", SHRT_MIN, kGreater},
                                 });
    ExpectOrders<USHORT>("USHORT", {
                                       {"-1", 65535, kLess},
                                       {"65535", 65535, kEqual},
                                       {"65535.00000001", 65535, kGreater},
                                       {"0", 0, kEqual},
                                   });
    ExpectOrders<int>("int", {
                                 {"2147483647", INT_MAX, kEqual},
                                 {"-2147483648", INT_MIN, kEqual},
                                 {"-2147483648.5", INT_MIN, kLess},
                                 {"1.12345679", 1, kGreater},
                                 {"-7", 7, kLess},
                             });
    ExpectOrders<UINT>("UINT", {
                                   {"4294967295", UINT_MAX, kEqual},
                                   {"-1", UINT_MAX, kLess},
                                   {"4294967296", UINT_MAX, kGreater},
                                   {"0.99999999", 1, kLess},
                               });
    ExpectOrders<long>("long", {
                                   {"-2147483648", -2147483648L, kEqual},
                                   {"-2147483647", -2147483648L, kGreater},
                                   {"1000000000000000", 1000000000000000L, kEqual},
                                   {"999999999999999.99999999", 1000000000000000L, kLess},
                                   {"9223372036854775807", LONG_MAX, kEqual},
                                   {"-9223372036854775808", LONG_MIN, kEqual},
                                   {"-9223372036854775809", LONG_MIN, kLess},
                               });
    ExpectOrders<ULONG>("ULONG", {
                                     {"4294967295", 4294967295UL, kEqual},
                                     {"4294967294", 4294967295UL, kLess},
                                     {"4294967296", 4294967295UL, kGreater},
                                     {"18446744073709551615", ULONG_MAX, kEqual},
                                     {"-1", ULONG_MAX, kLess},
                                 });
    // A double enters as its text with 8 decimals.
    ExpectOrders<double>("double", {
                                       {"1.12345679", 1.1234567891, kEqual},
                                       {"1.12345678", 1.123456789, kLess},
                                       {"-0.5", -0.5, kEqual},
                                       {"0", -0.0, kEqual},
                                       {"0.00000001", 1e-9, kGreater},
                                       {"-1", -1.000000001, kEqual},
                                       {"79228162514264337593543950336", std::ldexp(1.0, 96), kEqual},
                                       {"-0.00000001", -0.000000004, kLess},   // "-0.00000000" is zero
                                   });
    // A text is parsed, rounded half away from zero at the 9th decimal.
    ExpectOrders<const char*>("const char*", {
                                                 {"1.12345679", "01.12345679000", kEqual},
                                                 {"-5", "  -5  ", kEqual},
                                                 {"1.12345679", "1.123456785", kEqual},
                                                 {"-1.12345679", "-1.123456785", kEqual},
                                                 {"1.1234567", "1.123456705", kLess},
                                                 {"100", "99.999999995", kEqual},
                                                 {"-0.1", "-0.09", kLess},
                                             });
    ExpectOrders<CString>("CString", {
                                         {"1.12345679", CString("01.12345679000"), kEqual},
                                         {"1.12345679", CString("1.123456784"), kGreater}, // only the 9th decimal counts
                                         {"2", CString("+1.999999995"), kEqual},
                                         {"-2", CString("-1.99999999"), kLess},
                                         {"0.5", CString(".49999999"), kGreater},
                                     });
}

// All 72 operators exist with exactly these operand types; each is called
// through a pointer of that type with the value 1 against the number 1.
template <class T>
void ExpectExactSignatures(const char* pszType, T value)
{
    SCOPED_TRACE(pszType);
    using NumFirst = int (*)(const clsNumDbFld&, T);
    using ValueFirst = int (*)(T, const clsNumDbFld&);
    const NumFirst apfnNumFirst[] = {&::operator==, &::operator!=, &::operator<=, &::operator>=};
    const ValueFirst apfnValueFirst[] = {&::operator==, &::operator!=, &::operator<=, &::operator>=};
    const int anWant[] = {1, 0, 1, 1};
    const clsNumDbFld numOne = DefaultNum("1");
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(apfnNumFirst[i](numOne, value), anWant[i]) << "operator " << i << ", number first";
        EXPECT_EQ(apfnValueFirst[i](value, numOne), anWant[i]) << "operator " << i << ", value first";
    }
}

// Each form with a number on one side is one of the library's operators (a
// built-in comparison after a conversion of the number would give bool), and
// none is ambiguous; the string classes on either side included.
template <class T>
constexpr bool kFormsAreTheNumbersOperators =
    std::is_same_v<decltype(std::declval<T>() == std::declval<const clsNumDbFld&>()), int> &&
    std::is_same_v<decltype(std::declval<const clsNumDbFld&>() == std::declval<T>()), int> &&
    std::is_same_v<decltype(std::declval<T>() != std::declval<const clsNumDbFld&>()), int> &&
    std::is_same_v<decltype(std::declval<const clsNumDbFld&>() != std::declval<T>()), int> &&
    std::is_same_v<decltype(std::declval<T>() <= std::declval<const clsNumDbFld&>()), int> &&
    std::is_same_v<decltype(std::declval<const clsNumDbFld&>() <= std::declval<T>()), int> &&
    std::is_same_v<decltype(std::declval<T>() >= std::declval<const clsNumDbFld&>()), int> &&
    std::is_same_v<decltype(std::declval<const clsNumDbFld&>() >= std::declval<T>()), int>;

static_assert(kFormsAreTheNumbersOperators<short&>);
static_assert(kFormsAreTheNumbersOperators<USHORT&>);
static_assert(kFormsAreTheNumbersOperators<int&>);
static_assert(kFormsAreTheNumbersOperators<UINT&>);
static_assert(kFormsAreTheNumbersOperators<long&>);
static_assert(kFormsAreTheNumbersOperators<ULONG&>);
static_assert(kFormsAreTheNumbersOperators<double&>);
static_assert(kFormsAreTheNumbersOperators<const char*&>);
static_assert(kFormsAreTheNumbersOperators<char*&>);
static_assert(kFormsAreTheNumbersOperators<const char (&)[5]>);
static_assert(kFormsAreTheNumbersOperators<CString&>);
static_assert(kFormsAreTheNumbersOperators<const CString&>);
static_assert(kFormsAreTheNumbersOperators<clsStrPlus&>);
static_assert(kFormsAreTheNumbersOperators<const clsStrPlus&>);

// < and > between a number and a text do not compile: the number would
// otherwise convert to its text pointer and the two addresses be compared
// ("5" > "10" giving 1). Strings among themselves keep their operators.
template <class A, class B, class = void>
constexpr bool kHasLess = false;
template <class A, class B>
constexpr bool kHasLess<A, B, std::void_t<decltype(std::declval<A>() < std::declval<B>())>> = true;
template <class A, class B, class = void>
constexpr bool kHasGreater = false;
template <class A, class B>
constexpr bool kHasGreater<A, B, std::void_t<decltype(std::declval<A>() > std::declval<B>())>> = true;

template <class T>
constexpr bool kNoOrderWithNumber = !kHasLess<const clsNumDbFld&, T> && !kHasLess<T, const clsNumDbFld&> &&
                                    !kHasGreater<const clsNumDbFld&, T> && !kHasGreater<T, const clsNumDbFld&> &&
                                    !kHasLess<clsNumDbFld&, T> && !kHasGreater<T, clsNumDbFld&>;

static_assert(kNoOrderWithNumber<const char*>);
static_assert(kNoOrderWithNumber<const char*&>);
static_assert(kNoOrderWithNumber<char*>);
static_assert(kNoOrderWithNumber<const char (&)[3]>);
static_assert(kNoOrderWithNumber<char (&)[3]>);
static_assert(kNoOrderWithNumber<clsStrPlus&>);
static_assert(kNoOrderWithNumber<const clsStrPlus&>);
static_assert(kNoOrderWithNumber<const clsStrBase&>);
static_assert(kNoOrderWithNumber<const CString&>);
static_assert(kNoOrderWithNumber<std::nullptr_t>);
static_assert(kNoOrderWithNumber<const clsNumDbFld&>);

// A null pointer constant as the literal 0 or NULL.
template <class N, class = void>
constexpr bool kOrdersWithNullConstant = false;
template <class N>
constexpr bool kOrdersWithNullConstant<
    N, std::void_t<decltype(std::declval<N>() < 0), decltype(0 > std::declval<N>()),
                   decltype(std::declval<N>() > NULL), decltype(NULL < std::declval<N>())>> = true;
static_assert(!kOrdersWithNullConstant<const clsNumDbFld&>);

static_assert(kHasLess<const clsStrPlus&, const char*> && kHasLess<const char*, const clsStrPlus&>);
static_assert(kHasGreater<const clsStrPlus&, const char*> && kHasGreater<const char*, const clsStrPlus&>);
static_assert(kHasLess<const clsStrPlus&, const clsStrPlus&> && kHasGreater<const clsStrPlus&, const clsStrPlus&>);
static_assert(kHasLess<const clsStrPlus&, const char (&)[4]> && kHasLess<const CString&, const char*>);

TEST(NumCompareMixed, NumberOneEqualsOneOfEveryType)
{
    const CString strOne = "1";
    ExpectExactSignatures<short>("short", 1);
    ExpectExactSignatures<USHORT>("USHORT", 1);
    ExpectExactSignatures<int>("int", 1);
    ExpectExactSignatures<UINT>("UINT", 1);
    ExpectExactSignatures<long>("long", 1);
    ExpectExactSignatures<ULONG>("ULONG", 1);
    ExpectExactSignatures<double>("double", 1.0);
    ExpectExactSignatures<const char*>("const char*", "1");
    ExpectExactSignatures<const CString&>("const CString&", strOne);
}

TEST(NumCompareMixed, IntegerOneAgainstANumberWithDecimals)
{
    // 1 against 1.12345679: no conversion of the number to the integer type
    // (which would raise -2044) and no truncation of it to 1.
    const clsNumDbFld numTmp("1.123456789");
    EXPECT_EQ(Forms(numTmp, static_cast<short>(1)), kGreater);
    EXPECT_EQ(Forms(numTmp, static_cast<USHORT>(1)), kGreater);
    EXPECT_EQ(Forms(numTmp, 1), kGreater);
    EXPECT_EQ(Forms(numTmp, 1U), kGreater);
    EXPECT_EQ(Forms(numTmp, 1L), kGreater);
    EXPECT_EQ(Forms(numTmp, 1UL), kGreater);

    // The same with the int, form by form.
    EXPECT_EQ(numTmp <= 1, 0);
    EXPECT_EQ(1 <= numTmp, 1);
    EXPECT_EQ(numTmp >= 1, 1);
    EXPECT_EQ(1 >= numTmp, 0);
    EXPECT_EQ(numTmp == 1, 0);
    EXPECT_EQ(1 == numTmp, 0);
    EXPECT_EQ(numTmp != 1, 1);
    EXPECT_EQ(1 != numTmp, 1);
}

TEST(NumCompareMixed, SignedAndUnsignedValuesKeepTheirSign)
{
    const clsNumDbFld numMinus1 = DefaultNum("-1");
    EXPECT_EQ(numMinus1 == static_cast<short>(-1), 1);
    EXPECT_EQ(numMinus1 == static_cast<USHORT>(65535), 0);
    EXPECT_EQ(Forms(numMinus1, static_cast<USHORT>(65535)), kLess);
    EXPECT_EQ(Forms(numMinus1, static_cast<UINT>(-1)), kLess);
    EXPECT_EQ(Forms(numMinus1, static_cast<ULONG>(-1)), kLess);
    EXPECT_EQ(Forms(numMinus1, -1L), kEqual);
    EXPECT_EQ(Forms(DefaultNum("65535"), static_cast<USHORT>(65535)), kEqual);
    EXPECT_EQ(Forms(DefaultNum("4294967295"), 4294967295U), kEqual);
}

TEST(NumCompareMixed, ValueIsTakenAtTheDefaultPrecision)
{
    const clsNumDbFld numTmp("1.123456789"); // 1.12345679
    EXPECT_EQ(numTmp == 1.1234567891, 1);
    EXPECT_EQ(1.1234567891 != numTmp, 0);
    EXPECT_EQ(numTmp <= "01.12345679000", 1);
    EXPECT_EQ(numTmp >= "01.12345679000", 1);

    // The number keeps its ten decimals, the value gets eight: 0.12345679.
    const clsNumDbFld numLong = NumAt(20, 10, "0.1234567891");
    EXPECT_EQ(numLong == "0.1234567891", 0);
    EXPECT_EQ(numLong <= "0.1234567891", 1);
    EXPECT_EQ(Forms(numLong, "0.1234567891"), kLess);
    EXPECT_EQ(Forms(numLong, CString("0.1234567891")), kLess);
    EXPECT_EQ(Forms(numLong, 0.1234567891), kLess);
    EXPECT_EQ(Forms(numLong, "0.12345679"), kLess);
    EXPECT_EQ(Forms(numLong, "0.12345678"), kGreater);
    // A number of scale 10 equal to its value rounded to 8 decimals.
    EXPECT_EQ(Forms(NumAt(20, 10, "0.12345679"), "0.1234567851"), kEqual);
    // A number of scale 2 against a value with more decimals than it holds.
    EXPECT_EQ(Forms(NumAt(10, 2, "1.5"), "1.50000001"), kLess);
}

TEST(NumCompareMixed, EmptyAndNullTextAreTheNullValue)
{
    const char* const pszNull = nullptr;
    const CString strEmpty;
    const char* const apszNums[] = {nullptr, "0", "5", "-5", "0.00000001"};
    const char* const apszForms[] = {kEqual, kEqual, kGreater, kLess, kGreater};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(apszNums[i] ? apszNums[i] : "(null value)");
        const clsNumDbFld num = DefaultNum(apszNums[i]);
        EXPECT_EQ(Forms(num, ""), apszForms[i]);
        EXPECT_EQ(Forms(num, pszNull), apszForms[i]);
        EXPECT_EQ(Forms(num, strEmpty), apszForms[i]);
        // The null value is zero for the other types too.
        EXPECT_EQ(Forms(num, 0), apszForms[i]);
        EXPECT_EQ(Forms(num, 0.0), apszForms[i]);
        EXPECT_EQ(Forms(num, "-0"), apszForms[i]);
    }
}

TEST(NumCompareMixed, TextThatIsNotANumberRaisesItsCode)
{
    struct BadText {
        const char* pszText;
        int nCode;
    };
    const BadText aCases[] = {
        {"1x", -2045}, {"abc", -2045}, {"1 2", -2045}, {"1e5", -2045}, {"- 5", -2045},
        {"1.2.3", -2044}, {"..", -2044},
        {"12-", -2054}, {"+-5", -2054}, {"--5", -2054},
        // Beyond the default scale of 8 the text is still judged to its end.
        {"1.123456784x", -2045}, {"1.123456789e5", -2045}, {"0.0000000001 x", -2045},
        {"1.1234567849.", -2044}, {"1.123456785-", -2054},
    };
    const clsNumDbFld num = DefaultNum("1.5");
    const std::string strBefore = NumState(num);
    for (const BadText& c : aCases) {
        SCOPED_TRACE(c.pszText);
        ExpectFormsRaise(c.nCode, num, c.pszText);
        ExpectFormsRaise(c.nCode, num, CString(c.pszText));
    }
    EXPECT_EQ(NumState(num), strBefore);
}

TEST(NumCompareMixed, DoubleThatIsNotANumberRaises2045)
{
    const double adValues[] = {std::numeric_limits<double>::quiet_NaN(), -std::numeric_limits<double>::quiet_NaN(),
                               std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    const clsNumDbFld num = DefaultNum("1.5");
    for (double d : adValues) {
        SCOPED_TRACE(d);
        ExpectFormsRaise(-2045, num, d);
    }
}

TEST(NumCompareMixed, ValueBeyondTheDefaultCapacityRaises2053)
{
    // The number has room for 50 integer digits; the value must still fit 30.
    const std::string str30(30, '9');
    const std::string str31 = "1" + std::string(30, '0');
    clsNumDbFld numWide(50, 0);
    numWide = str31.c_str();

    ExpectFormsRaise(-2053, numWide, str31.c_str());
    ExpectFormsRaise(-2053, numWide, str31);
    ExpectFormsRaise(-2053, numWide, 1e30);
    ExpectFormsRaise(-2053, numWide, -1e30);
    ExpectFormsRaise(-2053, numWide, std::ldexp(1.0, 100));
    // A rounding carry into the 31st digit.
    ExpectFormsRaise(-2053, numWide, (str30 + ".999999995").c_str());

    // Thirty digits fit, leading zeros do not count.
    EXPECT_EQ(Forms(numWide, str30.c_str()), kGreater);
    EXPECT_EQ(Forms(numWide, ("0000" + str30).c_str()), kGreater);
    EXPECT_EQ(Forms(numWide, (str30 + ".99999999").c_str()), kGreater);
    numWide = str30.c_str();
    EXPECT_EQ(Forms(numWide, str30), kEqual);
    clsNumDbFld numPow = NumAt(50, 0, "633825300114114700748351602688"); // 2^99, 30 digits
    EXPECT_EQ(Forms(numPow, std::ldexp(1.0, 99)), kEqual);
    EXPECT_EQ(Forms(numPow, 9.9e29), kLess);
}

// Comparisons under changed default lengths and scales; the defaults are put
// back after every test.
class NumCompareMixedDefaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_nSavedLen = clsNumDbFld::GetDefaultLen();
        m_nSavedScale = clsNumDbFld::GetDefaultScale();
    }
    void TearDown() override { clsNumDbFld::SetDefaultLenScale(m_nSavedLen, m_nSavedScale); }

    int m_nSavedLen = 0;
    int m_nSavedScale = 0;
};

TEST_F(NumCompareMixedDefaults, ValueIsRoundedToTheNewDefaultScale)
{
    const clsNumDbFld num = NumAt(20, 10, "1.005");
    const clsNumDbFld numBefore("1.123456789"); // 1.12345679 at (38, 8)
    EXPECT_EQ(Forms(num, "1.005"), kEqual);
    clsNumDbFld::SetDefaultLenScale(38, 2);
    EXPECT_EQ(Forms(num, "1.005"), kLess);               // the value becomes 1.01
    EXPECT_EQ(Forms(num, CString("1.005")), kLess);
    EXPECT_EQ(Forms(num, 1.005), kGreater);              // the double lies below 1.005: "1.00"
    EXPECT_EQ(Forms(num, 1), kGreater);
    EXPECT_EQ(Forms(NumAt(20, 10, "1.01"), "1.005"), kEqual);
    // A number made before the change keeps its own precision; one made
    // after it gets the new one.
    EXPECT_EQ(Forms(numBefore, "1.123456789"), kGreater);
    EXPECT_EQ(Forms(numBefore, "1.12345679"), kGreater);
    EXPECT_EQ(numBefore.operator CString(), "1.12345679");
    const clsNumDbFld numAfter("1.123456789");
    EXPECT_EQ(numAfter.operator CString(), "1.12");
    EXPECT_EQ(Forms(numAfter, "1.123456789"), kEqual);
}

TEST_F(NumCompareMixedDefaults, ValueMustFitTheNewDefaultCapacity)
{
    const clsNumDbFld num = NumAt(50, 0, "123456789");
    clsNumDbFld::SetDefaultLenScale(10, 2); // 8 integer digits
    ExpectFormsRaise(-2053, num, 123456789);
    ExpectFormsRaise(-2053, num, 123456789L);
    ExpectFormsRaise(-2053, num, 123456789UL);
    ExpectFormsRaise(-2053, num, 123456789.0);
    ExpectFormsRaise(-2053, num, "123456789");
    ExpectFormsRaise(-2053, num, "99999999.995");
    EXPECT_EQ(Forms(num, 12345678), kGreater);
    EXPECT_EQ(Forms(num, "99999999.99"), kGreater);

    // No integer digit at all: even 1 does not fit, 0 does.
    clsNumDbFld::SetDefaultLenScale(5, 5);
    const clsNumDbFld numHalf = NumAt(10, 5, "0.5");
    ExpectFormsRaise(-2053, numHalf, 1);
    ExpectFormsRaise(-2053, numHalf, 1.0);
    ExpectFormsRaise(-2053, numHalf, "1");
    EXPECT_EQ(Forms(numHalf, 0), kGreater);
    EXPECT_EQ(Forms(numHalf, "0.5"), kEqual);
    EXPECT_EQ(Forms(numHalf, 0.5), kEqual);
}

TEST(NumCompareMixed, StringOperandsReachTheNumbersOperators)
{
    // The text differs from the number's text form, the number is the same:
    // only a numeric comparison says equal.
    const clsNumDbFld num = DefaultNum("1.5");
    clsStrPlus strPlus;
    strPlus = "01.50";
    const CString strStd = "01.50";
    char achBuf[] = "01.50";
    EXPECT_EQ(Forms(num, strPlus), kEqual);  // through the text pointer: the const char* form
    EXPECT_EQ(Forms(num, strStd), kEqual);   // the CString form
    EXPECT_EQ(Forms(num, achBuf), kEqual);   // a writable buffer: the const char* form
    EXPECT_EQ(Forms(num, "01.50"), kEqual);  // a literal
    const clsStrPlus strPlusConst = strPlus;
    EXPECT_EQ(strPlusConst == num, 1);
    EXPECT_EQ(num >= strPlusConst, 1);

    // The string classes still compare texts among themselves.
    EXPECT_EQ(strPlus == clsStrPlus(num), 0);
    EXPECT_EQ(strPlus != clsStrPlus(num), 1);
    EXPECT_EQ(static_cast<const char*>(strPlus) == clsStrPlus(num), 0);
    EXPECT_EQ(clsStrPlus(num) == "1.5", 1);
    EXPECT_EQ(strStd == num.operator CString(), false);
}

// A number whose fields no longer fit its value fails the validity check,
// which every comparison runs on the number.
TEST(NumCompareMixedDeathTest, BrokenNumberStopsTheComparison)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    clsNumDbFld num = NumAt(10, 2, "123.45");
    NumProbe::SetFields(num, 3, 2);
    EXPECT_DEATH((void)(num == 1), "!!\\(nExp < m_nDbFldLen - m_nDbFldScale\\)");
    EXPECT_DEATH((void)("123.45" <= num), "!!\\(nExp < m_nDbFldLen - m_nDbFldScale\\)");
    NumProbe::SetFields(num, 10, 2);
}

// The checks of the test program's first groups, written as it writes them:
// each must compile to the intended operator and hold with these values.
// clang-format off
#define EXPECT_INTEGER_BLOCK(var, T)                \
    EXPECT_TRUE(var == (T)(double)numTmp);          \
    EXPECT_TRUE(!(var == numTmp));                  \
    EXPECT_TRUE(!(numTmp == var));                  \
    EXPECT_TRUE(var != numTmp);                     \
    EXPECT_TRUE(numTmp != var);                     \
    EXPECT_TRUE(var <= numTmp);                     \
    EXPECT_TRUE(!(numTmp <= var));                  \
    EXPECT_TRUE(numTmp >= var);                     \
    EXPECT_TRUE(!(var >= numTmp))

#define EXPECT_EQUAL_BLOCK(var, T)                  \
    EXPECT_TRUE(var != (T)numTmp);                  \
    EXPECT_TRUE(var == numTmp);                     \
    EXPECT_TRUE(numTmp == var);                     \
    EXPECT_TRUE(!(var != numTmp));                  \
    EXPECT_TRUE(!(numTmp != var));                  \
    EXPECT_TRUE(var <= numTmp);                     \
    EXPECT_TRUE(numTmp <= var);                     \
    EXPECT_TRUE(numTmp >= var);                     \
    EXPECT_TRUE(var >= numTmp)
// clang-format on

TEST(NumCompareMixed, ValuesOfEveryTypeCompareOnEitherSideAfterRounding)
{
    clsNumDbFld numTmp("1.123456789");
    CString str;
    clsStrPlus strTmp;
    clsValDbFld valTmp;
    short shTmp;
    USHORT ushTmp;
    int iTmp;
    UINT uiTmp;
    long lTmp;
    ULONG ulTmp;
    double dTmp;
    const char* ptrTmp;

    // Group 1.
    shTmp = 1;
    EXPECT_INTEGER_BLOCK(shTmp, short);
    ushTmp = 1;
    EXPECT_INTEGER_BLOCK(ushTmp, USHORT);
    iTmp = 1;
    EXPECT_INTEGER_BLOCK(iTmp, int);
    uiTmp = 1;
    EXPECT_INTEGER_BLOCK(uiTmp, UINT);
    lTmp = 1;
    EXPECT_INTEGER_BLOCK(lTmp, long);
    ulTmp = 1;
    EXPECT_INTEGER_BLOCK(ulTmp, ULONG);

    dTmp = 1.1234567891;
    EXPECT_EQUAL_BLOCK(dTmp, double);
    strTmp = "01.12345679000";
    EXPECT_EQUAL_BLOCK(strTmp, clsStrPlus);
    ptrTmp = strTmp;
    EXPECT_EQUAL_BLOCK(ptrTmp, clsStrPlus);
    str = static_cast<const char*>(strTmp);
    EXPECT_EQUAL_BLOCK(str, CString);
    valTmp = static_cast<const char*>(strTmp);
    EXPECT_EQUAL_BLOCK(valTmp, clsValDbFld);

    clsStrPlus str1(numTmp);
    clsStrPlus str2(numTmp);
    clsValDbFld val1 = (CString)numTmp;
    clsValDbFld val2 = numTmp.operator CString();
    EXPECT_TRUE(str1 == numTmp);
    EXPECT_TRUE(str2 == numTmp);
    EXPECT_TRUE(numTmp == val1);
    EXPECT_TRUE(numTmp == val2);

    // Group 2: assignments from every type; the last ones give 1.12345679 again.
    numTmp = shTmp;
    EXPECT_EQ(numTmp.operator CString(), "1");
    numTmp = ushTmp;
    numTmp = iTmp;
    numTmp = uiTmp;
    numTmp = lTmp;
    numTmp = ulTmp;
    numTmp = dTmp;
    EXPECT_EQ(numTmp.operator CString(), "1.12345679");
    numTmp = "1.01";
    EXPECT_EQ(numTmp.operator CString(), "1.01");
    numTmp = str;
    numTmp = static_cast<const char*>(strTmp);
    numTmp = valTmp;
    EXPECT_EQ(numTmp.operator CString(), "1.12345679");

    // Group 3: conversions of a whole number to every type.
    numTmp = 1;
    shTmp = numTmp;
    ushTmp = numTmp;
    iTmp = numTmp;
    uiTmp = numTmp;
    lTmp = numTmp;
    ulTmp = numTmp;
    dTmp = numTmp;
    str = (CString)numTmp;
    strTmp = numTmp;
    valTmp = (clsValDbFld)numTmp;
    EXPECT_EQ(shTmp, 1);
    EXPECT_EQ(ushTmp, 1);
    EXPECT_EQ(iTmp, 1);
    EXPECT_EQ(uiTmp, 1U);
    EXPECT_EQ(lTmp, 1L);
    EXPECT_EQ(ulTmp, 1UL);
    EXPECT_EQ(dTmp, 1.0);
    EXPECT_EQ(str, "1");
    EXPECT_STREQ(strTmp, "1");
    EXPECT_EQ(valTmp, "1");

    // Group 4: unary operators.
    EXPECT_TRUE((double)-numTmp == -dTmp);
    EXPECT_TRUE((double)+numTmp == +dTmp);
}

#undef EXPECT_INTEGER_BLOCK
#undef EXPECT_EQUAL_BLOCK

} // namespace
