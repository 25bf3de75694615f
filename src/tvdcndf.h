// clsNumDbFld: a signed decimal number of fixed length and scale, like a
// NUMERIC(length, scale) column: at most 100 digits, every stored result
// rounded half away from zero to the scale, an integer part that does not fit
// raising -2053 instead of being cut. Including this header gives the whole
// interface of the library.
//
// Sources, one layer each:
//   tvdcndf_repr.cpp   packed form, validity check, digit counts, text form
//   tvdcndf_round.cpp  rounding, length and scale, assignment, negation, digit shifts
//   tvdcndf_text.cpp   parsing, assignment from built-in types, streams, g_numZero / g_numOne
//   tvdcndf_addsub.cpp comparison, addition, subtraction, postfix ++ / --
//   tvdcndf_mul.cpp    multiplication, integer and decimal parts
//   tvdcndf_div.cpp    division: quotient, integer quotient, remainder
//   tvdcndf_ops.cpp    two-operand operators, power
// The internal header tvdcndf_packed.h holds the packed form's helpers, the
// working form of the arithmetic kernels and the base-10^8 words.
#ifndef TVDCNDF_H
#define TVDCNDF_H

#include <iostream>
#include <string>

#include "tvncstrb.h"

// The largest length and scale of a number (the division's working copies
// take one more).
const int MAX_NumDbFldLen = 100;

// Operation codes of DoBinaryOp (-112 is no operation).
enum {
    OP_Add = -114,
    OP_Subtract = -113,
    OP_Multiply = -111,
    OP_Modulo = -110,
    OP_Divide = -109
};

namespace tvpacked {
struct clsWorkNum; // the working form of the arithmetic (tvdcndf_packed.h)
}

class CObject {
public:
    virtual void CheckValid() const {}
};

class clsNumDbFld;
clsNumDbFld DoBinaryOp(const clsNumDbFld& num1, const clsNumDbFld& num2, int nOp);

class clsNumDbFld : public CObject {
public:
    // --- construction ------------------------------------------------------
    // The null value at the default length and scale (38 and 8 unless changed).
    clsNumDbFld() : m_nDbFldLen(m_nDefDbFldLen), m_nDbFldScale(m_nDefDbFldScale) {}
    clsNumDbFld(const clsNumDbFld& other);
    // The null value at (nLen, nScale); nScale -1 means 0. A length outside
    // 1..100 or a scale outside 0..nLen raises 2001.
    clsNumDbFld(int nLen, int nScale);
    // A value at the default length and scale; errors as the assignments.
    clsNumDbFld(short n);
    clsNumDbFld(USHORT n);
    clsNumDbFld(int n);
    clsNumDbFld(UINT n);
    clsNumDbFld(long n);
    clsNumDbFld(ULONG n);
    clsNumDbFld(const double& d);
    clsNumDbFld(const char* psz);
    clsNumDbFld(const CString& str);
    virtual ~clsNumDbFld() {}

    // --- representation ----------------------------------------------------
    // Asserts every invariant of the fields and the packed form: a broken one
    // stops the process with its condition. One pass over the bytes; it
    // allocates nothing and writes nothing.
    void CheckValid() const override;
    // The integer capacity: length less scale.
    int GetIntLen() const { return m_nDbFldLen - m_nDbFldScale; }
    // 1 for zero and for the null value.
    int IsZero() const { return m_strData.IsEmpty() || m_strData[0] == 'o'; }
    // The decimal exponent of the first significant digit (123.45 gives 2);
    // only for a value that is neither zero nor null.
    int GetExponent() const { return DecodeExponent(m_strData); }
    int DecodeExponent(const char* pData) const;
    // Digits present: 123.45 gives 5 places and 2 decimals; validates.
    void GetCurNumLenScale(int* pnCurNumLen, int* pnCurScale) const;
    int GetCurIntLen() const;
    int GetCurNumLen() const;
    int GetCurScale() const;
    static int GetDefaultLen() { return m_nDefDbFldLen; }
    static int GetDefaultScale() { return m_nDefDbFldScale; }
    // '-', the integer digits ('0' below one), and '.' with the decimals only
    // when the fraction is not zero: 1.50 gives '1.5', zero '0', null ''.
    clsStrPlus GetText() const;

