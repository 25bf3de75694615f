// Division: the quotient with decimals (/=), the remainder of the integer
// division (%=) and the integer quotient with an optional remainder (Divide),
// with their errors and the targets' precision.
#include <gtest/gtest.h>

#include <string>

#include "tv_test_util.h"

namespace {

// A number at the default length and scale (38, 8).
clsNumDbFld Num(const char* pszValue)
{
    return NumAt(38, 8, pszValue);
}

struct QuotientCase {
    const char* pszDividend;
    const char* pszDivisor;
    const char* pszQuotient;
};

struct IntDivCase {
    const char* pszDividend;
    const char* pszDivisor;
    const char* pszQuotient;
    const char* pszRemainder;
};

} // namespace

// ---------------------------------------------------------------------------
// Quotients and remainders at (38, 8)
// ---------------------------------------------------------------------------

TEST(NumDiv, QuotientIsRoundedHalfAwayFromZeroToTheScale)
{
    const QuotientCase kCases[] = {
        {"10", "4", "2.5"},
        {"2", "3", "0.66666667"},
        {"-7", "2", "-3.5"},
        {"123", "10", "12.3"},
        {"123.45", "-10", "-12.345"},
        {"1", "8", "0.125"},
        {"-2", "-3", "0.66666667"},
        {"1", "-3", "-0.33333333"},
        {"100000000000000000000000000000", "2", "50000000000000000000000000000"}, // 10^29 / 2
        {"0.00000001", "3", "0"},            // 0.0000000033 rounds away
        {"0.00000002", "3", "0.00000001"},   // 0.0000000067 rounds up
        {"2", "2.00000001", "1"},            // 0.999999995 carries into the units
        {"99999999.99999999", "0.5", "199999999.99999998"},
        {"5", "0.00000003", "166666666.66666667"},
        {"99999999999999999999999999999.99999999", "0.9", "111111111111111111111111111111.1111111"}, // 30 integer digits
    };
    for (const QuotientCase& c : kCases) {
        SCOPED_TRACE(std::string(c.pszDividend) + " / " + c.pszDivisor);
        clsNumDbFld num = Num(c.pszDividend);
        const clsNumDbFld numDivisor = Num(c.pszDivisor);
        num /= numDivisor;
        EXPECT_EQ(TextOf(num), c.pszQuotient);
        EXPECT_EQ(NumProbe::Len(num), 38);
        EXPECT_EQ(NumProbe::Scale(num), 8);
        EXPECT_EQ(TextOf(numDivisor), c.pszDivisor);
    }
}

// A divisor of plus or minus a power of ten needs no digit loop; the
// dividend's own digits are still rounded to the scale, half away from zero.
TEST(NumDiv, QuotientByAPowerOfTen)
{
    const QuotientCase kCases[] = {
        {"123.45", "-10", "-12.345"},
        {"123.45", "0.01", "12345"},
        {"-5", "-1", "5"},
        {"5", "-1", "-5"},
        {"1.23456789", "1000", "0.00123457"},
        {"0.00000005", "10", "0.00000001"},
        {"-0.00000005", "10", "-0.00000001"},
        {"0.00000004", "10", "0"},
        {"9.99999999", "-100", "-0.1"},
        {"12345678901234567890.12345678", "0.00000001", "1234567890123456789012345678"},
    };
    for (const QuotientCase& c : kCases) {
        SCOPED_TRACE(std::string(c.pszDividend) + " / " + c.pszDivisor);
        clsNumDbFld num = Num(c.pszDividend);
        num /= Num(c.pszDivisor);
        EXPECT_EQ(TextOf(num), c.pszQuotient);
    }
}

