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

// Lane masks read at an offset: 16 - m from kLanesBelow gives the lanes
// below m, and 16 - m from kLanesFrom the lanes m and up (m 0..16).
alignas(32) const signed char kLanesBelow[32] = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
alignas(32) const signed char kLanesFrom[32] = {0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,  0,
                                    -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
const clsByteVec kLanesFrom2 = {0, 0, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1};

// True when some byte at the positions 2 .. nCurStrLen - 1 of pData is not a
// digit byte of the value's sign. Reads the windows [0, 16) and
// [nCurStrLen - 16, nCurStrLen) (the first one again for a shorter value), and
// [16, 32) and [32, 48) when the value reaches past them: a value of up to 64
// bytes is covered. Requires nCurStrLen >= 2 and 16 bytes that may be read at
// pData; lanes beyond the value are read but play no part.
__attribute__((always_inline)) inline bool HasBadDigitByte(const char* pData, int nCurStrLen, bool bNegative)
{
    const clsUByteVec vShift = LoadVec<clsUByteVec>(kDigitShift[bNegative]);
    const int nFirstLanes = nCurStrLen < 16 ? nCurStrLen : 16;
    const int nLastStart = nCurStrLen - nFirstLanes;
    // In the first window the lanes 2 .. nCurStrLen - 1; in the last the lanes
    // at positions 2 and up (from lane 2 - nLastStart), and only those within
    // the first window's lanes when it is the same window.
    const clsByteVec vWithin = LoadVec<clsByteVec>(kLanesBelow + 16 - nFirstLanes);
    const clsByteVec vLastFrom = LoadVec<clsByteVec>(kLanesFrom + (nLastStart < 2 ? 14 + nLastStart : 16));
    clsByteVec vBad = vWithin & ((~DigitLanes(pData, vShift) & kLanesFrom2) |
                                 (~DigitLanes(pData + nLastStart, vShift) & vLastFrom));
    if (nCurStrLen > 32) {
        clsByteVec vOk = DigitLanes(pData + 16, vShift);
        if (nCurStrLen > 48)
            vOk &= DigitLanes(pData + 32, vShift);
        vBad |= ~vOk;
    }
    std::uint64_t anBad[2];
    std::memcpy(anBad, &vBad, sizeof(anBad));
    return (anBad[0] | anBad[1]) != 0;
}

// The exponent e that an exponent byte stands for, by the value's sign
// (0 positive, 1 negative) and the byte as an unsigned char; 127, above every
// capacity, for a byte that no exponent stores (-10..9 in the sign of a
// positive value). 'p', 12 gives 2; 'n', 13 gives -3.
struct clsExponentTable {
    signed char anExp[2][256];
    constexpr clsExponentTable() : anExp()
    {
        for (int nNeg = 0; nNeg < 2; ++nNeg)
            for (int i = 0; i < 256; ++i) {
                const int nByte = (nNeg ? -1 : 1) * (i < 128 ? i : i - 256);
                int nExp = 127;
                if (nByte >= kByteOffset)
                    nExp = nByte - kByteOffset;
                else if (nByte < -kByteOffset)
                    nExp = nByte + kByteOffset;
                anExp[nNeg][i] = static_cast<signed char>(nExp);
            }
    }
};
constexpr clsExponentTable kExponentTable{};

// IsValidPacked for a value whose first 16 bytes may be read when it has two
// bytes or more (the bytes beyond its NUL are read but play no part).
// Inlined into its two callers, the hot one being CheckValid.
__attribute__((always_inline)) inline bool IsValidIn16(int nLen, int nScale, const char* pData, int nCurStrLen)
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
    // The exponent byte, and the integer part within the capacity; and
    // 2 x (digit bytes) places at most the length + 1, which also keeps the
    // value within 53 bytes.
    const int nExp = kExponentTable.anExp[bNegative][static_cast<unsigned char>(pData[1])];
    if (nExp >= nLen - nScale || nCurStrLen > (nLen + 5) / 2)
        return false;
    if (HasBadDigitByte(pData, nCurStrLen, bNegative))
        return false;
    // Every digit byte now has the value's sign. The first pair is not below
    // 10 and the last not 0 (a value of two bytes fails here: its "first
    // digit byte" is the NUL, which reads as no pair).
    const unsigned char* pBytes = reinterpret_cast<const unsigned char*>(pData);
    const unsigned char nLastByte = pBytes[nCurStrLen - 1];
    if (tvpacked::kDigitTables.anPair[pBytes[2]] < 10 || tvpacked::kDigitTables.anPair[nLastByte] == 0)
        return false;
    // The decimals stored, the pad digit included: one more than the scale
    // only when it is the pad digit.
    const int nCurScale = 2 * nCurStrLen - 5 - nExp;
    return nCurScale <= nScale || (nCurScale == nScale + 1 && tvpacked::kDigitTables.anLow10[nLastByte] == 0);
}

} // namespace

// The check below asserts the same invariants one by one only when this
// finds a fault, so that the report names the first condition that fails.
bool tvpacked::IsValidPacked(int nLen, int nScale, const char* pData, int nCurStrLen)
{
    if (nCurStrLen < 2 || nCurStrLen >= 15)
        return IsValidIn16(nLen, nScale, pData, nCurStrLen);
    // A shorter value and its NUL, in 16 bytes that may all be read.
    char achData[16] = {};
    std::memcpy(achData, pData, static_cast<size_t>(nCurStrLen) + 1);
    return IsValidIn16(nLen, nScale, achData, nCurStrLen);
}

// Every character area of a string block is a whole multiple of 16 bytes, so
// a value of one byte or more has 16 bytes that may be read; GetAllocSiz says
// so, and the copy in IsValidPacked serves anything else.
void clsNumDbFld::CheckValid() const
{
    CObject::CheckValid();
    const int nCurStrLen = m_strData.GetLength();
    const bool bValid = nCurStrLen >= 2 && m_strData.GetAllocSiz() < 16
                            ? tvpacked::IsValidPacked(m_nDbFldLen, m_nDbFldScale, m_strData, nCurStrLen)
                            : IsValidIn16(m_nDbFldLen, m_nDbFldScale, m_strData, nCurStrLen);
    if (!bValid)
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
