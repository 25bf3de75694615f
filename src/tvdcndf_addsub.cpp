// Comparison, addition and subtraction on the packed base-100 digits, and
// the postfix increment and decrement.
#include <algorithm>
#include <cstdlib>

#include "tvdcndf.h"

namespace {

// The digit bytes of an operand read in the sign of the result: each byte
// negated when the operand's sign differs from the result's.
struct DigitRun {
    const char* m_pBytes;
    int m_nBytes;
    int m_nSign;
    int At(int i) const { return m_nSign * static_cast<signed char>(m_pBytes[i]); }
};

// Removes trailing zero digit bytes (10 or -10) of a run; gives the new count.
int TrimZeroBytes(const char* pBytes, int nBytes)
{
    while (nBytes > 0 && std::abs(static_cast<signed char>(pBytes[nBytes - 1])) == 10)
        --nBytes;
    return nBytes;
}
} // namespace

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

int clsNumDbFld::CompareAbs(const clsNumDbFld& other) const
{
    CheckValid();
    other.CheckValid();
    // Zero and the null value are the smallest magnitude.
    if (IsZero() || other.IsZero())
        return other.IsZero() - IsZero();
    int nExpThis = GetExponent();
    int nExpOther = other.GetExponent();
    if (nExpThis != nExpOther)
        return nExpThis > nExpOther ? 1 : -1;
    int nLenThis = m_strData.GetLength();
    int nLenOther = other.m_strData.GetLength();
    for (int i = 2;; ++i) {
        int a = i < nLenThis ? std::abs(SignedByte(m_strData[i])) : 0;
        int b = i < nLenOther ? std::abs(SignedByte(other.m_strData[i])) : 0;
        if (a != b)
            return a > b ? 1 : -1;
        if (i >= nLenThis)
            return 0;
    }
}

namespace {
// The operands of AddAbs / SubtractAbs lined up: result byte j stands above
// the base operand's byte j and the aligned operand's byte j - k; the result
// has T = max(nB, nA + k) digit bytes before any carry. Both runs are read in
// the result's sign chSign. For exponents that differ by an odd count the
// aligned run is first copied into strShift and shifted right by one decimal
// digit (a 0 digit in front, one byte more, a trailing zero digit byte
// dropped), and stands for the aligned operand from then on.
struct Alignment {
    DigitRun base;
    DigitRun aligned;
    int k;
    int T;
};

DigitRun RunOf(const clsStrPlus& strData, char chSign)
{
    return DigitRun{static_cast<const char*>(strData) + 2, strData.GetLength() - 2, strData[0] == chSign ? 1 : -1};
}

template <class ShiftRight>
Alignment AlignRuns(const clsStrPlus& strBase, const clsStrPlus& strAligned, int nDiff, char chSign,
                    clsStrPlus& strShift, ShiftRight shiftRight)
{
    Alignment al{RunOf(strBase, chSign), RunOf(strAligned, chSign), nDiff / 2, 0};
    if (nDiff % 2 == 1) {
        strShift = clsStrPlus(al.aligned.m_pBytes, al.aligned.m_nBytes);
        char* pShift = strShift.GetWriteBuf(al.aligned.m_nBytes + 1);
        shiftRight(pShift);
        int nShifted = TrimZeroBytes(pShift, al.aligned.m_nBytes + 1);
        strShift.ReleaseWriteBuf(nShifted);
        al.aligned.m_pBytes = strShift;
        al.aligned.m_nBytes = nShifted;
    }
    al.T = std::max(al.base.m_nBytes, al.aligned.m_nBytes + al.k);
    return al;
}
} // namespace

void clsNumDbFld::AddAbs(const clsNumDbFld& other)
{
    const int nCapacity = GetIntLen();
    const int nExpThis = GetExponent();
    const int nExpOther = other.GetExponent();
    if (nExpOther >= nCapacity)
        ThrowUtilException(-2053);

    const bool bNegative = m_strData[0] == 'n';
    const bool bBaseIsThis = nExpThis >= nExpOther;
    const clsNumDbFld& numBase = bBaseIsThis ? *this : other;
    const clsNumDbFld& numAligned = bBaseIsThis ? other : *this;
    int nExp = numBase.GetExponent();

    clsStrPlus strShift;
    const Alignment al = AlignRuns(numBase.m_strData, numAligned.m_strData, std::abs(nExpThis - nExpOther),
                                   m_strData[0], strShift, [this](char* pDigits) { ShiftRightDigit(pDigits); });
    const DigitRun& base = al.base;
    const DigitRun& aligned = al.aligned;
    const int k = al.k;
    const int nB = base.m_nBytes;
    const int nA = aligned.m_nBytes;
    const int T = al.T;

    char* pBuf = m_strWork.GetWriteBuf(T + 3);
    char* pOut = pBuf + 2;
    const int z = bNegative ? -10 : 10;
    int nCarry = 0;
    for (int j = T - 1; j >= 0; --j) {
        int s;
        if (j >= nA + k) {
            s = base.At(j); // only the base operand reaches here
        } else if (j >= nB) {
            s = j >= k ? aligned.At(j - k) : z; // beyond the base operand's end
        } else {
            s = (j >= k ? base.At(j) + aligned.At(j - k) - z : base.At(j)) + nCarry;
            if (s >= 110) {
                s -= 100;
                nCarry = 1;
            } else if (s <= -110) {
                s += 100;
                nCarry = -1;
            } else {
                nCarry = 0;
            }
        }
        pOut[j] = static_cast<char>(s);
    }
    pOut[T] = 0;
    int nBytes = T;
    if (nCarry != 0) {
        ++nExp;
        if (nExp >= nCapacity) {
            m_strWork.ReleaseWriteBuf(0);
            ThrowUtilException(-2053);
        }
        // The carried one becomes the first digit.
        ShiftRightDigit(pOut);
        pOut[0] = static_cast<char>(SignedByte(pOut[0]) + z);
        ++nBytes;
    }
    pBuf[0] = m_strData[0];
    pBuf[1] = ExponentByte(nExp, bNegative);
    nBytes = TrimZeroBytes(pOut, nBytes);
    pOut[nBytes] = 0;
    m_strWork.ReleaseWriteBuf(nBytes + 2);
    m_strData = m_strWork;
    if (other.m_nDbFldScale > m_nDbFldScale)
        RoundExcessDecimals();
    CheckValid();
}

