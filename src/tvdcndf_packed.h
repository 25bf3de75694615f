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

#include <cstdint>
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

// --- copying packed bytes --------------------------------------------------------
// Short copies inlined as a few fixed-size moves (GCC turns each memcpy of a
// constant size into one load and one store): the stored values are at most
// 54 bytes, where a call to the library's memcpy costs more than the copy.

// Copies nBytes (0..64) from pSrc to pDst, reading and writing those bytes
// only: overlapping moves of 16, 8, 4 or 1 bytes. The two may not overlap.
inline void CopyShortBytes(char* pDst, const char* pSrc, int nBytes)
{
    if (nBytes >= 16) {
        std::memcpy(pDst, pSrc, 16);
        if (nBytes > 32) {
            std::memcpy(pDst + 16, pSrc + 16, 16);
            if (nBytes > 48)
                std::memcpy(pDst + 32, pSrc + 32, 16);
        }
        std::memcpy(pDst + nBytes - 16, pSrc + nBytes - 16, 16);
    } else if (nBytes >= 8) {
        std::memcpy(pDst, pSrc, 8);
        std::memcpy(pDst + nBytes - 8, pSrc + nBytes - 8, 8);
    } else if (nBytes >= 4) {
        std::memcpy(pDst, pSrc, 4);
        std::memcpy(pDst + nBytes - 4, pSrc + nBytes - 4, 4);
    } else if (nBytes > 0) {
        pDst[0] = pSrc[0];
        pDst[nBytes / 2] = pSrc[nBytes / 2];
        pDst[nBytes - 1] = pSrc[nBytes - 1];
    }
}

// Copies nBytes (>= 0) from pSrc to pDst: as CopyShortBytes up to 64 bytes
// (a stored value has at most 54), by memcpy beyond. The two may not overlap.
inline void CopyPackedBytes(char* pDst, const char* pSrc, int nBytes)
{
    if (nBytes <= 64)
        CopyShortBytes(pDst, pSrc, nBytes);
    else
        std::memcpy(pDst, pSrc, static_cast<size_t>(nBytes));
}

// Copies nBytes (1..64) from one string block's character area to another's,
// in 16-byte moves: [0, 16), [nBytes - 16, nBytes) and those between. Requires
// max(16, nBytes) bytes in both areas (a block's character area is a whole
// multiple of 16 bytes); bytes beyond nBytes may be copied along.
inline void CopyBlockBytes(char* pDst, const char* pSrc, int nBytes)
{
    std::memcpy(pDst, pSrc, 16);
    if (nBytes > 32) {
        std::memcpy(pDst + 16, pSrc + 16, 16);
        if (nBytes > 48)
            std::memcpy(pDst + 32, pSrc + 32, 16);
    }
    const int nLast = nBytes > 16 ? nBytes - 16 : 0;
    std::memcpy(pDst + nLast, pSrc + nLast, 16);
}

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

// --- base-10^8 words -------------------------------------------------------------
// A magnitude M as an array of words 0 .. 10^8 - 1, least significant first,
// with a decimal exponent nLowExp for its last digit: the value is
// ±M·10^nLowExp. Four digit pairs make one word; multiplication and division
// work on words, and only the packed bytes are stored. The conversions move
// four (or eight) bytes at a time through one integer register, which relies
// on the little-endian byte order of the platform.

static_assert(__BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__, "the word conversions read bytes little-endian");

constexpr std::uint32_t kWordRadix = 100000000; // 10^8
constexpr int kWordPairs = 4;                  // digit pairs in a word
constexpr int kWordDigits = 8;                 // decimal digits in a word
// Words of a valid packed value: at most 51 digit bytes.
constexpr int kPackedWords = (kMaxPackedBytes - 3 + kWordPairs - 1) / kWordPairs;

// 10^k for k = 0 .. 8.
inline constexpr std::uint32_t kPow10[kWordDigits + 1] = {1,      10,      100,      1000,     10000,
                                                          100000, 1000000, 10000000, 100000000};

