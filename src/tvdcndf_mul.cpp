// Multiplication on the packed base-100 digits, and the integer and decimal
// parts of a number.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tvdcndf.h"
#include "tvdcndf_packed.h"

using namespace tvpacked;

clsNumDbFld& clsNumDbFld::operator*=(const clsNumDbFld& other)
{
    CheckValid();
    other.CheckValid();
    if (IsZero())
        return *this;
    clsWorkNum t;
    Load(m_strData, m_strData.GetLength(), t);
    StoreProduct(t, other);
    return *this;
}

void clsNumDbFld::StoreProduct(clsWorkNum& t, const clsNumDbFld& other)
{
    clsWorkNum o;
    Load(other.m_strData, other.m_strData.GetLength(), o);
    clsWorkNum r;
    clsWorkNum* pResult = &r;
    if (t.nDigits == 0) {
        pResult = &t; // zero or null stays as it is
    } else if (o.nDigits == 0) {
        pResult = &o; // times zero or null gives zero or null
    } else {
        // The product's exponent is the sum of the two or one more: a sum at
        // or above the capacity needs no product to be refused.
        if (ExponentOf(t) + ExponentOf(o) >= GetIntLen())
            ThrowUtilException(kErrOverflow);
        MultiplyMagnitudes(t, o, r);
    }
    StoreResult(*pResult);
}

// Schoolbook product on the grid of the powers of 100: a.aDigit[i] times
// b.aDigit[j] stands for 100^(a.nPow + b.nPow - i - j), which is r.aDigit[1 + i + j]
// (r.aDigit[0] takes the final carry). The columns are summed first, each at
// most 51 * 99 * 99, and the carries are made in one pass from the end.
void tvpacked::MultiplyMagnitudes(const clsWorkNum& a, const clsWorkNum& b, clsWorkNum& r)
{
    const clsWorkNum& x = a.nDigits >= b.nDigits ? a : b; // the longer one in the inner loop
    const clsWorkNum& y = a.nDigits >= b.nDigits ? b : a;
    const int n = a.nDigits + b.nDigits;
    TV_ASSERT(n <= kWorkDigits);
    std::uint32_t anColumn[kWorkDigits];
    std::uint32_t anX[kWorkDigits];
    std::memset(anColumn, 0, sizeof(std::uint32_t) * static_cast<size_t>(n));
    for (int i = 0; i < x.nDigits; ++i)
        anX[i] = x.aDigit[i];
    for (int j = 0; j < y.nDigits; ++j) {
        const std::uint32_t nY = y.aDigit[j];
        std::uint32_t* pColumn = anColumn + 1 + j;
        for (int i = 0; i < x.nDigits; ++i)
            pColumn[i] += anX[i] * nY;
    }
    std::uint32_t nCarry = 0;
    for (int k = n - 1; k >= 0; --k) {
        std::uint32_t t = anColumn[k] + nCarry;
        nCarry = t / kRadix;
        r.aDigit[k] = static_cast<unsigned char>(t - nCarry * kRadix);
    }
    r.nPow = a.nPow + b.nPow + 1;
    r.nDigits = n;
    r.bNegative = a.bNegative != b.bNegative;
    r.bNull = false;
}

// The product of two numbers that are neither zero nor null. Its exponent is
// the sum of the two, or one more: the sum at or above the capacity needs no
// product to be refused.
void clsNumDbFld::MultiplyBy(const clsNumDbFld& other)
{
    if (GetExponent() + other.GetExponent() >= GetIntLen())
        ThrowUtilException(kErrOverflow);
    clsWorkNum a;
    clsWorkNum b;
    clsWorkNum r;
    Unpack(m_strData, m_strData.GetLength(), a);
    Unpack(other.m_strData, other.m_strData.GetLength(), b);
    MultiplyMagnitudes(a, b, r);
    StoreResult(r);
}

clsNumDbFld clsNumDbFld::GetIntegerPart() const
{
    CheckValid();
    if (IsZero())
        return *this;
    int nExp = GetExponent();
    int nKeep = nExp / 2 + 3;
    if (m_strData.GetLength() < nKeep)
        return *this; // no digit after the units
    if (nExp < 0)
        return g_numZero;

    clsNumDbFld numInteger(m_nDbFldLen, m_nDbFldScale);
    char* pBuf = numInteger.m_strData.GetWriteBuf(nKeep);
    std::memcpy(pBuf, static_cast<const char*>(m_strData), static_cast<size_t>(nKeep));
    if (nExp % 2 == 0) {
        // The last kept byte holds the first decimal digit in its low half.
        int nByte = SignedByte(pBuf[nKeep - 1]);
        pBuf[nKeep - 1] = static_cast<char>(nByte - nByte % 10);
    }
    while (nKeep > 3 && std::abs(SignedByte(pBuf[nKeep - 1])) == 10)
        --nKeep;
    pBuf[nKeep] = 0;
    numInteger.m_strData.ReleaseWriteBuf(nKeep);
    numInteger.CheckValid();
    return numInteger;
}

clsNumDbFld clsNumDbFld::GetDecimalPart() const
{
    CheckValid();
    if (IsZero() || GetExponent() < 0)
        return *this;
    clsNumDbFld numDecimal(*this);
    numDecimal -= GetIntegerPart();
    return numDecimal;
}
