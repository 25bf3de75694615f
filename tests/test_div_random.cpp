// Random agreement of the division with exact arithmetic, at lengths 1..100
// and every scale: the quotient with decimals is the exact quotient rounded
// half away from zero to the target's scale, the integer quotient is
// truncated toward zero, and the remainder is the dividend less quotient
// times divisor, with the dividend's sign, rounded to its target's scale.
// The one exception is the early overflow: when the exponent of the
// dividend's first digit less the divisor's reaches the dividend's integer
// capacity, -2053 is raised before any work, whatever the result would be.
//
// Every case draws from its own seed, the test's seed plus the case's number;
// a failure prints the case's seed and the line that replays the test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>
#include <string>

#include "tv_ref_decimal.h"
#include "tv_test_util.h"

namespace {

using tvref::Dec;
using tvref::Outcome;

// The seed of every test here, unless TV_TEST_SEED gives another.
const unsigned long long kDefaultSeed = 20240611ULL;

struct Precision {
    int nLen;
    int nScale;
};

// A length of 1..100 (short ones and the full 100 more often) and a scale of
// 0..length (the ends more often).
Precision RandomPrecision(std::mt19937_64& rng)
{
    std::uniform_int_distribution<int> pick(0, 9);
    int nLen;
    switch (pick(rng)) {
    case 0: nLen = 100; break;
    case 1:
    case 2: nLen = std::uniform_int_distribution<int>(1, 6)(rng); break;
    default: nLen = std::uniform_int_distribution<int>(1, 100)(rng); break;
    }
    int nScale;
    switch (pick(rng)) {
    case 0: nScale = 0; break;
    case 1: nScale = nLen; break;
    case 2: nScale = nLen - 1 > 0 ? nLen - 1 : 0; break;
    default: nScale = std::uniform_int_distribution<int>(0, nLen)(rng); break;
    }
    return {nLen, nScale};
}

// The text of a random non-zero value that a number of this precision holds:
// random digits, a run of nines, a power of ten, a few digits among zeros, or
// a single digit, at a random place within the capacity and the scale.
std::string RandomValueText(std::mt19937_64& rng, Precision p)
{
    const int nCapacity = p.nLen - p.nScale;
    for (;;) {
        int nInt = std::uniform_int_distribution<int>(0, nCapacity)(rng);
        int nFrac = std::uniform_int_distribution<int>(0, p.nScale)(rng);
        if (std::uniform_int_distribution<int>(0, 3)(rng) == 0) {
            nInt = nCapacity; // the largest magnitudes
            nFrac = p.nScale;
        }
        int n = nInt + nFrac;
        if (n == 0)
            continue;
        std::string strDigits(static_cast<size_t>(n), '0');
        std::uniform_int_distribution<int> digit(0, 9);
        switch (std::uniform_int_distribution<int>(0, 5)(rng)) {
        case 0:
            strDigits.assign(static_cast<size_t>(n), '9');
            break;
        case 1:
            strDigits[0] = '1';
            break;
        case 2:
            for (int k = 0; k < 3; ++k)
                strDigits[static_cast<size_t>(std::uniform_int_distribution<int>(0, n - 1)(rng))] =
                    static_cast<char>('0' + digit(rng));
            break;
        case 3:
            strDigits[static_cast<size_t>(std::uniform_int_distribution<int>(0, n - 1)(rng))] =
                static_cast<char>('1' + std::uniform_int_distribution<int>(0, 8)(rng));
            break;
        default:
            for (char& ch : strDigits)
                ch = static_cast<char>('0' + digit(rng));
            break;
        }
        if (strDigits.find_first_not_of('0') == std::string::npos)
            continue;
        std::string strText = std::uniform_int_distribution<int>(0, 1)(rng) ? "-" : "";
        strText += nInt > 0 ? strDigits.substr(0, static_cast<size_t>(nInt)) : "0";
        if (nFrac > 0)
            strText += "." + strDigits.substr(static_cast<size_t>(nInt));
        return tvref::Text(tvref::FromText(strText)); // as the text form writes it
    }
}

// A dividend and a divisor: mostly independent, sometimes the divisor made of
// the dividend's own digits (exact and near-exact quotients, quotients near
// powers of ten) at another place.
struct Operands {
    Precision pa;
    Precision pb;
    std::string strA;
    std::string strB;
};

Operands RandomOperands(std::mt19937_64& rng)
{
    Operands ops;
    ops.pa = RandomPrecision(rng);
    ops.pb = RandomPrecision(rng);
    ops.strA = RandomValueText(rng, ops.pa);
    ops.strB = RandomValueText(rng, ops.pb);
    if (std::uniform_int_distribution<int>(0, 3)(rng) == 0) {
        // The dividend's digits placed anywhere the divisor's precision allows.
        std::string strDigits;
        for (char ch : ops.strA)
            if (ch != '-' && ch != '.')
                strDigits += ch;
        strDigits = tvref::NormInt(strDigits);
        const bool bNeg = std::uniform_int_distribution<int>(0, 1)(rng) == 1;
        int nDigits = static_cast<int>(strDigits.size());
        if (nDigits <= ops.pb.nLen) {
            int nLow = nDigits - (ops.pb.nLen - ops.pb.nScale); // the scale must hold the rest
            int nScale = std::uniform_int_distribution<int>(nLow > 0 ? nLow : 0, ops.pb.nScale)(rng);
            if (std::uniform_int_distribution<int>(0, 1)(rng) == 1 && strDigits != "1")
                strDigits = tvref::SubInt(strDigits, "1"); // one unit less
            if (!tvref::IsZeroInt(strDigits))
                ops.strB = tvref::Text(tvref::FromDigits(bNeg, strDigits, nScale));
        }
    }
    return ops;
}

std::string Describe(unsigned long long nSeed, const Operands& ops, const char* pszOp)
{
    std::ostringstream os;
    os << "case seed " << nSeed << ": " << ops.strA << " ("
       << ops.pa.nLen << ", " << ops.pa.nScale << ") " << pszOp << " " << ops.strB << " (" << ops.pb.nLen << ", "
       << ops.pb.nScale << ")";
    return os.str();
}

// Runs fn and gives the code of the clsUtilException it raised, 0 for none.
template <class F>
int ErrorOf(F&& fn)
{
    try {
        fn();
    } catch (const clsUtilException& e) {
        return e.m_nErrCode;
    }
    return 0;
}

// The early overflow: the exponent difference reaches the dividend's capacity.
bool EarlyOverflow(const Dec& a, const Dec& b, int nCapacity)
{
    return tvref::Exponent(a) - tvref::Exponent(b) >= nCapacity;
}

// Checks what a target holds against the model's outcome; strBefore is what
// it held before the operation.
::testing::AssertionResult HoldsOutcome(const clsNumDbFld& num, int nErr, const Outcome& want,
                                        const std::string& strBefore, Precision p)
{
    num.CheckValid();
    if (NumProbe::Len(num) != p.nLen || NumProbe::Scale(num) != p.nScale)
        return ::testing::AssertionFailure() << "precision changed to (" << NumProbe::Len(num) << ", "
                                             << NumProbe::Scale(num) << ")";
    if (nErr != want.nErr)
        return ::testing::AssertionFailure() << "error " << nErr << ", expected " << want.nErr
                                             << " (value " << TextOf(num) << ", expected text "
                                             << want.strText << ")";
    std::string strWant = want.nErr == 0 ? want.strText : (want.bNullAfter ? "" : strBefore);
    if (TextOf(num) != strWant)
        return ::testing::AssertionFailure() << "holds '" << TextOf(num) << "', expected '" << strWant << "'";
    return ::testing::AssertionSuccess();
}

// a /= b at the dividend's own precision, against the exact quotient.
void CheckQuotientWithDecimals(unsigned long long nSeed, const Operands& ops)
{
    Dec a = tvref::FromText(ops.strA);
    Dec b = tvref::FromText(ops.strB);

    Outcome want;
    if (EarlyOverflow(a, b, ops.pa.nLen - ops.pa.nScale)) {
        want.nErr = -2053;
    } else {
        Dec t = tvref::DivTrunc(a, b, ops.pa.nScale);
        Dec r = tvref::RoundedQuotient(a, b, ops.pa.nScale);
        want = tvref::Store(t, ops.pa.nLen, ops.pa.nScale);
        if (want.nErr == 0)
            want = tvref::Store(r, ops.pa.nLen, ops.pa.nScale);
    }

    clsNumDbFld numA = NumAt(ops.pa.nLen, ops.pa.nScale, ops.strA.c_str());
    const clsNumDbFld numB = NumAt(ops.pb.nLen, ops.pb.nScale, ops.strB.c_str());
    ASSERT_EQ(TextOf(numA), ops.strA) << Describe(nSeed, ops, "/");
    ASSERT_EQ(TextOf(numB), ops.strB) << Describe(nSeed, ops, "/");
    int nErr = ErrorOf([&] { numA /= numB; });
    ASSERT_TRUE(HoldsOutcome(numA, nErr, want, ops.strA, ops.pa)) << Describe(nSeed, ops, "/");
    ASSERT_EQ(TextOf(numB), ops.strB) << Describe(nSeed, ops, "/");
}

// a.Divide(b, &q, &r) into targets of random precision (drawn from rng),
// which hold a value beforehand; and a %= b.
void CheckIntegerDivision(unsigned long long nSeed, const Operands& ops, std::mt19937_64& rng)
{
    Precision pq = std::uniform_int_distribution<int>(0, 2)(rng) == 0 ? ops.pa : RandomPrecision(rng);
    Precision pr = std::uniform_int_distribution<int>(0, 2)(rng) == 0 ? ops.pa : RandomPrecision(rng);
    const std::string strQBefore = RandomValueText(rng, pq);
    const std::string strRBefore = RandomValueText(rng, pr);
    Dec a = tvref::FromText(ops.strA);
    Dec b = tvref::FromText(ops.strB);

    Outcome wantQ;
    Outcome wantR;
    Outcome wantMod;
    bool bEarly = EarlyOverflow(a, b, ops.pa.nLen - ops.pa.nScale);
    if (bEarly) {
        wantQ.nErr = wantR.nErr = wantMod.nErr = -2053;
    } else {
        std::pair<Dec, Dec> qr = tvref::IntegerDivision(a, b);
        wantR = tvref::Store(qr.second, pr.nLen, pr.nScale);
        wantQ = tvref::Store(qr.first, pq.nLen, pq.nScale);
        wantMod = tvref::Store(qr.second, ops.pa.nLen, ops.pa.nScale);
    }

    const clsNumDbFld numA = NumAt(ops.pa.nLen, ops.pa.nScale, ops.strA.c_str());
    const clsNumDbFld numB = NumAt(ops.pb.nLen, ops.pb.nScale, ops.strB.c_str());
    clsNumDbFld numDividend(numA);
    clsNumDbFld numQ = NumAt(pq.nLen, pq.nScale, strQBefore.c_str());
    clsNumDbFld numR = NumAt(pr.nLen, pr.nScale, strRBefore.c_str());
    int nErr = ErrorOf([&] { numDividend.Divide(numB, &numQ, &numR); });

    // The remainder is stored first: when it fails, the quotient is not
    // stored; when only the quotient fails, the remainder stands.
    std::ostringstream os;
    os << Describe(nSeed, ops, "div") << " into q (" << pq.nLen << ", " << pq.nScale << ") r (" << pr.nLen
       << ", " << pr.nScale << ")";
    if (bEarly || wantR.nErr != 0) {
        ASSERT_TRUE(HoldsOutcome(numR, nErr, wantR, strRBefore, pr)) << os.str();
        ASSERT_EQ(TextOf(numQ), strQBefore) << os.str();
    } else {
        ASSERT_TRUE(HoldsOutcome(numR, 0, wantR, strRBefore, pr)) << os.str();
        ASSERT_TRUE(HoldsOutcome(numQ, nErr, wantQ, strQBefore, pq)) << os.str();
    }
    ASSERT_EQ(TextOf(numDividend), ops.strA) << os.str();

    // The same remainder written back into the dividend.
    clsNumDbFld numMod(numA);
    nErr = ErrorOf([&] { numMod %= numB; });
    ASSERT_TRUE(HoldsOutcome(numMod, nErr, wantMod, ops.strA, ops.pa)) << Describe(nSeed, ops, "%");
    ASSERT_EQ(TextOf(numB), ops.strB) << Describe(nSeed, ops, "%");

    // Without a remainder target the quotient is the same.
    clsNumDbFld numQ2 = NumAt(pq.nLen, pq.nScale, strQBefore.c_str());
    nErr = ErrorOf([&] { numDividend.Divide(numB, &numQ2, nullptr); });
    ASSERT_TRUE(HoldsOutcome(numQ2, nErr, wantQ, strQBefore, pq)) << os.str() << " (no remainder)";
}

// The text of a value that uses every digit position of its precision (the
// first digit not 0), in the digit shapes that steer the word division: all
// 9s, blocks of 9s and 0s, 1 and then 9s, random digits.
std::string FullPrecisionText(std::mt19937_64& rng, Precision p)
{
    std::string strDigits(static_cast<size_t>(p.nLen), '9');
    std::uniform_int_distribution<int> digit(0, 9);
    switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
    case 0: break;
    case 1: {
        int nBlock = std::uniform_int_distribution<int>(1, 9)(rng);
        for (int i = 0; i < p.nLen; ++i)
            strDigits[static_cast<size_t>(i)] = (i / nBlock) % 2 == 0 ? '9' : '0';
        break;
    }
    case 2: strDigits[0] = '1'; break;
    default:
        for (char& ch : strDigits)
            ch = static_cast<char>('0' + digit(rng));
        strDigits[0] = static_cast<char>('1' + std::uniform_int_distribution<int>(0, 8)(rng));
        break;
    }
    const size_t nInt = static_cast<size_t>(p.nLen - p.nScale);
    std::string strText = std::uniform_int_distribution<int>(0, 1)(rng) ? "-" : "";
    strText += nInt > 0 ? strDigits.substr(0, nInt) : "0";
    if (p.nScale > 0)
        strText += "." + strDigits.substr(nInt);
    return tvref::Text(tvref::FromText(strText));
}

