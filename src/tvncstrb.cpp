// Character blocks, strings, errors, text-to-integer parsers, the block pool
// and the random helpers. See tvncstrb.h for the contracts.
#include "tvncstrb.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <new>
#include <stdexcept>
#include <stdlib.h>
#include <system_error>

#include "tvdcndf.h"

void CheckFailed(const char* pszCond, const char* pszFile, int nLine)
{
    // What the program wrote before is kept: abort discards buffered output.
    std::fflush(stdout);
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", pszCond, pszFile, nLine);
    std::fflush(stderr);
    std::abort();
}

// ===========================================================================
// Character blocks
// ===========================================================================

namespace {
[[noreturn]] void ThrowTooLong()
{
    throw std::length_error("clsStrBase: more characters than MAX_StrLen");
}

// A string length from a size: 0 to MAX_StrLen, else std::length_error.
int CheckedStrLen(size_t nLen)
{
    if (nLen > static_cast<size_t>(MAX_StrLen))
        ThrowTooLong();
    return static_cast<int>(nLen);
}

// A new block (count 0) for nDataLen characters; a length beyond MAX_StrLen,
// whose usable size an int cannot hold, throws std::length_error instead.
inline clsStrData* NewBlock(int nDataLen)
{
    if (nDataLen > MAX_StrLen)
        ThrowTooLong();
    return new (nDataLen) clsStrData(nDataLen);
}

// A string's block replaced by a new one for nNewLen characters that holds
// nDataLen characters from pData. The new block is filled before it replaces
// the old one, so pData may lie in the old block, and a failed allocation
// leaves the string as it was. (AllocDataCopy and GrowWriteBuf.)
__attribute__((always_inline)) inline void ReplaceBlock(clsRefCtPtr<clsStrData>& spstrData, int nNewLen,
                                                        const char* pData, int nDataLen)
{
    clsStrData* ptrNew = NewBlock(nNewLen);
    if (nDataLen > 0)
        std::memcpy(ptrNew->Chars(), pData, static_cast<size_t>(nDataLen));
    ptrNew->m_nDataLen = nDataLen;
    ptrNew->Chars()[nDataLen] = 0;
    spstrData.Adopt(ptrNew);
}

} // namespace

void clsStrData::operator delete(void* ptr, int nDataLen)
{
    FreeStrMem(ptr, BlockSize(nDataLen));
}

clsStrData::clsStrData(EmptyTag) : m_ptrData(nullptr), m_nDataLen(0), m_nAllocSiz(0) {}

// The shared empty block: its header and 16 zero characters, laid out as an
// allocated block's are.
struct clsStrData::EmptyBlock {
    clsStrData data;
    char achChars[16];
};

clsStrData* clsStrData::Clone() const
{
    clsStrData* ptrNew = NewBlock(m_nDataLen);
    if (m_nDataLen > 0)
        std::memcpy(ptrNew->m_ptrData, m_ptrData, static_cast<size_t>(m_nDataLen));
    return ptrNew;
}

clsStrData* clsStrData::GetEmpty()
{
    static EmptyBlock blockEmpty{clsStrData{EmptyTag{}}, {}};
    clsStrData& strDataEmpty = blockEmpty.data;
    if (strDataEmpty.GetRefCt() == 0) {
        // clang-format off
        TV_ASSERT(blockEmpty.achChars == strDataEmpty.Chars());
        // clang-format on
        strDataEmpty.m_ptrData = blockEmpty.achChars;
        strDataEmpty.m_nDataLen = 0;
        strDataEmpty.m_nAllocSiz = 0;
        strDataEmpty.AddRef();
        strDataEmpty.AddRef();
    }
    return &strDataEmpty;
}

// ===========================================================================
// clsStrBase
// ===========================================================================

int StrLenOrZero(const char* psz)
{
    return psz ? CheckedStrLen(std::strlen(psz)) : 0;
}

const char* FindChar(const char* psz, char ch)
{
    return std::strchr(psz, ch);
}

const char* StdStrPtr(const CString& s)
{
    return s.c_str();
}

int StdStrLen(const CString& s)
{
    return CheckedStrLen(s.size());
}

clsStrBase::clsStrBase(const clsStrBase& other) : m_spstrData(other.m_spstrData) {}

