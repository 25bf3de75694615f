// The division kernel over packed values (DivideMagnitudes), against exact
// schoolbook division of decimal digit strings: every length of dividend
// and divisor from 1 to 101 digits, every number of developed digits, and
// the digit shapes that exercise the trial quotient of the word division:
// divisor words of 99999999, divisors at half a word, dividends just below
// and at a multiple of the divisor, long runs of 9s and 0s, powers of ten.
//
// Every random case draws from its own seed, the test's seed plus the case's
// number; a failure prints the case's seed and the line that replays the test.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <sstream>
#include <string>
#include <utility>

#include "tv_ref_decimal.h"
#include "tv_test_util.h"
#include "tvdcndf_packed.h"

namespace {

using tvpacked::clsWordNum;

// The longest quotient the kernel is asked for.
const int kMaxQuotientDigits = 102;

// A value as the kernel sees it: its significant digits (first not 0) and
// the exponent of the first; "" for zero.
struct Digits {
    std::string str;
    int nExp = 0;
    bool operator==(const Digits& other) const { return str == other.str && nExp == other.nExp; }
};

std::ostream& operator<<(std::ostream& os, const Digits& d)
{
    return os << (d.str.empty() ? std::string("0") : d.str + "e" + std::to_string(d.nExp));
}

// Digits without the zeros at the end (the exponent of the first stays).
Digits Trimmed(const std::string& str, int nExp)
{
    Digits d;
    size_t nFirst = str.find_first_not_of('0');
    if (nFirst == std::string::npos)
        return d;
    size_t nLast = str.find_last_not_of('0');
    d.str = str.substr(nFirst, nLast - nFirst + 1);
    d.nExp = nExp - static_cast<int>(nFirst);
    return d;
}

// The packed form of the value with the given sign.
std::string PackedOf(const Digits& d, bool bNegative)
{
    std::string str = d.str;
    if (str.size() % 2 == 1)
        str += '0'; // the pad digit
    std::string strPacked(1, bNegative ? 'n' : 'p');
    strPacked += tvpacked::EncodeExponentByte(d.nExp, bNegative);
    for (size_t i = 0; i < str.size(); i += 2)
        strPacked += tvpacked::PairByte(10 * (str[i] - '0') + (str[i + 1] - '0'), bNegative);
    return strPacked;
}

// The digits of a kernel result, checking its form: no word of 10^8 or more,
// the top word not 0 (no word at all for zero).
::testing::AssertionResult DigitsOfWords(const clsWordNum& w, Digits* pOut)
{
    pOut->str.clear();
    pOut->nExp = 0;
    if (w.nWords == 0)
        return ::testing::AssertionSuccess();
    if (w.nWords < 0 || w.nWords > tvpacked::kDivWords)
        return ::testing::AssertionFailure() << w.nWords << " words";
    if (w.aWord[w.nWords - 1] == 0)
        return ::testing::AssertionFailure() << "top word 0";
    std::string str;
    for (int i = w.nWords - 1; i >= 0; --i) {
        if (w.aWord[i] >= 100000000u)
            return ::testing::AssertionFailure() << "word " << w.aWord[i];
        std::string strWord = std::to_string(w.aWord[i]);
        str += std::string(8 - strWord.size(), '0') + strWord;
    }
    *pOut = Trimmed(str, w.nLowExp + static_cast<int>(str.size()) - 1);
    return ::testing::AssertionSuccess();
}

// The exact quotient a / b truncated at 10^nLowQ, and the remainder
// a - q * b, from the reference model.
std::pair<Digits, Digits> ExpectedDivision(const Digits& a, const Digits& b, int nLowQ)
{
    using namespace tvref;
    const int nLowA = a.nExp - static_cast<int>(a.str.size()) + 1; // exponent of a's last digit
    const int nLowB = b.nExp - static_cast<int>(b.str.size()) + 1;
    // a / (b * 10^nLowQ) = A / B * 10^s
    const int s = nLowA - nLowB - nLowQ;
    const std::string strN = s >= 0 ? TimesPow10(a.str, s) : a.str;
    const std::string strD = s >= 0 ? b.str : TimesPow10(b.str, -s);
    std::pair<std::string, std::string> qr = DivModInt(strN, strD);
    Digits q = qr.first == "0" ? Digits() : Trimmed(qr.first, nLowQ + static_cast<int>(qr.first.size()) - 1);
    const int nLowR = s >= 0 ? nLowA - s : nLowA;
    Digits r = qr.second == "0" ? Digits() : Trimmed(qr.second, nLowR + static_cast<int>(qr.second.size()) - 1);
    return {q, r};
}

// Runs the kernel with nDigits quotient digits developed from 10^(ea - eb),
// for every choice of the operands' signs (which it ignores), and compares
// quotient and remainder with the model; also with only one of them asked for.
::testing::AssertionResult KernelAgrees(const Digits& a, const Digits& b, int nDigits)
{
    const int nLowQ = a.nExp - b.nExp - nDigits + 1;
    std::pair<Digits, Digits> want = ExpectedDivision(a, b, nLowQ);
    for (int nSigns = 0; nSigns < 4; ++nSigns) {
        const std::string strA = PackedOf(a, (nSigns & 1) != 0);
        const std::string strB = PackedOf(b, (nSigns & 2) != 0);
        const int nLenA = static_cast<int>(strA.size());
        const int nLenB = static_cast<int>(strB.size());
        clsWordNum q;
        clsWordNum r;
        tvpacked::DivideMagnitudes(strA.c_str(), nLenA, strB.c_str(), nLenB, nLowQ, &q, &r);
        Digits dq;
        Digits dr;
        ::testing::AssertionResult ok = DigitsOfWords(q, &dq);
        if (!ok)
            return ok << " (quotient)";
        ok = DigitsOfWords(r, &dr);
        if (!ok)
            return ok << " (remainder)";
        if (!(dq == want.first) || !(dr == want.second))
            return ::testing::AssertionFailure() << a << " / " << b << " with " << nDigits << " digits: got " << dq
                                                 << " rem " << dr << ", expected " << want.first << " rem "
                                                 << want.second;
        clsWordNum qOnly;
        tvpacked::DivideMagnitudes(strA.c_str(), nLenA, strB.c_str(), nLenB, nLowQ, &qOnly, nullptr);
        Digits dqOnly;
        ok = DigitsOfWords(qOnly, &dqOnly);
        if (!ok || !(dqOnly == dq))
            return ::testing::AssertionFailure() << "quotient without remainder differs: " << dqOnly;
        clsWordNum rOnly;
        tvpacked::DivideMagnitudes(strA.c_str(), nLenA, strB.c_str(), nLenB, nLowQ, nullptr, &rOnly);
        Digits drOnly;
        ok = DigitsOfWords(rOnly, &drOnly);
        if (!ok || !(drOnly == dr))
            return ::testing::AssertionFailure() << "remainder without quotient differs: " << drOnly;
    }
    return ::testing::AssertionSuccess();
}

// The seed of every test here, unless TV_TEST_SEED gives another.
const unsigned long long kDefaultSeed = 20240611ULL;

// n digits (first not 0) in one of the shapes that matter to the word
// division: random, all 9s, a power of ten, blocks of 9s and 0s, few digits
// among zeros, a run of 9s after one digit, 5 then zeros.
std::string RandomDigits(std::mt19937_64& rng, int n)
{
    std::uniform_int_distribution<int> digit(0, 9);
    std::string str(static_cast<size_t>(n), '0');
    switch (std::uniform_int_distribution<int>(0, 7)(rng)) {
    case 0: str.assign(static_cast<size_t>(n), '9'); break;
    case 1: break; // 1 and zeros below
    case 2: {
        int nBlock = std::uniform_int_distribution<int>(1, 12)(rng);
        for (int i = 0; i < n; ++i)
            str[static_cast<size_t>(i)] = (i / nBlock) % 2 == 0 ? '9' : '0';
        break;
    }
    case 3:
        for (int k = 0; k < 3; ++k)
            str[static_cast<size_t>(std::uniform_int_distribution<int>(0, n - 1)(rng))] =
                static_cast<char>('0' + digit(rng));
        break;
    case 4:
        str.assign(static_cast<size_t>(n), '9');
        str[0] = static_cast<char>('1' + std::uniform_int_distribution<int>(0, 8)(rng));
        break;
    case 5: str[0] = '5'; break;
    default:
        for (char& ch : str)
            ch = static_cast<char>('0' + digit(rng));
        break;
    }
    if (str[0] == '0')
        str[0] = '1';
    return str;
}

} // namespace