// x / 10^k and x % 10^k for x < 2^32 and k = 0 .. 8, without a hardware
// division: m = ceil(2^64 / 10^k) exceeds 2^64 / 10^k by less than 1, and
// x·(that excess) < 2^64, so the high word of x·m is the exact quotient.
struct clsPow10Inverses {
    std::uint64_t anInv[kWordDigits + 1];
    constexpr clsPow10Inverses() : anInv()
    {
        anInv[0] = 0; // 10^0 needs no division
        for (int k = 1; k <= kWordDigits; ++k)
            anInv[k] = ~std::uint64_t(0) / kPow10[k] + 1;
    }
};
inline constexpr clsPow10Inverses kPow10Inverses{};

inline std::uint32_t DivPow10(std::uint32_t x, int k)
{
    if (k == 0)
        return x;
    return static_cast<std::uint32_t>((static_cast<unsigned __int128>(x) * kPow10Inverses.anInv[k]) >> 64);
}

// The count of decimal digits of a word (1 for 0): 12345 gives 5.
inline int WordDigitCount(std::uint32_t w)
{
    return 1 + (w >= 10) + (w >= 100) + (w >= 1000) + (w >= 10000) + (w >= 100000) + (w >= 1000000) +
           (w >= 10000000);
}

// Digit bytes of one sign map to pairs, and back, by (byte ^ flip) - offset
// and (pair + offset) ^ flip in every byte lane: a positive byte is pair + 10,
// a negative one -(pair + 10), that is 0xF6 - pair = ~(pair + 9).
struct clsLaneSign {
    std::uint64_t nFlip;
    std::uint64_t nOffset;
};

inline clsLaneSign LaneSign(bool bNegative)
{
    return bNegative ? clsLaneSign{~std::uint64_t(0), 0x0909090909090909ull}
                     : clsLaneSign{0, 0x0A0A0A0A0A0A0A0Aull};
}

// Pairs 0..99 in the four byte lanes of x (the most significant in the low
// lane) to their word.
inline std::uint32_t PairLanesToWord(std::uint32_t x)
{
    x = (x & 0x00FF00FFu) * 100 + ((x >> 8) & 0x00FF00FFu);
    return (x & 0xFFFFu) * 10000 + (x >> 16);
}

// Four digit bytes as stored, to their pairs in the byte lanes.
inline std::uint32_t BytesToPairLanes(const char* p, const clsLaneSign& s)
{
    std::uint32_t x;
    std::memcpy(&x, p, 4);
    return (x ^ static_cast<std::uint32_t>(s.nFlip)) - static_cast<std::uint32_t>(s.nOffset);
}

// A word to its four digit bytes in storage order (the first byte in the low
// lane): the halves w / 10^4 and w % 10^4 in two 32-bit lanes, each split by
// 100 at once through the reciprocal 5243 / 2^19 (exact below 43699).
inline std::uint32_t WordToBytes(std::uint32_t w, const clsLaneSign& s)
{
    const std::uint32_t nHigh = w / 10000; // a multiplication: the divisor is a constant
    const std::uint64_t x = nHigh | static_cast<std::uint64_t>(w - nHigh * 10000) << 32;
    const std::uint64_t q = ((x * 5243) >> 19) & 0x0000007F0000007Full;
    const std::uint64_t u = q | (x - q * 100) << 8;
    const std::uint32_t nPairs = static_cast<std::uint32_t>(u | u >> 16);
    return (nPairs + static_cast<std::uint32_t>(s.nOffset)) ^ static_cast<std::uint32_t>(s.nFlip);
}

// Four words at once (GCC vector extensions; SSE2 on x86-64), the most
// significant in lane 0: the same steps as WordToBytes, lane by lane, the
// halves and the pairs in 16-bit lanes. Gives their sixteen digit bytes in
// storage order.
typedef std::uint32_t clsWordVec __attribute__((vector_size(16)));
typedef std::uint16_t clsHalfVec __attribute__((vector_size(16)));