    // --- rounding, length and scale, assignment ----------------------------
    // Keeps this number's length and scale: other's value is rounded to the
    // scale; integer digits that do not fit raise -2053 (value kept), a
    // rounding carry that does not fit raises -2053 and leaves the null value.
    clsNumDbFld& operator=(const clsNumDbFld& other);
    void Negate();
    // Rounds to nScale decimals half away from zero (below 0 or above the
    // scale: the scale); a carry beyond the capacity: -2053, null value.
    void Round(int nScale);
    // New length (1..100, -1 keeps it) and scale (0..length, -1 keeps it):
    // 2001 for a bad one; -2053 when the integer digits no longer fit; rounds
    // to a smaller scale. SetLenScale(10, 2) on 123.456 gives 123.46.
    void SetLenScale(int nLen, int nScale);
    static void SetDefaultLenScale(int nLen, int nScale);

    // --- text --------------------------------------------------------------
    // Blanks, one sign, digits with at most one point, blanks; rounds half away
    // from zero at the scale, where the first decimal beyond it alone decides,
    // and every character is judged ('1.2349999' at scale 2 gives 1.23,
    // '1.23456e5' raises -2045). -2044 a second point, -2045 an unexpected
    // character, -2053 too many integer digits, -2054 a misplaced sign; a
    // failure leaves the null value. '' gives the null value, '-' zero.
    clsNumDbFld& ParseStr(const char* psz);
    clsNumDbFld& ParseStr(const CString& str);
    clsNumDbFld& operator=(const char* psz) { return ParseStr(psz); }
    clsNumDbFld& operator=(const CString& str) { return ParseStr(str); }
    clsNumDbFld& operator=(short n) { return *this = static_cast<long>(n); }
    clsNumDbFld& operator=(USHORT n) { return *this = static_cast<ULONG>(n); }
    clsNumDbFld& operator=(int n) { return *this = static_cast<long>(n); }
    clsNumDbFld& operator=(UINT n) { return *this = static_cast<ULONG>(n); }
    // Through decimal text; -2053 when the integer digits do not fit.
    clsNumDbFld& operator=(long n);
    clsNumDbFld& operator=(ULONG n);
    // Through "%.*f" at the scale: 2.675 at scale 2 gives 2.67 (the double
    // lies below 2.675); NaN and infinities raise -2045.
    clsNumDbFld& operator=(const double& d);
    // The text form; valid until the number is next checked, changed or destroyed.
    operator const char*() const;
    // The packed form ("" null, "o" zero); validates.
    const char* GetRawData() const;
    // Takes packed data; data that breaks the packed form fails the validity check.
    void SetRawData(const char* pData);

    // --- comparison, addition, subtraction ---------------------------------
    // Signed order: 1, 0 or -1; null counts as zero; length and scale play no part.
    int Compare(const clsNumDbFld& other) const;
    // Order of the magnitudes (zero and null are the smallest): -5 vs 4 gives 1.
    int CompareAbs(const clsNumDbFld& other) const;
    // Rounded to this number's scale; -2053 when the integer part does not fit.
    clsNumDbFld& operator+=(const clsNumDbFld& other);
    clsNumDbFld& operator-=(const clsNumDbFld& other);
    clsNumDbFld operator++(int);
    clsNumDbFld operator--(int);

    // --- multiplication ----------------------------------------------------
    // 12.5 *= -0.4 gives -5; null times anything stays null, anything times
    // null becomes null; -2053 when the integer part does not fit.
    clsNumDbFld& operator*=(const clsNumDbFld& other);
    // Truncated toward zero: -123.45 gives -123 (between -1 and 1: zero at 38, 8).
    clsNumDbFld GetIntegerPart() const;
    // The number less its integer part: -123.45 gives -0.45.
    clsNumDbFld GetDecimalPart() const;