// The text of a value of exactly nDigits significant digits (1..38) that a
// number of length 38 and scale nScale holds, at a random place: random
// digits, all 9s, 1 then zeros, a last digit after zeros, or zeros at the
// end, so that the digits fill an odd or even count of pairs.
std::string ShortValueText(std::mt19937_64& rng, int nDigits, int nScale)
{
    std::uniform_int_distribution<int> digit(0, 9);
    std::string strDigits(static_cast<size_t>(nDigits), '0');
    switch (std::uniform_int_distribution<int>(0, 4)(rng)) {
    case 0: strDigits.assign(static_cast<size_t>(nDigits), '9'); break;
    case 1: break;
    case 2: strDigits.back() = static_cast<char>('1' + std::uniform_int_distribution<int>(0, 8)(rng)); break;
    case 3:
        for (int i = 0; i < nDigits / 2; ++i)
            strDigits[static_cast<size_t>(i)] = static_cast<char>('0' + digit(rng));
        break;
    default:
        for (char& ch : strDigits)
            ch = static_cast<char>('0' + digit(rng));
        break;
    }
    strDigits[0] = static_cast<char>('1' + std::uniform_int_distribution<int>(0, 8)(rng));
    // The exponent of the first digit: the last one at 10^-nScale or above,
    // the first below 10^(38 - nScale).
    const int nExp = std::uniform_int_distribution<int>(nDigits - 1 - nScale, 37 - nScale)(rng);
    const bool bNeg = std::uniform_int_distribution<int>(0, 1)(rng) == 1;
    return tvref::Text(tvref::FromDigits(bNeg, strDigits, nDigits - 1 - nExp));
}

