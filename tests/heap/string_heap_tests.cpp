// What the character blocks and the base string clsStrBase allocate and
// release: no allocation for empty strings, in-place assignment and append,
// exactly one new block when growing, the released block and its size.
//
// This binary replaces the global operator new and operator delete, so it
// holds only the tests that need that; the rest of the string tests are in
// the unit-test binary. The replacement
//  - counts allocations and releases while an AllocCount lives, and records
//    the last block released and the size handed to the sized delete, which
//    catches a block freed twice or not at all, an allocation where none is
//    due, and a release through the wrong size;
//  - overwrites every block with 0xDD before freeing it, which catches a read
//    of characters after their block was released (appending a string to
//    itself while growing, for instance) without a sanitizer.
// Under AddressSanitizer the sanitizer's allocator hooks count instead, and the
// sanitizer itself checks sizes and reads after release.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>

#include "tv_string_util.h"
#include "tvncstrb.h"

// ---------------------------------------------------------------------------
// Heap observer. While an AllocCount lives, every heap allocation and release
// of the process is counted, and the last release is remembered with the size
// handed to the heap (sized operator delete).
//
// With AddressSanitizer the sanitizer's own allocator hooks do the counting,
// and the sanitizer itself checks every sized release against the size of the
// allocation (new-delete-type-mismatch). Without it the global allocation
// functions are replaced by equivalent malloc/free based ones that record.
// ---------------------------------------------------------------------------
namespace {
struct AllocLog {
    bool bOn = false;
    int nAllocs = 0;
    int nFrees = 0;
    const volatile void* pLastFreed = nullptr;
    size_t nLastFreedSiz = 0; // size of the last sized release, 0 if unsized
};
AllocLog g_allocLog;

class AllocCount {
public:
    AllocCount() { g_allocLog = AllocLog{true}; }
    ~AllocCount() { g_allocLog.bOn = false; }
    void Stop() { g_allocLog.bOn = false; }
    int Allocs() const { return g_allocLog.nAllocs; }
    int Frees() const { return g_allocLog.nFrees; }
    const volatile void* LastFreed() const { return g_allocLog.pLastFreed; }
    size_t LastFreedSiz() const { return g_allocLog.nLastFreedSiz; }
};
} // namespace

#if defined(__SANITIZE_ADDRESS__)
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*pfnMalloc)(const volatile void*, size_t),
                                                         void (*pfnFree)(const volatile void*));
namespace {
void OnMalloc(const volatile void*, size_t)
{
    if (g_allocLog.bOn)
        ++g_allocLog.nAllocs;
}
void OnFree(const volatile void* p)
{
    if (g_allocLog.bOn && p) {
        ++g_allocLog.nFrees;
        g_allocLog.pLastFreed = p;
        g_allocLog.nLastFreedSiz = 0;
    }
}
const int g_nHooksInstalled = __sanitizer_install_malloc_and_free_hooks(OnMalloc, OnFree);
} // namespace
const bool g_bHeapChecksSizes = true; // the sanitizer checks them itself
#else
#include <malloc.h>

void* operator new(size_t nSiz)
{
    void* p = std::malloc(nSiz ? nSiz : 1);
    if (!p)
        throw std::bad_alloc();
    if (g_allocLog.bOn)
        ++g_allocLog.nAllocs;
    return p;
}
namespace {
// Released memory is overwritten first, so that a read after the release
// shows up as garbage here too, not only under the sanitizer.
// (Called through a volatile pointer: a plain memset before free is removed
// by the optimizer.)
void* (*volatile g_pfnScribble)(void*, int, size_t) = std::memset;
void ScribbleAndFree(void* p)
{
    if (p)
        g_pfnScribble(p, 0xDD, malloc_usable_size(p));
    std::free(p);
}
} // namespace
void operator delete(void* p) noexcept
{
    if (g_allocLog.bOn && p) {
        ++g_allocLog.nFrees;
        g_allocLog.pLastFreed = p;
        g_allocLog.nLastFreedSiz = 0;
    }
    ScribbleAndFree(p);
}
void operator delete(void* p, size_t nSiz) noexcept
{
    if (g_allocLog.bOn && p) {
        ++g_allocLog.nFrees;
        g_allocLog.pLastFreed = p;
        g_allocLog.nLastFreedSiz = nSiz;
    }
    ScribbleAndFree(p);
}
const bool g_bHeapChecksSizes = false;
#endif

