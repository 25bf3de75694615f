// The packed form of a number's value, and the working form in which the
// arithmetic computes. Internal to the library: the number's sources include
// it, tvdcndf.h does not.
//
// Packed form: m_strData, a NUL-terminated string read as signed bytes.
//   ""             the null value (counts as zero)
//   "o"            zero
//   s E d1 .. dn   s is 'p' or 'n'; E is the exponent byte, e + 10 for the
//                  decimal exponent e >= 0 of the first significant digit and
//                  e - 10 for e < 0; each digit byte dk holds two digits h, l
//                  as 10 * h + l + 10 (10..109). d1's first digit is not 0,
//                  dn is never 10 (two zero digits); an odd run ends in the
//                  pad digit 0. A negative value stores E and every dk negated.
// Digit byte k (from 0) holds the digits that stand for 10^(e - 2k) and
// 10^(e - 2k - 1). 123.45 is 'p', 12, 22, 44, 60; -0.00123 is 'n', 13, -22, -40.
// A value of length 101 (the largest the check admits) takes 53 bytes.
//
// Working form (clsWorkNum): the magnitude as base-100 digits 0..99 on the
// fixed grid of the powers of 100, most significant first: aDigit[i] stands
// for 100^(nPow - i). The packed pairs sit on that grid when e is odd; for an
// even e every pair is cut in two (123.45, e = 2, works as 1 | 23 | 45 with
// nPow 1). Two working values therefore line up by whole digits, whatever
// their exponents, and a carry or a borrow never needs a shift of one decimal
// digit. Packing turns the grid back into pairs that begin with the first
// significant digit.
#ifndef TVDCNDF_PACKED_H
#define TVDCNDF_PACKED_H

#include <cstring>

#include "tvdcndf.h"
#include "tverrcode.h"

