// Comparison, addition and subtraction on the packed base-100 digits, and
// the postfix increment and decrement. The sum and the difference are made
// in the working form on the stack and written into the number once.
#include <algorithm>
#include <cstring>

#include "tvdcndf.h"
#include "tvdcndf_packed.h"

using namespace tvpacked;

int clsNumDbFld::Compare(const clsNumDbFld& other) const
{
    CheckValid();
    other.CheckValid();
    if (IsZero() && other.IsZero())
        return 0;
    // Byte order of the packed forms, as signed bytes, is the numeric order;
    // the null value compares as zero.
    const char* p = m_strData.IsEmpty() ? "o" : static_cast<const char*>(m_strData);
    const char* q = other.m_strData.IsEmpty() ? "o" : static_cast<const char*>(other.m_strData);
    for (int i = 0;; ++i) {
        int a = SignedByte(p[i]);
        int b = SignedByte(q[i]);
        if (a != b)
            return a > b ? 1 : -1;
        if (a == 0)
            return 0;
    }
}

int tvpacked::CompareMagnitude(const char* pA, int nLenA, const char* pB, int nLenB)
{
    const int nExpA = DecodeExponentByte(pA[0], pA[1]);
    const int nExpB = DecodeExponentByte(pB[0], pB[1]);
    if (nExpA != nExpB)
        return nExpA > nExpB ? 1 : -1;
    const int nLen = std::min(nLenA, nLenB);
    for (int i = 2; i < nLen; ++i) {
        int a = PairOf(pA[i]);
        int b = PairOf(pB[i]);
        if (a != b)
            return a > b ? 1 : -1;
    }
    // No run ends in a zero pair: the one that goes on is the larger.
    return nLenA == nLenB ? 0 : (nLenA > nLenB ? 1 : -1);
}

int clsNumDbFld::CompareAbs(const clsNumDbFld& other) const
{
    CheckValid();
    other.CheckValid();
    // Zero and the null value are the smallest magnitude.
    if (IsZero() || other.IsZero())
        return other.IsZero() - IsZero();
    return CompareMagnitude(m_strData, m_strData.GetLength(), other.m_strData, other.m_strData.GetLength());
}

// Both operands lie on the grid of the powers of 100, so they line up by
// whole digits:
//
//     r    r0 r1 r2 r3 r4
//     a    a0 a1 a2 a3          (a.nPow = r.nPow)
//     b          b0 b1 b2       (b.nPow = r.nPow - 2)
//
// A carry left after r0 puts a new first digit 1 in front.
void tvpacked::AddMagnitudes(const clsWorkNum& a, const clsWorkNum& b, clsWorkNum& r)
{
    r.nPow = std::max(a.nPow, b.nPow);
    const int nLow = std::min(a.nPow - a.nDigits, b.nPow - b.nDigits) + 1; // power of the last digit
    const int n = r.nPow - nLow + 1;
    TV_ASSERT(n < kWorkDigits);
    std::memset(r.aDigit, 0, static_cast<size_t>(n));
    std::memcpy(r.aDigit + (r.nPow - a.nPow), a.aDigit, static_cast<size_t>(a.nDigits));
    unsigned char* pOut = r.aDigit + (r.nPow - b.nPow);
    int nCarry = 0;
    for (int i = b.nDigits - 1; i >= 0; --i) {
        int t = pOut[i] + b.aDigit[i] + nCarry;
        nCarry = t >= kRadix;
        pOut[i] = static_cast<unsigned char>(nCarry ? t - kRadix : t);
    }
    for (int i = r.nPow - b.nPow - 1; nCarry != 0 && i >= 0; --i) {
        int t = r.aDigit[i] + 1;
        nCarry = t >= kRadix;
        r.aDigit[i] = static_cast<unsigned char>(nCarry ? 0 : t);
    }
    r.nDigits = n;
    if (nCarry != 0) {
        std::memmove(r.aDigit + 1, r.aDigit, static_cast<size_t>(n));
        r.aDigit[0] = 1;
        ++r.nPow;
        ++r.nDigits;
    }
    r.bNegative = a.bNegative;
    r.bNull = false;
}

