// The two-operand operators' common routine and the integer power.
#include "tvdcndf.h"

clsNumDbFld DoBinaryOp(const clsNumDbFld& num1, const clsNumDbFld& num2, int nOp)
{
    num1.CheckValid();
    num2.CheckValid();
    clsNumDbFld numResult;
    // The precision of the operand with the larger integer capacity; on a tie
    // the one with the larger scale, num1 when the scales are equal too.
    int d = num1.GetIntLen() - num2.GetIntLen();
    if (d == 0)
        d = num1.m_nDbFldScale >= num2.m_nDbFldScale ? 1 : -1;
    const clsNumDbFld& numPrecision = d > 0 ? num1 : num2;
    numResult.m_nDbFldLen = numPrecision.m_nDbFldLen;
    numResult.m_nDbFldScale = numPrecision.m_nDbFldScale;
    numResult = num1;
    switch (nOp) {
    case OP_Add: numResult += num2; break;
    case OP_Subtract: numResult -= num2; break;
    case OP_Multiply: numResult *= num2; break;
    case OP_Modulo: numResult %= num2; break;
    case OP_Divide: numResult /= num2; break;
    default: ThrowUtilException(2001);
    }
    return numResult;
}

clsNumDbFld operator/(const clsNumDbFld& num1, const clsNumDbFld& num2)
{
    return DoBinaryOp(num1, num2, OP_Divide);
}

// Square and multiply: numAccumulator is squared while bits of n remain and
// numTmp gathers the factors of the set bits; every product is rounded to
// the base's scale. A negative power first takes the reciprocal.
clsNumDbFld clsNumDbFld::Pow(int n) const
{
    CheckValid();
    if (n == 0)
        return g_numOne;
    if (IsZero()) {
        if (n < 0)
            ThrowUtilException(-2055);
        return *this;
    }
    clsNumDbFld numAccumulator(*this);
    clsNumDbFld numTmp(m_nDbFldLen, m_nDbFldScale);
    if (m_nDbFldLen == m_nDbFldScale)
        ++numTmp.m_nDbFldLen; // room for the integer digit of 1
    numTmp = g_numOne;
    // The magnitude as an unsigned count, so that -2147483648 has one too.
    unsigned int nMagnitude = n < 0 ? 0u - static_cast<unsigned int>(n) : static_cast<unsigned int>(n);
    if (n < 0)
        numAccumulator = numTmp / *this;
    while (nMagnitude != 1) {
        if (nMagnitude & 1u)
            numTmp *= numAccumulator;
        numAccumulator *= numAccumulator;
        nMagnitude >>= 1;
    }
    numAccumulator *= numTmp;
    return numAccumulator;
}
