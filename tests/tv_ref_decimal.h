// The reference decimal of the tests and the fuzz target: exact, of any
// precision, slow and simple, sharing no code with the library. It holds the
// library's rules in one place: rounding half away from zero, storing into a
// number of a given length and scale, the text grammar and the division.
//
// A value is (bNeg ? -1 : 1) * strMag * 10^nExp. strMag holds decimal digits
// without leading or trailing zeros and is empty for zero (then bNeg is false
// and nExp 0). bNull marks the library's null value, which counts as zero.
#ifndef TV_REF_DECIMAL_H
#define TV_REF_DECIMAL_H

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>

namespace tvref {

struct Dec {
    bool bNull = false;
    bool bNeg = false;
    std::string strMag;
    int nExp = 0;
};

// ---------------------------------------------------------------------------
// Unsigned integers as decimal digit strings, most significant digit first.
// The detail functions take and give them without leading zeros ("" is
// zero); the *Int ones below give "0" for zero and accept leading zeros.
// ---------------------------------------------------------------------------
namespace detail {

inline std::string StripLeading(const std::string& str)
{
    size_t i = 0;
    while (i < str.size() && str[i] == '0')
        ++i;
    return str.substr(i);
}

inline int CmpDigits(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    int n = a.compare(b);
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

inline std::string AddDigits(const std::string& a, const std::string& b)
{
    std::string strOut;
    int nCarry = 0;
    size_t i = a.size(), j = b.size();
    while (i > 0 || j > 0 || nCarry) {
        int n = nCarry;
        if (i > 0)
            n += a[--i] - '0';
        if (j > 0)
            n += b[--j] - '0';
        strOut.push_back(static_cast<char>('0' + n % 10));
        nCarry = n / 10;
    }
    std::reverse(strOut.begin(), strOut.end());
    return StripLeading(strOut);
}

// a - b for a >= b.
inline std::string SubDigits(const std::string& a, const std::string& b)
{
    std::string strOut;
    int nBorrow = 0;
    size_t i = a.size(), j = b.size();
    while (i > 0) {
        int n = (a[--i] - '0') - nBorrow;
        if (j > 0)
            n -= b[--j] - '0';
        nBorrow = n < 0;
        if (n < 0)
            n += 10;
        strOut.push_back(static_cast<char>('0' + n));
    }
    std::reverse(strOut.begin(), strOut.end());
    return StripLeading(strOut);
}

inline std::string MulDigits(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty())
        return "";
    std::string strOut(a.size() + b.size(), 0);
    for (size_t i = a.size(); i-- > 0;) {
        int nCarry = 0;
        for (size_t j = b.size(); j-- > 0;) {
            int n = strOut[i + j + 1] + (a[i] - '0') * (b[j] - '0') + nCarry;
            strOut[i + j + 1] = static_cast<char>(n % 10);
            nCarry = n / 10;
        }
        strOut[i] = static_cast<char>(strOut[i] + nCarry);
    }
    for (char& ch : strOut)
        ch = static_cast<char>(ch + '0');
    return StripLeading(strOut);
}

// Quotient and remainder of num / den, den not zero: one quotient digit per
// digit of num, each found by subtracting den while the partial remainder
// allows.
inline std::pair<std::string, std::string> DivModDigits(const std::string& num, const std::string& den)
{
    std::string strQuot;
    std::string strRem;
    for (char ch : num) {
        strRem.push_back(ch);
        strRem = StripLeading(strRem);
        int nDigit = 0;
        while (CmpDigits(strRem, den) >= 0) {
            strRem = SubDigits(strRem, den);
            ++nDigit;
        }
        strQuot.push_back(static_cast<char>('0' + nDigit));
    }
    return {StripLeading(strQuot), strRem};
}

inline void Normalize(Dec& d)
{
    d.strMag = StripLeading(d.strMag);
    if (d.strMag.empty()) {
        d.bNeg = false;
        d.nExp = 0;
        return;
    }
    size_t n = d.strMag.size();
    while (n > 0 && d.strMag[n - 1] == '0') {
        --n;
        ++d.nExp;
    }
    d.strMag.resize(n);
}

// Both magnitudes as digit strings over the smaller exponent.
inline void Align(const Dec& a, const Dec& b, std::string* pA, std::string* pB, int* pnExp)
{
    int nExp = std::min(a.nExp, b.nExp);
    if (a.strMag.empty())
        nExp = b.nExp;
    if (b.strMag.empty())
        nExp = a.nExp;
    *pA = a.strMag.empty() ? "" : a.strMag + std::string(static_cast<size_t>(a.nExp - nExp), '0');
    *pB = b.strMag.empty() ? "" : b.strMag + std::string(static_cast<size_t>(b.nExp - nExp), '0');
    *pnExp = nExp;
}

} // namespace detail

inline std::string NormInt(const std::string& str)
{
    std::string strOut = detail::StripLeading(str);
    return strOut.empty() ? "0" : strOut;
}

inline bool IsZeroInt(const std::string& str)
{
    return detail::StripLeading(str).empty();
}

// -1, 0 or 1 as a is below, equal to or above b.
inline int CmpInt(const std::string& a, const std::string& b)
{
    return detail::CmpDigits(detail::StripLeading(a), detail::StripLeading(b));
}

inline std::string AddInt(const std::string& a, const std::string& b)
{
    return NormInt(detail::AddDigits(detail::StripLeading(a), detail::StripLeading(b)));
}

// a - b for a >= b.
inline std::string SubInt(const std::string& a, const std::string& b)
{
    return NormInt(detail::SubDigits(detail::StripLeading(a), detail::StripLeading(b)));
}

inline std::string TimesPow10(const std::string& a, int n)
{
    return IsZeroInt(a) ? "0" : a + std::string(static_cast<size_t>(n), '0');
}

// Quotient and remainder of n / d, d not zero.
inline std::pair<std::string, std::string> DivModInt(const std::string& n, const std::string& d)
{
    std::pair<std::string, std::string> qr = detail::DivModDigits(detail::StripLeading(n), detail::StripLeading(d));
    return {NormInt(qr.first), NormInt(qr.second)};
}

// ---------------------------------------------------------------------------
// Values
// ---------------------------------------------------------------------------
inline Dec Null()
{
    Dec d;
    d.bNull = true;
    return d;
}

inline Dec Zero()
{
    return Dec();
}

inline Dec FromUInt(unsigned long long n)
{
    Dec d;
    d.strMag = std::to_string(n);
    detail::Normalize(d);
    return d;
}

inline Dec FromInt(long long n)
{
    unsigned long long nMag = n < 0 ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    Dec d = FromUInt(nMag);
    d.bNeg = n < 0;
    return d;
}

// The value (-1)^bNeg * strDigits / 10^nScale (strDigits may have leading zeros).
inline Dec FromDigits(bool bNeg, const std::string& strDigits, int nScale)
{
    Dec d;
    d.bNeg = bNeg;
    d.strMag = strDigits;
    d.nExp = -nScale;
    detail::Normalize(d);
    return d;
}

// The value of sign, integer digits and decimals (each may be empty).
inline Dec FromParts(bool bNeg, const std::string& strInt, const std::string& strFrac)
{
    return FromDigits(bNeg, strInt + strFrac, static_cast<int>(strFrac.size()));
}

inline bool IsZero(const Dec& d) // zero or null
{
    return d.bNull || d.strMag.empty();
}

// Digits before the point (0 below one).
inline int IntDigits(const Dec& d)
{
    if (IsZero(d))
        return 0;
    return std::max(0, static_cast<int>(d.strMag.size()) + d.nExp);
}

// Digits after the point, up to the last non-zero one.
inline int Decimals(const Dec& d)
{
    if (IsZero(d))
        return 0;
    return std::max(0, -d.nExp);
}

// The exponent of the first significant digit (123.45 gives 2); not for zero.
inline int Exponent(const Dec& d)
{
    return static_cast<int>(d.strMag.size()) + d.nExp - 1;
}

inline bool Fits(const Dec& d, int nIntLen)
{
    return IntDigits(d) <= nIntLen;
}

// The text form: '-', the integer digits ("0" below one), '.' and the
// decimals only when there are any; "0" for zero, "" for null.
inline std::string Text(const Dec& d)
{
    if (d.bNull)
        return "";
    if (d.strMag.empty())
        return "0";
    std::string strOut = d.bNeg ? "-" : "";
    if (d.nExp >= 0)
        return strOut + d.strMag + std::string(static_cast<size_t>(d.nExp), '0');
    int nIntDigits = static_cast<int>(d.strMag.size()) + d.nExp;
    if (nIntDigits > 0)
        return strOut + d.strMag.substr(0, static_cast<size_t>(nIntDigits)) + "." +
               d.strMag.substr(static_cast<size_t>(nIntDigits));
    return strOut + "0." + std::string(static_cast<size_t>(-nIntDigits), '0') + d.strMag;
}

// ---------------------------------------------------------------------------
// Texts
// ---------------------------------------------------------------------------

// Reads "  [+-]digits[.digits]  " (each part may be empty; blanks are spaces):
// the exact value. "" gives the null value. False for any other text.
inline bool ParseClean(const std::string& str, Dec* pOut)
{
    if (str.empty()) {
        *pOut = Null();
        return true;
    }
    size_t i = 0;
    while (i < str.size() && str[i] == ' ')
        ++i;
    bool bNeg = false;
    if (i < str.size() && (str[i] == '-' || str[i] == '+')) {
        bNeg = str[i] == '-';
        ++i;
    }
    std::string strDigits;
    int nDecimals = 0;
    while (i < str.size() && str[i] >= '0' && str[i] <= '9')
        strDigits.push_back(str[i++]);
    if (i < str.size() && str[i] == '.') {
        ++i;
        while (i < str.size() && str[i] >= '0' && str[i] <= '9') {
            strDigits.push_back(str[i++]);
            ++nDecimals;
        }
    }
    while (i < str.size() && str[i] == ' ')
        ++i;
    if (i != str.size())
        return false;
    *pOut = FromDigits(bNeg, strDigits, nDecimals);
    return true;
}

// The value of a text that ParseClean reads (the text form of a number, or
// a plain decimal a test writes); any other text is a fault of the test.
inline Dec FromText(const std::string& str)
{
    Dec d;
    if (!ParseClean(str, &d))
        throw std::invalid_argument("tvref::FromText: not a plain decimal: '" + str + "'");
    return d;
}

// The text form of a plain decimal text: no '+', no leading zeros, no
// trailing decimal zeros, "0" for any zero (the empty text included).
inline std::string CanonicalText(const std::string& str)
{
    Dec d = FromText(str);
    d.bNull = false;
    return Text(d);
}

// ---------------------------------------------------------------------------
// Arithmetic (exact unless said otherwise)
// ---------------------------------------------------------------------------
inline int CmpMag(const Dec& a, const Dec& b)
{
    std::string strA, strB;
    int nExp = 0;
    detail::Align(a, b, &strA, &strB, &nExp);
    return detail::CmpDigits(strA, strB);
}

inline int Cmp(const Dec& a, const Dec& b) // null counts as zero
{
    int nSignA = IsZero(a) ? 0 : (a.bNeg ? -1 : 1);
    int nSignB = IsZero(b) ? 0 : (b.bNeg ? -1 : 1);
    if (nSignA != nSignB)
        return nSignA < nSignB ? -1 : 1;
    if (nSignA == 0)
        return 0;
    int n = CmpMag(a, b);
    return nSignA < 0 ? -n : n;
}

inline Dec Neg(const Dec& a) // keeps null
{
    Dec d = a;
    if (!IsZero(d))
        d.bNeg = !d.bNeg;
    return d;
}

inline Dec Abs(const Dec& a)
{
    Dec d = a;
    d.bNeg = false;
    return d;
}

inline Dec Add(const Dec& a, const Dec& b) // never null
{
    Dec aa = a, bb = b;
    aa.bNull = bb.bNull = false;
    if (IsZero(aa))
        return bb;
    if (IsZero(bb))
        return aa;
    std::string strA, strB;
    Dec d;
    detail::Align(aa, bb, &strA, &strB, &d.nExp);
    if (aa.bNeg == bb.bNeg) {
        d.strMag = detail::AddDigits(strA, strB);
        d.bNeg = aa.bNeg;
    } else if (detail::CmpDigits(strA, strB) >= 0) {
        d.strMag = detail::SubDigits(strA, strB);
        d.bNeg = aa.bNeg;
    } else {
        d.strMag = detail::SubDigits(strB, strA);
        d.bNeg = bb.bNeg;
    }
    detail::Normalize(d);
    return d;
}

inline Dec Sub(const Dec& a, const Dec& b)
{
    Dec bb = b;
    bb.bNull = false;
    return Add(a, Neg(bb));
}

inline Dec Mul(const Dec& a, const Dec& b)
{
    if (IsZero(a) || IsZero(b))
        return Zero();
    Dec d;
    d.strMag = detail::MulDigits(a.strMag, b.strMag);
    d.nExp = a.nExp + b.nExp;
    d.bNeg = a.bNeg != b.bNeg;
    detail::Normalize(d);
    return d;
}

// a / b cut after nDecimals decimals (toward zero); b not zero.
inline Dec DivTrunc(const Dec& a, const Dec& b, int nDecimals)
{
    if (IsZero(a))
        return Zero();
    // floor(|a| / |b| * 10^nDecimals) = floor(magA * 10^k / magB).
    int k = a.nExp - b.nExp + nDecimals;
    std::string strNum = a.strMag;
    std::string strDen = b.strMag;
    if (k >= 0)
        strNum += std::string(static_cast<size_t>(k), '0');
    else
        strDen += std::string(static_cast<size_t>(-k), '0');
    Dec d;
    d.strMag = detail::DivModDigits(strNum, strDen).first;
    d.nExp = -nDecimals;
    d.bNeg = a.bNeg != b.bNeg;
    detail::Normalize(d);
    return d;
}

// a - trunc(a / b) * b, with the dividend's sign; b not zero.
inline Dec Rem(const Dec& a, const Dec& b)
{
    Dec aa = a;
    aa.bNull = false;
    return Sub(aa, Mul(DivTrunc(aa, b, 0), b));
}

inline Dec Trunc(const Dec& a) // toward zero; keeps null
{
    if (IsZero(a) || a.nExp >= 0)
        return a;
    Dec d = a;
    size_t nDrop = static_cast<size_t>(-a.nExp);
    if (nDrop >= d.strMag.size())
        return Zero();
    d.strMag.resize(d.strMag.size() - nDrop);
    d.nExp = 0;
    detail::Normalize(d);
    return d;
}

// Half away from zero to nScale decimals: the first dropped digit alone
// decides. Keeps null.
inline Dec Round(const Dec& a, int nScale)
{
    if (IsZero(a) || Decimals(a) <= nScale)
        return a;
    size_t nDrop = static_cast<size_t>(-a.nExp - nScale);
    size_t nLen = a.strMag.size();
    Dec d = a;
    d.nExp = -nScale;
    if (nDrop > nLen)
        return Zero(); // the first dropped digit is a zero in front of the digits
    char chFirstDropped = a.strMag[nLen - nDrop];
    d.strMag = a.strMag.substr(0, nLen - nDrop);
    if (chFirstDropped >= '5')
        d.strMag = detail::AddDigits(d.strMag, "1");
    detail::Normalize(d);
    return d;
}

// a / b rounded half away from zero to nScale decimals; b not zero.
inline Dec RoundedQuotient(const Dec& a, const Dec& b, int nScale)
{
    return Round(DivTrunc(a, b, nScale + 1), nScale);
}

// The integer quotient truncated toward zero and the remainder a - q * b,
// which has the dividend's sign (or is zero); b not zero.
inline std::pair<Dec, Dec> IntegerDivision(const Dec& a, const Dec& b)
{
    return {DivTrunc(a, b, 0), Rem(a, b)};
}

// ---------------------------------------------------------------------------
// The library's rules for a number of (nLen, nScale)
// ---------------------------------------------------------------------------

// What an operation leaves in a number: no error and the text form of the
// value ("" null), or the error code; with -2053, bNullAfter tells whether the
// number was left null (else it keeps its value).
struct Outcome {
    int nErr = 0;
    std::string strText;
    bool bNullAfter = false;
};

// Storing an exact value (assignment between numbers, and the end of every
// arithmetic operation): integer digits beyond the capacity raise -2053 and
// keep the old value (*pVal untouched); the value is rounded half away from
// zero to the scale, and a carry that no longer fits raises -2053 and leaves
// null. Gives the error code, 0 for none.
inline int StoreValue(const Dec& exact, int nLen, int nScale, Dec* pVal)
{
    if (!Fits(exact, nLen - nScale))
        return -2053;
    Dec r = Round(exact, nScale);
    if (!Fits(r, nLen - nScale)) {
        *pVal = Null();
        return -2053;
    }
    *pVal = r;
    return 0;
}

inline Outcome Store(const Dec& exact, int nLen, int nScale)
{
    Dec v;
    Outcome out;
    out.nErr = StoreValue(exact, nLen, nScale, &v);
    if (out.nErr == 0)
        out.strText = Text(v);
    else
        out.bNullAfter = v.bNull;
    return out;
}

// The value of a text that a number of integer capacity nIntLen reads, before
// its rounding: 0 with the exact value for a text that ParseClean reads; else
// -2053 when the integer part has more significant digits than nIntLen, and
// otherwise the code of what follows the number: -2044 a second point, -2054
// a sign (blanks may stand before it), -2045 anything else. *pOut is null on
// failure.
inline int ParseText(const std::string& str, int nIntLen, Dec* pOut)
{
    *pOut = Null();
    size_t i = str.find_first_not_of(' ');
    if (i == std::string::npos)
        return ParseClean(str, pOut) ? 0 : -2045;
    if (str[i] == '-' || str[i] == '+')
        ++i;
    size_t nIntStart = i;
    while (i < str.size() && str[i] >= '0' && str[i] <= '9')
        ++i;
    std::string strInt = str.substr(nIntStart, i - nIntStart);
    size_t nFirst = strInt.find_first_not_of('0');
    if (nFirst != std::string::npos && static_cast<int>(strInt.size() - nFirst) > nIntLen)
        return -2053;
    bool bPoint = i < str.size() && str[i] == '.';
    if (bPoint) {
        ++i;
        while (i < str.size() && str[i] >= '0' && str[i] <= '9')
            ++i;
    }
    if (i < str.size() && str[i] == '.')
        return -2044;
    size_t k = str.find_first_not_of(' ', i);
    if (k != std::string::npos)
        return (str[k] == '-' || str[k] == '+') ? -2054 : -2045;
    return ParseClean(str, pOut) ? 0 : -2045;
}

// What a number of (nLen, nScale) makes of a text: the text is judged whole
// first (ParseText), then its value is stored; every failure leaves null.
inline int ParseValue(const std::string& strText, int nLen, int nScale, Dec* pVal)
{
    Dec exact;
    int nErr = ParseText(strText, nLen - nScale, &exact);
    if (nErr == 0)
        nErr = StoreValue(exact, nLen, nScale, pVal);
    if (nErr != 0)
        *pVal = Null();
    return nErr;
}

inline Outcome Parse(const std::string& strText, int nLen, int nScale)
{
    Dec v;
    Outcome out;
    out.nErr = ParseValue(strText, nLen, nScale, &v);
    if (out.nErr == 0)
        out.strText = Text(v);
    else
        out.bNullAfter = true;
    return out;
}

// Rounds the text form strValue to nDecimals decimals in a number of integer
// capacity nIntCap, checking only the rounded value against the capacity;
// the null value stays null.
inline Outcome RoundText(const std::string& strValue, int nDecimals, int nIntCap)
{
    Outcome out;
    Dec r = Round(FromText(strValue), nDecimals);
    if (!Fits(r, nIntCap)) {
        out.nErr = -2053;
        return out;
    }
    out.strText = Text(r);
    return out;
}

// The text form of sign, integer digits and decimals.
inline std::string CanonText(bool bNeg, const std::string& strInt, const std::string& strFrac)
{
    return Text(FromParts(bNeg, strInt, strFrac));
}

} // namespace tvref

#endif // TV_REF_DECIMAL_H