// As the addition, without the carry slot: the larger magnitude a gives the
// frame, and the borrow ends before a's first digit.
void tvpacked::SubtractMagnitudes(const clsWorkNum& a, const clsWorkNum& b, clsWorkNum& r)
{
    r.nPow = a.nPow;
    const int nLow = std::min(a.nPow - a.nDigits, b.nPow - b.nDigits) + 1;
    const int n = r.nPow - nLow + 1;
    TV_ASSERT(n <= kWorkDigits && b.nPow <= a.nPow);
    std::memcpy(r.aDigit, a.aDigit, static_cast<size_t>(a.nDigits));
    std::memset(r.aDigit + a.nDigits, 0, static_cast<size_t>(n - a.nDigits));
    unsigned char* pOut = r.aDigit + (r.nPow - b.nPow);
    int nBorrow = 0;
    for (int i = b.nDigits - 1; i >= 0; --i) {
        int t = pOut[i] - b.aDigit[i] - nBorrow;
        nBorrow = t < 0;
        pOut[i] = static_cast<unsigned char>(nBorrow ? t + kRadix : t);
    }
    for (int i = -1; nBorrow != 0; --i) {
        int t = pOut[i] - 1;
        nBorrow = t < 0;
        pOut[i] = static_cast<unsigned char>(nBorrow ? kRadix - 1 : t);
    }
    r.nDigits = n;
    r.bNegative = a.bNegative;
    r.bNull = false;
}

int tvpacked::CompareMagnitude(const clsWorkNum& a, const clsWorkNum& b)
{
    if (a.nPow != b.nPow)
        return a.nPow > b.nPow ? 1 : -1;
    const int nOrder = std::memcmp(a.aDigit, b.aDigit, static_cast<size_t>(std::min(a.nDigits, b.nDigits)));
    if (nOrder != 0)
        return nOrder > 0 ? 1 : -1;
    return a.nDigits == b.nDigits ? 0 : (a.nDigits > b.nDigits ? 1 : -1);
}

