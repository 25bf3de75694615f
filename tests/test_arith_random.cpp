// Addition, subtraction, multiplication, comparison and the integer and
// decimal parts against exact arithmetic on digit strings (tv_ref_decimal.h):
// random operands at many lengths and scales, and tables of long carries and
// borrows. Every result must be the exact one rounded half away from zero to
// the number's scale, or -2053 exactly when that does not fit, with the number
// then holding what it must (its old value, or the null value after a
// rounding carry).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <sstream>
#include <string>

#include "tv_ref_decimal.h"
#include "tv_test_util.h"

namespace {

using tvref::Dec;

// The seed of the random tests here, unless TV_TEST_SEED gives another; each
// test draws from it plus its own offset.
const std::uint32_t kSeed = 20240611;
const int kMaxReported = 10; // failures reported in full per test

// An operand: its length and scale and its value as text ("" null, "0" zero).
struct Operand {
    int nLen;
    int nScale;
    std::string strText;
    bool IsNull() const { return strText.empty(); }
    bool IsZeroOrNull() const { return strText.empty() || strText == "0"; }
    Dec Value() const { return tvref::FromText(IsNull() ? "0" : strText); }
};

std::string Describe(const Operand& op)
{
    std::ostringstream os;
    os << "(" << op.nLen << "," << op.nScale << ") " << (op.IsNull() ? "<null>" : op.strText);
    return os.str();
}

clsNumDbFld Build(const Operand& op)
{
    clsNumDbFld num(op.nLen, op.nScale);
    if (!op.IsNull())
        num = op.strText.c_str();
    return num;
}

// Random operands, biased toward the shapes that stress the digit loops:
// runs of nines and of zeros, powers of ten, single digits, values at the
// integer capacity and at the last decimal place.
class OperandSource {
public:
    explicit OperandSource(std::uint32_t nSeed) : m_rng(nSeed) {}

    int Uniform(int nLo, int nHi) { return std::uniform_int_distribution<int>(nLo, nHi)(m_rng); }

    void LenScale(int& nLen, int& nScale)
    {
        static const int kLens[] = {1, 2, 3, 5, 8, 10, 12, 38, 39, 50, 99, 100};
        nLen = Uniform(0, 2) == 0 ? Uniform(1, 100) : kLens[Uniform(0, 11)];
        switch (Uniform(0, 4)) {
        case 0: nScale = 0; break;
        case 1: nScale = nLen; break;
        case 2: nScale = nLen / 2; break;
        default: nScale = Uniform(0, nLen); break;
        }
    }

    std::string Digits(int nCount, int nStyle)
    {
        std::string str;
        for (int i = 0; i < nCount; ++i) {
            switch (nStyle) {
            case 0: str += static_cast<char>('0' + Uniform(0, 9)); break;
            case 1: str += Uniform(0, 5) == 0 ? static_cast<char>('0' + Uniform(0, 9)) : '9'; break;
            case 2: str += Uniform(0, 5) == 0 ? static_cast<char>('0' + Uniform(0, 9)) : '0'; break;
            case 3: str += '9'; break;
            default: str += '0'; break;
            }
        }
        return str;
    }

    // A value that fits (nLen, nScale), as canonical text.
    std::string Value(int nLen, int nScale)
    {
        int nRoll = Uniform(0, 39);
        if (nRoll == 0)
            return "";
        if (nRoll == 1)
            return "0";
        int nCap = nLen - nScale;
        int nInt = Uniform(0, 3) == 0 ? nCap : Uniform(0, nCap);
        int nFrac = Uniform(0, 3) == 0 ? nScale : Uniform(0, nScale);
        int nStyle = Uniform(0, 6);
        std::string strInt;
        std::string strFrac;
        if (nStyle == 5 && nInt + nFrac > 0) {
            // A single 1 (a power of ten) or a single random digit.
            std::string strAll = Digits(nInt + nFrac, 4);
            strAll[static_cast<size_t>(Uniform(0, nInt + nFrac - 1))] =
                Uniform(0, 1) ? '1' : static_cast<char>('1' + Uniform(0, 8));
            strInt = strAll.substr(0, static_cast<size_t>(nInt));
            strFrac = strAll.substr(static_cast<size_t>(nInt));
        } else {
            int nDigitStyle = nStyle > 4 ? 0 : nStyle;
            strInt = Digits(nInt, nDigitStyle);
            strFrac = Digits(nFrac, nDigitStyle);
            if (nDigitStyle == 4 && nInt + nFrac > 0) {
                // Zeros with one last digit: 0.0001, 1000.
                std::string& strLast = nFrac > 0 ? strFrac : strInt;
                strLast.back() = static_cast<char>('1' + Uniform(0, 8));
            }
        }
        std::string strText = (Uniform(0, 1) ? "-" : "") + strInt + (strFrac.empty() ? "" : "." + strFrac);
        return tvref::Text(tvref::FromText(strText));
    }

