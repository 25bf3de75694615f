// The two-operand operators and DoBinaryOp's choice of the result's length
// and scale, the integer power, unary plus and minus, abs, IsNotNegative,
// the prefix increment and decrement and the inline assignments.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "tv_test_util.h"

namespace {

// Restores the default length and scale that a test changes.
class NumOpsDefaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_nLen = clsNumDbFld::GetDefaultLen();
        m_nScale = clsNumDbFld::GetDefaultScale();
    }
    void TearDown() override { clsNumDbFld::SetDefaultLenScale(m_nLen, m_nScale); }
    int m_nLen = 38;
    int m_nScale = 8;
};

using BinaryOp = std::function<clsNumDbFld(const clsNumDbFld&, const clsNumDbFld&)>;

struct NamedOp {
    const char* pszName;
    BinaryOp op;
};

const NamedOp kOps[] = {
    {"+", [](const clsNumDbFld& a, const clsNumDbFld& b) { return a + b; }},
    {"-", [](const clsNumDbFld& a, const clsNumDbFld& b) { return a - b; }},
    {"*", [](const clsNumDbFld& a, const clsNumDbFld& b) { return a * b; }},
    {"/", [](const clsNumDbFld& a, const clsNumDbFld& b) { return a / b; }},
    {"%", [](const clsNumDbFld& a, const clsNumDbFld& b) { return a % b; }},
};

} // namespace

// ---------------------------------------------------------------------------
// DoBinaryOp: the result's precision
// ---------------------------------------------------------------------------

// The precision of the operand with the larger integer capacity; on equal
// capacities the larger scale; the left one when both are equal. The same for
// every operator.
TEST(NumOps, ResultTakesThePrecisionOfTheLargerCapacity)
{
    struct Case {
        int nLen1, nScale1, nLen2, nScale2;
        int nLenResult, nScaleResult;
    };
    const Case kCases[] = {
        {38, 8, 38, 8, 38, 8},
        {38, 4, 38, 8, 38, 4}, // capacities 34 and 30
        {38, 8, 38, 4, 38, 4},
        {20, 4, 24, 8, 24, 8}, // equal capacities 16, the larger scale
        {24, 8, 20, 4, 24, 8},
        {10, 2, 100, 100, 10, 2}, // capacity 8 against 0
        {1, 0, 100, 99, 100, 99}, // a tie at capacity 1: the scale decides
        {100, 99, 1, 0, 100, 99},
        {5, 5, 3, 3, 5, 5},
    };
    for (const Case& c : kCases) {
        for (const NamedOp& o : kOps) {
            SCOPED_TRACE(std::string("(") + std::to_string(c.nLen1) + ", " + std::to_string(c.nScale1) + ") " +
                         o.pszName + " (" + std::to_string(c.nLen2) + ", " + std::to_string(c.nScale2) + ")");
            const clsNumDbFld num1 = NumAt(c.nLen1, c.nScale1, c.nLen1 == c.nScale1 ? "0.25" : "1");
            const clsNumDbFld num2 = NumAt(c.nLen2, c.nScale2, c.nLen2 == c.nScale2 ? "0.25" : "1");
            if (c.nLenResult == c.nScaleResult && (o.pszName[0] == '/' || o.pszName[0] == '%'))
                continue; // a dividend without integer digits: the early overflow (d >= 0)
            clsNumDbFld numResult = o.op(num1, num2);
            EXPECT_EQ(NumProbe::Len(numResult), c.nLenResult);
            EXPECT_EQ(NumProbe::Scale(numResult), c.nScaleResult);
        }
    }
}

