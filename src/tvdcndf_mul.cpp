// Multiplication, and the integer and decimal parts of a number. A product
// is made from the packed digit bytes of both operands, read as base-10^8
// words: their columns, the rounding to the scale and the capacity tests all
// work on the words, and the result is packed once.
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
        return *this; // zero and null stay as they are
    StoreProduct(m_strData, m_strData.GetLength(), other);
    return *this;
}

void clsNumDbFld::StoreProduct(const char* pData, int nLen, const clsNumDbFld& other)
{
    // The left operand first takes this number's scale.
    char achLeft[kMaxPackedBytes];
    pData = RoundedToScale(pData, nLen, achLeft);
    const char* pOther = other.m_strData;
    const int nOtherLen = other.m_strData.GetLength();
    char achProduct[kMaxPackedBytes];
    int nProductLen = 1;
    achProduct[0] = kSignZero;
    if (nLen <= 1 || nOtherLen <= 1) {
        // Zero or null stays as it is; times zero or null gives zero or null.
        const char* pKeep = nLen <= 1 ? pData : pOther;
        nProductLen = nLen <= 1 ? nLen : nOtherLen;
        std::memcpy(achProduct, pKeep, static_cast<size_t>(nProductLen));
    } else {
        switch (MultiplyPacked(pData, nLen, pOther, nOtherLen, GetIntLen(), m_nDbFldScale, achProduct, &nProductLen)) {
        case kFitValue:
        case kFitZero: break;
        case kFitTooLarge: ThrowUtilException(kErrOverflow);
        case kFitCarryTooLarge:
            m_strData.Empty();
            ThrowUtilException(kErrOverflow);
        }
    }
    StorePacked(achProduct, nProductLen);
    CheckValid();
}

namespace {
// Words of a product of two packed values, and one for a rounding carry.
constexpr int kProductWords = 2 * kPackedWords + 1;

// Requires: A and B of nA and nB words (1 to kPackedWords each); pR has room
// for nA + nB words and is neither. Gives: R = A·B and its count of words,
// the top word not 0 when A's and B's are not.
// Column k gathers the products a_i·b_(k-i) (at most 13, each below 10^16);
// with the carry of the column below it stays far below 2^64, and one
// division by the constant 10^8 (a multiplication) splits it into its word
// and carry. The carry joins the column's sum last, so that the products of
// the next column need not wait for it.
int MultiplyWords(const std::uint32_t* pA, int nA, const std::uint32_t* pB, int nB, std::uint32_t* pR)
{
    const int nR = nA + nB;
    std::uint64_t nCarry = 0;
    for (int k = 0; k < nR - 1; ++k) {
        const int iBegin = k < nB ? 0 : k - nB + 1;
        const int iEnd = k < nA ? k : nA - 1;
        std::uint64_t nColumn = 0;
        for (int i = iBegin; i <= iEnd; ++i)
            nColumn += static_cast<std::uint64_t>(pA[i]) * pB[k - i];
        nColumn += nCarry;
        nCarry = nColumn / kWordRadix;
        pR[k] = static_cast<std::uint32_t>(nColumn - nCarry * kWordRadix);
    }
    pR[nR - 1] = static_cast<std::uint32_t>(nCarry);
    return nCarry != 0 ? nR : nR - 1;
}
} // namespace

// The product's exponent is the sum of the two, or one more: a sum at or
// above the capacity needs no product to be refused.
clsFit tvpacked::MultiplyPacked(const char* pA, int nLenA, const char* pB, int nLenB, int nCap, int nScale,
                                char* pOut, int* pnLen)
{
    if (DecodeExponentByte(pA[0], pA[1]) + DecodeExponentByte(pB[0], pB[1]) >= nCap)
        return kFitTooLarge;
    std::uint32_t anA[kPackedWords];
    std::uint32_t anB[kPackedWords];
    std::uint32_t anR[kProductWords];
    int nLowA;
    int nLowB;
    const int nA = PackedToWords(pA, nLenA, anA, &nLowA);
    const int nB = PackedToWords(pB, nLenB, anB, &nLowB);
    int nR = MultiplyWords(anA, nA, anB, nB, anR);
    const int nLowR = nLowA + nLowB;
    if (WordsExponent(anR, nR, nLowR) >= nCap)
        return kFitTooLarge;
    // Digits below the scale: rounded away, half away from zero.
    const int nDrop = -nScale - nLowR;
    if (nDrop > 0) {
        nR = RoundWordsAt(anR, nR, nDrop);
        if (nR == 0)
            return kFitZero;
        if (WordsExponent(anR, nR, nLowR) >= nCap)
            return kFitCarryTooLarge;
    }
    *pnLen = WordsToPacked(anR, nR, nLowR, (pA[0] == kSignNegative) != (pB[0] == kSignNegative), pOut);
    return kFitValue;
}

// The product of two numbers that are neither zero nor null.
void clsNumDbFld::MultiplyBy(const clsNumDbFld& other)
{
    StoreProduct(m_strData, m_strData.GetLength(), other);
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
