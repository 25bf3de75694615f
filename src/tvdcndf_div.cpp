// Division: the quotient with decimals (/=), the remainder of the integer
// division (%=) and the integer quotient with an optional remainder (Divide).
//
// The operands' digit pairs are taken out of their packed forms into runs on
// the stack, gathered into base-10^8 words and divided exactly (Knuth's
// algorithm D, one quotient word per step); the quotient and the remainder
// come back as digit pairs, are rounded to their targets' scales and are
// written into the targets, each once. Nothing in between allocates.
#include <cstdint>
#include <cstdlib>

#include "tvdcndf.h"
#include "tvdcndf_div.h"

using tvdiv::PairRun;

namespace {

// ---------------------------------------------------------------------------
// Base-10^8 words: four digit pairs each, least significant word first.
// ---------------------------------------------------------------------------
typedef std::uint32_t Word;
typedef std::uint64_t DWord;

const Word kWordBase = 100000000;
const Word kPow100[4] = {1, 100, 10000, 1000000};
// Words of the longest numerator: 101 + 102 digits, a word for the scaling
// in LongDivide and one to spare.
const int kMaxWords = 32;

// w = w * nFactor, in place. Requires: nFactor < kWordBase. Gives the carry
// out of the top word.
Word MultiplyWords(Word* pW, int nW, Word nFactor)
{
    DWord nCarry = 0;
    for (int i = 0; i < nW; ++i) {
        DWord nProd = DWord(pW[i]) * nFactor + nCarry;
        nCarry = nProd / kWordBase;
        pW[i] = Word(nProd - nCarry * kWordBase);
    }
    return Word(nCarry);
}

// Division by one word through its reciprocal: a multiplication and at most
// one correction instead of a hardware division per quotient word (the same
// idea as Granlund and Montgomery's division by invariant integers).
class WordDivisor {
public:
    // Requires: 0 < nDivisor <= kWordBase.
    explicit WordDivisor(Word nDivisor) : m_nDivisor(nDivisor), m_nInverse(~DWord(0) / nDivisor) {}
    // n / divisor and the remainder. Requires: n < 2^63. With m the inverse,
    // m >= 2^64 / divisor - 2, so the product's high word is the quotient or
    // one less.
    DWord Divide(DWord n, DWord* pRem) const
    {
        DWord q = DWord((static_cast<unsigned __int128>(n) * m_nInverse) >> 64);
        DWord r = n - q * m_nDivisor;
        if (r >= m_nDivisor) {
            ++q;
            r -= m_nDivisor;
        }
        *pRem = r;
        return q;
    }

private:
    DWord m_nDivisor;
    DWord m_nInverse;
};

// The run's digits read as an integer (2 * nPairs digits, the pad digit
// included), times 10^nZeros, into pW. Requires: nZeros >= 0, room for the
// words. Gives the word count; the top word is not 0.
int GatherWords(const PairRun& run, int nZeros, Word* pW)
{
    // The pairs with zero pairs in front up to a whole word, so that each
    // word takes four of them; whole zero words below.
    const int nZeroWords = nZeros / 8;
    const int nLowPairs = (nZeros % 8) / 2; // zero pairs at the bottom of the lowest word
    const int nFront = (4 - (run.nPairs + nLowPairs) % 4) % 4;
    unsigned char anPadded[tvdiv::kMaxRunPairs + 8];
    for (int i = 0; i < nFront; ++i)
        anPadded[i] = 0;
    for (int i = 0; i < run.nPairs; ++i)
        anPadded[nFront + i] = run.anPair[i];
    const int nPadded = nFront + run.nPairs + nLowPairs;
    for (int i = nFront + run.nPairs; i < nPadded; ++i)
        anPadded[i] = 0;

    for (int i = 0; i < nZeroWords; ++i)
        pW[i] = 0;
    int nW = nZeroWords;
    for (int i = nPadded - 4; i >= 0; i -= 4)
        pW[nW++] = Word(anPadded[i]) * 1000000 + Word(anPadded[i + 1]) * 10000 + Word(anPadded[i + 2]) * 100 +
                   anPadded[i + 3];
    if (nZeros % 2 == 1) {
        Word nCarry = MultiplyWords(pW + nZeroWords, nW - nZeroWords, 10);
        if (nCarry != 0)
            pW[nW++] = nCarry;
    }
    return nW;
}

// u / v for a one-word divisor. Requires: v > 0; pQ may be pU. Gives the nU
// quotient words in pQ and returns the remainder.
Word ShortDivide(const Word* pU, int nU, const WordDivisor& v, Word* pQ)
{
    DWord nRem = 0;
    for (int i = nU - 1; i >= 0; --i)
        pQ[i] = Word(v.Divide(nRem * kWordBase + pU[i], &nRem));
    return Word(nRem);
}

// u / v by Knuth's algorithm D (The Art of Computer Programming, 4.3.1).
// Requires: nU >= nV >= 2, pV[nV - 1] != 0, room for nU + 1 words in pU.
// Gives the nU - nV + 1 quotient words in pQ and, with bRemainder, the
// remainder in pU[0..nV-1] (else pU holds it scaled); pU[nV..nU] become 0
// and pV is left scaled.
void LongDivide(Word* pU, int nU, Word* pV, int nV, Word* pQ, bool bRemainder)
{
    // Scale both so that the divisor's top word is at least half the base:
    // the trial quotient from the top words is then at most two too large,
    // and the test against the second word leaves it at most one too large.
    const Word nScaleBy = kWordBase / (pV[nV - 1] + 1);
    if (nScaleBy > 1) {
        pU[nU] = MultiplyWords(pU, nU, nScaleBy);
        MultiplyWords(pV, nV, nScaleBy);
    } else {
        pU[nU] = 0;
    }
    const DWord nTop = pV[nV - 1];
    const DWord nNext = pV[nV - 2];
    // clang-format off
    TV_ASSERT(nTop >= kWordBase / 2);
    // clang-format on
    const WordDivisor top(static_cast<Word>(nTop));

    for (int j = nU - nV; j >= 0; --j) {
        DWord nRHat;
        DWord nQHat = top.Divide(DWord(pU[j + nV]) * kWordBase + pU[j + nV - 1], &nRHat);
        while (nQHat >= kWordBase || nQHat * nNext > nRHat * kWordBase + pU[j + nV - 2]) {
            --nQHat;
            nRHat += nTop;
            if (nRHat >= kWordBase)
                break;
        }

        // u[j..j+nV] -= qhat * v, without branches on the digits: a word
        // that goes below 0 takes the base and lends one from the next.
        DWord nCarry = 0;
        std::int64_t nBorrow = 0;
        for (int i = 0; i < nV; ++i) {
            const DWord nProd = nQHat * pV[i] + nCarry;
            nCarry = nProd / kWordBase;
            const std::int64_t nDiff = std::int64_t(pU[i + j]) - std::int64_t(nProd - nCarry * kWordBase) - nBorrow;
            nBorrow = -(nDiff >> 63); // 1 when negative
            pU[i + j] = Word(nDiff + (kWordBase & -nBorrow));
        }
        std::int64_t nTopWord = std::int64_t(pU[j + nV]) - std::int64_t(nCarry) - nBorrow;
        if (nTopWord < 0) {
            // qhat was one too large: add v back once.
            --nQHat;
            Word nAddCarry = 0;
            for (int i = 0; i < nV; ++i) {
                Word nSum = pU[i + j] + pV[i] + nAddCarry;
                nAddCarry = nSum >= kWordBase ? 1 : 0;
                pU[i + j] = nSum - nAddCarry * kWordBase;
            }
            nTopWord += nAddCarry;
        }
        // clang-format off
        TV_ASSERT(nTopWord == 0);
        // clang-format on
        pU[j + nV] = 0;
        pQ[j] = Word(nQHat);
    }
    if (bRemainder && nScaleBy > 1)
        ShortDivide(pU, nV, WordDivisor(nScaleBy), pU); // scaled back, exactly
}

// The digits of w in decimal, for 0 < w < kWordBase.
int DigitsOfWord(Word w)
{
    return 1 + (w >= 10) + (w >= 100) + (w >= 1000) + (w >= 10000) + (w >= 100000) + (w >= 1000000) +
           (w >= 10000000);
}

// The integer in pW (nW words, least significant first) as a digit run
// whose last digit stands at 10^nLowExp. Requires: room for nW + 1 words
// in pW, which is changed. Gives *pRun (nPairs 0 when the integer is 0).
void SpreadWords(Word* pW, int nW, int nLowExp, PairRun* pRun)
{
    while (nW > 0 && pW[nW - 1] == 0)
        --nW;
    if (nW == 0) {
        pRun->nPairs = 0;
        pRun->nExp = 0;
        return;
    }
    int nDigits = 8 * (nW - 1) + DigitsOfWord(pW[nW - 1]);
    pRun->nExp = nLowExp + nDigits - 1;
    if (nDigits % 2 == 1) {
        // An odd count: the pad digit 0 after the last digit.
        Word nCarry = MultiplyWords(pW, nW, 10);
        if (nCarry != 0)
            pW[nW++] = nCarry;
        ++nDigits;
    }
    const int nPairs = nDigits / 2;
    // clang-format off
    TV_ASSERT(nPairs <= tvdiv::kMaxRunPairs);
    // clang-format on
    // Four pairs a word, from the least significant end; the top word may
    // have fewer, and its missing pairs fall before the run.
    unsigned char anPadded[tvdiv::kMaxRunPairs + 4] = {};
    unsigned char* pEnd = anPadded + 4 * nW;
    for (int k = 0; k < nW; ++k) {
        Word w = pW[k];
        pEnd[-4 * k - 1] = static_cast<unsigned char>(w % 100);
        pEnd[-4 * k - 2] = static_cast<unsigned char>(w / 100 % 100);
        pEnd[-4 * k - 3] = static_cast<unsigned char>(w / 10000 % 100);
        pEnd[-4 * k - 4] = static_cast<unsigned char>(w / 1000000);
    }
    int nKept = nPairs;
    while (pEnd[nKept - nPairs - 1] == 0)
        --nKept;
    for (int i = 0; i < nKept; ++i)
        pRun->anPair[i] = pEnd[i - nPairs];
    pRun->nPairs = nKept;
}

} // namespace