// The left operand is assigned into the result first and so rounded to the
// result's scale before the operation: the result can differ from the exact
// one rounded once.
TEST(NumOps, LeftOperandIsRoundedFirst)
{
    const clsNumDbFld numTiny = NumAt(38, 8, "0.00005");
    clsNumDbFld numSum = numTiny + NumAt(38, 4, "-1");
    EXPECT_EQ(TextOf(numSum), "-0.9999"); // 0.0001 - 1, not -0.99995 rounded to -1
    EXPECT_EQ(NumProbe::Len(numSum), 38);
    EXPECT_EQ(NumProbe::Scale(numSum), 4);

    clsNumDbFld numProduct = numTiny * NumAt(38, 4, "3");
    EXPECT_EQ(TextOf(numProduct), "0.0003"); // 0.0001 x 3, not 0.00015 rounded to 0.0002
    EXPECT_EQ(NumProbe::Scale(numProduct), 4);

    clsNumDbFld numQuotient = numTiny / NumAt(38, 4, "0.3");
    EXPECT_EQ(TextOf(numQuotient), "0.0003"); // 0.0001 / 0.3 = 0.00033
    clsNumDbFld numRemainder = numTiny % NumAt(38, 4, "0.0001");
    EXPECT_EQ(TextOf(numRemainder), "0"); // 0.0001 % 0.0001, not 0.00005 rounded to 0.0001
    EXPECT_EQ(NumProbe::Scale(numRemainder), 4);
    // A left operand that rounds to zero gives zero, for / and % alike.
    EXPECT_EQ(TextOf(NumAt(38, 8, "0.00004") / NumAt(38, 4, "0.3")), "0");
    EXPECT_EQ(TextOf(NumAt(38, 8, "-0.00004") % NumAt(38, 4, "0.3")), "0");
    clsNumDbFld numDifference = NumAt(38, 8, "0.00004") - NumAt(38, 4, "1");
    EXPECT_EQ(TextOf(numDifference), "-1"); // 0.00004 rounds to 0 first
    EXPECT_EQ(TextOf(numTiny), "0.00005");
}

struct IntCase {
    const char* pszName;
    clsNumDbFld (*op)(const clsNumDbFld&, int);
    const char* pszResult; // of 1.25 op 10
};

const IntCase kIntCases[] = {
    {"+", [](const clsNumDbFld& a, int n) { return a + n; }, "11.25"},
    {"*", [](const clsNumDbFld& a, int n) { return a * n; }, "12.5"},
    {"/", [](const clsNumDbFld& a, int n) { return a / n; }, "0.125"},
};

// An int operand is a number at the default length and scale, which competes
// for the result's precision like any operand.
TEST_F(NumOpsDefaults, IntOperandHasTheDefaultPrecision)
{
    const clsNumDbFld numSmall = NumAt(10, 2, "1.25");
    const clsNumDbFld numWide = NumAt(100, 8, "1.25");
    for (const IntCase& c : kIntCases) {
        SCOPED_TRACE(c.pszName);
        clsNumDbFld numResult = c.op(numSmall, 10); // capacity 30 against 8
        EXPECT_EQ(TextOf(numResult), c.pszResult);
        EXPECT_EQ(NumProbe::Len(numResult), 38);
        EXPECT_EQ(NumProbe::Scale(numResult), 8);

        clsNumDbFld numWideResult = c.op(numWide, 10); // (100, 8) keeps its precision
        EXPECT_EQ(TextOf(numWideResult), c.pszResult);
        EXPECT_EQ(NumProbe::Len(numWideResult), 100);
        EXPECT_EQ(NumProbe::Scale(numWideResult), 8);
    }

    // The default as it stands when the operator runs.
    clsNumDbFld::SetDefaultLenScale(12, 1);
    for (const IntCase& c : kIntCases) {
        SCOPED_TRACE(std::string(c.pszName) + " at the default (12, 1)");
        clsNumDbFld numResult = c.op(numSmall, 10); // capacity 11 against 8
        EXPECT_EQ(NumProbe::Len(numResult), 12);
        EXPECT_EQ(NumProbe::Scale(numResult), 1);
    }
    EXPECT_EQ(TextOf(numSmall * 10), "13");   // 1.25 rounded to 1.3 first
    EXPECT_EQ(TextOf(numSmall + 10), "11.3");
    EXPECT_EQ(TextOf(numSmall / 10), "0.1");  // 1.3 / 10 = 0.13
}