inline clsWordVec WordsToBytes4(clsWordVec w, const clsLaneSign& s)
{
    const clsWordVec nHigh = w / 10000;
    const clsHalfVec x = reinterpret_cast<clsHalfVec>(nHigh | (w - nHigh * 10000) << 16);
    const clsHalfVec q = x / 100;
    const clsWordVec nPairs = reinterpret_cast<clsWordVec>(q | (x - q * 100) << 8);
    return (nPairs + static_cast<std::uint32_t>(s.nOffset)) ^ static_cast<std::uint32_t>(s.nFlip);
}

// The lanes of w in the opposite order.
inline clsWordVec ReverseLanes(clsWordVec w)
{
#if defined(__clang__)
    return __builtin_shufflevector(w, w, 3, 2, 1, 0);
#else
    return __builtin_shuffle(w, clsWordVec{3, 2, 1, 0});
#endif
}

// The words p[3], p[2], p[1], p[0] in lanes 0..3.
inline clsWordVec LoadWordsDown(const std::uint32_t* p)
{
    clsWordVec w;
    std::memcpy(&w, p, sizeof w);
    return ReverseLanes(w);
}

// Sixteen digit bytes as stored to their four words, the most significant
// in lane 0: the steps of PairLanesToWord, lane by lane.
inline clsWordVec BytesToWords4(const char* p, const clsLaneSign& s)
{
    clsWordVec x;
    std::memcpy(&x, p, sizeof x);
    const clsHalfVec nPairs = reinterpret_cast<clsHalfVec>((x ^ static_cast<std::uint32_t>(s.nFlip)) -
                                                           static_cast<std::uint32_t>(s.nOffset));
    const clsWordVec nHalves = reinterpret_cast<clsWordVec>((nPairs & 0xFF) * 100 + (nPairs >> 8));
    return (nHalves & 0xFFFF) * 10000 + (nHalves >> 16);
}

// Requires: a valid packed value of nLen bytes, neither zero nor null; room
// for kPackedWords words.
// Gives: its digit bytes read as one integer M in base-10^8 words, least
// significant first, the top word not 0, and its count; *pnLowExp = the
// decimal exponent of M's last digit (e - 2n + 1 for n digit bytes, the pad
// digit included), so the value is ±M·10^(*pnLowExp). 123.45 ('p', 12, 22,
// 44, 60: the pairs 12, 34, 50) gives the word 123450 and -3.
inline int PackedToWords(const char* pData, int nLen, std::uint32_t* pWords, int* pnLowExp)
{
    const char* pBytes = pData + 2;
    const int n = nLen - 2;
    const clsLaneSign s = LaneSign(pData[0] == kSignNegative);
    *pnLowExp = DecodeExponentByte(pData[0], pData[1]) - 2 * n + 1;
    // Whole words from the end, then the top word's one to three bytes.
    const int nWhole = n / kWordPairs;
    const int nTopBytes = n % kWordPairs;
    int k = 0;
    for (; k + 4 <= nWhole; k += 4) {
        const clsWordVec w = BytesToWords4(pBytes + n - kWordPairs * (k + 4), s);
        const clsWordVec wDown = ReverseLanes(w);
        std::memcpy(pWords + k, &wDown, sizeof wDown);
    }
    for (; k < nWhole; ++k)
        pWords[k] = PairLanesToWord(BytesToPairLanes(pBytes + n - kWordPairs * (k + 1), s));
    if (nTopBytes == 0)
        return nWhole;
    std::uint32_t nTop = 0;
    if (nWhole > 0) {
        // The first four bytes, shifted up so that the top word's pairs fill
        // the high lanes (the low end of the word) and the others drop out.
        nTop = PairLanesToWord(BytesToPairLanes(pBytes, s) << 8 * (kWordPairs - nTopBytes));
    } else {
        const unsigned char* pU = reinterpret_cast<const unsigned char*>(pBytes);
        for (int i = 0; i < nTopBytes; ++i)
            nTop = nTop * kRadix + kDigitTables.anPair[pU[i]];
    }
    pWords[nWhole] = nTop;
    return nWhole + 1;
}

