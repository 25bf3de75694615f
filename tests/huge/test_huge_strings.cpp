// Strings at and past the longest length, MAX_StrLen (INT_MAX - 16), and
// integer texts longer than an int counts. A length that would pass the
// longest raises std::length_error before anything is written: the string
// keeps its characters, its block and its usable size. The tests hold up to
// 4 GiB each.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

#include "tv_string_util.h"
#include "tvncstrb.h"

namespace {
// What an operation must leave alone: length, block, usable size, and the
// characters (all of a short string, both ends of a long one).
struct StrState {
    int nLen;
    const char* pData;
    int nAllocSiz;
    std::string strHead;
    std::string strTail;

    explicit StrState(const clsStrBase& str)
        : nLen(str.GetLength()), pData(str), nAllocSiz(str.GetAllocSiz()),
          strHead(pData, static_cast<size_t>(std::min(nLen, 64))),
          strTail(pData + std::max(0, nLen - 64), static_cast<size_t>(std::min(nLen, 64)))
    {
    }
};

::testing::AssertionResult Unchanged(const clsStrBase& str, const StrState& old)
{
    StrState now(str);
    if (now.nLen != old.nLen || now.pData != old.pData || now.nAllocSiz != old.nAllocSiz ||
        now.strHead != old.strHead || now.strTail != old.strTail || now.pData[now.nLen] != 0)
        return ::testing::AssertionFailure() << "length " << old.nLen << " -> " << now.nLen << ", usable size "
                                             << old.nAllocSiz << " -> " << now.nAllocSiz << ", head '"
                                             << old.strHead << "' -> '" << now.strHead << "'";
    return ::testing::AssertionSuccess();
}

// n characters ch and a zero byte, on the heap.
std::unique_ptr<char[]> FilledText(size_t n, char ch)
{
    std::unique_ptr<char[]> p(new char[n + 1]);
    std::memset(p.get(), ch, n);
    p[n] = 0;
    return p;
}
} // namespace

// "abc" + INT_MAX - 1 characters: the sum passes INT_MAX.
TEST(HugeStrings, AppendPastTheLongestLengthChangesNothing)
{
    const std::string strBig(static_cast<size_t>(INT_MAX) - 1, 'x');
    clsStrPlus str("abc", -1);
    const StrState old(str);
    EXPECT_THROW(str += strBig, std::length_error);
    EXPECT_TRUE(Unchanged(str, old));
    EXPECT_THROW(str += strBig.c_str(), std::length_error);
    EXPECT_TRUE(Unchanged(str, old));
    EXPECT_THROW(str = strBig, std::length_error);
    EXPECT_TRUE(Unchanged(str, old));
    EXPECT_EQ(TextOf(str), "abc");

    clsStrPlus strEmpty;
    const StrState oldEmpty(strEmpty);
    EXPECT_THROW(strEmpty += strBig, std::length_error);
    EXPECT_TRUE(Unchanged(strEmpty, oldEmpty));
    EXPECT_TRUE(strEmpty.IsShared());
    EXPECT_THROW(clsStrPlus{strBig}, std::length_error);
    EXPECT_THROW((clsStrPlus{strBig.c_str(), -1}), std::length_error);
}

// The longest string is made and kept; one character more is refused.
TEST(HugeStrings, TheLongestStringAndOneMore)
{
    clsStrPlus strMax('x', MAX_StrLen);
    ASSERT_EQ(strMax.GetLength(), MAX_StrLen);
    EXPECT_EQ(strMax.GetAllocSiz(), MAX_StrLen + 1);
    EXPECT_EQ(strMax[MAX_StrLen - 1], 'x');
    const StrState old(strMax);

    EXPECT_THROW(strMax += 'y', std::length_error);
    EXPECT_TRUE(Unchanged(strMax, old));
    EXPECT_THROW(strMax += "yz", std::length_error);
    EXPECT_TRUE(Unchanged(strMax, old));
    strMax += "";
    EXPECT_TRUE(Unchanged(strMax, old));
    EXPECT_THROW(strMax.AdjustDecimals(1), std::length_error);
    EXPECT_TRUE(Unchanged(strMax, old));
    strMax.AdjustDecimals(0); // no point and nothing to pad: unchanged
    EXPECT_TRUE(Unchanged(strMax, old));
    EXPECT_THROW(strMax.GetWriteBuf(MAX_StrLen + 1), std::length_error);
    EXPECT_TRUE(Unchanged(strMax, old));

    clsStrPlus str("abc", -1);
    const StrState oldAbc(str);
    EXPECT_THROW(str += strMax, std::length_error);
    EXPECT_TRUE(Unchanged(str, oldAbc));
}