// The larger operand (by exponent, or by magnitude for a difference) gives
// the frame: slot j + 1 holds its digit byte j as a pair, slot 0 takes a carry.
// The other operand's pairs are placed into that frame first; with an odd
// exponent difference each frame pair takes the low digit of one of its bytes
// and the high digit of the next. The result begins at the first slot that is
// not 0; when that slot holds a single digit, every pair is formed again one
// digit further on (a carry into slot 0 always does that).
int tvpacked::SumPacked(const char* pA, int nLenA, const char* pB, int nLenB, bool bSubtract, char* pOut)
{
    const bool bNegA = pA[0] == kSignNegative;
    const bool bNegB = (pB[0] == kSignNegative) != bSubtract;
    const int nExpA = DecodeExponentByte(pA[0], pA[1]);
    const int nExpB = DecodeExponentByte(pB[0], pB[1]);
    const bool bAdd = bNegA == bNegB;
    int nOrder = nExpA > nExpB ? 1 : -1;
    if (nExpA == nExpB)
        nOrder = bAdd ? 1 : CompareMagnitude(pA, nLenA, pB, nLenB);
    if (nOrder == 0) {
        pOut[0] = kSignZero;
        pOut[1] = 0;
        return 1;
    }
    const bool bAFirst = nOrder > 0;
    const unsigned char* pHi = reinterpret_cast<const unsigned char*>(bAFirst ? pA : pB) + 2;
    const unsigned char* pLo = reinterpret_cast<const unsigned char*>(bAFirst ? pB : pA) + 2;
    const int nHi = (bAFirst ? nLenA : nLenB) - 2;
    const int nLo = (bAFirst ? nLenB : nLenA) - 2;
    const int nExpHi = bAFirst ? nExpA : nExpB;
    const int nShift = nExpHi - (bAFirst ? nExpB : nExpA);
    const bool bNegative = bAFirst ? bNegA : bNegB;

    const int nSkip = nShift / 2;
    const int nLoEnd = nSkip + nLo + (nShift & 1);
    const int n = nHi > nLoEnd ? nHi : nLoEnd;
    TV_ASSERT(n < kSumFrame);
    // Only the other operand's slots are written; LoAt reads 0 outside them.
    unsigned char aLo[kSumFrame];
    const unsigned nLoSlots = static_cast<unsigned>(nLoEnd - nSkip);
    auto LoAt = [&](int j) -> int { return static_cast<unsigned>(j - nSkip) < nLoSlots ? aLo[j] : 0; };
    if (nShift & 1) {
        aLo[nSkip] = kDigitTables.anHigh[pLo[0]];
        for (int i = 1; i < nLo; ++i)
            aLo[nSkip + i] = static_cast<unsigned char>(kDigitTables.anLow10[pLo[i - 1]] + kDigitTables.anHigh[pLo[i]]);
        aLo[nSkip + nLo] = kDigitTables.anLow10[pLo[nLo - 1]];
    } else {
        for (int i = 0; i < nLo; ++i)
            aLo[nSkip + i] = kDigitTables.anPair[pLo[i]];
    }

    unsigned char aR[kSumFrame + 1];
    int nCarry = 0;
    if (bAdd) {
        // Below the larger operand's last byte only the other one's pairs
        // stand, and nothing carries there.
        for (int j = n - 1; j >= nHi; --j)
            aR[j + 1] = static_cast<unsigned char>(LoAt(j));
        for (int j = nHi - 1; j >= 0; --j) {
            int t = kDigitTables.anPair[pHi[j]] + LoAt(j) + nCarry;
            nCarry = t >= kRadix;
            aR[j + 1] = static_cast<unsigned char>(nCarry ? t - kRadix : t);
        }
    } else {
        for (int j = n - 1; j >= nHi; --j) {
            int t = -LoAt(j) - nCarry;
            nCarry = t < 0;
            aR[j + 1] = static_cast<unsigned char>(nCarry ? t + kRadix : t);
        }
        for (int j = nHi - 1; j >= 0; --j) {
            int t = kDigitTables.anPair[pHi[j]] - LoAt(j) - nCarry;
            nCarry = t < 0;
            aR[j + 1] = static_cast<unsigned char>(nCarry ? t + kRadix : t);
        }
        TV_ASSERT(nCarry == 0);
    }
    aR[0] = static_cast<unsigned char>(nCarry);

    int nFirst = 0;
    while (nFirst <= n && aR[nFirst] == 0)
        ++nFirst;
    if (nFirst > n) {
        pOut[0] = kSignZero;
        pOut[1] = 0;
        return 1;
    }
    int nLast = n;
    while (aR[nLast] == 0)
        --nLast;
    // Slot j holds the places 10^(e + 2 - 2j) and 10^(e + 1 - 2j) of the frame's e.
    int nExp = nExpHi + 2 - 2 * nFirst;
    char* pBytes = pOut + 2;
    int nBytes = 0;
    if (aR[nFirst] >= 10) {
        for (int j = nFirst; j <= nLast; ++j)
            pBytes[nBytes++] = PairByte(aR[j], bNegative);
    } else {
        --nExp;
        for (int j = nFirst; j < nLast; ++j)
            pBytes[nBytes++] = PairByte(aR[j] % 10 * 10 + aR[j + 1] / 10, bNegative);
        const int nTail = aR[nLast] % 10 * 10;
        if (nTail != 0)
            pBytes[nBytes++] = PairByte(nTail, bNegative);
    }
    pOut[0] = bNegative ? kSignNegative : kSignPositive;
    pOut[1] = EncodeExponentByte(nExp, bNegative);
    pBytes[nBytes] = 0;
    return nBytes + 2;
}

void tvpacked::SignedSum(const clsWorkNum& a, const clsWorkNum& b, bool bSubtract, clsWorkNum& r)
{
    if (a.bNegative == (b.bNegative != bSubtract)) {
        AddMagnitudes(a, b, r);
    } else if (CompareMagnitude(a, b) >= 0) {
        SubtractMagnitudes(a, b, r);
    } else {
        // b has the larger magnitude: the result takes the sign opposite to a's.
        SubtractMagnitudes(b, a, r);
        r.bNegative = !a.bNegative;
    }
}

