// The packed form's one-pass validity test and the working form: the fast
// test must agree with the invariants as listed, on valid and on broken data,
// and a value taken into the working form and back must keep every byte.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "tv_test_util.h"
#include "tvdcndf_packed.h"

namespace {

// The invariants, read off the packed bytes as decimal digits: fields in
// range; "" or "o"; else a sign letter, an exponent byte that decodes, digit
// bytes 10..109 in the value's sign, a first digit that is not 0, no zero
// pair at the end, no more places than the length allows, the integer part
// within the capacity and the decimals within the scale (one more only as the
// pad digit 0).
bool ReferenceValid(int nLen, int nScale, const std::string& strData)
{
    if (nLen < 1 || nLen > 101 || nScale < 0 || nScale > 100 || nScale > nLen)
        return false;
    if (strData.empty())
        return true;
    if (strData.size() == 1)
        return strData == "o";
    if (strData.size() == 2 || (strData[0] != 'p' && strData[0] != 'n'))
        return false;
    const int nSign = strData[0] == 'n' ? -1 : 1;
    const int nExpByte = nSign * static_cast<signed char>(strData[1]);
    int nExp;
    if (nExpByte >= 10)
        nExp = nExpByte - 10;
    else if (nExpByte <= -11)
        nExp = nExpByte + 10;
    else
        return false;
    std::string strDigits;
    for (size_t i = 2; i < strData.size(); ++i) {
        int nByte = nSign * static_cast<signed char>(strData[i]);
        if (nByte < 10 || nByte > 109)
            return false;
        strDigits += static_cast<char>('0' + (nByte - 10) / 10);
        strDigits += static_cast<char>('0' + (nByte - 10) % 10);
    }
    if (strDigits[0] == '0' || strDigits.substr(strDigits.size() - 2) == "00")
        return false;
    const int nPlaces = static_cast<int>(strDigits.size());
    if (nPlaces > nLen + 1 || nExp >= nLen - nScale)
        return false;
    const int nDecimals = std::max(0, nPlaces - nExp - 1);
    return nDecimals <= nScale || (nDecimals == nScale + 1 && strDigits.back() == '0');
}

// A random valid value at a random length and scale.
struct Sample {
    int nLen;
    int nScale;
    std::string strData;
};

Sample RandomSample(std::mt19937_64& rng)
{
    Sample s;
    s.nLen = std::uniform_int_distribution<int>(1, 100)(rng);
    s.nScale = std::uniform_int_distribution<int>(0, s.nLen)(rng);
    std::string strText = rng() % 2 ? "-" : "";
    const int nInt = std::uniform_int_distribution<int>(0, s.nLen - s.nScale)(rng);
    const int nDec = std::uniform_int_distribution<int>(0, s.nScale)(rng);
    for (int i = 0; i < nInt; ++i)
        strText += static_cast<char>('0' + rng() % 10);
    strText += '.';
    for (int i = 0; i < nDec; ++i)
        strText += static_cast<char>('0' + (rng() % 3 == 0 ? 0 : rng() % 10));
    clsNumDbFld num = NumAt(s.nLen, s.nScale, strText.c_str());
    s.strData = std::string(NumProbe::Data(num));
    return s;
}

TEST(NumPacked, FastValidityTestAgreesWithTheInvariants)
{
    const unsigned long long nSeed = TestSeed(20240611);
    SCOPED_TRACE(SeedNote(nSeed));
    std::mt19937_64 rng(nSeed);
    int nBroken = 0;
    for (int n = 0; n < 200000; ++n) {
        Sample s = RandomSample(rng);
        ASSERT_TRUE(tvpacked::IsValidPacked(s.nLen, s.nScale, s.strData.c_str(), static_cast<int>(s.strData.size())))
            << BytesText(clsStrPlus(s.strData));
        // One or two faults: a byte changed, a byte added or dropped, or the
        // length or scale moved.
        for (int nFault = 1 + static_cast<int>(rng() % 2); nFault > 0; --nFault) {
            switch (rng() % 5) {
            case 0:
            case 1:
                if (!s.strData.empty())
                    s.strData[rng() % s.strData.size()] = static_cast<char>(1 + rng() % 255);
                break;
            case 2: s.strData += static_cast<char>(1 + rng() % 255); break;
            case 3:
                if (!s.strData.empty())
                    s.strData.pop_back();
                break;
            default:
                s.nLen += static_cast<int>(rng() % 5) - 2;
                s.nScale += static_cast<int>(rng() % 5) - 2;
            }
        }
        const bool bWant = ReferenceValid(s.nLen, s.nScale, s.strData);
        nBroken += !bWant;
        ASSERT_EQ(tvpacked::IsValidPacked(s.nLen, s.nScale, s.strData.c_str(), static_cast<int>(s.strData.size())),
                  bWant)
            << "length " << s.nLen << ", scale " << s.nScale << ": " << BytesText(clsStrPlus(s.strData));
    }
    // The faults reach both outcomes.
    EXPECT_GT(nBroken, 50000);
    EXPECT_LT(nBroken, 190000);
}

// A valid value of nBytes bytes (3..53) at length 101 and scale 100: e = 0,
// digit bytes that run through the range, the last one 60 (digit 5 and the
// pad digit), negated for a negative value. 53 bytes is the longest value.
std::string LongValue(int nBytes, bool bNegative)
{
    std::string strData(1, bNegative ? 'n' : 'p');
    strData += static_cast<char>(bNegative ? -10 : 10);
    for (int i = 2; i < nBytes; ++i) {
        int nByte = i == nBytes - 1 ? 60 : 20 + (i * 37) % 90;
        strData += static_cast<char>(bNegative ? -nByte : nByte);
    }
    return strData;
}

// The fast test reads the digit bytes 16 at a time, in windows that overlap at
// the end of the value: every byte of every length from 3 to 54 bytes, replaced
// in turn by a byte at or beyond the edge of a range it must keep, is judged
// as the invariants judge it, whatever window and lane it falls in.
TEST(NumPacked, FastValidityTestFindsABrokenByteAtEachPosition)
{
    const int anBad[] = {0, 9, 10, 19, 20, 109, 110, 127, -128, -110, -109, -20, -19, -10, -9, 'n', 'o', 'p', 1};
    int nRefused = 0;
    for (bool bNegative : {false, true}) {
        for (int nBytes = 3; nBytes <= 54; ++nBytes) {
            const std::string strValid = LongValue(nBytes, bNegative);
            ASSERT_EQ(tvpacked::IsValidPacked(101, 100, strValid.c_str(), nBytes), nBytes <= 53) << nBytes;
            for (int nPos = 0; nPos < nBytes; ++nPos) {
                for (int nByte : anBad) {
                    std::string strData = strValid;
                    strData[static_cast<size_t>(nPos)] = static_cast<char>(nByte);
                    const bool bWant = ReferenceValid(101, 100, strData);
                    nRefused += !bWant;
                    ASSERT_EQ(tvpacked::IsValidPacked(101, 100, strData.c_str(), nBytes), bWant)
                        << nBytes << " bytes, byte " << nPos << " set to " << nByte << ": "
                        << BytesText(clsStrPlus(strData));
                }
            }
        }
    }
    // Most replacements break the value; some keep it valid.
    EXPECT_GT(nRefused, 20000);
}

struct GridCase {
    const char* pszValue;
    int nPow;
    std::vector<int> anDigits;
};

TEST(NumPacked, WorkingFormOnTheGridOfPowersOf100)
{
    const GridCase aCases[] = {
        {"123.45", 1, {1, 23, 45}}, {"-123.45", 1, {1, 23, 45}}, {"0.5", -1, {50}},
        {"1010", 1, {10, 10}},      {"1200", 1, {12}},           {"1", 0, {1}},
        {"10", 0, {10}},            {"0.00123", -2, {12, 30}},   {"99.99", 0, {99, 99}},
    };
    for (const GridCase& c : aCases) {
        SCOPED_TRACE(c.pszValue);
        clsNumDbFld num = NumAt(38, 8, c.pszValue);
        const clsStrPlus& strData = NumProbe::Data(num);
        tvpacked::clsWorkNum w;
        tvpacked::Unpack(strData, strData.GetLength(), w);
        EXPECT_EQ(w.bNegative, c.pszValue[0] == '-');
        EXPECT_EQ(w.nPow, c.nPow);
        EXPECT_EQ(std::vector<int>(w.aDigit, w.aDigit + w.nDigits), c.anDigits);
    }
}

TEST(NumPacked, WorkingFormKeepsEveryByte)
{
    const unsigned long long nSeed = TestSeed(7);
    SCOPED_TRACE(SeedNote(nSeed));
    std::mt19937_64 rng(nSeed);
    for (int n = 0; n < 100000; ++n) {
        Sample s = RandomSample(rng);
        if (s.strData.size() <= 1)
            continue;
        tvpacked::clsWorkNum w;
        tvpacked::Unpack(s.strData.c_str(), static_cast<int>(s.strData.size()), w);
        ASSERT_NE(w.aDigit[0], 0);
        ASSERT_NE(w.aDigit[w.nDigits - 1], 0);
        char achOut[tvpacked::kMaxPackedBytes];
        int nOut = tvpacked::Pack(w, achOut);
        ASSERT_EQ(std::string(achOut, static_cast<size_t>(nOut)), s.strData) << BytesText(clsStrPlus(s.strData));
        ASSERT_EQ(achOut[nOut], 0);
    }
}

} // namespace
