// Regression tests of faults that the fuzz target found: each case is the
// smallest form of a failing input. The inputs themselves are replayed from
// fuzz/regressions by the fuzz_corpus_replay test.
#include <string>

#include "tv_test_util.h"

namespace {

std::string Small(int nZeros, const char* pszDigits)
{
    return "0." + std::string(static_cast<size_t>(nZeros), '0') + pszDigits;
}

// Two factors whose product lies below 10^-118 gave an exponent byte that
// wrapped around, and the validity check of the product aborted. A product
// below half a unit of the last place rounds to zero; one right at the first
// place beyond the scale still rounds half away from zero.
TEST(FuzzRegression, ProductFarBelowTheScaleIsZero)
{
    struct Case {
        int nLen, nScale;
        std::string strLeft, strRight, strProduct;
    };
    const Case aCases[] = {
        {100, 100, Small(59, "1"), Small(59, "1"), "0"},       // 10^-120
        {100, 100, "-" + Small(59, "1"), Small(59, "1"), "0"}, // no sign on zero
        {100, 100, Small(99, "9"), Small(99, "9"), "0"},       // 10^-200
        {60, 60, Small(59, "1"), Small(59, "1"), "0"},
        {100, 100, Small(50, "5"), Small(49, "1"), Small(99, "1")}, // 5 x 10^-101 rounds up
        {100, 100, Small(50, "4"), Small(49, "1"), "0"},            // 4 x 10^-101 rounds down
        {100, 100, "-" + Small(50, "5"), Small(49, "1"), "-" + Small(99, "1")},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.strLeft + " * " + c.strRight + " at scale " + std::to_string(c.nScale));
        clsNumDbFld num = NumAt(c.nLen, c.nScale, c.strLeft.c_str());
        num *= NumAt(c.nLen, c.nScale, c.strRight.c_str());
        EXPECT_EQ(std::string(num.GetText()), c.strProduct);
        if (c.strProduct == "0") {
            EXPECT_EQ(PackedText(num), "'o'");
        }
        clsNumDbFld numSquare = NumAt(c.nLen, c.nScale, c.strLeft.c_str());
        numSquare *= numSquare;
        EXPECT_TRUE(numSquare.IsZero());
    }
}

// The input that found it: the reciprocal of 3 at scale 65, squared thirty
// times, falls below every decimal place.
TEST(FuzzRegression, NegativePowerThatVanishesIsZero)
{
    clsNumDbFld numBase = NumAt(66, 65, "3");
    clsNumDbFld numPower = numBase.Pow(-(1 << 30));
    EXPECT_EQ(PackedText(numPower), "'o'");
    EXPECT_EQ(NumProbe::Len(numPower), 66);
    EXPECT_EQ(NumProbe::Scale(numPower), 65);
    EXPECT_EQ(std::string(NumAt(100, 100, Small(9, "1").c_str()).Pow(11).GetText()), "0");
}

} // namespace
