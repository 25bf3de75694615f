// Rounding, length and scale, assignment between numbers, negation and the
// one-digit shifts of a digit run. All of it works in place on the packed form.
#include <cstdlib>
#include <cstring>

#include "tvdcndf.h"

namespace {

// Checks a requested length and scale (-1 keeps the current one) and gives
// the values that they stand for; 2001 for anything outside the ranges.
void ResolveLenScale(int& nLen, int& nScale, int nCurLen, int nCurScale)
{
    if (nLen != -1 && (nLen < 1 || nLen > MAX_NumDbFldLen))
        ThrowUtilException(2001);
    if (nLen == -1)
        nLen = nCurLen;
    if (nScale != -1 && (nScale < 0 || nScale > nLen))
        ThrowUtilException(2001);
    if (nScale == -1)
        nScale = nCurScale;
}
} // namespace

clsNumDbFld::clsNumDbFld(int nLen, int nScale) : m_nDbFldLen(0), m_nDbFldScale(0)
{
    // A length of -1 would keep the length 0, which no number may have.
    if (nLen == -1)
        ThrowUtilException(2001);
    SetLenScale(nLen, nScale);
}

void clsNumDbFld::Negate()
{
    CheckValid();
    int nLen = m_strData.GetLength();
    if (nLen <= 2)
        return;
    char* pBuf = m_strData.GetWriteBuf(nLen);
    pBuf[0] = pBuf[0] == 'p' ? 'n' : 'p';
    for (int i = 1; i < nLen; ++i)
        pBuf[i] = static_cast<char>(-SignedByte(pBuf[i]));
    m_strData.ReleaseWriteBuf(nLen);
    CheckValid();
}

void clsNumDbFld::Round(int nScale)
{
    CheckValid();
    if (nScale < 0 || nScale > m_nDbFldScale)
        nScale = m_nDbFldScale;
    RoundTo(nScale, GetCurScale());
}

// Rounds half away from zero: only the first dropped digit decides. The
// digits are changed in place; a carry out of the first digit byte gives the
// run 1 (byte 20) one exponent higher, which must stay below the capacity.
void clsNumDbFld::RoundTo(int nNewScale, int nCurScale)
{
    if (nNewScale < 0 || nNewScale > m_nDbFldScale)
        nNewScale = m_nDbFldScale;
    if (nNewScale >= nCurScale)
        return;

    int nLen = m_strData.GetLength();
    char* pBuf = m_strData.GetWriteBuf(nLen);
    bool bNegative = pBuf[0] == 'n';
    const int nFirst = 2;    // the first digit byte
    int nLast = nLen - 1;    // the last digit byte

    // Places to drop, the pad digit included.
    int nDrop = nCurScale - nNewScale;
    if (std::abs(SignedByte(pBuf[nLast])) % 10 == 0)
        ++nDrop;
    int nIdx = nLast - (nDrop - 1) / 2; // byte of the first dropped place
    bool bHighDigit = (nDrop - 1) % 2 == 1;

    int nEnd = nFirst; // one past the last kept byte; nFirst means no digit left
    bool bCarry = false;
    if (nIdx >= nFirst) {
        int nMag = std::abs(SignedByte(pBuf[nIdx]));
        int nHigh = nMag / 10 - 1;
        int nLow = nMag % 10;
        if (bHighDigit) {
            nEnd = nIdx;
            bCarry = nHigh >= 5;
        } else if (nLow < 5) {
            nMag -= nLow;
            pBuf[nIdx] = static_cast<char>(bNegative ? -nMag : nMag);
            nEnd = nIdx + 1;
        } else if (nHigh < 9) {
            nMag = nMag - nLow + 10;
            pBuf[nIdx] = static_cast<char>(bNegative ? -nMag : nMag);
            nEnd = nIdx + 1;
        } else {
            nEnd = nIdx;
            bCarry = true;
        }
    }
    if (bCarry) {
        // Add one to the two-digit value of the byte before; 99 overflows.
        int j = nEnd - 1;
        for (; j >= nFirst; --j) {
            int nMag = std::abs(SignedByte(pBuf[j])) + 1;
            if (nMag < 110) {
                pBuf[j] = static_cast<char>(bNegative ? -nMag : nMag);
                break;
            }
        }
        if (j >= nFirst) {
            nEnd = j + 1;
        } else {
            int nExp = DecodeExponent(pBuf) + 1;
            if (nExp >= GetIntLen()) {
                m_strData.Empty();
                ThrowUtilException(-2053);
            }
            pBuf[1] = ExponentByte(nExp, bNegative);
            pBuf[nFirst] = static_cast<char>(bNegative ? -20 : 20);
            nEnd = nFirst + 1;
        }
    }
    while (nEnd > nFirst && std::abs(SignedByte(pBuf[nEnd - 1])) == 10)
        --nEnd;
    if (nEnd == nFirst) {
        pBuf[0] = 'o';
        nEnd = 1;
    }
    pBuf[nEnd] = 0;
    m_strData.ReleaseWriteBuf(nEnd);
    CheckValid();
}