clsStrBase::clsStrBase(const char* pData, int nLen) : m_spstrData(nullptr)
{
    InitFrom(pData, nLen);
}

clsStrBase::clsStrBase(char ch, int nRepeat) : m_spstrData(nullptr)
{
    if (ch == 0 || nRepeat <= 0) {
        Empty();
        return;
    }
    AllocData(nRepeat);
    std::memset(m_spstrData->m_ptrData, ch, static_cast<size_t>(nRepeat));
}

clsStrBase::clsStrBase(const CString& s) : m_spstrData(nullptr)
{
    InitFrom(StdStrPtr(s), StdStrLen(s));
}

int clsStrBase::Find(char ch) const
{
    const char* psz = m_spstrData->m_ptrData;
    const char* ptrFound = FindChar(psz, ch);
    return ptrFound ? static_cast<int>(ptrFound - psz) : -1;
}

clsStrBase clsStrBase::Left(int nCount) const
{
    if (nCount < 0)
        nCount = 0;
    if (nCount >= GetLength())
        return *this;
    clsStrBase strOut(m_spstrData->m_ptrData, nCount);
    return strOut;
}

void clsStrBase::Empty()
{
    m_spstrData = clsRefCtPtr<clsStrData>::GetEmptyObj();
}

clsStrBase& clsStrBase::operator=(const clsStrBase& other)
{
    if (&other == this)
        return *this;
    if (!IsShared() && other.GetLength() < GetAllocSiz())
        AssignData(other.m_spstrData->m_ptrData, other.GetLength());
    else
        m_spstrData = other.m_spstrData;
    return *this;
}

clsStrBase& clsStrBase::operator=(const char* psz)
{
    AssignData(psz, StrLenOrZero(psz));
    return *this;
}

clsStrBase& clsStrBase::operator=(char ch)
{
    AssignData(&ch, ch ? 1 : 0);
    return *this;
}

clsStrBase& clsStrBase::operator=(const CString& s)
{
    AssignData(StdStrPtr(s), StdStrLen(s));
    return *this;
}

clsStrBase& clsStrBase::operator+=(const clsStrBase& other)
{
    AppendData(other.m_spstrData->m_ptrData, other.GetLength());
    return *this;
}

clsStrBase& clsStrBase::operator+=(const char* psz)
{
    AppendData(psz, StrLenOrZero(psz));
    return *this;
}

clsStrBase& clsStrBase::operator+=(char ch)
{
    AppendData(&ch, ch ? 1 : 0);
    return *this;
}

clsStrBase& clsStrBase::operator+=(const CString& s)
{
    AppendData(StdStrPtr(s), StdStrLen(s));
    return *this;
}

void clsStrBase::SetAt(int nSubscript, char ch)
{
    TV_ASSERT(nSubscript >= 0);
    TV_ASSERT(nSubscript < GetLength());
    if (IsShared())
        MakeUnshared();
    m_spstrData->m_ptrData[nSubscript] = ch;
}

char* clsStrBase::GrowWriteBuf(int nMinLen)
{
    const int nLen = GetLength();
    ReplaceBlock(m_spstrData, nMinLen > nLen ? nMinLen : nLen, m_spstrData->Chars(), nLen);
    return m_spstrData->Chars();
}

void clsStrBase::InitFrom(const char* pData, int nLen)
{
    if (nLen < 0)
        nLen = StrLenOrZero(pData);
    if (nLen == 0)
        Empty();
    else
        AllocDataCopy(nLen, pData, nLen);
}

void clsStrBase::AllocData(int nLen)
{
    m_spstrData = NewBlock(nLen);
}

void clsStrBase::AllocDataCopy(int nNewLen, const char* pData, int nDataLen)
{
    ReplaceBlock(m_spstrData, nNewLen, pData, nDataLen);
}

void clsStrBase::AssignData(const char* pData, int nLen)
{
    if (!IsShared() && nLen < GetAllocSiz()) {
        if (nLen > 0)
            std::memmove(m_spstrData->m_ptrData, pData, static_cast<size_t>(nLen));
        SetLength(nLen);
    } else if (nLen != 0) {
        AllocDataCopy(nLen, pData, nLen);
    } else {
        Empty();
    }
}

