// Internal to the library: the division kernel over base-100 digit runs,
// declared here so that the unit tests can drive it directly. Nothing of it
// is part of the number's interface.
#ifndef TVDCNDF_DIV_H
#define TVDCNDF_DIV_H

namespace tvdiv {

// Digit pairs of the longest run: 101 digits and a pad digit (a working
// quotient may have one digit more than the longest number, 100 digits).
const int kMaxRunPairs = 52;
// Quotient digits the kernel develops at most.
const int kMaxQuotientDigits = 102;

// The magnitude of a value that is not zero, as the packed form holds it:
// digit pairs 0..99, most significant first, the first digit not 0 (so the
// first pair is at least 10), no zero pair at the end; an odd run ends in a
// pad digit 0. nExp is the decimal exponent of the first digit. nPairs 0
// stands for zero (nExp is then 0).
struct PairRun {
    int nPairs;
    int nExp;
    unsigned char anPair[kMaxRunPairs];
};

// Quotient a / b truncated after nDigits digit positions, the first at
// 10^(a.nExp - b.nExp), and the remainder a - quotient * b.
// Requires: a and b not zero, each at most 51 pairs; 1 <= nDigits <= 102;
// pRemainder may be null. pQuotient and pRemainder are not a or b.
// Gives: *pQuotient (nPairs 0 when every developed digit is 0; nExp is
// a.nExp - b.nExp, or one less when the first developed digit is 0) and,
// when asked, *pRemainder exactly (nPairs 0 when the division is exact).
// Example: 10 / 4 with 3 digits gives 2.5 (pairs 25, nExp 0) and remainder 0.
void DivideRuns(const PairRun& a, const PairRun& b, int nDigits, PairRun* pQuotient, PairRun* pRemainder);

} // namespace tvdiv

#endif // TVDCNDF_DIV_H
