// References for the texts of doubles: "%.*f" and atof as the C runtime gives
// them in the "C" locale (this thread switched to "C" for the call, whatever
// locale the program has set), and random doubles and number texts to feed
// them. Used by the unit tests and by the test under a decimal-comma locale.
#ifndef TV_DOUBLE_TEXTS_H
#define TV_DOUBLE_TEXTS_H

#include <locale.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace tvdouble {

// While it lives, this thread formats and parses in the "C" locale.
class CLocaleScope {
public:
    CLocaleScope() : m_locOld(uselocale(C())) {}
    ~CLocaleScope() { uselocale(m_locOld); }
    CLocaleScope(const CLocaleScope&) = delete;
    CLocaleScope& operator=(const CLocaleScope&) = delete;

    static locale_t C()
    {
        static const locale_t locC = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
        return locC;
    }

private:
    locale_t m_locOld;
};

// d as "%.*f" writes it in the "C" locale.
inline std::string PrintfFixed(double d, int nPrecision)
{
    CLocaleScope scope;
    char szBuf[512];
    std::snprintf(szBuf, sizeof(szBuf), "%.*f", nPrecision, d);
    return szBuf;
}

// atof of the text in the "C" locale.
inline double AtofC(const char* psz)
{
    CLocaleScope scope;
    return std::atof(psz);
}

// The same double: equal bit patterns (so -0.0 differs from 0.0), or both NaN.
inline bool SameDouble(double a, double b)
{
    if (std::isnan(a) || std::isnan(b))
        return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}

// A double from one of three families: any bit pattern (NaN, infinities and
// subnormals included), a binary fraction k / 2^m (ties at few decimals), or
// a value of a few decimal digits as a program would assign.
inline double DrawDouble(std::mt19937_64& rng)
{
    switch (rng() % 3) {
    case 0: {
        uint64_t uBits = rng();
        double d;
        std::memcpy(&d, &uBits, sizeof(d));
        return d;
    }
    case 1: {
        double d = std::ldexp(static_cast<double>(rng() >> 12), -static_cast<int>(rng() % 60));
        return rng() % 2 ? -d : d;
    }
    default: {
        double d = static_cast<double>(rng() % 2000000000) / std::pow(10.0, static_cast<double>(rng() % 12));
        return rng() % 2 ? -d : d;
    }
    }
}

// A text that ToDouble accepts: blanks, an optional sign, digits with at most
// one point (long runs of digits and texts without any digit included), blanks.
inline std::string DrawNumberText(std::mt19937_64& rng)
{
    std::string str(rng() % 3, ' ');
    switch (rng() % 3) {
    case 0: str += '-'; break;
    case 1: str += '+'; break;
    default: break;
    }
    auto digits = [&rng](size_t nMax) {
        std::string strDigits;
        size_t n = rng() % (nMax + 1);
        for (size_t i = 0; i < n; ++i)
            strDigits += static_cast<char>('0' + rng() % 10);
        return strDigits;
    };
    // Mostly short texts, sometimes up to 400 digits (beyond the range of a
    // double on either side of the point).
    const size_t nMax = rng() % 8 == 0 ? 400 : 20;
    str += digits(nMax);
    if (rng() % 2)
        str += '.' + digits(nMax);
    str += std::string(rng() % 3, ' ');
    return str;
}

} // namespace tvdouble

#endif // TV_DOUBLE_TEXTS_H
