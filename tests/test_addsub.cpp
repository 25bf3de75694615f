// Comparison, addition, subtraction and the postfix increment and decrement
// of clsNumDbFld: exact packed results, overflow at the integer capacity,
// rounding to a smaller scale, null and zero operands and signs.
#include <gtest/gtest.h>

#include <string>

#include "tv_test_util.h"

namespace {

// --- exact packed results ---------------------------------------------------

struct PackedSumCase {
    const char* pszX;
    char chOp; // '+' or '-'
    const char* pszY;
    const char* pszPacked; // x afterwards
    bool bAdds;            // AddAbs does the work (else SubtractAbs)
};

// Each case through the operator, and through the worker it must reach.
const PackedSumCase kPackedSums[] = {
    {"99.5", '+', "0.75", "'p', 12, 20, 12, 60", true},     // carry out of the first byte
    {"100.25", '-', "99.5", "'p', -11, 85", false},         // odd difference, leading zeros go
    {"1", '-', "0.0001", "'p', -11, 109, 109", false},      // borrow through a gap
    {"-0.05", '+', "-0.07", "'n', 11, -22", true},          // negative carry
    {"3", '-', "5", "'n', -10, -30", false},                // the other is the larger
    {"5", '-', "5", "'o'", false},                          // zero difference
    {"0.99", '+', "0.01", "'p', 10, 20", true},             // odd shift, carry into a new digit
    {"12345.678", '-', "12345.6", "'p', -12, 88", false},   // two leading pairs cancel
    {"1234.5", '-', "1234.44", "'p', -12, 70", false},      // one digit left of the leading pair
    {"-999.999", '-', "0.001", "'n', -13, -20", true},      // carry through every pair
    {"7000000000000000000000", '-', "0.00000001", "'p', 31, 79, 109, 109, 109, 109, 109, 109, 109, "
                                                  "109, 109, 109, 109, 109, 109, 109", false},
};

TEST(NumAddSub, PackedResultsOfTheDigitLoops)
{
    for (const PackedSumCase& c : kPackedSums) {
        SCOPED_TRACE(std::string(c.pszX) + " " + c.chOp + " " + c.pszY);
        clsNumDbFld numX = NumAt(38, 8, c.pszX);
        clsNumDbFld numY = NumAt(38, 8, c.pszY);
        if (c.chOp == '+')
            numX += numY;
        else
            numX -= numY;
        EXPECT_EQ(PackedText(numX), c.pszPacked);

        NumProbe probe(NumAt(38, 8, c.pszX));
        if (c.bAdds)
            probe.AddAbs(numY);
        else
            probe.SubtractAbs(numY);
        EXPECT_EQ(PackedText(probe), c.pszPacked);
        // The result is built on the stack: nothing is left in the work string.
        EXPECT_TRUE(NumProbe::Work(probe).IsEmpty());
    }
}

// --- overflow at the integer capacity -----------------------------------------

// A number of length 5 and scale 3 has room for two integer digits.
TEST(NumAddSub, FinalCarryAtTheCapacityKeepsTheValue)
{
    clsNumDbFld numX = NumAt(5, 3, "99");
    EXPECT_UTIL_ERROR(-2053, numX += NumAt(38, 8, "1"));
    EXPECT_EQ(TextOf(numX), "99");
    EXPECT_TRUE(NumProbe::Work(numX).IsEmpty());

    clsNumDbFld numNeg = NumAt(5, 3, "-99.999");
    EXPECT_UTIL_ERROR(-2053, numNeg -= NumAt(5, 3, "0.001"));
    EXPECT_EQ(TextOf(numNeg), "-99.999");
    EXPECT_TRUE(NumProbe::Work(numNeg).IsEmpty());
}

TEST(NumAddSub, OtherExponentAtTheCapacityRaisesBeforeAnyWork)
{
    // 123 needs three integer digits: refused before a byte is made.
    NumProbe probe(NumAt(5, 3, "99"));
    probe.AddAbs(NumAt(5, 3, "0.5"));
    ASSERT_EQ(TextOf(probe), "99.5");
    EXPECT_UTIL_ERROR(-2053, probe.AddAbs(NumAt(38, 8, "123")));
    EXPECT_EQ(TextOf(probe), "99.5");
    EXPECT_TRUE(NumProbe::Work(probe).IsEmpty());

    clsNumDbFld numX = NumAt(5, 3, "1");
    EXPECT_UTIL_ERROR(-2053, numX += NumAt(38, 8, "123"));
    EXPECT_EQ(TextOf(numX), "1");
    EXPECT_UTIL_ERROR(-2053, numX -= NumAt(38, 8, "-100"));
    EXPECT_EQ(TextOf(numX), "1");
}

struct DifferenceCase {
    const char* pszX; // at length 5, scale 3
    const char* pszY; // at length 38, scale 8
    int nErr;
    const char* pszResult; // x afterwards
};

// A difference is refused only when the result itself does not fit.
const DifferenceCase kDifferences[] = {
    {"1", "123", -2053, "1"},
    {"-1", "-123", -2053, "-1"},
    {"1", "12", 0, "-11"},
    {"0.01", "12", 0, "-11.99"},
    {"0.001", "12", 0, "-11.999"},
    {"0.001", "99.999", 0, "-99.998"},
    {"-0.001", "-99.999", 0, "99.998"},
    {"0.001", "100", 0, "-99.999"},
    {"0.001", "100.001", -2053, "0.001"},
    {"99.999", "0.001", 0, "99.998"},
};

TEST(NumAddSub, DifferenceAtTheCapacity)
{
    for (const DifferenceCase& c : kDifferences) {
        SCOPED_TRACE(std::string(c.pszX) + " - " + c.pszY);
        clsNumDbFld numX = NumAt(5, 3, c.pszX);
        if (c.nErr != 0) {
            EXPECT_UTIL_ERROR(c.nErr, numX -= NumAt(38, 8, c.pszY));
            EXPECT_TRUE(NumProbe::Work(numX).IsEmpty());
        } else {
            numX -= NumAt(38, 8, c.pszY);
        }
        EXPECT_EQ(TextOf(numX), c.pszResult);
        EXPECT_EQ(NumProbe::Len(numX), 5);
        EXPECT_EQ(NumProbe::Scale(numX), 3);
    }
}

// The exact result fits, the rounded one does not: the rounding carry leaves
// the null value.
TEST(NumAddSub, RoundingCarryBeyondTheCapacityLeavesNull)
{
    clsNumDbFld numSum = NumAt(5, 3, "99.999");
    EXPECT_UTIL_ERROR(-2053, numSum += NumAt(38, 8, "0.0005"));
    EXPECT_TRUE(NumProbe::Data(numSum).IsEmpty());

    clsNumDbFld numNeg = NumAt(5, 3, "-99.999");
    EXPECT_UTIL_ERROR(-2053, numNeg += NumAt(38, 8, "-0.0005"));
    EXPECT_TRUE(NumProbe::Data(numNeg).IsEmpty());

    clsNumDbFld numDiff = NumAt(5, 3, "99.999");
    EXPECT_UTIL_ERROR(-2053, numDiff -= NumAt(38, 8, "-0.00051"));
    EXPECT_TRUE(NumProbe::Data(numDiff).IsEmpty());

    // The same carry below the capacity is an ordinary rounding.
    clsNumDbFld numFits = NumAt(6, 3, "99.999");
    numFits += NumAt(38, 8, "0.0005");
    EXPECT_EQ(PackedText(numFits), "'p', 12, 20");
}

// --- rounding to this number's scale --------------------------------------------

struct RoundingCase {
    const char* pszX; // at length 38, scale 2
    char chOp;
    const char* pszY; // at length 38, scale 8
    const char* pszResult;
};

const RoundingCase kRoundings[] = {
    {"1.25", '+', "0.005", "1.26"},
    {"1.25", '+', "0.05", "1.3"},
    {"1.25", '+', "0.00001", "1.25"},
    {"-1.25", '+', "-0.005", "-1.26"},
    {"1.25", '-', "0.005", "1.25"},    // 1.245 rounds away from zero
    {"1.25", '-', "0.0051", "1.24"},   // 1.2449
    {"1.25", '-', "-0.00499999", "1.25"},
    {"-1.25", '-', "0.005", "-1.26"},
    {"0.01", '-', "0.005", "0.01"},    // 0.005
    {"0.01", '-', "0.00500001", "0"},  // 0.00499999 rounds to zero
    {"0.01", '+', "-0.00999999", "0"}, // 0.00000001
    {"99.99", '+', "0.005", "100"},
    {"-99.99", '-', "0.005", "-100"},
};

TEST(NumAddSub, RoundsWhenTheOtherHasTheLargerScale)
{
    for (const RoundingCase& c : kRoundings) {
        SCOPED_TRACE(std::string(c.pszX) + " " + c.chOp + " " + c.pszY);
        clsNumDbFld numX = NumAt(38, 2, c.pszX);
        clsNumDbFld numY = NumAt(38, 8, c.pszY);
        if (c.chOp == '+')
            numX += numY;
        else
            numX -= numY;
        EXPECT_EQ(TextOf(numX), c.pszResult);
        EXPECT_EQ(NumProbe::Scale(numX), 2);
    }
    // Zero is stored as "o", never as a rounded digit run.
    clsNumDbFld numZero = NumAt(38, 2, "0.01");
    numZero -= NumAt(38, 8, "0.00500001");
    EXPECT_EQ(PackedText(numZero), "'o'");
}

// --- null and zero operands -------------------------------------------------------

struct NullZeroCase {
    const char* pszX; // nullptr: the null value
    char chOp;
    const char* pszY; // nullptr: the null value
    const char* pszPacked;
};

const NullZeroCase kNullZero[] = {
    {nullptr, '+', "5", "'p', 10, 60"},
    {"5", '+', nullptr, "'p', 10, 60"},
    {nullptr, '+', nullptr, ""},
    {nullptr, '-', nullptr, ""},
    {nullptr, '+', "0", ""},
    {"0", '+', nullptr, "'o'"},
    {"0", '-', "5", "'n', -10, -60"},
    {nullptr, '-', "5", "'n', -10, -60"},
    {"0", '+', "-5", "'n', -10, -60"},
    {"5", '-', "0", "'p', 10, 60"},
    {"-5", '+', "0", "'n', -10, -60"},
    {"0", '-', "0", "'o'"},
};

TEST(NumAddSub, NullAndZeroOperands)
{
    for (const NullZeroCase& c : kNullZero) {
        SCOPED_TRACE(std::string(c.pszX ? c.pszX : "null") + " " + c.chOp + " " + (c.pszY ? c.pszY : "null"));
        clsNumDbFld numX(10, 2);
        if (c.pszX)
            numX = c.pszX;
        clsNumDbFld numY(38, 8);
        if (c.pszY)
            numY = c.pszY;
        if (c.chOp == '+')
            numX += numY;
        else
            numX -= numY;
        EXPECT_EQ(PackedText(numX), c.pszPacked);
        EXPECT_EQ(NumProbe::Len(numX), 10);
        EXPECT_EQ(NumProbe::Scale(numX), 2);
    }
}

// A zero or null number takes the other's value as assignment does: rounded
// to its own scale, refused when the integer digits do not fit.
TEST(NumAddSub, ZeroOrNullTakesTheOtherByAssignment)
{
    clsNumDbFld numNull(10, 2);
    numNull += NumAt(38, 8, "5.555");
    EXPECT_EQ(TextOf(numNull), "5.56");

    clsNumDbFld numZero = NumAt(10, 2, "0");
    numZero -= NumAt(38, 8, "5.555");
    EXPECT_EQ(TextOf(numZero), "-5.56");

    clsNumDbFld numSmall = NumAt(5, 3, "0");
    EXPECT_UTIL_ERROR(-2053, numSmall += NumAt(38, 8, "123"));
    EXPECT_EQ(PackedText(numSmall), "'o'");

    clsNumDbFld numTiny = NumAt(3, 3, "0");
    EXPECT_UTIL_ERROR(-2053, numTiny -= NumAt(38, 8, "0.9999"));
    EXPECT_TRUE(NumProbe::Data(numTiny).IsEmpty());
}

// --- the same number on both sides; signs ---------------------------------------------

TEST(NumAddSub, NumberWithItself)
{
    const char* const apszValues[] = {"1", "99.5", "-0.05", "0.00000001", "12345678901234567890.12345678"};
    const char* const apszDoubled[] = {"2", "199", "-0.1", "0.00000002", "24691357802469135780.24691356"};
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(apszValues[i]);
        clsNumDbFld numX = NumAt(38, 8, apszValues[i]);
        numX += numX;
        EXPECT_EQ(TextOf(numX), apszDoubled[i]);
        numX -= numX;
        EXPECT_EQ(PackedText(numX), "'o'");
    }
    clsNumDbFld numFull = NumAt(5, 3, "50");
    EXPECT_UTIL_ERROR(-2053, numFull += numFull);
    EXPECT_EQ(TextOf(numFull), "50");
}