TEST(NumDiv, IntegerQuotientTruncatesAndRemainderKeepsTheDividendsSign)
{
    const IntDivCase kCases[] = {
        {"7", "2", "3", "1"},
        {"-7", "2", "-3", "-1"},
        {"7", "-2", "-3", "1"},
        {"-7", "-2", "3", "-1"},
        {"5.5", "0.3", "18", "0.1"},
        {"123", "10", "12", "3"},
        {"1", "3", "0", "1"},
        {"123.45", "1", "123", "0.45"},
        {"-123.45", "-10", "12", "-3.45"},
        {"7", "9", "0", "7"},       // a dividend smaller than the divisor
        {"-0.5", "3", "0", "-0.5"},
        {"10", "4", "2", "2"},
        {"20", "4", "5", "0"},
        {"7", "0.123", "56", "0.112"},
        {"99999999999999999999999999999", "7", "14285714285714285714285714285", "4"},
        {"0.00000001", "0.00000003", "0", "0.00000001"},
    };
    for (const IntDivCase& c : kCases) {
        SCOPED_TRACE(std::string(c.pszDividend) + " div " + c.pszDivisor);
        clsNumDbFld num = Num(c.pszDividend);
        clsNumDbFld numQuotient = Num("42");
        clsNumDbFld numRemainder = Num("42");
        num.Divide(Num(c.pszDivisor), &numQuotient, &numRemainder);
        EXPECT_EQ(TextOf(numQuotient), c.pszQuotient);
        EXPECT_EQ(TextOf(numRemainder), c.pszRemainder);
        EXPECT_EQ(TextOf(num), c.pszDividend); // not a target: unchanged

        // Without a remainder target, and the remainder written back by %=.
        clsNumDbFld numQuotientOnly = Num("42");
        num.Divide(Num(c.pszDivisor), &numQuotientOnly, nullptr);
        EXPECT_EQ(TextOf(numQuotientOnly), c.pszQuotient);
        num %= Num(c.pszDivisor);
        EXPECT_EQ(TextOf(num), c.pszRemainder);
    }
}

TEST(NumDiv, RemainderByADecimalDivisorKeepsThePrecision)
{
    clsNumDbFld num = Num("7");
    num %= Num("2.5");
    EXPECT_EQ(TextOf(num), "2");
    EXPECT_EQ(NumProbe::Len(num), 38);
    EXPECT_EQ(NumProbe::Scale(num), 8);
}

// The packed quotient: 10 / 4 drops the leading zero digit and stops when the
// remainder is zero; 2 / 3 develops one digit beyond the scale and rounds.
TEST(NumDiv, QuotientDropsTheLeadingZeroDigitAndRoundsTheExtraOne)
{
    clsNumDbFld num = Num("10");
    num /= Num("4");
    EXPECT_EQ(PackedText(num), "'p', 10, 35");
    num = Num("2");
    num /= Num("3");
    EXPECT_EQ(PackedText(num), "'p', -11, 76, 76, 76, 77");
}

// ---------------------------------------------------------------------------
// Zero, null and errors
// ---------------------------------------------------------------------------

TEST(NumDiv, ZeroAndNullDividends)
{
    clsNumDbFld num = Num("0");
    num /= Num("5");
    EXPECT_EQ(PackedText(num), "'o'");

    clsNumDbFld numNull(38, 8);
    numNull /= Num("5");
    EXPECT_EQ(PackedText(numNull), "");
    numNull %= Num("5");
    EXPECT_EQ(PackedText(numNull), "");

    clsNumDbFld numQuotient = Num("42");
    clsNumDbFld numRemainder = Num("42");
    num.Divide(Num("5"), &numQuotient, &numRemainder);
    EXPECT_EQ(PackedText(numQuotient), "'o'");
    EXPECT_EQ(PackedText(numRemainder), "'o'");

    numNull.Divide(Num("5"), &numQuotient, &numRemainder);
    EXPECT_EQ(PackedText(numQuotient), "");
    EXPECT_EQ(PackedText(numRemainder), "");
}