// The examples of the kernel's contract and the first digit that is dropped.
TEST(DivKernel, QuotientAndRemainderDigitsOfSmallAndLongDivisions)
{
    std::string strSevenths; // 10^99 / 7: 142857 sixteen times, then 142
    for (int i = 0; i < 16; ++i)
        strSevenths += "142857";
    strSevenths += "142";
    struct Case {
        Digits a, b;
        int nDigits;
        Digits q, r;
    };
    const Case kCases[] = {
        {{"1", 1}, {"4", 0}, 3, {"25", 0}, {}},           // 10 / 4 = 2.5
        {{"2", 0}, {"3", 0}, 10, {"666666666", -1}, {"2", -9}}, // first digit 0 dropped
        {{"7", 0}, {"2", 0}, 1, {"3", 0}, {"1", 0}},
        {{"1", 0}, {"3", 0}, 1, {}, {"1", 0}},            // the only digit is 0
        {{"55", 0}, {"3", -1}, 2, {"18", 1}, {"1", -1}},  // 5.5 div 0.3
        {{"1", 99}, {"7", 0}, 100, {strSevenths, 98}, {"6", 0}},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::PrintToString(c.a) + " / " + ::testing::PrintToString(c.b));
        const std::string strA = PackedOf(c.a, false);
        const std::string strB = PackedOf(c.b, false);
        clsWordNum q;
        clsWordNum r;
        tvpacked::DivideMagnitudes(strA.c_str(), static_cast<int>(strA.size()), strB.c_str(),
                                   static_cast<int>(strB.size()), c.a.nExp - c.b.nExp - c.nDigits + 1, &q, &r);
        Digits dq;
        Digits dr;
        ASSERT_TRUE(DigitsOfWords(q, &dq));
        ASSERT_TRUE(DigitsOfWords(r, &dr));
        EXPECT_EQ(dq, c.q);
        EXPECT_EQ(dr, c.r);
        EXPECT_TRUE(KernelAgrees(c.a, c.b, c.nDigits)); // the model says the same, in every sign
    }
}