struct SignCase {
    const char* pszX;
    char chOp;
    const char* pszY;
    const char* pszResult;
};

const SignCase kSigns[] = {
    {"3", '-', "5", "-2"},      {"-3", '+', "5", "2"},      {"3", '+', "-5", "-2"},
    {"-3", '-', "-5", "2"},     {"5", '-', "3", "2"},       {"5", '+', "-3", "2"},
    {"-5", '+', "3", "-2"},     {"-5", '-', "3", "-8"},     {"5", '-', "-3", "8"},
    {"0.5", '-', "1", "-0.5"},  {"-0.5", '+', "1", "0.5"},  {"1", '-', "1.00000001", "-0.00000001"},
    {"-100", '+', "99.99999999", "-0.00000001"},
};

TEST(NumAddSub, SignTurnsWhenTheOtherIsLarger)
{
    for (const SignCase& c : kSigns) {
        SCOPED_TRACE(std::string(c.pszX) + " " + c.chOp + " " + c.pszY);
        clsNumDbFld numX = NumAt(38, 8, c.pszX);
        if (c.chOp == '+')
            numX += NumAt(38, 8, c.pszY);
        else
            numX -= NumAt(38, 8, c.pszY);
        EXPECT_EQ(TextOf(numX), c.pszResult);
    }
}