// Requires: M ≠ 0 in nWords words (zero words at the top are allowed and
// skipped) whose exponent has an exponent byte; pOut has room for the packed
// form with its NUL, and for kMaxPackedBytes bytes at least. Nothing is
// written beyond that.
// Gives: the packed form of ±M·10^nLowExp with its NUL in pOut (first pair
// starting at the first significant digit, trailing zero pairs dropped), and
// its length. The word 123450 at -3 gives 'p', 12, 22, 44, 60 (123.45);
// 5000 at 0 gives 'p', 13, 60 (5000).
inline int WordsToPacked(const std::uint32_t* pWords, int nWords, int nLowExp, bool bNegative, char* pOut)
{
    while (pWords[nWords - 1] == 0)
        --nWords;
    int nFirst = 0; // zero words at the bottom hold only trailing zeros
    while (pWords[nFirst] == 0)
        ++nFirst;
    const int nTop = nWords - 1;
    const int nTopDigits = WordDigitCount(pWords[nTop]);
    const int nLow = nLowExp + kWordDigits * nFirst;
    const int nExp = nLow + kWordDigits * (nTop - nFirst) + nTopDigits - 1;
    const clsLaneSign s = LaneSign(bNegative);
    pOut[0] = bNegative ? kSignNegative : kSignPositive;
    pOut[1] = EncodeExponentByte(nExp, bNegative);
    char* pBytes = pOut + 2;
    // Pairs begin at the first significant digit. With an odd count of
    // digits the words are read as M·10: each takes the top digit of the word
    // below it as its last digit, and the top word, below 10^7, gains one.
    const bool bShift = nTopDigits & 1;
    constexpr std::uint32_t kTopDigitUnit = kWordRadix / 10;
    auto WordAt = [&](int i) -> std::uint32_t {
        if (!bShift)
            return pWords[i];
        const std::uint32_t nBelow = i > nFirst ? pWords[i - 1] / kTopDigitUnit : 0; // a multiplication
        return pWords[i] % kTopDigitUnit * 10 + nBelow;
    };
    // The last word with a digit that is not 0: read as M·10, the bottom
    // word is 0 when its only digit moved up into the word above.
    int nLast = nFirst;
    if (bShift && nLast < nTop && pWords[nLast] % kTopDigitUnit == 0)
        ++nLast;
    const int nTopPairs = (nTopDigits + 1) / 2;
    std::uint32_t nGroup = WordToBytes(WordAt(nTop), s) >> 8 * (kWordPairs - nTopPairs);
    int nPos = 0;
    if (nTop > nLast) {
        // The top word's bytes, then the whole middle words, four at a time
        // while four remain; a store that runs past its word's bytes is
        // overwritten by the next word.
        std::memcpy(pBytes, &nGroup, 4);
        nPos = nTopPairs;
        int i = nTop - 1;
        for (; i - 3 > nLast; i -= 4, nPos += 4 * kWordPairs) {
            clsWordVec w = LoadWordsDown(pWords + i - 3);
            if (bShift) {
                // Every word below a middle word lies at or above nFirst.
                const clsWordVec nTopDigit = w / kTopDigitUnit;
                w = (w - nTopDigit * kTopDigitUnit) * 10 + LoadWordsDown(pWords + i - 4) / kTopDigitUnit;
            }
            const clsWordVec nBytes = WordsToBytes4(w, s);
            std::memcpy(pBytes + nPos, &nBytes, sizeof nBytes);
        }
        for (; i > nLast; --i, nPos += kWordPairs) {
            nGroup = WordToBytes(WordAt(i), s);
            std::memcpy(pBytes + nPos, &nGroup, 4);
        }
        nGroup = WordToBytes(WordAt(nLast), s);
    }
    // The last word, without its trailing zero pairs: the lanes past its
    // last pair that is not 0 (a zero pair is the byte 10, or -10 in a
    // negative value). Its first pair is not 0 when it is the top word; else
    // the word itself is not 0.
    const int nPairs = nTop > nLast ? kWordPairs : nTopPairs;
    const std::uint32_t nZeroPairs = static_cast<std::uint32_t>(s.nOffset ^ s.nFlip);
    const std::uint32_t nLaneMask = nPairs == kWordPairs ? ~0u : (1u << 8 * nPairs) - 1;
    const int nKept = (39 - __builtin_clz((nGroup ^ nZeroPairs) & nLaneMask)) / 8;
    if (nPos + kWordPairs <= kMaxPackedBytes - 2) {
        std::memcpy(pBytes + nPos, &nGroup, 4);
    } else {
        for (int i = 0; i < nKept; ++i)
            pBytes[nPos + i] = static_cast<char>(nGroup >> 8 * i);
    }
    nPos += nKept;
    pBytes[nPos] = 0;
    return nPos + 2;
}

