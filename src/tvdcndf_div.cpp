// Division: the quotient with decimals (/=), the remainder of the integer
// division (%=) and the integer quotient with an optional remainder (Divide).
//
// Both operands are taken into the working form, their digits gathered into
// base-10^8 words and divided exactly (Knuth's algorithm D, one quotient word
// per step) down to the last quotient digit that the operation develops; the
// quotient and the remainder come back as working values, are rounded to
// their targets' scales and are written into the targets, each once. Nothing
// in between allocates.
#include <cstdint>
#include <cstring>

#include "tvdcndf.h"
#include "tvdcndf_packed.h"

using namespace tvpacked;

namespace {

// ---------------------------------------------------------------------------
// Base-10^8 words: four grid digits each, least significant word first.
// ---------------------------------------------------------------------------
typedef std::uint32_t Word;
typedef std::uint64_t DWord;

const Word kWordBase = 100000000;
// Words of the longest numerator: a divisor of 104 digits and a quotient of
// 102, a word for the scaling in LongDivide, one to spare.
const int kMaxWords = 30;

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

// The working value's digits read as an integer, times 10^nZeros, into pW.
// Requires: w normalised and not zero, nZeros >= 0, room for the words.
// Gives the word count; the top word is not 0.
int GatherWords(const clsWorkNum& w, int nZeros, Word* pW)
{
    const unsigned char* pDigit = w.aDigit;
    int i = w.nDigits - 1; // the next digit to place, from the last
    int nW = 0;
    for (; nW < nZeros / 8; ++nW)
        pW[nW] = 0;
    const int nLowZeros = (nZeros % 8) / 2; // zero digits at the bottom of the next word
    if (nLowZeros > 0) {
        Word nWord = 0;
        Word nPlace = nLowZeros == 1 ? 100 : (nLowZeros == 2 ? 10000 : 1000000);
        for (int k = nLowZeros; k < 4 && i >= 0; ++k, --i, nPlace *= 100)
            nWord += pDigit[i] * nPlace;
        pW[nW++] = nWord;
    }
    for (; i >= 3; i -= 4)
        pW[nW++] = pDigit[i - 3] * Word(1000000) + pDigit[i - 2] * Word(10000) + pDigit[i - 1] * Word(100) + pDigit[i];
    if (i >= 0) {
        Word nWord = 0;
        for (int k = 0; k <= i; ++k)
            nWord = nWord * 100 + pDigit[k];
        pW[nW++] = nWord;
    }
    if (nZeros % 2 == 1) {
        const int nZeroWords = nZeros / 8;
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

// u / v by Knuth's algorithm D (The Art of Computer Programming, 4.3.1),
// with the trial quotient taken exactly from the top three words of the
// partial remainder over the top two of v. With U, V the partial remainder
// and v, and U3, V2 those words (V2 >= base, as v's top word is not 0):
// U / V < (U3 + 1) / V2, so the trial quotient is never too small, and
// U3 / V2 - U / V < U3 / (V2 * (V2 + 1)) < base / V2 <= 1, so it is at most
// one too large (it may then be the base itself). One add-back corrects it;
// v needs no scaling and the remainder no scaling back.
// Requires: nU >= nV >= 2, pV[nV - 1] != 0, room for nU + 1 words in pU.
// Gives the nU - nV + 1 quotient words in pQ and the remainder in
// pU[0..nV-1]; pU[nV..nU] become 0.
void LongDivide(Word* pU, int nU, const Word* pV, int nV, Word* pQ)
{
    const DWord nTop2 = DWord(pV[nV - 1]) * kWordBase + pV[nV - 2];
    pU[nU] = 0;
    for (int j = nU - nV; j >= 0; --j) {
        const unsigned __int128 nNum =
            static_cast<unsigned __int128>(DWord(pU[j + nV]) * kWordBase + pU[j + nV - 1]) * kWordBase +
            pU[j + nV - 2];
        DWord nQHat = DWord(nNum / nTop2);

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
}

// The integer in pW (nW words, least significant first) times 10^nLowExp
// as a normalised working value's digits and nPow (nDigits 0 when the
// integer is 0). Requires: room for nW + 1 words in pW, which is changed.
void SpreadWords(Word* pW, int nW, int nLowExp, clsWorkNum& w)
{
    while (nW > 0 && pW[nW - 1] == 0)
        --nW;
    if (nW == 0) {
        w.nDigits = 0;
        w.nPow = 0;
        return;
    }
    if (nLowExp % 2 != 0) {
        // Onto the grid: the last digit then stands at an even exponent.
        Word nCarry = MultiplyWords(pW, nW, 10);
        if (nCarry != 0)
            pW[nW++] = nCarry;
        --nLowExp;
    }
    // clang-format off
    TV_ASSERT(4 * nW <= kWorkDigits);
    // clang-format on
    // The top word's digits from its first that is not 0, then four digits
    // a word; the zero digits at the end are dropped.
    const Word nTop = pW[nW - 1];
    const int nTopDigits = nTop >= 1000000 ? 4 : (nTop >= 10000 ? 3 : (nTop >= 100 ? 2 : 1));
    const unsigned char anTop[4] = {static_cast<unsigned char>(nTop / 1000000),
                                    static_cast<unsigned char>(nTop / 10000 % 100),
                                    static_cast<unsigned char>(nTop / 100 % 100),
                                    static_cast<unsigned char>(nTop % 100)};
    unsigned char* pDigit = w.aDigit;
    for (int k = 4 - nTopDigits; k < 4; ++k)
        *pDigit++ = anTop[k];
    for (int k = nW - 2; k >= 0; --k) {
        const Word nWord = pW[k];
        pDigit[0] = static_cast<unsigned char>(nWord / 1000000);
        pDigit[1] = static_cast<unsigned char>(nWord / 10000 % 100);
        pDigit[2] = static_cast<unsigned char>(nWord / 100 % 100);
        pDigit[3] = static_cast<unsigned char>(nWord % 100);
        pDigit += 4;
    }
    const int nAll = nTopDigits + 4 * (nW - 1);
    int nDigits = nAll;
    while (w.aDigit[nDigits - 1] == 0)
        --nDigits;
    w.nDigits = nDigits;
    w.nPow = nLowExp / 2 + nAll - 1;
}

} // namespace

void tvpacked::DivideMagnitudes(const clsWorkNum& a, const clsWorkNum& b, int nLowExp, clsWorkNum& q, clsWorkNum* pr)
{
    // clang-format off
    TV_ASSERT(a.nDigits > 0 && a.aDigit[0] != 0 && b.nDigits > 0 && b.aDigit[0] != 0);
    // clang-format on
    // With A and B the digits read as integers, a = A * 10^nLowA and
    // b = B * 10^nLowB: the quotient truncated at 10^nLowExp is A * 10^s / B
    // truncated, with s = nLowA - nLowB - nLowExp; a negative s shifts B
    // instead of A. The remainder is A * 10^s - Q * B in units of
    // 10^(nLowA - s), or A - Q * B * 10^-s in units of 10^nLowA.
    const int nLowA = 2 * (a.nPow - a.nDigits + 1);
    const int nLowB = 2 * (b.nPow - b.nDigits + 1);
    const int s = nLowA - nLowB - nLowExp;
    // clang-format off
    TV_ASSERT(a.nDigits + (s > 0 ? s : 0) / 2 <= 4 * (kMaxWords - 3));
    TV_ASSERT(b.nDigits + (s < 0 ? -s : 0) / 2 <= 4 * (kMaxWords - 3));
    // clang-format on
    Word anU[kMaxWords];
    Word anV[kMaxWords];
    Word anQ[kMaxWords];
    const int nU = GatherWords(a, s > 0 ? s : 0, anU);
    const int nV = GatherWords(b, s < 0 ? -s : 0, anV);
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
        LongDivide(anU, nU, anV, nV, anQ);
        nQ = nU - nV + 1;
        nR = nV;
    }
    q.bNegative = a.bNegative != b.bNegative;
    q.bNull = false;
    SpreadWords(anQ, nQ, nLowExp, q);
    if (pr) {
        pr->bNegative = a.bNegative;
        pr->bNull = false;
        SpreadWords(anU, nR, s > 0 ? nLowA - s : nLowA, *pr);
    }
}

namespace {

// The number of quotient digits that the operation develops, from 10^nDiff
// down: for the integer quotient its integer digits (-1 when |a| < |b|: it
// is 0), else down to one place beyond nScale.
int QuotientDigits(const clsWorkNum& a, const clsWorkNum& b, int nDiff, bool bInteger, int nScale)
{
    if (!bInteger)
        return nDiff + nScale + 2;
    return (nDiff < 0 || CompareMagnitude(a, b) < 0) ? -1 : nDiff + 1;
}

// Whether a normalised value is plus or minus a power of ten.
bool IsPowerOfTen(const clsWorkNum& w)
{
    return w.nDigits == 1 && (w.aDigit[0] == 1 || w.aDigit[0] == 10);
}

// The dividend's own digits at the exponent nExp, with its sign turned when
// bTurn: the quotient by a power of ten. Requires: a packed value of nLen
// bytes that is neither zero nor null.
void ShiftedByPowerOfTen(const char* pData, int nLen, int nExp, bool bTurn, clsWorkNum& q)
{
    const bool bNegative = (pData[0] == kSignNegative) != bTurn;
    char achPacked[kMaxPackedBytes];
    achPacked[0] = bNegative ? kSignNegative : kSignPositive;
    achPacked[1] = EncodeExponentByte(nExp, bNegative);
    for (int i = 2; i < nLen; ++i)
        achPacked[i] = PairByte(PairOf(pData[i]), bNegative);
    achPacked[nLen] = 0;
    Unpack(achPacked, nLen, q);
}

// The quotient with decimals rounded to the scale, packed into pOut; gives
// its length. A rounded value beyond the capacity raises -2053 before
// anything is stored. Requires: q normalised and not zero.
int PackRoundedQuotient(clsWorkNum& q, int nCap, int nScale, char* pOut)
{
    if (!RoundToScale(q, nScale)) {
        pOut[0] = kSignZero;
        pOut[1] = 0;
        return 1;
    }
    if (ExponentOf(q) >= nCap)
        ThrowUtilException(kErrOverflow);
    return Pack(q, pOut);
}

// The results of a zero quotient: zero for the quotient with decimals, in
// the dividend; for the integer division zero and, when asked for, the
// dividend itself as the remainder, stored first so that the dividend may
// take the quotient.
void StoreZeroQuotient(clsNumDbFld& numDividend, bool bInteger, clsNumDbFld* pQuotient, clsNumDbFld* pRemainder)
{
    if (!bInteger) {
        numDividend = g_numZero;
        return;
    }
    if (pRemainder)
        *pRemainder = numDividend;
    if (pQuotient)
        *pQuotient = g_numZero;
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
        ThrowUtilException(kErrNullOutParam);
    // One number cannot take both results.
    if (pQuotient == pRemainder)
        ThrowUtilException(kErrInvalidParam);
    DivideBy(divisor, pQuotient, pRemainder);
}

void clsNumDbFld::DivideBy(const clsNumDbFld& divisor, clsNumDbFld* pQuotient, clsNumDbFld* pRemainder)
{
    CheckValid();
    divisor.CheckValid();
    DivideValidated(divisor, pQuotient, pRemainder);
}

void clsNumDbFld::DivideValidated(const clsNumDbFld& divisor, clsNumDbFld* pQuotient, clsNumDbFld* pRemainder)
{
    if (divisor.IsZero())
        ThrowUtilException(kErrDivByZero);
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
        ThrowUtilException(kErrOverflow);

    const bool bInteger = pQuotient || pRemainder;
    clsWorkNum a;
    clsWorkNum b;
    Unpack(m_strData, m_strData.GetLength(), a);
    Unpack(divisor.m_strData, divisor.m_strData.GetLength(), b);
    const int nDigits = QuotientDigits(a, b, nDiff, bInteger, m_nDbFldScale);
    clsWorkNum q;
    clsWorkNum r;
    q.nDigits = 0;
    if (nDigits > 0) {
        if (!bInteger && IsPowerOfTen(b))
            ShiftedByPowerOfTen(m_strData, m_strData.GetLength(), nDiff, b.bNegative, q);
        else
            DivideMagnitudes(a, b, nDiff - nDigits + 1, q, pRemainder ? &r : nullptr);
    }

    if (q.nDigits == 0) {
        StoreZeroQuotient(*this, bInteger, pQuotient, pRemainder);
    } else if (!bInteger) {
        char achPacked[kMaxPackedBytes];
        StorePacked(achPacked, PackRoundedQuotient(q, GetIntLen(), m_nDbFldScale, achPacked));
        CheckValid();
    } else {
        if (pRemainder)
            pRemainder->StoreResult(r);
        if (pQuotient)
            pQuotient->StoreResult(q);
    }
}