// --- comparison ------------------------------------------------------------------------

struct CompareCase {
    const char* pszX; // nullptr: the null value
    int nLenX, nScaleX;
    const char* pszY;
    int nLenY, nScaleY;
    int nCompare;
};

const CompareCase kCompares[] = {
    {nullptr, 38, 8, "-5", 38, 8, 1},
    {"-5", 38, 8, nullptr, 38, 8, -1},
    {"0", 38, 8, "-5", 38, 8, 1},
    {nullptr, 38, 8, "0", 38, 8, 0},
    {nullptr, 38, 8, nullptr, 10, 2, 0},
    {nullptr, 38, 8, "0.00000001", 38, 8, -1},
    {"-5", 38, 8, "-4", 38, 8, -1},
    {"0.001", 38, 8, "-1000", 38, 8, 1},
    {"1.5", 38, 8, "1.5", 10, 2, 0},
    {"0.5", 38, 8, "1", 38, 8, -1}, // bytes -11 against 10: signed, not unsigned
    {"-1", 38, 8, "-0.5", 38, 8, -1},
    {"1", 38, 8, "1.0001", 38, 8, -1}, // the shorter string runs out first
    {"-1", 38, 8, "-1.0001", 38, 8, 1},
    {"10", 38, 8, "9.99", 38, 8, 1},
    {"0.5", 38, 8, "0.05", 38, 8, 1},
    {"-0.5", 38, 8, "-0.05", 38, 8, -1},
    {"1010", 38, 8, "1001", 38, 8, 1},
    {"0.00000001", 38, 8, "-0.00000001", 38, 8, 1},
    {"12345678901234567890.1234567", 100, 8, "12345678901234567890.12345671", 38, 8, -1},
};