const int kCases = 3000;

} // namespace

// a /= b at the dividend's own precision.
TEST(DivRandom, QuotientWithDecimalsIsTheExactQuotientRounded)
{
    const unsigned long long nTestSeed = TestSeed(kDefaultSeed);
    SCOPED_TRACE(SeedNote(nTestSeed));
    const unsigned long long nBase = nTestSeed;
    for (int i = 0; i < kCases; ++i) {
        const unsigned long long nSeed = nBase + static_cast<unsigned long long>(i);
        std::mt19937_64 rng(nSeed);
        CheckQuotientWithDecimals(nSeed, RandomOperands(rng));
        if (HasFatalFailure())
            return;
    }
}

// a.Divide(b, &q, &r) into targets of their own random precision, which hold
// a value beforehand; and a %= b.
TEST(DivRandom, IntegerQuotientAndRemainderAgreeWithExactDivision)
{
    const unsigned long long nTestSeed = TestSeed(kDefaultSeed);
    SCOPED_TRACE(SeedNote(nTestSeed));
    const unsigned long long nBase = nTestSeed + 1000000ULL;
    for (int i = 0; i < kCases; ++i) {
        const unsigned long long nSeed = nBase + static_cast<unsigned long long>(i);
        std::mt19937_64 rng(nSeed);
        Operands ops = RandomOperands(rng);
        CheckIntegerDivision(nSeed, ops, rng);
        if (HasFatalFailure())
            return;
    }
}