TEST(HugeStrings, RepeatAndWriteBufferPastTheLongestLength)
{
    EXPECT_THROW((clsStrPlus{'x', MAX_StrLen + 1}), std::length_error);
    EXPECT_THROW((clsStrPlus{'x', INT_MAX}), std::length_error);
    clsStrPlus str("abc", -1);
    const StrState old(str);
    EXPECT_THROW(str.GetWriteBuf(INT_MAX), std::length_error);
    EXPECT_TRUE(Unchanged(str, old));
}

TEST(HugeStrings, AdjustDecimalsPastTheLongestLength)
{
    struct Case {
        const char* pszText;
        UINT nDecimals;
    };
    // Each would pass MAX_StrLen: by far, by wrapping an int, or by one.
    const Case acase[] = {
        {"1.5", 0x80000000u},
        {"7", 0xFFFFFFFFu},
        {"7  ", 0xFFFFFFFFu}, // the trailing blanks stay too
        {"7", static_cast<UINT>(MAX_StrLen) - 1},
        {"1.5", static_cast<UINT>(MAX_StrLen) - 1},
        {"  ", static_cast<UINT>(MAX_StrLen)},
    };
    for (const Case& c : acase) {
        clsStrPlus str(c.pszText, -1);
        const StrState old(str);
        EXPECT_THROW(str.AdjustDecimals(c.nDecimals), std::length_error) << c.pszText << " / " << c.nDecimals;
        EXPECT_TRUE(Unchanged(str, old)) << c.pszText << " / " << c.nDecimals;
    }

    // Padded to exactly the longest length.
    clsStrPlus str("7", -1);
    str.AdjustDecimals(static_cast<UINT>(MAX_StrLen) - 2);
    ASSERT_EQ(str.GetLength(), MAX_StrLen);
    const char* psz = str;
    EXPECT_EQ(std::string(psz, 4), "7.00");
    EXPECT_EQ(psz[MAX_StrLen - 1], '0');
    EXPECT_EQ(psz[MAX_StrLen], 0);
    EXPECT_EQ(str.Find('1'), -1);
}

// A text longer than 2^32 characters: its length must not wrap to 3.
TEST(HugeStrings, TextsLongerThanAnIntCounts)
{
    const std::string strHuge((size_t{1} << 32) + 3, 'x');
    clsStrPlus str("abc", -1);
    const StrState old(str);
    EXPECT_THROW(str = strHuge, std::length_error);
    EXPECT_TRUE(Unchanged(str, old));
    EXPECT_THROW(str = strHuge.c_str(), std::length_error);
    EXPECT_TRUE(Unchanged(str, old));
    EXPECT_THROW(str += strHuge, std::length_error);
    EXPECT_TRUE(Unchanged(str, old));
    EXPECT_THROW(clsStrPlus{strHuge}, std::length_error);
    EXPECT_THROW((clsStrPlus{strHuge.c_str(), -1}), std::length_error);

    const clsStrPlus strX("xxx", -1);
    EXPECT_EQ(strX == strHuge.c_str(), 0);
    EXPECT_EQ(strHuge.c_str() != strX, 1);
}

// StrToLong and StrToULong read blanks and zeros past INT_MAX; an end position
// beyond INT_MAX, which an int cannot hold, is refused without storing.
TEST(HugeText, IntegerTextsLongerThanAnIntCounts)
{
    const size_t nRun = (size_t{1} << 31) + 16;
    std::unique_ptr<char[]> pText = FilledText(nRun + 1, ' ');
    pText[nRun] = '5';
    int nErr = 99;
    EXPECT_EQ(StrToLong(pText.get(), &nErr, nullptr), 5);
    EXPECT_EQ(nErr, 0);
    EXPECT_EQ(StrToULong(pText.get(), nullptr, nullptr), 5u);
    int nEndPos = 77;
    nErr = 99;
    EXPECT_THROW(StrToLong(pText.get(), &nErr, &nEndPos), std::length_error);
    EXPECT_EQ(nEndPos, 77);
    EXPECT_EQ(nErr, 99);

    // Leading zeros, then a sign in the wrong place.
    std::memset(pText.get(), '0', nRun);
    pText[0] = '-';
    EXPECT_EQ(StrToLong(pText.get(), nullptr, nullptr), -5);
    pText[nRun] = '+';
    nErr = 0;
    StrToLong(pText.get(), &nErr, nullptr);
    EXPECT_EQ(nErr, -4031);
}
