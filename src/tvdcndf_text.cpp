// Text in and out: the parser, the assignments and constructors from the
// built-in types (all through decimal text), raw access to the packed form,
// the stream operators and the global numbers 0 and 1.
#include <new>

#include "tvdcndf.h"

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
// The parser. One pass over the text, writing the packed value straight into
// m_strData's buffer. Positions number the places of the value: the
// significant integer digits take 0, 1, 2, ...; the first decimal place is
// L - S and position L is the first place beyond the scale, whose digit
// decides the rounding.
// ---------------------------------------------------------------------------
clsNumDbFld& clsNumDbFld::ParseStr(const char* psz)
{
    if (!psz || !*psz) {
        m_strData = "";
        CheckValid();
        return *this;
    }
    const int L = m_nDbFldLen;
    const int S = m_nDbFldScale;
    char* pBuf = m_strData.GetWriteBuf((L + 1) / 2 + 3);
    char* pDigitBytes = pBuf + 2;

    bool bNegative = false;
    bool bPoint = false;
    bool bRound = false;
    int nExp = 0;
    int nDigits = 0;
    int nPos = 0;
    int nErr = 0;

    int i = 0;
    while (psz[i] == ' ')
        ++i;
    if (psz[i] == '-') {
        bNegative = true;
        ++i;
    } else if (psz[i] == '+') {
        ++i;
    }
    while (psz[i] == '0')
        ++i;
    if (psz[i] == '.') {
        ++i;
        bPoint = true;
        nExp = -1;
        nPos = L - S;
        // Zeros right after the point, up to and including position L.
        while (psz[i] == '0' && nPos <= L) {
            --nExp;
            ++nPos;
            ++i;
        }
    }

    for (;; ++i) {
        char ch = psz[i];
        if (ch == 0)
            break;
        if (ch >= '0' && ch <= '9') {
            if (nPos >= L - S) {
                if (!bPoint) {
                    nErr = -2053; // an integer digit beyond the capacity
                    break;
                }
                if (nPos > L || (nPos == L && ch < '5'))
                    break; // nothing beyond the scale counts but a rounding digit
                if (nPos == L)
                    bRound = true;
            }
            int nDigit = ch - '0';
            char& chByte = pDigitBytes[nDigits / 2];
            if (nDigits % 2 == 0) {
                chByte = static_cast<char>(10 * nDigit + 10);
            } else {
                int nByte = chByte + nDigit;
                chByte = static_cast<char>(bNegative ? -nByte : nByte);
            }
            ++nDigits;
            ++nPos;
            continue;
        }
        if (ch == '.') {
            if (bPoint) {
                nErr = -2044;
                break;
            }
            bPoint = true;
            nExp = nDigits - 1;
            nPos = L - S;
            continue;
        }
        while (psz[i] == ' ')
            ++i;
        if (psz[i] == 0)
            break;
        nErr = (psz[i] == '+' || psz[i] == '-') ? -2054 : -2045;
        break;
    }
    if (nErr != 0) {
        m_strData.ReleaseWriteBuf(0);
        ThrowUtilException(nErr);
    }

    if (nDigits == 0) {
        pBuf[0] = 'o';
        m_strData.ReleaseWriteBuf(1);
        CheckValid();
        return *this;
    }
    if (!bPoint)
        nExp = nDigits - 1;
    if (nDigits % 2 == 1 && bNegative) {
        char& chByte = pDigitBytes[nDigits / 2];
        chByte = static_cast<char>(-chByte);
    }
    int nBytes = (nDigits + 1) / 2;
    // Two zero digits, in either sign; read as a signed byte whatever the
    // signedness of char.
    while (SignedByte(pDigitBytes[nBytes - 1]) == 10 || SignedByte(pDigitBytes[nBytes - 1]) == -10) {
        --nBytes;
        nDigits -= 2;
    }
    pDigitBytes[nBytes] = 0;
    pBuf[0] = bNegative ? 'n' : 'p';
    pBuf[1] = ExponentByte(nExp, bNegative);
    m_strData.ReleaseWriteBuf(nBytes + 2);
    if (bRound)
        RoundTo(S, nDigits - nExp - 1);
    CheckValid();
    return *this;
}

clsNumDbFld& clsNumDbFld::ParseStr(const CString& str)
{
    return ParseStr(str.c_str());
}

// ---------------------------------------------------------------------------
// Assignment from the built-in types: 0 and 1 copy the global numbers, every
// other value is written as text into m_strWork and parsed.
// ---------------------------------------------------------------------------
clsNumDbFld& clsNumDbFld::operator=(long n)
{
    if (n == 0)
        return *this = g_numZero;
    if (n == 1)
        return *this = g_numOne;
    m_strWork = n;
    return ParseStr(m_strWork);
}

clsNumDbFld& clsNumDbFld::operator=(ULONG n)
{
    if (n == 0)
        return *this = g_numZero;
    if (n == 1)
        return *this = g_numOne;
    m_strWork = n;
    return ParseStr(m_strWork);
}

clsNumDbFld& clsNumDbFld::operator=(const double& d)
{
    if (d == 0.0)
        return *this = g_numZero;
    if (d == 1.0)
        return *this = g_numOne;
    m_strWork = "";
    m_strWork.AppendDouble(d, m_nDbFldScale);
    return ParseStr(m_strWork);
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
