// Comparison, addition and subtraction on the packed base-100 digits, and
// the postfix increment and decrement. The sum and the difference are made
// in the working form on the stack and written into the number once.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "tvdcndf.h"
#include "tvdcndf_packed.h"

using namespace tvpacked;

int clsNumDbFld::Compare(const clsNumDbFld& other) const
{
    CheckValid();
    other.CheckValid();
    if (IsZero() && other.IsZero())
        return 0;
    // Byte order of the packed forms, as signed bytes, is the numeric order;
    // the null value compares as zero.
    const char* p = m_strData.IsEmpty() ? "o" : static_cast<const char*>(m_strData);
    const char* q = other.m_strData.IsEmpty() ? "o" : static_cast<const char*>(other.m_strData);
    for (int i = 0;; ++i) {
        int a = SignedByte(p[i]);
        int b = SignedByte(q[i]);
        if (a != b)
            return a > b ? 1 : -1;
        if (a == 0)
            return 0;
    }
}

int tvpacked::CompareMagnitude(const char* pA, int nLenA, const char* pB, int nLenB)
{
    const int nExpA = DecodeExponentByte(pA[0], pA[1]);
    const int nExpB = DecodeExponentByte(pB[0], pB[1]);
    if (nExpA != nExpB)
        return nExpA > nExpB ? 1 : -1;
    const int nLen = std::min(nLenA, nLenB);
    for (int i = 2; i < nLen; ++i) {
        int a = PairOf(pA[i]);
        int b = PairOf(pB[i]);
        if (a != b)
            return a > b ? 1 : -1;
    }
    // No run ends in a zero pair: the one that goes on is the larger.
    return nLenA == nLenB ? 0 : (nLenA > nLenB ? 1 : -1);
}

int clsNumDbFld::CompareAbs(const clsNumDbFld& other) const
{
    CheckValid();
    other.CheckValid();
    // Zero and the null value are the smallest magnitude.
    if (IsZero() || other.IsZero())
        return other.IsZero() - IsZero();
    return CompareMagnitude(m_strData, m_strData.GetLength(), other.m_strData, other.m_strData.GetLength());
}

// Both operands lie on the grid of the powers of 100, so they line up by
// whole digits:
//
//     r    r0 r1 r2 r3 r4
//     a    a0 a1 a2 a3          (a.nPow = r.nPow)
//     b          b0 b1 b2       (b.nPow = r.nPow - 2)
//
// A carry left after r0 puts a new first digit 1 in front.
void tvpacked::AddMagnitudes(const clsWorkNum& a, const clsWorkNum& b, clsWorkNum& r)
{
    r.nPow = std::max(a.nPow, b.nPow);
    const int nLow = std::min(a.nPow - a.nDigits, b.nPow - b.nDigits) + 1; // power of the last digit
    const int n = r.nPow - nLow + 1;
    TV_ASSERT(n < kWorkDigits);
    std::memset(r.aDigit, 0, static_cast<size_t>(n));
    std::memcpy(r.aDigit + (r.nPow - a.nPow), a.aDigit, static_cast<size_t>(a.nDigits));
    unsigned char* pOut = r.aDigit + (r.nPow - b.nPow);
    int nCarry = 0;
    for (int i = b.nDigits - 1; i >= 0; --i) {
        int t = pOut[i] + b.aDigit[i] + nCarry;
        nCarry = t >= kRadix;
        pOut[i] = static_cast<unsigned char>(nCarry ? t - kRadix : t);
    }
    for (int i = r.nPow - b.nPow - 1; nCarry != 0 && i >= 0; --i) {
        int t = r.aDigit[i] + 1;
        nCarry = t >= kRadix;
        r.aDigit[i] = static_cast<unsigned char>(nCarry ? 0 : t);
    }
    r.nDigits = n;
    if (nCarry != 0) {
        std::memmove(r.aDigit + 1, r.aDigit, static_cast<size_t>(n));
        r.aDigit[0] = 1;
        ++r.nPow;
        ++r.nDigits;
    }
    r.bNegative = a.bNegative;
    r.bNull = false;
}

