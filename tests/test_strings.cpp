// Character blocks (clsStrData, clsRefCtPtr, the shared empty block) and the
// base string clsStrBase: sizes, ownership, construction, search, Left,
// comparison and the internal checks. What a string allocates and releases is
// tested in tests/heap, under an allocator that counts and scribbles.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>

#include "tv_string_util.h"
#include "tvncstrb.h"

namespace {
const int nHdr = static_cast<int>(sizeof(clsStrData));
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
    // Its characters follow its header, as an allocated block's do.
    EXPECT_EQ(p->m_ptrData, reinterpret_cast<char*>(p) + nHdr);
    EXPECT_EQ(p->Chars(), p->m_ptrData);
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
