// The base-10^8 words of the multiplication and the division: packed bytes to
// words and back, against the working form's Unpack and Pack and against a
// model on decimal digit strings; the rounding of a word integer at a decimal
// place and its shift by powers of 10, against the same model.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tv_test_util.h"
#include "tvdcndf_packed.h"

namespace {

using Words = std::vector<std::uint32_t>;

// M as decimal digits without leading zeros ("0" for zero).
std::string WordsDigits(const Words& an, int nWords)
{
    std::string str;
    for (int i = nWords - 1; i >= 0; --i) {
        std::string strWord = std::to_string(an[i]);
        str += std::string(8 - strWord.size(), '0') + strWord;
    }
    const size_t nFirst = str.find_first_not_of('0');
    return nFirst == std::string::npos ? "0" : str.substr(nFirst);
}

// Decimal digits (no sign) to words, least significant first.
Words DigitsWords(const std::string& strDigits)
{
    Words an;
    for (int nEnd = static_cast<int>(strDigits.size()); nEnd > 0; nEnd -= 8) {
        const int nBegin = nEnd > 8 ? nEnd - 8 : 0;
        an.push_back(static_cast<std::uint32_t>(std::stoul(strDigits.substr(nBegin, nEnd - nBegin))));
    }
    return an;
}

// A value ±digits·10^nLowExp with its trailing zeros moved into the exponent;
// two values are equal when these are.
struct DecValue {
    bool bNegative;
    std::string strDigits;
    int nLowExp;
    bool operator==(const DecValue& o) const
    {
        return bNegative == o.bNegative && strDigits == o.strDigits && nLowExp == o.nLowExp;
    }
};

DecValue Canonical(bool bNegative, std::string strDigits, int nLowExp)
{
    strDigits.erase(0, std::min(strDigits.find_first_not_of('0'), strDigits.size()));
    while (!strDigits.empty() && strDigits.back() == '0') {
        strDigits.pop_back();
        ++nLowExp;
    }
    return {bNegative, strDigits, nLowExp};
}

std::ostream& operator<<(std::ostream& os, const DecValue& v)
{
    return os << (v.bNegative ? "-" : "") << v.strDigits << "e" << v.nLowExp;
}

// The value of a working form: its grid digits, two decimals each.
DecValue WorkValue(const tvpacked::clsWorkNum& w)
{
    std::string str;
    for (int i = 0; i < w.nDigits; ++i)
        str += std::string(1, static_cast<char>('0' + w.aDigit[i] / 10)) + static_cast<char>('0' + w.aDigit[i] % 10);
    return Canonical(w.bNegative, str, 2 * (w.nPow - w.nDigits + 1));
}

// The working form of ±digits·10^nLowExp (not zero), normalised, for Pack.
tvpacked::clsWorkNum WorkOf(const DecValue& v)
{
    std::string str = v.strDigits;
    int nLow = v.nLowExp;
    if (nLow & 1) {
        str += '0';
        --nLow;
    }
    if (str.size() & 1)
        str.insert(0, "0");
    tvpacked::clsWorkNum w;
    w.bNegative = v.bNegative;
    w.bNull = false;
    w.nDigits = static_cast<int>(str.size() / 2);
    for (int i = 0; i < w.nDigits; ++i)
        w.aDigit[i] = static_cast<unsigned char>((str[2 * i] - '0') * 10 + (str[2 * i + 1] - '0'));
    w.nPow = nLow / 2 + w.nDigits - 1;
    EXPECT_TRUE(tvpacked::Normalise(w));
    return w;
}

std::string PackOf(const DecValue& v)
{
    char ach[tvpacked::kWorkDigits + 3]; // also for the longer values of a division's words
    const int nLen = tvpacked::Pack(WorkOf(v), ach);
    return std::string(ach, static_cast<size_t>(nLen));
}

// PackedToWords of a packed value: its value, and that the top word is not 0.
DecValue WordsValueOf(const std::string& strData)
{
    Words an(tvpacked::kPackedWords, 0xDEADBEEF);
    int nLowExp = 12345;
    const int nWords = tvpacked::PackedToWords(strData.c_str(), static_cast<int>(strData.size()), an.data(), &nLowExp);
    EXPECT_GE(nWords, 1);
    EXPECT_LE(nWords, tvpacked::kPackedWords);
    EXPECT_NE(an[nWords - 1], 0u);
    for (int i = 0; i < nWords; ++i)
        EXPECT_LT(an[i], tvpacked::kWordRadix);
    // The exponent of M's last digit counts the pad digit: 2 digits a byte.
    EXPECT_EQ(static_cast<int>(WordsDigits(an, nWords).size()) - 1 + nLowExp,
              tvpacked::DecodeExponentByte(strData[0], strData[1]));
    return Canonical(strData[0] == 'n', WordsDigits(an, nWords), nLowExp);
}

// WordsToPacked of words, into a buffer of kMaxPackedBytes, or of the
// packed form's length and its NUL when that is longer (nRoom), followed by
// guard bytes: no write may reach them.
std::string PackedOfWords(const Words& an, int nLowExp, bool bNegative, int nRoom = tvpacked::kMaxPackedBytes)
{
    std::vector<char> ach(static_cast<size_t>(nRoom + 8), 0x5A);
    const int nLen = tvpacked::WordsToPacked(an.data(), static_cast<int>(an.size()), nLowExp, bNegative, ach.data());
    for (size_t i = static_cast<size_t>(nRoom); i < ach.size(); ++i)
        EXPECT_EQ(ach[i], 0x5A) << "write past the buffer at " << i;
    EXPECT_EQ(ach[static_cast<size_t>(nLen)], 0);
    return std::string(ach.data(), static_cast<size_t>(nLen));
}

std::string RandomDigits(std::mt19937_64& rng, int nDigits)
{
    std::string str;
    for (int i = 0; i < nDigits; ++i) {
        // Runs of 0 and 9 reach the word and pair boundaries and the carries.
        const int nKind = static_cast<int>(rng() % 4);
        str += nKind == 0 ? '0' : nKind == 1 ? '9' : static_cast<char>('0' + rng() % 10);
    }
    return str;
}

TEST(NumWords, PackedToWordsOnATable)
{
    struct Case {
        const char* pszValue;
        Words anWords;
        int nLowExp;
    };
    const Case aCases[] = {
        {"123.45", {123450}, -3},
        {"-123.45", {123450}, -3},
        {"-0.00123", {1230}, -6},
        {"5", {50}, -1},
        {"5000", {50}, 2},
        {"1", {10}, -1},
        {"99", {99}, 0},
        {"0.000001", {10}, -7},
        {"12345678.9", {34567890, 12}, -2},
        {"-1234567890123456.78", {12345678, 34567890, 12}, -2},
        {"12345678901234567890123456789012", {56789012, 78901234, 90123456, 12345678}, 0},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.pszValue);
        const clsNumDbFld num = NumAt(100, 10, c.pszValue);
        const clsStrPlus& strData = NumProbe::Data(num);
        Words an(tvpacked::kPackedWords, 0);
        int nLowExp = 0;
        const int nWords = tvpacked::PackedToWords(strData, strData.GetLength(), an.data(), &nLowExp);
        an.resize(static_cast<size_t>(nWords));
        EXPECT_EQ(an, c.anWords);
        EXPECT_EQ(nLowExp, c.nLowExp);
    }
}