// As the addition, without the carry slot: the larger magnitude a gives the
// frame, and the borrow ends before a's first digit.
void tvpacked::SubtractMagnitudes(const clsWorkNum& a, const clsWorkNum& b, clsWorkNum& r)
{
    r.nPow = a.nPow;
    const int nLow = std::min(a.nPow - a.nDigits, b.nPow - b.nDigits) + 1;
    const int n = r.nPow - nLow + 1;
    TV_ASSERT(n <= kWorkDigits && b.nPow <= a.nPow);
    std::memcpy(r.aDigit, a.aDigit, static_cast<size_t>(a.nDigits));
    std::memset(r.aDigit + a.nDigits, 0, static_cast<size_t>(n - a.nDigits));
    unsigned char* pOut = r.aDigit + (r.nPow - b.nPow);
    int nBorrow = 0;
    for (int i = b.nDigits - 1; i >= 0; --i) {
        int t = pOut[i] - b.aDigit[i] - nBorrow;
        nBorrow = t < 0;
        pOut[i] = static_cast<unsigned char>(nBorrow ? t + kRadix : t);
    }
    for (int i = -1; nBorrow != 0; --i) {
        int t = pOut[i] - 1;
        nBorrow = t < 0;
        pOut[i] = static_cast<unsigned char>(nBorrow ? kRadix - 1 : t);
    }
    r.nDigits = n;
    r.bNegative = a.bNegative;
    r.bNull = false;
}

int tvpacked::CompareMagnitude(const clsWorkNum& a, const clsWorkNum& b)
{
    if (a.nPow != b.nPow)
        return a.nPow > b.nPow ? 1 : -1;
    const int nOrder = std::memcmp(a.aDigit, b.aDigit, static_cast<size_t>(std::min(a.nDigits, b.nDigits)));
    if (nOrder != 0)
        return nOrder > 0 ? 1 : -1;
    return a.nDigits == b.nDigits ? 0 : (a.nDigits > b.nDigits ? 1 : -1);
}

