// A plain reference decimal for the fuzz target: arbitrary precision, slow and
// simple, sharing no code with the library. The target computes every result
// here as well and compares the texts.
#ifndef TV_FUZZ_DEC_MODEL_H
#define TV_FUZZ_DEC_MODEL_H

#include <string>

namespace model {

// value = (bNeg ? -1 : 1) * strMag * 10^nExp. strMag holds decimal digits
// without leading or trailing zeros and is empty for zero (then bNeg is false
// and nExp 0). bNull marks the library's null value, which counts as zero.
struct Dec {
    bool bNull = false;
    bool bNeg = false;
    std::string strMag;
    int nExp = 0;
};

Dec Null();
Dec Zero();
Dec FromInt(long long n);
Dec FromUInt(unsigned long long n);

bool IsZero(const Dec& d);      // zero or null
int IntDigits(const Dec& d);    // digits before the point (0 below one)
int Decimals(const Dec& d);     // digits after the point, up to the last non-zero one
int Exponent(const Dec& d);     // exponent of the first significant digit; not for zero

// The text form: '-', the integer digits ("0" below one), '.' and the
// decimals only when there are any; "0" for zero, "" for null.
std::string Text(const Dec& d);

// Reads "  [+-]digits[.digits]  " (each part may be empty; blanks are spaces):
// the exact value. "" gives the null value. False for any other text.
bool ParseClean(const std::string& str, Dec* pOut);

// What a number of integer capacity nIntLen makes of any text, before its
// rounding: 0 with the exact value for a text that ParseClean reads; else
// -2053 when the integer part has more significant digits than nIntLen,
// and otherwise the code of what follows the number: -2044 a second point,
// -2054 a sign (blanks may stand before it), -2045 anything else.
int ParseText(const std::string& str, int nIntLen, Dec* pOut);

int CmpMag(const Dec& a, const Dec& b);
int Cmp(const Dec& a, const Dec& b); // null counts as zero
Dec Neg(const Dec& a);               // keeps null
Dec Abs(const Dec& a);
Dec Add(const Dec& a, const Dec& b); // exact; never null
Dec Sub(const Dec& a, const Dec& b);
Dec Mul(const Dec& a, const Dec& b);
// |a / b| cut after nDecimals decimals, with the quotient's sign; b not zero.
Dec DivTrunc(const Dec& a, const Dec& b, int nDecimals);
// a - trunc(a / b) * b, the dividend's sign; b not zero.
Dec Rem(const Dec& a, const Dec& b);
Dec Trunc(const Dec& a);             // toward zero; keeps null
// Half away from zero to nScale decimals; keeps null.
Dec Round(const Dec& a, int nScale);

inline bool Fits(const Dec& d, int nIntLen)
{
    return IntDigits(d) <= nIntLen;
}

} // namespace model

#endif // TV_FUZZ_DEC_MODEL_H
