// Numbers built from 0 and 1 while the program starts, in a file other than
// the one that defines g_numZero and g_numOne.
//
// The values 0 and 1 enter a number by copying those globals, so a number
// built from them during static initialisation needs them built first. The
// unit_tests link line puts the test objects before the library's, and the
// start-up code of a program runs file by file in link order: the
// initialisers below run before tvdcndf_text.cpp's own. What makes them work
// anyway is the start-up counter that tvdcndf.h defines in every file that
// includes it, ahead of that file's own objects: the first counter to run
// builds the two globals. The references g_numZero and g_numOne are bound
// when the program is loaded, before any start-up code.
#include <gtest/gtest.h>

#include <string>

#include "tv_test_util.h"

namespace {

// The packed form of the global zero and one as this file's start-up sees
// them, before its numbers are built.
const std::string s_strZeroAtStart = PackedText(g_numZero);
const std::string s_strOneAtStart = PackedText(g_numOne);
const int s_nZeroLenAtStart = NumProbe::Len(g_numZero);

} // namespace

// At namespace scope, built from the int values 0 and 1 and the other types
// that take the same road.
clsNumDbFld g_numTestStartZero(0);
clsNumDbFld g_numTestStartOne(1);
clsNumDbFld g_numTestStartLongOne(1L);
clsNumDbFld g_numTestStartULongZero(static_cast<ULONG>(0));
clsNumDbFld g_numTestStartDoubleOne(1.0);
clsNumDbFld g_numTestStartDoubleZero(-0.0);
clsNumDbFld g_numTestStartCopy(g_numOne);

namespace {

TEST(NumGlobals, GlobalsAreBuiltBeforeThisFilesStartUp)
{
    EXPECT_EQ(s_strZeroAtStart, "'o'");
    EXPECT_EQ(s_strOneAtStart, "'p', 10, 20");
    EXPECT_EQ(s_nZeroLenAtStart, 38);
}

TEST(NumGlobals, NumbersBuiltAtStartUpFromZeroAndOne)
{
    struct Case {
        const clsNumDbFld* pNum;
        const char* pszPacked;
    };
    const Case aCases[] = {
        {&g_numTestStartZero, "'o'"},       {&g_numTestStartOne, "'p', 10, 20"},
        {&g_numTestStartLongOne, "'p', 10, 20"}, {&g_numTestStartULongZero, "'o'"},
        {&g_numTestStartDoubleOne, "'p', 10, 20"}, {&g_numTestStartDoubleZero, "'o'"},
        {&g_numTestStartCopy, "'p', 10, 20"},
    };
    for (const Case& c : aCases) {
        EXPECT_EQ(PackedText(*c.pNum), c.pszPacked);
        EXPECT_EQ(NumProbe::Len(*c.pNum), 38);
        EXPECT_EQ(NumProbe::Scale(*c.pNum), 8);
        c.pNum->CheckValid();
    }
    EXPECT_EQ(std::string(g_numTestStartOne.GetText()), "1");
    EXPECT_EQ(std::string(g_numTestStartZero.GetText()), "0");
}

TEST(NumGlobals, GlobalZeroAndOne)
{
    EXPECT_EQ(PackedText(g_numZero), "'o'");
    EXPECT_EQ(PackedText(g_numOne), "'p', 10, 20");
    EXPECT_EQ(NumProbe::Len(g_numZero), 38);
    EXPECT_EQ(NumProbe::Scale(g_numZero), 8);
    EXPECT_EQ(NumProbe::Len(g_numOne), 38);
    EXPECT_EQ(NumProbe::Scale(g_numOne), 8);
}

} // namespace
