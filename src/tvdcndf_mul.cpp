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

namespace {
constexpr int kMaxWords = (kWorkDigits + kWordPairs - 1) / kWordPairs;

// The digits of a normalised value in words of four, aligned at its last
// digit (the first word may hold fewer); gives the count of words.
int ToWords(const clsWorkNum& w, std::uint64_t* pWords)
{
    const int nWords = (w.nDigits + kWordPairs - 1) / kWordPairs;
    int i = 0;
    for (int k = 0; k < nWords; ++k) {
        const int nEnd = w.nDigits - kWordPairs * (nWords - 1 - k);
        std::uint64_t nWord = 0;
        for (; i < nEnd; ++i)
            nWord = nWord * kRadix + w.aDigit[i];
        pWords[k] = nWord;
    }
    return nWords;
}
} // namespace

// Schoolbook product in words of 10^8, each four digits of the grid of the
// powers of 100: every partial product is below 10^16 and a column of at
// most 13 of them stays far below 2^64, so the carries are made once, in one
// pass from the end. Word i of a times word j of b goes to column i + j + 1;
// column 0 takes the final carry. The last digit of r stands for the product
// of the last digits' powers.
void tvpacked::MultiplyMagnitudes(const clsWorkNum& a, const clsWorkNum& b, clsWorkNum& r)
{
    std::uint64_t anA[kMaxWords];
    std::uint64_t anB[kMaxWords];
    const int nA = ToWords(a, anA);
    const int nB = ToWords(b, anB);
    const int n = nA + nB;
    TV_ASSERT(kWordPairs * n <= kWorkDigits);
    std::uint64_t anColumn[2 * kMaxWords];
    std::memset(anColumn, 0, sizeof(std::uint64_t) * static_cast<size_t>(n));
    for (int i = 0; i < nA; ++i) {
        const std::uint64_t nWordA = anA[i];
        std::uint64_t* pColumn = anColumn + 1 + i;
        for (int j = 0; j < nB; ++j)
            pColumn[j] += nWordA * anB[j];
    }
    std::uint64_t nCarry = 0;
    for (int k = n - 1; k >= 0; --k) {
        const std::uint64_t t = anColumn[k] + nCarry;
        nCarry = t / kWordRadix;
        std::uint32_t nWord = static_cast<std::uint32_t>(t - nCarry * kWordRadix);
        for (int d = kWordPairs - 1; d >= 0; --d) {
            const std::uint32_t nRest = nWord / kRadix;
            r.aDigit[kWordPairs * k + d] = static_cast<unsigned char>(nWord - nRest * kRadix);
            nWord = nRest;
        }
    }
    r.nDigits = kWordPairs * n;
    const int nLowPow = (a.nPow - a.nDigits + 1) + (b.nPow - b.nDigits + 1);
    r.nPow = nLowPow + r.nDigits - 1;
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