// Every length 1..100 of the dividend, against a divisor of the length that
// completes it to 101 and one of the same length, both filling their whole
// precision, at scales from 0 to the length: /=, Divide and %=.
TEST(DivRandom, EveryLengthWithOperandsThatFillTheirPrecision)
{
    const unsigned long long nTestSeed = TestSeed(kDefaultSeed);
    SCOPED_TRACE(SeedNote(nTestSeed));
    const unsigned long long nBase = nTestSeed + 5000000ULL;
    for (int nLen = 1; nLen <= 100; ++nLen) {
        for (int nRound = 0; nRound < 4; ++nRound) {
            const unsigned long long nSeed = nBase + static_cast<unsigned long long>(4 * nLen + nRound);
            std::mt19937_64 rng(nSeed);
            const int nLenB = nRound % 2 == 0 ? 101 - nLen : nLen;
            const int anScale[4] = {0, nLen / 2, nLen, std::uniform_int_distribution<int>(0, nLen)(rng)};
            Operands ops;
            ops.pa = {nLen, anScale[nRound]};
            ops.pb = {nLenB, std::uniform_int_distribution<int>(0, nLenB)(rng)};
            ops.strA = FullPrecisionText(rng, ops.pa);
            ops.strB = FullPrecisionText(rng, ops.pb);
            CheckQuotientWithDecimals(nSeed, ops);
            CheckIntegerDivision(nSeed, ops, rng);
            if (HasFatalFailure())
                return;
        }
    }
}

