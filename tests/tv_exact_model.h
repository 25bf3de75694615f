// Exact decimal arithmetic on digit strings, as a reference for the tests of
// addition, subtraction, multiplication, comparison and the integer and
// decimal parts. A value is a sign, a magnitude written as decimal digits and
// a scale (the magnitude times ten to the minus scale); nothing here knows the
// library's packed form or calls the library.
#ifndef TV_EXACT_MODEL_H
#define TV_EXACT_MODEL_H

#include <algorithm>
#include <string>
#include <vector>

namespace tvexact {

struct Dec {
    bool bNeg = false;
    std::string strMag = "0"; // digits, no leading zeros; "0" for zero
    int nScale = 0;           // digits of strMag after the point
};

inline std::string StripZeros(const std::string& str)
{
    size_t i = str.find_first_not_of('0');
    return i == std::string::npos ? "0" : str.substr(i);
}

inline bool IsZero(const Dec& a)
{
    return a.strMag == "0";
}

inline Dec Normal(bool bNeg, const std::string& strMag, int nScale)
{
    Dec d;
    d.strMag = StripZeros(strMag);
    d.nScale = nScale;
    d.bNeg = bNeg && d.strMag != "0";
    return d;
}

// Reads an optional '-', digits and an optional point with decimals.
inline Dec FromText(const std::string& strText)
{
    bool bNeg = !strText.empty() && strText[0] == '-';
    std::string strBody = bNeg ? strText.substr(1) : strText;
    size_t nPoint = strBody.find('.');
    if (nPoint == std::string::npos)
        return Normal(bNeg, strBody.empty() ? "0" : strBody, 0);
    std::string strFrac = strBody.substr(nPoint + 1);
    return Normal(bNeg, strBody.substr(0, nPoint) + strFrac, static_cast<int>(strFrac.size()));
}

// The digits of the magnitude with at least nScale + 1 of them.
inline std::string Padded(const Dec& a)
{
    std::string str = a.strMag;
    if (static_cast<int>(str.size()) <= a.nScale)
        str.insert(0, static_cast<size_t>(a.nScale) + 1 - str.size(), '0');
    return str;
}

// The shortest text: no leading zeros ("0" below one), decimals without
// trailing zeros, no point for a whole number, no sign for zero.
inline std::string ToText(const Dec& a)
{
    if (IsZero(a))
        return "0";
    std::string str = Padded(a);
    std::string strInt = str.substr(0, str.size() - static_cast<size_t>(a.nScale));
    std::string strFrac = str.substr(strInt.size());
    while (!strFrac.empty() && strFrac.back() == '0')
        strFrac.pop_back();
    return (a.bNeg ? "-" : "") + strInt + (strFrac.empty() ? "" : "." + strFrac);
}

// How many digits the integer part has (0 below one).
inline int IntDigits(const Dec& a)
{
    if (IsZero(a))
        return 0;
    int n = static_cast<int>(a.strMag.size()) - a.nScale;
    return n > 0 ? n : 0;
}

// The magnitude's digits at scale nScale (nScale >= a.nScale).
inline std::string AtScale(const Dec& a, int nScale)
{
    return a.strMag + std::string(static_cast<size_t>(nScale - a.nScale), '0');
}

inline int CompareDigits(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return a.size() > b.size() ? 1 : -1;
    int n = a.compare(b);
    return n > 0 ? 1 : (n < 0 ? -1 : 0);
}

inline int CompareAbs(const Dec& a, const Dec& b)
{
    int nScale = std::max(a.nScale, b.nScale);
    return CompareDigits(StripZeros(AtScale(a, nScale)), StripZeros(AtScale(b, nScale)));
}

inline int Compare(const Dec& a, const Dec& b)
{
    int nSignA = IsZero(a) ? 0 : (a.bNeg ? -1 : 1);
    int nSignB = IsZero(b) ? 0 : (b.bNeg ? -1 : 1);
    if (nSignA != nSignB)
        return nSignA > nSignB ? 1 : -1;
    return nSignA * CompareAbs(a, b);
}

// Column sums of two digit strings of any length.
inline std::string AddDigits(const std::string& a, const std::string& b)
{
    std::string strOut;
    int nCarry = 0;
    for (size_t i = 0; i < a.size() || i < b.size() || nCarry; ++i) {
        int s = nCarry;
        if (i < a.size())
            s += a[a.size() - 1 - i] - '0';
        if (i < b.size())
            s += b[b.size() - 1 - i] - '0';
        strOut += static_cast<char>('0' + s % 10);
        nCarry = s / 10;
    }
    std::reverse(strOut.begin(), strOut.end());
    return StripZeros(strOut);
}

// a - b for digit strings with a >= b.
inline std::string SubDigits(const std::string& a, const std::string& b)
{
    std::string strOut;
    int nBorrow = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        int d = (a[a.size() - 1 - i] - '0') - nBorrow - (i < b.size() ? b[b.size() - 1 - i] - '0' : 0);
        nBorrow = d < 0;
        strOut += static_cast<char>('0' + (d + 10) % 10);
    }
    std::reverse(strOut.begin(), strOut.end());
    return StripZeros(strOut);
}