TEST(NumCompare, SignedOrder)
{
    for (const CompareCase& c : kCompares) {
        SCOPED_TRACE(std::string(c.pszX ? c.pszX : "null") + " vs " + (c.pszY ? c.pszY : "null"));
        // A null text gives the null value.
        clsNumDbFld numX = NumAt(c.nLenX, c.nScaleX, c.pszX);
        clsNumDbFld numY = NumAt(c.nLenY, c.nScaleY, c.pszY);
        EXPECT_EQ(numX.Compare(numY), c.nCompare);
        EXPECT_EQ(numY.Compare(numX), -c.nCompare);
        EXPECT_EQ(numX.Compare(numX), 0);
    }
}

// The packed-order vectors: values in ascending order, each compared with its
// neighbours (the peer runner checks their packed bytes).
TEST(NumCompare, AscendingVectorsInOrder)
{
    const char* const apszAscending[] = {
        "-99999999999999999999999999999999999999",
        "-123.45", "-100", "-99.99", "-10", "-1.01", "-1", "-0.99", "-0.5", "-0.05", "-0.00123",
        "-0.00000001", "0", "0.00000001", "0.00123", "0.05", "0.5", "0.99", "1", "1.01", "10",
        "99.99", "100", "123.45", "99999999999999999999999999999999999999"};
    const int nCount = static_cast<int>(sizeof(apszAscending) / sizeof(apszAscending[0]));
    for (int i = 0; i < nCount; ++i) {
        for (int j = 0; j < nCount; ++j) {
            clsNumDbFld numI = NumAt(100, 8, apszAscending[i]);
            clsNumDbFld numJ = NumAt(100, 8, apszAscending[j]);
            int nWant = i < j ? -1 : (i > j ? 1 : 0);
            EXPECT_EQ(numI.Compare(numJ), nWant) << apszAscending[i] << " vs " << apszAscending[j];
        }
    }
}