void clsNumDbFld::SubtractAbs(const clsNumDbFld& other)
{
    const int nCapacity = GetIntLen();
    const int nExpThis = GetExponent();
    const int nExpOther = other.GetExponent();

    const bool bBaseIsThis = nExpThis > nExpOther || (nExpThis == nExpOther && CompareAbs(other) >= 0);
    const bool bThisNegative = m_strData[0] == 'n';
    const bool bNegative = bBaseIsThis ? bThisNegative : !bThisNegative;
    const char chSign = bNegative ? 'n' : 'p';
    const clsNumDbFld& numBase = bBaseIsThis ? *this : other;
    const clsNumDbFld& numAligned = bBaseIsThis ? other : *this;
    int nExp = numBase.GetExponent();

    clsStrPlus strShift;
    const Alignment al = AlignRuns(numBase.m_strData, numAligned.m_strData, std::abs(nExpThis - nExpOther),
                                   chSign, strShift, [this](char* pDigits) { ShiftRightDigit(pDigits); });
    const DigitRun& base = al.base;
    const DigitRun& aligned = al.aligned;
    const int k = al.k;
    const int nB = base.m_nBytes;
    const int nA = aligned.m_nBytes;
    const int T = al.T;

    char* pBuf = m_strWork.GetWriteBuf(T + 2);
    char* pOut = pBuf + 2;
    const int z = bNegative ? -10 : 10;
    const int h = bNegative ? -110 : 110;
    const int nUnit = bNegative ? -1 : 1;
    int nBorrow = 0;
    for (int j = T - 1; j >= 0; --j) {
        int d;
        if (j >= nA + k) {
            d = base.At(j); // only the base operand reaches here
        } else if (j >= nB) {
            // Beyond the base operand's end: 100 less the aligned digits.
            d = j >= k ? h + z - nBorrow - aligned.At(j - k) : h - nBorrow;
            nBorrow = nUnit;
        } else {
            d = (j >= k ? base.At(j) - aligned.At(j - k) + z : base.At(j)) - nBorrow;
            if (!bNegative && d < 10) {
                d += 100;
                nBorrow = 1;
            } else if (bNegative && d > -10) {
                d -= 100;
                nBorrow = -1;
            } else {
                nBorrow = 0;
            }
        }
        pOut[j] = static_cast<char>(d);
    }

    // Leading zero digit bytes go, two digits each.
    int nLead = 0;
    while (nLead < T && std::abs(SignedByte(pOut[nLead])) == 10)
        ++nLead;
    if (nLead == T) {
        m_strWork.ReleaseWriteBuf(0);
        m_strData = g_numZero.m_strData;
        CheckValid();
        return;
    }
    nExp -= 2 * nLead;
    int nBytes = T - nLead;
    for (int i = 0; i < nBytes; ++i)
        pOut[i] = pOut[i + nLead];
    pOut[nBytes] = 0;
    if (std::abs(SignedByte(pOut[0])) < 20) {
        ShiftLeftDigit(pOut);
        --nExp;
    }
    if (nExp >= nCapacity) {
        m_strWork.ReleaseWriteBuf(0);
        ThrowUtilException(-2053);
    }
    pBuf[0] = chSign;
    pBuf[1] = ExponentByte(nExp, bNegative);
    nBytes = TrimZeroBytes(pOut, nBytes);
    pOut[nBytes] = 0;
    m_strWork.ReleaseWriteBuf(nBytes + 2);
    m_strData = m_strWork;
    if (other.m_nDbFldScale > m_nDbFldScale)
        RoundExcessDecimals();
    CheckValid();
}

clsNumDbFld& clsNumDbFld::operator+=(const clsNumDbFld& other)
{
    CheckValid();
    other.CheckValid();
    if (other.IsZero())
        return *this;
    if (IsZero())
        return *this = other;
    if (m_strData[0] == other.m_strData[0])
        AddAbs(other);
    else
        SubtractAbs(other);
    return *this;
}

clsNumDbFld& clsNumDbFld::operator-=(const clsNumDbFld& other)
{
    CheckValid();
    other.CheckValid();
    if (other.IsZero())
        return *this;
    if (IsZero()) {
        *this = other;
        Negate();
        return *this;
    }
    if (m_strData[0] == other.m_strData[0])
        SubtractAbs(other);
    else
        AddAbs(other);
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