TEST(NumDiv, ZeroOrNullDivisorRaises2046AndChangesNothing)
{
    const clsNumDbFld numZero = Num("0");
    const clsNumDbFld numNull(38, 8);
    for (const clsNumDbFld* pDivisor : {&numZero, &numNull}) {
        SCOPED_TRACE(pDivisor == &numZero ? "zero divisor" : "null divisor");
        clsNumDbFld num = Num("5");
        EXPECT_UTIL_ERROR(-2046, num /= *pDivisor);
        EXPECT_UTIL_ERROR(-2046, num %= *pDivisor);
        clsNumDbFld numQuotient = Num("42");
        clsNumDbFld numRemainder = Num("43");
        EXPECT_UTIL_ERROR(-2046, num.Divide(*pDivisor, &numQuotient, &numRemainder));
        EXPECT_EQ(TextOf(num), "5");
        EXPECT_EQ(TextOf(numQuotient), "42");
        EXPECT_EQ(TextOf(numRemainder), "43");

        // Also when the dividend is zero or null: 0 / 0.
        clsNumDbFld numZeroDividend = Num("0");
        EXPECT_UTIL_ERROR(-2046, numZeroDividend /= *pDivisor);
        EXPECT_EQ(PackedText(numZeroDividend), "'o'");
        clsNumDbFld numNullDividend(38, 8);
        EXPECT_UTIL_ERROR(-2046, numNullDividend %= *pDivisor);
        EXPECT_EQ(PackedText(numNullDividend), "");
    }
}

TEST(NumDiv, NullQuotientPointerRaises2002FirstOfAll)
{
    clsNumDbFld num = Num("7");
    clsNumDbFld numRemainder = Num("42");
    EXPECT_UTIL_ERROR(2002, num.Divide(Num("2"), nullptr, &numRemainder));
    EXPECT_UTIL_ERROR(2002, num.Divide(Num("0"), nullptr, &numRemainder)); // before -2046
    EXPECT_UTIL_ERROR(2002, num.Divide(Num("2"), nullptr, nullptr));
    EXPECT_EQ(TextOf(num), "7");
    EXPECT_EQ(TextOf(numRemainder), "42");
}

// One number named as both quotient and remainder: 2001, right after the
// 2002 test and before anything else.
TEST(NumDiv, OneNumberAsQuotientAndRemainderRaises2001)
{
    clsNumDbFld num = Num("7");
    clsNumDbFld numBoth = Num("42");
    EXPECT_UTIL_ERROR(2001, num.Divide(Num("2"), &numBoth, &numBoth));
    EXPECT_UTIL_ERROR(2001, num.Divide(Num("0"), &numBoth, &numBoth)); // before -2046
    EXPECT_UTIL_ERROR(2001, num.Divide(Num("2"), &num, &num));
    clsNumDbFld numBig = NumAt(38, 8, "100000000000000000000");
    EXPECT_UTIL_ERROR(2001, numBig.Divide(NumAt(38, 10, "0.0000000001"), &numBoth, &numBoth)); // before -2053
    EXPECT_EQ(TextOf(num), "7");
    EXPECT_EQ(TextOf(numBoth), "42");
}

// The dividend may be named as quotient or remainder; the remainder is stored
// before the quotient, also when the quotient is zero.
TEST(NumDiv, DividendAsATarget)
{
    clsNumDbFld num = Num("7");
    clsNumDbFld numRemainder = Num("42");
    num.Divide(Num("2"), &num, &numRemainder);
    EXPECT_EQ(TextOf(num), "3");
    EXPECT_EQ(TextOf(numRemainder), "1");

    num = Num("7");
    clsNumDbFld numQuotient = Num("42");
    num.Divide(Num("2"), &numQuotient, &num);
    EXPECT_EQ(TextOf(numQuotient), "3");
    EXPECT_EQ(TextOf(num), "1");

    num = Num("7");
    num.Divide(Num("9"), &num, &numRemainder);
    EXPECT_EQ(TextOf(num), "0");
    EXPECT_EQ(TextOf(numRemainder), "7");

    num = Num("-0.5");
    num.Divide(Num("3"), &numQuotient, &num);
    EXPECT_EQ(TextOf(numQuotient), "0");
    EXPECT_EQ(TextOf(num), "-0.5");
}

