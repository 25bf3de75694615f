// An exact reference model of the division, for the random tests. It works on
// unsigned integers held as decimal digit strings and knows nothing of the
// packed form: a value is a signed integer of digits and a decimal scale, and
// every quotient comes from one schoolbook division of two such integers by
// repeated subtraction.
#ifndef TV_EXACT_DIV_MODEL_H
#define TV_EXACT_DIV_MODEL_H

#include <string>
#include <utility>

namespace tvdivmodel {

// ---------------------------------------------------------------------------
// Unsigned integers as decimal digit strings, most significant digit first,
// without leading zeros; "0" is zero.
// ---------------------------------------------------------------------------
inline std::string Norm(const std::string& str)
{
    size_t i = 0;
    while (i + 1 < str.size() && str[i] == '0')
        ++i;
    std::string strOut = str.substr(i);
    return strOut.empty() ? "0" : strOut;
}

inline bool IsZeroInt(const std::string& str)
{
    return Norm(str) == "0";
}

// -1, 0 or 1 as a is below, equal to or above b (both normalised).
inline int CmpInt(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

// a - b for a >= b (both normalised).
inline std::string SubInt(const std::string& a, const std::string& b)
{
    std::string strOut = a;
    int nBorrow = 0;
    for (size_t i = 0; i < strOut.size(); ++i) {
        size_t ia = strOut.size() - 1 - i;
        int d = (strOut[ia] - '0') - nBorrow - (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
        nBorrow = d < 0 ? 1 : 0;
        strOut[ia] = static_cast<char>('0' + (d < 0 ? d + 10 : d));
    }
    return Norm(strOut);
}

inline std::string AddInt(const std::string& a, const std::string& b)
{
    std::string strOut;
    int nCarry = 0;
    for (size_t i = 0; i < a.size() || i < b.size() || nCarry; ++i) {
        int s = nCarry + (i < a.size() ? a[a.size() - 1 - i] - '0' : 0) + (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
        strOut.insert(strOut.begin(), static_cast<char>('0' + s % 10));
        nCarry = s / 10;
    }
    return Norm(strOut);
}

inline std::string TimesPow10(const std::string& a, int n)
{
    return IsZeroInt(a) ? "0" : a + std::string(static_cast<size_t>(n), '0');
}

// Quotient and remainder of n / d, d not zero: one quotient digit per digit
// of n, each found by subtracting d while the partial remainder allows.
inline std::pair<std::string, std::string> DivModInt(const std::string& n, const std::string& d)
{
    std::string strQ;
    std::string strR = "0";
    for (char ch : n) {
        strR = Norm(strR + ch);
        int nDigit = 0;
        while (CmpInt(strR, d) >= 0) {
            strR = SubInt(strR, d);
            ++nDigit;
        }
        strQ += static_cast<char>('0' + nDigit);
    }
    return {Norm(strQ), strR};
}

// ---------------------------------------------------------------------------
// Signed decimals: (-1)^bNeg x strInt / 10^nScale.
// ---------------------------------------------------------------------------
struct Dec {
    bool bNull = false;
    bool bNeg = false;
    std::string strInt = "0";
    int nScale = 0;
};

inline bool IsZero(const Dec& v)
{
    return v.bNull || IsZeroInt(v.strInt);
}

// Reads the text form of a number: "" null, "0", "-123.45", "0.001".
inline Dec FromText(const std::string& strText)
{
    Dec v;
    if (strText.empty()) {
        v.bNull = true;
        return v;
    }
    std::string str = strText;
    if (str[0] == '-') {
        v.bNeg = true;
        str = str.substr(1);
    }
    size_t nPoint = str.find('.');
    if (nPoint != std::string::npos) {
        v.nScale = static_cast<int>(str.size() - nPoint - 1);
        str.erase(nPoint, 1);
    }
    v.strInt = Norm(str);
    if (IsZeroInt(v.strInt))
        v.bNeg = false;
    return v;
}

// The text form: no leading zeros ("0" below one), no trailing decimal zeros,
// no point for a whole number, no sign for zero; "" for the null value.
inline std::string ToText(const Dec& v)
{
    if (v.bNull)
        return "";
    if (IsZeroInt(v.strInt))
        return "0";
    std::string strDigits = v.strInt;
    const size_t nScale = static_cast<size_t>(v.nScale);
    if (strDigits.size() <= nScale)
        strDigits.insert(0, nScale - strDigits.size() + 1, '0');
    std::string strIntPart = strDigits.substr(0, strDigits.size() - nScale);
    std::string strFrac = strDigits.substr(strDigits.size() - nScale);
    while (!strFrac.empty() && strFrac.back() == '0')
        strFrac.pop_back();
    return (v.bNeg ? "-" : "") + strIntPart + (strFrac.empty() ? "" : "." + strFrac);
}

// Digits of the integer part of |v| (0 when |v| is below one).
inline int IntDigits(const Dec& v)
{
    if (IsZero(v))
        return 0;
    int n = static_cast<int>(v.strInt.size()) - v.nScale;
    return n > 0 ? n : 0;
}

// The decimal exponent of the first significant digit (123.45 gives 2).
inline int Exponent(const Dec& v)
{
    return static_cast<int>(v.strInt.size()) - 1 - v.nScale;
}

// Rounded half away from zero to nScale decimals (only the first dropped
// digit decides).
inline Dec RoundDec(const Dec& v, int nScale)
{
    if (v.bNull || v.nScale <= nScale)
        return v;
    const int nDrop = v.nScale - nScale;
    std::string strPadded = v.strInt;
    if (static_cast<int>(strPadded.size()) < nDrop + 1)
        strPadded.insert(0, static_cast<size_t>(nDrop + 1) - strPadded.size(), '0');
    std::string strKeep = strPadded.substr(0, strPadded.size() - static_cast<size_t>(nDrop));
    bool bUp = strPadded[strKeep.size()] >= '5';
    Dec out = v;
    out.nScale = nScale;
    out.strInt = bUp ? AddInt(Norm(strKeep), "1") : Norm(strKeep);
    if (IsZeroInt(out.strInt))
        out.bNeg = false;
    return out;
}

// What a target of (nLen, nScale) holds after an operation, or the error.
struct Outcome {
    int nErr = 0;           // 0, or the error code raised
    bool bNullAfter = false; // with -2053: the target was left with the null value
    std::string strText;    // without error: the text form stored
};

// Storing v into a number of (nLen, nScale): integer digits beyond the
// capacity raise -2053 and leave the target alone; a rounding whose carry
// needs one more integer digit raises -2053 and leaves the null value.
inline Outcome Store(const Dec& v, int nLen, int nScale)
{
    Outcome out;
    const int nCapacity = nLen - nScale;
    if (IntDigits(v) > nCapacity) {
        out.nErr = -2053;
        return out;
    }
    Dec r = RoundDec(v, nScale);
    if (IntDigits(r) > nCapacity) {
        out.nErr = -2053;
        out.bNullAfter = true;
        return out;
    }
    out.strText = ToText(r);
    return out;
}

// The exact quotient a / b (b not zero), truncated to nScale decimals, and
// whether the dropped part is at least one half of the last kept unit.
struct Quotient {
    Dec truncated;
    bool bHalfOrMore = false;
};

inline Quotient QuotientAt(const Dec& a, const Dec& b, int nScale)
{
    // |a / b| x 10^nScale = |A| x 10^(sb + nScale - sa) / |B|.
    int t = b.nScale + nScale - a.nScale;
    std::string strN = t >= 0 ? TimesPow10(a.strInt, t) : a.strInt;
    std::string strD = t >= 0 ? b.strInt : TimesPow10(b.strInt, -t);
    std::pair<std::string, std::string> qr = DivModInt(strN, strD);
    Quotient q;
    q.truncated.bNeg = a.bNeg != b.bNeg && !IsZeroInt(qr.first);
    q.truncated.strInt = qr.first;
    q.truncated.nScale = nScale;
    q.bHalfOrMore = CmpInt(AddInt(qr.second, qr.second), strD) >= 0;
    return q;
}

// a / b rounded half away from zero to nScale decimals.
inline Dec RoundedQuotient(const Dec& a, const Dec& b, int nScale)
{
    Quotient q = QuotientAt(a, b, nScale);
    Dec out = q.truncated;
    if (q.bHalfOrMore) {
        out.strInt = AddInt(out.strInt, "1");
        out.bNeg = a.bNeg != b.bNeg;
    }
    return out;
}

// The integer quotient truncated toward zero and the remainder a - q x b,
// which has the dividend's sign (or is zero), exact.
inline std::pair<Dec, Dec> IntegerDivision(const Dec& a, const Dec& b)
{
    // |a| / |b| = |A| x 10^sb / (|B| x 10^sa); the remainder of that integer
    // division is |r| x 10^(sa + sb).
    std::pair<std::string, std::string> qr =
        DivModInt(TimesPow10(a.strInt, b.nScale), TimesPow10(b.strInt, a.nScale));
    Dec q;
    q.strInt = qr.first;
    q.bNeg = a.bNeg != b.bNeg && !IsZeroInt(q.strInt);
    Dec r;
    r.strInt = qr.second;
    r.nScale = a.nScale + b.nScale;
    r.bNeg = a.bNeg && !IsZeroInt(r.strInt);
    return {q, r};
}

} // namespace tvdivmodel

#endif // TV_EXACT_DIV_MODEL_H
