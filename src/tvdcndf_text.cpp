// Text in and out: the parser, the assignments and constructors from the
// built-in types (all through decimal text), raw access to the packed form,
// the stream operators and the global numbers 0 and 1.
#include <charconv>
#include <new>

#include "tvdcndf.h"
#include "tvdcndf_packed.h"

// ---------------------------------------------------------------------------
// The global numbers. Their storage needs no construction of its own, so the
// references are bound before any start-up code runs; the first file that
// includes tvdcndf.h to start up builds the two numbers (zero first) and the
// last one to end destroys them (one first).
// ---------------------------------------------------------------------------
namespace {
union clsNumStorage {
    constexpr clsNumStorage() : cNone() {}
    ~clsNumStorage() {}
    char cNone;
    clsNumDbFld num;
};

clsNumStorage g_storeZero;
clsNumStorage g_storeOne;
int g_nGlobalsUsers = 0;
} // namespace

const clsNumDbFld& g_numZero = g_storeZero.num;
const clsNumDbFld& g_numOne = g_storeOne.num;

clsNumGlobalsInit::clsNumGlobalsInit()
{
    if (g_nGlobalsUsers++ == 0) {
        new (&g_storeZero.num) clsNumDbFld("0");
        new (&g_storeOne.num) clsNumDbFld("1");
    }
}

clsNumGlobalsInit::~clsNumGlobalsInit()
{
    if (--g_nGlobalsUsers == 0) {
        g_storeOne.num.~clsNumDbFld();
        g_storeZero.num.~clsNumDbFld();
    }
}

// ---------------------------------------------------------------------------
// Constructors from values: the default length and scale, then the assignment.
// ---------------------------------------------------------------------------
clsNumDbFld::clsNumDbFld(short n) : clsNumDbFld()
{
    *this = n;
}
clsNumDbFld::clsNumDbFld(USHORT n) : clsNumDbFld()
{
    *this = n;
}
clsNumDbFld::clsNumDbFld(int n) : clsNumDbFld()
{
    *this = n;
}
clsNumDbFld::clsNumDbFld(UINT n) : clsNumDbFld()
{
    *this = n;
}
clsNumDbFld::clsNumDbFld(long n) : clsNumDbFld()
{
    *this = n;
}
clsNumDbFld::clsNumDbFld(ULONG n) : clsNumDbFld()
{
    *this = n;
}
clsNumDbFld::clsNumDbFld(const double& d) : clsNumDbFld()
{
    *this = d;
}
clsNumDbFld::clsNumDbFld(const char* psz) : clsNumDbFld()
{
    ParseStr(psz);
}
clsNumDbFld::clsNumDbFld(const CString& str) : clsNumDbFld()
{
    ParseStr(str);
}

// ---------------------------------------------------------------------------
// The parser: one pass over the text in named steps, writing the packed value
// straight into m_strData's buffer.
//
// Positions number the places of the value: the significant integer digits
// take 0, 1, 2, ...; the first decimal place is L - S, and position L is the
// first place beyond the scale, whose digit alone decides the rounding. Every
// place after it counts as L + 1, and the text is walked by pointer, so no
// count grows with the length of the text: blanks, zeros or ignored decimals
// by the billion cost time only.
// ---------------------------------------------------------------------------
namespace {

using namespace tvpacked;

struct clsNumScan {
    const char* p;           // the next character
    int nLen;                // L
    int nScale;              // S
    char* pDigitBytes;       // the digit bytes of the packed value
    bool bNegative = false;
    bool bPoint = false;
    bool bRound = false;     // a digit of 5 or more at position L was stored
    int nExp = 0;            // exponent of the first significant digit
    int nDigits = 0;         // digits stored
    int nHigh = 0;           // the first digit of the pair being filled
    int nPos = 0;            // place of the next digit, at most L + 1
};

// Blanks, one sign, the leading zeros and, when a point follows, the zeros
// right after it up to and including position L: "  -00.0012" leaves the scan
// at "12" with e = -3.
void ReadSignAndLeadingZeros(clsNumScan& scan)
{
    const char*& p = scan.p;
    while (*p == ' ')
        ++p;
    if (*p == '-') {
        scan.bNegative = true;
        ++p;
    } else if (*p == '+') {
        ++p;
    }
    while (*p == '0')
        ++p;
    if (*p != '.')
        return;
    ++p;
    scan.bPoint = true;
    scan.nExp = -1;
    scan.nPos = scan.nLen - scan.nScale;
    while (*p == '0' && scan.nPos <= scan.nLen) {
        --scan.nExp;
        ++scan.nPos;
        ++p;
    }
}

// Puts digit d into the digit bytes, each byte complete as written: the first
// digit of a pair with the pad digit 0, then the pair.
inline void StoreDigit(clsNumScan& scan, int d)
{
    char& chByte = scan.pDigitBytes[scan.nDigits / 2];
    if (scan.nDigits % 2 == 0) {
        scan.nHigh = d;
        chByte = PairByte(10 * d, scan.bNegative);
    } else {
        chByte = PairByte(10 * scan.nHigh + d, scan.bNegative);
    }
    ++scan.nDigits;
}

// Digits and the point, up to the first other character or the end. An
// integer digit beyond the capacity fails at once with -2053, a second point
// with -2044. Of the decimals beyond the scale, the first one is stored only
// when it rounds up (5 or more); it and all after it are read and ignored.
// The loop works on a copy of the scan: the digit bytes are chars, which may
// alias anything, and each store through them would otherwise send the
// fields of the caller's scan back to memory.
int ReadDigits(clsNumScan& scanOut)
{
    clsNumScan scan = scanOut;
    const int nCap = scan.nLen - scan.nScale;
    int nErr = 0;
    for (;; ++scan.p) {
        char ch = *scan.p;
        if (ch >= '0' && ch <= '9') {
            if (scan.nPos >= nCap) {
                if (!scan.bPoint) {
                    nErr = kErrOverflow; // an integer digit beyond the capacity
                    break;
                }
                if (scan.nPos > scan.nLen)
                    continue;
                if (scan.nPos == scan.nLen) {
                    if (ch < '5') {
                        ++scan.nPos;
                        continue;
                    }
                    scan.bRound = true;
                }
            }
            StoreDigit(scan, ch - '0');
            ++scan.nPos;
            continue;
        }
        if (ch != '.')
            break;
        if (scan.bPoint) {
            nErr = kErrDecimalPoint;
            break;
        }
        scan.bPoint = true;
        scan.nExp = scan.nDigits - 1;
        scan.nPos = nCap;
    }
    scanOut = scan;
    return nErr;
}

// What follows the digits: blanks up to the end, or an error: -2054 for a
// sign, -2045 for anything else.
int JudgeTail(const char* p)
{
    while (*p == ' ')
        ++p;
    if (*p == 0)
        return 0;
    return (*p == '+' || *p == '-') ? kErrSign : kErrDigit;
}

// Packs a scan that stored digits into pBuf: sign and exponent bytes, the
// digit bytes without trailing zero pairs, a NUL. Returns the length; the
// first digit byte always stays, as the first stored digit is not 0.
int PackScan(clsNumScan& scan, char* pBuf)
{
    if (!scan.bPoint)
        scan.nExp = scan.nDigits - 1;
    int nBytes = (scan.nDigits + 1) / 2;
    int nKept = TrimZeroPairs(scan.pDigitBytes, nBytes);
    scan.nDigits -= 2 * (nBytes - nKept);
    scan.pDigitBytes[nKept] = 0;
    pBuf[0] = scan.bNegative ? kSignNegative : kSignPositive;
    pBuf[1] = EncodeExponentByte(scan.nExp, scan.bNegative);
    return nKept + 2;
}

} // namespace

