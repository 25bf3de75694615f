// Division: the quotient with decimals (/=), the remainder of the integer
// division (%=) and the integer quotient with an optional remainder (Divide).
//
// The digit bytes of both operands are read into base-10^8 words and divided
// exactly (Knuth's algorithm D, one quotient word per step) down to the last
// quotient digit that the operation develops; the quotient and the remainder
// go from words straight back to packed bytes, are rounded to their targets'
// scales and are written into the targets, each once. Nothing in between
// allocates.
#include <cstdint>
#include <cstring>

#include "tvdcndf.h"
#include "tvdcndf_packed.h"

using namespace tvpacked;

namespace {

typedef std::uint32_t Word;
typedef std::uint64_t DWord;

// Packed bytes of the longest value that words of a division can give back,
// with the NUL and room for the word conversion's four-byte stores.
const int kWordsPackedBytes = 2 + 4 * kDivWords + 4;

// The count of words once the zero words at the top are dropped.
int TrimWords(const Word* pW, int nW)
{
    while (nW > 0 && pW[nW - 1] == 0)
        --nW;
    return nW;
}

// Division by one word through its reciprocal: a multiplication and at most
// one correction instead of a hardware division per quotient word (the same
// idea as Granlund and Montgomery's division by invariant integers).
class WordDivisor {
public:
    // Requires: 0 < nDivisor <= kWordRadix.
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

// u / v for a one-word divisor. Requires: v > 0; pQ may be pU. Gives the nU
// quotient words in pQ and returns the remainder.
Word ShortDivide(const Word* pU, int nU, const WordDivisor& v, Word* pQ)
{
    DWord nRem = 0;
    for (int i = nU - 1; i >= 0; --i)
        pQ[i] = Word(v.Divide(nRem * kWordRadix + pU[i], &nRem));
    return Word(nRem);
}

// floor(n / d) for n = (n2 * base + n1) * base + n0 and a d of two words,
// when the quotient is at most kWordRadix.
inline DWord TrialQuotient(Word n2, Word n1, Word n0, DWord d)
{
    const DWord nHigh = DWord(n2) * kWordRadix + n1;
    if (n2 == 0 && nHigh * kWordRadix + n0 < d)
        return 0; // n < d, often so in the first step
    return DWord((static_cast<unsigned __int128>(nHigh) * kWordRadix + n0) / d);
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
    const DWord nTop2 = DWord(pV[nV - 1]) * kWordRadix + pV[nV - 2];
    pU[nU] = 0;
    for (int j = nU - nV; j >= 0; --j) {
        DWord nQHat = TrialQuotient(pU[j + nV], pU[j + nV - 1], pU[j + nV - 2], nTop2);
        if (nQHat == 0) {
            // Never too large: the partial remainder stays as it is.
            pQ[j] = 0;
            continue;
        }

        // u[j..j+nV] -= qhat * v. Each product qhat * v[i] (below 10^16)
        // splits into a low word, taken from u[i + j], and a high word,
        // taken from u[i + j + 1]; the products do not wait for each other,
        // only the borrow runs from word to word. A word goes at most two
        // bases below 0 (it loses a low and a high word and a borrow of up
        // to 2) and takes back as many bases as it lends from the next.
        DWord nHigh = 0;
        std::int64_t nBorrow = 0;
        for (int i = 0; i < nV; ++i) {
            const DWord nProd = nQHat * pV[i];
            const DWord nProdHigh = nProd / kWordRadix;
            const std::int64_t nTake = std::int64_t(nProd - nProdHigh * kWordRadix + nHigh);
            const std::int64_t nDiff = std::int64_t(pU[i + j]) - nTake - nBorrow;
            nBorrow = std::int64_t(nDiff < 0) + std::int64_t(nDiff < -std::int64_t(kWordRadix));
            pU[i + j] = Word(nDiff + nBorrow * kWordRadix);
            nHigh = nProdHigh;
        }
        std::int64_t nTopWord = std::int64_t(pU[j + nV]) - std::int64_t(nHigh) - nBorrow;
        if (nTopWord < 0) {
            // qhat was one too large: add v back once.
            --nQHat;
            Word nAddCarry = 0;
            for (int i = 0; i < nV; ++i) {
                Word nSum = pU[i + j] + pV[i] + nAddCarry;
                nAddCarry = nSum >= kWordRadix ? 1 : 0;
                pU[i + j] = nSum - nAddCarry * kWordRadix;
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

} // namespace

void tvpacked::DivideMagnitudes(const char* pA, int nLenA, const char* pB, int nLenB, int nLowQ, clsWordNum* pQ,
                                clsWordNum* pR)
{
    // With A and B the digits read as integers, a = A * 10^nLowA and
    // b = B * 10^nLowB: the quotient truncated at 10^nLowQ is A * 10^s / B
    // truncated, with s = nLowA - nLowB - nLowQ; a negative s shifts B
    // instead of A. The remainder is A * 10^s - Q * B in units of
    // 10^(nLowA - s), or A - Q * B * 10^-s in units of 10^nLowA. The
    // partial remainder is worked on where the remainder is wanted, and the
    // quotient written where it is wanted.
    Word anU[kDivWords + 1];
    Word anQ[kDivWords];
    Word* const pU = pR ? pR->aWord : anU;
    Word* const pQW = pQ ? pQ->aWord : anQ;
    Word anV[kDivWords];
    int nLowA;
    int nLowB;
    // clang-format off
    TV_ASSERT(nLenA > 2 && nLenA <= kMaxPackedBytes && nLenB > 2 && nLenB <= kMaxPackedBytes);
    // clang-format on
    int nU = PackedToWords(pA, nLenA, pU, &nLowA);
    int nV = PackedToWords(pB, nLenB, anV, &nLowB);
    const int s = nLowA - nLowB - nLowQ;
    // clang-format off
    TV_ASSERT(nU + (s > 0 ? s : 0) / kWordDigits + 1 <= kDivWords && nV + (s < 0 ? -s : 0) / kWordDigits + 1 <= kDivWords);
    // clang-format on
    if (s > 0)
        nU = ShiftWordsUp(pU, nU, s);
    else if (s < 0)
        nV = ShiftWordsUp(anV, nV, -s);
    // Both top words are not 0: the conversion and the shift keep them so.
    int nQ;
    int nR; // words of the remainder, left in pU
    if (nU < nV) {
        nQ = 0;
        nR = nU;
    } else if (nV == 1) {
        nQ = nU;
        pU[0] = ShortDivide(pU, nU, WordDivisor(anV[0]), pQW);
        nR = 1;
    } else {
        LongDivide(pU, nU, anV, nV, pQW);
        nQ = nU - nV + 1;
        nR = nV;
    }
    if (pQ) {
        pQ->nWords = TrimWords(pQW, nQ);
        pQ->nLowExp = nLowQ;
    }
    if (pR) {
        pR->nWords = TrimWords(pU, nR);
        pR->nLowExp = s > 0 ? nLowA - s : nLowA;
    }
}

namespace {

// The packed form of the words' value with the given sign ("o" for zero);
// gives its length. Requires: room for kWordsPackedBytes in pOut.
int PackWords(const clsWordNum& w, bool bNegative, char* pOut)
{
    if (w.nWords == 0) {
        pOut[0] = kSignZero;
        pOut[1] = 0;
        return 1;
    }
    return WordsToPacked(w.aWord, w.nWords, w.nLowExp, bNegative, pOut);
}

// Whether a packed value that is neither zero nor null is plus or minus a
// power of ten: one digit 1, padded.
bool IsPowerOfTen(const char* pData, int nLen)
{
    return nLen == 3 && PairOf(pData[2]) == 10;
}

// The quotient with decimals of two packed values, neither zero nor null,
// with nDiff = e(a) - e(b): its digits from 10^nDiff down to one place
// beyond nScale, rounded half away from zero on that place; for a divisor of
// plus or minus a power of ten the dividend's own digits, moved, rounded at
// nScale. Packed into pOut (room for kWordsPackedBytes); gives its length
// ("o" for zero). -2053 when the rounded value reaches 10^nCap.
int PackedQuotientWithDecimals(const char* pA, int nLenA, const char* pB, int nLenB, int nDiff, int nCap, int nScale,
                               char* pOut)
{
    clsWordNum q;
    q.nWords = 0;
    q.nLowExp = 0;
    if (nDiff + nScale + 2 <= 0) {
        // Every developed digit would be 0.
    } else if (IsPowerOfTen(pB, nLenB)) {
        q.nWords = PackedToWords(pA, nLenA, q.aWord, &q.nLowExp);
        q.nLowExp -= DecodeExponentByte(pB[0], pB[1]);
    } else {
        DivideMagnitudes(pA, nLenA, pB, nLenB, -nScale - 1, &q, nullptr);
    }
    const int nDrop = -nScale - q.nLowExp; // digits beyond the scale
    if (q.nWords > 0 && nDrop > 0)
        q.nWords = RoundWordsAt(q.aWord, q.nWords, nDrop);
    const int nPacked = PackWords(q, (pA[0] == kSignNegative) != (pB[0] == kSignNegative), pOut);
    if (nPacked > 1 && DecodeExponentByte(pOut[0], pOut[1]) >= nCap)
        ThrowUtilException(kErrOverflow);
    return nPacked;
}

// Whether the integer quotient of two packed values, neither zero nor null,
// with nDiff = e(a) - e(b), is 0: |a| < |b|.
bool IntegerQuotientIsZero(const char* pA, int nLenA, const char* pB, int nLenB, int nDiff)
{
    return nDiff < 0 || (nDiff == 0 && CompareMagnitude(pA, nLenA, pB, nLenB) < 0);
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

void clsNumDbFld::DivideInto(const clsNumDbFld& dividend, const clsNumDbFld& divisor, bool bRemainder)
{
    // The dividend at this number's precision, as the assignment of it would
    // store it: rounded when it has more decimals than the scale.
    const char* pData = dividend.m_strData;
    int nLen = dividend.m_strData.GetLength();
    if (dividend.GetIntLen() > GetIntLen() && StoredIntegerDigits(pData, nLen) > GetIntLen())
        ThrowUtilException(kErrOverflow);
    char achRounded[kMaxPackedBytes];
    if (dividend.m_nDbFldScale > m_nDbFldScale)
        pData = RoundedToScale(pData, nLen, achRounded);
    if (divisor.IsZero())
        ThrowUtilException(kErrDivByZero);
    if (nLen <= 1) {
        // A zero or null dividend is the result.
        StorePacked(pData, nLen);
        CheckValid();
        return;
    }
    if (bRemainder) {
        // A dividend whose first digit lies below the divisor's is its own
        // remainder, at no larger a scale than this number's (DivideValue's
        // first test, taken here without its set-up).
        const char* pDivisor = divisor.m_strData;
        if (DecodeExponentByte(pData[0], pData[1]) < DecodeExponentByte(pDivisor[0], pDivisor[1])) {
            if (static_cast<const char*>(m_strData) != pData)
                StoreExactPacked(pData, nLen, true);
            return;
        }
    }
    DivideValue(pData, nLen, divisor, nullptr, bRemainder ? this : nullptr);
}

void clsNumDbFld::DivideCore(const clsNumDbFld& divisor, clsNumDbFld* pQuotient, clsNumDbFld* pRemainder)
{
    DivideValue(m_strData, m_strData.GetLength(), divisor, pQuotient, pRemainder);
}

void clsNumDbFld::StoreExactPacked(const char* pData, int nLen, bool bFitsScale)
{
    if (nLen > 1) {
        if (DecodeExponentByte(pData[0], pData[1]) >= GetIntLen())
            ThrowUtilException(kErrOverflow);
        if (!bFitsScale && StoredDecimals(pData, nLen) > m_nDbFldScale) {
            clsWorkNum w;
            Unpack(pData, nLen, w);
            StoreResult(w);
            return;
        }
    }
    StorePacked(pData, nLen);
    CheckValid();
}

// Both results are computed before either target is written, so the
// dividend and the divisor may be targets; pData is not read after the
// first write. The remainder is stored first: a quotient that does not fit
// its target leaves the remainder in place.
void clsNumDbFld::DivideValue(const char* pData, int nLen, const clsNumDbFld& divisor, clsNumDbFld* pQuotient,
                              clsNumDbFld* pRemainder)
{
    const char* pDivisor = divisor.m_strData;
    const int nDivisorLen = divisor.m_strData.GetLength();
    const bool bNegDividend = pData[0] == kSignNegative;
    const bool bNegQuotient = bNegDividend != (pDivisor[0] == kSignNegative);
    const int nDiff = DecodeExponentByte(pData[0], pData[1]) - DecodeExponentByte(pDivisor[0], pDivisor[1]);
    if (nDiff >= GetIntLen())
        ThrowUtilException(kErrOverflow);

    char achPacked[kWordsPackedBytes];
    if (!pQuotient && !pRemainder) {
        const int nPacked = PackedQuotientWithDecimals(pData, nLen, pDivisor, nDivisorLen, nDiff, GetIntLen(),
                                                       m_nDbFldScale, achPacked);
        StorePacked(achPacked, nPacked);
        CheckValid();
        return;
    }
    if (IntegerQuotientIsZero(pData, nLen, pDivisor, nDivisorLen, nDiff)) {
        // The quotient is 0, the remainder the dividend (nothing to write
        // when the remainder's target holds it). The dividend has no more
        // decimals than this number's scale: a target of no smaller scale
        // takes it as it is.
        if (pRemainder && static_cast<const char*>(pRemainder->m_strData) != pData)
            pRemainder->StoreExactPacked(pData, nLen, pRemainder->m_nDbFldScale >= m_nDbFldScale);
        if (pQuotient)
            *pQuotient = g_numZero;
        return;
    }
    clsWordNum q;
    clsWordNum r;
    DivideMagnitudes(pData, nLen, pDivisor, nDivisorLen, 0, pQuotient ? &q : nullptr, pRemainder ? &r : nullptr);
    if (pRemainder) {
        // The remainder has no more decimals than the operands have (nor
        // than its last word's place shows).
        const int nScale = pRemainder->m_nDbFldScale;
        const bool bFitsScale =
            -r.nLowExp <= nScale || (nScale >= m_nDbFldScale && nScale >= divisor.m_nDbFldScale);
        pRemainder->StoreExactPacked(achPacked, PackWords(r, bNegDividend, achPacked), bFitsScale);
    }
    if (pQuotient)
        pQuotient->StoreExactPacked(achPacked, PackWords(q, bNegQuotient, achPacked), true);
}