    // --- division ----------------------------------------------------------
    // The quotient rounded to this number's scale: 2 / 3 at scale 8 gives
    // 0.66666667. A zero or null divisor raises -2046; -2053 when the exponent
    // difference reaches the integer capacity or the result does not fit.
    clsNumDbFld& operator/=(const clsNumDbFld& divisor);
    // The remainder of the integer division, with the dividend's sign: 7 % 2.5 gives 2.
    clsNumDbFld& operator%=(const clsNumDbFld& divisor);
    // Integer quotient (truncated toward zero) into *pQuotient and, when given,
    // the remainder into *pRemainder. 2002 for a null pQuotient, 2001 when both
    // name one number. 7 div -2 gives -3 and 1.
    void Divide(const clsNumDbFld& divisor, clsNumDbFld* pQuotient, clsNumDbFld* pRemainder);

    // --- operators and power -----------------------------------------------
    // The integer power at this number's length and scale, each product
    // rounded: 1.01^9 at scale 8 gives 1.09368528; n = 0 gives 1 at (38, 8);
    // zero to a negative power raises -2055.
    clsNumDbFld Pow(int n) const;
    const clsNumDbFld& operator+() const { return *this; }
    clsNumDbFld operator-() const
    {
        clsNumDbFld numTmp(*this);
        numTmp.Negate();
        return numTmp;
    }
    clsNumDbFld& operator++() { return *this += clsNumDbFld(1); }
    clsNumDbFld& operator--() { return *this -= clsNumDbFld(1); }
    clsNumDbFld abs() const { return IsNotNegative() ? clsNumDbFld(*this) : -*this; }
    int IsNotNegative() const { return IsZero() || m_strData[0] == 'p'; }

    // --- conversions through the text form ---------------------------------
    // The text form read as the target type; the number is neither changed nor
    // validated, and the null value gives 0 (CString ""). A value with
    // decimals raises -2044, a negative one -2047 for the unsigned types (the
    // sign first: -1.5 to UINT raises -2047); -2048 / -2049 beyond the 16-bit
    // ranges; -2050 beyond a magnitude of 2147483647 for short, int and long
    // (-2147483648 raises it too), -2051 beyond 4294967295 for USHORT, UINT
    // and ULONG: long and ULONG keep these 32-bit bounds. 40000 to short
    // raises -2048, 3000000000 to USHORT -2049, 5000000000 to USHORT -2051.
    operator short() const { return clsStrPlus(*this).ToShort(); }
    operator USHORT() const { return clsStrPlus(*this).ToUShort(); }
    operator int() const { return clsStrPlus(*this).ToInt(); }
    operator UINT() const { return clsStrPlus(*this).ToUInt(); }
    operator long() const { return clsStrPlus(*this).ToLong(); }
    operator ULONG() const { return clsStrPlus(*this).ToULong(); }
    operator double() const { return clsStrPlus(*this).ToDouble(); }
    operator CString() const
    {
        clsStrPlus strTmp(*this);
        return CString(static_cast<const char*>(strTmp), static_cast<size_t>(strTmp.GetLength()));
    }

protected:
    friend clsNumDbFld DoBinaryOp(const clsNumDbFld& num1, const clsNumDbFld& num2, int nOp);

