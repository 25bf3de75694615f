#include "price.h"

#include "tvdcndf.h"

std::string Total(const std::string& unitPrice, int qty)
{
    clsNumDbFld price(10, 2);
    price = unitPrice.c_str();
    price *= clsNumDbFld(qty);
    return static_cast<const char*>(price);
}

std::string Quotient(const std::string& dividend, const std::string& divisor)
{
    clsNumDbFld quotient = clsNumDbFld(dividend.c_str()) / clsNumDbFld(divisor.c_str());
    return static_cast<const char*>(quotient);
}

int StoreError(const std::string& text)
{
    try {
        clsNumDbFld num(10, 2);
        num = text.c_str();
        return 0;
    } catch (const clsUtilException& e) {
        return e.m_nErrCode;
    }
}
