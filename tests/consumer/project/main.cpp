// Uses the number library through the shared library alone; exits non-zero when
// a result is not the expected one.
#include <iostream>
#include <string>

#include "price.h"

namespace {

int g_failures = 0;

template <typename T>
void Expect(const char* what, const T& got, const T& want)
{
    std::cout << what << " = " << got << "\n";
    if (!(got == want)) {
        std::cout << "  expected " << want << "\n";
        ++g_failures;
    }
}

}  // namespace

int main()
{
    Expect("Total(19.995, 3)", Total("19.995", 3), std::string("60"));
    Expect("Total(0.125, 7)", Total("0.125", 7), std::string("0.91"));
    Expect("Quotient(2, 3)", Quotient("2", "3"), std::string("0.66666667"));
    Expect("Quotient(-1, 8)", Quotient("-1", "8"), std::string("-0.125"));
    Expect("StoreError(12345678.99)", StoreError("12345678.99"), 0);
    Expect("StoreError(123456789)", StoreError("123456789"), -2053);
    Expect("StoreError(1.2.3)", StoreError("1.2.3"), -2044);
    return g_failures == 0 ? 0 : 1;
}