// The two-operand operators / and %: the result takes the precision of the
// operand with the larger capacity (the larger scale on a tie), the left
// operand is rounded to it first, and the early overflow is judged against
// the result's capacity.
TEST(DivRandom, OperatorsDivideAtTheChosenPrecision)
{
    const unsigned long long nTestSeed = TestSeed(kDefaultSeed);
    SCOPED_TRACE(SeedNote(nTestSeed));
    const unsigned long long nBase = nTestSeed + 2000000ULL;
    for (int i = 0; i < kCases / 2; ++i) {
        const unsigned long long nSeed = nBase + static_cast<unsigned long long>(i);
        std::mt19937_64 rng(nSeed);
        Operands ops = RandomOperands(rng);
        int d = (ops.pa.nLen - ops.pa.nScale) - (ops.pb.nLen - ops.pb.nScale);
        if (d == 0)
            d = ops.pa.nScale >= ops.pb.nScale ? 1 : -1;
        const Precision pRes = d > 0 ? ops.pa : ops.pb;
        const int nCapacity = pRes.nLen - pRes.nScale;
        Dec a = tvref::Round(tvref::FromText(ops.strA), pRes.nScale);
        Dec b = tvref::FromText(ops.strB);

        Outcome wantDiv;
        Outcome wantMod;
        if (tvref::IsZero(a)) {
            wantDiv.strText = wantMod.strText = "0";
        } else if (EarlyOverflow(a, b, nCapacity)) {
            wantDiv.nErr = wantMod.nErr = -2053;
        } else {
            Dec t = tvref::DivTrunc(a, b, pRes.nScale);
            wantDiv = tvref::Store(t, pRes.nLen, pRes.nScale);
            if (wantDiv.nErr == 0)
                wantDiv = tvref::Store(tvref::RoundedQuotient(a, b, pRes.nScale), pRes.nLen, pRes.nScale);
            wantMod = tvref::Store(tvref::IntegerDivision(a, b).second, pRes.nLen, pRes.nScale);
        }

        const clsNumDbFld numA = NumAt(ops.pa.nLen, ops.pa.nScale, ops.strA.c_str());
        const clsNumDbFld numB = NumAt(ops.pb.nLen, ops.pb.nScale, ops.strB.c_str());
        clsNumDbFld numRes(pRes.nLen, pRes.nScale);
        int nErr = ErrorOf([&] { numRes = numA / numB; });
        std::string strGot = nErr == 0 ? TextOf(numRes) : "";
        ASSERT_EQ(nErr, wantDiv.nErr) << Describe(nSeed, ops, "/ (operator)");
        if (nErr == 0) {
            ASSERT_EQ(strGot, wantDiv.strText) << Describe(nSeed, ops, "/ (operator)");
            clsNumDbFld numDirect = numA / numB;
            ASSERT_EQ(NumProbe::Len(numDirect), pRes.nLen) << Describe(nSeed, ops, "/ (operator)");
            ASSERT_EQ(NumProbe::Scale(numDirect), pRes.nScale) << Describe(nSeed, ops, "/ (operator)");
        }
        nErr = ErrorOf([&] { numRes = numA % numB; });
        ASSERT_EQ(nErr, wantMod.nErr) << Describe(nSeed, ops, "% (operator)");
        if (nErr == 0) {
            ASSERT_EQ(TextOf(numRes), wantMod.strText) << Describe(nSeed, ops, "% (operator)");
        }
        ASSERT_EQ(TextOf(numA), ops.strA) << Describe(nSeed, ops, "/ (operator)");
        ASSERT_EQ(TextOf(numB), ops.strB) << Describe(nSeed, ops, "/ (operator)");
    }
}

