// clsUtilException and the error table: every message exactly, unknown codes,
// what(), the copy a by-value handler gets, catching as std::exception and
// GetErrorText's bounded copy.
#include <gtest/gtest.h>

#include <cstring>
#include <exception>
#include <string>

#include "tvncstrb.h"

namespace {
struct Row {
    int nCode;
    const char* pszMsg;
};

// The table as the library must hold it, in order. Several messages have two
// blanks after "character." or "Number."; -2046, -2054 and -2055 have one.
const Row aExpected[] = {
    {2001, "Invalid parameter encountered"},
    {2002, "Null pointer is passed as an output parameter"},
    {2003, "Null pointer is passed as an input parameter"},
    {-2041, "Invalid character.  Expecting only a valid letter"},
    {-2042, "Invalid character.  Only a digit or a letter is allowed"},
    {-2043, "Attempt to assign multiple characters to a variable of single character type"},
    {-2044, "Invalid Number.  (Improper decimal point)"},
    {-2045, "Invalid Number.  (Expecting a valid digit)"},
    {-2046, "Invalid operation. Encountered division by zero error"},
    {-2047, "Attempt to assign a negative number to an unsigned integer"},
    {-2048, "Short integer overflow"},
    {-2049, "Unsigned short integer overflow"},
    {-2050, "Long integer overflow"},
    {-2051, "Unsigned long integer overflow"},
    {-2052, "Double overflow"},
    {-2053, "Encountered overflow in Number class"},
    {-2054, "Invalid Number. (sign at an improper place)"},
    {-2055, "Invalid operation. Attempt to raise zero to a negative power"},
    {-4021, "Invalid character.  Expecting only a valid letter"},
    {-4022, "Invalid character.  Only a digit or a letter is allowed"},
    {-4023, "Attempt to assign multiple characters to a single character field"},
    {-4024, "Invalid Number.  Improper decimal point"},
    {-4025, "Invalid Number.  Expecting a valid digit"},
    {-4026, "Attempt to assign a negative number to an unsigned integer"},
    {-4027, "Short integer overflow"},
    {-4028, "Unsigned short integer overflow"},
    {-4029, "Long integer overflow"},
    {-4030, "Unsigned long integer overflow"},
    {-4031, "Invalid Number.  Improper sign"},
    {-4032, "Too many significant digits AFTER the decimal point"},
    {-4033, "Too many significant digits ( BEFORE the decimal point )"},
};
const int nExpectedRows = sizeof(aExpected) / sizeof(aExpected[0]);

std::string LineOf(int nCode)
{
    return clsUtilException(nCode).what();
}

// A derived exception with its own line: GetErrorText must use it.
class clsOwnTextException : public clsUtilException {
public:
    clsOwnTextException() : clsUtilException(2001) {}
    const char* what() const noexcept override { return "own line of text"; }
};
} // namespace

TEST(ErrorTable, HoldsEveryRowInOrderAndEndsWithTheEndRow)
{
    ASSERT_EQ(nExpectedRows, 31);
    for (int i = 0; i < nExpectedRows; ++i) {
        EXPECT_EQ(aErrTable[i].nErrCode, aExpected[i].nCode) << "row " << i;
        ASSERT_NE(aErrTable[i].pszErrMsg, nullptr) << "row " << i;
        EXPECT_STREQ(aErrTable[i].pszErrMsg, aExpected[i].pszMsg) << "row " << i;
    }
    EXPECT_EQ(aErrTable[31].nErrCode, 0);
    EXPECT_EQ(aErrTable[31].pszErrMsg, nullptr);
}

TEST(ErrorTable, WhatFormatsCodeTwoBlanksAndMessage)
{
    for (const Row& row : aExpected)
        EXPECT_EQ(LineOf(row.nCode), "Error: " + std::to_string(row.nCode) + "  " + row.pszMsg);
    EXPECT_EQ(LineOf(2001), "Error: 2001  Invalid parameter encountered");
    EXPECT_EQ(LineOf(-2053), "Error: -2053  Encountered overflow in Number class");
    EXPECT_EQ(LineOf(-2054), "Error: -2054  Invalid Number. (sign at an improper place)");
    // The longest line of the table comes whole.
    EXPECT_EQ(LineOf(-2043).size(), 90u);
}

TEST(ErrorTable, UnknownCodesAndCodeZero)
{
    EXPECT_EQ(LineOf(0), "Error: 0  Unknown Error");
    EXPECT_EQ(LineOf(12345), "Error: 12345  Unknown Error");
    EXPECT_EQ(LineOf(-1), "Error: -1  Unknown Error");
    EXPECT_EQ(LineOf(-2040), "Error: -2040  Unknown Error");
    EXPECT_EQ(LineOf(-2147483647 - 1), "Error: -2147483648  Unknown Error");
}

TEST(ErrorTable, SharedMessages)
{
    const int anPairs[][2] = {{-2041, -4021}, {-2042, -4022}, {-2047, -4026}, {-2048, -4027},
                              {-2049, -4028}, {-2050, -4029}, {-2051, -4030}};
    for (const auto& an : anPairs) {
        const std::string str1 = LineOf(an[0]);
        const std::string str2 = LineOf(an[1]);
        EXPECT_EQ(str1.substr(str1.find("  ")), str2.substr(str2.find("  "))) << an[0] << " / " << an[1];
    }
}

