// Rounding, length and scale, assignment between numbers, negation and the
// one-digit shifts of a digit run. All of it works in place on the packed form.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <typeinfo>

#include "tvdcndf.h"
#include "tvdcndf_packed.h"

namespace {

// Checks a requested length and scale (-1 keeps the current one) and gives
// the values that they stand for; 2001 for anything outside the ranges.
void ResolveLenScale(int& nLen, int& nScale, int nCurLen, int nCurScale)
{
    if (nLen != -1 && (nLen < 1 || nLen > MAX_NumDbFldLen))
        ThrowUtilException(kErrInvalidParam);
    if (nLen == -1)
        nLen = nCurLen;
    if (nScale != -1 && (nScale < 0 || nScale > nLen))
        ThrowUtilException(kErrInvalidParam);
    if (nScale == -1)
        nScale = nCurScale;
}
} // namespace

clsNumDbFld::clsNumDbFld(int nLen, int nScale) : m_nDbFldLen(0), m_nDbFldScale(0)
{
    // A length of -1 would keep the length 0, which no number may have.
    if (nLen == -1)
        ThrowUtilException(kErrInvalidParam);
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

// Digit i of a working value holds the places 10^(2(nPow - i) + 1) and
// 10^(2(nPow - i)). The first place dropped, 10^-(nScale + 1), is the high
// place of digit nCut = nPow + nScale / 2 + 1 for an even scale (nCut and all
// after it go) and its low place for an odd one (nCut keeps its high digit).
bool tvpacked::RoundToScale(clsWorkNum& w, int nScale)
{
    const int nCut = w.nPow + nScale / 2 + 1;
    if (nCut >= w.nDigits)
        return true; // no digit beyond the scale
    if (nCut < 0) {
        // Every digit lies beyond the first dropped place, which is a 0.
        w.nDigits = 0;
        return false;
    }
    int nFirstDropped;
    int nUnit; // one unit of the last kept place, in the last kept digit
    if (nScale % 2 == 0) {
        nFirstDropped = w.aDigit[nCut] / 10;
        w.nDigits = nCut;
        nUnit = 1;
    } else {
        nFirstDropped = w.aDigit[nCut] % 10;
        w.aDigit[nCut] = static_cast<unsigned char>(w.aDigit[nCut] - nFirstDropped);
        w.nDigits = nCut + 1;
        nUnit = 10;
    }
    if (nFirstDropped >= 5) {
        // Add the unit; a digit that reaches 100 passes a carry on. A carry
        // out of the first digit leaves all kept digits 0: the value is one
        // unit of the next power of 100.
        int i = w.nDigits - 1;
        int t = i >= 0 ? w.aDigit[i] + nUnit : kRadix;
        while (t >= kRadix && i > 0) {
            w.aDigit[i] = static_cast<unsigned char>(t - kRadix);
            --i;
            t = w.aDigit[i] + 1;
        }
        if (t >= kRadix) {
            w.aDigit[0] = 1;
            w.nDigits = 1;
            ++w.nPow;
            return true;
        }
        w.aDigit[i] = static_cast<unsigned char>(t);
    }
    return Normalise(w);
}

void clsNumDbFld::StorePacked(const char* pData, int nLen)
{
    clsStrData* ptrBlock = m_strData.m_spstrData.Get();
    if (!ptrBlock->IsShared() && nLen < ptrBlock->m_nAllocSiz) {
        // In place: the block has room for the value and its NUL.
        char* pBuf = ptrBlock->Chars();
        tvpacked::CopyPackedBytes(pBuf, pData, nLen);
        ptrBlock->m_nDataLen = nLen;
        pBuf[nLen] = 0;
        return;
    }
    if (nLen == 0 && ptrBlock->m_nDataLen == 0)
        return;
    // The shared empty block (a new number's first value) or one too small:
    // a block sized for the value, filled before it replaces the old one, so
    // that a failed allocation changes nothing.
    clsStrData* ptrNew = new (nLen) clsStrData(nLen);
    tvpacked::CopyPackedBytes(ptrNew->Chars(), pData, nLen);
    m_strData.m_spstrData.Adopt(ptrNew);
}

const char* clsNumDbFld::RoundedToScale(const char* pData, int& nLen, char* pBuf) const
{
    using namespace tvpacked;
    if (StoredDecimals(pData, nLen) <= m_nDbFldScale)
        return pData;
    std::uint32_t anWords[kPackedWords + 1];
    int nLowExp;
    int nWords = PackedToWords(pData, nLen, anWords, &nLowExp);
    nWords = RoundWordsAt(anWords, nWords, -m_nDbFldScale - nLowExp);
    if (nWords == 0) {
        nLen = 1;
        return "o";
    }
    if (WordsExponent(anWords, nWords, nLowExp) >= GetIntLen())
        ThrowUtilException(kErrOverflow);
    nLen = WordsToPacked(anWords, nWords, nLowExp, pData[0] == kSignNegative, pBuf);
    return pBuf;
}

void clsNumDbFld::StoreResult(tvpacked::clsWorkNum& w)
{
    using namespace tvpacked;
    char achPacked[kMaxPackedBytes];
    int nLen = 0;
    if (w.bNull) {
        StorePacked("", 0);
        CheckValid();
        return;
    }
    switch (FitToPrecision(w, GetIntLen(), m_nDbFldScale)) {
    case kFitValue: nLen = Pack(w, achPacked); break;
    case kFitZero:
        achPacked[0] = kSignZero;
        nLen = 1;
        break;
    case kFitTooLarge: ThrowUtilException(kErrOverflow);
    case kFitCarryTooLarge:
        m_strData.Empty();
        ThrowUtilException(kErrOverflow);
    }
    StorePacked(achPacked, nLen);
    CheckValid();
}

// Rounds half away from zero to nNewScale decimals when nCurScale, the
// decimals present, exceeds it. A carry into an integer digit beyond the
// capacity empties the value before -2053 is raised.
void clsNumDbFld::RoundTo(int nNewScale, int nCurScale)
{
    using namespace tvpacked;
    if (nNewScale < 0 || nNewScale > m_nDbFldScale)
        nNewScale = m_nDbFldScale;
    if (nNewScale >= nCurScale || m_strData.GetLength() <= 1)
        return;
    clsWorkNum w;
    Unpack(m_strData, m_strData.GetLength(), w);
    char achPacked[kMaxPackedBytes];
    int nLen;
    if (!RoundToScale(w, nNewScale)) {
        achPacked[0] = kSignZero;
        nLen = 1;
    } else {
        if (ExponentOf(w) >= GetIntLen()) {
            m_strData.Empty();
            ThrowUtilException(kErrOverflow);
        }
        nLen = Pack(w, achPacked);
    }
    StorePacked(achPacked, nLen);
    CheckValid();
}

void clsNumDbFld::RoundExcessDecimals()
{
    RoundTo(m_nDbFldScale, tvpacked::StoredDecimals(m_strData, m_strData.GetLength()));
}

void clsNumDbFld::SetLenScale(int nLen, int nScale)
{
    ResolveLenScale(nLen, nScale, m_nDbFldLen, m_nDbFldScale);
    if (nLen - nScale < GetIntLen() && GetCurIntLen() > nLen - nScale)
        ThrowUtilException(kErrOverflow);
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
        ThrowUtilException(kErrInvalidParam);
    m_nDefDbFldLen = nLen;
    m_nDefDbFldScale = nScale;
}

clsNumDbFld& clsNumDbFld::operator=(const clsNumDbFld& other)
{
    using namespace tvpacked;
    if (&other == this)
        return *this;
    other.CheckValid();
    AssignValidated(other);
    return *this;
}

void clsNumDbFld::AssignValidated(const clsNumDbFld& other)
{
    using namespace tvpacked;
    const char* pOther = other.m_strData;
    const int nOtherLen = other.m_strData.GetLength();
    // Only a number of larger capacity can hold a value that does not fit.
    if (other.GetIntLen() > GetIntLen() && StoredIntegerDigits(pOther, nOtherLen) > GetIntLen())
        ThrowUtilException(kErrOverflow);
    if (other.m_nDbFldScale > m_nDbFldScale && StoredDecimals(pOther, nOtherLen) > m_nDbFldScale) {
        clsWorkNum w;
        Unpack(pOther, nOtherLen, w);
        StoreResult(w);
    } else {
        if (nOtherLen > 0 && nOtherLen < 64 && other.m_strData.GetAllocSiz() >= 16) {
            // StorePacked from one string block to another: whole 16-byte
            // moves, the NUL among them.
            char* pBuf = m_strData.GetWriteBuf(nOtherLen);
            CopyBlockBytes(pBuf, pOther, nOtherLen + 1);
            m_strData.ReleaseWriteBuf(nOtherLen);
        } else {
            StorePacked(pOther, nOtherLen);
        }
        // The check of other has just passed on these bytes. At the same length
        // and scale the result's check would find what it found, so it is left
        // out where both numbers are plain clsNumDbFld (whose check is that
        // one); a derived class's own check still runs.
        if (m_nDbFldLen != other.m_nDbFldLen || m_nDbFldScale != other.m_nDbFldScale ||
            typeid(*this) != typeid(clsNumDbFld) || typeid(other) != typeid(clsNumDbFld))
            CheckValid();
    }
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