// --- the sum of two packed values, eight digit pairs at a time ------------------
//
// The operand with the larger exponent (for a difference of equal exponents,
// either) gives the frame: its digit byte j stands in slot 8 + j, and slots
// 0..7 make a word of their own for a carry out of the first slot. The other
// operand's bytes go where their digits stand; with an odd exponent
// difference its pairs are formed again one digit further down. Each slot
// holds a pair 0..99 in a byte, and eight slots make a word read big-endian,
// so that the more significant slot is the higher byte and a binary carry
// runs the way a decimal one does:
//
//     slot     .. 7 | 8  9 10 11 12 13 14 15 |16 17 ...
//     hi       .. 0 |h0 h1 h2 h3 h4 h5 h6 h7 |h8 h9 ...     (e = 5)
//     lo       .. 0 | 0  0 l0 l1 l2 l3 l4 l5 |l6  0 ...     (e = 1)
//
// A difference adds the nines' complement of the other operand and 1. The
// words are added from the last one up; the result's digit bytes are written
// where their slots stand, after its first slot that is not 0. When that
// slot holds a single digit, every pair is formed again one digit up.
namespace {

using tvWord = std::uint64_t;

// Words of a frame: the carry word and up to kSumFrame slots of the
// operands, with room after them for words of zeros that the loops read.
constexpr int kFrameWords = kSumFrame / 8 + 2;
constexpr tvWord kEachByte = 0x0101010101010101u;
// Added to a word of pairs before an addition: a pair sum of 100 or more then
// carries out of its byte as a binary carry.
constexpr tvWord kRadixGap = (256 - kRadix) * kEachByte;

inline tvWord BigEndian(tvWord w)
{
    return __builtin_bswap64(w);
}

inline tvWord Load8(const unsigned char* p)
{
    tvWord w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// The first words of a frame set to 0, the word after them included: eight,
// or all of them when nWords needs more; fixed sizes, so that the compiler
// writes them in place.
inline void ClearFrame(tvWord* pFrame, unsigned nWords)
{
    std::memset(pFrame, 0, 8 * sizeof(tvWord));
    if (nWords >= 8)
        std::memset(pFrame + 8, 0, (kFrameWords - 8) * sizeof(tvWord));
}

// The tens digit of each byte 0..99 of w. p * 103 >> 10 is p / 10 for
// p <= 99, and p * 103 stays below 2^14 in a 16-bit lane.
inline tvWord TensOf(tvWord w)
{
    constexpr tvWord kLanes = 0x00FF00FF00FF00FFu;
    constexpr tvWord kDigit = 0x000F000F000F000Fu;
    const tvWord nEven = ((w & kLanes) * 103 >> 10) & kDigit;
    const tvWord nOdd = (((w >> 8) & kLanes) * 103 >> 10) & kDigit;
    return nEven | nOdd << 8;
}

// How the digit bytes of one sign code their pairs, a byte at a time:
// byte = (pair + nOffset) ^ nFlip and pair = (byte ^ nFlip) - nOffset. A
// positive value stores pair + 10; a negative one -(pair + 10), which is
// ~(pair + 9) in a byte. Neither way carries or borrows between bytes.
struct clsPairCode {
    tvWord nFlip;
    tvWord nOffset;
    explicit clsPairCode(bool bNegative)
        : nFlip(0 - tvWord(bNegative)), nOffset(kByteOffset * kEachByte - (kEachByte & nFlip))
    {
    }
    tvWord PairsOf(tvWord nBytes) const { return (nBytes ^ nFlip) - nOffset; }
    tvWord BytesOf(tvWord nPairs) const { return (nPairs + nOffset) ^ nFlip; }
};

// The pairs of a run of fewer than 8 digit bytes, the first in the low byte
// and 0 after the run; reads only the run's bytes.
inline tvWord ShortRunPairs(const unsigned char* p, unsigned nBytes, const clsPairCode& code)
{
    tvWord nRun;
    if (nBytes >= 4) {
        std::uint32_t nHead, nTail;
        std::memcpy(&nHead, p, 4);
        std::memcpy(&nTail, p + nBytes - 4, 4);
        nRun = nHead | tvWord(nTail) << 8 * (nBytes - 4);
    } else if (nBytes >= 2) {
        std::uint16_t nHead, nTail;
        std::memcpy(&nHead, p, 2);
        std::memcpy(&nTail, p + nBytes - 2, 2);
        nRun = nHead | tvWord(nTail) << 8 * (nBytes - 2);
    } else {
        nRun = p[0];
    }
    const tvWord nInRun = (tvWord(1) << 8 * nBytes) - 1;
    return code.PairsOf((nRun & nInRun) | (code.BytesOf(0) & ~nInRun));
}

// Requires: nBytes >= 1 digit bytes of the sign of code. Gives: their pairs
// in words, word k holding bytes 8k .. 8k + 7 (0 after the run). Reads only
// the run's bytes; writes the words that the run reaches.
inline void RunPairs(const char* pBytes, unsigned nBytes, const clsPairCode& code, tvWord* pWords)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(pBytes);
    const unsigned nFull = nBytes / 8;
    for (unsigned k = 0; k < nFull; ++k)
        pWords[k] = BigEndian(code.PairsOf(Load8(p + 8 * k)));
    const unsigned nRest = nBytes % 8;
    if (nRest != 0) {
        // The last bytes of the run, read with the 8 - nRest before them
        // when there are as many.
        const tvWord nTail =
            nBytes >= 8 ? code.PairsOf(Load8(p + nBytes - 8)) >> 8 * (8 - nRest) : ShortRunPairs(p, nBytes, code);
        pWords[nFull] = BigEndian(nTail);
    }
}

// Requires: nBytes >= 1 digit bytes of the sign of code; pWords cleared.
// Gives: their pairs in the words of a frame in which byte 0 stands in slot
// nSlot: word w holds the run's bytes 8w - nSlot .. 8w - nSlot + 7, 0
// outside the run. Reads only the run's bytes, each word that lies within it
// straight from where it stands; writes the words that the run reaches.
inline void FramePairs(const char* pBytes, unsigned nBytes, unsigned nSlot, const clsPairCode& code,
                       tvWord* pWords)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(pBytes);
    tvWord* pOut = pWords + nSlot / 8;
    const unsigned nHead = 8 * (nSlot % 8); // bits of the first word before the run
    if (nBytes < 8) {
        const tvWord nRun = BigEndian(ShortRunPairs(p, nBytes, code));
        pOut[0] = nRun >> nHead;
        if (nHead != 0)
            pOut[1] = nRun << (64 - nHead);
        return;
    }
    unsigned c = 0; // the byte of the run that the next word begins with
    if (nHead != 0) {
        *pOut++ = BigEndian(code.PairsOf(Load8(p))) >> nHead;
        c = 8 - nHead / 8;
    }
    for (; c + 8 <= nBytes; c += 8)
        *pOut++ = BigEndian(code.PairsOf(Load8(p + c)));
    // The last bytes, read with those before them and moved up to the
    // word's first slot.
    if (c < nBytes)
        *pOut = BigEndian(code.PairsOf(Load8(p + nBytes - 8))) << 8 * (c + 8 - nBytes);
}