    // A packed byte as the signed value it stands for.
    static int SignedByte(char ch) { return static_cast<signed char>(ch); }
    // The exponent byte for e = nExp in a value of the given sign.
    static char ExponentByte(int nExp, bool bNegative)
    {
        int nByte = nExp >= 0 ? nExp + 10 : nExp - 10;
        return static_cast<char>(bNegative ? -nByte : nByte);
    }
    // Writes the exponent byte for e = nExp in place (value of two bytes or more).
    void SetExponent(int nExp);
    // CheckValid's assertions one by one, for a number that it found broken.
    void AssertValid() const;
    // Writes a packed value of nLen bytes into m_strData: the one write of an
    // operation's result. It allocates only when the block is too small, and
    // then the old value stays until the new block holds the new one.
    void StorePacked(const char* pData, int nLen);
    // Stores an exact result at this number's length and scale, then validates:
    // an integer part beyond the capacity raises -2053 and keeps the old value;
    // a result with more decimals than the scale is rounded, and a rounding
    // carry beyond the capacity raises -2053 and leaves the null value.
    void StoreResult(tvpacked::clsWorkNum& w);
    // This number becomes t + other (t - other when bSubtract), t being its
    // own value or, in DoBinaryOp, the left operand's at this number's
    // precision; stored as StoreResult does. other is validated.
    void StoreSum(tvpacked::clsWorkNum& t, const clsNumDbFld& other, bool bSubtract);
    // The same sum of a packed value (nLen bytes, valid at this number's
    // precision) and other, made on the packed bytes when neither is zero or
    // null and neither has more decimals than the scale; false (nothing
    // done) otherwise.
    bool StoreSumPacked(const char* pData, int nLen, const clsNumDbFld& other, bool bSubtract);
    // This number becomes t * other, t being the packed value pData of nLen
    // bytes (its own, or in DoBinaryOp the left operand's), first rounded to
    // this number's scale when it has more decimals; stored as StoreResult
    // stores an exact result. other is validated; pData may be m_strData.
    void StoreProduct(const char* pData, int nLen, const clsNumDbFld& other);
    // The packed value pData (nLen bytes, valid) at this number's scale: pData
    // itself when it has no more decimals, else the value rounded half away
    // from zero into pBuf (kMaxPackedBytes), nLen updated. -2053 when the
    // rounded value reaches this number's capacity.
    const char* RoundedToScale(const char* pData, int& nLen, char* pBuf) const;
    // Pow of a base that is neither zero nor null, for n other than 0.
    clsNumDbFld PowOfValue(int n) const;
    // Rounds a value with nCurScale decimals to nNewScale (Round's worker).
    void RoundTo(int nNewScale, int nCurScale);
    // Rounds a freshly built result that may hold more decimals than the
    // scale (counted from the packed digits, without a validity check).
    void RoundExcessDecimals();
    // Digit runs ending in a NUL: d1 d2 .. dm becomes d2 .. dm 0 (left) or
    // 0 d1 .. dm (right, one byte longer).
    void ShiftLeftDigit(char* pDigits);
    void ShiftRightDigit(char* pDigits);
    void AddAbs(const clsNumDbFld& other);
    void SubtractAbs(const clsNumDbFld& other);
    void MultiplyBy(const clsNumDbFld& other);
    void DivideBy(const clsNumDbFld& divisor, clsNumDbFld* pQuotient, clsNumDbFld* pRemainder);
    // DivideBy and operator= (for an other that is not this number) without
    // the validity checks of their operands, for callers that made them.
    void DivideValidated(const clsNumDbFld& divisor, clsNumDbFld* pQuotient, clsNumDbFld* pRemainder);
    void AssignValidated(const clsNumDbFld& other);
    void DivideCore(const clsNumDbFld& divisor, clsNumDbFld* pQuotient, clsNumDbFld* pRemainder);
    // DivideCore of a dividend given by its packed bytes (nLen, neither zero
    // nor null) at this number's length and scale; with no pointer given,
    // this number takes the quotient with decimals.
    void DivideValue(const char* pData, int nLen, const clsNumDbFld& divisor, clsNumDbFld* pQuotient,
                     clsNumDbFld* pRemainder);
    // This number (neither operand) becomes dividend / divisor, or the
    // remainder dividend % divisor, as the assignment of dividend followed by
    // /= or %= would make it (a -2053 leaves it as it was); both operands are
    // validated.
    void DivideInto(const clsNumDbFld& dividend, const clsNumDbFld& divisor, bool bRemainder);
    // Stores an exact packed result (nLen bytes) as StoreResult does: -2053
    // keeping the old value when its integer part does not fit, rounded to
    // the scale (a carry beyond the capacity: -2053, null value); validates.
    // bFitsScale: the value is known to have no more decimals than the scale.
    void StoreExactPacked(const char* pData, int nLen, bool bFitsScale);