// Operands of every count of significant digits from 1 to 38 against every
// other, at length 38 and random scales: the remainder of operands of up to
// 38 digits is taken in one step, and the counts cover the ends of that path
// (dividends of 19 digit pairs, divisors and remainders of 32 digits and
// more, odd and even counts, operands at different places): Divide, %= and
// the operator %.
TEST(DivRandom, RemaindersOfOperandsOfEveryCountOfDigitsUpTo38)
{
    const unsigned long long nTestSeed = TestSeed(kDefaultSeed);
    SCOPED_TRACE(SeedNote(nTestSeed));
    const unsigned long long nBase = nTestSeed + 7000000ULL;
    for (int nCase = 0; nCase < 3 * 38 * 38; ++nCase) {
        const int nDigitsA = nCase / 38 % 38 + 1;
        const int nDigitsB = nCase % 38 + 1;
        {
            const unsigned long long nSeed = nBase + static_cast<unsigned long long>(nCase);
            std::mt19937_64 rng(nSeed);
            Operands ops;
            ops.pa = {38, std::uniform_int_distribution<int>(0, 38)(rng)};
            ops.pb = {38, std::uniform_int_distribution<int>(0, 38)(rng)};
            if (std::uniform_int_distribution<int>(0, 3)(rng) == 0)
                ops.pb.nScale = ops.pa.nScale;
            ops.strA = ShortValueText(rng, nDigitsA, ops.pa.nScale);
            ops.strB = ShortValueText(rng, nDigitsB, ops.pb.nScale);
            CheckIntegerDivision(nSeed, ops, rng);
            if (HasFatalFailure())
                return;

            // The operator, at the precision of the operand with the larger
            // capacity (the larger scale on a tie); the left operand is
            // rounded to it first.
            int d = ops.pb.nScale - ops.pa.nScale;
            if (d == 0)
                d = 1;
            const Precision pRes = d > 0 ? ops.pa : ops.pb;
            const Dec a = tvref::Round(tvref::FromText(ops.strA), pRes.nScale);
            const Dec b = tvref::FromText(ops.strB);
            Outcome want;
            if (tvref::IsZero(a))
                want.strText = "0";
            else if (EarlyOverflow(a, b, pRes.nLen - pRes.nScale))
                want.nErr = -2053;
            else
                want = tvref::Store(tvref::IntegerDivision(a, b).second, pRes.nLen, pRes.nScale);
            const clsNumDbFld numA = NumAt(ops.pa.nLen, ops.pa.nScale, ops.strA.c_str());
            const clsNumDbFld numB = NumAt(ops.pb.nLen, ops.pb.nScale, ops.strB.c_str());
            std::string strGot;
            const int nErr = ErrorOf([&] {
                const clsNumDbFld numRes = numA % numB;
                ASSERT_EQ(NumProbe::Scale(numRes), pRes.nScale) << Describe(nSeed, ops, "% (operator)");
                strGot = TextOf(numRes);
            });
            ASSERT_EQ(nErr, want.nErr) << Describe(nSeed, ops, "% (operator)");
            if (nErr == 0) {
                ASSERT_EQ(strGot, want.strText) << Describe(nSeed, ops, "% (operator)");
            }
        }
    }
}

