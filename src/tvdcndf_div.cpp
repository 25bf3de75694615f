// Division: the quotient with decimals (/=), the remainder of the integer
// division (%=) and the integer quotient with an optional remainder (Divide).
//
// Both operands are copied into working numbers normalised to exponent 0
// (their significant digits as a value from 1 to below 10), and the quotient
// is developed one decimal digit at a time by comparing and subtracting
// magnitudes. The results are placed by ordinary assignment, so each is
// rounded to its target's scale and checked against its target's capacity.
#include <algorithm>
#include <cstdlib>

#include "tvdcndf.h"

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

void clsNumDbFld::DivideCore(const clsNumDbFld& divisor, clsNumDbFld* pQuotient, clsNumDbFld* pRemainder)
{
    const int nDiff = GetExponent() - divisor.GetExponent();
    if (nDiff >= GetIntLen())
        ThrowUtilException(-2053);

    const bool bInteger = pQuotient || pRemainder;
    int nDigits;
    if (bInteger)
        nDigits = (nDiff < 0 || CompareAbs(divisor) == -1) ? -1 : nDiff + 1;
    else
        nDigits = nDiff + m_nDbFldScale + 2; // down to one place beyond the scale

    if (nDigits > 0) {
        clsStrPlus strResult;
        clsNumDbFld numDividendTmp(*this);
        clsNumDbFld numDivisorTmp(divisor);
        numDividendTmp.SetExponent(0);
        numDivisorTmp.SetExponent(0);
        // Integer capacity 2 (nine times a value below 10) and room for every
        // digit of either operand.
        const int m = std::min(std::max(m_nDbFldLen, divisor.m_nDbFldLen), MAX_NumDbFldLen);
        numDividendTmp.m_nDbFldLen = numDivisorTmp.m_nDbFldLen = m + 1;
        numDividendTmp.m_nDbFldScale = numDivisorTmp.m_nDbFldScale = m - 1;
        numDividendTmp.CheckValid();
        numDivisorTmp.CheckValid();

        bool bPowerOfTen = false;
        if (!bInteger) {
            // A divisor of plus or minus a power of ten: the quotient is the
            // dividend's own digits with the quotient's sign.
            if (numDivisorTmp.Compare(g_numOne) == 0) {
                bPowerOfTen = true;
            } else if (numDivisorTmp.CompareAbs(g_numOne) == 0) {
                numDividendTmp.Negate();
                bPowerOfTen = true;
            }
            if (bPowerOfTen)
                strResult = numDividendTmp.m_strData;
        }
        if (!bPowerOfTen) {
            if (nDigits > 3)
                LongDivide(numDivisorTmp, nDigits, numDividendTmp, &strResult);
            else
                ShortDivide(numDivisorTmp, nDigits, numDividendTmp, &strResult);
        }

        if (!strResult.IsEmpty()) {
            const int nLen = numDividendTmp.m_nDbFldLen;
            if (pRemainder) {
                if (!numDividendTmp.IsZero()) {
                    // The loop multiplied the remainder by 10 after its last digit.
                    int r = numDividendTmp.GetExponent() + divisor.GetExponent() - 1;
                    numDividendTmp.SetExponent(r);
                    // Capacity r + 1, at least one digit: a remainder below one
                    // may carry as many decimals as either operand.
                    numDividendTmp.m_nDbFldScale = nLen - std::max(r, 0) - 1;
                }
                *pRemainder = numDividendTmp;
            }
            if (pQuotient || !bInteger) {
                numDividendTmp.m_strData = strResult;
                int q = numDividendTmp.GetExponent() + nDiff;
                numDividendTmp.SetExponent(q);
                if (bInteger) {
                    // Capacity q + 1, and at least the working copies' 2.
                    numDividendTmp.m_nDbFldScale = nLen - std::max(q, 1) - 1;
                    *pQuotient = numDividendTmp;
                } else {
                    // The digits reach one place beyond this number's scale:
                    // round them at that scale in the working copy, whose
                    // capacity also holds a carry, then assign.
                    numDividendTmp.m_nDbFldScale = m_nDbFldScale;
                    numDividendTmp.m_nDbFldLen =
                        std::min(m_nDbFldScale + std::max(q + 2, 1), MAX_NumDbFldLen + 1);
                    numDividendTmp.RoundExcessDecimals();
                    *this = numDividendTmp;
                }
            }
            return;
        }
    }

    // The quotient is zero; the remainder, when asked for, is the dividend.
    // The remainder goes first, so that the dividend may take the quotient.
    if (bInteger) {
        if (pRemainder)
            *pRemainder = *this;
        if (pQuotient)
            *pQuotient = g_numZero;
    } else {
        *this = g_numZero;
    }
}