// ===========================================================================
// Character blocks
// ===========================================================================

TEST(RefCtPtr, CopyOfEmptyBlockSharesIt)
{
    clsRefCtPtr<clsStrData> sp1(EmptyBlock());
    AllocCount count;
    clsRefCtPtr<clsStrData> sp2(sp1);
    clsRefCtPtr<clsStrData> sp3(nullptr);
    sp3 = sp2;
    count.Stop();
    EXPECT_EQ(sp2.Get(), EmptyBlock());
    EXPECT_EQ(sp3.Get(), EmptyBlock());
    EXPECT_EQ(EmptyBlock()->GetRefCt(), 2);
    EXPECT_EQ(count.Allocs(), 0);
}

TEST(RefCtPtr, AssigningTheHeldPointerChangesNothing)
{
    clsStrData* p = MakeBlock(4);
    clsRefCtPtr<clsStrData> sp(p);
    AllocCount count;
    sp = p;
    sp = sp;
    count.Stop();
    EXPECT_EQ(sp.Get(), p);
    EXPECT_EQ(p->GetRefCt(), 1);
    EXPECT_EQ(count.Allocs(), 0);
    EXPECT_EQ(count.Frees(), 0);
}

TEST(RefCtPtr, HoldersOfNullOrEmptyFreeNothing)
{
    AllocCount count;
    {
        clsRefCtPtr<clsStrData> spNull(nullptr);
        clsRefCtPtr<clsStrData> spEmpty(EmptyBlock());
        spNull = EmptyBlock();
        spEmpty = nullptr;
    }
    count.Stop();
    EXPECT_EQ(count.Allocs(), 0);
    EXPECT_EQ(count.Frees(), 0);
    EXPECT_EQ(EmptyBlock()->GetRefCt(), 2);
}

TEST(RefCtPtr, ReleasingTheOnlyHolderFreesExactlyThatBlock)
{
    for (int n : {0, 15, 16, 40}) {
        clsStrData* p = MakeBlock(n);
        const size_t nExpectedSiz = sizeof(clsStrData) + static_cast<size_t>(p->m_nAllocSiz);
        std::optional<clsRefCtPtr<clsStrData>> optsp;
        optsp.emplace(p);
        AllocCount count;
        optsp.reset();
        count.Stop();
        EXPECT_EQ(count.Frees(), 1) << n;
        EXPECT_EQ(count.LastFreed(), static_cast<void*>(p)) << n;
        if (!g_bHeapChecksSizes) {
            EXPECT_EQ(count.LastFreedSiz(), nExpectedSiz) << n;
        }
    }
}

TEST(RefCtPtr, ReassignmentReleasesTheOldBlock)
{
    clsStrData* p = MakeBlock(20);
    clsStrData* q = MakeBlock(3);
    clsRefCtPtr<clsStrData> sp(p);
    AllocCount count;
    sp = q;
    count.Stop();
    EXPECT_EQ(sp.Get(), q);
    EXPECT_EQ(q->GetRefCt(), 1);
    EXPECT_EQ(count.Allocs(), 0);
    EXPECT_EQ(count.Frees(), 1);
    EXPECT_EQ(count.LastFreed(), static_cast<void*>(p));
}

#if defined(__SANITIZE_ADDRESS__)
// The size that FreeStrMem forwards is checked by the sanitizer against the
// allocation: a wrong one is reported, so the exact-size test above is real.
TEST(StrMemDeathTest, WrongSizeToFreeStrMemIsReported)
{
    EXPECT_DEATH(
        {
            UINT nActual = 0;
            void* p = AllocStrMem(48, &nActual);
            FreeStrMem(p, 64);
        },
        "new-delete-type-mismatch");
}
#endif