void clsStrBase::AppendData(const char* pData, int nLen)
{
    if (nLen == 0)
        return;
    int nOldLen = GetLength();
    // The sum in a wider type: a length past the longest string fails here,
    // before anything is written.
    if (static_cast<long long>(nOldLen) + nLen > MAX_StrLen)
        ThrowTooLong();
    int nNewLen = nOldLen + nLen;
    if (IsShared() || nNewLen >= GetAllocSiz()) {
        // One new block sized for the new length, filled from the old block
        // (which may hold pData too) before the old block goes.
        clsStrData* ptrNew = NewBlock(nNewLen);
        if (nOldLen > 0)
            std::memcpy(ptrNew->m_ptrData, m_spstrData->m_ptrData, static_cast<size_t>(nOldLen));
        std::memcpy(ptrNew->m_ptrData + nOldLen, pData, static_cast<size_t>(nLen));
        m_spstrData.Adopt(ptrNew);
        return;
    }
    std::memmove(m_spstrData->m_ptrData + nOldLen, pData, static_cast<size_t>(nLen));
    SetLength(nNewLen);
}

void clsStrBase::MakeUnshared()
{
    if (!IsShared())
        return;
    int nLen = GetLength();
    AllocDataCopy(nLen, m_spstrData->m_ptrData, nLen);
}

int operator==(const clsStrBase& str1, const clsStrBase& str2)
{
    int nLen = str1.GetLength();
    return nLen == str2.GetLength() &&
           std::memcmp(static_cast<const char*>(str1), static_cast<const char*>(str2),
                       static_cast<size_t>(nLen)) == 0;
}

int operator!=(const clsStrBase& str1, const clsStrBase& str2)
{
    return !(str1 == str2);
}

int StrTextEqual(const clsStrBase& str, const char* psz)
{
    // The text's full length: one longer than any string is simply unequal.
    int nLen = str.GetLength();
    return static_cast<size_t>(nLen) == (psz ? std::strlen(psz) : 0) &&
           (nLen == 0 || std::memcmp(static_cast<const char*>(str), psz, static_cast<size_t>(nLen)) == 0);
}

// ===========================================================================
// clsStrPlus
// ===========================================================================

clsStrPlus::clsStrPlus(const clsNumDbFld& num) : clsStrBase(num.GetText()) {}

clsStrPlus& clsStrPlus::operator=(const clsNumDbFld& num)
{
    clsStrBase::operator=(num.GetText());
    return *this;
}

clsStrPlus& clsStrPlus::operator=(long n)
{
    // Empty, but keep a private block for the text that follows.
    if (IsShared())
        Empty();
    else
        SetLength(0);
    return AppendLong(n);
}

clsStrPlus& clsStrPlus::operator=(ULONG n)
{
    if (IsShared())
        Empty();
    else
        SetLength(0);
    return AppendULong(n);
}

clsStrPlus& clsStrPlus::AppendLong(long n)
{
    char szTmp[32];
    std::snprintf(szTmp, sizeof(szTmp), "%ld", n);
    *this += szTmp;
    return *this;
}

clsStrPlus& clsStrPlus::AppendULong(ULONG n)
{
    char szTmp[32];
    std::snprintf(szTmp, sizeof(szTmp), "%lu", n);
    *this += szTmp;
    return *this;
}

clsStrPlus& clsStrPlus::AppendDouble(const double& d, int nDecimals)
{
    int nPrecision = nDecimals < 0 ? 8 : (nDecimals > 100 ? 100 : nDecimals);
    // The text of "%.*f" in the "C" locale, digit for digit (a point, never
    // the locale's decimal comma; "nan", "-inf" as printf writes them). The
    // longest, -DBL_MAX with 100 decimals, takes 411 characters.
    char sBuf[512];
    std::to_chars_result res = std::to_chars(sBuf, sBuf + sizeof(sBuf) - 1, d, std::chars_format::fixed, nPrecision);
    TV_ASSERT(res.ec == std::errc());
    *res.ptr = 0;
    if (nDecimals >= 0) {
        *this += sBuf;
        return *this;
    }
    clsStrPlus strDouble(sBuf, -1);
    strDouble.AdjustDecimals(0);
    *this += strDouble;
    return *this;
}

void clsStrPlus::TrimLeft(char ch)
{
    if (IsEmpty())
        return;
    int nLen = GetLength();
    char* pBuf = GetWriteBuf(nLen);
    int nSkip = 0;
    while (pBuf[nSkip] != 0 && pBuf[nSkip] == ch)
        ++nSkip;
    if (nSkip > 0)
        std::memmove(pBuf, pBuf + nSkip, static_cast<size_t>(nLen - nSkip + 1));
    ReleaseWriteBuf(-1);
}