    // The packed form of the value, one string a number:
    //   ""      the null value (counts as zero; what a failed parse leaves)
    //   "o"     zero
    //   s E d.. a sign byte 'p' or 'n'; the exponent byte E = e + 10 for the
    //           exponent e >= 0 of the first significant digit, e - 10 for
    //           e < 0; then the digits from the first to the last non-zero
    //           one, two to a byte as 10 * d1 + d2 + 10 (10..109), an odd run
    //           padded with a 0 digit. A negative value stores E and every
    //           digit byte negated, so no byte is ever 0.
    // Compared as signed bytes, the forms order as the values do:
    //   1       'p', 10, 20           -1      'n', -10, -20
    //   1010    'p', 13, 20, 20       0.5     'p', -11, 60
    //   123.45  'p', 12, 22, 44, 60   -0.00123 'n', 13, -22, -40
    int m_nDbFldLen;           // digits in all: 1..100 (101 in the division's copies)
    int m_nDbFldScale;         // digits after the point: 0..m_nDbFldLen
    clsStrPlus m_strData;      // the packed value
    clsStrPlus m_strWork;      // scratch space; holds nothing to rely on afterwards
    mutable clsStrPlus m_strText; // the text form, written by operator const char*

    static int m_nDefDbFldLen;   // 38
    static int m_nDefDbFldScale; // 8
};

// ---------------------------------------------------------------------------
// Two-operand operators: new numbers at the precision of the operand with the
// larger integer capacity (the larger scale on a tie, the left on a full tie);
// the left operand is assigned into the result first, then the operation is
// applied. An int operand is a number at the default length and scale.
// ---------------------------------------------------------------------------
inline clsNumDbFld operator+(const clsNumDbFld& num1, const clsNumDbFld& num2)
{
    return DoBinaryOp(num1, num2, OP_Add);
}
inline clsNumDbFld operator+(const clsNumDbFld& num, int n)
{
    return DoBinaryOp(num, clsNumDbFld(n), OP_Add);
}
inline clsNumDbFld operator-(const clsNumDbFld& num1, const clsNumDbFld& num2)
{
    return DoBinaryOp(num1, num2, OP_Subtract);
}
inline clsNumDbFld operator*(const clsNumDbFld& num1, const clsNumDbFld& num2)
{
    return DoBinaryOp(num1, num2, OP_Multiply);
}
inline clsNumDbFld operator*(const clsNumDbFld& num, int n)
{
    return DoBinaryOp(num, clsNumDbFld(n), OP_Multiply);
}
clsNumDbFld operator/(const clsNumDbFld& num1, const clsNumDbFld& num2);
inline clsNumDbFld operator/(const clsNumDbFld& num, int n)
{
    return DoBinaryOp(num, clsNumDbFld(n), OP_Divide);
}
inline clsNumDbFld operator%(const clsNumDbFld& num1, const clsNumDbFld& num2)
{
    return DoBinaryOp(num1, num2, OP_Modulo);
}