inline Dec Negated(Dec a)
{
    a.bNeg = !a.bNeg && !IsZero(a);
    return a;
}

inline Dec Add(const Dec& a, const Dec& b)
{
    int nScale = std::max(a.nScale, b.nScale);
    std::string x = StripZeros(AtScale(a, nScale));
    std::string y = StripZeros(AtScale(b, nScale));
    if (a.bNeg == b.bNeg)
        return Normal(a.bNeg, AddDigits(x, y), nScale);
    if (CompareDigits(x, y) >= 0)
        return Normal(a.bNeg, SubDigits(x, y), nScale);
    return Normal(b.bNeg, SubDigits(y, x), nScale);
}

inline Dec Sub(const Dec& a, const Dec& b)
{
    return Add(a, Negated(b));
}

inline Dec Mul(const Dec& a, const Dec& b)
{
    std::vector<int> anSum(a.strMag.size() + b.strMag.size(), 0);
    for (size_t i = 0; i < a.strMag.size(); ++i)
        for (size_t j = 0; j < b.strMag.size(); ++j)
            anSum[i + j + 1] += (a.strMag[i] - '0') * (b.strMag[j] - '0');
    for (size_t k = anSum.size(); k-- > 1;) {
        anSum[k - 1] += anSum[k] / 10;
        anSum[k] %= 10;
    }
    std::string strMag;
    for (int n : anSum)
        strMag += static_cast<char>('0' + n);
    return Normal(a.bNeg != b.bNeg, strMag, a.nScale + b.nScale);
}

// Rounds half away from zero to nScale decimals (no change when a has fewer).
inline Dec Rounded(const Dec& a, int nScale)
{
    if (a.nScale <= nScale)
        return a;
    std::string str = Padded(a);
    size_t nKeep = str.size() - static_cast<size_t>(a.nScale - nScale);
    bool bUp = str[nKeep] >= '5';
    std::string strKept = str.substr(0, nKeep);
    if (bUp)
        strKept = AddDigits(strKept, "1");
    return Normal(a.bNeg, strKept, nScale);
}

// Truncation toward zero.
inline Dec IntegerPart(const Dec& a)
{
    std::string str = Padded(a);
    return Normal(a.bNeg, str.substr(0, str.size() - static_cast<size_t>(a.nScale)), 0);
}

// What storing an exact result in a number of (nLen, nScale) gives.
struct Stored {
    int nErr = 0;         // 0 or -2053
    bool bNull = false;   // the number holds the null value afterwards
    bool bKept = false;   // the number keeps the value it had before
    std::string strText;  // the text form of the stored value (nErr 0)
};

// An integer part that does not fit is refused before any rounding (the
// number keeps its value); a rounding carry that no longer fits leaves the
// null value.
inline Stored Store(const Dec& exact, int nLen, int nScale)
{
    Stored out;
    if (IntDigits(exact) > nLen - nScale) {
        out.nErr = -2053;
        out.bKept = true;
        return out;
    }
    Dec r = Rounded(exact, nScale);
    if (IntDigits(r) > nLen - nScale) {
        out.nErr = -2053;
        out.bNull = true;
        return out;
    }
    out.strText = ToText(r);
    return out;
}

} // namespace tvexact

#endif // TV_EXACT_MODEL_H
