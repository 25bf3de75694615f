// tvnum1: demo of the number class. Draws two random numbers, rounds them to
// two decimals, writes them and writes their sum, difference, product,
// quotient and remainder, each computed at length 38 and scale 8.
//
// Exit status: 0 after a normal run, else the code of the clsUtilException
// that left the demo (the process sees its low byte: -2053 is 251).
//
// Test builds only (never defined for the program itself):
//   TVNUM_SEED_FROM_ARGV   the seed is taken from the first argument, so that
//                          a draw can be repeated
//   TVNUM1_FORCE_OVERFLOW  the drawn values are replaced by two whose product
//                          does not fit, so that the demo raises -2053
#include <cstdlib>
#include <ctime>
#include <iostream>

#include "tvdcndf.h"

namespace {

// The seed of the random draws: the current time in seconds (its low 32
// bits). The program ignores its arguments.
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

// The demo body. Every clsUtilException passes to the caller; a result is
// computed before its label is written, so a failed operation leaves no label.
void DemoNumberClass()
{
    clsNumDbFld num1;
    clsNumDbFld num2;

    double dRand1 = RandomDouble(11.0, 20.0);
    double dRand2 = RandomDouble(1.0, 10.0);

    num1 = dRand1;
    num2 = dRand2;

    num1.Round(2);
    num2.Round(2);

#ifdef TVNUM1_FORCE_OVERFLOW
    // 30 integer digits fit the capacity of length 38, scale 8; the product
    // with 2 needs 31.
    num1 = "900000000000000000000000000000";
    num2 = 2;
#endif

    std::cout << "Two random numbers that are chosen are: ";
    std::cout << "num1=" << num1;
    std::cout << "  ";
    std::cout << "num2=" << num2;
    std::cout << "\n\n";

    {
        clsNumDbFld numResult = num1 + num2;
        std::cout << "Result of addition       (num1 + num2) = " << numResult;
    }
    std::cout << "\n\n";
    {
        clsNumDbFld numResult = num1 - num2;
        std::cout << "Result of subtraction    (num1 - num2) = " << numResult;
    }
    std::cout << "\n\n";
    {
        clsNumDbFld numResult = num1 * num2;
        std::cout << "Result of multiplication (num1 * num2) = " << numResult;
    }
    std::cout << "\n\n";
    {
        clsNumDbFld numResult = num1 / num2;
        std::cout << "Result of division       (num1 / num2) = " << numResult;
    }
    std::cout << "\n\n";
    {
        clsNumDbFld numResult = num1 % num2;
        std::cout << "Result of modulo         (num1 % num2) = " << numResult;
    }
    std::cout << "\n\n";

    std::cout << "\n\n";
}

int main(int argc, char* argv[])
{
    std::srand(DrawSeed(argc, argv));

    std::cout << "Demo of Trevlin Number class\n\n\n";

    try {
        DemoNumberClass();
    } catch (const clsUtilException& exCaught) {
        // The handler works on its own copy of the exception.
        clsUtilException e(exCaught);
        std::cout << "Caught an exception of type clsUtilException:\n";
        std::cout << e.what();
        std::cout << "\n\n";
        return e.m_nErrCode;
    }

    return 0;
}