TEST(NumOps, OperatorsGiveTheCompoundOperatorsResults)
{
    struct Case {
        const char* pszA;
        const char* pszB;
        const char* apszResult[5]; // +, -, *, /, %
    };
    const Case kCases[] = {
        {"7", "2", {"9", "5", "14", "3.5", "1"}},
        {"-7", "2", {"-5", "-9", "-14", "-3.5", "-1"}},
        {"5.5", "-0.3", {"5.2", "5.8", "-1.65", "-18.33333333", "0.1"}},
        {"0", "4", {"4", "-4", "0", "0", "0"}},
        {"1", "3", {"4", "-2", "3", "0.33333333", "1"}},
    };
    for (const Case& c : kCases) {
        const clsNumDbFld numA = NumAt(38, 8, c.pszA);
        const clsNumDbFld numB = NumAt(38, 8, c.pszB);
        for (int i = 0; i < 5; ++i) {
            SCOPED_TRACE(std::string(c.pszA) + " " + kOps[i].pszName + " " + c.pszB);
            EXPECT_EQ(TextOf(kOps[i].op(numA, numB)), c.apszResult[i]);
        }
        EXPECT_EQ(TextOf(numA), c.pszA); // operands unchanged
        EXPECT_EQ(TextOf(numB), c.pszB);
    }
}

TEST(NumOps, ZeroOrNullDivisorRaises2046)
{
    const clsNumDbFld numX = NumAt(38, 8, "5");
    const clsNumDbFld numZero = NumAt(38, 8, "0");
    const clsNumDbFld numNull(38, 8);
    EXPECT_UTIL_ERROR(-2046, numX / numZero);
    EXPECT_UTIL_ERROR(-2046, numX / numNull);
    EXPECT_UTIL_ERROR(-2046, numX % numZero);
    EXPECT_UTIL_ERROR(-2046, numX % numNull);
    EXPECT_UTIL_ERROR(-2046, numZero / numZero);
    EXPECT_UTIL_ERROR(-2046, numNull % numNull);
    EXPECT_UTIL_ERROR(-2046, numX / 0);
    EXPECT_EQ(TextOf(numX), "5");
}

TEST(NumOps, OverflowOfTheResultRaises2053)
{
    const clsNumDbFld num99 = NumAt(5, 3, "99");
    EXPECT_UTIL_ERROR(-2053, num99 + NumAt(5, 3, "1"));
    EXPECT_UTIL_ERROR(-2053, num99 * NumAt(5, 3, "2"));
    EXPECT_UTIL_ERROR(-2053, num99 - NumAt(5, 3, "-1"));
    EXPECT_UTIL_ERROR(-2053, num99 / NumAt(5, 3, "0.5"));
    EXPECT_EQ(TextOf(num99 + 1), "100"); // the int's precision (38, 8) holds it
}

// Codes outside -114..-109, and -112 among them, raise 2001 once both
// operands passed the validity check.
TEST(NumOps, UnknownOperationCodeRaises2001)
{
    const clsNumDbFld numA = NumAt(38, 8, "7");
    const clsNumDbFld numB = NumAt(38, 8, "2");
    for (int nOp : {-112, -115, -108, 0, 1, INT_MIN, INT_MAX}) {
        SCOPED_TRACE(nOp);
        EXPECT_UTIL_ERROR(2001, DoBinaryOp(numA, numB, nOp));
    }
    EXPECT_UTIL_ERROR(2001, DoBinaryOp(numA, NumAt(38, 8, "0"), -112)); // not -2046
    EXPECT_EQ(TextOf(DoBinaryOp(numA, numB, OP_Add)), "9");
    EXPECT_EQ(TextOf(DoBinaryOp(numA, numB, OP_Subtract)), "5");
    EXPECT_EQ(TextOf(DoBinaryOp(numA, numB, OP_Multiply)), "14");
    EXPECT_EQ(TextOf(DoBinaryOp(numA, numB, OP_Modulo)), "1");
    EXPECT_EQ(TextOf(DoBinaryOp(numA, numB, OP_Divide)), "3.5");
}

