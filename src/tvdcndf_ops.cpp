// The two-operand operators' common routine and the integer power.
#include <cstring>

#include "tvdcndf.h"
#include "tvdcndf_packed.h"

using namespace tvpacked;

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
    switch (nOp) {
    case OP_Multiply:
        // Straight from the packed bytes; the left operand takes the result's
        // scale first when it has more decimals.
        numResult.StoreProduct(num1.m_strData, num1.m_strData.GetLength(), num2);
        break;
    case OP_Add:
    case OP_Subtract: {
        // The left operand at the result's precision: its integer digits
        // always fit, since the result's capacity is never the smaller; only
        // its decimals may need rounding.
        const char* pData = num1.m_strData;
        int nLen = num1.m_strData.GetLength();
        char achLeft[kMaxPackedBytes];
        if (num1.m_nDbFldScale > numResult.m_nDbFldScale)
            pData = numResult.RoundedToScale(pData, nLen, achLeft);
        if (numResult.StoreSumPacked(pData, nLen, num2, nOp == OP_Subtract))
            break;
        clsWorkNum t;
        Load(pData, nLen, t);
        numResult.StoreSum(t, num2, nOp == OP_Subtract);
        break;
    }
    case OP_Modulo:
    case OP_Divide:
        // Both operands are validated above: the division does not check them again.
        numResult.DivideInto(num1, num2, nOp == OP_Modulo);
        break;
    default: ThrowUtilException(kErrInvalidParam);
    }
    return numResult;
}

clsNumDbFld operator/(const clsNumDbFld& num1, const clsNumDbFld& num2)
{
    return DoBinaryOp(num1, num2, OP_Divide);
}

namespace {
// A packed value with room for any product that a number can hold.
struct clsPackedValue {
    int nLen;
    char achData[kMaxPackedBytes];
};

// x *= y for a number of integer capacity nCap and scale nScale, as
// operator*= does it: zero stays zero, a zero factor gives zero, and an
// integer part beyond the capacity raises -2053. y may be x itself.
void MultiplyInto(clsPackedValue& x, const clsPackedValue& y, int nCap, int nScale)
{
    if (x.nLen <= 1)
        return;
    if (y.nLen <= 1) {
        x.nLen = 1;
        x.achData[0] = kSignZero;
        return;
    }
    char achProduct[kMaxPackedBytes];
    int nLen = 1;
    switch (MultiplyPacked(x.achData, x.nLen, y.achData, y.nLen, nCap, nScale, achProduct, &nLen)) {
    case kFitValue: break;
    case kFitZero:
        achProduct[0] = kSignZero;
        break;
    default: ThrowUtilException(kErrOverflow);
    }
    x.nLen = nLen;
    std::memcpy(x.achData, achProduct, static_cast<size_t>(nLen));
}
} // namespace

clsNumDbFld clsNumDbFld::Pow(int n) const
{
    CheckValid();
    if (n == 0)
        return g_numOne;
    if (IsZero()) {
        if (n < 0)
            ThrowUtilException(kErrZeroNegPower);
        return *this;
    }
    return PowOfValue(n);
}

// Square and multiply: the accumulator is squared while bits of n remain and
// the running product gathers the factors of the set bits; every product is
// rounded to the base's scale. A negative power first takes the reciprocal.
// Both run on packed values in local buffers; the result is written once at
// the end.
clsNumDbFld clsNumDbFld::PowOfValue(int n) const
{
    // The running product starts at 1, at the base's precision with one
    // integer digit more when the base has none.
    const int nCap = GetIntLen();
    const int nTmpCap = nCap == 0 ? 1 : nCap;
    clsNumDbFld numAccumulator;
    numAccumulator.m_nDbFldLen = m_nDbFldLen;
    numAccumulator.m_nDbFldScale = m_nDbFldScale;
    clsPackedValue acc;
    if (n < 0) {
        if (nCap == 0) {
            // The reciprocal of a value below one does not fit the capacity 0:
            // the division or the assignment of its quotient raises -2053.
            clsNumDbFld numTmp(m_nDbFldLen, m_nDbFldScale);
            ++numTmp.m_nDbFldLen;
            numTmp = g_numOne;
            numAccumulator = numTmp / *this;
        }
        numAccumulator.m_strData.GetWriteBuf((m_nDbFldLen + 1) / 2 + 3);
        numAccumulator = g_numOne;
        numAccumulator /= *this;
        acc.nLen = numAccumulator.m_strData.GetLength();
        std::memcpy(acc.achData, static_cast<const char*>(numAccumulator.m_strData), static_cast<size_t>(acc.nLen));
    } else {
        acc.nLen = m_strData.GetLength();
        std::memcpy(acc.achData, static_cast<const char*>(m_strData), static_cast<size_t>(acc.nLen));
    }
    clsPackedValue tmp = {3, {kSignPositive, EncodeExponentByte(0, false), PairByte(10, false)}}; // 1
    // The magnitude as an unsigned count, so that -2147483648 has one too.
    unsigned int nMagnitude = n < 0 ? 0u - static_cast<unsigned int>(n) : static_cast<unsigned int>(n);
    while (nMagnitude != 1) {
        if (nMagnitude & 1u)
            MultiplyInto(tmp, acc, nTmpCap, m_nDbFldScale);
        MultiplyInto(acc, acc, nCap, m_nDbFldScale);
        nMagnitude >>= 1;
    }
    MultiplyInto(acc, tmp, nCap, m_nDbFldScale);
    numAccumulator.StorePacked(acc.achData, acc.nLen);
    numAccumulator.CheckValid();
    return numAccumulator;
}