void clsStrPlus::TrimRight(char ch)
{
    if (IsEmpty())
        return;
    int nLen = GetLength();
    char* pBuf = GetWriteBuf(nLen);
    while (nLen > 0 && pBuf[nLen - 1] == ch)
        --nLen;
    pBuf[nLen] = 0;
    ReleaseWriteBuf(nLen);
}

void clsStrPlus::AdjustDecimals(UINT nDecimals)
{
    // Padding past the longest string fails before the text changes, its
    // trailing blanks included. The padded text ends nDecimals characters
    // after its point, or after the point appended to the text without blanks.
    if (nDecimals > 0) {
        const char* psz = *this;
        int nEnd = GetLength();
        while (nEnd > 0 && psz[nEnd - 1] == ' ')
            --nEnd;
        int nPointAt = Find('.');
        if ((nPointAt >= 0 ? nPointAt : nEnd) + 1LL + nDecimals > MAX_StrLen)
            ThrowTooLong();
    }
    TrimRight(' ');
    int nPoint = Find('.');
    UINT nCurDecimals;
    if (nPoint < 0) {
        if (nDecimals == 0)
            return;
        *this += '.';
        nCurDecimals = 0;
    } else {
        nCurDecimals = static_cast<UINT>(GetLength() - nPoint - 1);
    }
    if (nCurDecimals < nDecimals) {
        // The missing zeros, written in place: the same block as appending
        // them would give, without a temporary string of zeros.
        int nLen = GetLength();
        int nPaddedLen = nLen + static_cast<int>(nDecimals - nCurDecimals);
        char* pBuf = GetWriteBuf(nPaddedLen);
        std::memset(pBuf + nLen, '0', static_cast<size_t>(nPaddedLen - nLen));
        ReleaseWriteBuf(nPaddedLen);
        return;
    }
    if (nDecimals == 0)
        ++nCurDecimals; // the point itself may go too
    if (nCurDecimals <= nDecimals)
        return;
    int nLen = GetLength();
    char* pBuf = GetWriteBuf(nLen);
    while (nCurDecimals > nDecimals && nLen > 0 && pBuf[nLen - 1] == '0') {
        --nLen;
        --nCurDecimals;
    }
    if (nLen > 0 && pBuf[nLen - 1] == '.')
        --nLen;
    pBuf[nLen] = 0;
    ReleaseWriteBuf(nLen);
}

char clsStrPlus::ToChar() const
{
    if (GetLength() > 1)
        ThrowUtilException(-2043);
    return static_cast<const char*>(*this)[0];
}

short clsStrPlus::ToShort() const
{
    long nValue = StrToLong(*this, nullptr, nullptr);
    if (nValue < -32768 || nValue > 32767)
        ThrowUtilException(-2048);
    return static_cast<short>(nValue);
}

USHORT clsStrPlus::ToUShort() const
{
    ULONG nValue = StrToULong(*this, nullptr, nullptr);
    if (nValue > 65535)
        ThrowUtilException(-2049);
    return static_cast<USHORT>(nValue);
}

int clsStrPlus::ToInt() const
{
    return static_cast<int>(StrToLong(*this, nullptr, nullptr));
}

UINT clsStrPlus::ToUInt() const
{
    return static_cast<UINT>(StrToULong(*this, nullptr, nullptr));
}

long clsStrPlus::ToLong() const
{
    return StrToLong(*this, nullptr, nullptr);
}

ULONG clsStrPlus::ToULong() const
{
    return StrToULong(*this, nullptr, nullptr);
}

namespace {
// The "C" locale as an object, for reading numbers whatever locale the
// program has set (glibc gives its static "C" object; nothing is allocated).
locale_t CLocale()
{
    static const locale_t locC = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    TV_ASSERT(locC != static_cast<locale_t>(0));
    return locC;
}
} // namespace

double clsStrPlus::ToDouble() const
{
    CheckNumber(nullptr, nullptr, 1, nullptr);
    // atof's value in the "C" locale: the nearest double, +-HUGE_VAL beyond
    // the range, 0.0 for a text without digits ('', '-', ' . ').
    return strtod_l(*this, nullptr, CLocale());
}

