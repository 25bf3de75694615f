// Comparison, addition, subtraction and the postfix increment and decrement
// of clsNumDbFld: exact packed results, overflow at the integer capacity,
// rounding to a smaller scale, null and zero operands and signs; and the sum
// kernel on packed bytes against exact arithmetic.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "tv_ref_decimal.h"
#include "tv_test_util.h"
#include "tvdcndf_packed.h"

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

// --- the sum kernel on packed bytes ---------------------------------------------
//
// SumPacked adds eight digit pairs at a time: carries and borrows cross word
// boundaries, the other operand is moved by whole pairs and, for an odd
// exponent difference, by one digit, and a result that begins with a single
// digit is paired again. Frames of up to 16 pairs and longer ones take
// different paths. Every case below runs as a + b and a - b, in both orders
// and with all four signs, against exact arithmetic, with each operand in a
// block of its own exact size (the sanitizer build reports a read past it)
// and guard bytes after the kernel's buffer.

// The packed bytes of an exact value (at most 101 digits): "o" for zero.
std::string PackedOf(const tvref::Dec& d)
{
    if (d.strMag.empty())
        return "o";
    const int nExp = d.nExp + static_cast<int>(d.strMag.size()) - 1;
    const int nExpByte = nExp >= 0 ? nExp + 10 : nExp - 10;
    std::string str(1, d.bNeg ? 'n' : 'p');
    str += static_cast<char>(d.bNeg ? -nExpByte : nExpByte);
    for (size_t i = 0; i < d.strMag.size(); i += 2) {
        const int nPair = (d.strMag[i] - '0') * 10 + (i + 1 < d.strMag.size() ? d.strMag[i + 1] - '0' : 0);
        str += static_cast<char>(d.bNeg ? -(nPair + 10) : nPair + 10);
    }
    return str;
}

// digits * 10^nLowPlace, as an exact value.
tvref::Dec DecOf(const std::string& strDigits, int nLowPlace)
{
    tvref::Dec d;
    d.strMag = strDigits;
    d.nExp = nLowPlace;
    tvref::detail::Normalize(d);
    return d;
}

// Runs a +/- b through SumPacked in all orders and signs; gives the first
// disagreement with exact arithmetic, or "".
std::string CheckSumKernel(const tvref::Dec& a, const tvref::Dec& b)
{
    constexpr int kGuard = 16;
    for (int nCase = 0; nCase < 16; ++nCase) {
        tvref::Dec x = nCase & 1 ? b : a;
        tvref::Dec y = nCase & 1 ? a : b;
        x.bNeg = (nCase & 2) != 0;
        y.bNeg = (nCase & 4) != 0;
        const bool bSubtract = (nCase & 8) != 0;
        const std::string strX = PackedOf(x);
        const std::string strY = PackedOf(y);
        const std::string strWant = PackedOf(bSubtract ? tvref::Sub(x, y) : tvref::Add(x, y));
        std::unique_ptr<char[]> pX(new char[strX.size() + 1]);
        std::unique_ptr<char[]> pY(new char[strY.size() + 1]);
        std::memcpy(pX.get(), strX.c_str(), strX.size() + 1);
        std::memcpy(pY.get(), strY.c_str(), strY.size() + 1);
        std::vector<char> aBuf(tvpacked::kSumBufBytes + kGuard, '\x5a');
        const char* pSum = nullptr;
        const int nLen = tvpacked::SumPacked(pX.get(), static_cast<int>(strX.size()), pY.get(),
                                             static_cast<int>(strY.size()), bSubtract, aBuf.data(), &pSum);
        std::string strWhat = tvref::Text(x) + (bSubtract ? " - " : " + ") + tvref::Text(y) + ": ";
        if (pSum < aBuf.data() || pSum + nLen >= aBuf.data() + tvpacked::kSumBufBytes)
            return strWhat + "result outside the buffer";
        if (std::string(pSum, static_cast<size_t>(nLen)) != strWant || pSum[nLen] != 0)
            return strWhat + "gave " + BytesText(pSum, nLen) + ", expected " + BytesText(strWant.c_str());
        if (std::string(aBuf.end() - kGuard, aBuf.end()) != std::string(kGuard, '\x5a'))
            return strWhat + "wrote past the buffer";
    }
    return "";
}

// Long carries and borrows: 10^k - 10^j (nines) with 10^j, of every length
// from 1 to 101 digits and both parities of j, so that a carry or a borrow
// runs through every slot and across every word boundary of both paths; and
// 10^k against 10^j alone (one-byte operands far apart).
TEST(NumSumKernel, CarriesAndBorrowsThroughEveryWord)
{
    for (int nDigits = 1; nDigits <= 101; ++nDigits) {
        for (int nLow : {-nDigits / 2, 0 - (nDigits % 2 == 0), -101 + (nDigits < 100 ? 1 : 0)}) {
            if (nLow + nDigits > 100)
                continue;
            SCOPED_TRACE("digits " + std::to_string(nDigits) + " from place " + std::to_string(nLow));
            EXPECT_EQ(CheckSumKernel(DecOf(std::string(static_cast<size_t>(nDigits), '9'), nLow), DecOf("1", nLow)),
                      "");
            EXPECT_EQ(CheckSumKernel(DecOf("1", nLow + nDigits - 1), DecOf("1", nLow)), "");
        }
    }
}

