// Names for the error codes that the library raises and returns, for use
// inside the library only. Callers compare clsUtilException::m_nErrCode with
// the plain numbers; the messages of the codes are in aErrTable (tvncstrb.cpp).
// Not included by tvncstrb.h or tvdcndf.h.
#ifndef TVERRCODE_H
#define TVERRCODE_H

enum : int {
    // Bad parameters.
    kErrInvalidParam = 2001,  // "Invalid parameter encountered"
    kErrNullOutParam = 2002,  // "Null pointer is passed as an output parameter"
    kErrNullInParam = 2003,   // in the table only
    // Bad values and failed operations.
    kErrMultipleChars = -2043,
    kErrDecimalPoint = -2044, // a second point, or decimals where none may be
    kErrDigit = -2045,        // a character that is no digit
    kErrDivByZero = -2046,
    kErrNegUnsigned = -2047,
    kErrShortOverflow = -2048,
    kErrUShortOverflow = -2049,
    kErrLongOverflow = -2050,
    kErrULongOverflow = -2051,
    kErrOverflow = -2053,     // an integer part beyond the number's capacity
    kErrSign = -2054,         // a '+' or '-' out of place
    kErrZeroNegPower = -2055,
    // Status codes of the text checkers (returned, never thrown).
    kStatDecimalPoint = -4024,
    kStatDigit = -4025,
    kStatNegUnsigned = -4026,
    kStatLongOverflow = -4029,
    kStatULongOverflow = -4030,
    kStatSign = -4031,
};

#endif // TVERRCODE_H
