// Helpers for the strings and character blocks, without the number (so that
// the string tests see only the string header's overloads): reaching the
// protected count and block, a string's characters as text, the shared empty
// block, a block filled with known characters, and the 16-byte size rule.
#ifndef TV_STRING_UTIL_H
#define TV_STRING_UTIL_H

#include <gtest/gtest.h>

#include <string>

#include "tvncstrb.h"

// Reaches the protected count of any reference-counted object.
struct RefCtProbe : clsRefCtObj {
    static int& RefCt(clsRefCtObj& obj) { return obj.*(&RefCtProbe::m_nRefCt); }
};

// Reaches the block a string holds.
struct StrProbe : clsStrBase {
    static clsStrData* Block(const clsStrBase& str) { return (str.*(&StrProbe::m_spstrData)).Get(); }
};

// The characters of a string, zero bytes included, as a std::string.
inline std::string TextOf(const clsStrBase& str)
{
    return std::string(static_cast<const char*>(str), static_cast<size_t>(str.GetLength()));
}

inline clsStrData* EmptyBlock()
{
    return clsRefCtPtr<clsStrData>::GetEmptyObj();
}

// True when u is the usable size of the smallest 16-byte-step block that
// holds n characters and the zero byte.
inline ::testing::AssertionResult SizedFor(int u, int n)
{
    const int nHdr = static_cast<int>(sizeof(clsStrData));
    if (u >= n + 1 && u <= n + 16 && (u + nHdr) % 16 == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "usable size " << u << " does not fit length " << n;
}

// A block of n characters 'a', 'b', ... (count 0, no holder).
inline clsStrData* MakeBlock(int n)
{
    clsStrData* p = new (n) clsStrData(n);
    for (int i = 0; i < n; ++i)
        p->m_ptrData[i] = static_cast<char>('a' + i % 26);
    return p;
}

#endif // TV_STRING_UTIL_H
