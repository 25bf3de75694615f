// Character blocks (clsStrData, clsRefCtPtr, the shared empty block) and the
// base string clsStrBase: sizes, ownership, in-place writes, growth, the write
// buffer, search, Left, comparison and the internal checks.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

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

namespace {
const int nHdr = static_cast<int>(sizeof(clsStrData));

// Reaches the protected count of any reference-counted object.
struct RefCtProbe : clsRefCtObj {
    static int& RefCt(clsRefCtObj& obj) { return obj.*(&RefCtProbe::m_nRefCt); }
};

// Reaches the block a string holds.
struct StrProbe : clsStrBase {
    static clsStrData* Block(const clsStrBase& str) { return (str.*(&StrProbe::m_spstrData)).Get(); }
};

clsStrData* EmptyBlock()
{
    return clsRefCtPtr<clsStrData>::GetEmptyObj();
}

// True when u is the usable size of the smallest 16-byte-step block that
// holds n characters and the zero byte.
::testing::AssertionResult SizedFor(int u, int n)
{
    if (u >= n + 1 && u <= n + 16 && (u + nHdr) % 16 == 0)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "usable size " << u << " does not fit length " << n;
}

std::string TextOf(const clsStrBase& str)
{
    return std::string(static_cast<const char*>(str), static_cast<size_t>(str.GetLength()));
}

// A block of n characters 'a', 'b', ... (count 0, no holder).
clsStrData* MakeBlock(int n)
{
    clsStrData* p = new (n) clsStrData(n);
    for (int i = 0; i < n; ++i)
        p->m_ptrData[i] = static_cast<char>('a' + i % 26);
    return p;
}
} // namespace

// ===========================================================================
// Character blocks
// ===========================================================================

TEST(StrData, BlockSizesGoIn16ByteSteps)
{
    for (int n = 0; n <= 100; ++n) {
        clsStrData* p = new (n) clsStrData(n);
        EXPECT_EQ(p->m_nDataLen, n);
        EXPECT_EQ(p->m_ptrData, reinterpret_cast<char*>(p) + nHdr) << n;
        EXPECT_EQ(p->m_ptrData[n], 0) << n;
        EXPECT_EQ(p->GetRefCt(), 0);
        EXPECT_TRUE(SizedFor(p->m_nAllocSiz, n));
        // The whole character area is writable (a sanitizer build would catch
        // a usable size larger than the allocation).
        std::memset(p->m_ptrData, 'x', static_cast<size_t>(p->m_nAllocSiz));
        delete p;
    }
}

TEST(StrData, EmptyRequestGivesTerminatedBlock)
{
    clsStrData* p = new (0) clsStrData(0);
    EXPECT_STREQ(p->m_ptrData, "");
    EXPECT_GE(p->m_nAllocSiz, 1);
    delete p;
}

TEST(StrData, CloneIsSizedForTheLength)
{
    clsStrData* p = MakeBlock(40);
    p->m_nDataLen = 3; // a long block that now holds a short text
    p->m_ptrData[3] = 0;
    clsStrData* q = p->Clone();
    EXPECT_NE(q, p);
    EXPECT_EQ(q->GetRefCt(), 0);
    EXPECT_EQ(q->m_nDataLen, 3);
    EXPECT_STREQ(q->m_ptrData, "abc");
    EXPECT_TRUE(SizedFor(q->m_nAllocSiz, 3));
    delete q;
    delete p;
}

TEST(StrData, EmptyBlockIsSharedAndUncounted)
{
    clsStrData* p = EmptyBlock();
    EXPECT_EQ(p, EmptyBlock());
    EXPECT_EQ(p, clsRefCtPtr<clsStrData>::InitEmptyObj());
    EXPECT_EQ(p->GetRefCt(), 2);
    EXPECT_TRUE(p->IsShared());
    EXPECT_FALSE(p->IsUnshareable());
    EXPECT_EQ(p->m_nDataLen, 0);
    EXPECT_EQ(p->m_nAllocSiz, 0);
    EXPECT_STREQ(p->m_ptrData, "");
    {
        clsStrBase astr[3];
        clsStrBase strCopy(astr[0]);
        EXPECT_EQ(StrProbe::Block(strCopy), p);
        EXPECT_EQ(p->GetRefCt(), 2);
    }
    EXPECT_EQ(p->GetRefCt(), 2);
}

TEST(RefCtPtr, CopyOfCountedBlockIsAPrivateClone)
{
    clsStrData* p = MakeBlock(5);
    clsRefCtPtr<clsStrData> sp1(p);
    EXPECT_EQ(sp1.Get(), p);
    EXPECT_EQ(p->GetRefCt(), 1);
    EXPECT_FALSE(p->IsShared());

    clsRefCtPtr<clsStrData> sp2(sp1);
    EXPECT_NE(sp2.Get(), p);
    EXPECT_EQ(sp2->GetRefCt(), 1);
    EXPECT_EQ(p->GetRefCt(), 1);
    EXPECT_EQ(std::string(sp2->m_ptrData), "abcde");

    clsRefCtPtr<clsStrData> sp3(nullptr);
    sp3 = sp1; // assignment clones too
    EXPECT_NE(sp3.Get(), p);
    EXPECT_NE(sp3.Get(), sp2.Get());
    EXPECT_EQ(std::string(sp3->m_ptrData), "abcde");
    EXPECT_EQ(p->GetRefCt(), 1);
}

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