namespace {
// The code thrown for a status of the text checkers.
int ThrownCodeOf(int nStatus)
{
    switch (nStatus) {
    case -4024: return -2044;
    case -4025: return -2045;
    case -4026: return -2047;
    case -4029: return -2050;
    case -4030: return -2051;
    case -4031: return -2054;
    default: return 2001;
    }
}

// Skips blanks (the space only) from position i.
template <class TPos>
TPos SkipBlanks(const char* psz, TPos i)
{
    while (psz[i] == ' ')
        ++i;
    return i;
}

// Reads the decimal integer of StrToLong / StrToULong: the scan shared by both,
// with the magnitude limit nMax and the unsigned variant's refusal of '-'.
ULONG ScanInteger(const char* psz, bool bUnsigned, int* pnErr, int* pnEndPos, bool* pbNegative)
{
    const ULONG nMax = bUnsigned ? 4294967295UL : 2147483647UL;
    const int nOverflow = bUnsigned ? -4030 : -4029;
    const char* p = psz ? psz : "";
    // Positions in size_t: blanks and zeros may run past INT_MAX.
    size_t i = SkipBlanks(p, size_t{0});
    int nStatus = 0;
    ULONG nValue = 0;
    *pbNegative = false;
    if (p[i] == '-' && bUnsigned) {
        nStatus = -4026;
    } else {
        if (p[i] == '-') {
            *pbNegative = true;
            ++i;
        } else if (p[i] == '+') {
            ++i;
        }
        while (p[i] == '0')
            ++i;
        for (;;) {
            char ch = p[i];
            if (ch == 0)
                break;
            if (ch >= '0' && ch <= '9') {
                ULONG nDigit = static_cast<ULONG>(ch - '0');
                if (nValue > nMax / 10 || nValue * 10 > nMax - nDigit) {
                    nStatus = nOverflow;
                    break;
                }
                nValue = nValue * 10 + nDigit;
                ++i;
                continue;
            }
            if (ch == '+' || ch == '-') {
                nStatus = -4031;
                break;
            }
            if (ch == '.') {
                ++i;
                while (p[i] == '0')
                    ++i;
                i = SkipBlanks(p, i);
                if (p[i] != 0)
                    nStatus = -4024;
                break;
            }
            // Anything else ends the digits: only blanks may follow, unless
            // the caller reads the number from the head of a longer text.
            i = SkipBlanks(p, i);
            if (p[i] != 0 && !pnEndPos)
                nStatus = -4025;
            break;
        }
    }
    if (pnEndPos) {
        if (i > static_cast<size_t>(INT_MAX))
            ThrowTooLong();
        *pnEndPos = static_cast<int>(i);
    }
    if (pnErr)
        *pnErr = nStatus;
    else if (nStatus != 0)
        ThrowUtilException(ThrownCodeOf(nStatus));
    return nValue;
}
} // namespace

long StrToLong(const char* psz, int* pnErr, int* pnEndPos)
{
    bool bNegative = false;
    long nValue = static_cast<long>(ScanInteger(psz, false, pnErr, pnEndPos, &bNegative));
    return bNegative ? -nValue : nValue;
}

ULONG StrToULong(const char* psz, int* pnErr, int* pnEndPos)
{
    bool bNegative = false;
    return ScanInteger(psz, true, pnErr, pnEndPos, &bNegative);
}

int clsStrPlus::CheckNumber(int* pnDigits, int* pnDecimals, int bThrow, int* pnErrPos) const
{
    const char* p = *this;
    int i = SkipBlanks(p, 0);
    if (p[i] == '+' || p[i] == '-')
        ++i;
    while (p[i] == '0')
        ++i;
    int nDigits = 0;
    int nDecimals = 0;
    int nPending = 0; // decimal digits that count once a non-zero one follows
    bool bPoint = false;
    int nStatus = 0;
    for (;;) {
        char ch = p[i];
        if (ch == 0)
            break;
        if (ch == '+' || ch == '-') {
            nStatus = -4031;
            break;
        }
        if (ch == '.') {
            if (bPoint) {
                nStatus = -4024;
                break;
            }
            bPoint = true;
            ++i;
            continue;
        }
        if (ch >= '0' && ch <= '9') {
            if (!bPoint) {
                ++nDigits;
            } else {
                ++nPending;
                if (ch != '0') {
                    nDigits += nPending;
                    nDecimals += nPending;
                    nPending = 0;
                }
            }
            ++i;
            continue;
        }
        i = SkipBlanks(p, i);
        if (p[i] != 0)
            nStatus = -4025;
        break;
    }
    if (pnDigits)
        *pnDigits = nDigits;
    if (pnDecimals)
        *pnDecimals = nDecimals;
    if (pnErrPos)
        *pnErrPos = i;
    if (nStatus != 0 && bThrow)
        ThrowUtilException(ThrownCodeOf(nStatus));
    return nStatus;
}