// Every pair of lengths 1..101 with random digits of every shape and a
// random count of developed digits (so a last digit at every place), then random cases with the extremes of
// that count.
TEST(DivKernel, EveryLengthOfDividendAndDivisor)
{
    const unsigned long long nTestSeed = TestSeed(kDefaultSeed);
    SCOPED_TRACE(SeedNote(nTestSeed));
    const unsigned long long nBase = nTestSeed + 3000000ULL;
    unsigned long long nCase = 0;
    for (int nA = 1; nA <= 101; ++nA) {
        for (int nB = 1; nB <= 101; ++nB) {
            const unsigned long long nSeed = nBase + nCase++;
            std::mt19937_64 rng(nSeed);
            Digits a{RandomDigits(rng, nA), std::uniform_int_distribution<int>(-60, 60)(rng)};
            Digits b{RandomDigits(rng, nB), std::uniform_int_distribution<int>(-60, 60)(rng)};
            a = Trimmed(a.str, a.nExp);
            b = Trimmed(b.str, b.nExp);
            int nDigits;
            switch (std::uniform_int_distribution<int>(0, 3)(rng)) {
            case 0: nDigits = 1; break;
            case 1: nDigits = kMaxQuotientDigits; break;
            default: nDigits = std::uniform_int_distribution<int>(1, kMaxQuotientDigits)(rng); break;
            }
            ASSERT_TRUE(KernelAgrees(a, b, nDigits)) << "lengths " << nA << " and " << nB << ", seed " << nSeed;
        }
    }
}