TEST(NumOpsDeathTest, UnknownCodeValidatesBothOperandsFirst)
{
    const clsNumDbFld numGood = NumAt(38, 8, "7");
    clsNumDbFld numBroken = NumAt(38, 8, "123");
    NumProbe::SetFields(numBroken, 5, 5); // 123 does not fit a capacity of 0
    EXPECT_DEATH((void)DoBinaryOp(numBroken, numGood, -112), "!!\\(nExp < m_nDbFldLen - m_nDbFldScale\\)");
    EXPECT_DEATH((void)DoBinaryOp(numGood, numBroken, -112), "!!\\(nExp < m_nDbFldLen - m_nDbFldScale\\)");
}

namespace {
// A number that counts the validity checks made on it.
struct CheckCountingNum : clsNumDbFld {
    using clsNumDbFld::clsNumDbFld;
    void CheckValid() const override
    {
        ++m_nChecks;
        clsNumDbFld::CheckValid();
    }
    mutable int m_nChecks = 0;
};
} // namespace

// Each operator validates each operand once, whatever steps make its result.
TEST(NumOps, EachOperandIsCheckedOnce)
{
    for (const NamedOp& op : kOps) {
        SCOPED_TRACE(op.pszName);
        CheckCountingNum numA("7.25");
        CheckCountingNum numB("-2.5");
        numA.m_nChecks = 0;
        numB.m_nChecks = 0;
        (void)op.op(numA, numB);
        EXPECT_EQ(numA.m_nChecks, 1);
        EXPECT_EQ(numB.m_nChecks, 1);
    }
}

// A derived number's own check runs on both sides of an assignment, also at
// equal lengths and scales.
TEST(NumOps, AssignmentRunsADerivedNumbersChecks)
{
    CheckCountingNum numX("1");
    CheckCountingNum numA("-12.5");
    const clsNumDbFld numPlain("3.75");
    numX.m_nChecks = 0;
    numA.m_nChecks = 0;
    // The number's own assignment (the derived one would copy the counter too).
    clsNumDbFld& numTarget = numX;
    numTarget = numA;
    EXPECT_EQ(numA.m_nChecks, 1);
    EXPECT_EQ(numX.m_nChecks, 1);
    numTarget = numPlain;
    EXPECT_EQ(numX.m_nChecks, 2);
    EXPECT_EQ(TextOf(numX), "3.75");
}

// ---------------------------------------------------------------------------
// Pow
// ---------------------------------------------------------------------------

struct PowCase {
    int nLen, nScale;
    const char* pszBase; // nullptr: the null value
    int n;
    int nErr;            // 0 or the error expected
    const char* pszResult;
    int nLenResult, nScaleResult;
};