// ===========================================================================
// clsStrBase
// ===========================================================================

TEST(StrBase, EmptyStringsHoldTheSharedBlockWithoutAllocating)
{
    const char* pszNull = nullptr;
    clsStrBase strPrivate("abc", -1);
    AllocCount count;
    {
        clsStrBase astr[] = {
            clsStrBase(),
            clsStrBase("", -1),
            clsStrBase(pszNull, -1),
            clsStrBase("abc", 0),
            clsStrBase('x', 0),
            clsStrBase('x', -3),
            clsStrBase('\0', 5),
            clsStrBase(CString()),
            strPrivate.Left(0),
            strPrivate.Left(-5),
        };
        for (const clsStrBase& str : astr) {
            EXPECT_EQ(StrProbe::Block(str), EmptyBlock());
            EXPECT_TRUE(str.IsShared());
            EXPECT_TRUE(str.IsEmpty());
            EXPECT_EQ(str.GetLength(), 0);
            EXPECT_EQ(str.GetAllocSiz(), 0);
        }
        clsStrBase strCopy(astr[0]);
        strCopy = "";
        strCopy = pszNull;
        strCopy = '\0';
        strCopy = astr[1];
        strCopy += "";
        strCopy += pszNull;
        strCopy += '\0';
        strCopy += astr[2];
        strCopy += CString();
        EXPECT_EQ(StrProbe::Block(strCopy), EmptyBlock());
    }
    count.Stop();
    EXPECT_EQ(count.Allocs(), 0);
    EXPECT_EQ(count.Frees(), 0);
}

TEST(StrBase, AssigningEmptyKeepsAPrivateBlock)
{
    const char* pszNull = nullptr;
    for (int nWhich = 0; nWhich < 4; ++nWhich) {
        clsStrBase str("abc", -1);
        clsStrData* pBlock = StrProbe::Block(str);
        AllocCount count;
        switch (nWhich) {
        case 0: str = ""; break;
        case 1: str = pszNull; break;
        case 2: str = '\0'; break;
        case 3: str = clsStrBase(); break;
        }
        count.Stop();
        EXPECT_EQ(StrProbe::Block(str), pBlock) << nWhich;
        EXPECT_FALSE(str.IsShared());
        EXPECT_TRUE(str.IsEmpty());
        EXPECT_STREQ(str, "");
        EXPECT_EQ(count.Allocs(), 0);
        EXPECT_EQ(count.Frees(), 0);
    }
}

TEST(StrBase, AssignmentInPlaceOrIntoAnExactBlock)
{
    clsStrBase str(std::string(20, 'a'));
    clsStrData* pBlock = StrProbe::Block(str);
    const int nAllocSiz = str.GetAllocSiz();
    const clsStrBase strShort("short", -1);
    {
        AllocCount count;
        str = "xyz";
        EXPECT_EQ(TextOf(str), "xyz");
        str = 'c';
        EXPECT_EQ(TextOf(str), "c");
        str = CString("std text");
        EXPECT_EQ(TextOf(str), "std text");
        str = strShort;
        count.Stop();
        EXPECT_EQ(count.Allocs(), 0);
        EXPECT_EQ(count.Frees(), 0);
    }
    EXPECT_EQ(TextOf(str), "short");
    EXPECT_EQ(StrProbe::Block(str), pBlock);
    EXPECT_EQ(str.GetAllocSiz(), nAllocSiz);

    // One character short of the usable size still fits.
    const std::string strFit(static_cast<size_t>(nAllocSiz - 1), 'f');
    str = strFit.c_str();
    EXPECT_EQ(StrProbe::Block(str), pBlock);
    EXPECT_EQ(TextOf(str), strFit);

    // A longer value takes a block sized for it.
    const clsStrBase strLong(std::string(static_cast<size_t>(nAllocSiz), 'L'));
    str = strLong;
    EXPECT_EQ(TextOf(str), TextOf(strLong));
    EXPECT_NE(static_cast<const char*>(str), static_cast<const char*>(strLong));
    EXPECT_TRUE(SizedFor(str.GetAllocSiz(), nAllocSiz));

    const std::string strLonger(100, 'M');
    str = strLonger.c_str();
    EXPECT_EQ(TextOf(str), strLonger);
    EXPECT_TRUE(SizedFor(str.GetAllocSiz(), 100));

    // A shared string gets a block even for a short value.
    clsStrBase strShared;
    strShared = "q";
    EXPECT_FALSE(strShared.IsShared());
    EXPECT_TRUE(SizedFor(strShared.GetAllocSiz(), 1));
}