// The model itself on a few quotients worked by hand, so that an agreement
// above is not an agreement of two faults.
TEST(DivRandom, ReferenceRoundsAndTruncatesHandWorkedQuotients)
{
    using namespace tvref;
    EXPECT_EQ(Text(RoundedQuotient(FromText("2"), FromText("3"), 8)), "0.66666667");
    EXPECT_EQ(Text(RoundedQuotient(FromText("-1"), FromText("2"), 0)), "-1");
    EXPECT_EQ(Text(RoundedQuotient(FromText("1"), FromText("3"), 0)), "0");
    EXPECT_EQ(Text(RoundedQuotient(FromText("123.45"), FromText("-10"), 8)), "-12.345");
    std::pair<Dec, Dec> qr = IntegerDivision(FromText("5.5"), FromText("0.3"));
    EXPECT_EQ(Text(qr.first), "18");
    EXPECT_EQ(Text(qr.second), "0.1");
    qr = IntegerDivision(FromText("-7"), FromText("2"));
    EXPECT_EQ(Text(qr.first), "-3");
    EXPECT_EQ(Text(qr.second), "-1");
    qr = IntegerDivision(FromText("7"), FromText("0.123"));
    EXPECT_EQ(Text(qr.first), "56");
    EXPECT_EQ(Text(Round(qr.second, 2)), "0.11");
    Outcome o = Store(FromText("0.999"), 2, 2);
    EXPECT_EQ(o.nErr, -2053);
    EXPECT_TRUE(o.bNullAfter);
    o = Store(FromText("123"), 4, 2);
    EXPECT_EQ(o.nErr, -2053);
    EXPECT_FALSE(o.bNullAfter);
}