// Requires: the top word not 0. Gives: the decimal exponent of the first
// digit of ±M·10^nLowExp: the word 123450 at -3 gives 2.
inline int WordsExponent(const std::uint32_t* pWords, int nWords, int nLowExp)
{
    return nLowExp + kWordDigits * (nWords - 1) + WordDigitCount(pWords[nWords - 1]) - 1;
}

// Requires: nDrop >= 1; M in nWords words with room for nWords + 1.
// Gives: M rounded half away from zero to a multiple of 10^nDrop, the digits
// below it cleared (only the first dropped digit decides, which is the same),
// and its count of words without zero words at the top: 0 when it rounds to
// zero. 12345 at 2 gives 12300, 12350 at 2 gives 12400, 499 at 3 gives 0.
inline int RoundWordsAt(std::uint32_t* pWords, int nWords, int nDrop)
{
    const int nHalfWord = (nDrop - 1) / kWordDigits; // the word of the first dropped digit
    if (nHalfWord >= nWords)
        return 0; // the first dropped digit is a 0 above M's top digit
    // Half a unit of the last kept digit, added at the first dropped digit,
    // carries into the kept digits exactly when that digit is 5 or more; a
    // word that reaches 10^8 carries into the next.
    std::uint32_t nAdd = 5 * kPow10[(nDrop - 1) % kWordDigits];
    int i = nHalfWord;
    while ((pWords[i] += nAdd) >= kWordRadix) {
        pWords[i] -= kWordRadix;
        nAdd = 1;
        if (++i == nWords)
            pWords[nWords++] = 0;
    }
    // Then the dropped digits are cleared.
    const int nKeepWord = nDrop / kWordDigits; // the word of the last kept digit
    for (int k = 0; k < nKeepWord; ++k)
        pWords[k] = 0;
    if (nKeepWord < nWords) {
        const int nKeepDigit = nDrop % kWordDigits;
        pWords[nKeepWord] = DivPow10(pWords[nKeepWord], nKeepDigit) * kPow10[nKeepDigit];
    }
    while (nWords > 0 && pWords[nWords - 1] == 0)
        --nWords;
    return nWords;
}