    Operand Next()
    {
        Operand op;
        LenScale(op.nLen, op.nScale);
        op.strText = Value(op.nLen, op.nScale);
        return op;
    }

    // A second operand: often of the first one's length and scale.
    Operand NextBeside(const Operand& first)
    {
        Operand op = Next();
        if (Uniform(0, 2) == 0) {
            op.nLen = first.nLen;
            op.nScale = first.nScale;
            op.strText = Value(op.nLen, op.nScale);
        }
        return op;
    }

private:
    std::mt19937 m_rng;
};

enum class Op { Add, Subtract, Multiply };

const char* OpName(Op op)
{
    return op == Op::Add ? "+=" : (op == Op::Subtract ? "-=" : "*=");
}

// What x op= y must leave in x: an error code and the text form afterwards
// ("" for the null value).
struct Expected {
    int nErr = 0;
    std::string strText;
};

Expected FromStored(const tvref::Outcome& stored, const Operand& x)
{
    Expected out;
    out.nErr = stored.nErr;
    if (stored.nErr == 0)
        out.strText = stored.strText;
    else if (!stored.bNullAfter)
        out.strText = x.strText; // kept
    // else the null value: ""
    return out;
}

Expected Expect(Op op, const Operand& x, const Operand& y)
{
    Expected out;
    out.strText = x.strText;
    if (op == Op::Multiply) {
        if (x.IsZeroOrNull())
            return out; // zero and null times anything stay as they are
        if (y.IsZeroOrNull()) {
            out.strText = y.strText; // zero, or the null value
            return out;
        }
        return FromStored(tvref::Store(tvref::Mul(x.Value(), y.Value()), x.nLen, x.nScale), x);
    }
    if (y.IsZeroOrNull())
        return out; // adding or subtracting zero or null changes nothing
    Dec exact = op == Op::Add ? tvref::Add(x.Value(), y.Value()) : tvref::Sub(x.Value(), y.Value());
    return FromStored(tvref::Store(exact, x.nLen, x.nScale), x);
}

// Runs x op= y (y the very same number when bSelf) and compares with the
// model; gives "" when all holds, else what differed.
std::string RunOne(Op op, const Operand& x, const Operand& y, bool bSelf)
{
    clsNumDbFld numX = Build(x);
    clsNumDbFld numY = Build(bSelf ? x : y);
    if (TextOf(numX) != x.strText)
        return "operand x built as '" + TextOf(numX) + "'";
    if (!bSelf && TextOf(numY) != y.strText)
        return "operand y built as '" + TextOf(numY) + "'";
    const clsNumDbFld& numOther = bSelf ? numX : numY;
    int nErr = 0;
    try {
        switch (op) {
        case Op::Add: numX += numOther; break;
        case Op::Subtract: numX -= numOther; break;
        case Op::Multiply: numX *= numOther; break;
        }
    } catch (const clsUtilException& e) {
        nErr = e.m_nErrCode;
    }
    Expected want = Expect(op, x, bSelf ? x : y);
    std::string strGot = TextOf(numX);
    std::ostringstream os;
    if (nErr != want.nErr)
        os << "error " << nErr << ", expected " << want.nErr << "; ";
    if (strGot != want.strText || NumProbe::Data(numX).IsEmpty() != want.strText.empty())
        os << "holds '" << strGot << "', expected '" << want.strText << "'; ";
    if (NumProbe::Len(numX) != x.nLen || NumProbe::Scale(numX) != x.nScale)
        os << "length and scale changed; ";
    return os.str();
}

void RunRandom(Op op, int nCases, std::uint32_t nSeed)
{
    OperandSource src(nSeed);
    int nFailures = 0;
    for (int i = 0; i < nCases; ++i) {
        Operand x = src.Next();
        Operand y = src.NextBeside(x);
        bool bSelf = src.Uniform(0, 19) == 0;
        std::string strFault = RunOne(op, x, y, bSelf);
        if (!strFault.empty() && ++nFailures <= kMaxReported)
            ADD_FAILURE() << "seed " << nSeed << " case " << i << ": x = " << Describe(x) << " " << OpName(op)
                          << " " << (bSelf ? "x" : Describe(y)) << ": " << strFault;
    }
    EXPECT_EQ(nFailures, 0) << "seed " << nSeed;
}

TEST(ArithRandom, AdditionMatchesExactArithmetic)
{
    const std::uint32_t nTestSeed = static_cast<std::uint32_t>(TestSeed(kSeed));
    SCOPED_TRACE(SeedNote(nTestSeed));
    RunRandom(Op::Add, 4000, nTestSeed);
}

TEST(ArithRandom, SubtractionMatchesExactArithmetic)
{
    const std::uint32_t nTestSeed = static_cast<std::uint32_t>(TestSeed(kSeed));
    SCOPED_TRACE(SeedNote(nTestSeed));
    RunRandom(Op::Subtract, 4000, nTestSeed + 1);
}

TEST(ArithRandom, MultiplicationMatchesExactArithmetic)
{
    const std::uint32_t nTestSeed = static_cast<std::uint32_t>(TestSeed(kSeed));
    SCOPED_TRACE(SeedNote(nTestSeed));
    RunRandom(Op::Multiply, 4000, nTestSeed + 2);
}

// Values at the top of their capacity (nines, the last digits random) with a
// second operand of a larger scale that pushes them to, just below or past
// the capacity: the exact result may fit while its rounding carries out of it
// (the null value), or not fit at all (the value kept).
TEST(ArithRandom, RoundingCarriesNearTheCapacity)
{
    const std::uint32_t nTestSeed = static_cast<std::uint32_t>(TestSeed(kSeed));
    SCOPED_TRACE(SeedNote(nTestSeed));
    const std::uint32_t nSeed = nTestSeed + 5;
    OperandSource src(nSeed);
    int nFailures = 0;
    int nNullResults = 0;
    for (int i = 0; i < 3000; ++i) {
        Operand x;
        x.nLen = src.Uniform(1, 100);
        x.nScale = src.Uniform(0, x.nLen);
        int nCap = x.nLen - x.nScale;
        std::string strInt = std::string(static_cast<size_t>(nCap), '9');
        std::string strFrac = std::string(static_cast<size_t>(x.nScale), '9');
        std::string& strTail = x.nScale > 0 ? strFrac : strInt;
        for (size_t k = strTail.size() - std::min<size_t>(strTail.size(), src.Uniform(0, 2)); k < strTail.size(); ++k)
            strTail[k] = static_cast<char>('0' + src.Uniform(0, 9));
        bool bNeg = src.Uniform(0, 1) == 1;
        x.strText = tvref::Text(tvref::FromText((bNeg ? "-" : "") + strInt + "." + strFrac));

        Op op = static_cast<Op>(src.Uniform(0, 2));
        Operand y;
        y.nLen = 100;
        if (op == Op::Multiply) {
            // 1.000..0ddd: a factor just above one.
            int nZeros = std::max(0, nCap + x.nScale - 1 + src.Uniform(-2, 2));
            nZeros = std::min(nZeros, 97);
            int nDigits = src.Uniform(1, 99 - nZeros);
            y.nScale = 99;
            y.strText = "1." + std::string(static_cast<size_t>(nZeros), '0') + src.Digits(nDigits, 0);
        } else {
            // Less than one unit of x's last place, with more decimals.
            if (x.nScale >= 99)
                continue;
            y.nScale = src.Uniform(x.nScale + 1, 100);
            y.strText = "0." + std::string(static_cast<size_t>(x.nScale), '0') +
                        src.Digits(y.nScale - x.nScale, src.Uniform(0, 1));
        }
        y.strText = tvref::Text(tvref::FromText(y.strText));
        if (op == Op::Subtract || (op == Op::Multiply && src.Uniform(0, 3) == 0))
            y.strText = tvref::Text(tvref::Neg(y.Value()));
        if (bNeg && op != Op::Multiply)
            y.strText = tvref::Text(tvref::Neg(y.Value())); // away from zero, like x

        Expected want = Expect(op, x, y);
        if (want.nErr != 0 && want.strText.empty())
            ++nNullResults;
        std::string strFault = RunOne(op, x, y, false);
        if (!strFault.empty() && ++nFailures <= kMaxReported)
            ADD_FAILURE() << "seed " << nSeed << " case " << i << ": x = " << Describe(x) << " " << OpName(op) << " "
                          << Describe(y) << ": " << strFault;
    }
    EXPECT_EQ(nFailures, 0) << "seed " << nSeed;
    // The table must reach the case it is for.
    EXPECT_GT(nNullResults, 100);
}

// Long carries and borrows, odd and even exponent differences, results that
// land exactly on the capacity or on the last decimal place. Each row runs
// through +=, -= and *= in both orders against the model.
struct PairCase {
    int nLen;
    int nScale;
    const char* pszX;
    const char* pszY;
};

const std::string k50Nines(50, '9');
const std::string k30Nines(30, '9');

const PairCase kCarryCases[] = {
    {38, 8, "99.99", "0.01"},
    {38, 8, "1", "0.0001"},
    {38, 8, "99.5", "0.75"},
    {38, 8, "100.25", "99.5"},
    {38, 8, "99.9", "0.1"},
    {38, 8, "9.99", "0.01"},
    {38, 8, "999.5", "0.5"},
    {38, 8, "0.99999999", "0.00000001"},
    {38, 8, "9999999999.99999999", "0.00000001"},
    {38, 8, "100000000000", "0.00000001"},
    {38, 8, "10000000000", "0.00000001"},
    {38, 8, "-0.05", "-0.07"},
    {38, 8, "-99.99", "0.01"},
    {38, 8, "1000", "999.99999999"},
    {38, 8, "1000.5", "999.55"},
    {38, 8, "123456789.1", "987654321.09"},
    {38, 8, "0.5", "0.5"},
    {38, 8, "0.05", "0.95"},
    {5, 3, "99.999", "0.001"},
    {5, 3, "99", "1"},
    {5, 3, "0.001", "12"},
    {5, 3, "10", "0.001"},
    {8, 8, "0.99999999", "0.00000001"},
    {8, 8, "0.5", "0.5"},
    {1, 0, "9", "1"},
    {1, 0, "5", "4"},
    {1, 1, "0.9", "0.1"},
    {2, 0, "99", "1"},
    {100, 0, "1", "1"},
    {100, 50, "0.00000000000000000000000000000000000000000000000001", "1"},
    {39, 8, "999999999999999999999999999999.99999999", "0.00000001"},
    {39, 9, "99999999999999999999999999999.999999999", "0.000000001"},
    {38, 10, "1073741824", "0.0009765625"},
};

void RunCarryTable(Op op)
{
    std::vector<PairCase> aCases(std::begin(kCarryCases), std::end(kCarryCases));
    std::string strBig = k50Nines + "." + k50Nines;
    std::string strTiny = "0." + std::string(49, '0') + "1";
    aCases.push_back({100, 50, strBig.c_str(), strTiny.c_str()});
    std::string strUnit = "1" + std::string(49, '0');
    aCases.push_back({100, 50, strUnit.c_str(), strTiny.c_str()});
    std::string strMid = k30Nines + "." + std::string(8, '9');
    aCases.push_back({38, 8, strMid.c_str(), "0.00000001"});
    aCases.push_back({38, 8, k30Nines.c_str(), "1"});
    std::string strHalf = "0." + std::string(99, '9');
    aCases.push_back({100, 100, strHalf.c_str(), strHalf.c_str()});

    for (const PairCase& c : aCases) {
        for (int nOrder = 0; nOrder < 2; ++nOrder) {
            for (int nSigns = 0; nSigns < 4; ++nSigns) {
                Operand x{c.nLen, c.nScale, nOrder ? c.pszY : c.pszX};
                Operand y{c.nLen, c.nScale, nOrder ? c.pszX : c.pszY};
                if (nSigns & 1)
                    x.strText = tvref::Text(tvref::Neg(x.Value()));
                if (nSigns & 2)
                    y.strText = tvref::Text(tvref::Neg(y.Value()));
                std::string strFault = RunOne(op, x, y, false);
                EXPECT_EQ(strFault, "") << Describe(x) << " " << OpName(op) << " " << Describe(y);
                // The same, with the other operand at length 100 and scale 100
                // when it is below one, or at 100 and 50: scales that differ.
                Operand yWide = y;
                yWide.nLen = 100;
                yWide.nScale = tvref::IntDigits(y.Value()) == 0 ? 100 : 50;
                strFault = RunOne(op, x, yWide, false);
                EXPECT_EQ(strFault, "") << Describe(x) << " " << OpName(op) << " " << Describe(yWide);
            }
        }
    }
}

TEST(ArithCarries, Addition)
{
    RunCarryTable(Op::Add);
}

TEST(ArithCarries, Subtraction)
{
    RunCarryTable(Op::Subtract);
}

TEST(ArithCarries, Multiplication)
{
    RunCarryTable(Op::Multiply);
}

// Compare gives the signed order (null as zero), CompareAbs the order of the
// magnitudes (zero and null the smallest); neither depends on length or scale.
TEST(ArithRandom, ComparisonsMatchExactOrder)
{
    const std::uint32_t nTestSeed = static_cast<std::uint32_t>(TestSeed(kSeed));
    SCOPED_TRACE(SeedNote(nTestSeed));
    OperandSource src(nTestSeed + 3);
    int nFailures = 0;
    for (int i = 0; i < 4000; ++i) {
        Operand x = src.Next();
        Operand y = src.NextBeside(x);
        if (src.Uniform(0, 9) == 0)
            y.strText = x.strText; // equal values, perhaps at other precisions
        else if (src.Uniform(0, 9) == 0 && !x.IsZeroOrNull())
            y.strText = x.strText[0] == '-' ? x.strText.substr(1) : "-" + x.strText; // opposite values
        // y must fit its own precision.
        if (tvref::IntDigits(y.Value()) > y.nLen - y.nScale || tvref::Decimals(y.Value()) > y.nScale) {
            y.nLen = 100;
            y.nScale = x.nScale;
        }
        clsNumDbFld numX = Build(x);
        clsNumDbFld numY = Build(y);
        int nWant = tvref::Cmp(x.Value(), y.Value());
        int nWantAbs = tvref::CmpMag(x.Value(), y.Value());
        int nGot = numX.Compare(numY);
        int nGotBack = numY.Compare(numX);
        int nGotAbs = numX.CompareAbs(numY);
        if ((nGot != nWant || nGotBack != -nWant || nGotAbs != nWantAbs) && ++nFailures <= kMaxReported)
            ADD_FAILURE() << "seed " << nTestSeed + 3 << " case " << i << ": " << Describe(x) << " vs " << Describe(y)
                          << ": Compare " << nGot << "/" << nGotBack << " CompareAbs " << nGotAbs << ", expected "
                          << nWant << "/" << -nWant << " and " << nWantAbs;
    }
    EXPECT_EQ(nFailures, 0) << "seed " << nTestSeed + 3;
}

// The integer part truncates toward zero at the number's length and scale (a
// value between -1 and 1 gives zero at 38 and 8); the decimal part is the
// rest, with the number's sign, and the two add up to the number.
TEST(ArithRandom, IntegerAndDecimalPartsMatchTruncation)
{
    const std::uint32_t nTestSeed = static_cast<std::uint32_t>(TestSeed(kSeed));
    SCOPED_TRACE(SeedNote(nTestSeed));
    OperandSource src(nTestSeed + 4);
    int nFailures = 0;
    for (int i = 0; i < 4000; ++i) {
        Operand x = src.Next();
        clsNumDbFld numX = Build(x);
        clsNumDbFld numInt = numX.GetIntegerPart();
        clsNumDbFld numDec = numX.GetDecimalPart();

        Dec v = x.Value();
        bool bBelowOne = !x.IsZeroOrNull() && tvref::IntDigits(v) == 0;
        std::string strWantInt = x.IsZeroOrNull() ? x.strText : tvref::Text(tvref::Trunc(v));
        std::string strWantDec =
            (x.IsZeroOrNull() || bBelowOne) ? x.strText : tvref::Text(tvref::Sub(v, tvref::Trunc(v)));
        int nWantIntLen = bBelowOne ? 38 : x.nLen;
        int nWantIntScale = bBelowOne ? 8 : x.nScale;

        std::ostringstream os;
        if (TextOf(numInt) != strWantInt || NumProbe::Data(numInt).IsEmpty() != x.IsNull())
            os << "integer part '" << TextOf(numInt) << "', expected '" << strWantInt << "'; ";
        if (NumProbe::Len(numInt) != nWantIntLen || NumProbe::Scale(numInt) != nWantIntScale)
            os << "integer part at (" << NumProbe::Len(numInt) << "," << NumProbe::Scale(numInt) << "); ";
        if (TextOf(numDec) != strWantDec || NumProbe::Data(numDec).IsEmpty() != x.IsNull())
            os << "decimal part '" << TextOf(numDec) << "', expected '" << strWantDec << "'; ";
        if (NumProbe::Len(numDec) != x.nLen || NumProbe::Scale(numDec) != x.nScale)
            os << "decimal part at (" << NumProbe::Len(numDec) << "," << NumProbe::Scale(numDec) << "); ";
        if (!os.str().empty() && ++nFailures <= kMaxReported)
            ADD_FAILURE() << "seed " << nTestSeed + 4 << " case " << i << ": " << Describe(x) << ": " << os.str();
    }
    EXPECT_EQ(nFailures, 0) << "seed " << nTestSeed + 4;
}

} // namespace
