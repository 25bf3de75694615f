// tvnum2: test program of the number class. Runs eighteen announced groups of
// operations on clsNumDbFld, checks most results against the same
// computation in double precision, and writes a closing line when every check
// held.
//
// Output: the banner, one announcement per group and the closing line; never
// a number. A failed check writes its condition text, this file and the line
// to standard error and aborts. A clsUtilException that leaves the body is
// reported on standard output and its code is the exit status (the process
// sees its low byte: -2053 is 251).
//
// Test builds only (never defined for the program itself):
//   TVNUM_SEED_FROM_ARGV        the seed is taken from the first argument, so
//                               that a draw can be repeated
//   TVNUM2_FORCE_CHECK_FAILURE  the remainder check of group 10 is made to fail
//   TVNUM2_FORCE_OVERFLOW       group 18 multiplies its 92 nines by 10 once
//                               more, which raises -2053
//
// Every check is one TV_ASSERT line whose stringified condition is the text
// reported on failure: the spacing inside the conditions is deliberate.
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "tvdcndf.h"

namespace {

// The seed of the random draws: the current time in seconds, as unsigned.
// The program ignores its arguments.
unsigned DrawSeed(int argc, char* argv[])
{
#ifdef TVNUM_SEED_FROM_ARGV
    if (argc > 1)
        return static_cast<unsigned>(std::strtoul(argv[1], nullptr, 10));
#else
    (void)argc;
    (void)argv;
#endif
    return static_cast<unsigned>(std::time(nullptr));
}

} // namespace

// Writes an announcement as it stands (each one ends in its own newline). The
// stream is flushed so that the announcement of a group whose check aborts
// the process has reached standard output.
void PrintMsg(const char* pszMsg)
{
    std::cout << pszMsg << std::flush;
}