// r = x + y + nCarry over nWords words of pairs, y turned into its nines'
// complement when bComplement. With bUp, y's digits first move one place up:
// slot k takes its own units digit as its tens and the tens digit of slot
// k + 1 as its units (0 after word nWords - 1). Word w of r also goes to
// pOut + 8w as digit bytes of the sign of code. Gives the carry out of word 0.
template <bool bUp>
inline tvWord AddWords(const tvWord* pX, const tvWord* pY, bool bComplement, tvWord nCarry, tvWord* pR, char* pOut,
                       const clsPairCode& code, unsigned nWords)
{
    // With the gap added, y's pairs are y + 156, their complement 255 - y.
    const tvWord nFlip = 0 - tvWord(bComplement);
    // The gap and the 1 of a carry into the word, from which 1 is taken back
    // when none comes: the top bit of the word below, set when it gave none.
    const tvWord nGapAndOne = (kRadixGap & ~nFlip) + 1;
    tvWord nNoCarry = 1 - nCarry;
    tvWord nTensBelow = 0; // with bUp: the tens digit of the slot after word w
    for (unsigned w = nWords; w-- > 0;) {
        const tvWord x = pX[w];
        tvWord y = pY[w];
        if (bUp) {
            // Units u and tens t of each slot: the slot becomes 10 u + the
            // next slot's t, that is 10 (y - 10 t) + 256 t in place: 10 y +
            // 156 t, the first slot's t moving out to the word above.
            const tvWord nTens = TensOf(y);
            y = y * 10 + nTens * (256 - kRadix) + nTensBelow;
            nTensBelow = nTens >> 56;
        }
        y = (y ^ nFlip) + nGapAndOne;
        // A byte that gave a carry holds its pair; one that did not still
        // holds its gap of 156 and so has its top bit set. The carry out of
        // the first byte is the word's.
        const tvWord s = x + y - nNoCarry;
        nNoCarry = s >> 63;
        const tvWord r = s - (s >> 7 & kEachByte) * (256 - kRadix);
        pR[w] = r;
        const tvWord nBytes = BigEndian(code.BytesOf(r));
        std::memcpy(pOut + 8 * w, &nBytes, sizeof nBytes);
    }
    return 1 - nNoCarry;
}

// Writes words [wFirst, wLast] of a frame of pairs to pBuf + 8w as digit
// bytes of the sign of code; with bRepair every pair takes the units digit of
// its slot and the tens digit of the next one (the frame has a word after
// wLast).
inline void PutFrameBytes(const tvWord* pR, unsigned wFirst, unsigned wLast, bool bRepair, const clsPairCode& code,
                          char* pBuf)
{
    tvWord nTens = TensOf(pR[wFirst]);
    for (unsigned w = wFirst; w <= wLast; ++w) {
        tvWord nPairs = pR[w];
        if (bRepair) {
            const tvWord nNextTens = TensOf(pR[w + 1]);
            nPairs = (nPairs - nTens * 10) * 10 + (nTens << 8 | nNextTens >> 56);
            nTens = nNextTens;
        }
        const tvWord nOut = BigEndian(code.BytesOf(nPairs));
        std::memcpy(pBuf + 8 * w, &nOut, sizeof nOut);
    }
}

// Writes the sign and exponent bytes before the nBytes digit bytes at
// pDigits and the NUL after them. Gives the packed value's first byte; its
// length is nBytes + 2.
inline char* PutHeadAndEnd(char* pDigits, unsigned nBytes, int nExp, bool bNegative)
{
    pDigits[-2] = bNegative ? kSignNegative : kSignPositive;
    pDigits[-1] = EncodeExponentByte(nExp, bNegative);
    pDigits[nBytes] = 0;
    return pDigits - 2;
}

// Finishes the packing of a frame of nWords words of pairs (with a word of
// zeros after them) whose words stand in pBuf + 8w as digit bytes of the
// given sign, slot 8 standing for 10^nExp8 and 10^(nExp8 - 1): the value
// begins at the first slot that is not 0, with the sign and exponent bytes
// before it and a NUL after it. Gives the sign byte's index and the length;
// "o" at index 0 when every slot is 0.
inline unsigned PackFrame(const tvWord* pR, unsigned nWords, int nExp8, bool bNegative, char* pBuf, unsigned& nStart)
{
    unsigned wFirst = 0;
    while (wFirst < nWords && pR[wFirst] == 0)
        ++wFirst;
    if (wFirst == nWords) {
        pBuf[0] = kSignZero;
        pBuf[1] = 0;
        nStart = 0;
        return 1;
    }
    unsigned wLast = nWords - 1;
    while (pR[wLast] == 0)
        --wLast;
    const unsigned nFirst = 8 * wFirst + __builtin_clzll(pR[wFirst]) / 8;
    const unsigned nLast = 8 * wLast + 7 - __builtin_ctzll(pR[wLast]) / 8;
    const unsigned nLeadPair = static_cast<unsigned>(pR[wFirst] >> 8 * (7 - nFirst % 8)) & 0xFF;
    const unsigned nLastPair = static_cast<unsigned>(pR[wLast] >> 8 * (7 - nLast % 8)) & 0xFF;

    // Slot j holds the places 10^(nExp8 + 16 - 2j) and 10^(nExp8 + 15 - 2j).
    int nExp = nExp8 + 16 - 2 * static_cast<int>(nFirst);
    unsigned nBytes = nLast - nFirst + 1;
    if (nLeadPair < 10) {
        // The first digit stands alone: each pair takes the units digit of
        // its slot and the tens digit of the next one.
        --nExp;
        nBytes = nLast - nFirst + (nLastPair % 10 != 0 ? 1 : 0);
        PutFrameBytes(pR, wFirst, wLast, true, clsPairCode(bNegative), pBuf);
    }
    PutHeadAndEnd(pBuf + nFirst, nBytes, nExp, bNegative);
    nStart = nFirst - 2;
    return nBytes + 2;
}

