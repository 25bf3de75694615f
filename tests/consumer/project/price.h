// The interface of the shared library: plain text in and out, so that the
// program that uses it needs none of the number library's headers.
#pragma once

#include <string>

// The total of qty items of the given unit price, kept at 2 decimals.
std::string Total(const std::string& unitPrice, int qty);

// The quotient of two texts at the default length and scale.
std::string Quotient(const std::string& dividend, const std::string& divisor);

// The error code raised by storing the text in a number of length 10 and
// scale 2, or 0 when it fits.
int StoreError(const std::string& text);