const CompareCase kCompareAbs[] = {
    {"-5", 38, 8, "4", 38, 8, 1},
    {"5", 38, 8, "-5", 38, 8, 0},
    {"1.2", 38, 8, "1.23", 38, 8, -1},
    {"0.5", 38, 8, "0.25", 38, 8, 1},
    {"-0.5", 38, 8, "1", 38, 8, -1},
    {"-100", 38, 8, "99.99", 38, 8, 1},
    {"1.5", 38, 8, "-1.5", 10, 2, 0},
    {"-1.01", 38, 8, "-1.1", 38, 8, -1},
    // Zero and the null value are the smallest magnitude.
    {"0", 38, 8, "-5", 38, 8, -1},
    {nullptr, 38, 8, "5", 38, 8, -1},
    {nullptr, 38, 8, "0", 38, 8, 0},
    {"-0.00000001", 38, 8, "0", 38, 8, 1},
};

TEST(NumCompare, OrderOfMagnitudes)
{
    for (const CompareCase& c : kCompareAbs) {
        SCOPED_TRACE(std::string(c.pszX ? c.pszX : "null") + " vs " + (c.pszY ? c.pszY : "null"));
        // A null text gives the null value.
        clsNumDbFld numX = NumAt(c.nLenX, c.nScaleX, c.pszX);
        clsNumDbFld numY = NumAt(c.nLenY, c.nScaleY, c.pszY);
        EXPECT_EQ(numX.CompareAbs(numY), c.nCompare);
        EXPECT_EQ(numY.CompareAbs(numX), -c.nCompare);
    }
}

// --- postfix increment and decrement ---------------------------------------------------

TEST(NumAddSub, PostfixGivesTheOldValue)
{
    clsNumDbFld numX = NumAt(38, 8, "1.5");
    clsNumDbFld numY = numX++;
    EXPECT_EQ(TextOf(numY), "1.5");
    EXPECT_EQ(TextOf(numX), "2.5");
    numY = numX--;
    EXPECT_EQ(TextOf(numY), "2.5");
    EXPECT_EQ(TextOf(numX), "1.5");

    clsNumDbFld numNeg = NumAt(38, 8, "-0.5");
    numNeg++;
    EXPECT_EQ(TextOf(numNeg), "0.5");

    // The null value counts as zero; the old value returned is the null value.
    clsNumDbFld numNull(10, 2);
    clsNumDbFld numOld = numNull++;
    EXPECT_TRUE(NumProbe::Data(numOld).IsEmpty());
    EXPECT_EQ(PackedText(numNull), "'p', 10, 20");
    EXPECT_EQ(NumProbe::Len(numNull), 10);
}

// Length 8 and scale 8: no room for an integer digit.
TEST(NumAddSub, PostfixWithoutIntegerCapacity)
{
    clsNumDbFld numX = NumAt(8, 8, "0.5");
    EXPECT_UTIL_ERROR(-2053, numX++);
    EXPECT_EQ(TextOf(numX), "0.5");
    clsNumDbFld numOld = numX--;
    EXPECT_EQ(TextOf(numOld), "0.5");
    EXPECT_EQ(TextOf(numX), "-0.5");
    EXPECT_UTIL_ERROR(-2053, numX--);
    EXPECT_EQ(TextOf(numX), "-0.5");
    numX++;
    EXPECT_EQ(TextOf(numX), "0.5");

    clsNumDbFld numSmall = NumAt(1, 0, "9");
    EXPECT_UTIL_ERROR(-2053, numSmall++);
    EXPECT_EQ(TextOf(numSmall), "9");
}

} // namespace
