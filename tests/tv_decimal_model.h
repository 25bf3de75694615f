// A small reference model of the number's text at a given length and scale,
// for the parser, assignment and rounding tests. It works on digit strings
// with a different method than the library (it splits the text into its
// parts first, then decides) and knows nothing of the packed form.
#ifndef TV_DECIMAL_MODEL_H
#define TV_DECIMAL_MODEL_H

#include <string>

namespace tvmodel {

// What a parse or an assignment gives: nErr 0 and the text form of the value
// ("" for the null value, "0" for zero), or the error code.
struct Outcome {
    int nErr = 0;
    std::string strText;
};

inline bool IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

inline std::string StripLeadingZeros(const std::string& str)
{
    size_t i = 0;
    while (i < str.size() && str[i] == '0')
        ++i;
    return str.substr(i);
}

// The text form of sign, integer digits and decimals: no leading zeros in
// the integer part ("0" below one), no trailing zeros in the fraction, no
// point for a whole number, no sign for zero.
inline std::string CanonText(bool bNegative, const std::string& strInt, const std::string& strFrac)
{
    std::string strI = StripLeadingZeros(strInt);
    std::string strF = strFrac;
    while (!strF.empty() && strF.back() == '0')
        strF.pop_back();
    if (strI.empty() && strF.empty())
        return "0";
    std::string strOut = bNegative ? "-" : "";
    strOut += strI.empty() ? "0" : strI;
    if (!strF.empty())
        strOut += "." + strF;
    return strOut;
}

// Adds one unit in the last decimal place of strInt.strFrac (strFrac already
// cut to the scale); a carry out of the integer part lengthens it.
inline void IncrementLastPlace(std::string& strInt, std::string& strFrac)
{
    for (size_t i = strFrac.size(); i-- > 0;) {
        if (strFrac[i] != '9') {
            ++strFrac[i];
            return;
        }
        strFrac[i] = '0';
    }
    for (size_t i = strInt.size(); i-- > 0;) {
        if (strInt[i] != '9') {
            ++strInt[i];
            return;
        }
        strInt[i] = '0';
    }
    strInt.insert(strInt.begin(), '1');
}

// Rounds sign, integer digits and decimals half away from zero to nDecimals
// decimals (only the first dropped digit decides) and checks the integer
// digits against the integer capacity nIntCap.
inline Outcome RoundValue(bool bNegative, std::string strInt, std::string strFrac, int nDecimals, int nIntCap)
{
    Outcome out;
    strInt = StripLeadingZeros(strInt);
    bool bUp = false;
    if (static_cast<int>(strFrac.size()) > nDecimals) {
        bUp = strFrac[static_cast<size_t>(nDecimals)] >= '5';
        strFrac.resize(static_cast<size_t>(nDecimals));
    }
    if (bUp)
        IncrementLastPlace(strInt, strFrac);
    if (static_cast<int>(strInt.size()) > nIntCap) {
        out.nErr = -2053;
        return out;
    }
    out.strText = CanonText(bNegative, strInt, strFrac);
    return out;
}

// Rounds the text form strValue (as the model writes it) to nDecimals
// decimals in a number of integer capacity nIntCap; the null value stays null.
inline Outcome RoundText(const std::string& strValue, int nDecimals, int nIntCap)
{
    if (strValue.empty())
        return Outcome{};
    bool bNegative = strValue[0] == '-';
    std::string strBody = bNegative ? strValue.substr(1) : strValue;
    size_t nPoint = strBody.find('.');
    std::string strInt = nPoint == std::string::npos ? strBody : strBody.substr(0, nPoint);
    std::string strFrac = nPoint == std::string::npos ? "" : strBody.substr(nPoint + 1);
    return RoundValue(bNegative, strInt, strFrac, nDecimals, nIntCap);
}

// The text that a number of length nLen and scale nScale accepts.
//
// The text splits into: blanks, one sign, an integer digit run, a point with
// a fraction digit run, and the rest. More integer digits than the capacity
// fail first (they are read before anything after them); then the rest must
// be blanks: a second point is -2044, a sign after optional blanks -2054 and
// anything else -2045. Only then is the value rounded, where the first
// fraction digit beyond the scale alone decides.
inline Outcome Parse(const std::string& strText, int nLen, int nScale)
{
    Outcome out;
    if (strText.empty())
        return out;
    size_t i = 0;
    while (i < strText.size() && strText[i] == ' ')
        ++i;
    bool bNegative = false;
    if (i < strText.size() && (strText[i] == '-' || strText[i] == '+')) {
        bNegative = strText[i] == '-';
        ++i;
    }
    size_t nStart = i;
    while (i < strText.size() && IsDigit(strText[i]))
        ++i;
    std::string strInt = StripLeadingZeros(strText.substr(nStart, i - nStart));
    bool bPoint = false;
    std::string strFrac;
    if (i < strText.size() && strText[i] == '.') {
        bPoint = true;
        nStart = ++i;
        while (i < strText.size() && IsDigit(strText[i]))
            ++i;
        strFrac = strText.substr(nStart, i - nStart);
    }
    std::string strRest = strText.substr(i);

    if (static_cast<int>(strInt.size()) > nLen - nScale) {
        out.nErr = -2053;
        return out;
    }
    if (!strRest.empty()) {
        if (strRest[0] == '.' && bPoint) {
            out.nErr = -2044;
            return out;
        }
        size_t k = strRest.find_first_not_of(' ');
        if (k != std::string::npos) {
            out.nErr = (strRest[k] == '+' || strRest[k] == '-') ? -2054 : -2045;
            return out;
        }
    }
    return RoundValue(bNegative, strInt, strFrac, nScale, nLen - nScale);
}

} // namespace tvmodel

#endif // TV_DECIMAL_MODEL_H
