// The number's representation: construction, the validity check of the
// packed form, the exponent, the digit counts and the text form.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tvdcndf.h"
#include "tvdcndf_packed.h"

int clsNumDbFld::m_nDefDbFldLen = 38;
int clsNumDbFld::m_nDefDbFldScale = 8;

clsNumDbFld::clsNumDbFld(const clsNumDbFld& other)
    : CObject(other),
      m_nDbFldLen(other.m_nDbFldLen),
      m_nDbFldScale(other.m_nDbFldScale),
      m_strData(other.m_strData),
      m_strWork(other.m_strWork)
{
    CheckValid();
}

namespace {
using tvpacked::kByteOffset;
using tvpacked::kSignNegative;
using tvpacked::kSignPositive;
using tvpacked::kSignZero;

// 16 bytes at a time, in SSE2 registers on x86-64 (GCC vector extensions).
typedef signed char clsByteVec __attribute__((vector_size(16)));
typedef unsigned char clsUByteVec __attribute__((vector_size(16)));

template <class V>
V LoadVec(const void* p)
{
    V v;
    std::memcpy(&v, p, sizeof(v));
    return v;
}

// Every digit byte lies in 10..109, or in -109..-10 for a negative value.
// Adding 118, or -19 for a negative value (the bytes wrap), moves that range
// to -128..-29: a lane whose sum is below -28 holds a digit byte.
alignas(16) const unsigned char kDigitShift[2][16] = {
    {118, 118, 118, 118, 118, 118, 118, 118, 118, 118, 118, 118, 118, 118, 118, 118},
    {237, 237, 237, 237, 237, 237, 237, 237, 237, 237, 237, 237, 237, 237, 237, 237},
};

clsByteVec DigitLanes(const char* pWindow, clsUByteVec vShift)
{
    return reinterpret_cast<clsByteVec>(LoadVec<clsUByteVec>(pWindow) + vShift) < -28;
}

// Read at nCurStrLen - 2 (2..66), the lanes 18 - nCurStrLen and up: those
// at the positions 2 and up of a window that ends at nCurStrLen.
struct clsLanesFrom {
    signed char an[16 + 64 + 16];
    constexpr clsLanesFrom() : an()
    {
        for (int i = 16; i < 16 + 64 + 16; ++i)
            an[i] = -1;
    }
};
alignas(32) constexpr clsLanesFrom kLanesFrom{};

// True when some byte at the positions 2 .. nCurStrLen - 1 of pData is not a
// digit byte of the value's sign. Reads the window [nCurStrLen - 16,
// nCurStrLen), whose lanes before position 2 play no part, and [2, 18),
// [18, 34) and [34, 50) as far as the value reaches past them: a value of up
// to 66 bytes is covered. Requires 2 <= nCurStrLen <= 66, the 16 bytes before
// pData and the whole 16-byte windows from pData on that these touch
// readable (a string block's header and character area are).
__attribute__((always_inline)) inline bool HasBadDigitByte(const char* pData, int nCurStrLen, bool bNegative)
{
    const clsUByteVec vShift = LoadVec<clsUByteVec>(kDigitShift[bNegative]);
    // (The mask keeps the offset provably within the table; it changes no
    // offset of a value of up to 65 bytes.)
    const clsByteVec vFrom2 = LoadVec<clsByteVec>(kLanesFrom.an + ((nCurStrLen - 2) & 63));
    clsByteVec vBad = ~DigitLanes(pData + nCurStrLen - 16, vShift) & vFrom2;
    if (nCurStrLen > 18) {
        clsByteVec vOk = DigitLanes(pData + 2, vShift);
        if (nCurStrLen > 34) {
            vOk &= DigitLanes(pData + 18, vShift);
            if (nCurStrLen > 50)
                vOk &= DigitLanes(pData + 34, vShift);
        }
        vBad |= ~vOk;
    }
    std::uint64_t anBad[2];
    std::memcpy(anBad, &vBad, sizeof(anBad));
    return (anBad[0] | anBad[1]) != 0;
}

// IsValidPacked for a value whose surroundings HasBadDigitByte may read
// (the bytes around it are read but play no part). Inlined into its two
// callers, the hot one being CheckValid.
__attribute__((always_inline)) inline bool IsValidInBlock(int nLen, int nScale, const char* pData, int nCurStrLen)
{
    if (static_cast<unsigned>(nLen - 1) > static_cast<unsigned>(MAX_NumDbFldLen) ||
        static_cast<unsigned>(nScale) > static_cast<unsigned>(nLen) || nScale > MAX_NumDbFldLen)
        return false;
    if (nCurStrLen <= 1)
        return nCurStrLen == 0 || pData[0] == kSignZero;
    const char chSign = pData[0];
    if (chSign != kSignPositive && chSign != kSignNegative)
        return false;
    const bool bNegative = chSign == kSignNegative;
    // The exponent byte in the sign of a positive value: e + 10 for e >= 0,
    // e - 10 for e < 0; -10..9 stands for no exponent. Then the integer part
    // within the capacity (only e >= 0 can reach it); and 2 x (digit bytes)
    // places at most the length + 1, which also keeps the value within 53
    // bytes.
    const int nExpByte = bNegative ? -tvpacked::SignedByte(pData[1]) : tvpacked::SignedByte(pData[1]);
    if (static_cast<unsigned>(nExpByte + kByteOffset) < static_cast<unsigned>(2 * kByteOffset) ||
        nExpByte - kByteOffset >= nLen - nScale || nCurStrLen > (nLen + 5) / 2)
        return false;
    if (HasBadDigitByte(pData, nCurStrLen, bNegative))
        return false;
    // Every digit byte now has the value's sign, so its magnitude is the pair
    // + 10. The first pair is not below 10 and the last not 0 (a value of two
    // bytes fails here: its "first digit byte" is the NUL, which reads as no
    // pair).
    const int nFirstByte = tvpacked::SignedByte(pData[2]);
    const int nLastByte = tvpacked::SignedByte(pData[nCurStrLen - 1]);
    const int nFirst = bNegative ? -nFirstByte : nFirstByte;
    const int nLast = bNegative ? -nLastByte : nLastByte;
    if (nFirst < 2 * kByteOffset || nLast == kByteOffset)
        return false;
    const int nExp = nExpByte < 0 ? nExpByte + kByteOffset : nExpByte - kByteOffset;
    // The decimals stored, the pad digit included: one more than the scale
    // only when it is the pad digit.
    const int nCurScale = 2 * nCurStrLen - 5 - nExp;
    return nCurScale <= nScale || (nCurScale == nScale + 1 && nLast % 10 == 0);
}

} // namespace

// The check below asserts the same invariants one by one only when this
// finds a fault, so that the report names the first condition that fails.
bool tvpacked::IsValidPacked(int nLen, int nScale, const char* pData, int nCurStrLen)
{
    // A value longer than any valid one fails before its digit bytes are read.
    if (nCurStrLen < 2 || nCurStrLen > 2 * kMaxPackedBytes)
        return IsValidInBlock(nLen, nScale, pData, nCurStrLen);
    // The value and its NUL in a buffer with room around them.
    char achData[16 + 2 * kMaxPackedBytes + 16] = {};
    std::memcpy(achData + 16, pData, static_cast<size_t>(nCurStrLen) + 1);
    return IsValidInBlock(nLen, nScale, achData + 16, nCurStrLen);
}

// The characters of every string block follow its 32-byte header, and its
// character area is a whole multiple of 16 bytes that holds the value and
// its NUL: the windows that IsValidInBlock reads lie within the block.
void clsNumDbFld::CheckValid() const
{
    CObject::CheckValid();
    const clsStrData* ptrBlock = m_strData.m_spstrData.Get();
    if (!IsValidInBlock(m_nDbFldLen, m_nDbFldScale, ptrBlock->Chars(), ptrBlock->m_nDataLen))
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
