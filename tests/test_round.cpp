// Rounding, length and scale, the defaults, the assignment between numbers,
// negation and the one-digit shifts of a digit run.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "tv_ref_decimal.h"
#include "tv_test_util.h"

namespace {

// --- Round -----------------------------------------------------------------

struct RoundCase {
    int nLen;
    int nScale;
    const char* pszValue;
    int nRoundTo;
    const char* pszPacked; // the result
};

TEST(NumRound, RoundsHalfAwayFromZero)
{
    const RoundCase aCases[] = {
        {38, 8, "1.005", 2, "'p', 10, 20, 20"},        // 1.01
        {38, 8, "-1.005", 2, "'n', -10, -20, -20"},    // -1.01
        {38, 8, "1.004", 2, "'p', 10, 20"},            // 1
        {38, 8, "0.005", 2, "'p', -12, 20"},           // 0.01
        {38, 8, "0.004", 2, "'o'"},
        {38, 8, "-0.004", 2, "'o'"},                   // zero has no sign
        {38, 8, "1.995", 2, "'p', 10, 30"},            // 2
        {38, 8, "9.995", 2, "'p', 11, 20"},            // 10
        {38, 8, "-9.995", 2, "'n', -11, -20"},         // -10
        {38, 8, "0.45", 0, "'o'"},
        {38, 8, "0.5", 0, "'p', 10, 20"},              // 1: exponent byte -11 becomes 10
        {38, 8, "-0.5", 0, "'n', -10, -20"},           // -1: exponent byte 11 becomes -10
        {38, 8, "0.95", 1, "'p', 10, 20"},             // 1
        {38, 8, "0.94999", 1, "'p', -11, 100"},        // 0.9: only the first dropped digit counts
        {38, 8, "0.0096", 2, "'p', -12, 20"},          // 0.01
        {38, 8, "0.0096", 1, "'o'"},
        {38, 8, "99.95", 1, "'p', 12, 20"},            // 100
        {38, 8, "0.99999999", 7, "'p', 10, 20"},       // 1, the carry through four bytes
        {38, 8, "123.45678", 3, "'p', 12, 22, 44, 67"},     // 123.457
        {38, 8, "123.45678", 4, "'p', 12, 22, 44, 66, 90"}, // 123.4568
        {38, 8, "-123.45", 1, "'n', -12, -22, -45"},        // -123.5
        {38, 8, "12345.6", 0, "'p', 14, 22, 44, 70"},       // 12346
        {38, 8, "1999.5", 0, "'p', 13, 30"},                // 2000
        {10, 2, "12.34", 2, "'p', 11, 22, 44"},             // no change at the scale
        {10, 2, "12.34", -1, "'p', 11, 22, 44"},            // -1 is the scale
        {10, 2, "12.34", 5, "'p', 11, 22, 44"},             // above the scale is the scale
        {10, 2, "12.35", 1, "'p', 11, 22, 50"},             // 12.4
        {10, 2, "0", 0, "'o'"},
        {3, 3, "0.999", 3, "'p', -11, 109, 100"},
        {3, 3, "0.449", 1, "'p', -11, 50"},                 // 0.4
    };
    for (const RoundCase& c : aCases) {
        SCOPED_TRACE(std::string(c.pszValue) + " to " + std::to_string(c.nRoundTo));
        clsNumDbFld num = NumAt(c.nLen, c.nScale, c.pszValue);
        num.Round(c.nRoundTo);
        EXPECT_EQ(PackedText(num), c.pszPacked);
        EXPECT_EQ(NumProbe::Len(num), c.nLen);
        EXPECT_EQ(NumProbe::Scale(num), c.nScale);
    }
    clsNumDbFld numNull(10, 2);
    numNull.Round(0);
    EXPECT_EQ(PackedText(numNull), "");
}

// A carry that needs one more integer digit than the capacity leaves the
// null value; length and scale stay.
TEST(NumRound, CarryBeyondTheCapacityLeavesNull)
{
    const RoundCase aCases[] = {
        {3, 3, "0.999", 2, ""},
        {3, 3, "-0.995", 2, ""},
        {1, 1, "0.5", 0, ""},
        {10, 2, "99999999.5", 0, ""},
        {10, 2, "-99999999.95", 1, ""},
    };
    for (const RoundCase& c : aCases) {
        SCOPED_TRACE(c.pszValue);
        clsNumDbFld num = NumAt(c.nLen, c.nScale, c.pszValue);
        EXPECT_UTIL_ERROR(-2053, num.Round(c.nRoundTo));
        EXPECT_EQ(PackedText(num), "");
        EXPECT_EQ(NumProbe::Len(num), c.nLen);
        EXPECT_EQ(NumProbe::Scale(num), c.nScale);
        num.CheckValid();
    }
}

// Round against the model on random values at many lengths and scales.
TEST(NumRound, RandomValuesAgreeWithTheModel)
{
    const unsigned uSeed = FreshTestSeed();
    SCOPED_TRACE(SeedNote(uSeed));
    std::mt19937 rng(uSeed);
    const char* pszDigits = "0123456789";
    int nCarryFailures = 0;
    for (int nIter = 0; nIter < 3000; ++nIter) {
        int nLen = std::uniform_int_distribution<int>(1, 100)(rng);
        int nScale = std::uniform_int_distribution<int>(0, nLen)(rng);
        int nInt = std::uniform_int_distribution<int>(0, nLen - nScale)(rng);
        int nFrac = std::uniform_int_distribution<int>(0, nScale)(rng);
        // Nines are frequent, so that carries run far.
        std::uniform_int_distribution<int> digit(0, 12);
        std::string strInt, strFrac;
        for (int i = 0; i < nInt; ++i) {
            int d = digit(rng);
            strInt += d > 9 ? '9' : pszDigits[d];
        }
        for (int i = 0; i < nFrac; ++i) {
            int d = digit(rng);
            strFrac += d > 9 ? '9' : pszDigits[d];
        }
        bool bNegative = rng() % 2 == 0;
        std::string strValue = tvref::CanonText(bNegative, strInt, strFrac);
        int nRoundTo = std::uniform_int_distribution<int>(-1, nScale + 1)(rng);
        int nTarget = nRoundTo < 0 || nRoundTo > nScale ? nScale : nRoundTo;
        tvref::Outcome expected = tvref::RoundText(strValue, nTarget, nLen - nScale);

        clsNumDbFld num = NumAt(nLen, nScale, strValue.c_str());
        ASSERT_EQ(TextOf(num), strValue);
        SCOPED_TRACE(strValue + " at (" + std::to_string(nLen) + ", " + std::to_string(nScale) +
                     ") to " + std::to_string(nRoundTo));
        if (expected.nErr != 0) {
            ASSERT_UTIL_ERROR(expected.nErr, num.Round(nRoundTo));
            ASSERT_EQ(PackedText(num), "");
            ++nCarryFailures;
        } else {
            num.Round(nRoundTo);
            ASSERT_EQ(TextOf(num), expected.strText);
            // The rounded value has the one packed form of its text.
            ASSERT_EQ(PackedText(num), PackedText(NumAt(nLen, nScale, expected.strText.c_str())));
        }
    }
    // The draw reaches the carries that do not fit, too.
    EXPECT_GT(nCarryFailures, 0);
}

TEST(NumRound, RoundToWorksOnTheCountItIsGiven)
{
    NumProbe num(38, 8);
    num = "1.23456";
    num.RoundTo(3, 5);
    EXPECT_EQ(TextOf(num), "1.235");
    num.RoundTo(-1, 3); // -1 is the scale, 8: nothing to do
    EXPECT_EQ(TextOf(num), "1.235");
    num.RoundTo(3, 3); // the count is not above the new scale: nothing happens
    EXPECT_EQ(TextOf(num), "1.235");
}

// --- the digit shifts ------------------------------------------------------

// A digit run in a buffer with guard bytes behind the room that a shift may use.
struct DigitBuffer {
    char ach[16];
    explicit DigitBuffer(std::vector<int> anBytes)
    {
        std::memset(ach, 0x55, sizeof(ach));
        for (size_t i = 0; i < anBytes.size(); ++i)
            ach[i] = static_cast<char>(static_cast<signed char>(anBytes[i]));
        ach[anBytes.size()] = 0;
    }
    std::vector<int> Bytes() const
    {
        std::vector<int> an;
        for (int i = 0; ach[i] != 0; ++i)
            an.push_back(static_cast<signed char>(ach[i]));
        return an;
    }
    // Bytes from nFrom on still hold the guard value.
    bool GuardsIntact(int nFrom) const
    {
        for (int i = nFrom; i < static_cast<int>(sizeof(ach)); ++i)
            if (ach[i] != 0x55)
                return false;
        return true;
    }
};

TEST(NumRound, DigitShifts)
{
    struct ShiftCase {
        std::vector<int> anIn;
        std::vector<int> anLeft;  // after ShiftLeftDigit, same number of bytes
        std::vector<int> anRight; // after ShiftRightDigit, one byte more
    };
    const ShiftCase aCases[] = {
        {{15, 44}, {63, 50}, {10, 63, 50}},     // 0 5 3 4
        {{63, 50}, {44, 10}, {15, 44, 10}},     // 5 3 4 0
        {{-15, -44}, {-63, -50}, {-10, -63, -50}},
        {{-63, -50}, {-44, -10}, {-15, -44, -10}},
        {{22, 40}, {33, 10}, {11, 33, 10}},     // 1 2 3 0
        {{20}, {10}, {11, 10}},                 // 1 0
        {{109, 109, 109}, {109, 109, 100}, {19, 109, 109, 100}},
        {{10, 109}, {19, 100}, {10, 19, 100}},
    };
    NumProbe probe;
    for (const ShiftCase& c : aCases) {
        DigitBuffer bufLeft(c.anIn);
        probe.ShiftLeftDigit(bufLeft.ach);
        EXPECT_EQ(bufLeft.Bytes(), c.anLeft);
        EXPECT_TRUE(bufLeft.GuardsIntact(static_cast<int>(c.anIn.size()) + 1));

        DigitBuffer bufRight(c.anIn);
        probe.ShiftRightDigit(bufRight.ach);
        EXPECT_EQ(bufRight.Bytes(), c.anRight);
        // One more byte and its NUL; nothing behind them.
        EXPECT_TRUE(bufRight.GuardsIntact(static_cast<int>(c.anIn.size()) + 2));
    }
    // The two shifts undo each other: 63, 50 right-shifted is 0 5 3 4 0 0...
    DigitBuffer buf({63, 50});
    probe.ShiftRightDigit(buf.ach);
    EXPECT_EQ(buf.Bytes(), (std::vector<int>{15, 44, 10}));
    // ...which the caller trims to 15, 44; left-shifted back it is 5 3 4 0 again.
    buf.ach[2] = 0;
    probe.ShiftLeftDigit(buf.ach);
    EXPECT_EQ(buf.Bytes(), (std::vector<int>{63, 50}));
}

// --- Negate ----------------------------------------------------------------

TEST(NumRound, Negate)
{
    clsNumDbFld num = NumAt(38, 8, "123.45");
    num.Negate();
    EXPECT_EQ(PackedText(num), "'n', -12, -22, -44, -60");
    EXPECT_EQ(std::string(static_cast<const char*>(num)), "-123.45");
    num.Negate();
    EXPECT_EQ(PackedText(num), "'p', 12, 22, 44, 60");

    num = "-0.00123";
    num.Negate();
    EXPECT_EQ(PackedText(num), "'p', -13, 22, 40");

    num = "0";
    num.Negate();
    EXPECT_EQ(PackedText(num), "'o'");
    clsNumDbFld numNull(10, 2);
    numNull.Negate();
    EXPECT_EQ(PackedText(numNull), "");

    // Unary minus is a negated copy.
    clsNumDbFld numPos = NumAt(10, 2, "5.5");
    clsNumDbFld numNeg = -numPos;
    EXPECT_EQ(TextOf(numNeg), "-5.5");
    EXPECT_EQ(TextOf(numPos), "5.5");
}

// --- SetLenScale -----------------------------------------------------------

struct LenScaleCase {
    int nLen, nScale;       // the number
    const char* pszValue;   // nullptr: the null value
    int nNewLen, nNewScale; // the call
    int nErr;               // 0: success
    int nWantLen, nWantScale;
    const char* pszWant;    // the value afterwards, as text
};

TEST(NumLenScale, SetLenScale)
{
    const LenScaleCase aCases[] = {
        {38, 8, "123.456", 100, -1, 0, 100, 8, "123.456"},
        {38, 8, "123.456", -1, -1, 0, 38, 8, "123.456"},
        {38, 8, "123.456", 10, 2, 0, 10, 2, "123.46"},
        {38, 8, "-123.455", 10, 2, 0, 10, 2, "-123.46"},
        {38, 8, "123.456", -1, 0, 0, 38, 0, "123"},
        {38, 8, "123.456", 3, 0, 0, 3, 0, "123"},
        {38, 8, "0.456", 1, 1, 0, 1, 1, "0.5"},
        {38, 8, nullptr, 1, 0, 0, 1, 0, ""},
        {38, 8, "99999999.99", 10, 2, 0, 10, 2, "99999999.99"},
        {10, 2, "12.34", 100, 100, -2053, 10, 2, "12.34"}, // capacity 0 for two integer digits
        {10, 2, "0.34", 100, 100, 0, 100, 100, "0.34"},
        // 2001: nothing changes
        {38, 8, "1.5", 0, 0, 2001, 38, 8, "1.5"},
        {38, 8, "1.5", 101, 0, 2001, 38, 8, "1.5"},
        {38, 8, "1.5", -2, 0, 2001, 38, 8, "1.5"},
        {38, 8, "1.5", 10, 11, 2001, 38, 8, "1.5"},
        {38, 8, "1.5", 10, -2, 2001, 38, 8, "1.5"},
        {38, 8, "1.5", -1, 39, 2001, 38, 8, "1.5"},
        // -2053 when the integer digits no longer fit: nothing changes
        {38, 8, "123456789", 10, 2, -2053, 38, 8, "123456789"},
        {38, 8, "-123", 4, 2, -2053, 38, 8, "-123"},
        // a kept scale above the new length: a negative capacity, -2053 even on null
        {38, 8, "1.5", 5, -1, -2053, 38, 8, "1.5"},
        {38, 8, nullptr, 5, -1, -2053, 38, 8, ""},
        {38, 8, "0", 7, -1, -2053, 38, 8, "0"},
        // a length equal to the kept scale: capacity 0, which 0.5 fits
        {38, 8, "0.5", 8, -1, 0, 8, 8, "0.5"},
    };
    for (const LenScaleCase& c : aCases) {
        SCOPED_TRACE(std::string(c.pszValue ? c.pszValue : "(null)") + " at (" + std::to_string(c.nLen) +
                     ", " + std::to_string(c.nScale) + ") set to (" + std::to_string(c.nNewLen) + ", " +
                     std::to_string(c.nNewScale) + ")");
        clsNumDbFld num(c.nLen, c.nScale);
        num = c.pszValue;
        std::string strPackedBefore = PackedText(num);
        if (c.nErr != 0) {
            EXPECT_UTIL_ERROR(c.nErr, num.SetLenScale(c.nNewLen, c.nNewScale));
            EXPECT_EQ(PackedText(num), strPackedBefore);
        } else {
            num.SetLenScale(c.nNewLen, c.nNewScale);
        }
        EXPECT_EQ(NumProbe::Len(num), c.nWantLen);
        EXPECT_EQ(NumProbe::Scale(num), c.nWantScale);
        EXPECT_EQ(TextOf(num), c.pszWant);
        num.CheckValid();
    }
}

// A rounding carry that does not fit: the new length and scale are kept and
// the value is null.
TEST(NumLenScale, RoundingCarryThatDoesNotFitLeavesNull)
{
    clsNumDbFld num = NumAt(10, 2, "99999999.99");
    EXPECT_UTIL_ERROR(-2053, num.SetLenScale(9, 1));
    EXPECT_EQ(NumProbe::Len(num), 9);
    EXPECT_EQ(NumProbe::Scale(num), 1);
    EXPECT_EQ(PackedText(num), "");

    clsNumDbFld numSmall = NumAt(5, 5, "0.99995");
    EXPECT_UTIL_ERROR(-2053, numSmall.SetLenScale(4, 4));
    EXPECT_EQ(NumProbe::Len(numSmall), 4);
    EXPECT_EQ(PackedText(numSmall), "");
}

TEST(NumLenScale, LengthScaleConstructor)
{
    struct CtorCase {
        int nLen, nScale, nErr, nWantLen, nWantScale;
    };
    const CtorCase aCases[] = {
        {100, 8, 0, 100, 8}, {38, 4, 0, 38, 4}, {10, -1, 0, 10, 0}, {1, 0, 0, 1, 0},
        {1, 1, 0, 1, 1},     {100, 100, 0, 100, 100},
        {0, 0, 2001, 0, 0},  {10, 11, 2001, 0, 0}, {101, 0, 2001, 0, 0}, {-2, 0, 2001, 0, 0},
        {10, -2, 2001, 0, 0},
        // -1 would keep the length 0 that the constructor starts from.
        {-1, 0, 2001, 0, 0}, {-1, -1, 2001, 0, 0},
    };
    for (const CtorCase& c : aCases) {
        SCOPED_TRACE(std::to_string(c.nLen) + ", " + std::to_string(c.nScale));
        if (c.nErr != 0) {
            EXPECT_UTIL_ERROR(c.nErr, clsNumDbFld num(c.nLen, c.nScale));
            continue;
        }
        clsNumDbFld num(c.nLen, c.nScale);
        EXPECT_EQ(NumProbe::Len(num), c.nWantLen);
        EXPECT_EQ(NumProbe::Scale(num), c.nWantScale);
        EXPECT_EQ(PackedText(num), "");
        EXPECT_EQ(std::string(NumProbe::Text(num)), "");
        num.CheckValid();
    }
}

// --- SetDefaultLenScale ----------------------------------------------------

class NumDefaults : public ::testing::Test {
protected:
    void TearDown() override { clsNumDbFld::SetDefaultLenScale(38, 8); }
};

TEST_F(NumDefaults, NewDefaultsReachNewNumbersOnly)
{
    clsNumDbFld numBefore;
    clsNumDbFld::SetDefaultLenScale(20, 4);
    EXPECT_EQ(clsNumDbFld::GetDefaultLen(), 20);
    EXPECT_EQ(clsNumDbFld::GetDefaultScale(), 4);
    clsNumDbFld numAfter;
    EXPECT_EQ(NumProbe::Len(numAfter), 20);
    EXPECT_EQ(NumProbe::Scale(numAfter), 4);
    EXPECT_EQ(NumProbe::Len(numBefore), 38);
    EXPECT_EQ(NumProbe::Scale(numBefore), 8);
    // The constructors from a value take them too, and round to them.
    clsNumDbFld numText("1.23456");
    EXPECT_EQ(NumProbe::Len(numText), 20);
    EXPECT_EQ(TextOf(numText), "1.2346");
    clsNumDbFld numLong(5L);
    EXPECT_EQ(NumProbe::Scale(numLong), 4);
    // The global numbers keep theirs.
    EXPECT_EQ(NumProbe::Len(g_numOne), 38);
    EXPECT_EQ(NumProbe::Scale(g_numZero), 8);

    clsNumDbFld::SetDefaultLenScale(-1, 2);
    EXPECT_EQ(clsNumDbFld::GetDefaultLen(), 20);
    EXPECT_EQ(clsNumDbFld::GetDefaultScale(), 2);
    clsNumDbFld::SetDefaultLenScale(50, -1);
    EXPECT_EQ(clsNumDbFld::GetDefaultLen(), 50);
    EXPECT_EQ(clsNumDbFld::GetDefaultScale(), 2);
    clsNumDbFld::SetDefaultLenScale(-1, -1);
    EXPECT_EQ(clsNumDbFld::GetDefaultLen(), 50);
    EXPECT_EQ(clsNumDbFld::GetDefaultScale(), 2);
    clsNumDbFld::SetDefaultLenScale(1, 1);
    EXPECT_EQ(clsNumDbFld::GetDefaultLen(), 1);
    clsNumDbFld::SetDefaultLenScale(100, 100);
    EXPECT_EQ(clsNumDbFld::GetDefaultScale(), 100);
}

TEST_F(NumDefaults, BadDefaultsRaise2001AndChangeNothing)
{
    const int anCalls[][2] = {{5, -1}, {0, 0}, {101, 0}, {-2, 0}, {10, 11}, {10, -2}, {-1, 39}};
    for (const auto& an : anCalls) {
        SCOPED_TRACE(std::to_string(an[0]) + ", " + std::to_string(an[1]));
        EXPECT_UTIL_ERROR(2001, clsNumDbFld::SetDefaultLenScale(an[0], an[1]));
        EXPECT_EQ(clsNumDbFld::GetDefaultLen(), 38);
        EXPECT_EQ(clsNumDbFld::GetDefaultScale(), 8);
    }
}

// --- assignment between numbers -------------------------------------------

struct AssignCase {
    int nLen, nScale;           // this number, holding pszOld
    const char* pszOld;
    int nOtherLen, nOtherScale; // the other number, holding pszOther
    const char* pszOther;
    int nErr;
    const char* pszWant;        // this number afterwards
};

TEST(NumAssign, KeepsLengthAndScaleAndRounds)
{
    const std::string str32(32, '7');
    const AssignCase aCases[] = {
        {10, 2, "5", 38, 8, "1.005", 0, "1.01"},
        {10, 2, "5", 38, 8, "-1.005", 0, "-1.01"},
        {10, 2, "5", 38, 8, "1.004", 0, "1"},
        {100, 8, "5", 38, 4, "123.4567", 0, "123.4567"},
        {10, 2, "5", 38, 8, "99999999.99", 0, "99999999.99"},
        {10, 2, "5", 38, 3, "99999999.994", 0, "99999999.99"},
        {38, 8, "5", 10, 2, "-12345678.9", 0, "-12345678.9"},
        {5, 5, "0.5", 38, 8, "0.123456", 0, "0.12346"},
        {5, 5, "0.5", 38, 8, "0", 0, "0"},
        {10, 2, "5", 38, 8, nullptr, 0, ""},
        {10, 0, "5", 38, 8, "0.4", 0, "0"},
        // integer digits that do not fit: -2053, the old value stays
        {10, 2, "5", 38, 8, "123456789", -2053, "5"},
        {38, 8, "5", 38, 4, str32.c_str(), -2053, "5"},
        {5, 5, "0.5", 38, 8, "1", -2053, "0.5"},
        {10, 2, nullptr, 38, 8, "-123456789.5", -2053, ""},
        // a rounding carry that does not fit: -2053, the null value
        {10, 2, "5", 38, 3, "99999999.995", -2053, ""},
        {3, 3, "0.5", 38, 8, "0.9995", -2053, ""},
    };
    for (const AssignCase& c : aCases) {
        SCOPED_TRACE(std::string(c.pszOther ? c.pszOther : "(null)") + " into (" + std::to_string(c.nLen) +
                     ", " + std::to_string(c.nScale) + ")");
        clsNumDbFld num(c.nLen, c.nScale);
        num = c.pszOld;
        clsNumDbFld numOther(c.nOtherLen, c.nOtherScale);
        numOther = c.pszOther;
        std::string strOtherPacked = PackedText(numOther);
        if (c.nErr != 0)
            EXPECT_UTIL_ERROR(c.nErr, num = numOther);
        else
            num = numOther;
        EXPECT_EQ(TextOf(num), c.pszWant);
        EXPECT_EQ(NumProbe::Len(num), c.nLen);
        EXPECT_EQ(NumProbe::Scale(num), c.nScale);
        EXPECT_EQ(PackedText(numOther), strOtherPacked);
        num.CheckValid();
    }
}

// x = a copies the packed bytes in 16-byte moves: values of every length, of
// either sign, into a new number, over a longer value (in place) and over a
// shorter one (a new block), keep every byte and end where they end.
TEST(NumAssign, CopiesValuesOfEveryLength)
{
    const std::string strLong(100, '9');
    for (int nDigits = 1; nDigits <= 100; ++nDigits) {
        for (const char* pszSign : {"", "-"}) {
            std::string strValue = pszSign;
            for (int i = 0; i < nDigits; ++i)
                strValue += static_cast<char>('1' + (i * 7) % 9);
            SCOPED_TRACE(strValue);
            const clsNumDbFld numValue = NumAt(100, 0, strValue.c_str());
            const std::string strPacked = PackedText(numValue);
            clsNumDbFld numNew(100, 0);
            numNew = numValue;
            clsNumDbFld numOverLonger = NumAt(100, 0, strLong.c_str());
            numOverLonger = numValue;
            clsNumDbFld numOverShorter = NumAt(100, 0, "-1");
            numOverShorter = numValue;
            for (const clsNumDbFld* pNum : {&numNew, &numOverLonger, &numOverShorter}) {
                EXPECT_EQ(PackedText(*pNum), strPacked);
                EXPECT_EQ(TextOf(*pNum), strValue);
            }
        }
    }
}

TEST(NumAssign, SelfAssignmentChangesNothing)
{
    clsNumDbFld num = NumAt(10, 2, "12.34");
    clsNumDbFld& numAlias = num;
    num = numAlias;
    EXPECT_EQ(PackedText(num), "'p', 11, 22, 44");
    clsNumDbFld numNull(10, 2);
    clsNumDbFld& numNullAlias = numNull;
    numNull = numNullAlias;
    EXPECT_EQ(PackedText(numNull), "");
}

// Assignment leaves the kept text form alone; reading it gives the new value.
TEST(NumAssign, TextFormFollowsTheValue)
{
    clsNumDbFld num = NumAt(10, 2, "1");
    EXPECT_EQ(std::string(static_cast<const char*>(num)), "1");
    num = NumAt(38, 8, "2.345");
    EXPECT_EQ(std::string(NumProbe::Text(num)), "1");
    EXPECT_EQ(std::string(static_cast<const char*>(num)), "2.35");
}

} // namespace
