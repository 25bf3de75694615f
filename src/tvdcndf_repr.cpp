// The number's representation: construction, the validity check of the
// packed form, the exponent, the digit counts and the text form.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tvdcndf.h"
#include "tvdcndf_packed.h"

int clsNumDbFld::m_nDefDbFldLen = 38;
int clsNumDbFld::m_nDefDbFldScale = 8;

clsNumDbFld::clsNumDbFld() : m_nDbFldLen(m_nDefDbFldLen), m_nDbFldScale(m_nDefDbFldScale) {}

clsNumDbFld::clsNumDbFld(const clsNumDbFld& other)
    : CObject(other),
      m_nDbFldLen(other.m_nDbFldLen),
      m_nDbFldScale(other.m_nDbFldScale),
      m_strData(other.m_strData),
      m_strWork(other.m_strWork)
{
    CheckValid();
}

clsNumDbFld::~clsNumDbFld() {}

namespace {
// Every digit byte lies in 10..109, or in -109..-10 for a negative value.
// Read as unsigned bytes, those are 10..109 and 147..246: less the lowest
// (10 or 147), every byte must be below 100. Eight bytes go at a time; the
// last word overlaps the one before it rather than reading past the end.
bool DigitBytesInRange(const char* pDigits, int nBytes, bool bNegative)
{
    const unsigned char nLowest = bNegative ? 147 : 10;
    if (nBytes < 8) {
        unsigned nBad = 0;
        for (int i = 0; i < nBytes; ++i)
            nBad |= static_cast<unsigned char>(static_cast<unsigned char>(pDigits[i]) - nLowest) >= 100;
        return nBad == 0;
    }
    const std::uint64_t kOnes = 0x0101010101010101u;
    const std::uint64_t kHigh = 0x8080808080808080u;
    const std::uint64_t nSub = kOnes * nLowest;
    std::uint64_t nBad = 0;
    for (int i = 0;; i += 8) {
        if (i > nBytes - 8)
            i = nBytes - 8;
        std::uint64_t x;
        std::memcpy(&x, pDigits + i, sizeof(x));
        // Bytewise x - nLowest without borrows between the bytes...
        std::uint64_t c = ((x | kHigh) - (nSub & ~kHigh)) ^ ((x ^ ~nSub) & kHigh);
        // ...and a byte above 99 sets its high bit (bytes of 128 or more have it).
        nBad |= ((c + kOnes * (127 - 99)) | c) & kHigh;
        if (i == nBytes - 8)
            break;
    }
    return nBad == 0;
}
} // namespace

// The check below asserts the same invariants one by one only when this
// finds a fault, so that the report names the first condition that fails.
bool tvpacked::IsValidPacked(int nLen, int nScale, const char* pData, int nCurStrLen)
{
    if (nLen < 1 || nLen > MAX_NumDbFldLen + 1 || nScale < 0 || nScale > MAX_NumDbFldLen || nScale > nLen)
        return false;
    if (nCurStrLen <= 1)
        return nCurStrLen == 0 || pData[0] == kSignZero;
    if (nCurStrLen == 2 || (pData[0] != kSignNegative && pData[0] != kSignPositive))
        return false;
    const bool bNegative = pData[0] == kSignNegative;
    // The exponent byte in the sign of a positive value: 10 or more, or below -10.
    int nExpByte = bNegative ? -SignedByte(pData[1]) : SignedByte(pData[1]);
    if (nExpByte < kByteOffset && nExpByte >= -kByteOffset)
        return false;
    const int nExp = nExpByte >= kByteOffset ? nExpByte - kByteOffset : nExpByte + kByteOffset;
    if (nExp >= nLen - nScale)
        return false;
    const int nNumDigStored = 2 * nCurStrLen - 4;
    if (nNumDigStored > nLen + 1)
        return false;
    if (!DigitBytesInRange(pData + 2, nCurStrLen - 2, bNegative))
        return false;
    const int nFirstPair = PairOf(pData[2]);
    const int nLastPair = PairOf(pData[nCurStrLen - 1]);
    if (nFirstPair < 10 || nLastPair == 0)
        return false;
    int nCurScale = nNumDigStored - nExp - 1;
    if (nCurScale < 0)
        nCurScale = 0;
    return nCurScale <= nScale || (nCurScale == nScale + 1 && nLastPair % 10 == 0);
}