void tvdiv::DivideRuns(const PairRun& a, const PairRun& b, int nDigits, PairRun* pQuotient, PairRun* pRemainder)
{
    // clang-format off
    TV_ASSERT(a.nPairs >= 1 && a.nPairs <= kMaxRunPairs - 1 && a.anPair[0] >= 10);
    TV_ASSERT(b.nPairs >= 1 && b.nPairs <= kMaxRunPairs - 1 && b.anPair[0] >= 10);
    TV_ASSERT(nDigits >= 1 && nDigits <= kMaxQuotientDigits);
    // clang-format on

    // With A and B the runs read as integers (2 * nPairs digits each), the
    // developed quotient is A * 10^t / B truncated, t chosen so that it has
    // nDigits digits (a first one of 0 included). A negative t shifts B
    // instead of A.
    const int t = 2 * (b.nPairs - a.nPairs) + nDigits - 1;
    Word anU[kMaxWords];
    Word anV[kMaxWords];
    Word anQ[kMaxWords];
    const int nU = GatherWords(a, t > 0 ? t : 0, anU);
    const int nV = GatherWords(b, t < 0 ? -t : 0, anV);
    int nQ;
    int nR; // words of the remainder, left in anU
    if (nU < nV) {
        nQ = 0;
        nR = nU;
    } else if (nV == 1) {
        nQ = nU;
        anU[0] = ShortDivide(anU, nU, WordDivisor(anV[0]), anQ);
        nR = 1;
    } else {
        LongDivide(anU, nU, anV, nV, anQ, pRemainder != nullptr);
        nQ = nU - nV + 1;
        nR = nV;
    }

    // The last developed digit stands at 10^(a.nExp - b.nExp - nDigits + 1);
    // A's last digit at 10^(a.nExp - 2 * a.nPairs + 1), and the remainder
    // is A * 10^t - Q * B in units of A's last digit over 10^t.
    SpreadWords(anQ, nQ, a.nExp - b.nExp - nDigits + 1, pQuotient);
    // clang-format off
    TV_ASSERT(pQuotient->nPairs == 0 || pQuotient->nExp >= a.nExp - b.nExp - 1);
    // clang-format on
    if (pRemainder)
        SpreadWords(anU, nR, a.nExp - 2 * a.nPairs + 1 - (t > 0 ? t : 0), pRemainder);
}