// A number divided by itself, and the divisor named as a target.
TEST(NumDiv, OperandsThatAreTheSameNumber)
{
    clsNumDbFld num = Num("-12.5");
    num /= num;
    EXPECT_EQ(TextOf(num), "1");
    num = Num("-12.5");
    num %= num;
    EXPECT_EQ(TextOf(num), "0");

    num = Num("7");
    clsNumDbFld numDivisor = Num("2");
    clsNumDbFld numQuotient = Num("42");
    num.Divide(numDivisor, &numQuotient, &numDivisor);
    EXPECT_EQ(TextOf(numQuotient), "3");
    EXPECT_EQ(TextOf(numDivisor), "1");
}

// The early overflow: when e(dividend) - e(divisor) reaches the dividend's
// integer capacity, -2053 before any work, even where the result would fit.
TEST(NumDiv, ExponentDifferenceAtTheCapacityRaises2053BeforeAnyWork)
{
    const char* const kTen20 = "100000000000000000000";
    const char* const kTen29 = "100000000000000000000000000000";
    struct Case {
        const char* pszDividend;
        const char* pszDivisor;
    };
    const Case kCases[] = {
        {kTen20, "0.0000000001"}, // 10^20 / 10^-10: d = 30
        {kTen29, "0.2"},          // d = 30, though 5 x 10^29 would fit
        {"-100000000000000000000000000000", "-0.2"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.pszDividend) + " by " + c.pszDivisor);
        clsNumDbFld num = Num(c.pszDividend);
        const clsNumDbFld numDivisor = NumAt(38, 10, c.pszDivisor);
        EXPECT_UTIL_ERROR(-2053, num /= numDivisor);
        EXPECT_UTIL_ERROR(-2053, num %= numDivisor);
        clsNumDbFld numQuotient = NumAt(100, 0, "42");
        clsNumDbFld numRemainder = NumAt(100, 8, "43");
        EXPECT_UTIL_ERROR(-2053, num.Divide(numDivisor, &numQuotient, &numRemainder));
        EXPECT_EQ(TextOf(num), c.pszDividend);
        EXPECT_EQ(TextOf(numQuotient), "42");
        EXPECT_EQ(TextOf(numRemainder), "43");
    }

    // One place lower it works: 10^29 / 2 and 10^29 % 2.
    clsNumDbFld num = Num(kTen29);
    num /= Num("2");
    EXPECT_EQ(TextOf(num), "50000000000000000000000000000");
    num = Num(kTen29);
    num %= Num("3");
    EXPECT_EQ(TextOf(num), "1");

    // A dividend without integer digits has capacity 0: any d >= 0 raises.
    clsNumDbFld numFrac = NumAt(8, 8, "0.5");
    EXPECT_UTIL_ERROR(-2053, numFrac /= NumAt(8, 8, "0.3"));
    EXPECT_UTIL_ERROR(-2053, numFrac %= NumAt(8, 8, "0.7"));
    EXPECT_EQ(TextOf(numFrac), "0.5");
}