TEST(StrBase, SelfAssignmentChangesNothing)
{
    clsStrBase str("same", -1);
    clsStrData* pBlock = StrProbe::Block(str);
    clsStrBase& strAlias = str;
    AllocCount count;
    str = strAlias;
    count.Stop();
    EXPECT_EQ(TextOf(str), "same");
    EXPECT_EQ(StrProbe::Block(str), pBlock);
    EXPECT_EQ(count.Allocs(), 0);
}

TEST(StrBase, AppendingNothingChangesNothing)
{
    const char* pszNull = nullptr;
    clsStrBase str("abc", -1);
    clsStrData* pBlock = StrProbe::Block(str);
    AllocCount count;
    str += "";
    str += pszNull;
    str += '\0';
    str += clsStrBase();
    str += CString();
    count.Stop();
    EXPECT_EQ(TextOf(str), "abc");
    EXPECT_EQ(StrProbe::Block(str), pBlock);
    EXPECT_EQ(count.Allocs(), 0);
}

TEST(StrBase, AppendGrowsOnlyWhenTheZeroByteNoLongerFits)
{
    clsStrBase str("abc", -1);
    clsStrData* pBlock = StrProbe::Block(str);
    const int nAllocSiz = str.GetAllocSiz();
    const int nFill = nAllocSiz - 1 - 3; // up to one byte short of the usable size
    {
        AllocCount count;
        str += std::string(static_cast<size_t>(nFill - 2), 'd');
        str += 'e';
        str += "f";
        count.Stop();
        EXPECT_EQ(count.Allocs(), 0);
    }
    EXPECT_EQ(str.GetLength(), nAllocSiz - 1);
    EXPECT_EQ(StrProbe::Block(str), pBlock);

    // Reaching the usable size takes a new block sized for the new length.
    str += 'g';
    EXPECT_NE(StrProbe::Block(str), pBlock);
    EXPECT_EQ(str.GetLength(), nAllocSiz);
    EXPECT_TRUE(SizedFor(str.GetAllocSiz(), nAllocSiz));
    EXPECT_EQ(TextOf(str), "abc" + std::string(static_cast<size_t>(nFill - 2), 'd') + "efg");

    // Appending to a shared string gives it a block sized for the text.
    clsStrBase strShared;
    strShared += clsStrBase("xy", -1);
    EXPECT_FALSE(strShared.IsShared());
    EXPECT_TRUE(SizedFor(strShared.GetAllocSiz(), 2));
    EXPECT_EQ(TextOf(strShared), "xy");
}

TEST(StrBase, OwnCharactersAppendAndAssignCorrectly)
{
    // Growing: the source lies in the block being replaced.
    clsStrBase str("abcdefgh", -1);
    ASSERT_GE(16, str.GetAllocSiz()); // 16 characters and the zero will not fit
    str += str;
    EXPECT_EQ(TextOf(str), "abcdefghabcdefgh");
    str += static_cast<const char*>(str) + 10;
    EXPECT_EQ(TextOf(str), "abcdefghabcdefghcdefgh");
    str += clsStrBase(str);
    EXPECT_EQ(TextOf(str), "abcdefghabcdefghcdefghabcdefghabcdefghcdefgh");

    // In place.
    clsStrBase strSmall("abc", -1);
    clsStrData* pBlock = StrProbe::Block(strSmall);
    strSmall += strSmall;
    EXPECT_EQ(TextOf(strSmall), "abcabc");
    strSmall += static_cast<const char*>(strSmall) + 4;
    EXPECT_EQ(TextOf(strSmall), "abcabcbc");
    EXPECT_EQ(StrProbe::Block(strSmall), pBlock);

    // Assigning an overlapping tail of the own text.
    strSmall = static_cast<const char*>(strSmall) + 2;
    EXPECT_EQ(TextOf(strSmall), "cabcbc");
    EXPECT_EQ(StrProbe::Block(strSmall), pBlock);
}