namespace {

// ---------------------------------------------------------------------------
// Values: a sign and a digit run, taken from and put into the packed form.
// ---------------------------------------------------------------------------
struct SignedRun {
    bool bNegative;
    PairRun run;
};

// The packed value in strData. Requires: neither zero nor null.
void UnpackValue(const clsStrPlus& strData, SignedRun* pValue)
{
    const char* pData = strData;
    const int nLen = strData.GetLength();
    pValue->bNegative = pData[0] == 'n';
    int nExpByte = static_cast<signed char>(pData[1]);
    if (pValue->bNegative)
        nExpByte = -nExpByte;
    pValue->run.nExp = nExpByte >= 10 ? nExpByte - 10 : nExpByte + 10;
    pValue->run.nPairs = nLen - 2;
    for (int i = 2; i < nLen; ++i)
        pValue->run.anPair[i - 2] = static_cast<unsigned char>(std::abs(static_cast<signed char>(pData[i])) - 10);
}

// The packed form of the value into pBuf, ending in a NUL; "o" for zero.
void PackValue(const SignedRun& value, char* pBuf)
{
    const PairRun& run = value.run;
    if (run.nPairs == 0) {
        pBuf[0] = 'o';
        pBuf[1] = 0;
        return;
    }
    const int nSign = value.bNegative ? -1 : 1;
    const int nExpByte = run.nExp >= 0 ? run.nExp + 10 : run.nExp - 10;
    pBuf[0] = value.bNegative ? 'n' : 'p';
    pBuf[1] = static_cast<char>(nSign * nExpByte);
    for (int i = 0; i < run.nPairs; ++i)
        pBuf[i + 2] = static_cast<char>(nSign * (run.anPair[i] + 10));
    pBuf[run.nPairs + 2] = 0;
}

// -1, 0 or 1 as |a| is below, equal to or above |b|.
int CompareRuns(const PairRun& a, const PairRun& b)
{
    if (a.nExp != b.nExp)
        return a.nExp > b.nExp ? 1 : -1;
    for (int i = 0; i < a.nPairs || i < b.nPairs; ++i) {
        int x = i < a.nPairs ? a.anPair[i] : 0;
        int y = i < b.nPairs ? b.anPair[i] : 0;
        if (x != y)
            return x > y ? 1 : -1;
    }
    return 0;
}

// Rounds the magnitude to nScale decimals, half away from zero: only the
// first dropped digit decides. A carry out of the first digit gives the run
// 1 one place higher. Requires: nScale >= 0.
void RoundRun(PairRun* pRun, int nScale)
{
    if (pRun->nPairs == 0)
        return;
    unsigned char* pPair = pRun->anPair;
    const int nKeep = pRun->nExp + nScale + 1; // digits down to 10^-nScale
    if (nKeep >= 2 * pRun->nPairs)
        return;
    if (nKeep < 0) {
        // The first dropped digit is a 0 in front of the run.
        pRun->nPairs = 0;
        pRun->nExp = 0;
        return;
    }
    int nKept = (nKeep + 1) / 2; // pairs that hold a kept digit
    int nDropped;
    int nUnit; // one in the last kept place, as a pair value
    if (nKeep % 2 == 1) {
        nDropped = pPair[nKept - 1] % 10;
        pPair[nKept - 1] = static_cast<unsigned char>(pPair[nKept - 1] - nDropped);
        nUnit = 10;
    } else {
        nDropped = pPair[nKept] / 10;
        nUnit = 1;
    }
    if (nDropped >= 5) {
        int i = nKept - 1;
        for (; i >= 0; --i) {
            int nSum = pPair[i] + nUnit;
            if (nSum < 100) {
                pPair[i] = static_cast<unsigned char>(nSum);
                break;
            }
            pPair[i] = 0;
            nUnit = 1;
        }
        if (i < 0) {
            pPair[0] = 10;
            nKept = 1;
            ++pRun->nExp;
        }
    }
    while (nKept > 0 && pPair[nKept - 1] == 0)
        --nKept;
    pRun->nPairs = nKept;
    if (nKept == 0)
        pRun->nExp = 0;
}

// A number's packed string and precision, as a result is written into it.
struct Target {
    clsStrPlus& strData;
    int nCapacity;
    int nScale;
};

// Writes the value as the target's packed string: the target's one write,
// which takes no new block when the target's block holds it.
void WriteValue(const SignedRun& value, clsStrPlus& strData)
{
    char acBuf[tvdiv::kMaxRunPairs + 3];
    PackValue(value, acBuf);
    strData = static_cast<const char*>(acBuf);
}

// Stores a value as assignment between numbers does: integer digits beyond
// the target's capacity raise -2053 and leave the target as it was; it is
// rounded to the target's scale, and a carry beyond the capacity raises
// -2053 and leaves the null value.
void StoreAssigned(SignedRun value, const Target& target)
{
    if (value.run.nPairs > 0 && value.run.nExp >= target.nCapacity)
        ThrowUtilException(-2053);
    RoundRun(&value.run, target.nScale);
    if (value.run.nPairs > 0 && value.run.nExp >= target.nCapacity) {
        target.strData.Empty();
        ThrowUtilException(-2053);
    }
    WriteValue(value, target.strData);
}

// Stores the quotient with decimals: rounded to the target's scale first;
// when the rounded value does not fit, -2053 and the target is kept.
void StoreRounded(SignedRun value, const Target& target)
{
    RoundRun(&value.run, target.nScale);
    if (value.run.nPairs > 0 && value.run.nExp >= target.nCapacity)
        ThrowUtilException(-2053);
    WriteValue(value, target.strData);
}

// The number of quotient digits to develop: for the integer quotient its
// integer digits (-1 when |a| < |b|: it is 0), else down to one place beyond
// nScale.
int QuotientDigits(const PairRun& a, const PairRun& b, bool bInteger, int nScale)
{
    const int nDiff = a.nExp - b.nExp;
    if (!bInteger)
        return nDiff + nScale + 2;
    return (nDiff < 0 || CompareRuns(a, b) < 0) ? -1 : nDiff + 1;
}

} // namespace