// ===========================================================================
// Errors
// ===========================================================================

const ErrTableRow aErrTable[32] = {
    {2001, "Invalid parameter encountered"},
    {2002, "Null pointer is passed as an output parameter"},
    {2003, "Null pointer is passed as an input parameter"},
    {-2041, "Invalid character.  Expecting only a valid letter"},
    {-2042, "Invalid character.  Only a digit or a letter is allowed"},
    {-2043, "Attempt to assign multiple characters to a variable of single character type"},
    {-2044, "Invalid Number.  (Improper decimal point)"},
    {-2045, "Invalid Number.  (Expecting a valid digit)"},
    {-2046, "Invalid operation. Encountered division by zero error"},
    {-2047, "Attempt to assign a negative number to an unsigned integer"},
    {-2048, "Short integer overflow"},
    {-2049, "Unsigned short integer overflow"},
    {-2050, "Long integer overflow"},
    {-2051, "Unsigned long integer overflow"},
    {-2052, "Double overflow"},
    {-2053, "Encountered overflow in Number class"},
    {-2054, "Invalid Number. (sign at an improper place)"},
    {-2055, "Invalid operation. Attempt to raise zero to a negative power"},
    {-4021, "Invalid character.  Expecting only a valid letter"},
    {-4022, "Invalid character.  Only a digit or a letter is allowed"},
    {-4023, "Attempt to assign multiple characters to a single character field"},
    {-4024, "Invalid Number.  Improper decimal point"},
    {-4025, "Invalid Number.  Expecting a valid digit"},
    {-4026, "Attempt to assign a negative number to an unsigned integer"},
    {-4027, "Short integer overflow"},
    {-4028, "Unsigned short integer overflow"},
    {-4029, "Long integer overflow"},
    {-4030, "Unsigned long integer overflow"},
    {-4031, "Invalid Number.  Improper sign"},
    {-4032, "Too many significant digits AFTER the decimal point"},
    {-4033, "Too many significant digits ( BEFORE the decimal point )"},
    {0, nullptr},
};

clsUtilException::clsUtilException(int nErrCode) noexcept : std::exception(), m_nErrCode(nErrCode), m_strErrMsg()
{
}

clsUtilException::clsUtilException(const clsUtilException& other) noexcept
    : std::exception(other), m_nErrCode(other.m_nErrCode)
{
    std::memcpy(m_strErrMsg, other.m_strErrMsg, sizeof(m_strErrMsg));
}

clsUtilException::~clsUtilException() {}

const char* clsUtilException::what() const noexcept
{
    const char* pszMsg = "Unknown Error";
    for (const ErrTableRow* pRow = aErrTable; pRow->nErrCode != 0; ++pRow) {
        if (pRow->nErrCode == m_nErrCode) {
            pszMsg = pRow->pszErrMsg;
            break;
        }
    }
    // Formed in place, with no heap: under exhausted memory this is often the
    // one thing a program still does.
    std::snprintf(m_strErrMsg, sizeof(m_strErrMsg), "Error: %d  %s", m_nErrCode, pszMsg);
    return m_strErrMsg;
}

int clsUtilException::GetErrorText(char* pszBuf, UINT nMaxLen, UINT* pnExtra)
{
    if (pnExtra)
        *pnExtra = 0;
    if (nMaxLen == 0)
        return 1;
    std::strncpy(pszBuf, what(), nMaxLen);
    pszBuf[nMaxLen - 1] = 0;
    return 1;
}

void ThrowUtilException(int nErrCode)
{
    throw clsUtilException(nErrCode);
}

// ===========================================================================
// Fixed-size block pool
// ===========================================================================