// Where the two operands of a sum stand in its frame: hi (the larger
// exponent) from slot 0 on, lo from slot nSkip on and one digit further down
// when bOdd; pHi and pLo point at their sign bytes, nHi and nLo count their
// digit bytes. The result has hi's sign (bNegative) unless lo turns out the
// larger in a difference.
struct clsSumPlan {
    const char* pHi;
    const char* pLo;
    unsigned nHi;
    unsigned nLo;
    unsigned nSkip;
    unsigned nSpan; // slots of the frame, the carry not counted
    bool bOdd;
    bool bDifference;
    bool bNegative;
    int nExpHi;
};

// The plan of a + b (a - b when bSubtract) for two valid packed values,
// neither zero nor null.
inline clsSumPlan MakePlan(const char* pA, int nLenA, const char* pB, int nLenB, bool bSubtract)
{
    const bool bNegA = pA[0] == kSignNegative;
    const bool bNegB = pB[0] == kSignNegative;
    const int nExpA = DecodeExponentByte(pA[0], pA[1]);
    const int nExpB = DecodeExponentByte(pB[0], pB[1]);
    const bool bAFirst = nExpA >= nExpB;
    clsSumPlan plan;
    plan.pHi = bAFirst ? pA : pB;
    plan.pLo = bAFirst ? pB : pA;
    plan.nHi = static_cast<unsigned>((bAFirst ? nLenA : nLenB) - 2);
    plan.nLo = static_cast<unsigned>((bAFirst ? nLenB : nLenA) - 2);
    plan.nExpHi = bAFirst ? nExpA : nExpB;
    const unsigned nShift = static_cast<unsigned>(plan.nExpHi - (bAFirst ? nExpB : nExpA));
    plan.nSkip = nShift / 2;
    plan.bOdd = nShift % 2 != 0;
    plan.bDifference = bNegA != (bNegB != bSubtract);
    // The sign of the operand that gives the frame: a's, or b's (turned when
    // subtracted) when b has the larger exponent.
    plan.bNegative = bAFirst ? bNegA : bNegB != bSubtract;
    plan.nSpan = std::max(plan.nHi, plan.nSkip + plan.nLo + (plan.bOdd ? 1 : 0));
    TV_ASSERT(plan.nSpan < kSumFrame);
    return plan;
}

// --- frames of up to 16 slots, in two registers ------------------------------------
//
// The same steps on a frame of at most 16 slots (slots 0..7 in nHigh, 8..15
// in nLow), in registers; the carry slot is a flag of its own.

struct clsSlots16 {
    tvWord nHigh;
    tvWord nLow;
};

// The pairs of a run of 1..16 digit bytes in slots 0..15, 0 after the run.
inline clsSlots16 Slots16(const char* pBytes, unsigned nBytes, const clsPairCode& code)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(pBytes);
    if (nBytes < 8)
        return {BigEndian(ShortRunPairs(p, nBytes, code)), 0};
    // Slots 8..15 from the last eight bytes of the run, moved up to slot 8.
    const unsigned nUp = 4 * (16 - nBytes);
    return {BigEndian(code.PairsOf(Load8(p))), BigEndian(code.PairsOf(Load8(p + nBytes - 8))) << nUp << nUp};
}

// The slots moved nSlots (0..15) places down, 0 coming in.
inline clsSlots16 MovedDown(const clsSlots16& w, unsigned nSlots)
{
    const unsigned __int128 n = (static_cast<unsigned __int128>(w.nHigh) << 64 | w.nLow) >> 8 * nSlots;
    return {static_cast<tvWord>(n >> 64), static_cast<tvWord>(n)};
}

// The digits moved one place down: slot k takes the units digit of slot
// k - 1 (nUnitsAbove before slot 0) as its tens and its own tens digit as
// its units.
inline clsSlots16 DigitDown(const clsSlots16& w, tvWord nUnitsAbove)
{
    // 10 w + 156 t holds in each slot 10 u + the tens digit of the slot after
    // it (see AddWords): the same words one slot further down.
    const tvWord nTensHigh = TensOf(w.nHigh);
    const tvWord nTensLow = TensOf(w.nLow);
    const tvWord nHigh = w.nHigh * 10 + nTensHigh * (256 - kRadix) + (nTensLow >> 56);
    const tvWord nLow = w.nLow * 10 + nTensLow * (256 - kRadix);
    return {nHigh >> 8 | (nUnitsAbove * 10 + (nTensHigh >> 56)) << 56, nLow >> 8 | nHigh << 56};
}