clsNumDbFld& clsNumDbFld::ParseStr(const char* psz)
{
    if (!psz || !*psz) {
        m_strData = "";
        CheckValid();
        return *this;
    }
    // Room for every digit the length allows, the rounding digit included.
    char* pBuf = m_strData.GetWriteBuf((m_nDbFldLen + 1) / 2 + 3);
    clsNumScan scan{psz, m_nDbFldLen, m_nDbFldScale, pBuf + 2};

    ReadSignAndLeadingZeros(scan);
    int nErr = ReadDigits(scan);
    if (nErr == 0)
        nErr = JudgeTail(scan.p);
    if (nErr != 0) {
        m_strData.ReleaseWriteBuf(0);
        ThrowUtilException(nErr);
    }

    if (scan.nDigits == 0) {
        pBuf[0] = kSignZero;
        m_strData.ReleaseWriteBuf(1);
        CheckValid();
        return *this;
    }
    m_strData.ReleaseWriteBuf(PackScan(scan, pBuf));
    if (scan.bRound)
        RoundTo(m_nDbFldScale, scan.nDigits - scan.nExp - 1);
    CheckValid();
    return *this;
}

clsNumDbFld& clsNumDbFld::ParseStr(const CString& str)
{
    return ParseStr(str.c_str());
}

// ---------------------------------------------------------------------------
// Assignment from the built-in types: 0 and 1 copy the global numbers, every
// other value is written as text into a local buffer and parsed, so that the
// number keeps no scratch text that its copies would have to copy.
// ---------------------------------------------------------------------------
namespace {
// Room for the decimal text of any long or ULONG with its sign and NUL.
constexpr int kIntegerTextSize = 24;

template <class T>
const char* IntegerText(T n, char* pBuf)
{
    std::to_chars_result res = std::to_chars(pBuf, pBuf + kIntegerTextSize - 1, n);
    TV_ASSERT(res.ec == std::errc());
    *res.ptr = 0;
    return pBuf;
}
} // namespace

clsNumDbFld& clsNumDbFld::operator=(long n)
{
    if (n == 0)
        return *this = g_numZero;
    if (n == 1)
        return *this = g_numOne;
    char szText[kIntegerTextSize];
    return ParseStr(IntegerText(n, szText));
}

clsNumDbFld& clsNumDbFld::operator=(ULONG n)
{
    if (n == 0)
        return *this = g_numZero;
    if (n == 1)
        return *this = g_numOne;
    char szText[kIntegerTextSize];
    return ParseStr(IntegerText(n, szText));
}

clsNumDbFld& clsNumDbFld::operator=(const double& d)
{
    if (d == 0.0)
        return *this = g_numZero;
    if (d == 1.0)
        return *this = g_numOne;
    clsStrPlus strText;
    strText.AppendDouble(d, m_nDbFldScale);
    return ParseStr(strText);
}

clsNumDbFld::operator const char*() const
{
    m_strText = *this;
    return m_strText;
}

const char* clsNumDbFld::GetRawData() const
{
    CheckValid();
    return m_strData;
}

void clsNumDbFld::SetRawData(const char* pData)
{
    m_strData = pData;
    CheckValid();
}

std::ostream& operator<<(std::ostream& os, const clsNumDbFld& num)
{
    clsStrPlus strText = num.GetText();
    return os << static_cast<const char*>(strText);
}

std::istream& operator>>(std::istream& is, clsNumDbFld& num)
{
    CString strInput;
    is >> strInput;
    num = strInput.c_str();
    return is;
}