void clsNumDbFld::CheckValid() const
{
    CObject::CheckValid();
    if (!tvpacked::IsValidPacked(m_nDbFldLen, m_nDbFldScale, m_strData, m_strData.GetLength()))
        AssertValid();
}

// The invariants one by one, in the order of their reports; the first that
// fails stops the process.
void clsNumDbFld::AssertValid() const
{
    int nCurStrLen = m_strData.GetLength();
    // clang-format off
    TV_ASSERT(m_nDbFldLen > 0);
    TV_ASSERT(m_nDbFldScale >= 0);
    TV_ASSERT(m_nDbFldLen >= m_nDbFldScale);
    TV_ASSERT(m_nDbFldLen <= MAX_NumDbFldLen + 1);
    TV_ASSERT(m_nDbFldScale <= MAX_NumDbFldLen);
    // clang-format on
    if (nCurStrLen == 1) {
        TV_ASSERT(m_strData[0] == 'o');
    } else if (nCurStrLen != 0) {
        TV_ASSERT(nCurStrLen > 2);
        TV_ASSERT(m_strData[0] == 'n' || m_strData[0] == 'p');
        bool bNegative = m_strData[0] == 'n';

        int nExp = SignedByte(m_strData[1]);
        TV_ASSERT(nExp >= 10 || nExp <= -10);
        if (bNegative)
            TV_ASSERT(nExp > 10 || nExp <= -10);
        else
            TV_ASSERT(nExp >= 10 || nExp < -10);
        nExp = nExp >= 10 ? nExp - 10 : nExp + 10;
        if (bNegative)
            nExp = -nExp;
        TV_ASSERT(nExp < m_nDbFldLen - m_nDbFldScale);

        int nNumDigStored = 2 * nCurStrLen - 4;
        TV_ASSERT(nNumDigStored <= m_nDbFldLen + 1);
        const signed char* ptrData = reinterpret_cast<const signed char*>(static_cast<const char*>(m_strData)) + 2;
        const signed char* ptrLast = ptrData + (nCurStrLen - 3);
        TV_ASSERT(*ptrData >= 20 || *ptrData <= -20);
        for (;; ++ptrData) {
            if (bNegative)
                TV_ASSERT(*ptrData <= -10 && *ptrData > -110);
            else
                TV_ASSERT(*ptrData >= 10 && *ptrData < 110);
            if (ptrData == ptrLast)
                break;
        }
        TV_ASSERT(*ptrData > 10 || *ptrData < -10);
        int nCurScale = nNumDigStored - nExp - 1;
        if (nCurScale < 0)
            nCurScale = 0;
        TV_ASSERT(nCurScale <= m_nDbFldScale + 1);
        if (nCurScale > m_nDbFldScale)
            TV_ASSERT((*ptrData % 10) == 0);
    }
}

int clsNumDbFld::DecodeExponent(const char* pData) const
{
    int nByte = SignedByte(pData[1]);
    if (pData[0] == 'n')
        nByte = -nByte;
    return nByte >= 10 ? nByte - 10 : nByte + 10;
}

void clsNumDbFld::SetExponent(int nExp)
{
    m_strData.SetAt(1, ExponentByte(nExp, m_strData[0] == 'n'));
}