TEST(NumPow, PowersRoundedAtEveryProduct)
{
    const PowCase kCases[] = {
        // Pow(0) of anything is 1 at (38, 8).
        {10, 2, "2.5", 0, 0, "1", 38, 8},
        {100, 100, "0.5", 0, 0, "1", 38, 8},
        {10, 2, "0", 0, 0, "1", 38, 8},
        {10, 2, nullptr, 0, 0, "1", 38, 8},
        // Zero and the null value.
        {10, 2, "0", 3, 0, "0", 10, 2},
        {10, 2, nullptr, 2, 0, "", 10, 2},
        {10, 2, "0", -1, -2055, "", 0, 0},
        {10, 2, nullptr, -1, -2055, "", 0, 0},
        {10, 2, "0", INT_MIN, -2055, "", 0, 0},
        // Positive and negative powers at (38, 8).
        {38, 8, "2", 10, 0, "1024", 38, 8},
        {38, 8, "1.01", 9, 0, "1.09368528", 38, 8}, // exactly 1.0936852726...
        {38, 8, "0.3", -2, 0, "11.11111109", 38, 8}, // 3.33333333 squared
        {38, 8, "1.5", -2, 0, "0.44444445", 38, 8},  // 0.66666667 squared
        {38, 8, "4", -1, 0, "0.25", 38, 8},
        {38, 8, "-2", 3, 0, "-8", 38, 8},
        {38, 8, "-2", -3, 0, "-0.125", 38, 8},
        {38, 8, "-1.5", 1, 0, "-1.5", 38, 8},
        {10, 2, "1.5", 3, 0, "3.38", 10, 2}, // 1.5 x 2.25 = 3.375
        {38, 8, "10", 29, 0, "100000000000000000000000000000", 38, 8},
        {38, 8, "10", 30, -2053, "", 0, 0}, // 31 integer digits against 30
        {38, 8, "100000000000000000000000000000", -1, 0, "0", 38, 8}, // 10^-29 rounds to 0
        {38, 8, "100000000000000000000000000000", -2, 0, "0", 38, 8},
        // A base without integer digits.
        {8, 8, "0.5", 2, 0, "0.25", 8, 8},
        {8, 8, "0.5", 3, 0, "0.125", 8, 8},
        {8, 8, "0.5", -1, -2053, "", 0, 0}, // 2 has no room at (8, 8)
        {100, 100, "0.5", 7, 0, "0.0078125", 100, 100},
        {100, 100, "-0.99", 2, 0, "0.9801", 100, 100},
        {100, 100, "0.5", -1, -2053, "", 0, 0}, // the 1 of length 101 divided by 0.5
    };
    for (const PowCase& c : kCases) {
        SCOPED_TRACE(std::string(c.pszBase ? c.pszBase : "null") + " (" + std::to_string(c.nLen) + ", " +
                     std::to_string(c.nScale) + ") ^ " + std::to_string(c.n));
        clsNumDbFld numBase(c.nLen, c.nScale);
        if (c.pszBase)
            numBase = c.pszBase;
        const std::string strBase = TextOf(numBase);
        if (c.nErr != 0) {
            EXPECT_UTIL_ERROR(c.nErr, numBase.Pow(c.n));
        } else {
            clsNumDbFld numResult = numBase.Pow(c.n);
            EXPECT_EQ(PackedText(numResult), PackedText(NumAt(100, 50, c.pszResult)));
            EXPECT_EQ(TextOf(numResult), c.pszResult);
            EXPECT_EQ(NumProbe::Len(numResult), c.nLenResult);
            EXPECT_EQ(NumProbe::Scale(numResult), c.nScaleResult);
        }
        EXPECT_EQ(TextOf(numBase), strBase); // the base is not changed
    }
}

// The magnitude of INT_MIN is taken as the unsigned 2^31: 31 squarings of the
// reciprocal. For 2 it falls to 0.00001526 after four and to 0 (2.3 x 10^-10
// at scale 8) after five, and stays 0; for 0.5 the reciprocal 2 grows past
// the capacity.
TEST(NumPow, LargestMagnitudes)
{
    const PowCase kCases[] = {
        {38, 8, "1", INT_MIN, 0, "1", 38, 8},
        {38, 8, "-1", INT_MIN, 0, "1", 38, 8},
        {38, 8, "2", INT_MIN, 0, "0", 38, 8},
        {38, 8, "-2", INT_MIN, 0, "0", 38, 8},
        {38, 8, "10", INT_MIN, 0, "0", 38, 8},
        {100, 99, "2", INT_MIN, 0, "0", 100, 99},
        {38, 8, "0.5", INT_MIN, -2053, "", 0, 0},
        {38, 8, "1", INT_MAX, 0, "1", 38, 8},
        {38, 8, "-1", INT_MAX, 0, "-1", 38, 8},
        {38, 8, "0.5", INT_MAX, 0, "0", 38, 8},
        {38, 8, "2", INT_MAX, -2053, "", 0, 0},
        {38, 8, "1", INT_MIN + 1, 0, "1", 38, 8},
        {38, 8, "-1", INT_MIN + 1, 0, "-1", 38, 8},
    };
    for (const PowCase& c : kCases) {
        SCOPED_TRACE(std::string(c.pszBase) + " ^ " + std::to_string(c.n));
        const clsNumDbFld numBase = NumAt(c.nLen, c.nScale, c.pszBase);
        if (c.nErr != 0) {
            EXPECT_UTIL_ERROR(c.nErr, numBase.Pow(c.n));
        } else {
            clsNumDbFld numResult = numBase.Pow(c.n);
            EXPECT_EQ(TextOf(numResult), c.pszResult);
            EXPECT_EQ(NumProbe::Len(numResult), c.nLenResult);
            EXPECT_EQ(NumProbe::Scale(numResult), c.nScaleResult);
        }
        EXPECT_EQ(TextOf(numBase), c.pszBase);
    }
}