// Dividends just below, at and just above a multiple of the divisor, with
// divisors whose words are 99999999, half a word, or a word of 1 over zeros:
// the trial quotient from the top words is then too large and is corrected,
// at times only after the multiply-subtract (the add-back step).
TEST(DivKernel, DividendsNearAMultipleOfTheDivisor)
{
    using tvref::AddInt;
    using tvref::SubInt;
    const std::string kNines8(8, '9');
    const std::string kDivisors[] = {
        kNines8 + kNines8,                           // two words of 10^8 - 1
        kNines8 + kNines8 + kNines8,
        "5" + std::string(23, '0') + "1",             // a top word of half the base
        "50000000" "00000000" "00000001",
        "50000000" "99999999" "00000001",
        "10000000" "00000000" "00000001",             // scaled by 9 before dividing
        "99999999" "00000000" "00000001",
        "1" + std::string(99, '0'),
        std::string(100, '9'),
        "7" + std::string(50, '9'),
        "123456789012345678901234567890",
    };
    // Multipliers: one word, words of 9s, words that make the top of the
    // product equal the top of the dividend.
    const std::string kMultipliers[] = {"1",        "2",        "9",         "99999999", "100000000",
                                        "50000001", "99999998", "199999999", "49999999" "99999999",
                                        "3"};
    for (const std::string& strB : kDivisors) {
        for (const std::string& strQ : kMultipliers) {
            // strB * strQ by repeated doubling and adding, in the model's arithmetic.
            std::string strProduct = "0";
            std::string strAddend = strB;
            for (size_t i = strQ.size(); i-- > 0;) {
                for (int k = 0; k < strQ[i] - '0'; ++k)
                    strProduct = AddInt(strProduct, strAddend);
                strAddend += '0';
            }
            for (int nDelta : {-1, 0, 1}) {
                std::string strA = nDelta < 0 ? SubInt(strProduct, "1") : (nDelta > 0 ? AddInt(strProduct, "1") : strProduct);
                if (strA.size() > 101)
                    continue;
                // Integer division: the dividend and divisor as integers.
                Digits a = Trimmed(strA, static_cast<int>(strA.size()) - 1);
                Digits b = Trimmed(strB, static_cast<int>(strB.size()) - 1);
                const int nIntDigits = a.nExp - b.nExp + 1;
                SCOPED_TRACE(strA + " div " + strB);
                if (nIntDigits >= 1) {
                    EXPECT_TRUE(KernelAgrees(a, b, nIntDigits));
                }
                // And with decimals, down to the longest developments.
                EXPECT_TRUE(KernelAgrees(a, b, kMaxQuotientDigits));
                EXPECT_TRUE(KernelAgrees(a, b, 1 + static_cast<int>(strQ.size()) + 8));
            }
        }
    }
}

// Divisors of one digit pair up to one word (the short division) and powers
// of ten, against dividends of every length; exact divisions leave no
// remainder.
TEST(DivKernel, ShortDivisorsPowersOfTenAndExactQuotients)
{
    const unsigned long long nTestSeed = TestSeed(kDefaultSeed);
    SCOPED_TRACE(SeedNote(nTestSeed));
    const unsigned long long nBase = nTestSeed + 4000000ULL;
    const char* const kDivisors[] = {"1", "2", "3", "7", "9", "1", "11", "99", "125", "9999", "10000001", "99999999",
                                     "3125"};
    for (int nA = 1; nA <= 101; ++nA) {
        std::mt19937_64 rng(nBase + static_cast<unsigned long long>(nA));
        Digits a = Trimmed(RandomDigits(rng, nA), std::uniform_int_distribution<int>(-20, 20)(rng));
        for (const char* pszB : kDivisors) {
            Digits b = Trimmed(pszB, std::uniform_int_distribution<int>(-20, 20)(rng));
            int nDigits = std::uniform_int_distribution<int>(1, kMaxQuotientDigits)(rng);
            ASSERT_TRUE(KernelAgrees(a, b, nDigits)) << "nA " << nA;
        }
        // a divided by itself and by its own digits at another place: exact.
        for (int nShift : {0, 3, -7}) {
            Digits b{a.str, a.nExp + nShift};
            std::pair<Digits, Digits> want = ExpectedDivision(a, b, -nShift - 4); // 5 digits from 10^-nShift
            EXPECT_EQ(want.first, (Digits{"1", -nShift}));
            EXPECT_TRUE(want.second.str.empty());
            ASSERT_TRUE(KernelAgrees(a, b, 5)) << "nA " << nA;
        }
    }
}