void clsNumDbFld::RoundExcessDecimals()
{
    int nLen = m_strData.GetLength();
    if (nLen <= 1)
        return; // zero is never rounded
    // Twice the digit bytes less e + 1, the pad digit of an odd run not counted.
    int nCurScale = 2 * (nLen - 2) - GetExponent() - 1;
    if (SignedByte(m_strData[nLen - 1]) % 10 == 0)
        --nCurScale;
    if (nCurScale > m_nDbFldScale)
        RoundTo(m_nDbFldScale, nCurScale);
}

void clsNumDbFld::SetLenScale(int nLen, int nScale)
{
    ResolveLenScale(nLen, nScale, m_nDbFldLen, m_nDbFldScale);
    if (nLen - nScale < GetIntLen() && GetCurIntLen() > nLen - nScale)
        ThrowUtilException(-2053);
    int nCurScale = 0;
    if (nScale < m_nDbFldScale)
        nCurScale = GetCurScale();
    m_nDbFldLen = nLen;
    m_nDbFldScale = nScale;
    if (nCurScale > nScale)
        RoundTo(m_nDbFldScale, nCurScale);
}

void clsNumDbFld::SetDefaultLenScale(int nLen, int nScale)
{
    ResolveLenScale(nLen, nScale, m_nDefDbFldLen, m_nDefDbFldScale);
    // A kept default scale must still fit the new length.
    if (nScale > nLen)
        ThrowUtilException(2001);
    m_nDefDbFldLen = nLen;
    m_nDefDbFldScale = nScale;
}

clsNumDbFld& clsNumDbFld::operator=(const clsNumDbFld& other)
{
    if (&other == this)
        return *this;
    other.CheckValid();
    if (other.GetIntLen() > GetIntLen() && other.GetCurIntLen() > GetIntLen())
        ThrowUtilException(-2053);
    m_strData = other.m_strData;
    if (other.m_nDbFldScale > m_nDbFldScale)
        RoundTo(m_nDbFldScale, other.GetCurScale());
    CheckValid();
    return *this;
}

void clsNumDbFld::ShiftLeftDigit(char* pDigits)
{
    int nBytes = static_cast<int>(std::strlen(pDigits));
    bool bNegative = SignedByte(pDigits[0]) < 0;
    for (int i = 0; i < nBytes; ++i) {
        int nMag = std::abs(SignedByte(pDigits[i])) - 10;
        int nLow = nMag % 10;
        int nNextHigh = i + 1 < nBytes ? (std::abs(SignedByte(pDigits[i + 1])) - 10) / 10 : 0;
        int nNew = 10 * nLow + nNextHigh + 10;
        pDigits[i] = static_cast<char>(bNegative ? -nNew : nNew);
    }
}

void clsNumDbFld::ShiftRightDigit(char* pDigits)
{
    int nBytes = static_cast<int>(std::strlen(pDigits));
    bool bNegative = SignedByte(pDigits[0]) < 0;
    // From the end, so that each old byte is read before it is overwritten.
    for (int i = nBytes; i >= 0; --i) {
        int nPrevLow = i > 0 ? (std::abs(SignedByte(pDigits[i - 1])) - 10) % 10 : 0;
        int nHigh = i < nBytes ? (std::abs(SignedByte(pDigits[i])) - 10) / 10 : 0;
        int nNew = 10 * nPrevLow + nHigh + 10;
        pDigits[i] = static_cast<char>(bNegative ? -nNew : nNew);
    }
    pDigits[nBytes + 1] = 0;
}