// Requires: M in nWords words with room for nWords + nShift / 8 + 1.
// Gives: M·10^nShift in place and its count of words (the top word not 0
// when M's was not). 12345678 by 3 gives the words 45678000, 12345.
inline int ShiftWordsUp(std::uint32_t* pWords, int nWords, int nShift)
{
    const int nWhole = nShift / kWordDigits;
    const int nDigits = nShift % kWordDigits;
    if (nWhole > 0) {
        std::memmove(pWords + nWhole, pWords, sizeof(std::uint32_t) * static_cast<size_t>(nWords));
        std::memset(pWords, 0, sizeof(std::uint32_t) * static_cast<size_t>(nWhole));
        nWords += nWhole;
    }
    if (nDigits == 0)
        return nWords;
    // Each word keeps its low 8 - k digits, raised by k places, and takes the
    // top k digits of the word below.
    const int nKeep = kWordDigits - nDigits;
    std::uint32_t nFromBelow = 0;
    for (int i = nWhole; i < nWords; ++i) {
        const std::uint32_t nTop = DivPow10(pWords[i], nKeep);
        pWords[i] = (pWords[i] - nTop * kPow10[nKeep]) * kPow10[nDigits] + nFromBelow;
        nFromBelow = nTop;
    }
    if (nFromBelow != 0)
        pWords[nWords++] = nFromBelow;
    return nWords;
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
// The buffer in which SumPacked builds its result: the frame's words and the
// bytes after them.
constexpr int kSumBufBytes = kSumFrame + 24;

// Requires: two valid packed values, neither zero nor null; pBuf has room for
// kSumBufBytes bytes. Gives: the packed a + b (a - b when bSubtract), exact,
// with its NUL, at *ppSum inside pBuf, and its length ("o" and 1 for zero).
// Adds the digit pairs eight at a time, without the working form; the
// result's exponent and decimals are the caller's to test against a precision.
int SumPacked(const char* pA, int nLenA, const char* pB, int nLenB, bool bSubtract, char* pBuf, const char** ppSum);

// Requires: a and b normalised and not zero; r may not be a or b. Gives:
// r = a + b, or a - b when bSubtract, exact and not normalised.
void SignedSum(const clsWorkNum& a, const clsWorkNum& b, bool bSubtract, clsWorkNum& r);

// Requires: a and b normalised; r may not be a or b. Gives: r = |a| + |b|,
// not normalised (its first digit may be 0), with a's sign.
void AddMagnitudes(const clsWorkNum& a, const clsWorkNum& b, clsWorkNum& r);

// Requires: a and b normalised, |a| >= |b|; r may not be a or b. Gives:
// r = |a| - |b|, not normalised (it may be zero), with a's sign.
void SubtractMagnitudes(const clsWorkNum& a, const clsWorkNum& b, clsWorkNum& r);

// A magnitude in base-10^8 words, least significant first: the integer in
// aWord[0..nWords) times 10^nLowExp; nWords is 0 for zero, else the top word
// is not 0. Room for a division's longest numerator (a dividend of 101
// digits shifted for a quotient of 102) with a word to spare.
constexpr int kDivWords = 30;
struct clsWordNum {
    int nWords;
    int nLowExp;
    std::uint32_t aWord[kDivWords + 1]; // a word more for the division's work
};

// Requires: two valid packed values a and b, neither zero nor null, whose
// quotient down to 10^nLowQ has at most 102 digits; pQ or pR may be null.
// Gives: *pQ = |a| / |b| truncated to a multiple of 10^nLowQ (nLowExp is
// nLowQ) and *pR = |a| - q * |b| exactly. 10 / 4 at 10^-1 gives 25 * 10^-1
// and 0; 5.5 / 0.3 at 10^0 gives 18 and 1 * 10^-1.
void DivideMagnitudes(const char* pA, int nLenA, const char* pB, int nLenB, int nLowQ, clsWordNum* pQ,
                      clsWordNum* pR);

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

// Requires: two valid packed values, neither zero nor null (they may be the
// same); pOut has room for kMaxPackedBytes bytes. Gives: how a·b fits a number
// of integer capacity nCap and scale nScale, tested first on the sum of the
// exponents and then on the product; when kFitValue, the product rounded half
// away from zero to nScale decimals in pOut with its NUL, and its length in
// *pnLen. 12.5 by -0.4 gives 'n', -10, -60 (-5).
clsFit MultiplyPacked(const char* pA, int nLenA, const char* pB, int nLenB, int nCap, int nScale, char* pOut,
                      int* pnLen);

} // namespace tvpacked

#endif // TVDCNDF_PACKED_H