// x + y + nCarry over 16 slots of pairs, y turned into its nines' complement
// when bComplement; nCarry becomes the carry out of slot 0.
inline clsSlots16 Add16(const clsSlots16& x, const clsSlots16& y, bool bComplement, tvWord& nCarry)
{
    // With the gap added, y's pairs are y + 156, their complement 255 - y.
    const tvWord nFlip = 0 - tvWord(bComplement);
    const tvWord nGap = kRadixGap & ~nFlip;
    // A byte that gave a carry holds its pair; one that did not still holds
    // its gap of 156 and so has its top bit set. The carry out of the first
    // byte of a word is the word's.
    const tvWord sLow = x.nLow + ((y.nLow ^ nFlip) + nGap) + nCarry;
    const tvWord nCarryLow = ~sLow >> 63;
    const tvWord sHigh = x.nHigh + ((y.nHigh ^ nFlip) + nGap) + nCarryLow;
    nCarry = ~sHigh >> 63;
    return {sHigh - (sHigh >> 7 & kEachByte) * (256 - kRadix), sLow - (sLow >> 7 & kEachByte) * (256 - kRadix)};
}

// The slot k (0..15) of w.
inline unsigned SlotOf(const clsSlots16& w, int k)
{
    return static_cast<unsigned>((k < 8 ? w.nHigh : w.nLow) >> (56 - 8 * (k % 8))) & 0xFF;
}

// The sum of a plan whose frame has at most 16 slots, packed as SumPacked
// does; slot k goes to pBuf[16 + k].
inline int SumWide(const clsSumPlan& plan, char* pBuf, const char** ppSum)
{
    const clsSlots16 x = Slots16(plan.pHi + 2, plan.nHi, clsPairCode(plan.pHi[0] == kSignNegative));
    clsSlots16 y = MovedDown(Slots16(plan.pLo + 2, plan.nLo, clsPairCode(plan.pLo[0] == kSignNegative)), plan.nSkip);
    if (plan.bOdd)
        y = DigitDown(y, 0);
    tvWord nCarry = plan.bDifference;
    clsSlots16 r = Add16(x, y, plan.bDifference, nCarry);
    bool bNegative = plan.bNegative;
    if (nCarry == tvWord(plan.bDifference) && r.nHigh >> 56 >= 10) {
        // The usual sum: nothing carried out of slot 0 nor lost at the front,
        // and slot 0 holds two digits, so the result begins there with hi's
        // exponent and only its end is to be found.
        const unsigned nBytes = r.nLow != 0 ? 16 - __builtin_ctzll(r.nLow) / 8 : 8 - __builtin_ctzll(r.nHigh) / 8;
        const clsPairCode code(bNegative);
        const tvWord nOutHigh = BigEndian(code.BytesOf(r.nHigh));
        const tvWord nOutLow = BigEndian(code.BytesOf(r.nLow));
        std::memcpy(pBuf + 16, &nOutHigh, 8);
        std::memcpy(pBuf + 24, &nOutLow, 8);
        *ppSum = PutHeadAndEnd(pBuf + 16, nBytes, plan.nExpHi, bNegative);
        return static_cast<int>(nBytes + 2);
    }
    if (plan.bDifference) {
        if (nCarry == 0) {
            // The other operand is the larger (their exponents are equal):
            // r holds 100^16 less the difference, which is turned back.
            nCarry = 1;
            r = Add16({0, 0}, r, true, nCarry);
            bNegative = !bNegative;
        } else if ((r.nHigh | r.nLow) == 0) {
            pBuf[0] = kSignZero;
            pBuf[1] = 0;
            *ppSum = pBuf;
            return 1;
        }
        nCarry = 0;
    }

    // The result's slots run from the carry (slot -1) or its first slot that
    // is not 0 (nFirst) to its last one that is not 0 (nLast; -1 when r is 0).
    const int nFirst = r.nHigh != 0 ? __builtin_clzll(r.nHigh) / 8 : 8 + __builtin_clzll(r.nLow | 1) / 8;
    const int nLast = r.nLow != 0 ? 15 - __builtin_ctzll(r.nLow) / 8 : r.nHigh != 0 ? 7 - __builtin_ctzll(r.nHigh) / 8 : -1;
    clsSlots16 nOut = r;
    tvWord nAfter = 0; // slot 16
    int nStart = nFirst;
    int nEnd = nLast + 1;
    int nExp = plan.nExpHi - 2 * nFirst; // slot k holds 10^(e - 2k) and 10^(e - 2k - 1)
    if (nCarry != 0 || SlotOf(r, nFirst) < 10) {
        // The first digit stands alone: pair k takes the units digit of slot
        // k - 1 (the carry before slot 0) and the tens digit of slot k.
        nOut = DigitDown(r, nCarry);
        const unsigned nLastUnits = nLast >= 0 ? SlotOf(r, nLast) % 10 : 1;
        nAfter = nLastUnits * 10;
        nStart = nCarry != 0 ? 0 : nFirst + 1;
        nEnd += nLastUnits != 0 ? 1 : 0;
        nExp = nCarry != 0 ? plan.nExpHi + 1 : nExp - 1;
    }

    const clsPairCode code(bNegative);
    const tvWord nOutHigh = BigEndian(code.BytesOf(nOut.nHigh));
    const tvWord nOutLow = BigEndian(code.BytesOf(nOut.nLow));
    std::memcpy(pBuf + 16, &nOutHigh, 8);
    std::memcpy(pBuf + 24, &nOutLow, 8);
    pBuf[32] = static_cast<char>(code.BytesOf(nAfter));
    *ppSum = PutHeadAndEnd(pBuf + 16 + nStart, static_cast<unsigned>(nEnd - nStart), nExp, bNegative);
    return 2 + nEnd - nStart;
}

