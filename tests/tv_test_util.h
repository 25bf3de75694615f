// Helpers shared by the tests: checking a clsUtilException's code in one
// line, reaching the number's protected fields and workers, and writing
// numbers and packed bytes as text. The string helpers (tv_string_util.h) come
// with it.
#ifndef TV_TEST_UTIL_H
#define TV_TEST_UTIL_H

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <system_error>

#include "tv_num_probe.h"
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

// Packed bytes written as the tables write them: "'p', 12, 22, 44, 60";
// "" for the null value and "'o'" for zero. The bytes are given with their
// count, as a string, or as a zero-terminated run (the raw data of a number).
inline std::string BytesText(const char* pData, int nLen)
{
    std::string strOut;
    for (int i = 0; i < nLen; ++i)
        strOut += i == 0 ? "'" + std::string(1, pData[0]) + "'"
                         : ", " + std::to_string(static_cast<int>(static_cast<signed char>(pData[i])));
    return strOut;
}

inline std::string BytesText(const clsStrPlus& str)
{
    return BytesText(static_cast<const char*>(str), str.GetLength());
}

inline std::string BytesText(const char* pData)
{
    return BytesText(pData, static_cast<int>(std::strlen(pData)));
}

// The packed form of a number, read without validating it.
inline std::string PackedText(const clsNumDbFld& num)
{
    return BytesText(NumProbe::Data(num));
}

// A number's length, scale and packed form: "38,8 ['p', 10, 50]".
inline std::string NumState(const clsNumDbFld& num)
{
    return std::to_string(NumProbe::Len(num)) + "," + std::to_string(NumProbe::Scale(num)) + " [" +
           PackedText(num) + "]";
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

// Random tests. Each draws its cases from one seed: its own default (a fixed
// one, or a fresh one each run), or TV_TEST_SEED when that is set. Every
// random test prints SeedNote(seed) with a failure (SCOPED_TRACE): the command
// line that replays exactly that test with that seed.
inline unsigned long long TestSeed(unsigned long long nDefault)
{
    const char* psz = std::getenv("TV_TEST_SEED");
    return psz && *psz ? std::strtoull(psz, nullptr, 10) : nDefault;
}

// A fresh 32-bit seed each run, unless TV_TEST_SEED is set.
inline unsigned FreshTestSeed()
{
    return static_cast<unsigned>(TestSeed(std::random_device{}()));
}

inline std::string SeedNote(unsigned long long nSeed)
{
    std::error_code ec;
    std::string strBinary = std::filesystem::read_symlink("/proc/self/exe", ec).string();
    if (ec)
        strBinary = "<test binary>";
    const ::testing::TestInfo* pInfo = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string strFilter = pInfo ? std::string(pInfo->test_suite_name()) + "." + pInfo->name() : "*";
    return "seed " + std::to_string(nSeed) + "; replay: TV_TEST_SEED=" + std::to_string(nSeed) + " " + strBinary +
           " --gtest_filter=" + strFilter;
}

#endif // TV_TEST_UTIL_H
