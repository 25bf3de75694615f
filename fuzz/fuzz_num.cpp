// Fuzz target for the number library: arbitrary bytes drive the public
// interface. Four numbers are parsed at lengths and scales taken from the
// input, then a sequence of operations runs on them. Every operation must end
// in a value or a clsUtilException whose code the error table lists as thrown;
// every value is compared with the reference decimal (tests/tv_ref_decimal.h)
// and must pass the cheap invariants: a valid packed form, a text that parses
// back to the same packed form, digit counts that fit the length and scale.
//
// A failed check prints what was expected and aborts, which libFuzzer reports
// as a crash and saves the input. Built with libFuzzer (build.sh) or with a
// plain main that replays files (replay_main.cpp).
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iomanip>
#include <limits>
#include <memory>
#include <sstream>
#include <string>

#include "tv_num_probe.h"
#include "tv_ref_decimal.h"
#include "tvdcndf.h"

using tvref::Dec;

namespace {

// ---------------------------------------------------------------------------
// Failure reporting
// ---------------------------------------------------------------------------
std::string g_strTrace; // the operations of this input so far

[[noreturn]] void FailCheck(const char* pszFile, int nLine, const char* pszCond, const std::string& strDetail)
{
    std::fprintf(stderr, "\n==== fuzz check failed at %s:%d\n  condition: %s\n  detail: %s\n  operations:\n%s\n",
                 pszFile, nLine, pszCond, strDetail.c_str(), g_strTrace.c_str());
    std::fflush(stderr);
    std::abort();
}

#define FUZZ_CHECK(cond, detail)                                  \
    do {                                                          \
        if (!(cond))                                              \
            FailCheck(__FILE__, __LINE__, #cond, (detail));       \
    } while (0)

std::string Quote(const std::string& str)
{
    std::string strOut = "'";
    for (unsigned char ch : str) {
        if (ch >= 32 && ch < 127 && ch != '\\') {
            strOut += static_cast<char>(ch);
        } else {
            char sz[8];
            std::snprintf(sz, sizeof(sz), "\\x%02x", ch);
            strOut += sz;
        }
    }
    return strOut + "'";
}

std::string Num(long long n)
{
    return std::to_string(n);
}

// TV_FUZZ_ECHO=1 prints each operation before it runs, so that a failed
// internal check of the library (which aborts at once) shows its way there.
void Trace(const std::string& str)
{
    static const bool bEcho = std::getenv("TV_FUZZ_ECHO") != nullptr;
    if (bEcho)
        std::fprintf(stderr, "op: %s\n", str.c_str());
    if (g_strTrace.size() < 20000)
        g_strTrace += "    " + str + "\n";
}

// The codes that the library throws (the error table's thrown kind).
bool IsListedCode(int nCode)
{
    return nCode == 2001 || nCode == 2002 || (nCode <= -2043 && nCode >= -2051) ||
           (nCode <= -2053 && nCode >= -2055);
}

// The error line of a thrown code: its message from the table, the same in a
// copy and through GetErrorText.
void CheckMessage(const clsUtilException& e)
{
    std::string strWhat = e.what();
    std::string strPrefix = "Error: " + Num(e.m_nErrCode) + "  ";
    FUZZ_CHECK(strWhat.compare(0, strPrefix.size(), strPrefix) == 0 && strWhat.size() > strPrefix.size() &&
                   strWhat.find("Unknown Error") == std::string::npos,
               "message " + Quote(strWhat));
    clsUtilException copy(e);
    FUZZ_CHECK(strWhat == copy.what(), "the copy's message differs");
    char szBuf[128];
    UINT nExtra = 7;
    FUZZ_CHECK(copy.GetErrorText(szBuf, sizeof(szBuf), &nExtra) == 1 && nExtra == 0 && strWhat == std::string(szBuf),
               "GetErrorText");
    FUZZ_CHECK(copy.GetErrorText(szBuf, 10, nullptr) == 1 && strWhat.substr(0, 9) == std::string(szBuf), "short GetErrorText");
}

// Runs fn; returns 0, or the code of the clsUtilException it threw. Any other
// exception, or a code the table does not list as thrown, is a finding.
template <class F>
int Run(F&& fn)
{
    try {
        fn();
    } catch (const clsUtilException& e) {
        FUZZ_CHECK(IsListedCode(e.m_nErrCode), "unlisted code " + Num(e.m_nErrCode));
        CheckMessage(e);
        return e.m_nErrCode;
    } catch (const std::exception& e) {
        FailCheck(__FILE__, __LINE__, "only clsUtilException", std::string("other exception: ") + e.what());
    } catch (...) {
        FailCheck(__FILE__, __LINE__, "only clsUtilException", "unknown exception");
    }
    return 0;
}

// ---------------------------------------------------------------------------
// Reading the input
// ---------------------------------------------------------------------------
class clsInput {
public:
    clsInput(const uint8_t* pData, size_t nSize) : m_pData(pData), m_nSize(nSize) {}
    bool AtEnd() const { return m_nPos >= m_nSize; }
    uint8_t Byte() { return m_nPos < m_nSize ? m_pData[m_nPos++] : 0; }
    uint64_t Bytes(int nCount)
    {
        uint64_t n = 0;
        for (int i = 0; i < nCount; ++i)
            n = (n << 8) | Byte();
        return n;
    }
    // lo..hi inclusive (a span of at most 65536).
    int Range(int lo, int hi)
    {
        unsigned nSpan = static_cast<unsigned>(hi - lo + 1);
        unsigned n = nSpan > 256 ? static_cast<unsigned>(Bytes(2)) : Byte();
        return lo + static_cast<int>(n % nSpan);
    }

private:
    const uint8_t* m_pData;
    size_t m_nSize;
    size_t m_nPos = 0;
};

// A length 1..100 and a scale 0..length, the extremes often.
void ReadLenScale(clsInput& in, int* pnLen, int* pnScale)
{
    uint8_t b = in.Byte();
    int nLen = b >= 240 ? (b >= 248 ? 100 : 1 + (b & 3)) : 1 + b % 100;
    uint8_t c = in.Byte();
    int nScale = c >= 240 ? (c >= 248 ? nLen : 0) : c % (nLen + 1);
    *pnLen = nLen;
    *pnScale = nScale;
}

std::string Digits(clsInput& in, int nCount)
{
    std::string str;
    for (int i = 0; i < nCount; ++i)
        str += static_cast<char>('0' + in.Byte() % 10);
    return str;
}

// A text: raw bytes, characters of numbers in any order, a well-formed number
// of up to 120 + 120 digits, or a number that sits on a rounding or capacity edge.
std::string ReadText(clsInput& in)
{
    uint8_t b = in.Byte();
    int nMode = b >> 6;
    int nLen = b & 63;
    if (nLen == 63)
        nLen += in.Byte();
    std::string str;
    switch (nMode) {
    case 0:
        for (int i = 0; i < nLen; ++i)
            str += static_cast<char>(in.Byte());
        break;
    case 1: {
        static const char kAlphabet[] = "01234567890123456789012345678999.-+  .5xe\t";
        for (int i = 0; i < nLen; ++i)
            str += kAlphabet[in.Byte() % (sizeof(kAlphabet) - 1)];
        break;
    }
    case 2: {
        uint8_t f = in.Byte();
        str += std::string(f & 3, ' ');
        str += (f >> 2) % 3 == 0 ? "" : ((f >> 2) % 3 == 1 ? "-" : "+");
        str += std::string((f >> 4) & 3, '0');
        str += Digits(in, nLen % 121);
        if (f & 0x40) {
            str += '.';
            str += Digits(in, in.Byte() % 121);
        }
        if (f & 0x80)
            str += ' ';
        break;
    }
    default: {
        // nines, a one and zeros, a half at some place: the carries and the capacity.
        uint8_t f = in.Byte();
        int nInt = nLen % 102;
        int nDec = in.Byte() % 102;
        if (f & 1)
            str += '-';
        switch ((f >> 1) % 4) {
        case 0:
            str += std::string(nInt, '9');
            if (nDec)
                str += "." + std::string(nDec, '9');
            break;
        case 1:
            str += "1" + std::string(nInt, '0');
            break;
        case 2:
            str += "0." + std::string(nDec, '0') + static_cast<char>('4' + (f >> 3) % 2);
            break;
        default:
            str += std::string(nInt, '9') + "." + std::string(nDec, '9') + static_cast<char>('4' + (f >> 3) % 2);
            break;
        }
        break;
    }
    }
    return str;
}

long long ReadInteger(clsInput& in)
{
    static const long long kEdges[] = {0,           1,           -1,          2,
                                       10,          -10,         32767,       32768,
                                       -32768,      -32769,      65535,       65536,
                                       2147483647,  2147483648LL, -2147483647, -2147483648LL,
                                       4294967295LL, 4294967296LL, std::numeric_limits<long long>::max(),
                                       std::numeric_limits<long long>::min(), 999999999999LL};
    uint8_t b = in.Byte();
    if (b < 96)
        return static_cast<long long>(b) - 40;
    if (b < 160)
        return kEdges[b % (sizeof(kEdges) / sizeof(kEdges[0]))];
    if (b < 208)
        return static_cast<int32_t>(static_cast<uint32_t>(in.Bytes(4)));
    return static_cast<long long>(in.Bytes(8));
}

double ReadDouble(clsInput& in)
{
    static const double kEdges[] = {0.0,     -0.0,   1.0,     -1.0,   0.5,    2.675,  1e30,
                                    1e29,    -1e31,  1e-9,    5e-9,   1.5e-8, 123.456, 99999999.995,
                                    1e300,   -1e300, 4.9e-324, 1.7976931348623157e308,
                                    std::numeric_limits<double>::quiet_NaN(),
                                    std::numeric_limits<double>::infinity(),
                                    -std::numeric_limits<double>::infinity()};
    uint8_t b = in.Byte();
    if (b < 80)
        return (static_cast<int>(b) - 40) / 4.0;
    if (b < 160)
        return kEdges[b % (sizeof(kEdges) / sizeof(kEdges[0]))];
    uint64_t nBits = in.Bytes(8);
    double d = 0;
    std::memcpy(&d, &nBits, sizeof(d));
    return d;
}

int ReadPower(clsInput& in)
{
    uint8_t b = in.Byte();
    if (b < 200)
        return static_cast<int>(b % 60) - 15;
    static const int kEdges[] = {std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                                 std::numeric_limits<int>::min() + 1, 1 << 30, -(1 << 30), 1000, -1000,
                                 65536};
    if (b < 240)
        return kEdges[b % (sizeof(kEdges) / sizeof(kEdges[0]))];
    return static_cast<int>(static_cast<uint32_t>(in.Bytes(4)));
}

// ---------------------------------------------------------------------------
// The numbers and what the reference says they hold
// ---------------------------------------------------------------------------
struct Slot {
    std::unique_ptr<clsNumDbFld> ptrNum;
    int nLen = 38;
    int nScale = 8;
    Dec dec = tvref::Null();
};

const int kSlots = 4;
int g_nDefLen = 38;
int g_nDefScale = 8;

std::string Describe(const Slot& s)
{
    return "(" + Num(s.nLen) + "," + Num(s.nScale) + ") " + Quote(tvref::Text(s.dec));
}

Dec DecOf(const clsNumDbFld& num)
{
    Dec d;
    std::string strText(static_cast<const char*>(num.GetText()));
    FUZZ_CHECK(tvref::ParseClean(strText, &d), "text form " + Quote(strText) + " is no number");
    return d;
}

// Every invariant of a number that the reference predicts as s.dec at
// (s.nLen, s.nScale).
void Verify(const Slot& s, const char* pszWhere)
{
    const clsNumDbFld& num = *s.ptrNum;
    std::string strWhere = std::string(pszWhere) + ": expected " + Describe(s);
    int nLen = NumProbe::Len(num), nScale = NumProbe::Scale(num);
    FUZZ_CHECK(nLen == s.nLen && nScale == s.nScale, strWhere + ", got length " + Num(nLen) + " scale " + Num(nScale));
    FUZZ_CHECK(nLen >= 1 && nLen <= MAX_NumDbFldLen && nScale >= 0 && nScale <= nLen, strWhere);

    std::string strRaw = num.GetRawData(); // validates the packed form
    std::string strText(static_cast<const char*>(num.GetText()));
    std::string strExpected = tvref::Text(s.dec);
    FUZZ_CHECK(strText == strExpected, strWhere + ", got " + Quote(strText));
    FUZZ_CHECK(std::string(static_cast<const char*>(num)) == strText, strWhere);
    CString strConverted = num;
    FUZZ_CHECK(strConverted == strText, strWhere);
    FUZZ_CHECK(std::string(static_cast<const char*>(clsStrPlus(num))) == strText, strWhere);
    FUZZ_CHECK(strRaw.empty() == s.dec.bNull, strWhere + ", null differs from the packed form");

    // The text parses back to the same packed form at the same length and scale.
    clsNumDbFld numBack(nLen, nScale);
    int nCode = Run([&] { numBack = strText.c_str(); });
    FUZZ_CHECK(nCode == 0, strWhere + ", reparse threw " + Num(nCode));
    FUZZ_CHECK(std::string(numBack.GetRawData()) == strRaw, strWhere + ", reparse gives another packed form");

    // Digit counts: they fit the length and scale.
    int nCurNumLen = -1, nCurScale = -1;
    num.GetCurNumLenScale(&nCurNumLen, &nCurScale);
    FUZZ_CHECK(nCurScale == tvref::Decimals(s.dec) && nCurNumLen - nCurScale == tvref::IntDigits(s.dec),
               strWhere + ", digit counts " + Num(nCurNumLen) + "," + Num(nCurScale));
    FUZZ_CHECK(num.GetCurScale() == nCurScale && num.GetCurNumLen() == nCurNumLen &&
                   num.GetCurIntLen() == nCurNumLen - nCurScale,
               strWhere);
    FUZZ_CHECK(nCurScale <= nScale && nCurNumLen - nCurScale <= nLen - nScale, strWhere + ", does not fit");
    FUZZ_CHECK(num.GetIntLen() == nLen - nScale, strWhere);
    FUZZ_CHECK((num.IsZero() != 0) == tvref::IsZero(s.dec), strWhere);
    FUZZ_CHECK((num.IsNotNegative() != 0) == !s.dec.bNeg, strWhere);
    if (!tvref::IsZero(s.dec))
        FUZZ_CHECK(num.GetExponent() == tvref::Exponent(s.dec), strWhere);
}

// ---------------------------------------------------------------------------
// What the library must do, in terms of the reference
// ---------------------------------------------------------------------------

// Storing an exact value in a number of (nLen, nScale) (assignment between
// numbers, and the end of every arithmetic operation): integer digits that do
// not fit give -2053 and keep the old value; the value is rounded half away
// from zero to the scale, and a carry that does not fit gives -2053 and null.
int StoreModel(const Dec& exact, int nLen, int nScale, Dec* pVal)
{
    return tvref::StoreValue(exact, nLen, nScale, pVal);
}

// Parsing a text whose exact value is known: the same, but any failure leaves null.
int ParseModel(const Dec& exact, int nLen, int nScale, Dec* pVal)
{
    int nCode = StoreModel(exact, nLen, nScale, pVal);
    if (nCode != 0)
        *pVal = tvref::Null();
    return nCode;
}

// Parsing any text: the value, or the code of a text that is no number; every
// failure leaves null.
int TextModel(const std::string& strText, int nLen, int nScale, Dec* pVal)
{
    return tvref::ParseValue(strText, nLen, nScale, pVal);
}

// Assignment from an integer: 0 and 1 copy the global numbers (a 1 that does
// not fit keeps the old value); others go through their text.
int AssignIntModel(const Dec& v, int nLen, int nScale, Dec* pVal)
{
    if (tvref::IsZero(v)) {
        *pVal = tvref::Zero();
        return 0;
    }
    if (tvref::Cmp(v, tvref::FromInt(1)) == 0)
        return StoreModel(v, nLen, nScale, pVal);
    return ParseModel(v, nLen, nScale, pVal);
}

std::string DoubleText(double d, int nDecimals)
{
    char sz[640];
    std::snprintf(sz, sizeof(sz), "%.*f", nDecimals, d);
    return sz;
}

int AssignDoubleModel(double d, int nLen, int nScale, Dec* pVal)
{
    if (d == 0.0)
        return AssignIntModel(tvref::Zero(), nLen, nScale, pVal);
    if (d == 1.0)
        return AssignIntModel(tvref::FromInt(1), nLen, nScale, pVal);
    Dec exact;
    if (!tvref::ParseClean(DoubleText(d, nScale), &exact)) {
        *pVal = tvref::Null();
        return -2045; // NaN and infinities
    }
    return ParseModel(exact, nLen, nScale, pVal);
}

// Compound operations: a op= b with a at (nLen, nScale).
enum { CO_Add, CO_Sub, CO_Mul, CO_Div, CO_Mod, CO_Count };
const char* const kCompoundNames[] = {"+=", "-=", "*=", "/=", "%="};

int CompoundModel(int nOp, const Dec& a, const Dec& b, int nLen, int nScale, Dec* pVal)
{
    *pVal = a;
    switch (nOp) {
    case CO_Add:
        return tvref::IsZero(b) ? 0 : StoreModel(tvref::Add(a, b), nLen, nScale, pVal);
    case CO_Sub:
        return tvref::IsZero(b) ? 0 : StoreModel(tvref::Sub(a, b), nLen, nScale, pVal);
    case CO_Mul:
        if (tvref::IsZero(a))
            return 0;
        if (tvref::IsZero(b)) {
            *pVal = b;
            return 0;
        }
        return StoreModel(tvref::Mul(a, b), nLen, nScale, pVal);
    default:
        if (tvref::IsZero(b))
            return -2046;
        if (tvref::IsZero(a))
            return 0;
        if (tvref::Exponent(a) - tvref::Exponent(b) >= nLen - nScale)
            return -2053;
        if (nOp == CO_Div)
            return StoreModel(tvref::DivTrunc(a, b, nScale + 1), nLen, nScale, pVal);
        return StoreModel(tvref::Rem(a, b), nLen, nScale, pVal);
    }
}

int ApplyCompound(int nOp, clsNumDbFld& a, const clsNumDbFld& b)
{
    return Run([&] {
        clsNumDbFld* pRet = nullptr;
        switch (nOp) {
        case CO_Add: pRet = &(a += b); break;
        case CO_Sub: pRet = &(a -= b); break;
        case CO_Mul: pRet = &(a *= b); break;
        case CO_Div: pRet = &(a /= b); break;
        default: pRet = &(a %= b); break;
        }
        FUZZ_CHECK(pRet == &a, "compound operator returns another object");
    });
}

// The precision of a two-operand operator's result.
void BinaryPrecision(const Slot& a, int nLenB, int nScaleB, int* pnLen, int* pnScale)
{
    int d = (a.nLen - a.nScale) - (nLenB - nScaleB);
    if (d == 0)
        d = a.nScale >= nScaleB ? 1 : -1;
    *pnLen = d > 0 ? a.nLen : nLenB;
    *pnScale = d > 0 ? a.nScale : nScaleB;
}

int BinaryModel(int nOp, const Dec& a, const Dec& b, int nLen, int nScale, Dec* pVal)
{
    Dec left = tvref::Null();
    int nCode = StoreModel(a, nLen, nScale, &left);
    if (nCode != 0)
        return nCode;
    return CompoundModel(nOp, left, b, nLen, nScale, pVal);
}

// ---------------------------------------------------------------------------
// The operations
// ---------------------------------------------------------------------------
class clsFuzzRun {
public:
    explicit clsFuzzRun(clsInput& in) : m_in(in) {}
    void Go();

private:
    Slot& PickSlot() { return m_aSlots[m_in.Byte() % kSlots]; }
    int PickIndex() { return m_in.Byte() % kSlots; }
    void Replace(Slot& s, const clsNumDbFld& num, int nLen, int nScale, const Dec& d, const char* pszWhere)
    {
        s.ptrNum.reset(new clsNumDbFld(num));
        s.nLen = nLen;
        s.nScale = nScale;
        s.dec = d;
        Verify(s, pszWhere);
    }
    // After an outcome the reference does not settle: the number must still
    // be sound; the reference takes its value over.
    void Resync(Slot& s, const char* pszWhere)
    {
        s.nLen = NumProbe::Len(*s.ptrNum);
        s.nScale = NumProbe::Scale(*s.ptrNum);
        s.dec = DecOf(*s.ptrNum);
        Verify(s, pszWhere);
    }

    void OpParse(Slot& s, const std::string& strText);
    void OpSetLenScale();
    void OpRound();
    void OpAssign();
    void OpCompound();
    void OpBinary();
    void OpIntOperand();
    void OpDivide();
    void OpPow();
    void OpIncDec();
    void OpUnary();
    void OpParts();
    void OpConvert();
    void OpCompareValue();
    void OpCompareNumbers();
    void OpStreams();
    void OpDefaults();
    void OpConstruct();
    void OpAssignValue();
    void CheckRawText(const std::string& strText);

    clsInput& m_in;
    Slot m_aSlots[kSlots];
};

void clsFuzzRun::OpParse(Slot& s, const std::string& strText)
{
    int nForm = m_in.Byte() % 4;
    Trace("parse " + Quote(strText) + " at (" + Num(s.nLen) + "," + Num(s.nScale) + ") form " + Num(nForm));
    clsNumDbFld& num = *s.ptrNum;
    int nCode = Run([&] {
        clsNumDbFld* pRet = nullptr;
        switch (nForm) {
        case 0: pRet = &num.ParseStr(strText.c_str()); break;
        case 1: pRet = &num.ParseStr(CString(strText.c_str())); break;
        case 2: pRet = &(num = strText.c_str()); break;
        default: pRet = &(num = CString(strText.c_str())); break;
        }
        FUZZ_CHECK(pRet == &num, "parse returns another object");
    });
    std::string strC(strText.c_str()); // the text up to its first NUL
    Dec d;
    int nExpected = TextModel(strC, s.nLen, s.nScale, &d);
    FUZZ_CHECK(nCode == nExpected, "parse " + Quote(strC) + " threw " + Num(nCode) + ", expected " +
                                       Num(nExpected) + " " + Quote(tvref::Text(d)));
    s.dec = d;
    Verify(s, nCode == 0 ? "parse" : "failed parse");
}

void clsFuzzRun::OpSetLenScale()
{
    Slot& s = PickSlot();
    int nLen = m_in.Range(-3, 103);
    int nScale = m_in.Range(-3, 103);
    Trace("SetLenScale(" + Num(nLen) + "," + Num(nScale) + ") on " + Describe(s));
    int nExpected = 0;
    Dec d = s.dec;
    int nNewLen = nLen == -1 ? s.nLen : nLen;
    int nNewScale = nScale == -1 ? s.nScale : nScale;
    if (nLen != -1 && (nLen < 1 || nLen > MAX_NumDbFldLen))
        nExpected = 2001;
    else if (nScale != -1 && (nScale < 0 || nScale > nNewLen))
        nExpected = 2001;
    else if (nNewLen - nNewScale < s.nLen - s.nScale && tvref::IntDigits(d) > nNewLen - nNewScale)
        nExpected = -2053;
    bool bApplied = nExpected == 0; // the new length and scale are taken
    if (bApplied) {
        // Rounding to a smaller scale; a carry that does not fit leaves null.
        d = tvref::Round(d, nNewScale);
        if (!tvref::Fits(d, nNewLen - nNewScale)) {
            d = tvref::Null();
            nExpected = -2053;
        }
    }
    int nCode = Run([&] { s.ptrNum->SetLenScale(nLen, nScale); });
    FUZZ_CHECK(nCode == nExpected, "SetLenScale threw " + Num(nCode) + ", expected " + Num(nExpected));
    if (bApplied) {
        s.nLen = nNewLen;
        s.nScale = nNewScale;
        s.dec = d;
    }
    Verify(s, "SetLenScale");
}

void clsFuzzRun::OpRound()
{
    Slot& s = PickSlot();
    int nScale = m_in.Range(-3, 103);
    Trace("Round(" + Num(nScale) + ") on " + Describe(s));
    int nEff = nScale < 0 || nScale > s.nScale ? s.nScale : nScale;
    Dec d = tvref::Round(s.dec, nEff);
    int nExpected = 0;
    if (!tvref::Fits(d, s.nLen - s.nScale)) {
        d = tvref::Null();
        nExpected = -2053;
    }
    int nCode = Run([&] { s.ptrNum->Round(nScale); });
    FUZZ_CHECK(nCode == nExpected, "Round threw " + Num(nCode) + ", expected " + Num(nExpected));
    s.dec = d;
    Verify(s, "Round");
}

void clsFuzzRun::OpAssign()
{
    Slot& s = PickSlot();
    const Slot& o = PickSlot();
    Trace("assign " + Describe(o) + " to " + Describe(s));
    Dec d = s.dec;
    int nExpected = &s == &o ? 0 : StoreModel(o.dec, s.nLen, s.nScale, &d);
    int nCode = Run([&] {
        clsNumDbFld* pRet = &(*s.ptrNum = *o.ptrNum);
        FUZZ_CHECK(pRet == s.ptrNum.get(), "assignment returns another object");
    });
    FUZZ_CHECK(nCode == nExpected, "assignment threw " + Num(nCode) + ", expected " + Num(nExpected));
    s.dec = d;
    Verify(s, "assignment");
}

void clsFuzzRun::OpCompound()
{
    int nOp = m_in.Byte() % CO_Count;
    Slot& s = PickSlot();
    const Slot& o = PickSlot();
    Trace(Describe(s) + " " + kCompoundNames[nOp] + " " + Describe(o));
    Dec a = s.dec, b = o.dec;
    Dec d;
    int nExpected = CompoundModel(nOp, a, b, s.nLen, s.nScale, &d);
    int nCode = ApplyCompound(nOp, *s.ptrNum, *o.ptrNum);
    FUZZ_CHECK(nCode == nExpected, std::string(kCompoundNames[nOp]) + " threw " + Num(nCode) + ", expected " +
                                       Num(nExpected) + " " + Quote(tvref::Text(d)));
    s.dec = d;
    Verify(s, kCompoundNames[nOp]);
    if (&s != &o)
        Verify(o, "other operand");

    // a + b - b gives a back when nothing rounds (and a - b + b likewise).
    if (nCode == 0 && (nOp == CO_Add || nOp == CO_Sub) && &s != &o && tvref::Decimals(b) <= s.nScale &&
        !tvref::IsZero(b)) {
        clsNumDbFld numBack(*s.ptrNum);
        int nBack = ApplyCompound(nOp == CO_Add ? CO_Sub : CO_Add, numBack, *o.ptrNum);
        FUZZ_CHECK(nBack == 0, "undoing " + std::string(kCompoundNames[nOp]) + " threw " + Num(nBack));
        FUZZ_CHECK(tvref::Cmp(DecOf(numBack), a) == 0,
                   "undoing " + std::string(kCompoundNames[nOp]) + " gives " + Quote(tvref::Text(DecOf(numBack))));
    }
}

void clsFuzzRun::OpBinary()
{
    int nOp = m_in.Byte() % (CO_Count + 1);
    const Slot& a = PickSlot();
    const Slot& b = PickSlot();
    Slot& r = PickSlot();
    if (nOp == CO_Count) {
        // DoBinaryOp with any code: only -114..-109 but -112 are operations.
        int nCodeOp = m_in.Range(-117, -106);
        Trace("DoBinaryOp(" + Describe(a) + ", " + Describe(b) + ", " + Num(nCodeOp) + ")");
        int nLen, nScale;
        BinaryPrecision(a, b.nLen, b.nScale, &nLen, &nScale);
        // OP_Add, OP_Subtract, -112, OP_Multiply, OP_Modulo, OP_Divide
        static const int kCompound[] = {CO_Add, CO_Sub, -1, CO_Mul, CO_Mod, CO_Div};
        int nIdx = nCodeOp + 114;
        Dec d;
        int nExpected = 2001;
        if (nIdx >= 0 && nIdx < 6 && kCompound[nIdx] >= 0)
            nExpected = BinaryModel(kCompound[nIdx], a.dec, b.dec, nLen, nScale, &d);
        std::unique_ptr<clsNumDbFld> ptrRes;
        int nCode = Run([&] { ptrRes.reset(new clsNumDbFld(DoBinaryOp(*a.ptrNum, *b.ptrNum, nCodeOp))); });
        FUZZ_CHECK(nCode == nExpected, "DoBinaryOp threw " + Num(nCode) + ", expected " + Num(nExpected));
        if (nCode == 0)
            Replace(r, *ptrRes, nLen, nScale, d, "DoBinaryOp");
        return;
    }
    static const char* const kNames[] = {"+", "-", "*", "/", "%"};
    Trace(Describe(a) + " " + kNames[nOp] + " " + Describe(b));
    int nLen, nScale;
    BinaryPrecision(a, b.nLen, b.nScale, &nLen, &nScale);
    Dec d;
    int nExpected = BinaryModel(nOp, a.dec, b.dec, nLen, nScale, &d);
    std::unique_ptr<clsNumDbFld> ptrRes;
    const clsNumDbFld& x = *a.ptrNum;
    const clsNumDbFld& y = *b.ptrNum;
    int nCode = Run([&] {
        switch (nOp) {
        case CO_Add: ptrRes.reset(new clsNumDbFld(x + y)); break;
        case CO_Sub: ptrRes.reset(new clsNumDbFld(x - y)); break;
        case CO_Mul: ptrRes.reset(new clsNumDbFld(x * y)); break;
        case CO_Div: ptrRes.reset(new clsNumDbFld(x / y)); break;
        default: ptrRes.reset(new clsNumDbFld(x % y)); break;
        }
    });
    FUZZ_CHECK(nCode == nExpected, std::string(kNames[nOp]) + " threw " + Num(nCode) + ", expected " +
                                       Num(nExpected) + " " + Quote(tvref::Text(d)));
    Verify(a, "left operand");
    Verify(b, "right operand");
    if (nCode == 0)
        Replace(r, *ptrRes, nLen, nScale, d, kNames[nOp]);
}

void clsFuzzRun::OpIntOperand()
{
    int nOp = m_in.Byte() % 3;
    const Slot& a = PickSlot();
    Slot& r = PickSlot();
    int n = static_cast<int>(ReadInteger(m_in));
    static const char* const kNames[] = {"+", "*", "/"};
    static const int kCompound[] = {CO_Add, CO_Mul, CO_Div};
    Trace(Describe(a) + " " + kNames[nOp] + " int " + Num(n) + " (defaults " + Num(g_nDefLen) + "," +
          Num(g_nDefScale) + ")");
    Dec b;
    int nExpected = AssignIntModel(tvref::FromInt(n), g_nDefLen, g_nDefScale, &b);
    int nLen, nScale;
    BinaryPrecision(a, g_nDefLen, g_nDefScale, &nLen, &nScale);
    Dec d;
    if (nExpected == 0)
        nExpected = BinaryModel(kCompound[nOp], a.dec, b, nLen, nScale, &d);
    std::unique_ptr<clsNumDbFld> ptrRes;
    const clsNumDbFld& x = *a.ptrNum;
    int nCode = Run([&] {
        switch (nOp) {
        case 0: ptrRes.reset(new clsNumDbFld(x + n)); break;
        case 1: ptrRes.reset(new clsNumDbFld(x * n)); break;
        default: ptrRes.reset(new clsNumDbFld(x / n)); break;
        }
    });
    FUZZ_CHECK(nCode == nExpected, std::string(kNames[nOp]) + " int threw " + Num(nCode) + ", expected " +
                                       Num(nExpected) + " " + Quote(tvref::Text(d)));
    if (nCode == 0)
        Replace(r, *ptrRes, nLen, nScale, d, "operator with int");
}

void clsFuzzRun::OpDivide()
{
    Slot& a = PickSlot();
    const Slot& b = PickSlot();
    uint8_t f = m_in.Byte();
    int nQ = f & 7;       // 4 or more: no quotient
    int nR = (f >> 3) & 7; // 4 or more: no remainder
    Slot* pQ = nQ < kSlots ? &m_aSlots[nQ] : nullptr;
    Slot* pR = nR < kSlots ? &m_aSlots[nR] : nullptr;
    Trace("Divide " + Describe(a) + " by " + Describe(b) + " into " + (pQ ? Num(nQ) : "null") + ", " +
          (pR ? Num(nR) : "null"));
    Dec aDec = a.dec, bDec = b.dec;
    int nExpected = 0;
    Dec dQ = pQ ? pQ->dec : Dec(), dR = pR ? pR->dec : Dec();
    bool bSettled = true;
    Dec exactR = tvref::Null();
    if (!pQ) {
        nExpected = 2002;
    } else if (pQ == pR) {
        nExpected = 2001;
    } else if (tvref::IsZero(bDec)) {
        nExpected = -2046;
    } else if (tvref::IsZero(aDec)) {
        if (pR)
            nExpected = StoreModel(aDec, pR->nLen, pR->nScale, &dR);
        if (nExpected == 0)
            nExpected = StoreModel(aDec, pQ->nLen, pQ->nScale, &dQ);
    } else if (tvref::Exponent(aDec) - tvref::Exponent(bDec) >= a.nLen - a.nScale) {
        nExpected = -2053;
    } else {
        // The remainder is stored first; which targets change when a store
        // fails is not modelled.
        exactR = tvref::Rem(aDec, bDec);
        if (pR)
            nExpected = StoreModel(exactR, pR->nLen, pR->nScale, &dR);
        if (nExpected == 0)
            nExpected = StoreModel(tvref::DivTrunc(aDec, bDec, 0), pQ->nLen, pQ->nScale, &dQ);
        bSettled = nExpected == 0;
    }
    clsNumDbFld* pNumQ = pQ ? pQ->ptrNum.get() : nullptr;
    clsNumDbFld* pNumR = pR ? pR->ptrNum.get() : nullptr;
    int nCode = Run([&] { a.ptrNum->Divide(*b.ptrNum, pNumQ, pNumR); });
    FUZZ_CHECK(nCode == nExpected, "Divide threw " + Num(nCode) + ", expected " + Num(nExpected) + " quotient " +
                                       Quote(tvref::Text(dQ)) + " remainder " + Quote(tvref::Text(dR)));
    if (!bSettled || (nCode != 0 && nCode != 2001 && nCode != 2002 && nCode != -2046)) {
        for (Slot& s : m_aSlots)
            Resync(s, "Divide failed");
        return;
    }
    if (nCode == 0) {
        if (pR)
            pR->dec = dR;
        pQ->dec = dQ;
    }
    for (const Slot& s : m_aSlots)
        Verify(s, "Divide");
    if (nCode == 0 && !tvref::IsZero(aDec)) {
        // The quotient has no decimals; a remainder stored without rounding
        // lies below the divisor and has the dividend's sign.
        FUZZ_CHECK(tvref::Decimals(dQ) == 0, "Divide quotient has decimals");
        if (pR && tvref::Cmp(dR, exactR) == 0)
            FUZZ_CHECK(tvref::CmpMag(dR, bDec) < 0 && (tvref::IsZero(dR) || dR.bNeg == aDec.bNeg),
                       "Divide remainder out of range");
    }
}

void clsFuzzRun::OpPow()
{
    const Slot& a = PickSlot();
    Slot& r = PickSlot();
    int n = ReadPower(m_in);
    Trace("Pow(" + Num(n) + ") of " + Describe(a));
    int nLen = a.nLen, nScale = a.nScale;
    Dec d;
    int nExpected = 0;
    bool bModelled = true;
    auto MulStore = [](const Dec& x, const Dec& y, int nL, int nS, Dec* pOut) {
        return CompoundModel(CO_Mul, x, y, nL, nS, pOut);
    };
    if (n == 0) {
        d = tvref::FromInt(1);
        nLen = 38;
        nScale = 8;
    } else if (tvref::IsZero(a.dec)) {
        if (n < 0)
            nExpected = -2055;
        else
            d = a.dec;
    } else if (n == std::numeric_limits<int>::min()) {
        bModelled = false; // its magnitude is no int: any listed outcome
    } else {
        int nTmpLen = nLen == nScale ? nLen + 1 : nLen;
        Dec tmp = tvref::FromInt(1);
        Dec acc = a.dec;
        long long m = n;
        if (m < 0) {
            // 1 / base at the precision of the one (it has the larger or equal capacity).
            Dec q;
            nExpected = BinaryModel(CO_Div, tmp, a.dec, nTmpLen, nScale, &q);
            if (nExpected == 0)
                nExpected = StoreModel(q, nLen, nScale, &acc);
            m = -m;
        }
        while (nExpected == 0 && m != 1) {
            if (m & 1)
                nExpected = MulStore(tmp, acc, nTmpLen, nScale, &tmp);
            if (nExpected == 0)
                nExpected = MulStore(acc, acc, nLen, nScale, &acc);
            m >>= 1;
        }
        if (nExpected == 0)
            nExpected = MulStore(acc, tmp, nLen, nScale, &acc);
        d = acc;
    }
    std::unique_ptr<clsNumDbFld> ptrRes;
    int nCode = Run([&] { ptrRes.reset(new clsNumDbFld(a.ptrNum->Pow(n))); });
    Verify(a, "Pow base");
    if (!bModelled) {
        if (nCode == 0) {
            r.ptrNum.reset(new clsNumDbFld(*ptrRes));
            Resync(r, "Pow(INT_MIN)");
        }
        return;
    }
    FUZZ_CHECK(nCode == nExpected, "Pow threw " + Num(nCode) + ", expected " + Num(nExpected) + " " +
                                       Quote(tvref::Text(d)));
    if (nCode == 0)
        Replace(r, *ptrRes, nLen, nScale, d, "Pow");
}

void clsFuzzRun::OpIncDec()
{
    int nForm = m_in.Byte() % 4;
    Slot& s = PickSlot();
    static const char* const kNames[] = {"++x", "--x", "x++", "x--"};
    Trace(std::string(kNames[nForm]) + " on " + Describe(s));
    Dec one = tvref::FromInt(1);
    Dec old = s.dec;
    Dec d = s.dec;
    int nExpected = 0;
    if (nForm < 2) {
        // The prefix forms add a number built from the int 1 at the defaults.
        Dec tmp;
        nExpected = AssignIntModel(one, g_nDefLen, g_nDefScale, &tmp);
    }
    if (nExpected == 0)
        nExpected = CompoundModel(nForm % 2 == 0 ? CO_Add : CO_Sub, s.dec, one, s.nLen, s.nScale, &d);
    clsNumDbFld& num = *s.ptrNum;
    std::unique_ptr<clsNumDbFld> ptrOld;
    int nCode = Run([&] {
        switch (nForm) {
        case 0: FUZZ_CHECK(&++num == &num, "prefix ++ returns another object"); break;
        case 1: FUZZ_CHECK(&--num == &num, "prefix -- returns another object"); break;
        case 2: ptrOld.reset(new clsNumDbFld(num++)); break;
        default: ptrOld.reset(new clsNumDbFld(num--)); break;
        }
    });
    FUZZ_CHECK(nCode == nExpected, std::string(kNames[nForm]) + " threw " + Num(nCode) + ", expected " +
                                       Num(nExpected));
    s.dec = d;
    Verify(s, kNames[nForm]);
    if (ptrOld) {
        FUZZ_CHECK(std::string(static_cast<const char*>(ptrOld->GetText())) == tvref::Text(old),
                   "postfix result is not the old value");
        FUZZ_CHECK(NumProbe::Len(*ptrOld) == s.nLen && NumProbe::Scale(*ptrOld) == s.nScale, "postfix precision");
    }
}

void clsFuzzRun::OpUnary()
{
    int nForm = m_in.Byte() % 3;
    const Slot& a = PickSlot();
    Slot& r = PickSlot();
    Trace(std::string(nForm == 0 ? "-x" : (nForm == 1 ? "abs" : "+x")) + " of " + Describe(a));
    const clsNumDbFld& x = *a.ptrNum;
    if (nForm == 2) {
        FUZZ_CHECK(&+x == &x, "unary plus is not the number itself");
        return;
    }
    std::unique_ptr<clsNumDbFld> ptrRes;
    int nCode = Run([&] { ptrRes.reset(new clsNumDbFld(nForm == 0 ? -x : x.abs())); });
    FUZZ_CHECK(nCode == 0, "unary operator threw " + Num(nCode));
    Verify(a, "unary operand");
    Replace(r, *ptrRes, a.nLen, a.nScale, nForm == 0 ? tvref::Neg(a.dec) : tvref::Abs(a.dec), "unary");
}

void clsFuzzRun::OpParts()
{
    bool bInteger = m_in.Byte() & 1;
    const Slot& a = PickSlot();
    Slot& r = PickSlot();
    Trace(std::string(bInteger ? "GetIntegerPart" : "GetDecimalPart") + " of " + Describe(a));
    int nLen = a.nLen, nScale = a.nScale;
    Dec d = a.dec;
    bool bBelowOne = !tvref::IsZero(a.dec) && tvref::Exponent(a.dec) < 0;
    if (bInteger) {
        if (bBelowOne) {
            d = tvref::Zero();
            nLen = 38;
            nScale = 8;
        } else {
            d = tvref::Trunc(a.dec);
        }
    } else if (!tvref::IsZero(a.dec) && !bBelowOne) {
        d = tvref::Sub(a.dec, tvref::Trunc(a.dec));
    }
    std::unique_ptr<clsNumDbFld> ptrRes;
    int nCode = Run([&] {
        ptrRes.reset(new clsNumDbFld(bInteger ? a.ptrNum->GetIntegerPart() : a.ptrNum->GetDecimalPart()));
    });
    FUZZ_CHECK(nCode == 0, "integer or decimal part threw " + Num(nCode));
    Verify(a, "part operand");
    Replace(r, *ptrRes, nLen, nScale, d, bInteger ? "GetIntegerPart" : "GetDecimalPart");
}

// What a conversion to an integer type gives for a text form: the code, or 0
// and the value. Texts over the whole range pass through the 32-bit bounds.
int ConvertModel(const Dec& d, bool bUnsigned, long long nMin, long long nMax, long long* pnValue)
{
    *pnValue = 0;
    if (tvref::IsZero(d))
        return 0;
    if (bUnsigned && d.bNeg)
        return -2047;
    Dec intPart = tvref::Trunc(d);
    if (tvref::CmpMag(intPart, tvref::FromInt(bUnsigned ? 4294967295LL : 2147483647LL)) > 0)
        return bUnsigned ? -2051 : -2050;
    if (tvref::Decimals(d) > 0)
        return -2044;
    long long n = std::stoll(tvref::Text(d));
    if (n < nMin || n > nMax)
        return bUnsigned ? -2049 : -2048;
    *pnValue = n;
    return 0;
}

void clsFuzzRun::OpConvert()
{
    const Slot& s = PickSlot();
    Trace("conversions of " + Describe(s));
    const clsNumDbFld& num = *s.ptrNum;
    struct Case {
        const char* pszName;
        bool bUnsigned;
        long long nMin, nMax;
    };
    static const Case kCases[] = {
        {"short", false, -32768, 32767},          {"USHORT", true, 0, 65535},
        {"int", false, -2147483647, 2147483647},  {"UINT", true, 0, 4294967295LL},
        {"long", false, -2147483647, 2147483647}, {"ULONG", true, 0, 4294967295LL},
    };
    for (int i = 0; i < 6; ++i) {
        const Case& c = kCases[i];
        long long nExpectedValue = 0;
        int nExpected = ConvertModel(s.dec, c.bUnsigned, c.nMin, c.nMax, &nExpectedValue);
        long long nValue = 0;
        int nCode = Run([&] {
            switch (i) {
            case 0: nValue = static_cast<short>(num); break;
            case 1: nValue = static_cast<USHORT>(num); break;
            case 2: nValue = static_cast<int>(num); break;
            case 3: nValue = static_cast<UINT>(num); break;
            case 4: nValue = static_cast<long>(num); break;
            default: nValue = static_cast<long long>(static_cast<ULONG>(num)); break;
            }
        });
        FUZZ_CHECK(nCode == nExpected && (nCode != 0 || nValue == nExpectedValue),
                   std::string("conversion to ") + c.pszName + " gave " + Num(nValue) + " code " + Num(nCode) +
                       ", expected " + Num(nExpectedValue) + " code " + Num(nExpected));
    }
    double dValue = 0;
    int nCode = Run([&] { dValue = static_cast<double>(num); });
    std::string strText = tvref::Text(s.dec);
    double dExpected = strText.empty() ? 0.0 : std::strtod(strText.c_str(), nullptr);
    FUZZ_CHECK(nCode == 0 && (dValue == dExpected || (std::isnan(dValue) && std::isnan(dExpected))),
               "conversion to double gave code " + Num(nCode));
    CString str;
    nCode = Run([&] {
        CString strConverted = num;
        str = strConverted;
    });
    FUZZ_CHECK(nCode == 0 && str == strText, "conversion to CString gave " + Quote(str));
    Verify(s, "conversions");
}

// The eight mixed comparisons of a number with one value against the order r
// that the reference gives (number against the value's temporary number).
template <class T>
void CheckMixed(const clsNumDbFld& num, T value, int nExpected, int nOrder, const std::string& strWhat)
{
    int anResult[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    int nCode = Run([&] {
        anResult[0] = num == value;
        anResult[1] = value == num;
        anResult[2] = num != value;
        anResult[3] = value != num;
        anResult[4] = num <= value;
        anResult[5] = value <= num;
        anResult[6] = num >= value;
        anResult[7] = value >= num;
    });
    FUZZ_CHECK(nCode == nExpected, "comparison with " + strWhat + " threw " + Num(nCode) + ", expected " +
                                       Num(nExpected));
    if (nCode != 0)
        return;
    int anExpected[8] = {nOrder == 0, nOrder == 0, nOrder != 0, nOrder != 0,
                         nOrder != 1, nOrder != -1, nOrder != -1, nOrder != 1};
    for (int i = 0; i < 8; ++i)
        FUZZ_CHECK(anResult[i] == anExpected[i],
                   "comparison form " + Num(i) + " with " + strWhat + " gave " + Num(anResult[i]) +
                       " for the order " + Num(nOrder));
}

void clsFuzzRun::OpCompareValue()
{
    int nType = m_in.Byte() % 9;
    const Slot& s = PickSlot();
    const clsNumDbFld& num = *s.ptrNum;
    Dec v;
    int nExpected = 0;
    std::string strWhat;
    if (nType < 6) {
        long long n = ReadInteger(m_in);
        Dec exact;
        switch (nType) {
        case 0: n = static_cast<short>(n); exact = tvref::FromInt(n); break;
        case 1: n = static_cast<USHORT>(n); exact = tvref::FromInt(n); break;
        case 2: n = static_cast<int>(n); exact = tvref::FromInt(n); break;
        case 3: n = static_cast<UINT>(n); exact = tvref::FromInt(n); break;
        case 4: exact = tvref::FromInt(n); break;
        default: exact = tvref::FromUInt(static_cast<unsigned long long>(n)); break;
        }
        strWhat = "integer type " + Num(nType) + " value " + tvref::Text(exact);
        nExpected = AssignIntModel(exact, g_nDefLen, g_nDefScale, &v);
        Trace("compare " + Describe(s) + " with " + strWhat);
        int nOrder = tvref::Cmp(s.dec, v);
        switch (nType) {
        case 0: CheckMixed(num, static_cast<short>(n), nExpected, nOrder, strWhat); break;
        case 1: CheckMixed(num, static_cast<USHORT>(n), nExpected, nOrder, strWhat); break;
        case 2: CheckMixed(num, static_cast<int>(n), nExpected, nOrder, strWhat); break;
        case 3: CheckMixed(num, static_cast<UINT>(n), nExpected, nOrder, strWhat); break;
        case 4: CheckMixed(num, static_cast<long>(n), nExpected, nOrder, strWhat); break;
        default: CheckMixed(num, static_cast<ULONG>(n), nExpected, nOrder, strWhat); break;
        }
    } else if (nType == 6) {
        double dValue = ReadDouble(m_in);
        strWhat = "double " + DoubleText(dValue, 20);
        Trace("compare " + Describe(s) + " with " + strWhat);
        nExpected = AssignDoubleModel(dValue, g_nDefLen, g_nDefScale, &v);
        CheckMixed(num, dValue, nExpected, tvref::Cmp(s.dec, v), strWhat);
    } else {
        std::string strText = ReadText(m_in);
        std::string strC(strText.c_str());
        strWhat = "text " + Quote(strC);
        Trace("compare " + Describe(s) + " with " + strWhat);
        nExpected = TextModel(strC, g_nDefLen, g_nDefScale, &v);
        int nOrder = tvref::Cmp(s.dec, v);
        if (nType == 7)
            CheckMixed(num, strC.c_str(), nExpected, nOrder, strWhat);
        else
            CheckMixed<const CString&>(num, CString(strC), nExpected, nOrder, strWhat);
    }
    Verify(s, "mixed comparison");
}

void clsFuzzRun::OpCompareNumbers()
{
    const Slot& a = PickSlot();
    const Slot& b = PickSlot();
    Trace("Compare " + Describe(a) + " with " + Describe(b));
    int nCmp = 2, nRev = 2, nAbs = 2;
    int nCode = Run([&] {
        nCmp = a.ptrNum->Compare(*b.ptrNum);
        nRev = b.ptrNum->Compare(*a.ptrNum);
        nAbs = a.ptrNum->CompareAbs(*b.ptrNum);
    });
    FUZZ_CHECK(nCode == 0, "comparison threw " + Num(nCode));
    FUZZ_CHECK(nCmp == tvref::Cmp(a.dec, b.dec) && nRev == -nCmp, "Compare gave " + Num(nCmp) + ", " + Num(nRev));
    FUZZ_CHECK(nAbs >= -1 && nAbs <= 1, "CompareAbs gave " + Num(nAbs));
    if (!tvref::IsZero(a.dec) && !tvref::IsZero(b.dec))
        FUZZ_CHECK(nAbs == tvref::CmpMag(a.dec, b.dec), "CompareAbs gave " + Num(nAbs));
    Verify(a, "Compare");
    Verify(b, "Compare");
}

void clsFuzzRun::OpStreams()
{
    Slot& s = PickSlot();
    if (m_in.Byte() & 1) {
        int nWidth = m_in.Byte() % 40;
        Trace("stream out " + Describe(s) + " width " + Num(nWidth));
        std::ostringstream os;
        os << std::setw(nWidth) << std::setfill('*') << *s.ptrNum << '|';
        std::string strText = tvref::Text(s.dec);
        std::string strPad(nWidth > static_cast<int>(strText.size()) ? nWidth - strText.size() : 0, '*');
        FUZZ_CHECK(os.str() == strPad + strText + "|", "stream output " + Quote(os.str()));
        Verify(s, "stream output");
        return;
    }
    std::string strText = ReadText(m_in);
    Trace("stream in " + Quote(strText) + " to " + Describe(s));
    std::istringstream is(strText);
    int nCode = Run([&] { is >> *s.ptrNum; });
    std::istringstream isWord(strText);
    std::string strWord;
    isWord >> strWord;
    std::string strC(strWord.c_str());
    Dec d;
    int nExpected = TextModel(strC, s.nLen, s.nScale, &d);
    FUZZ_CHECK(nCode == nExpected, "stream input threw " + Num(nCode) + ", expected " + Num(nExpected));
    s.dec = d;
    Verify(s, nCode == 0 ? "stream input" : "failed stream input");
}

void clsFuzzRun::OpDefaults()
{
    int nLen = m_in.Range(-3, 103);
    int nScale = m_in.Range(-3, 103);
    Trace("SetDefaultLenScale(" + Num(nLen) + "," + Num(nScale) + ")");
    int nNewLen = nLen == -1 ? g_nDefLen : nLen;
    int nNewScale = nScale == -1 ? g_nDefScale : nScale;
    int nExpected = 0;
    if (nLen != -1 && (nLen < 1 || nLen > MAX_NumDbFldLen))
        nExpected = 2001;
    else if (nScale != -1 && (nScale < 0 || nScale > nNewLen))
        nExpected = 2001;
    else if (nNewScale > nNewLen)
        nExpected = 2001;
    int nCode = Run([&] { clsNumDbFld::SetDefaultLenScale(nLen, nScale); });
    FUZZ_CHECK(nCode == nExpected, "SetDefaultLenScale threw " + Num(nCode) + ", expected " + Num(nExpected));
    if (nCode == 0) {
        g_nDefLen = nNewLen;
        g_nDefScale = nNewScale;
    }
    FUZZ_CHECK(clsNumDbFld::GetDefaultLen() == g_nDefLen && clsNumDbFld::GetDefaultScale() == g_nDefScale,
               "defaults");
    clsNumDbFld numDefault;
    FUZZ_CHECK(NumProbe::Len(numDefault) == g_nDefLen && NumProbe::Scale(numDefault) == g_nDefScale,
               "default constructor precision");
}

void clsFuzzRun::OpConstruct()
{
    int nType = m_in.Byte() % 11;
    Slot& r = PickSlot();
    std::unique_ptr<clsNumDbFld> ptrNew;
    Dec d;
    int nExpected = 0;
    int nLen = g_nDefLen, nScale = g_nDefScale;
    int nCode = 0;
    if (nType < 6) {
        long long n = ReadInteger(m_in);
        Dec exact;
        switch (nType) {
        case 0: n = static_cast<short>(n); break;
        case 1: n = static_cast<USHORT>(n); break;
        case 2: n = static_cast<int>(n); break;
        case 3: n = static_cast<UINT>(n); break;
        default: break;
        }
        exact = nType == 5 ? tvref::FromUInt(static_cast<unsigned long long>(n)) : tvref::FromInt(n);
        Trace("construct from integer type " + Num(nType) + " " + tvref::Text(exact));
        Dec old = tvref::Null();
        d = old;
        nExpected = AssignIntModel(exact, nLen, nScale, &d);
        nCode = Run([&] {
            switch (nType) {
            case 0: ptrNew.reset(new clsNumDbFld(static_cast<short>(n))); break;
            case 1: ptrNew.reset(new clsNumDbFld(static_cast<USHORT>(n))); break;
            case 2: ptrNew.reset(new clsNumDbFld(static_cast<int>(n))); break;
            case 3: ptrNew.reset(new clsNumDbFld(static_cast<UINT>(n))); break;
            case 4: ptrNew.reset(new clsNumDbFld(static_cast<long>(n))); break;
            default: ptrNew.reset(new clsNumDbFld(static_cast<ULONG>(n))); break;
            }
        });
    } else if (nType == 6) {
        double dValue = ReadDouble(m_in);
        Trace("construct from double " + DoubleText(dValue, 20));
        nExpected = AssignDoubleModel(dValue, nLen, nScale, &d);
        nCode = Run([&] { ptrNew.reset(new clsNumDbFld(dValue)); });
    } else if (nType < 9) {
        std::string strC(ReadText(m_in).c_str());
        Trace("construct from text " + Quote(strC));
        nExpected = TextModel(strC, nLen, nScale, &d);
        nCode = Run([&] {
            if (nType == 7)
                ptrNew.reset(new clsNumDbFld(strC.c_str()));
            else
                ptrNew.reset(new clsNumDbFld(CString(strC)));
        });
    } else if (nType == 9) {
        int nL = m_in.Range(-3, 103);
        int nS = m_in.Range(-3, 103);
        Trace("construct (" + Num(nL) + "," + Num(nS) + ")");
        nCode = Run([&] { ptrNew.reset(new clsNumDbFld(nL, nS)); });
        if (nL == -1) {
            // The length to keep is none yet: 2001 or some valid length.
            FUZZ_CHECK(nCode == 0 || nCode == 2001, "(-1, scale) constructor threw " + Num(nCode));
            if (nCode == 0) {
                r.ptrNum = std::move(ptrNew);
                Resync(r, "(-1, scale) constructor");
                FUZZ_CHECK(r.dec.bNull, "(length, scale) constructor gives a value");
            }
            return;
        }
        nLen = nL;
        nScale = nS == -1 ? 0 : nS;
        nExpected = (nL < 1 || nL > MAX_NumDbFldLen || nS < -1 || nS > nL) ? 2001 : 0;
        d = tvref::Null();
    } else {
        const Slot& o = PickSlot();
        Trace("copy construct " + Describe(o));
        nLen = o.nLen;
        nScale = o.nScale;
        d = o.dec;
        nCode = Run([&] { ptrNew.reset(new clsNumDbFld(*o.ptrNum)); });
    }
    FUZZ_CHECK(nCode == nExpected, "constructor threw " + Num(nCode) + ", expected " + Num(nExpected) + " " +
                                       Quote(tvref::Text(d)));
    if (nCode == 0) {
        r.ptrNum = std::move(ptrNew);
        r.nLen = nLen;
        r.nScale = nScale;
        r.dec = d;
        Verify(r, "constructor");
    }
}

void clsFuzzRun::OpAssignValue()
{
    int nType = m_in.Byte() % 7;
    Slot& s = PickSlot();
    clsNumDbFld& num = *s.ptrNum;
    Dec d = s.dec;
    int nExpected = 0;
    int nCode = 0;
    if (nType < 6) {
        long long n = ReadInteger(m_in);
        switch (nType) {
        case 0: n = static_cast<short>(n); break;
        case 1: n = static_cast<USHORT>(n); break;
        case 2: n = static_cast<int>(n); break;
        case 3: n = static_cast<UINT>(n); break;
        default: break;
        }
        Dec exact = nType == 5 ? tvref::FromUInt(static_cast<unsigned long long>(n)) : tvref::FromInt(n);
        Trace("assign integer type " + Num(nType) + " " + tvref::Text(exact) + " to " + Describe(s));
        nExpected = AssignIntModel(exact, s.nLen, s.nScale, &d);
        nCode = Run([&] {
            clsNumDbFld* pRet = nullptr;
            switch (nType) {
            case 0: pRet = &(num = static_cast<short>(n)); break;
            case 1: pRet = &(num = static_cast<USHORT>(n)); break;
            case 2: pRet = &(num = static_cast<int>(n)); break;
            case 3: pRet = &(num = static_cast<UINT>(n)); break;
            case 4: pRet = &(num = static_cast<long>(n)); break;
            default: pRet = &(num = static_cast<ULONG>(n)); break;
            }
            FUZZ_CHECK(pRet == &num, "assignment returns another object");
        });
    } else {
        double dValue = ReadDouble(m_in);
        Trace("assign double " + DoubleText(dValue, 20) + " to " + Describe(s));
        nExpected = AssignDoubleModel(dValue, s.nLen, s.nScale, &d);
        nCode = Run([&] { num = dValue; });
    }
    FUZZ_CHECK(nCode == nExpected, "assignment of a value threw " + Num(nCode) + ", expected " + Num(nExpected) +
                                       " " + Quote(tvref::Text(d)));
    s.dec = d;
    Verify(s, "assignment of a value");
}

// The text-to-integer parsers and the string conversions on a raw text.
void clsFuzzRun::CheckRawText(const std::string& strText)
{
    std::string strC(strText.c_str());
    const char* psz = strC.c_str();
    int nLen = static_cast<int>(strC.size());
    Trace("raw text " + Quote(strC));

    // A plain integer, possibly with a point and zeros: the reference value.
    bool bPlain = false, bNeg = false, bSign = false;
    std::string strDigits;
    {
        size_t i = 0;
        while (i < strC.size() && strC[i] == ' ')
            ++i;
        if (i < strC.size() && (strC[i] == '+' || strC[i] == '-')) {
            bSign = true;
            bNeg = strC[i] == '-';
            ++i;
        }
        while (i < strC.size() && strC[i] >= '0' && strC[i] <= '9')
            strDigits += strC[i++];
        if (i < strC.size() && strC[i] == '.') {
            ++i;
            while (i < strC.size() && strC[i] == '0')
                ++i;
        }
        while (i < strC.size() && strC[i] == ' ')
            ++i;
        bPlain = i == strC.size();
    }
    (void)bSign;
    Dec mag;
    tvref::ParseClean(strDigits, &mag);
    mag.bNull = false;

    for (int bUnsigned = 0; bUnsigned < 2; ++bUnsigned) {
        for (int bEnd = 0; bEnd < 2; ++bEnd) {
            int nErr = 1, nEnd = -1;
            long long nValue = 0;
            int nCode = Run([&] {
                nValue = bUnsigned ? static_cast<long long>(StrToULong(psz, &nErr, bEnd ? &nEnd : nullptr))
                                   : StrToLong(psz, &nErr, bEnd ? &nEnd : nullptr);
            });
            FUZZ_CHECK(nCode == 0, "StrToLong with a status pointer threw " + Num(nCode));
            FUZZ_CHECK(nErr == 0 || nErr == -4024 || nErr == -4025 || nErr == -4026 || nErr == -4029 ||
                           nErr == -4030 || nErr == -4031,
                       "StrToLong status " + Num(nErr));
            FUZZ_CHECK(bUnsigned || (nErr != -4026 && nErr != -4030), "signed status " + Num(nErr));
            FUZZ_CHECK(!bUnsigned || nErr != -4029, "unsigned status " + Num(nErr));
            FUZZ_CHECK(!bEnd || nErr != -4025, "status -4025 with an end position");
            if (bEnd)
                FUZZ_CHECK(nEnd >= 0 && nEnd <= nLen, "end position " + Num(nEnd));
            if (bPlain) {
                int nExpected = 0;
                long long nExpectedValue = 0;
                Dec limit = tvref::FromInt(bUnsigned ? 4294967295LL : 2147483647LL);
                if (bUnsigned && bNeg)
                    nExpected = -4026;
                else if (tvref::CmpMag(mag, limit) > 0)
                    nExpected = bUnsigned ? -4030 : -4029;
                else
                    nExpectedValue = (bNeg ? -1 : 1) * std::stoll(tvref::Text(mag));
                FUZZ_CHECK(nErr == nExpected && (nErr != 0 || nValue == nExpectedValue),
                           "StrToLong of a plain integer gave " + Num(nValue) + " status " + Num(nErr));
                if (bEnd && nErr == 0)
                    FUZZ_CHECK(nEnd == nLen, "end position " + Num(nEnd) + " of a plain integer");
            }
            // Without the status pointer the same status is thrown as its code.
            int nEnd2 = -1;
            long long nValue2 = 0;
            int nThrown = Run([&] {
                nValue2 = bUnsigned ? static_cast<long long>(StrToULong(psz, nullptr, bEnd ? &nEnd2 : nullptr))
                                    : StrToLong(psz, nullptr, bEnd ? &nEnd2 : nullptr);
            });
            static const int kPairs[][2] = {{-4024, -2044}, {-4025, -2045}, {-4026, -2047},
                                            {-4029, -2050}, {-4030, -2051}, {-4031, -2054}};
            int nMatching = 0;
            for (const auto& pair : kPairs)
                if (pair[0] == nErr)
                    nMatching = pair[1];
            FUZZ_CHECK(nThrown == nMatching, "StrToLong threw " + Num(nThrown) + " for status " + Num(nErr));
            FUZZ_CHECK(nEnd2 == nEnd, "end position differs when throwing");
            if (nErr == 0)
                FUZZ_CHECK(nValue2 == nValue, "value differs without a status pointer");
        }
    }

    // CheckNumber
    clsStrPlus str(psz, -1);
    int nDigits = -1, nDecimals = -1, nErrPos = -1;
    int nStatus = 1;
    int nCode = Run([&] { nStatus = str.CheckNumber(&nDigits, &nDecimals, 0, &nErrPos); });
    FUZZ_CHECK(nCode == 0, "CheckNumber without bThrow threw " + Num(nCode));
    FUZZ_CHECK(nStatus == 0 || nStatus == -4031 || nStatus == -4024 || nStatus == -4025,
               "CheckNumber status " + Num(nStatus));
    FUZZ_CHECK(nErrPos >= 0 && nErrPos <= nLen && nDigits >= nDecimals && nDecimals >= 0, "CheckNumber counts");
    Dec exact;
    if (tvref::ParseClean(strC, &exact)) {
        // Digits after the leading zeros and decimals up to the last non-zero one.
        size_t nPoint = strC.find('.');
        std::string strInt, strFrac;
        for (size_t i = 0; i < strC.size(); ++i) {
            if (strC[i] < '0' || strC[i] > '9')
                continue;
            (nPoint != std::string::npos && i > nPoint ? strFrac : strInt) += strC[i];
        }
        size_t nLead = strInt.find_first_not_of('0');
        int nIntDigits = nLead == std::string::npos ? 0 : static_cast<int>(strInt.size() - nLead);
        size_t nLast = strFrac.find_last_not_of('0');
        int nFrac = nLast == std::string::npos ? 0 : static_cast<int>(nLast + 1);
        FUZZ_CHECK(nStatus == 0 && nErrPos == nLen && nDigits == nIntDigits + nFrac && nDecimals == nFrac,
                   "CheckNumber of a number: status " + Num(nStatus) + " digits " + Num(nDigits) + " decimals " +
                       Num(nDecimals) + " position " + Num(nErrPos));
    }
    int nDigits2 = -1, nDecimals2 = -1, nErrPos2 = -1;
    int nThrown = Run([&] { str.CheckNumber(&nDigits2, &nDecimals2, 1, &nErrPos2); });
    int nMatching = nStatus == -4031 ? -2054 : (nStatus == -4024 ? -2044 : (nStatus == -4025 ? -2045 : 0));
    FUZZ_CHECK(nThrown == nMatching && nDigits2 == nDigits && nDecimals2 == nDecimals && nErrPos2 == nErrPos,
               "CheckNumber with bThrow threw " + Num(nThrown) + " for status " + Num(nStatus));
    nCode = Run([&] { str.CheckNumber(nullptr, nullptr, 0, nullptr); });
    FUZZ_CHECK(nCode == 0, "CheckNumber with null pointers threw " + Num(nCode));

    // The string conversions agree with the parsers.
    char ch = 1;
    nCode = Run([&] { ch = str.ToChar(); });
    FUZZ_CHECK(nLen > 1 ? nCode == -2043 : (nCode == 0 && ch == psz[0]), "ToChar gave code " + Num(nCode));
    int nErrL = 0, nErrU = 0;
    long nL = StrToLong(psz, &nErrL, nullptr);
    ULONG nU = StrToULong(psz, &nErrU, nullptr);
    auto Thrown = [](int nStat) {
        switch (nStat) {
        case -4024: return -2044;
        case -4025: return -2045;
        case -4026: return -2047;
        case -4029: return -2050;
        case -4030: return -2051;
        case -4031: return -2054;
        default: return 0;
        }
    };
    long long nGot = 0;
    nCode = Run([&] { nGot = str.ToShort(); });
    FUZZ_CHECK(nCode == (nErrL ? Thrown(nErrL) : (nL < -32768 || nL > 32767 ? -2048 : 0)) && (nCode || nGot == nL),
               "ToShort");
    nCode = Run([&] { nGot = str.ToUShort(); });
    FUZZ_CHECK(nCode == (nErrU ? Thrown(nErrU) : (nU > 65535 ? -2049 : 0)) &&
                   (nCode || nGot == static_cast<long long>(nU)),
               "ToUShort");
    nCode = Run([&] { nGot = str.ToInt(); });
    FUZZ_CHECK(nCode == Thrown(nErrL) && (nCode || nGot == nL), "ToInt");
    nCode = Run([&] { nGot = str.ToUInt(); });
    FUZZ_CHECK(nCode == Thrown(nErrU) && (nCode || nGot == static_cast<long long>(nU)), "ToUInt");
    nCode = Run([&] { nGot = str.ToLong(); });
    FUZZ_CHECK(nCode == Thrown(nErrL) && (nCode || nGot == nL), "ToLong");
    nCode = Run([&] { nGot = static_cast<long long>(str.ToULong()); });
    FUZZ_CHECK(nCode == Thrown(nErrU) && (nCode || nGot == static_cast<long long>(nU)), "ToULong");
    double dValue = 0;
    nCode = Run([&] { dValue = str.ToDouble(); });
    double dExpected = std::atof(psz);
    FUZZ_CHECK(nCode == nMatching && (nCode || dValue == dExpected || (std::isnan(dValue) && std::isnan(dExpected))),
               "ToDouble gave code " + Num(nCode));
}

void clsFuzzRun::Go()
{
    for (Slot& s : m_aSlots) {
        ReadLenScale(m_in, &s.nLen, &s.nScale);
        s.ptrNum.reset(new clsNumDbFld(s.nLen, s.nScale));
        s.dec = tvref::Null();
        Verify(s, "(length, scale) constructor");
        std::string strText = ReadText(m_in);
        OpParse(s, strText);
    }
    for (int nOps = 0; nOps < 48 && !m_in.AtEnd(); ++nOps) {
        switch (m_in.Byte() % 22) {
        case 0: {
            Slot& s = PickSlot();
            OpParse(s, ReadText(m_in));
            break;
        }
        case 1: OpSetLenScale(); break;
        case 2: OpRound(); break;
        case 3: OpAssign(); break;
        case 4:
        case 5:
        case 6: OpCompound(); break;
        case 7:
        case 8: OpBinary(); break;
        case 9: OpIntOperand(); break;
        case 10: OpDivide(); break;
        case 11: OpPow(); break;
        case 12: OpIncDec(); break;
        case 13: OpUnary(); break;
        case 14: OpParts(); break;
        case 15: OpConvert(); break;
        case 16: OpCompareValue(); break;
        case 17: OpCompareNumbers(); break;
        case 18: OpStreams(); break;
        case 19: OpDefaults(); break;
        case 20: OpConstruct(); break;
        default:
            if (m_in.Byte() & 1)
                OpAssignValue();
            else
                CheckRawText(ReadText(m_in));
            break;
        }
    }
    for (const Slot& s : m_aSlots)
        Verify(s, "end of input");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    g_strTrace.clear();
    clsNumDbFld::SetDefaultLenScale(38, 8);
    g_nDefLen = 38;
    g_nDefScale = 8;
    clsInput in(pData, nSize);
    {
        clsFuzzRun run(in);
        run.Go();
    }
    clsNumDbFld::SetDefaultLenScale(38, 8);
    return 0;
}