namespace tvpacked {

// Sign bytes; the letters order as the signs do.
constexpr char kSignNegative = 'n';
constexpr char kSignZero = 'o';
constexpr char kSignPositive = 'p';
// Offset of the exponent byte and of the digit bytes.
constexpr int kByteOffset = 10;
// Radix of a digit byte: two decimal digits.
constexpr int kRadix = 100;
// The longest packed value (length 101: 51 digit bytes) with its NUL.
constexpr int kMaxPackedBytes = 54;
// Digits of a working value. An unrounded sum or difference spans at most
// 100 integer and 101 decimal places plus a carry, a product before its
// rounding 51 + 51 digits: 102 at most, with room to spare.
constexpr int kWorkDigits = 112;

// --- packed bytes --------------------------------------------------------------

// Digit bytes read through tables, indexed by the byte as an unsigned char:
// its pair 0..99 in either sign, the pair's high digit, and its low digit
// times 10. A pair d is also read through index d + 10.
struct clsDigitTables {
    unsigned char anPair[256];
    unsigned char anHigh[256];
    unsigned char anLow10[256];
    constexpr clsDigitTables() : anPair(), anHigh(), anLow10()
    {
        for (int i = 0; i < 256; ++i) {
            int nByte = i < 128 ? i : i - 256;
            int nPair = (nByte < 0 ? -nByte : nByte) - kByteOffset;
            if (nPair < 0 || nPair >= kRadix)
                nPair = 0; // no digit byte
            anPair[i] = static_cast<unsigned char>(nPair);
            anHigh[i] = static_cast<unsigned char>(nPair / 10);
            anLow10[i] = static_cast<unsigned char>(nPair % 10 * 10);
        }
    }
};
inline constexpr clsDigitTables kDigitTables{};

inline int SignedByte(char ch)
{
    return static_cast<signed char>(ch);
}

// The two digits of a digit byte as a value 0..99, in either sign: 22 and -22 give 12.
inline int PairOf(char chByte)
{
    int nByte = SignedByte(chByte);
    return (nByte < 0 ? -nByte : nByte) - kByteOffset;
}

// The digit byte of a pair 0..99 in a value of the given sign.
inline char PairByte(int nPair, bool bNegative)
{
    int nByte = nPair + kByteOffset;
    return static_cast<char>(bNegative ? -nByte : nByte);
}

// e from the sign byte and the exponent byte: 'p', 12 and 'n', -12 give 2.
inline int DecodeExponentByte(char chSign, char chExp)
{
    int nByte = SignedByte(chExp);
    if (chSign == kSignNegative)
        nByte = -nByte;
    return nByte >= kByteOffset ? nByte - kByteOffset : nByte + kByteOffset;
}

// The exponent byte for e = nExp in a value of the given sign.
inline char EncodeExponentByte(int nExp, bool bNegative)
{
    int nByte = nExp >= 0 ? nExp + kByteOffset : nExp - kByteOffset;
    return static_cast<char>(bNegative ? -nByte : nByte);
}

// The count of a run of digit bytes once its trailing zero pairs (10 or -10)
// are dropped.
inline int TrimZeroPairs(const char* pDigitBytes, int nBytes)
{
    while (nBytes > 0 && PairOf(pDigitBytes[nBytes - 1]) == 0)
        --nBytes;
    return nBytes;
}

// The decimals present in a packed value of nLen bytes: twice the digit bytes
// less e + 1, the pad digit of an odd run not counted, and 0 at least. Zero
// and the null value have none. 123.45 gives 2, 1200 gives 0.
inline int StoredDecimals(const char* pData, int nLen)
{
    if (nLen <= 1)
        return 0;
    int nDecimals = 2 * (nLen - 2) - DecodeExponentByte(pData[0], pData[1]) - 1;
    if (nDecimals > 0 && PairOf(pData[nLen - 1]) % 10 == 0)
        --nDecimals;
    return nDecimals < 0 ? 0 : nDecimals;
}

// The integer digits present: e + 1 for e >= 0, else 0 (zero and null: 0).
inline int StoredIntegerDigits(const char* pData, int nLen)
{
    if (nLen <= 1)
        return 0;
    int nExp = DecodeExponentByte(pData[0], pData[1]);
    return nExp >= 0 ? nExp + 1 : 0;
}

// Every invariant of a number of length nLen and scale nScale whose packed
// value pData has nBytes bytes, in one pass and without a report: true when
// all hold. CheckValid asserts them one by one when this gives false.
bool IsValidPacked(int nLen, int nScale, const char* pData, int nBytes);

// --- the working form ----------------------------------------------------------

struct clsWorkNum {
    int nPow;       // aDigit[0] stands for 100^nPow
    int nDigits;    // digits in use; 0 for zero and for the null value
    bool bNegative; // the sign of the value
    bool bNull;     // the null value
    unsigned char aDigit[kWorkDigits];
};

// floor(n / 2), also for a negative n.
inline int FloorHalf(int n)
{
    return (n - (n & 1)) / 2;
}

// Requires: a valid packed value of nLen bytes that is neither zero nor null.
// Gives: its working form, first and last digit not 0.
inline void Unpack(const char* pData, int nLen, clsWorkNum& w)
{
    const int nExp = DecodeExponentByte(pData[0], pData[1]);
    const char* pBytes = pData + 2;
    const int nBytes = nLen - 2;
    w.bNegative = pData[0] == kSignNegative;
    w.bNull = false;
    w.nPow = FloorHalf(nExp);
    const unsigned char* pU = reinterpret_cast<const unsigned char*>(pBytes);
    if (nExp & 1) {
        for (int i = 0; i < nBytes; ++i)
            w.aDigit[i] = kDigitTables.anPair[pU[i]];
        w.nDigits = nBytes;
        return;
    }
    // e even: the first digit stands alone in the units of 100^nPow, and
    // every later grid digit takes one digit from each of two pairs.
    w.aDigit[0] = kDigitTables.anHigh[pU[0]];
    for (int i = 1; i < nBytes; ++i)
        w.aDigit[i] = static_cast<unsigned char>(kDigitTables.anLow10[pU[i - 1]] + kDigitTables.anHigh[pU[i]]);
    const unsigned char nLast = kDigitTables.anLow10[pU[nBytes - 1]];
    w.aDigit[nBytes] = nLast;
    w.nDigits = nBytes + (nLast != 0);
}

// Requires: a valid packed value of nLen bytes. Gives: its working form;
// zero and the null value have no digits.
inline void Load(const char* pData, int nLen, clsWorkNum& w)
{
    if (nLen > 1) {
        Unpack(pData, nLen, w);
        return;
    }
    w.nPow = 0;
    w.nDigits = 0;
    w.bNegative = false;
    w.bNull = nLen == 0;
}

// Requires: first digit not 0. Gives: the decimal exponent of the first
// significant digit.
inline int ExponentOf(const clsWorkNum& w)
{
    return 2 * w.nPow + (w.aDigit[0] >= 10 ? 1 : 0);
}

// Requires: first and last digit not 0, and a value whose packed form fits
// kMaxPackedBytes (every rounded result that passed its capacity test does).
// Gives: the packed form with its NUL in pOut, and its length.
inline int Pack(const clsWorkNum& w, char* pOut)
{
    const bool bNegative = w.bNegative;
    const int n = w.nDigits;
    char* pBytes = pOut + 2;
    int nBytes = n;
    if (w.aDigit[0] >= 10) {
        for (int i = 0; i < n; ++i)
            pBytes[i] = PairByte(w.aDigit[i], bNegative);
    } else {
        // The first significant digit is the low one of the first grid digit:
        // every pair takes one digit from each of two grid digits.
        for (int i = 0; i + 1 < n; ++i)
            pBytes[i] = PairByte(kDigitTables.anLow10[w.aDigit[i] + kByteOffset] +
                                     kDigitTables.anHigh[w.aDigit[i + 1] + kByteOffset],
                                 bNegative);
        int nLastPair = kDigitTables.anLow10[w.aDigit[n - 1] + kByteOffset];
        if (nLastPair == 0)
            --nBytes;
        else
            pBytes[n - 1] = PairByte(nLastPair, bNegative);
    }
    pOut[0] = bNegative ? kSignNegative : kSignPositive;
    pOut[1] = EncodeExponentByte(ExponentOf(w), bNegative);
    pBytes[nBytes] = 0;
    return nBytes + 2;
}

// Drops leading and trailing zero digits (leading ones lower nPow).
// Gives: false when no digit is left (the value is zero).
inline bool Normalise(clsWorkNum& w)
{
    int nLead = 0;
    while (nLead < w.nDigits && w.aDigit[nLead] == 0)
        ++nLead;
    if (nLead == w.nDigits)
        return false;
    int n = w.nDigits;
    while (w.aDigit[n - 1] == 0)
        --n;
    if (nLead > 0)
        std::memmove(w.aDigit, w.aDigit + nLead, static_cast<size_t>(n - nLead));
    w.nPow -= nLead;
    w.nDigits = n - nLead;
    return true;
}

// The decimals present in a normalised working value: 123.45 gives 2, 1200 0.
inline int WorkDecimals(const clsWorkNum& w)
{
    const int nLow = 2 * (w.nPow - w.nDigits + 1) + (w.aDigit[w.nDigits - 1] % 10 == 0 ? 1 : 0);
    return nLow < 0 ? -nLow : 0;
}

// --- kernels ---------------------------------------------------------------------
// None of them validates, allocates or throws; each states what it requires.

// Requires: two valid packed values, neither zero nor null. Gives: the order
// of their magnitudes, 1, 0 or -1 (-5 against 4 gives 1).
int CompareMagnitude(const char* pA, int nLenA, const char* pB, int nLenB);

// Requires: a and b normalised and not zero. Gives: the order of their
// magnitudes, 1, 0 or -1.
int CompareMagnitude(const clsWorkNum& a, const clsWorkNum& b);

// Digit bytes of a sum's frame: the span of two valid values (at most 203
// decimal places) in pairs, and a carry slot.
constexpr int kSumFrame = kWorkDigits;

// Requires: two valid packed values, neither zero nor null; pOut has room for
// kSumFrame + 4 bytes. Gives: the packed a + b (a - b when bSubtract), exact,
// with its NUL in pOut, and its length ("o" and 1 for zero). Adds the digit
// bytes where they stand, without the working form; the result's exponent
// and decimals are the caller's to test against a precision.
int SumPacked(const char* pA, int nLenA, const char* pB, int nLenB, bool bSubtract, char* pOut);

// Requires: a and b normalised and not zero; r may not be a or b. Gives:
// r = a + b, or a - b when bSubtract, exact and not normalised.
void SignedSum(const clsWorkNum& a, const clsWorkNum& b, bool bSubtract, clsWorkNum& r);

// Requires: a and b normalised; r may not be a or b. Gives: r = |a| + |b|,
// not normalised (its first digit may be 0), with a's sign.
void AddMagnitudes(const clsWorkNum& a, const clsWorkNum& b, clsWorkNum& r);

// Requires: a and b normalised, |a| >= |b|; r may not be a or b. Gives:
// r = |a| - |b|, not normalised (it may be zero), with a's sign.
void SubtractMagnitudes(const clsWorkNum& a, const clsWorkNum& b, clsWorkNum& r);

// Requires: a and b normalised; r may not be a or b. Gives: r = |a| * |b|,
// exact and not normalised, with the product's sign.
void MultiplyMagnitudes(const clsWorkNum& a, const clsWorkNum& b, clsWorkNum& r);

// Requires: a and b normalised and not zero, at most 52 digits each, and a
// quotient of at most 102 digits down to 10^nLowExp; q and *pr may not be a
// or b, pr may be null. Gives: q = |a| / |b| truncated to a multiple of
// 10^nLowExp, with the quotient's sign, and *pr = a - q * b exactly, with a's
// sign; both normalised (nDigits 0 for zero). 10 / 4 at 10^-1 gives 2.5, 0.
void DivideMagnitudes(const clsWorkNum& a, const clsWorkNum& b, int nLowExp, clsWorkNum& q, clsWorkNum* pr);

// Requires: w normalised, nScale >= 0. Gives: w rounded half away from zero
// to nScale decimals (only the first dropped digit decides), normalised;
// false when the rounded value is zero. 0.005 to 2 decimals gives 0.01.
bool RoundToScale(clsWorkNum& w, int nScale);

// How an exact result fits a number's precision (FitToPrecision).
enum clsFit {
    kFitValue,         // w holds the result, rounded to the scale
    kFitZero,          // the result is zero, or rounds to zero
    kFitTooLarge,      // its integer part exceeds the capacity
    kFitCarryTooLarge, // it fits, but the rounding carries beyond the capacity
};

// Requires: an exact result in w (not normalised, possibly zero) and a
// number's integer capacity nCap and scale nScale. Gives: how it fits, with
// w normalised and rounded half away from zero to nScale decimals when kFitValue.
inline clsFit FitToPrecision(clsWorkNum& w, int nCap, int nScale)
{
    if (!Normalise(w))
        return kFitZero;
    if (ExponentOf(w) >= nCap)
        return kFitTooLarge;
    if (WorkDecimals(w) > nScale) {
        if (!RoundToScale(w, nScale))
            return kFitZero;
        if (ExponentOf(w) >= nCap)
            return kFitCarryTooLarge;
    }
    return kFitValue;
}

} // namespace tvpacked

#endif // TVDCNDF_PACKED_H