// The remainder is stored before the quotient: when the quotient does not fit
// its target, the remainder already stands and the quotient target is kept.
TEST(NumDiv, QuotientThatDoesNotFitItsTargetAfterTheRemainderStands)
{
    clsNumDbFld num = Num("100000000000000000000"); // 10^20
    clsNumDbFld numQuotient = NumAt(10, 8, "12.5");
    clsNumDbFld numRemainder = Num("5");
    EXPECT_UTIL_ERROR(-2053, num.Divide(Num("1"), &numQuotient, &numRemainder));
    EXPECT_EQ(PackedText(numRemainder), "'o'");
    EXPECT_EQ(TextOf(numQuotient), "12.5");
    EXPECT_EQ(TextOf(num), "100000000000000000000");

    // A remainder that does not fit: nothing is stored.
    clsNumDbFld numDividend2 = Num("1234.5");
    clsNumDbFld numQuotient2 = NumAt(10, 8, "12.5");
    clsNumDbFld numRemainder2 = NumAt(3, 1, "1.5");
    EXPECT_UTIL_ERROR(-2053, numDividend2.Divide(Num("1000"), &numQuotient2, &numRemainder2));
    EXPECT_EQ(TextOf(numRemainder2), "1.5");
    EXPECT_EQ(TextOf(numQuotient2), "12.5");

    // A remainder whose rounding carries past the capacity leaves the null
    // value (9.96 rounds to 10.0 at (2, 1)); the quotient is not stored.
    clsNumDbFld numDividend3 = Num("19.96");
    clsNumDbFld numRemainder3 = NumAt(2, 1, "1.5");
    EXPECT_UTIL_ERROR(-2053, numDividend3.Divide(Num("10"), &numQuotient2, &numRemainder3));
    EXPECT_EQ(PackedText(numRemainder3), "");
    EXPECT_EQ(TextOf(numQuotient2), "12.5");
}

// ---------------------------------------------------------------------------
// Rounding to the target's scale
// ---------------------------------------------------------------------------

TEST(NumDiv, ScaleZeroRoundsHalfAwayFromZero)
{
    const QuotientCase kCases[] = {
        {"1", "3", "0"},   // 0.3
        {"2", "3", "1"},   // 0.6 rounds up
        {"1", "2", "1"},   // 0.5 rounds away from zero
        {"-1", "2", "-1"},
        {"-1", "3", "0"},
        {"7", "2", "4"},
        {"-7", "2", "-4"},
        {"5", "10", "1"},  // by a power of ten
        {"4", "10", "0"},
    };
    for (const QuotientCase& c : kCases) {
        SCOPED_TRACE(std::string(c.pszDividend) + " / " + c.pszDivisor);
        clsNumDbFld num = NumAt(38, 0, c.pszDividend);
        num /= NumAt(38, 0, c.pszDivisor);
        EXPECT_EQ(TextOf(num), c.pszQuotient);
        EXPECT_EQ(NumProbe::Scale(num), 0);
    }
}

TEST(NumDiv, RemainderIsRoundedToItsTargetsScale)
{
    clsNumDbFld num = NumAt(38, 2, "7");
    num %= Num("0.123"); // 7 - 56 x 0.123 = 0.112
    EXPECT_EQ(TextOf(num), "0.11");
    EXPECT_EQ(NumProbe::Scale(num), 2);

    num = NumAt(38, 2, "-7");
    num %= Num("0.125"); // -7 - (-56) x 0.125 = 0: exact
    EXPECT_EQ(TextOf(num), "0");

    // Into a remainder target of its own scale, half away from zero.
    clsNumDbFld numQuotient(38, 0);
    clsNumDbFld numRemainder(20, 2);
    Num("-1").Divide(Num("0.3"), &numQuotient, &numRemainder); // -1 - (-3) x 0.3 = -0.1
    EXPECT_EQ(TextOf(numQuotient), "-3");
    EXPECT_EQ(TextOf(numRemainder), "-0.1");
    Num("1").Divide(Num("0.335"), &numQuotient, &numRemainder); // 1 - 2 x 0.335 = 0.33
    EXPECT_EQ(TextOf(numRemainder), "0.33");
    Num("1").Divide(Num("0.3325"), &numQuotient, &numRemainder); // 0.0025 rounds to 0 at scale 2
    EXPECT_EQ(TextOf(numQuotient), "3");
    EXPECT_EQ(TextOf(numRemainder), "0");
    Num("1").Divide(Num("0.3316"), &numQuotient, &numRemainder); // 0.0052 rounds to 0.01
    EXPECT_EQ(TextOf(numRemainder), "0.01");
    EXPECT_EQ(NumProbe::Len(numRemainder), 20);
    EXPECT_EQ(NumProbe::Scale(numRemainder), 2);
}

