// The reference decimal: magnitudes as strings of decimal digits, schoolbook
// algorithms throughout.
#include "dec_model.h"

#include <algorithm>

namespace model {

namespace {

std::string StripLeading(const std::string& str)
{
    size_t i = 0;
    while (i < str.size() && str[i] == '0')
        ++i;
    return str.substr(i);
}

void Normalize(Dec& d)
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

// Integer digit strings without leading zeros ("" is zero).
int CmpDigits(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    int n = a.compare(b);
    return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

std::string AddDigits(const std::string& a, const std::string& b)
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
std::string SubDigits(const std::string& a, const std::string& b)
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

std::string MulDigits(const std::string& a, const std::string& b)
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

// Integer quotient of two digit strings; den is not zero.
std::string DivDigits(const std::string& num, const std::string& den)
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
    return StripLeading(strQuot);
}

// Both magnitudes as digit strings over the smaller exponent.
void Align(const Dec& a, const Dec& b, std::string* pA, std::string* pB, int* pnExp)
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

} // namespace

Dec Null()
{
    Dec d;
    d.bNull = true;
    return d;
}

Dec Zero()
{
    return Dec();
}

Dec FromUInt(unsigned long long n)
{
    Dec d;
    d.strMag = std::to_string(n);
    Normalize(d);
    return d;
}

Dec FromInt(long long n)
{
    unsigned long long nMag = n < 0 ? 0ULL - static_cast<unsigned long long>(n) : static_cast<unsigned long long>(n);
    Dec d = FromUInt(nMag);
    d.bNeg = n < 0;
    return d;
}

bool IsZero(const Dec& d)
{
    return d.bNull || d.strMag.empty();
}

int IntDigits(const Dec& d)
{
    if (IsZero(d))
        return 0;
    return std::max(0, static_cast<int>(d.strMag.size()) + d.nExp);
}

int Decimals(const Dec& d)
{
    if (IsZero(d))
        return 0;
    return std::max(0, -d.nExp);
}

int Exponent(const Dec& d)
{
    return static_cast<int>(d.strMag.size()) + d.nExp - 1;
}

std::string Text(const Dec& d)
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

bool ParseClean(const std::string& str, Dec* pOut)
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
    Dec d;
    d.bNeg = bNeg;
    d.strMag = strDigits;
    d.nExp = -nDecimals;
    Normalize(d);
    *pOut = d;
    return true;
}

int ParseText(const std::string& str, int nIntLen, Dec* pOut)
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

int CmpMag(const Dec& a, const Dec& b)
{
    std::string strA, strB;
    int nExp = 0;
    Align(a, b, &strA, &strB, &nExp);
    return CmpDigits(strA, strB);
}

int Cmp(const Dec& a, const Dec& b)
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

Dec Neg(const Dec& a)
{
    Dec d = a;
    if (!IsZero(d))
        d.bNeg = !d.bNeg;
    return d;
}

Dec Abs(const Dec& a)
{
    Dec d = a;
    d.bNeg = false;
    return d;
}

Dec Add(const Dec& a, const Dec& b)
{
    Dec aa = a, bb = b;
    aa.bNull = bb.bNull = false;
    if (IsZero(aa))
        return bb;
    if (IsZero(bb))
        return aa;
    std::string strA, strB;
    Dec d;
    Align(aa, bb, &strA, &strB, &d.nExp);
    if (aa.bNeg == bb.bNeg) {
        d.strMag = AddDigits(strA, strB);
        d.bNeg = aa.bNeg;
    } else if (CmpDigits(strA, strB) >= 0) {
        d.strMag = SubDigits(strA, strB);
        d.bNeg = aa.bNeg;
    } else {
        d.strMag = SubDigits(strB, strA);
        d.bNeg = bb.bNeg;
    }
    Normalize(d);
    return d;
}

Dec Sub(const Dec& a, const Dec& b)
{
    Dec bb = b;
    bb.bNull = false;
    return Add(a, Neg(bb));
}

Dec Mul(const Dec& a, const Dec& b)
{
    if (IsZero(a) || IsZero(b))
        return Zero();
    Dec d;
    d.strMag = MulDigits(a.strMag, b.strMag);
    d.nExp = a.nExp + b.nExp;
    d.bNeg = a.bNeg != b.bNeg;
    Normalize(d);
    return d;
}

Dec DivTrunc(const Dec& a, const Dec& b, int nDecimals)
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
    d.strMag = DivDigits(strNum, strDen);
    d.nExp = -nDecimals;
    d.bNeg = a.bNeg != b.bNeg;
    Normalize(d);
    return d;
}

Dec Rem(const Dec& a, const Dec& b)
{
    Dec aa = a;
    aa.bNull = false;
    return Sub(aa, Mul(DivTrunc(aa, b, 0), b));
}

Dec Trunc(const Dec& a)
{
    if (IsZero(a) || a.nExp >= 0)
        return a;
    Dec d = a;
    size_t nDrop = static_cast<size_t>(-a.nExp);
    if (nDrop >= d.strMag.size())
        return Zero();
    d.strMag.resize(d.strMag.size() - nDrop);
    d.nExp = 0;
    Normalize(d);
    return d;
}

Dec Round(const Dec& a, int nScale)
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
        d.strMag = AddDigits(d.strMag, "1");
    Normalize(d);
    return d;
}

} // namespace model