TEST(RefCtPtr, UnshareableBlockIsClonedAndKeepsItsCount)
{
    clsStrData* p = MakeBlock(3);
    RefCtProbe::RefCt(*p) = -1;
    EXPECT_TRUE(p->IsUnshareable());
    {
        clsRefCtPtr<clsStrData> sp(p);
        EXPECT_NE(sp.Get(), p);
        EXPECT_EQ(sp->GetRefCt(), 1);
        EXPECT_STREQ(sp->m_ptrData, "abc");
        EXPECT_EQ(p->GetRefCt(), -1);

        clsRefCtPtr<clsStrData> sp2(nullptr);
        sp2 = p;
        EXPECT_NE(sp2.Get(), p);
        EXPECT_EQ(p->GetRefCt(), -1);
    }
    EXPECT_EQ(p->GetRefCt(), -1);
    p->Release(); // a count at or below 0 deletes
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

TEST(StrMem, AllocReportsTheSizeGiven)
{
    UINT nActual = 0;
    void* p = AllocStrMem(80, &nActual);
    EXPECT_EQ(nActual, 80u);
    std::memset(p, 0, 80);
    FreeStrMem(p, nActual);
}

TEST(StrDataDeathTest, Assertions)
{
    EXPECT_DEATH((void)clsStrData::operator new(sizeof(clsStrData) + 8, 3),
                 "!!\\(uSiz == sizeof\\( clsStrData \\)\\)");
    EXPECT_DEATH(clsStrData::operator delete(nullptr, sizeof(clsStrData)),
                 "!!\\(ptr && uSiz == sizeof\\( clsStrData \\)\\)");
    struct Obj : clsRefCtObj {};
    Obj obj;
    RefCtProbe::RefCt(obj) = -1;
    EXPECT_DEATH(obj.AddRef(), "!!\\(m_nRefCt >= 0\\)");
}

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

TEST(StrBase, Construction)
{
    struct Case {
        clsStrBase str;
        std::string strExpected;
    };
    const Case acase[] = {
        {clsStrBase('x', 3), "xxx"},
        {clsStrBase("hello", -1), "hello"},
        {clsStrBase("hello", 3), "hel"},
        {clsStrBase("a\0b\0", 4), std::string("a\0b\0", 4)},
        {clsStrBase(CString("std")), "std"},
        {clsStrBase(CString("x\0y", 3)), std::string("x\0y", 3)},
    };
    for (const Case& c : acase) {
        EXPECT_EQ(TextOf(c.str), c.strExpected);
        EXPECT_FALSE(c.str.IsShared());
        EXPECT_EQ(static_cast<const char*>(c.str)[c.str.GetLength()], 0);
        EXPECT_TRUE(SizedFor(c.str.GetAllocSiz(), c.str.GetLength()));
    }
}

TEST(StrBase, CopyIsAPrivateCopySizedForItsLength)
{
    clsStrBase str(std::string(20, 'a'));
    str = "xy"; // in place: the block stays large
    ASSERT_TRUE(SizedFor(str.GetAllocSiz(), 20));
    clsStrBase strCopy(str);
    EXPECT_EQ(TextOf(strCopy), "xy");
    EXPECT_NE(static_cast<const char*>(strCopy), static_cast<const char*>(str));
    EXPECT_TRUE(SizedFor(strCopy.GetAllocSiz(), 2));
    strCopy.SetAt(0, 'Q');
    EXPECT_EQ(TextOf(str), "xy");
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

TEST(StrBase, FindStopsAtTheFirstZeroByte)
{
    const clsStrBase str("ab\0cd", 5);
    const clsStrBase strPlain("abcb", -1);
    struct Case {
        const clsStrBase& str;
        char ch;
        int nExpected;
    };
    const Case acase[] = {
        {strPlain, 'b', 1}, {strPlain, 'a', 0},  {strPlain, 'z', -1}, {strPlain, '\0', 4},
        {str, 'b', 1},      {str, 'c', -1},      {str, '\0', 2},      {clsStrBase(), '\0', 0},
        {clsStrBase(), 'a', -1},
    };
    for (const Case& c : acase)
        EXPECT_EQ(c.str.Find(c.ch), c.nExpected) << TextOf(c.str) << " / " << int(c.ch);
}

TEST(StrBase, Left)
{
    const clsStrBase str("hello", -1);
    struct Case {
        int nCount;
        const char* pszExpected;
    };
    const Case acase[] = {{-5, ""}, {0, ""}, {1, "h"}, {4, "hell"}, {5, "hello"}, {99, "hello"}};
    for (const Case& c : acase) {
        clsStrBase strLeft = str.Left(c.nCount);
        EXPECT_EQ(TextOf(strLeft), c.pszExpected) << c.nCount;
        if (strLeft.GetLength() > 0) {
            EXPECT_NE(static_cast<const char*>(strLeft), static_cast<const char*>(str));
            EXPECT_TRUE(SizedFor(strLeft.GetAllocSiz(), strLeft.GetLength()));
        }
    }
    // Inner zero bytes are characters.
    EXPECT_EQ(TextOf(clsStrBase("a\0bc", 4).Left(3)), std::string("a\0b", 3));
}

TEST(StrBase, GetAtAndSetAt)
{
    clsStrBase str("abc", -1);
    EXPECT_EQ(str.GetAt(0), 'a');
    EXPECT_EQ(str[2], 'c');
    str.SetAt(1, 'X');
    EXPECT_EQ(TextOf(str), "aXc");
    str.SetAt(1, '\0'); // a zero byte is stored like any character
    EXPECT_EQ(str.GetLength(), 3);
    EXPECT_EQ(str.GetAt(2), 'c');
    EXPECT_STREQ(str, "a");
    EXPECT_EQ(str.Find('c'), -1);
}

TEST(StrBase, Comparison)
{
    const clsStrBase str("abc", -1);
    char szMutable[] = "abc";
    const char* pszNull = nullptr;
    EXPECT_TRUE(str == clsStrBase("abc", -1));
    EXPECT_FALSE(str != clsStrPlus("abc", -1));
    EXPECT_TRUE(str != clsStrBase("abd", -1));
    EXPECT_TRUE(str != clsStrBase("ab", -1));
    EXPECT_TRUE(clsStrBase("ab", -1) != str);
    EXPECT_TRUE(clsStrBase("a\0b", 3) != clsStrBase("a\0c", 3));
    EXPECT_TRUE(clsStrBase("a\0b", 3) == clsStrBase("a\0b", 3));
    EXPECT_TRUE(clsStrBase() == clsStrBase("x", 0));
    EXPECT_TRUE(str == "abc");
    EXPECT_TRUE("abc" == str);
    EXPECT_TRUE(str == szMutable);
    EXPECT_TRUE(szMutable == str);
    EXPECT_TRUE(str != "abcd");
    EXPECT_TRUE("ab" != str);
    EXPECT_FALSE(str != szMutable);
    EXPECT_TRUE(clsStrBase() == pszNull);
    EXPECT_TRUE(clsStrBase() == "");
    EXPECT_TRUE(str != pszNull);
    // The text comparison covers the whole string, inner zeros included.
    EXPECT_TRUE(clsStrBase("a\0b", 3) != "a");
    EXPECT_EQ(str == "abc", 1);
    EXPECT_EQ(str != "abc", 0);
}

namespace {
template <class A, class B, class = void>
struct IsEqComparable : std::false_type {};
template <class A, class B>
struct IsEqComparable<A, B, std::void_t<decltype(std::declval<A>() == std::declval<B>())>> : std::true_type {};
} // namespace

// A number never converts into a string comparison.
static_assert(IsEqComparable<const clsStrBase&, const char*>::value, "text comparison");
static_assert(IsEqComparable<const clsStrPlus&, const clsStrPlus&>::value, "string comparison");
static_assert(!IsEqComparable<const clsStrBase&, int>::value, "no int comparison");
static_assert(!IsEqComparable<const clsStrPlus&, long>::value, "no long comparison");
static_assert(!IsEqComparable<double, const clsStrPlus&>::value, "no double comparison");

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

TEST(StrBaseDeathTest, SubscriptAndLengthChecks)
{
    clsStrBase str("abc", -1);
    const char* pszSetLength = "!!\\(!IsShared\\(\\) && nDataLen >= 0 && m_spstrData->m_nAllocSiz > nDataLen\\)";
    EXPECT_DEATH(str.GetAt(-1), "!!\\(nSubscript >= 0\\)");
    EXPECT_DEATH(str.GetAt(3), "!!\\(nSubscript < GetLength\\(\\)\\)");
    EXPECT_DEATH((void)str[3], "!!\\(nSubscript < GetLength\\(\\)\\)");
    EXPECT_DEATH(str.SetAt(-1, 'x'), "!!\\(nSubscript >= 0\\)");
    EXPECT_DEATH(str.SetAt(3, 'x'), "!!\\(nSubscript < GetLength\\(\\)\\)");
    EXPECT_DEATH(clsStrBase().GetAt(0), "!!\\(nSubscript < GetLength\\(\\)\\)");
    EXPECT_DEATH(clsStrBase().ReleaseWriteBuf(0), pszSetLength);
    EXPECT_DEATH(str.ReleaseWriteBuf(str.GetAllocSiz()), pszSetLength);
}