// The int forms take an int only: any other built-in value (a double, a
// 64-bit long) would be converted to int on the way in, cut without a word,
// so such a call does not compile. Write clsNumDbFld(value) instead.
template <class T>
using EnableIfNotInt = std::enable_if_t<std::is_arithmetic_v<T> && !std::is_same_v<T, int>, int>;
template <class T, EnableIfNotInt<T> = 0>
clsNumDbFld operator+(const clsNumDbFld& num, T value) = delete;
template <class T, EnableIfNotInt<T> = 0>
clsNumDbFld operator*(const clsNumDbFld& num, T value) = delete;
template <class T, EnableIfNotInt<T> = 0>
clsNumDbFld operator/(const clsNumDbFld& num, T value) = delete;

// ---------------------------------------------------------------------------
// Comparisons of a number with a built-in value or a text, on either side:
// the value becomes a number at the default length and scale (so it is
// rounded to the default scale and must fit the default capacity) and
// Compare decides. Each returns 1 or 0.
// ---------------------------------------------------------------------------
// clang-format off
#define TV_NUM_VALUE_COMPARISONS(T)                                                                       \
    inline int operator==(const clsNumDbFld& num, T value) { return num.Compare(clsNumDbFld(value)) == 0; }  \
    inline int operator==(T value, const clsNumDbFld& num) { return num.Compare(clsNumDbFld(value)) == 0; }  \
    inline int operator!=(const clsNumDbFld& num, T value) { return num.Compare(clsNumDbFld(value)) != 0; }  \
    inline int operator!=(T value, const clsNumDbFld& num) { return num.Compare(clsNumDbFld(value)) != 0; }  \
    inline int operator<=(const clsNumDbFld& num, T value) { return num.Compare(clsNumDbFld(value)) != 1; }  \
    inline int operator<=(T value, const clsNumDbFld& num) { return num.Compare(clsNumDbFld(value)) != -1; } \
    inline int operator>=(const clsNumDbFld& num, T value) { return num.Compare(clsNumDbFld(value)) != -1; } \
    inline int operator>=(T value, const clsNumDbFld& num) { return num.Compare(clsNumDbFld(value)) != 1; }
// clang-format on

TV_NUM_VALUE_COMPARISONS(short)
TV_NUM_VALUE_COMPARISONS(USHORT)
TV_NUM_VALUE_COMPARISONS(int)
TV_NUM_VALUE_COMPARISONS(UINT)
TV_NUM_VALUE_COMPARISONS(long)
TV_NUM_VALUE_COMPARISONS(ULONG)
TV_NUM_VALUE_COMPARISONS(double)
TV_NUM_VALUE_COMPARISONS(const char*)
TV_NUM_VALUE_COMPARISONS(const CString&)

#undef TV_NUM_VALUE_COMPARISONS

// No < or > between a number and a text: the number would convert to its text
// pointer and the built-in pointer comparison would order the two addresses
// (clsNumDbFld("5") > "10" giving 1). These four also catch character arrays,
// clsStrPlus operands and a null pointer constant; compare through Compare.
int operator<(const clsNumDbFld& num, const char* psz) = delete;
int operator<(const char* psz, const clsNumDbFld& num) = delete;
int operator>(const clsNumDbFld& num, const char* psz) = delete;
int operator>(const char* psz, const clsNumDbFld& num) = delete;

// ---------------------------------------------------------------------------
// Streams: the text form out (field width and fill apply to the whole text);
// one word in, parsed (a word that is not a number raises its error).
// ---------------------------------------------------------------------------
std::ostream& operator<<(std::ostream& os, const clsNumDbFld& num);
std::istream& operator>>(std::istream& is, clsNumDbFld& num);

// ---------------------------------------------------------------------------
// The global numbers 0 and 1, at length 38 and scale 8. They are built before
// the first file that includes this header runs its own start-up code, zero
// first, and destroyed in reverse order after the last such file's objects.
// ---------------------------------------------------------------------------
extern const clsNumDbFld& g_numZero;
extern const clsNumDbFld& g_numOne;

class clsNumGlobalsInit {
public:
    clsNumGlobalsInit();
    ~clsNumGlobalsInit();
};
static clsNumGlobalsInit s_numGlobalsInit;

#endif // TVDCNDF_H
