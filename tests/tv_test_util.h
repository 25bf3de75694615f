// Helpers shared by the tests: checking a clsUtilException's code in one
// line, reaching the number's protected fields and workers, and writing
// numbers and packed bytes as text. The string helpers (tv_string_util.h) come
// with it.
#ifndef TV_TEST_UTIL_H
#define TV_TEST_UTIL_H

#include <gtest/gtest.h>

#include <string>

#include "tv_string_util.h"
#include "tvdcndf.h"

// Success when fn throws clsUtilException with nCode; the failure message
// names what happened instead.
template <class F>
::testing::AssertionResult ThrowsUtilError(int nCode, F&& fn)
{
    try {
        fn();
    } catch (const clsUtilException& e) {
        if (e.m_nErrCode == nCode)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "threw code " << e.m_nErrCode << ", expected " << nCode;
    } catch (const std::exception& e) {
        return ::testing::AssertionFailure() << "threw another exception: " << e.what();
    }
    return ::testing::AssertionFailure() << "threw nothing, expected code " << nCode;
}

#define EXPECT_UTIL_ERROR(code, stmt) EXPECT_TRUE(ThrowsUtilError((code), [&] { stmt; }))
#define ASSERT_UTIL_ERROR(code, stmt) ASSERT_TRUE(ThrowsUtilError((code), [&] { stmt; }))

// A number whose protected members are reachable from the tests. Build one
// directly (NumProbe p("1.5")) to call a worker, or use the static readers on
// any clsNumDbFld.
struct NumProbe : clsNumDbFld {
    using clsNumDbFld::clsNumDbFld;
    using clsNumDbFld::operator=;
    NumProbe() = default;
    NumProbe(const clsNumDbFld& other) : clsNumDbFld(other) {}

    using clsNumDbFld::AddAbs;
    using clsNumDbFld::DivideBy;
    using clsNumDbFld::DivideCore;
    using clsNumDbFld::MultiplyBy;
    using clsNumDbFld::RoundTo;
    using clsNumDbFld::SetExponent;
    using clsNumDbFld::ShiftLeftDigit;
    using clsNumDbFld::ShiftRightDigit;
    using clsNumDbFld::SubtractAbs;

    static int Len(const clsNumDbFld& num) { return num.*(&NumProbe::m_nDbFldLen); }
    static int Scale(const clsNumDbFld& num) { return num.*(&NumProbe::m_nDbFldScale); }
    static const clsStrPlus& Data(const clsNumDbFld& num) { return num.*(&NumProbe::m_strData); }
    static const clsStrPlus& Work(const clsNumDbFld& num) { return num.*(&NumProbe::m_strWork); }
    static const clsStrPlus& Text(const clsNumDbFld& num) { return num.*(&NumProbe::m_strText); }
    // Sets the fields directly, without any check (as the division does).
    static void SetFields(clsNumDbFld& num, int nLen, int nScale)
    {
        num.*(&NumProbe::m_nDbFldLen) = nLen;
        num.*(&NumProbe::m_nDbFldScale) = nScale;
    }
};

// A packed string written as the tables write it: "'p', 12, 22, 44, 60";
// "" for the null value and "'o'" for zero.
inline std::string BytesText(const clsStrPlus& str)
{
    std::string strOut;
    for (int i = 0; i < str.GetLength(); ++i)
        strOut += i == 0 ? "'" + std::string(1, str[0]) + "'"
                         : ", " + std::to_string(static_cast<int>(static_cast<signed char>(str[i])));
    return strOut;
}

// The packed form of a number, read without validating it.
inline std::string PackedText(const clsNumDbFld& num)
{
    return BytesText(NumProbe::Data(num));
}

// The text form of a number as a std::string.
inline std::string TextOf(const clsNumDbFld& num)
{
    return std::string(static_cast<const char*>(num.GetText()));
}

// A number at (nLen, nScale) holding the value of the text.
inline clsNumDbFld NumAt(int nLen, int nScale, const char* pszValue)
{
    clsNumDbFld num(nLen, nScale);
    num = pszValue;
    return num;
}

#endif // TV_TEST_UTIL_H