// ---------------------------------------------------------------------------
// Unary operators, abs, IsNotNegative
// ---------------------------------------------------------------------------

TEST(NumUnary, PlusReturnsTheNumberItself)
{
    const clsNumDbFld num = NumAt(10, 2, "-1.5");
    EXPECT_EQ(&(+num), &num);
    const clsNumDbFld numNull(10, 2);
    EXPECT_EQ(&(+numNull), &numNull);
}

struct UnaryCase {
    const char* pszValue; // nullptr: the null value
    const char* pszNegated;
    const char* pszAbs;
    int nNotNegative;
};

TEST(NumUnary, MinusAbsAndSignKeepThePrecision)
{
    const UnaryCase kCases[] = {
        {"1.5", "-1.5", "1.5", 1},
        {"-0.5", "0.5", "0.5", 0},
        {"0", "0", "0", 1},
        {nullptr, "", "", 1}, // the null value stays null, not zero
        {"-12345678.99", "12345678.99", "12345678.99", 0},
    };
    for (const UnaryCase& c : kCases) {
        SCOPED_TRACE(c.pszValue ? c.pszValue : "null");
        clsNumDbFld num(10, 2);
        if (c.pszValue)
            num = c.pszValue;
        const std::string strPacked = PackedText(num);

        clsNumDbFld numNegated = -num;
        EXPECT_EQ(TextOf(numNegated), c.pszNegated);
        EXPECT_EQ(NumProbe::Len(numNegated), 10);
        EXPECT_EQ(NumProbe::Scale(numNegated), 2);
        EXPECT_EQ(PackedText(-numNegated), strPacked);

        clsNumDbFld numAbs = num.abs();
        EXPECT_EQ(TextOf(numAbs), c.pszAbs);
        EXPECT_EQ(NumProbe::Len(numAbs), 10);
        EXPECT_EQ(NumProbe::Scale(numAbs), 2);

        EXPECT_EQ(num.IsNotNegative(), c.nNotNegative);
        EXPECT_EQ(PackedText(num), strPacked); // unchanged
    }
    EXPECT_EQ(PackedText(-NumAt(10, 2, "0")), "'o'");
    EXPECT_EQ(PackedText(NumAt(10, 2, "-0.5").abs()), "'p', -11, 60");
}

// ---------------------------------------------------------------------------
// Prefix increment and decrement
// ---------------------------------------------------------------------------

TEST(NumIncrement, PrefixFormsChangeTheNumberAndReturnIt)
{
    clsNumDbFld numNull(10, 2);
    clsNumDbFld& numRef = ++numNull;
    EXPECT_EQ(&numRef, &numNull);
    EXPECT_EQ(PackedText(numNull), "'p', 10, 20");
    EXPECT_EQ(NumProbe::Len(numNull), 10);
    EXPECT_EQ(NumProbe::Scale(numNull), 2);

    clsNumDbFld numOne = NumAt(10, 2, "1");
    EXPECT_EQ(&(--numOne), &numOne);
    EXPECT_EQ(PackedText(numOne), "'o'");
    --numOne;
    EXPECT_EQ(TextOf(numOne), "-1");

    clsNumDbFld num = NumAt(10, 2, "1.5");
    EXPECT_EQ(TextOf(++num), "2.5");
    EXPECT_EQ(TextOf(--(--num)), "0.5");
    EXPECT_EQ(TextOf(--num), "-0.5");
}