TEST(UtilException, WhatIsStableAndPointsIntoTheObject)
{
    clsUtilException e(-2046);
    EXPECT_EQ(e.m_nErrCode, -2046);
    const std::string strFirst = e.what();
    const char* psz = e.what();
    EXPECT_EQ(strFirst, psz);
    EXPECT_EQ(strFirst, "Error: -2046  Invalid operation. Encountered division by zero error");
    EXPECT_STREQ(e.what(), psz);
}

TEST(UtilException, ThrownByValueCaughtAsEitherType)
{
    std::string strAsStd;
    try {
        ThrowUtilException(-2050);
    } catch (const std::exception& e) {
        strAsStd = e.what();
        ASSERT_NE(dynamic_cast<const clsUtilException*>(&e), nullptr);
        EXPECT_EQ(dynamic_cast<const clsUtilException&>(e).m_nErrCode, -2050);
    }
    EXPECT_EQ(strAsStd, "Error: -2050  Long integer overflow");

    std::string strAsUtil;
    try {
        ThrowUtilException(-2050);
    } catch (const clsUtilException& e) {
        strAsUtil = e.what();
    }
    EXPECT_EQ(strAsUtil, strAsStd);
}

// The programs catch the exception by value; so does this test.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcatch-value"
TEST(UtilException, ByValueHandlerGetsItsOwnCopy)
{
    const char* pszOriginal = nullptr;
    const std::string strLine = "Error: -2055  Invalid operation. Attempt to raise zero to a negative power";
    try {
        try {
            try {
                ThrowUtilException(-2055);
            } catch (const clsUtilException& eOriginal) {
                pszOriginal = eOriginal.what(); // the thrown object now holds its text
                throw;
            }
        } catch (clsUtilException eCopy) {
            EXPECT_EQ(eCopy.m_nErrCode, -2055);
            // The copy holds its own characters, not the thrown object's.
            const char* pszCopy = eCopy.what();
            EXPECT_NE(pszCopy, pszOriginal);
            EXPECT_EQ(pszCopy, strLine);
            EXPECT_EQ(pszOriginal, strLine);
            eCopy.m_nErrCode = 2002;
            throw; // passes the thrown object on, not the copy
        }
    } catch (const clsUtilException& eOriginal) {
        EXPECT_EQ(eOriginal.m_nErrCode, -2055);
        EXPECT_EQ(eOriginal.what(), strLine);
    }

    clsUtilException eBuilt(-2048);
    const std::string strBuilt = eBuilt.what();
    const clsUtilException eBuiltCopy(eBuilt);
    EXPECT_EQ(eBuiltCopy.m_nErrCode, -2048);
    EXPECT_EQ(eBuiltCopy.what(), strBuilt);
    EXPECT_NE(eBuiltCopy.what(), eBuilt.what());
}
#pragma GCC diagnostic pop

TEST(UtilException, GetErrorTextBoundedCopy)
{
    clsUtilException e(-2053);
    const std::string strLine = "Error: -2053  Encountered overflow in Number class";

    // Truncated: 9 characters and the zero; nothing written beyond the size.
    char szBuf[64];
    std::memset(szBuf, '#', sizeof(szBuf));
    UINT nExtra = 77;
    EXPECT_EQ(e.GetErrorText(szBuf, 10, &nExtra), 1);
    EXPECT_EQ(nExtra, 0u);
    EXPECT_STREQ(szBuf, strLine.substr(0, 9).c_str());
    EXPECT_EQ(szBuf[10], '#');

    // Room to spare: the whole line, zero-filled up to the size.
    std::memset(szBuf, '#', sizeof(szBuf));
    nExtra = 77;
    EXPECT_EQ(e.GetErrorText(szBuf, 60, &nExtra), 1);
    EXPECT_EQ(nExtra, 0u);
    EXPECT_EQ(std::string(szBuf), strLine);
    for (size_t i = strLine.size(); i < 60; ++i)
        EXPECT_EQ(szBuf[i], 0) << i;
    EXPECT_EQ(szBuf[60], '#');

    // A size of exactly the line's length loses its last character.
    std::memset(szBuf, '#', sizeof(szBuf));
    EXPECT_EQ(e.GetErrorText(szBuf, static_cast<UINT>(strLine.size()), nullptr), 1);
    EXPECT_EQ(std::string(szBuf), strLine.substr(0, strLine.size() - 1));
    EXPECT_EQ(e.GetErrorText(szBuf, static_cast<UINT>(strLine.size() + 1), nullptr), 1);
    EXPECT_EQ(std::string(szBuf), strLine);

    // Size 1: only the zero.
    std::memset(szBuf, '#', sizeof(szBuf));
    EXPECT_EQ(e.GetErrorText(szBuf, 1, nullptr), 1);
    EXPECT_EQ(szBuf[0], 0);
    EXPECT_EQ(szBuf[1], '#');

    // Size 0: the buffer is left untouched; *pnExtra still becomes 0.
    std::memset(szBuf, '#', sizeof(szBuf));
    nExtra = 77;
    EXPECT_EQ(e.GetErrorText(szBuf, 0, &nExtra), 1);
    EXPECT_EQ(nExtra, 0u);
    for (char ch : szBuf)
        ASSERT_EQ(ch, '#');
}

TEST(UtilException, GetErrorTextUsesTheDerivedWhat)
{
    clsOwnTextException e;
    clsUtilException& eBase = e;
    char szBuf[32];
    EXPECT_EQ(eBase.GetErrorText(szBuf, sizeof(szBuf), nullptr), 1);
    EXPECT_STREQ(szBuf, "own line of text");
}