// Every length of digit run (1 to 51 bytes, both parities of the exponent,
// both signs): the words hold Unpack's value, and WordsToPacked gives back
// the very bytes, as Pack does.
TEST(NumWords, PackedValuesThroughWordsAndBack)
{
    const unsigned long long nSeed = TestSeed(20240916);
    SCOPED_TRACE(SeedNote(nSeed));
    std::mt19937_64 rng(nSeed);
    for (int n = 0; n < 100000; ++n) {
        const int nScale = std::uniform_int_distribution<int>(0, 100)(rng);
        const int nLen = std::uniform_int_distribution<int>(std::max(nScale, 1), 100)(rng);
        const int nInt = std::uniform_int_distribution<int>(0, nLen - nScale)(rng);
        const int nDec = std::uniform_int_distribution<int>(0, nScale)(rng);
        std::string strText = (rng() % 2 ? "-" : "") + RandomDigits(rng, nInt) + "." + RandomDigits(rng, nDec);
        if (nInt + nDec == 0)
            continue;
        clsNumDbFld num = NumAt(nLen, nScale, strText.c_str());
        const clsStrPlus& str = NumProbe::Data(num);
        if (str.GetLength() <= 1)
            continue; // zero
        const std::string strData(str, static_cast<size_t>(str.GetLength()));
        SCOPED_TRACE(strText + " at " + std::to_string(nLen) + "," + std::to_string(nScale) + ": " +
                     BytesText(str));
        tvpacked::clsWorkNum w;
        tvpacked::Unpack(strData.c_str(), static_cast<int>(strData.size()), w);
        const DecValue v = WordsValueOf(strData);
        ASSERT_EQ(v, WorkValue(w));

        Words an(tvpacked::kPackedWords, 0);
        int nLowExp = 0;
        an.resize(static_cast<size_t>(
            tvpacked::PackedToWords(strData.c_str(), static_cast<int>(strData.size()), an.data(), &nLowExp)));
        ASSERT_EQ(BytesText(PackedOfWords(an, nLowExp, strData[0] == 'n').c_str()), BytesText(strData.c_str()));
    }
}