clsNumDbFld& clsNumDbFld::operator/=(const clsNumDbFld& divisor)
{
    DivideBy(divisor, nullptr, nullptr);
    return *this;
}

clsNumDbFld& clsNumDbFld::operator%=(const clsNumDbFld& divisor)
{
    DivideBy(divisor, nullptr, this);
    return *this;
}

void clsNumDbFld::Divide(const clsNumDbFld& divisor, clsNumDbFld* pQuotient, clsNumDbFld* pRemainder)
{
    if (!pQuotient)
        ThrowUtilException(2002);
    // One number cannot take both results.
    if (pQuotient == pRemainder)
        ThrowUtilException(2001);
    DivideBy(divisor, pQuotient, pRemainder);
}

void clsNumDbFld::DivideBy(const clsNumDbFld& divisor, clsNumDbFld* pQuotient, clsNumDbFld* pRemainder)
{
    CheckValid();
    divisor.CheckValid();
    if (divisor.IsZero())
        ThrowUtilException(-2046);
    if (IsZero()) {
        // A zero or null dividend gives zero or null results.
        if (pRemainder)
            *pRemainder = *this;
        if (pQuotient)
            *pQuotient = *this;
        return;
    }
    DivideCore(divisor, pQuotient, pRemainder);
}

// Both results are computed before either target is written, so the
// dividend and the divisor may be targets. The remainder is stored first: a
// quotient that does not fit its target leaves the remainder in place.
void clsNumDbFld::DivideCore(const clsNumDbFld& divisor, clsNumDbFld* pQuotient, clsNumDbFld* pRemainder)
{
    const int nDiff = GetExponent() - divisor.GetExponent();
    if (nDiff >= GetIntLen())
        ThrowUtilException(-2053);

    SignedRun dividend;
    SignedRun divisorRun;
    UnpackValue(m_strData, &dividend);
    UnpackValue(divisor.m_strData, &divisorRun);
    const bool bInteger = pQuotient || pRemainder;
    const int nDigits = QuotientDigits(dividend.run, divisorRun.run, bInteger, m_nDbFldScale);

    SignedRun quotient;
    SignedRun remainder;
    quotient.bNegative = dividend.bNegative != divisorRun.bNegative;
    quotient.run.nPairs = 0;
    remainder.bNegative = dividend.bNegative;
    if (nDigits > 0) {
        if (!bInteger && divisorRun.run.nPairs == 1 && divisorRun.run.anPair[0] == 10) {
            // Plus or minus a power of ten: the dividend's own digits.
            quotient.run = dividend.run;
            quotient.run.nExp = nDiff;
        } else {
            tvdiv::DivideRuns(dividend.run, divisorRun.run, nDigits, &quotient.run,
                              pRemainder ? &remainder.run : nullptr);
        }
    }

    if (quotient.run.nPairs == 0) {
        // The quotient is zero; the remainder, when asked for, is the dividend.
        if (!bInteger) {
            *this = g_numZero;
            return;
        }
        if (pRemainder)
            *pRemainder = *this;
        if (pQuotient)
            *pQuotient = g_numZero;
        return;
    }
    if (!bInteger) {
        StoreRounded(quotient, Target{m_strData, GetIntLen(), m_nDbFldScale});
        CheckValid();
        return;
    }
    if (pRemainder) {
        StoreAssigned(remainder, Target{pRemainder->m_strData, pRemainder->GetIntLen(), pRemainder->m_nDbFldScale});
        pRemainder->CheckValid();
    }
    if (pQuotient) {
        StoreAssigned(quotient, Target{pQuotient->m_strData, pQuotient->GetIntLen(), pQuotient->m_nDbFldScale});
        pQuotient->CheckValid();
    }
}