// Operands that share their leading digits: the difference loses all of
// them (the result is paired again from wherever it begins), and with equal
// exponents the second operand is the larger as often as the first.
TEST(NumSumKernel, DifferencesThatLoseTheirLeadingDigits)
{
    std::mt19937 rng(20240612);
    auto Digit = [&] { return static_cast<char>('0' + std::uniform_int_distribution<int>(0, 9)(rng)); };
    for (int nPrefix = 1; nPrefix <= 99; ++nPrefix) {
        std::string strPrefix(1, '1');
        for (int i = 1; i < nPrefix; ++i)
            strPrefix += Digit();
        SCOPED_TRACE("prefix of " + std::to_string(nPrefix) + " digits");
        const int nLow = -nPrefix / 2;
        // Equal lengths, one digit apart at the end; and one operand longer.
        EXPECT_EQ(CheckSumKernel(DecOf(strPrefix + "3", nLow), DecOf(strPrefix + "7", nLow)), "");
        EXPECT_EQ(CheckSumKernel(DecOf(strPrefix + "5", nLow), DecOf(strPrefix + "52", nLow - 1)), "");
        EXPECT_EQ(CheckSumKernel(DecOf(strPrefix, nLow), DecOf(strPrefix, nLow)), "");
    }
}

// Random digits at random lengths and places, biased toward lengths at the
// boundaries of eight and sixteen pairs, against exact arithmetic.
TEST(NumSumKernel, RandomOperandsMatchExactArithmetic)
{
    const unsigned long long nSeed = TestSeed(20240613);
    SCOPED_TRACE(SeedNote(nSeed));
    std::mt19937_64 rng(nSeed);
    auto Uniform = [&](int nLo, int nHi) { return std::uniform_int_distribution<int>(nLo, nHi)(rng); };
    auto Operand = [&] {
        static const int kLengths[] = {1, 2, 3, 4, 7, 8, 9, 15, 16, 17, 31, 32, 33, 63, 64, 65, 100, 101};
        const int nDigits = Uniform(0, 1) ? Uniform(1, 101) : kLengths[Uniform(0, 17)];
        const int nStyle = Uniform(0, 3); // random, mostly nines, mostly zeros
        std::string str(1, static_cast<char>('1' + Uniform(0, 8)));
        for (int i = 1; i < nDigits; ++i) {
            const int nDigit = Uniform(0, 9);
            str += static_cast<char>(nStyle == 1 && nDigit < 8 ? '9' : nStyle == 2 && nDigit < 8 ? '0' : '0' + nDigit);
        }
        return DecOf(str, Uniform(-101, 100 - nDigits));
    };
    int nFailures = 0;
    for (int i = 0; i < 3000 && nFailures < 10; ++i) {
        const tvref::Dec a = Operand();
        tvref::Dec b = Operand();
        if (Uniform(0, 3) == 0) // often the same exponent, or one digit off
            b = DecOf(b.strMag, a.nExp + static_cast<int>(a.strMag.size()) - static_cast<int>(b.strMag.size()) +
                                    Uniform(0, 1));
        if (b.nExp < -101 || b.nExp + static_cast<int>(b.strMag.size()) > 100)
            continue;
        const std::string strFault = CheckSumKernel(a, b);
        if (!strFault.empty()) {
            ++nFailures;
            ADD_FAILURE() << "case " << i << ": " << strFault;
        }
    }
    EXPECT_EQ(nFailures, 0);
}

// The lower operand is read word by word where it stands in a long frame:
// its first word begins at any of the eight slots of a word, and an odd
// exponent difference moves it one digit more. Runs of 1 to 40 digits (both
// parities of length, shorter and longer than eight bytes) at every offset
// below a 41-digit operand, and beyond its end.
TEST(NumSumKernel, LowerOperandAtEveryOffsetOfALongFrame)
{
    std::mt19937 rng(20261210);
    auto Digits = [&](int n) {
        std::string str(1, static_cast<char>('1' + std::uniform_int_distribution<int>(0, 8)(rng)));
        for (int i = 1; i < n; ++i)
            str += static_cast<char>('0' + std::uniform_int_distribution<int>(0, 9)(rng));
        if (n > 1 && str.back() == '0')
            str.back() = '7';
        return str;
    };
    const tvref::Dec hi = DecOf(Digits(41), 0); // places 0 .. 40
    int nFailures = 0;
    for (int nDigits = 1; nDigits <= 40 && nFailures < 10; ++nDigits) {
        const std::string strLo = Digits(nDigits);
        for (int nTop = 40; nTop >= -30 && nFailures < 10; --nTop) {
            const std::string strFault = CheckSumKernel(hi, DecOf(strLo, nTop - nDigits + 1));
            if (!strFault.empty()) {
                ++nFailures;
                ADD_FAILURE() << nDigits << " digits up to place " << nTop << ": " << strFault;
            }
        }
    }
    EXPECT_EQ(nFailures, 0);
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