// Words as the products leave them (zero words at the top and the bottom,
// odd and even counts of digits, trailing zeros, either sign, any exponent):
// the packed bytes are those Pack gives for the same value.
TEST(NumWords, WordsToPackedAgreesWithPack)
{
    struct Case {
        Words anWords;
        int nLowExp;
        bool bNegative;
        const char* pszBytes;
    };
    const Case aCases[] = {
        {{123450}, -3, false, "'p', 12, 22, 44, 60"},
        {{123450}, -3, true, "'n', -12, -22, -44, -60"},
        {{5000}, 0, false, "'p', 13, 60"},
        {{5}, 0, false, "'p', 10, 60"},
        {{5}, -1, true, "'n', 11, -60"},
        {{10000000, 5}, 0, false, "'p', 18, 61"},            // 510000000: the bottom word's 1 moves up
        {{0, 0, 7, 0}, -20, false, "'p', -14, 80"},          // zero words on both sides: 0.0007
        {{0, 3}, -8, false, "'p', 10, 40"},                  // 3
        {{1, 0, 0}, 0, false, "'p', 10, 20"},                // top zero words
        {{99999999, 99999999}, -16, false, "'p', -11, 109, 109, 109, 109, 109, 109, 109, 109"},
        {{90000000, 9}, -9, false, "'p', -11, 109"},         // 0.99
        {{12345678}, 3, false, "'p', 20, 22, 44, 66, 88"},   // 12345678000
        {{1234567}, 0, true, "'n', -16, -22, -44, -66, -80"},
    };
    for (const Case& c : aCases) {
        const std::string strPacked = PackedOfWords(c.anWords, c.nLowExp, c.bNegative);
        EXPECT_EQ(BytesText(strPacked.c_str()), c.pszBytes);
        EXPECT_EQ(strPacked, PackOf(Canonical(c.bNegative, WordsDigits(c.anWords, static_cast<int>(c.anWords.size())),
                                              c.nLowExp)));
    }

    const unsigned long long nSeed = TestSeed(20240917);
    SCOPED_TRACE(SeedNote(nSeed));
    std::mt19937_64 rng(nSeed);
    for (int n = 0; n < 100000; ++n) {
        // Up to 101 significant digits (51 bytes), inside up to 27 words;
        // one case in four up to 124 digits, as a division's words may hold
        // before its result is tested against a capacity.
        const int nSignificant = std::uniform_int_distribution<int>(1, n % 4 == 0 ? 124 : 101)(rng);
        std::string strDigits = static_cast<char>('1' + rng() % 9) + RandomDigits(rng, nSignificant - 1);
        const int nTrailing = rng() % 3 == 0 ? static_cast<int>(rng() % 40) : 0;
        const int nLeading = static_cast<int>(rng() % 20);
        const DecValue v = Canonical(rng() % 2, strDigits, std::uniform_int_distribution<int>(-120, 60)(rng));
        if (v.nLowExp + static_cast<int>(v.strDigits.size()) - 1 < -117 ||
            v.nLowExp + static_cast<int>(v.strDigits.size()) - 1 > 117)
            continue; // no exponent byte for it
        Words an = DigitsWords(std::string(static_cast<size_t>(nLeading), '0') + v.strDigits +
                               std::string(static_cast<size_t>(nTrailing), '0'));
        SCOPED_TRACE(::testing::Message() << v << " with " << nTrailing << " zeros in " << an.size() << " words");
        const std::string strWant = PackOf(v);
        const int nRoom = std::max(tvpacked::kMaxPackedBytes, static_cast<int>(strWant.size()) + 1);
        ASSERT_EQ(BytesText(PackedOfWords(an, v.nLowExp - nTrailing, v.bNegative, nRoom).c_str()),
                  BytesText(strWant.c_str()));
    }
}