void clsNumDbFld::GetCurNumLenScale(int* pnCurNumLen, int* pnCurScale) const
{
    CheckValid();
    int nLen = m_strData.GetLength();
    if (nLen <= 1) {
        if (pnCurNumLen)
            *pnCurNumLen = 0;
        if (pnCurScale)
            *pnCurScale = 0;
        return;
    }
    int nExp = GetExponent();
    int nCurScale = tvpacked::StoredDecimals(m_strData, nLen);
    if (pnCurScale)
        *pnCurScale = nCurScale;
    if (pnCurNumLen)
        *pnCurNumLen = nExp < 0 ? nCurScale : nExp + nCurScale + 1;
}

int clsNumDbFld::GetCurIntLen() const
{
    int nCurNumLen = 0;
    int nCurScale = 0;
    GetCurNumLenScale(&nCurNumLen, &nCurScale);
    return nCurNumLen - nCurScale;
}

int clsNumDbFld::GetCurNumLen() const
{
    int nCurNumLen = 0;
    GetCurNumLenScale(&nCurNumLen, nullptr);
    return nCurNumLen;
}

int clsNumDbFld::GetCurScale() const
{
    int nCurScale = 0;
    GetCurNumLenScale(nullptr, &nCurScale);
    return nCurScale;
}

namespace {
// "00" to "99": the two characters of each digit pair.
struct clsPairChars {
    char ach[2 * tvpacked::kRadix];
    constexpr clsPairChars() : ach()
    {
        for (int i = 0; i < tvpacked::kRadix; ++i) {
            ach[2 * i] = static_cast<char>('0' + i / 10);
            ach[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
};
constexpr clsPairChars kPairChars{};

// Writes the digits of a run of digit bytes, two characters a byte, the pad
// digit of an odd run included; gives the count written.
int WriteRunDigits(const char* pDigitBytes, int nBytes, char* pOut)
{
    for (int i = 0; i < nBytes; ++i)
        std::memcpy(pOut + 2 * i, kPairChars.ach + 2 * tvpacked::PairOf(pDigitBytes[i]), 2);
    return 2 * nBytes;
}
} // namespace

// The buffer holds |e| + 2 x (bytes of the packed value) characters, which is
// room for the longest text the value gives: sign, "0." and -e - 1 zeros and
// the run for e < 0; the run or e + 1 integer digits and the point for e >= 0.
clsStrPlus clsNumDbFld::GetText() const
{
    clsStrPlus strResult;
    const int nLen = m_strData.GetLength();
    if (nLen == 0)
        return strResult;
    if (m_strData[0] == 'o') {
        strResult = "0";
        return strResult;
    }
    const char* pData = m_strData;
    const int nExp = GetExponent();
    char* pBuf = strResult.GetWriteBuf(std::abs(nExp) + 2 * nLen);
    int nPos = 0;
    if (pData[0] == 'n')
        pBuf[nPos++] = '-';
    if (nExp < 0) {
        pBuf[nPos++] = '0';
        pBuf[nPos++] = '.';
        std::memset(pBuf + nPos, '0', static_cast<size_t>(-nExp - 1));
        nPos += -nExp - 1;
        nPos += WriteRunDigits(pData + 2, nLen - 2, pBuf + nPos);
        // The run ends in a non-zero digit or its pad digit.
        while (pBuf[nPos - 1] == '0')
            --nPos;
    } else {
        const int nInt = nExp + 1;
        const int nRun = WriteRunDigits(pData + 2, nLen - 2, pBuf + nPos);
        if (nRun <= nInt) {
            // The integer zeros that the run does not store.
            std::memset(pBuf + nPos + nRun, '0', static_cast<size_t>(nInt - nRun));
            nPos += nInt;
        } else {
            // Digits beyond the units: the point goes in front of them,
            // and only a fraction that is not zero stays.
            char* pFraction = pBuf + nPos + nInt;
            std::memmove(pFraction + 1, pFraction, static_cast<size_t>(nRun - nInt));
            *pFraction = '.';
            nPos += nRun + 1;
            while (pBuf[nPos - 1] == '0')
                --nPos;
            if (pBuf[nPos - 1] == '.')
                --nPos;
        }
    }
    strResult.ReleaseWriteBuf(nPos);
    return strResult;
}