namespace {
const int nElemsPerBlock = 16;

void* GetLink(void* pElem)
{
    void* pNext;
    std::memcpy(&pNext, pElem, sizeof(pNext));
    return pNext;
}

void SetLink(void* pElem, void* pNext)
{
    std::memcpy(pElem, &pNext, sizeof(pNext));
}
} // namespace

clsPoolBlock::clsPoolBlock(int nElemSiz)
    : m_ptrNext(nullptr), m_ptrElems(new unsigned char[static_cast<size_t>(nElemsPerBlock * nElemSiz)])
{
    // Chain the elements in address order: element k links to element k + 1.
    void* pNext = nullptr;
    for (int k = nElemsPerBlock - 1; k >= 0; --k) {
        unsigned char* pElem = m_ptrElems + static_cast<size_t>(k * nElemSiz);
        SetLink(pElem, pNext);
        pNext = pElem;
    }
}

clsPoolBlock::~clsPoolBlock()
{
    delete[] m_ptrElems;
}

clsFixedPool::clsFixedPool(int nElemSiz) : m_nElemSiz(nElemSiz), m_ptrFree(nullptr), m_ptrBlocks(nullptr)
{
    InitLock();
}

clsFixedPool::~clsFixedPool()
{
    Lock();
    while (m_ptrBlocks) {
        clsPoolBlock* ptrNext = m_ptrBlocks->m_ptrNext;
        delete m_ptrBlocks;
        m_ptrBlocks = ptrNext;
    }
    Unlock();
    TermLock();
}

void* clsFixedPool::Alloc()
{
    Lock();
    if (!m_ptrFree) {
        clsPoolBlock* ptrBlock = new clsPoolBlock(m_nElemSiz);
        ptrBlock->m_ptrNext = m_ptrBlocks;
        m_ptrBlocks = ptrBlock;
        m_ptrFree = ptrBlock->m_ptrElems;
    }
    void* pElem = m_ptrFree;
    m_ptrFree = GetLink(pElem);
    Unlock();
    return pElem;
}

void clsFixedPool::Free(void* p)
{
    Lock();
    SetLink(p, m_ptrFree);
    m_ptrFree = p;
    Unlock();
}

void PoolAllocFree(int bAlloc, UINT nSiz, void** pp, UINT* pnActualAllocSiz)
{
    // Releasing a null pointer does nothing, at every size, as free(NULL)
    // does; it returns before a pool is looked up, so it builds none.
    if (!bAlloc && *pp == nullptr)
        return;
    // Each pool is built on the first call of its size class, allocating or
    // releasing, and destroyed at normal exit.
    clsFixedPool* ptrPool = nullptr;
    if (nSiz <= 32) {
        static clsFixedPool pool32(32);
        ptrPool = &pool32;
    } else if (nSiz <= 64) {
        static clsFixedPool pool64(64);
        ptrPool = &pool64;
    } else if (nSiz <= 128) {
        static clsFixedPool pool128(128);
        ptrPool = &pool128;
    } else if (nSiz <= 256) {
        static clsFixedPool pool256(256);
        ptrPool = &pool256;
    }
    if (bAlloc) {
        if (ptrPool) {
            *pp = ptrPool->Alloc();
            *pnActualAllocSiz = static_cast<UINT>(ptrPool->m_nElemSiz);
        } else {
            *pp = ::operator new(nSiz);
            *pnActualAllocSiz = nSiz;
        }
    } else {
        if (ptrPool)
            ptrPool->Free(*pp);
        else
            ::operator delete(*pp);
    }
}

// ===========================================================================
// Random values
// ===========================================================================

namespace {
static_assert((RAND_MAX & 0x7FFF) == 0x7FFF, "rand() must cover 0..32767 evenly");

// One value from rand(), brought to 0..32767 (rand may give a wider range).
int RandomSource()
{
    return std::rand() & 0x7FFF;
}
} // namespace

double RandomDouble(double dMin, double dMax)
{
    double dRange = dMax - dMin;
    int r = RandomSource();
    return dMin + (static_cast<double>(r) * dRange) / 32767.0;
}

int RandomInt(int nMin, int nMax)
{
    long long nCount = static_cast<long long>(nMax) - nMin + 1;
    int r = RandomSource();
    if (nCount <= 0)
        return nMin;
    return static_cast<int>(nMin + r % nCount);
}