// The sum of a plan whose frame has nWords words after the carry word,
// packed as SumPacked does.
__attribute__((always_inline)) inline int SumFrames(clsSumPlan plan, char* pBuf, const char** ppSum)
{
    const unsigned nWords = (plan.nSpan + 7) / 8;
    // x: hi's words. y: lo's words where they stand in the frame; with an odd
    // exponent difference one slot further down, and moved one digit up by
    // the addition, so that each digit lands one place below where its pair
    // stood.
    tvWord aX[kFrameWords];
    tvWord aY[kFrameWords];
    ClearFrame(aX, nWords);
    ClearFrame(aY, nWords);
    RunPairs(plan.pHi + 2, plan.nHi, clsPairCode(plan.pHi[0] == kSignNegative), aX);
    FramePairs(plan.pLo + 2, plan.nLo, plan.nSkip + plan.bOdd, clsPairCode(plan.pLo[0] == kSignNegative), aY);

    // r: the carry word, then the frame, then a word of zeros; its words go
    // to pBuf as digit bytes as they are made.
    tvWord aR[kFrameWords + 1];
    aR[nWords + 1] = 0;
    bool bNegative = plan.bNegative;
    const clsPairCode code(bNegative);
    const tvWord nCarry =
        plan.bOdd ? AddWords<true>(aX, aY, plan.bDifference, plan.bDifference, aR + 1, pBuf + 8, code, nWords)
                  : AddWords<false>(aX, aY, plan.bDifference, plan.bDifference, aR + 1, pBuf + 8, code, nWords);
    if (nCarry == tvWord(plan.bDifference) && aR[1] >> 56 >= 10) {
        // The usual sum: nothing carried out of slot 0 nor lost at the front,
        // and slot 0 holds two digits, so the result begins there with hi's
        // exponent and only its end is to be found.
        unsigned wLast = nWords;
        while (aR[wLast] == 0)
            --wLast;
        const unsigned nBytes = 8 * wLast - __builtin_ctzll(aR[wLast]) / 8;
        *ppSum = PutHeadAndEnd(pBuf + 8, nBytes, plan.nExpHi, bNegative);
        return static_cast<int>(nBytes + 2);
    }
    aR[0] = plan.bDifference ? 0 : nCarry;
    if (plan.bDifference && nCarry == 0) {
        // The other operand is the larger (their exponents are equal): the
        // sum holds 100^n less the difference, which is turned back.
        for (unsigned w = 0; w < nWords; ++w)
            aX[w] = 0;
        bNegative = !bNegative;
        AddWords<false>(aX, aR + 1, true, 1, aR + 1, pBuf + 8, clsPairCode(bNegative), nWords);
    }
    PutFrameBytes(aR, 0, 0, false, clsPairCode(bNegative), pBuf);
    unsigned nStart;
    const unsigned nLen = PackFrame(aR, nWords + 1, plan.nExpHi, bNegative, pBuf, nStart);
    *ppSum = pBuf + nStart;
    return static_cast<int>(nLen);
}

} // namespace

int tvpacked::SumPacked(const char* pA, int nLenA, const char* pB, int nLenB, bool bSubtract, char* pBuf,
                        const char** ppSum)
{
    const clsSumPlan plan = MakePlan(pA, nLenA, pB, nLenB, bSubtract);
    if (plan.nSpan <= 16)
        return SumWide(plan, pBuf, ppSum);
    return SumFrames(plan, pBuf, ppSum);
}