// ---------------------------------------------------------------------------
// Operands whose digits the working copies must hold at every precision
// ---------------------------------------------------------------------------

TEST(NumDiv, OperandsWithFewOrNoIntegerDigits)
{
    // 1 / 7 at (10, 9): the dividend's scale + 1 decimals are developed.
    clsNumDbFld numSeventh = NumAt(10, 9, "1");
    numSeventh /= NumAt(10, 9, "7");
    EXPECT_EQ(TextOf(numSeventh), "0.142857143");

    // Scale equal to the length in the divisor: 7 (5, 0) div 0.1234567891 (10, 10).
    clsNumDbFld numSeven = NumAt(5, 0, "7");
    const clsNumDbFld numDivisor = NumAt(10, 10, "0.1234567891");
    clsNumDbFld numQuotient(5, 0);
    clsNumDbFld numRemainder(10, 10);
    numSeven.Divide(numDivisor, &numQuotient, &numRemainder);
    EXPECT_EQ(TextOf(numQuotient), "56");
    EXPECT_EQ(TextOf(numRemainder), "0.0864198104");
    numSeven %= numDivisor; // rounded to the dividend's scale 0
    EXPECT_EQ(TextOf(numSeven), "0");

    // Both at (100, 100): the quotient and the remainder of 0.01 by 0.7.
    const clsNumDbFld numSevenTenths = NumAt(100, 100, "0.7");
    clsNumDbFld numHundredth = NumAt(100, 100, "0.01");
    numHundredth /= numSevenTenths;
    EXPECT_EQ(TextOf(numHundredth),
              "0.0142857142857142857142857142857142857142857142857142857142857142857142857142857142857142857142857143");
    numHundredth = NumAt(100, 100, "0.01");
    numHundredth %= numSevenTenths;
    EXPECT_EQ(TextOf(numHundredth), "0.01");
}

// The longest operands: working copies of length 101.
TEST(NumDiv, OperandsOfLength100)
{
    clsNumDbFld numThird = NumAt(100, 99, "1");
    numThird /= NumAt(1, 0, "3");
    EXPECT_EQ(TextOf(numThird), "0." + std::string(99, '3'));

    // (10 - 10^-98) / (1 - 10^-100) lies 10^-99 above the dividend.
    const std::string strNines98 = "-9." + std::string(98, '9');
    clsNumDbFld numNines = NumAt(100, 98, strNines98.c_str());
    numNines /= NumAt(100, 100, ("0." + std::string(100, '9')).c_str());
    EXPECT_EQ(TextOf(numNines), strNines98);

    // 10^99 div 7 at (100, 0): a quotient of 99 digits.
    clsNumDbFld numPower = NumAt(100, 0, ("1" + std::string(99, '0')).c_str());
    clsNumDbFld numQuotient(100, 0);
    clsNumDbFld numRemainder(1, 0);
    numPower.Divide(NumAt(1, 0, "7"), &numQuotient, &numRemainder);
    std::string strQuotient;
    for (int i = 0; i < 16; ++i)
        strQuotient += "142857";
    strQuotient += "142";
    EXPECT_EQ(TextOf(numQuotient), strQuotient);
    EXPECT_EQ(TextOf(numRemainder), "6");

    // 1 div 0.11..1 (100 ones): quotient 9, remainder 10^-100.
    clsNumDbFld numOne = NumAt(100, 1, "1");
    clsNumDbFld numRemainderTiny(100, 100);
    numOne.Divide(NumAt(100, 100, ("0." + std::string(100, '1')).c_str()), &numQuotient, &numRemainderTiny);
    EXPECT_EQ(TextOf(numQuotient), "9");
    EXPECT_EQ(TextOf(numRemainderTiny), "0." + std::string(99, '0') + "1");
}
