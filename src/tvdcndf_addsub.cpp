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