// clang-format off
void TestNumberClass()
{
    using std::fabs;
    using std::fmod;
    using std::pow;

    clsNumDbFld numTmp("1.123456789"); // 1.12345679 at scale 8
    CString str;
    clsStrPlus strTmp;
    clsValDbFld valTmp;

    short shTmp;
    USHORT ushTmp;
    int iTmp;
    UINT uiTmp;
    long lTmp;
    ULONG ulTmp;
    double dTmp;
    const char* ptrTmp;

    // ----- Group 1: comparisons of numTmp with every value type, both sides.
    PrintMsg("Testing comparisons with different C++ datatypes...\n");

    shTmp = 1;
    TV_ASSERT(shTmp == (short)(double)numTmp);
    TV_ASSERT(!(shTmp == numTmp));
    TV_ASSERT(!(numTmp == shTmp));
    TV_ASSERT(shTmp != numTmp);
    TV_ASSERT(numTmp != shTmp);
    TV_ASSERT(shTmp <= numTmp);
    TV_ASSERT(!(numTmp <= shTmp));
    TV_ASSERT(numTmp >= shTmp);
    TV_ASSERT(!(shTmp >= numTmp));

    ushTmp = 1;
    TV_ASSERT(ushTmp == (USHORT)(double)numTmp);
    TV_ASSERT(!(ushTmp == numTmp));
    TV_ASSERT(!(numTmp == ushTmp));
    TV_ASSERT(ushTmp != numTmp);
    TV_ASSERT(numTmp != ushTmp);
    TV_ASSERT(ushTmp <= numTmp);
    TV_ASSERT(!(numTmp <= ushTmp));
    TV_ASSERT(numTmp >= ushTmp);
    TV_ASSERT(!(ushTmp >= numTmp));

    iTmp = 1;
    TV_ASSERT(iTmp == (int)(double)numTmp);
    TV_ASSERT(!(iTmp == numTmp));
    TV_ASSERT(!(numTmp == iTmp));
    TV_ASSERT(iTmp != numTmp);
    TV_ASSERT(numTmp != iTmp);
    TV_ASSERT(iTmp <= numTmp);
    TV_ASSERT(!(numTmp <= iTmp));
    TV_ASSERT(numTmp >= iTmp);
    TV_ASSERT(!(iTmp >= numTmp));

    uiTmp = 1;
    TV_ASSERT(uiTmp == (UINT)(double)numTmp);
    TV_ASSERT(!(uiTmp == numTmp));
    TV_ASSERT(!(numTmp == uiTmp));
    TV_ASSERT(uiTmp != numTmp);
    TV_ASSERT(numTmp != uiTmp);
    TV_ASSERT(uiTmp <= numTmp);
    TV_ASSERT(!(numTmp <= uiTmp));
    TV_ASSERT(numTmp >= uiTmp);
    TV_ASSERT(!(uiTmp >= numTmp));

    lTmp = 1;
    TV_ASSERT(lTmp == (long)(double)numTmp);
    TV_ASSERT(!(lTmp == numTmp));
    TV_ASSERT(!(numTmp == lTmp));
    TV_ASSERT(lTmp != numTmp);
    TV_ASSERT(numTmp != lTmp);
    TV_ASSERT(lTmp <= numTmp);
    TV_ASSERT(!(numTmp <= lTmp));
    TV_ASSERT(numTmp >= lTmp);
    TV_ASSERT(!(lTmp >= numTmp));

    ulTmp = 1;
    TV_ASSERT(ulTmp == (ULONG)(double)numTmp);
    TV_ASSERT(!(ulTmp == numTmp));
    TV_ASSERT(!(numTmp == ulTmp));
    TV_ASSERT(ulTmp != numTmp);
    TV_ASSERT(numTmp != ulTmp);
    TV_ASSERT(ulTmp <= numTmp);
    TV_ASSERT(!(numTmp <= ulTmp));
    TV_ASSERT(numTmp >= ulTmp);
    TV_ASSERT(!(ulTmp >= numTmp));

    // A double becomes a number with 8 decimals: equal as numbers, not as doubles.
    dTmp = 1.1234567891;
    TV_ASSERT(dTmp != (double)numTmp);
    TV_ASSERT(dTmp == numTmp);
    TV_ASSERT(numTmp == dTmp);
    TV_ASSERT(!(dTmp != numTmp));
    TV_ASSERT(!(numTmp != dTmp));
    TV_ASSERT(dTmp <= numTmp);
    TV_ASSERT(numTmp <= dTmp);
    TV_ASSERT(numTmp >= dTmp);
    TV_ASSERT(dTmp >= numTmp);

    // The text equals numTmp as a number, not as a text ("1.12345679").
    strTmp = "01.12345679000";
    TV_ASSERT(strTmp != (clsStrPlus)numTmp);
    TV_ASSERT(strTmp == numTmp);
    TV_ASSERT(numTmp == strTmp);
    TV_ASSERT(!(strTmp != numTmp));
    TV_ASSERT(!(numTmp != strTmp));
    TV_ASSERT(strTmp <= numTmp);
    TV_ASSERT(numTmp <= strTmp);
    TV_ASSERT(numTmp >= strTmp);
    TV_ASSERT(strTmp >= numTmp);

    ptrTmp = strTmp;
    TV_ASSERT(ptrTmp != (clsStrPlus)numTmp);
    TV_ASSERT(ptrTmp == numTmp);
    TV_ASSERT(numTmp == ptrTmp);
    TV_ASSERT(!(ptrTmp != numTmp));
    TV_ASSERT(!(numTmp != ptrTmp));
    TV_ASSERT(ptrTmp <= numTmp);
    TV_ASSERT(numTmp <= ptrTmp);
    TV_ASSERT(numTmp >= ptrTmp);
    TV_ASSERT(ptrTmp >= numTmp);

    str = static_cast<const char*>(strTmp);
    TV_ASSERT(str != (CString)numTmp);
    TV_ASSERT(str == numTmp);
    TV_ASSERT(numTmp == str);
    TV_ASSERT(!(str != numTmp));
    TV_ASSERT(!(numTmp != str));
    TV_ASSERT(str <= numTmp);
    TV_ASSERT(numTmp <= str);
    TV_ASSERT(numTmp >= str);
    TV_ASSERT(str >= numTmp);

    valTmp = static_cast<const char*>(strTmp);
    TV_ASSERT(valTmp != (clsValDbFld)numTmp);
    TV_ASSERT(valTmp == numTmp);
    TV_ASSERT(numTmp == valTmp);
    TV_ASSERT(!(valTmp != numTmp));
    TV_ASSERT(!(numTmp != valTmp));
    TV_ASSERT(valTmp <= numTmp);
    TV_ASSERT(numTmp <= valTmp);
    TV_ASSERT(numTmp >= valTmp);
    TV_ASSERT(valTmp >= numTmp);

    // The number's own text and standard-string form equal it.
    clsStrPlus str1(numTmp);
    clsStrPlus str2(numTmp);
    clsValDbFld val1 = (CString)numTmp;
    clsValDbFld val2 = (CString)numTmp;
    TV_ASSERT(str1 == numTmp);
    TV_ASSERT(str2 == numTmp);
    TV_ASSERT(numTmp == val1);
    TV_ASSERT(numTmp == val2);

    // ----- Group 2: assignments from every value type.
    PrintMsg("Testing assignments with different C++ datatypes...\n");

    numTmp = shTmp;
    numTmp = ushTmp;
    numTmp = iTmp;
    numTmp = uiTmp;
    numTmp = lTmp;
    numTmp = ulTmp;
    numTmp = dTmp;
    numTmp = "1.01";
    numTmp = str;
    numTmp = static_cast<const char*>(strTmp);
    numTmp = valTmp;

    // ----- Group 3: conversions to every value type (of a whole number: a
    // value with decimals does not convert to an integer type).
    PrintMsg("Testing conversions to different C++ datatypes...\n");

    numTmp = 1;
    shTmp = static_cast<short>(numTmp);
    ushTmp = static_cast<USHORT>(numTmp);
    iTmp = static_cast<int>(numTmp);
    uiTmp = static_cast<UINT>(numTmp);
    lTmp = static_cast<long>(numTmp);
    ulTmp = static_cast<ULONG>(numTmp);
    dTmp = static_cast<double>(numTmp);
    str = (CString)numTmp;
    strTmp = numTmp;
    valTmp = (CString)numTmp;

    // ----- Group 4: unary operators.
    PrintMsg("Testing unary operators...\n");

    TV_ASSERT((double)-numTmp == -dTmp);
    TV_ASSERT((double)+numTmp == +dTmp);

    // ----- Groups 5 to 17: arithmetic on two random operands, against doubles.
    int iLoop;
    int iRandMin = -100000;
    int iRandMax = 100000;
    double dRand1;
    double dRand2;
    double d1;
    double d2;
    double dResult;

    clsNumDbFld num1;
    clsNumDbFld num2;
    clsNumDbFld numResult(100, 8);
    clsNumDbFld numResult4(38, 4);

    for (iLoop = 0; iLoop < 1; iLoop++) {
        dRand1 = RandomDouble(iRandMin, iRandMax);
        dRand2 = RandomDouble(iRandMin, iRandMax);

        // Group 5.
        PrintMsg("Testing addition...\n");
        num1 = dRand1;
        num2 = dRand2;
        numResult = num1 + num2;
        d1 = dRand1;
        d2 = dRand2;
        dResult = d1 + d2;
        TV_ASSERT(fabs( (double)numResult - dResult ) < 0.00000001);

        // Group 6.
        PrintMsg("Testing subtraction...\n");
        num1 = dRand1;
        num2 = dRand2;
        numResult = num1 - num2;
        d1 = dRand1;
        d2 = dRand2;
        dResult = d1 - d2;
        TV_ASSERT(fabs( (double)numResult - dResult ) < 0.00000001);

        // From here on the double operands are the operands' 8-decimal values.
        dRand1 = (double)num1;
        dRand2 = (double)num2;

        // Group 7.
        PrintMsg("Testing multiplication...\n");
        num1 = dRand1;
        num2 = dRand2;
        numResult = num1 * num2;
        d1 = dRand1;
        d2 = dRand2;
        dResult = d1 * d2;
        TV_ASSERT(fabs( (double)numResult - dResult ) < 0.0001);

        // Group 8.
        PrintMsg("Testing division...\n");
        num1 = dRand1;
        num2 = dRand2;
        numResult = num1 / num2;
        d1 = dRand1;
        d2 = dRand2;
        dResult = d1 / d2;
        TV_ASSERT(fabs( (double)numResult - dResult ) < 0.00000001);

        // Group 9: the integer quotient, truncated toward zero; the operands
        // and dResult are those of group 8.
        PrintMsg("Testing quotient...\n");
        num1.Divide(num2, &numResult, nullptr);
        TV_ASSERT((double)numResult == (long)dResult);

        // Group 10: the remainder has the dividend's sign, as fmod's has.
        PrintMsg("Testing remainder...\n");
        dResult = fmod(d1, d2);
        numResult = num1 % num2;
#ifdef TVNUM2_FORCE_CHECK_FAILURE
        dResult += 1.0;
#endif
        TV_ASSERT(fabs( (double)numResult - dResult ) < 0.00000001);

        // Group 11: a base of magnitude 1 to 10 (the fraction of dRand1 plus the
        // last digit of its integer part) to a whole exponent from -89 to 89.
        PrintMsg("Testing exponentiation...\n");
        d1 = dRand1 - (long)dRand1;
        d1 = d1 + ((long)dRand1 % 10);
        if (d1 >= 0 && d1 < 1)
            d1 = d1 + 1.0;
        else if (d1 < 0 && d1 > -1)
            d1 = d1 - 1.0;
        d2 = (double)((long)dRand2 % 90);
        numResult = d1;
        numResult = numResult.Pow((int)d2);
        dResult = d1;
        dResult = pow(dResult, (int)d2);
        // Large powers are compared by their ratio, the others by their distance.
        if (fabs(dResult) > 1.0)
            dResult = (double)numResult / dResult;
        else
            dResult = fabs((double)numResult - dResult) + 1.0;
        TV_ASSERT(dResult < 1.0001 && dResult > 0.9999);

        // Groups 12 to 16 start from num1 and its double value.
        numResult = num1;
        dResult = (double)numResult;

        // Group 12.
        PrintMsg("Testing pre & post increment...\n");
        TV_ASSERT(fabs( (double)(++numResult) - (++dResult) ) < 0.00000001);
        TV_ASSERT(fabs( (double)(numResult++) - (dResult++) ) < 0.00000001);

        // Group 13.
        PrintMsg("Testing pre & post decrement...\n");
        TV_ASSERT(fabs( (double)(--numResult) - (--dResult) ) < 0.00000001);
        TV_ASSERT(fabs( (double)(numResult--) - (dResult--) ) < 0.00000001);

        // Group 14.
        PrintMsg("Testing absolute value function...\n");
        TV_ASSERT(fabs( (double)(numResult.abs() ) - fabs( dResult )) < 0.00000001);

        // Group 15.
        PrintMsg("Testing extraction of integer part...\n");
        TV_ASSERT((double)numResult.GetIntegerPart() == (long)dResult);

        // Group 16.
        PrintMsg("Testing extraction of decimal part...\n");
        TV_ASSERT(fabs( (double)numResult.GetDecimalPart() - (dResult - (long)dResult) ) < 0.00000001);

        // Group 17: results stored at scale 4 against the same at scale 8.
        PrintMsg("Testing automatic rounding...\n");
        numResult = num1 + num2;
        numResult4 = num1;
        numResult4 = numResult4 + num2;
        TV_ASSERT(fabs( (double)numResult4 - (double)numResult ) < 0.0001);
        numResult4 = num1;
        numResult4 += num2;
        TV_ASSERT(fabs( (double)numResult4 - (double)numResult ) < 0.0001);

        numResult = num1 - num2;
        numResult4 = num1;
        numResult4 = numResult4 - num2;
        TV_ASSERT(fabs( (double)numResult4 - (double)numResult ) < 0.0001);
        numResult4 = num1;
        numResult4 -= num2;
        TV_ASSERT(fabs( (double)numResult4 - (double)numResult ) < 0.0001);
    }

    // ----- Group 18: exact operations at length 100 (integer capacity 92).
    PrintMsg("Testing with large numbers...\n");
    num1.SetLenScale(100, -1);
    num2.SetLenScale(100, -1);

    // The 92 nines: the largest integer the capacity holds.
    num1 = 0;
    for (iTmp = 1; iTmp <= 92; iTmp++)
        num1 = num1 * 10 + 9;
#ifdef TVNUM2_FORCE_OVERFLOW
    num1 = num1 * 10;
#endif

    // Only the divisor 7 leaves more than 8 decimals (num1 - num2 is then
    // 0.00000002); the check has no absolute value.
    for (iTmp = 1; iTmp <= 10; iTmp++) {
        num2 = num1 / iTmp;
        num2 *= iTmp;
        TV_ASSERT((double)(num1 - num2) < 0.0000001);
    }

    // The 50-digit integer 98765432109876543210...: five digits per step.
    num1 = 0;
    for (iTmp = 1; iTmp <= 5; iTmp++) {
        num1 *= 100000;
        num1 += 98765.0;
        num1 *= 100000;
        num1 += 43210.0;
    }

    // Dividing this integer by 100 is exact at scale 8.
    for (iTmp = 1; iTmp <= 10; iTmp++) {
        num2 = num1 / 100;
        num2 *= 100;
        TV_ASSERT((double)(num1 - num2) < 0.00000001);
        num1 = num2;
    }
}
// clang-format on

int main(int argc, char* argv[])
{
    std::srand(DrawSeed(argc, argv));

    std::cout << "Performing various tests on Trevlin Number Class\n\n";

    try {
        TestNumberClass();
    } catch (const clsUtilException& exCaught) {
        // The handler works on its own copy of the exception.
        clsUtilException e(exCaught);
        std::cout << "Caught an exception of type clsUtilException:\n";
        std::cout << e.what();
        std::cout << "\n\n";
        return e.m_nErrCode;
    }

    std::cout << "\n\nTrevlin Number Class tested successfully\n\n";
    return 0;
}