namespace {
// Packs quotient digits into the packed form in *pstrResult: sign byte,
// exponent byte (0, or -1 once a leading 0 digit was dropped), digit bytes.
// nextDigit() yields the next digit and leaves the remainder less that many
// divisors; remainderIsZero() and times10() act on the running remainder.
template <class NextDigit, class RemainderIsZero, class Times10>
void DevelopQuotient(int nDigits, bool bNegative, clsStrPlus* pstrResult, NextDigit nextDigit,
                     RemainderIsZero remainderIsZero, Times10 times10)
{
    char* pBuf = pstrResult->GetWriteBuf((nDigits + 1) / 2 + 2);
    pBuf[(nDigits + 1) / 2 + 2] = 0;
    int nPos = 2;
    int k = 0;
    int nExpAdjust = 0;
    while (k < nDigits) {
        int nDigit = nextDigit();
        ++k;
        if (k % 2 == 1) {
            int nByte = 10 * nDigit + 10;
            pBuf[nPos] = static_cast<char>(bNegative ? -nByte : nByte);
        } else {
            int nByte = static_cast<signed char>(pBuf[nPos]);
            pBuf[nPos] = static_cast<char>(bNegative ? nByte - nDigit : nByte + nDigit);
            ++nPos;
        }
        if (remainderIsZero())
            break;
        if (k == 1 && nDigit == 0) {
            // The dividend's digits were smaller than the divisor's.
            k = 0;
            --nExpAdjust;
            --nDigits;
        }
        times10();
    }
    if (k == 0) {
        pstrResult->ReleaseWriteBuf(0);
        return;
    }
    if (k % 2 == 1) {
        ++k; // the pad digit of the last byte
        ++nPos;
    }
    while (std::abs(static_cast<signed char>(pBuf[nPos - 1])) == 10) {
        k -= 2;
        --nPos;
    }
    pBuf[nPos] = 0;
    int nExpByte = nExpAdjust >= 0 ? nExpAdjust + 10 : nExpAdjust - 10;
    pBuf[0] = bNegative ? 'n' : 'p';
    pBuf[1] = static_cast<char>(bNegative ? -nExpByte : nExpByte);
    pstrResult->ReleaseWriteBuf(nPos);
}
} // namespace

void clsNumDbFld::LongDivide(const clsNumDbFld& divisor, int nDigits, clsNumDbFld& numRemainder,
                             clsStrPlus* pstrResult)
{
    const bool bNegative = numRemainder.m_strData[0] != divisor.m_strData[0];

    // Entry i holds (i + 1) times the divisor, with the divisor's sign.
    clsNumDbFld anumDivisorMultiple[9];
    clsNumDbFld numCurMultiple(divisor);
    for (int i = 0; i < 9; ++i) {
        if (i > 0)
            numCurMultiple.AddAbs(divisor);
        anumDivisorMultiple[i].m_nDbFldLen = numCurMultiple.m_nDbFldLen;
        anumDivisorMultiple[i].m_nDbFldScale = numCurMultiple.m_nDbFldScale;
        anumDivisorMultiple[i] = numCurMultiple;
    }

    auto nextDigit = [&]() {
        // Bisection: the number of multiples not above the remainder.
        int lo = 0;
        int hi = 8;
        while (lo <= hi) {
            int mid = (lo + hi) / 2;
            int c = numRemainder.CompareAbs(anumDivisorMultiple[mid]);
            if (c == 0) {
                numRemainder.m_strData = "o";
                return mid + 1;
            }
            if (c < 0)
                hi = mid - 1;
            else
                lo = mid + 1;
        }
        int nDigit = hi + 1;
        if (nDigit >= 1)
            numRemainder.SubtractAbs(anumDivisorMultiple[nDigit - 1]);
        return nDigit;
    };
    DevelopQuotient(
        nDigits, bNegative, pstrResult, nextDigit, [&]() { return numRemainder.IsZero(); },
        [&]() { numRemainder.SetExponent(numRemainder.GetExponent() + 1); });
}

void clsNumDbFld::ShortDivide(const clsNumDbFld& divisor, int nDigits, clsNumDbFld& numRemainder,
                              clsStrPlus* pstrResult)
{
    const bool bNegative = numRemainder.m_strData[0] != divisor.m_strData[0];
    auto nextDigit = [&]() {
        // Repeated subtraction, at most nine times.
        int nDigit = 0;
        for (;;) {
            int c = numRemainder.CompareAbs(divisor);
            if (c == -1)
                break;
            ++nDigit;
            if (c == 0) {
                numRemainder.m_strData = "o";
                break;
            }
            numRemainder.SubtractAbs(divisor);
        }
        return nDigit;
    };
    DevelopQuotient(
        nDigits, bNegative, pstrResult, nextDigit, [&]() { return numRemainder.IsZero(); },
        [&]() { numRemainder.SetExponent(numRemainder.GetExponent() + 1); });
}