// Rounding half away from zero at a decimal place, on digit strings: the
// first dropped digit decides.
std::string RoundDigits(const std::string& strDigits, int nDrop)
{
    const int n = static_cast<int>(strDigits.size());
    if (nDrop > n)
        return "0";
    std::string strKept = strDigits.substr(0, static_cast<size_t>(n - nDrop));
    const bool bUp = strDigits[static_cast<size_t>(n - nDrop)] >= '5';
    if (bUp) {
        int i = static_cast<int>(strKept.size()) - 1;
        while (i >= 0 && strKept[static_cast<size_t>(i)] == '9')
            strKept[static_cast<size_t>(i--)] = '0';
        if (i < 0)
            strKept.insert(0, "1");
        else
            ++strKept[static_cast<size_t>(i)];
    }
    strKept += std::string(static_cast<size_t>(nDrop), '0');
    const size_t nFirst = strKept.find_first_not_of('0');
    return nFirst == std::string::npos ? "0" : strKept.substr(nFirst);
}

TEST(NumWords, RoundWordsAtRoundsHalfAwayFromZero)
{
    struct Case {
        const char* pszDigits;
        int nDrop;
        const char* pszWant;
    };
    const Case aCases[] = {
        {"12345", 2, "12300"},
        {"12350", 2, "12400"},
        {"499", 3, "0"},
        {"500", 3, "1000"},
        {"5", 2, "0"},                                   // the first dropped digit is a 0
        {"99999999", 1, "100000000"},                    // a carry into a new word
        {"9999999999999999", 8, "10000000000000000"},    // at a word boundary, into a new word
        {"9999999999999999", 16, "10000000000000000"},   // every digit dropped, rounding up
        {"4999999999999999", 16, "0"},
        {"123456789012345678", 9, "123456789000000000"},
        {"123456785012345678", 10, "123456790000000000"},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(::testing::Message() << c.pszDigits << " at " << c.nDrop);
        Words an = DigitsWords(c.pszDigits);
        an.push_back(0xDEADBEEF);
        const int nWords = tvpacked::RoundWordsAt(an.data(), static_cast<int>(an.size()) - 1, c.nDrop);
        EXPECT_EQ(WordsDigits(an, nWords), c.pszWant);
        if (nWords > 0) {
            EXPECT_NE(an[static_cast<size_t>(nWords - 1)], 0u);
        }
    }

    const unsigned long long nSeed = TestSeed(20240918);
    SCOPED_TRACE(SeedNote(nSeed));
    std::mt19937_64 rng(nSeed);
    for (int n = 0; n < 200000; ++n) {
        const std::string strDigits =
            static_cast<char>('1' + rng() % 9) + RandomDigits(rng, static_cast<int>(rng() % 110));
        Words an = DigitsWords(strDigits);
        const int nWords = static_cast<int>(an.size());
        const int nDrop = 1 + static_cast<int>(rng() % (8 * nWords + 4));
        an.push_back(0xDEADBEEF);
        SCOPED_TRACE(::testing::Message() << strDigits << " at " << nDrop);
        const int nRounded = tvpacked::RoundWordsAt(an.data(), nWords, nDrop);
        ASSERT_EQ(WordsDigits(an, nRounded), RoundDigits(strDigits, nDrop));
        if (nRounded > 0) {
            ASSERT_NE(an[static_cast<size_t>(nRounded - 1)], 0u);
        }
    }
}

TEST(NumWords, ShiftWordsUpMultipliesByAPowerOfTen)
{
    const unsigned long long nSeed = TestSeed(20240919);
    SCOPED_TRACE(SeedNote(nSeed));
    std::mt19937_64 rng(nSeed);
    for (int n = 0; n < 100000; ++n) {
        const std::string strDigits =
            static_cast<char>('1' + rng() % 9) + RandomDigits(rng, static_cast<int>(rng() % 110));
        Words an = DigitsWords(strDigits);
        const int nWords = static_cast<int>(an.size());
        const int nShift = static_cast<int>(rng() % 40);
        an.resize(static_cast<size_t>(nWords + nShift / 8 + 1), 0xDEADBEEF);
        SCOPED_TRACE(::testing::Message() << strDigits << " by " << nShift);
        const int nShifted = tvpacked::ShiftWordsUp(an.data(), nWords, nShift);
        ASSERT_EQ(WordsDigits(an, nShifted), strDigits + std::string(static_cast<size_t>(nShift), '0'));
        ASSERT_NE(an[static_cast<size_t>(nShifted - 1)], 0u);
        for (int i = 0; i < nShifted; ++i)
            ASSERT_LT(an[static_cast<size_t>(i)], tvpacked::kWordRadix);
    }
}

} // namespace