TEST(StrBase, WriteBuffer)
{
    clsStrBase str;
    char* pBuf = str.GetWriteBuf(3);
    EXPECT_FALSE(str.IsShared());
    EXPECT_EQ(str.GetLength(), 0);
    EXPECT_GT(str.GetAllocSiz(), 3);
    std::memcpy(pBuf, "abc", 4);
    str.ReleaseWriteBuf(-1);
    EXPECT_EQ(TextOf(str), "abc");

    // Room enough: the same block, characters kept.
    clsStrData* pBlock = StrProbe::Block(str);
    {
        AllocCount count;
        pBuf = str.GetWriteBuf(str.GetAllocSiz() - 1);
        count.Stop();
        EXPECT_EQ(count.Allocs(), 0);
    }
    EXPECT_EQ(StrProbe::Block(str), pBlock);
    EXPECT_EQ(std::string(pBuf, 3), "abc");

    // A request of the usable size leaves no byte for the zero: a new block.
    const int nAllocSiz = str.GetAllocSiz();
    str.GetWriteBuf(nAllocSiz);
    EXPECT_NE(StrProbe::Block(str), pBlock);
    EXPECT_TRUE(SizedFor(str.GetAllocSiz(), nAllocSiz));
    EXPECT_EQ(TextOf(str), "abc");
    pBlock = StrProbe::Block(str);

    // More room: a new block sized for the request, characters kept; the
    // whole requested length and the zero byte can be written.
    const int nMinLen = str.GetAllocSiz() + 5;
    {
        AllocCount count;
        pBuf = str.GetWriteBuf(nMinLen);
        count.Stop();
        EXPECT_EQ(count.Allocs(), 1); // exactly one new block, the old one freed
        EXPECT_EQ(count.Frees(), 1);
        EXPECT_EQ(count.LastFreed(), static_cast<void*>(pBlock));
    }
    EXPECT_NE(StrProbe::Block(str), pBlock);
    EXPECT_EQ(TextOf(str), "abc");
    EXPECT_TRUE(SizedFor(str.GetAllocSiz(), nMinLen));
    std::memset(pBuf + 3, 'z', static_cast<size_t>(nMinLen - 3));
    pBuf[nMinLen] = 0;
    str.ReleaseWriteBuf(nMinLen);
    EXPECT_EQ(TextOf(str), "abc" + std::string(static_cast<size_t>(nMinLen - 3), 'z'));

    // An explicit length sets the zero byte; -1 stops at the first zero.
    pBuf = str.GetWriteBuf(0);
    pBuf[1] = 0;
    str.ReleaseWriteBuf(-1);
    EXPECT_EQ(TextOf(str), "a");
    pBuf = str.GetWriteBuf(4);
    std::memcpy(pBuf, "wxyz", 4);
    str.ReleaseWriteBuf(2);
    EXPECT_EQ(TextOf(str), "wx");
    EXPECT_EQ(static_cast<const char*>(str)[2], 0);

    // Even a request for no room gives a shared string a private block.
    clsStrBase strShared;
    strShared.GetWriteBuf(0);
    EXPECT_FALSE(strShared.IsShared());
    strShared.ReleaseWriteBuf(0);
    EXPECT_TRUE(strShared.IsEmpty());
}

TEST(StrBase, EmptyReleasesTheBlock)
{
    clsStrBase str("abc", -1);
    clsStrData* pBlock = StrProbe::Block(str);
    AllocCount count;
    str.Empty();
    count.Stop();
    EXPECT_EQ(StrProbe::Block(str), EmptyBlock());
    EXPECT_EQ(count.Allocs(), 0);
    EXPECT_EQ(count.Frees(), 1);
    EXPECT_EQ(count.LastFreed(), static_cast<void*>(pBlock));
}