void clsNumDbFld::AddAbs(const clsNumDbFld& other)
{
    if (other.GetExponent() >= GetIntLen())
        ThrowUtilException(kErrOverflow);
    clsWorkNum a;
    clsWorkNum b;
    clsWorkNum r;
    Unpack(m_strData, m_strData.GetLength(), a);
    Unpack(other.m_strData, other.m_strData.GetLength(), b);
    AddMagnitudes(a, b, r);
    StoreResult(r);
}

void clsNumDbFld::SubtractAbs(const clsNumDbFld& other)
{
    const int nOrder =
        CompareMagnitude(m_strData, m_strData.GetLength(), other.m_strData, other.m_strData.GetLength());
    clsWorkNum a;
    clsWorkNum b;
    clsWorkNum r;
    Unpack(m_strData, m_strData.GetLength(), a);
    Unpack(other.m_strData, other.m_strData.GetLength(), b);
    if (nOrder >= 0) {
        SubtractMagnitudes(a, b, r);
    } else {
        // The other number is the larger: the result takes the other sign.
        SubtractMagnitudes(b, a, r);
        r.bNegative = !a.bNegative;
    }
    StoreResult(r);
}

bool clsNumDbFld::StoreSumPacked(const char* pData, int nLen, const clsNumDbFld& other, bool bSubtract)
{
    const char* pOther = other.m_strData;
    const int nOtherLen = other.m_strData.GetLength();
    // Zero and null operands, and an operand with more decimals than the
    // scale (its sum is rounded), take the working form.
    if (nLen <= 1 || nOtherLen <= 1 || StoredDecimals(pData, nLen) > m_nDbFldScale ||
        StoredDecimals(pOther, nOtherLen) > m_nDbFldScale)
        return false;
    char achSum[kSumFrame + 4];
    const int nSumLen = SumPacked(pData, nLen, pOther, nOtherLen, bSubtract, achSum);
    // Neither operand has more decimals than the scale, so neither has the
    // sum: only its integer part can fail to fit.
    if (StoredIntegerDigits(achSum, nSumLen) > GetIntLen())
        ThrowUtilException(kErrOverflow);
    StorePacked(achSum, nSumLen);
    CheckValid();
    return true;
}

void clsNumDbFld::StoreSum(clsWorkNum& t, const clsNumDbFld& other, bool bSubtract)
{
    clsWorkNum o;
    Load(other.m_strData, other.m_strData.GetLength(), o);
    clsWorkNum r;
    clsWorkNum* pResult = &r;
    if (o.nDigits == 0) {
        pResult = &t;
    } else if (t.nDigits == 0) {
        // Zero or null plus a value is that value at this precision.
        o.bNegative = o.bNegative != bSubtract;
        pResult = &o;
    } else {
        SignedSum(t, o, bSubtract, r);
    }
    StoreResult(*pResult);
}

clsNumDbFld& clsNumDbFld::operator+=(const clsNumDbFld& other)
{
    CheckValid();
    other.CheckValid();
    if (other.IsZero())
        return *this;
    if (StoreSumPacked(m_strData, m_strData.GetLength(), other, false))
        return *this;
    clsWorkNum t;
    Load(m_strData, m_strData.GetLength(), t);
    StoreSum(t, other, false);
    return *this;
}

clsNumDbFld& clsNumDbFld::operator-=(const clsNumDbFld& other)
{
    CheckValid();
    other.CheckValid();
    if (other.IsZero())
        return *this;
    if (StoreSumPacked(m_strData, m_strData.GetLength(), other, true))
        return *this;
    clsWorkNum t;
    Load(m_strData, m_strData.GetLength(), t);
    StoreSum(t, other, true);
    return *this;
}

clsNumDbFld clsNumDbFld::operator++(int)
{
    clsNumDbFld numOut(*this);
    *this += g_numOne;
    return numOut;
}

clsNumDbFld clsNumDbFld::operator--(int)
{
    clsNumDbFld numOut(*this);
    *this -= g_numOne;
    return numOut;
}
