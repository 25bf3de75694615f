// Multiplication on the packed base-100 digits, and the integer and decimal
// parts of a number.
#include <cstdlib>
#include <cstring>

#include "tvdcndf.h"

namespace {
// The signed base-100 value of a digit byte (22 is 12, -22 is -12).
inline int DigitValue(char ch)
{
    int nByte = static_cast<signed char>(ch);
    return nByte > 0 ? nByte - 10 : nByte + 10;
}
} // namespace

clsNumDbFld& clsNumDbFld::operator*=(const clsNumDbFld& other)
{
    CheckValid();
    other.CheckValid();
    if (IsZero())
        return *this;
    if (other.IsZero())
        return *this = other;
    MultiplyBy(other);
    return *this;
}

// Schoolbook product in base 100 on signed digit values: every partial value
// and stored digit has the product's sign, so carries truncate toward zero.
void clsNumDbFld::MultiplyBy(const clsNumDbFld& other)
{
    const bool bSameSign = m_strData[0] == other.m_strData[0];
    const int nOffset = bSameSign ? 10 : -10;
    const int nCapacity = GetIntLen();
    int nExp = GetExponent() + other.GetExponent();
    if (nExp >= nCapacity)
        ThrowUtilException(-2053);

    const bool bThisLonger = m_strData.GetLength() >= other.m_strData.GetLength();
    const char* pA = static_cast<const char*>(bThisLonger ? m_strData : other.m_strData) + 2;
    const char* pB = static_cast<const char*>(bThisLonger ? other.m_strData : m_strData) + 2;
    const int nA = (bThisLonger ? m_strData : other.m_strData).GetLength() - 2;
    const int nB = (bThisLonger ? other.m_strData : m_strData).GetLength() - 2;
    int n = nA + nB;

    // Positions 2 .. n + 1 hold the product's base-100 digits, most
    // significant first; they fit a char as values from -99 to 99.
    char* pBuf = m_strWork.GetWriteBuf(n + 2);
    std::memset(pBuf, 0, static_cast<size_t>(n + 3));
    for (int i = 0; i < nB; ++i) {
        int nValueB = DigitValue(pB[nB - 1 - i]);
        int nCarry = 0;
        for (int j = 0; j < nA; ++j) {
            char& chPos = pBuf[n + 1 - i - j];
            int t = DigitValue(pA[nA - 1 - j]) * nValueB + nCarry + SignedByte(chPos);
            nCarry = t / 100;
            chPos = static_cast<char>(t % 100);
        }
        for (int nPos = n + 1 - i - nA; nCarry != 0; --nPos) {
            int t = SignedByte(pBuf[nPos]) + nCarry;
            if (t >= 100 || t <= -100) {
                nCarry = t / 100;
                pBuf[nPos] = static_cast<char>(t % 100);
            } else {
                pBuf[nPos] = static_cast<char>(t);
                nCarry = 0;
            }
        }
    }

    while (pBuf[n + 1] == 0)
        --n;
    for (int nPos = 2; nPos <= n + 1; ++nPos)
        pBuf[nPos] = static_cast<char>(SignedByte(pBuf[nPos]) + nOffset);
    pBuf[n + 2] = 0;

    if (std::abs(SignedByte(pBuf[2])) >= 20) {
        ++nExp;
        if (nExp >= nCapacity) {
            m_strWork.ReleaseWriteBuf(0);
            ThrowUtilException(-2053);
        }
    } else {
        ShiftLeftDigit(pBuf + 2);
        while (std::abs(SignedByte(pBuf[n + 1])) == 10)
            --n;
        pBuf[n + 2] = 0;
    }

    // A product below 10^(e + 1) <= 10^-(scale + 1) is less than half a unit
    // of the last decimal place and rounds to zero. Its exponent may lie
    // beyond what the exponent byte can hold (two factors of 10^-100 give
    // 10^-200), so it is never written.
    if (nExp < -m_nDbFldScale - 1) {
        m_strWork.ReleaseWriteBuf(0);
        m_strData = g_numZero.m_strData;
        CheckValid();
        return;
    }

    const bool bNegative = !bSameSign;
    pBuf[0] = bNegative ? 'n' : 'p';
    pBuf[1] = ExponentByte(nExp, bNegative);
    m_strWork.ReleaseWriteBuf(n + 2);
    m_strData = m_strWork;
    RoundExcessDecimals();
    CheckValid();
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