TEST(NumIncrement, PrefixFormsOutgrowingTheCapacityRaise2053)
{
    clsNumDbFld numHalf = NumAt(8, 8, "0.5");
    EXPECT_UTIL_ERROR(-2053, ++numHalf);
    EXPECT_EQ(TextOf(numHalf), "0.5");
    --numHalf;
    EXPECT_EQ(TextOf(numHalf), "-0.5");
    EXPECT_UTIL_ERROR(-2053, --numHalf);
    EXPECT_EQ(TextOf(numHalf), "-0.5");

    clsNumDbFld num99 = NumAt(5, 3, "99.5");
    EXPECT_UTIL_ERROR(-2053, ++num99);
    EXPECT_EQ(TextOf(num99), "99.5");
}

// ---------------------------------------------------------------------------
// Assignment from short, USHORT, int, UINT and CString
// ---------------------------------------------------------------------------

TEST(NumAssignInline, BuiltInValuesKeepThePrecision)
{
    clsNumDbFld num(12, 2);
    num = static_cast<short>(-1);
    EXPECT_EQ(TextOf(num), "-1");
    num = static_cast<USHORT>(65535);
    EXPECT_EQ(TextOf(num), "65535");
    num = static_cast<UINT>(4294967295u);
    EXPECT_EQ(TextOf(num), "4294967295");
    num = INT_MIN;
    EXPECT_EQ(TextOf(num), "-2147483648");
    num = CString("12.345");
    EXPECT_EQ(TextOf(num), "12.35");
    EXPECT_EQ(NumProbe::Len(num), 12);
    EXPECT_EQ(NumProbe::Scale(num), 2);

    clsNumDbFld numSmall = NumAt(5, 3, "1.5");
    EXPECT_UTIL_ERROR(-2053, numSmall = 123);
    EXPECT_UTIL_ERROR(-2053, numSmall = CString("123"));
    EXPECT_UTIL_ERROR(-2053, numSmall = static_cast<USHORT>(100));
}

// The int forms of +, * and / take an int only: a double or a 64-bit long
// would be cut to int on the way in, so such calls must not compile.
template <class T, class = void>
struct CanAdd : std::false_type {};
template <class T>
struct CanAdd<T, std::void_t<decltype(std::declval<const clsNumDbFld&>() + std::declval<T>())>>
    : std::true_type {};
template <class T, class = void>
struct CanMultiply : std::false_type {};
template <class T>
struct CanMultiply<T, std::void_t<decltype(std::declval<const clsNumDbFld&>() * std::declval<T>())>>
    : std::true_type {};
template <class T, class = void>
struct CanDivide : std::false_type {};
template <class T>
struct CanDivide<T, std::void_t<decltype(std::declval<const clsNumDbFld&>() / std::declval<T>())>>
    : std::true_type {};

TEST(IntOperatorForms, OnlyAnIntOrANumberIsTakenOnTheRight)
{
    static_assert(CanAdd<int>::value && CanMultiply<int>::value && CanDivide<int>::value);
    static_assert(CanAdd<clsNumDbFld>::value && CanMultiply<clsNumDbFld>::value && CanDivide<clsNumDbFld>::value);
    static_assert(!CanAdd<double>::value && !CanMultiply<double>::value && !CanDivide<double>::value);
    static_assert(!CanAdd<long>::value && !CanMultiply<long>::value && !CanDivide<long>::value);
    static_assert(!CanMultiply<short>::value && !CanMultiply<ULONG>::value && !CanMultiply<float>::value);
    // The value itself, taken whole, goes through a number.
    clsNumDbFld num("2");
    EXPECT_EQ(CString(num * clsNumDbFld(2.5)), "5");
    EXPECT_EQ(CString(num + clsNumDbFld(5000000001L)), "5000000003");
}
