// The pieces that the demo program tvnum1 puts together, at the edges that a
// random run rarely reaches: the bounds of its draws, the way a drawn double
// becomes a number with two decimals and is written, and the five results for
// chosen operands.
#include <cstdlib>
#include <sstream>
#include <string>

#include "tv_test_util.h"

namespace {

// The text that the number's stream output writes.
std::string Written(const clsNumDbFld& num)
{
    std::ostringstream os;
    os << num;
    return os.str();
}

// The demo's operand from a drawn double: a default number assigned the
// double (8 decimals), then rounded to 2 decimals.
clsNumDbFld DemoOperand(double dRand)
{
    clsNumDbFld num;
    num = dRand;
    num.Round(2);
    return num;
}

// A seed whose draw number nPosition (0 for the first) after srand is nDraw.
// RandomDouble(0, 32767) gives the draw itself: r * 32767 / 32767.0 is exact.
unsigned SeedForDraw(int nPosition, int nDraw)
{
    for (unsigned uSeed = 0; uSeed < (1u << 22); ++uSeed) {
        std::srand(uSeed);
        double dDraw = 0;
        for (int i = 0; i <= nPosition; ++i)
            dDraw = RandomDouble(0.0, 32767.0);
        if (dDraw == nDraw)
            return uSeed;
    }
    ADD_FAILURE() << "no seed gives draw " << nDraw << " at position " << nPosition;
    return 0;
}

} // namespace

// The demo draws num1 from 11..20, then num2 from 1..10; both bounds are reached.
TEST(DemoPieces, DrawsReachBothBoundsOfEachOperand)
{
    struct Case {
        int nDraw;
        double dRand1, dRand2;        // with the draw first, then second
        const char *pszNum1, *pszNum2;
    };
    const Case aCases[] = {
        {0, 11.0, 1.0, "11", "1"},
        {32767, 20.0, 10.0, "20", "10"},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.nDraw);
        std::srand(SeedForDraw(0, c.nDraw));
        double dRand1 = RandomDouble(11.0, 20.0);
        EXPECT_EQ(dRand1, c.dRand1);
        EXPECT_EQ(Written(DemoOperand(dRand1)), c.pszNum1);

        std::srand(SeedForDraw(1, c.nDraw));
        RandomDouble(11.0, 20.0);
        double dRand2 = RandomDouble(1.0, 10.0);
        EXPECT_EQ(dRand2, c.dRand2);
        EXPECT_EQ(Written(DemoOperand(dRand2)), c.pszNum2);
    }
}

TEST(DemoPieces, DrawnValueIsWrittenWithTwoDecimalsAtMost)
{
    struct Case {
        double dRand;
        const char* pszWritten;
    };
    const Case aCases[] = {
        {4.0, "4"},             // 4.00
        {3.5, "3.5"},           // 3.50
        {15.37, "15.37"},
        {10.0, "10"},
        {4.004999, "4"},        // 4.00499900 rounds down
        // The double lies below the half, its 8-decimal text does not: the
        // text is what is rounded.
        {16.665, "16.67"},
        {18.005, "18.01"},
        {2.675, "2.68"},
        {19.994999996, "20"},   // 19.99500000
        {3.499999996, "3.5"},   // 3.50000000
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(c.dRand);
        clsNumDbFld num = DemoOperand(c.dRand);
        EXPECT_EQ(Written(num), c.pszWritten);
        // The rounding changes the value, not the precision.
        EXPECT_EQ(NumProbe::Len(num), 38);
        EXPECT_EQ(NumProbe::Scale(num), 8);
    }
}

// The five results as the demo writes them. Expected values worked out by
// hand: the quotient is rounded half away from zero to 8 decimals, the
// remainder is num1 - trunc(num1 / num2) * num2.
TEST(DemoPieces, FiveResultsAsWritten)
{
    struct Case {
        const char *pszNum1, *pszNum2;
        const char *pszSum, *pszDifference, *pszProduct, *pszQuotient, *pszRemainder;
    };
    const Case aCases[] = {
        {"11", "10", "21", "1", "110", "1.1", "1"},
        {"15.37", "3.5", "18.87", "11.87", "53.795", "4.39142857", "1.37"},
        {"20", "3", "23", "17", "60", "6.66666667", "2"},
        {"11", "1", "12", "10", "11", "11", "0"},
        {"19.99", "9.99", "29.98", "10", "199.7001", "2.001001", "0.01"},
        {"12.34", "5.67", "18.01", "6.67", "69.9678", "2.17636684", "1"},
        {"20", "10", "30", "10", "200", "2", "0"},
    };
    for (const Case& c : aCases) {
        SCOPED_TRACE(std::string(c.pszNum1) + " and " + c.pszNum2);
        clsNumDbFld num1;
        clsNumDbFld num2;
        num1 = c.pszNum1;
        num2 = c.pszNum2;
        EXPECT_EQ(Written(num1 + num2), c.pszSum);
        EXPECT_EQ(Written(num1 - num2), c.pszDifference);
        EXPECT_EQ(Written(num1 * num2), c.pszProduct);
        EXPECT_EQ(Written(num1 / num2), c.pszQuotient);
        EXPECT_EQ(Written(num1 % num2), c.pszRemainder);

        clsNumDbFld numQuotient = num1 / num2;
        EXPECT_EQ(NumProbe::Len(numQuotient), 38);
        EXPECT_EQ(NumProbe::Scale(numQuotient), 8);
    }
}