void tvpacked::SignedSum(const clsWorkNum& a, const clsWorkNum& b, bool bSubtract, clsWorkNum& r)
{
    if (a.bNegative == (b.bNegative != bSubtract)) {
        AddMagnitudes(a, b, r);
    } else if (CompareMagnitude(a, b) >= 0) {
        SubtractMagnitudes(a, b, r);
    } else {
        // b has the larger magnitude: the result takes the sign opposite to a's.
        SubtractMagnitudes(b, a, r);
        r.bNegative = !a.bNegative;
    }
}

void clsNumDbFld::AddAbs(const clsNumDbFld& other)
{
    if (other.GetExponent() >= GetIntLen())
        ThrowUtilException(kErrOverflow);
    clsWorkNum a;
    clsWorkNum b;
    clsWorkNum r;
    Unpack(m_strData, m_strData.GetLength(), a);
    Unpack(other.m_strData, other.m_strData.GetLength(), b);
    AddMagnitudes(a, b, r);
    StoreResult(r);
}

void clsNumDbFld::SubtractAbs(const clsNumDbFld& other)
{
    const int nOrder =
        CompareMagnitude(m_strData, m_strData.GetLength(), other.m_strData, other.m_strData.GetLength());
    clsWorkNum a;
    clsWorkNum b;
    clsWorkNum r;
    Unpack(m_strData, m_strData.GetLength(), a);
    Unpack(other.m_strData, other.m_strData.GetLength(), b);
    if (nOrder >= 0) {
        SubtractMagnitudes(a, b, r);
    } else {
        // The other number is the larger: the result takes the other sign.
        SubtractMagnitudes(b, a, r);
        r.bNegative = !a.bNegative;
    }
    StoreResult(r);
}

bool clsNumDbFld::StoreSumPacked(const char* pData, int nLen, const clsNumDbFld& other, bool bSubtract)
{
    const char* pOther = other.m_strData;
    const int nOtherLen = other.m_strData.GetLength();
    // Zero and null operands, and an other with more decimals than the
    // scale (its sum is rounded), take the working form; an other of no
    // larger scale cannot have more.
    if (nLen <= 1 || nOtherLen <= 1 ||
        (other.m_nDbFldScale > m_nDbFldScale && StoredDecimals(pOther, nOtherLen) > m_nDbFldScale))
        return false;
    char achBuf[kSumBufBytes];
    const char* pSum;
    const int nSumLen = SumPacked(pData, nLen, pOther, nOtherLen, bSubtract, achBuf, &pSum);
    // Neither operand has more decimals than the scale, so neither has the
    // sum: only its integer part can fail to fit.
    if (StoredIntegerDigits(pSum, nSumLen) > GetIntLen())
        ThrowUtilException(kErrOverflow);
    StorePacked(pSum, nSumLen);
    CheckValid();
    return true;
}

void clsNumDbFld::StoreSum(clsWorkNum& t, const clsNumDbFld& other, bool bSubtract)
{
    clsWorkNum o;
    Load(other.m_strData, other.m_strData.GetLength(), o);
    clsWorkNum r;
    clsWorkNum* pResult = &r;
    if (o.nDigits == 0) {
        pResult = &t;
    } else if (t.nDigits == 0) {
        // Zero or null plus a value is that value at this precision.
        o.bNegative = o.bNegative != bSubtract;
        pResult = &o;
    } else {
        SignedSum(t, o, bSubtract, r);
    }
    StoreResult(*pResult);
}

clsNumDbFld& clsNumDbFld::operator+=(const clsNumDbFld& other)
{
    CheckValid();
    other.CheckValid();
    if (other.IsZero())
        return *this;
    if (StoreSumPacked(m_strData, m_strData.GetLength(), other, false))
        return *this;
    clsWorkNum t;
    Load(m_strData, m_strData.GetLength(), t);
    StoreSum(t, other, false);
    return *this;
}

clsNumDbFld& clsNumDbFld::operator-=(const clsNumDbFld& other)
{
    CheckValid();
    other.CheckValid();
    if (other.IsZero())
        return *this;
    if (StoreSumPacked(m_strData, m_strData.GetLength(), other, true))
        return *this;
    clsWorkNum t;
    Load(m_strData, m_strData.GetLength(), t);
    StoreSum(t, other, true);
    return *this;
}

clsNumDbFld clsNumDbFld::operator++(int)
{
    clsNumDbFld numOut(*this);
    *this += g_numOne;
    return numOut;
}

clsNumDbFld clsNumDbFld::operator--(int)
{
    clsNumDbFld numOut(*this);
    *this -= g_numOne;
    return numOut;
}
