// The parser on texts longer than 2^31 characters: blanks, zeros and ignored
// decimals by the billion cost time, never correctness. The cases share one
// buffer of 2^31 + 16 characters (about 2 GiB), refilled for each.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <string>

#include "tv_test_util.h"

namespace {

const size_t kRun = (size_t{1} << 31) + 16;

class HugeParse : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_pBuf = new char[kRun + 64]; }
    static void TearDownTestSuite()
    {
        delete[] s_pBuf;
        s_pBuf = nullptr;
    }

    // The text strHead, kRun copies of ch, then strTail.
    static const char* Text(const std::string& strHead, char ch, const std::string& strTail)
    {
        std::memcpy(s_pBuf, strHead.data(), strHead.size());
        std::memset(s_pBuf + strHead.size(), ch, kRun);
        std::memcpy(s_pBuf + strHead.size() + kRun, strTail.c_str(), strTail.size() + 1);
        return s_pBuf;
    }

    static char* s_pBuf;
};

char* HugeParse::s_pBuf = nullptr;

struct HugeCase {
    int nLen;
    int nScale;
    const char* pszHead;
    char chRun;
    const char* pszTail;
    int nErr;            // 0: success
    const char* pszWant; // the text form after success
};

TEST_F(HugeParse, RunsBeyondTwoToThe31)
{
    const HugeCase aCases[] = {
        {10, 2, "", ' ', "5", 0, "5"},
        {10, 2, "-", '0', "12.5", 0, "-12.5"},
        {10, 2, "7", ' ', "", 0, "7"},
        {10, 2, "0.", '0', "5", 0, "0"},
        {10, 2, "1.235", '0', "  ", 0, "1.24"},
        {10, 2, "-1.2", '9', "", 0, "-1.3"},
        {38, 8, "0.", '0', " x", -2045, ""},
        {10, 2, "1.2", '9', "x", -2045, ""},
        {10, 2, "1.2", '4', ".", -2044, ""},
        {10, 2, "1.2", '5', " -", -2054, ""},
        {10, 2, "", '0', "123456789", -2053, ""},
    };
    for (const HugeCase& c : aCases) {
        SCOPED_TRACE(std::string("'") + c.pszHead + "' + 2^31 + 16 x '" + c.chRun + "' + '" + c.pszTail + "' at (" +
                     std::to_string(c.nLen) + ", " + std::to_string(c.nScale) + ")");
        const char* psz = Text(c.pszHead, c.chRun, c.pszTail);
        clsNumDbFld num(c.nLen, c.nScale);
        num = "3";
        int nGot = 0;
        try {
            num.ParseStr(psz);
        } catch (const clsUtilException& e) {
            nGot = e.m_nErrCode;
        }
        EXPECT_EQ(nGot, c.nErr);
        EXPECT_EQ(TextOf(num), c.pszWant);
        EXPECT_EQ(NumProbe::Len(num), c.nLen);
        EXPECT_EQ(NumProbe::Scale(num), c.nScale);
    }
}

} // namespace
