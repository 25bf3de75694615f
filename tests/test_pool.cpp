// The fixed-size block pool: blocks of 16 elements with a free list
// (clsPoolBlock, clsFixedPool), and PoolAllocFree's size classes.
//
// PoolAllocFree's four pools are statics of that function, so its tests
// observe them only through what it gives out: two sizes share a pool exactly
// when an element released under one is given out again under the other.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <set>
#include <vector>

#include "tvncstrb.h"

namespace {
void* LinkOf(void* pElem)
{
    void* pNext;
    std::memcpy(&pNext, pElem, sizeof(pNext));
    return pNext;
}

void* PoolAlloc(UINT nSiz, UINT* pnActual)
{
    void* p = nullptr;
    PoolAllocFree(1, nSiz, &p, pnActual);
    return p;
}

void PoolRelease(UINT nSiz, void* p)
{
    UINT nUntouched = 4242;
    PoolAllocFree(0, nSiz, &p, &nUntouched);
    EXPECT_EQ(nUntouched, 4242u) << "a release reports no size";
}
} // namespace

TEST(PoolBlock, ChainsItsSixteenElementsInAddressOrder)
{
    for (int nElemSiz : {32, 64, 128, 256}) {
        clsPoolBlock block(nElemSiz);
        EXPECT_EQ(block.m_ptrNext, nullptr);
        ASSERT_NE(block.m_ptrElems, nullptr);
        for (int k = 0; k < 16; ++k) {
            void* pElem = block.m_ptrElems + k * nElemSiz;
            void* pExpected = k < 15 ? block.m_ptrElems + (k + 1) * nElemSiz : nullptr;
            EXPECT_EQ(LinkOf(pElem), pExpected) << nElemSiz << " / " << k;
        }
    }
}

TEST(FixedPool, OneBlockPerSixteenElementsNewestFirst)
{
    clsFixedPool pool(64);
    EXPECT_EQ(pool.m_nElemSiz, 64);
    EXPECT_EQ(pool.m_ptrFree, nullptr);
    EXPECT_EQ(pool.m_ptrBlocks, nullptr);

    std::vector<unsigned char*> apElem;
    for (int i = 0; i < 16; ++i)
        apElem.push_back(static_cast<unsigned char*>(pool.Alloc()));
    clsPoolBlock* pFirst = pool.m_ptrBlocks;
    ASSERT_NE(pFirst, nullptr);
    EXPECT_EQ(pFirst->m_ptrNext, nullptr);
    // A fresh block gives out its elements in address order, one size apart.
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(apElem[i], pFirst->m_ptrElems + i * 64) << i;
    EXPECT_EQ(pool.m_ptrFree, nullptr);

    // Every element holds its whole size (a sanitizer build checks the bounds).
    for (int i = 0; i < 16; ++i)
        std::memset(apElem[i], i, 64);
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(apElem[i][63], i);

    // The 17th makes a second block, which heads the list.
    unsigned char* p17 = static_cast<unsigned char*>(pool.Alloc());
    clsPoolBlock* pSecond = pool.m_ptrBlocks;
    EXPECT_NE(pSecond, pFirst);
    EXPECT_EQ(pSecond->m_ptrNext, pFirst);
    EXPECT_EQ(p17, pSecond->m_ptrElems);
    EXPECT_EQ(pool.m_ptrFree, pSecond->m_ptrElems + 64);
    EXPECT_EQ(pool.Alloc(), pSecond->m_ptrElems + 64);

    // Freed elements come back last-freed first, before any fresh one, and
    // make no new block.
    pool.Free(apElem[3]);
    pool.Free(apElem[9]);
    EXPECT_EQ(pool.m_ptrFree, apElem[9]);
    EXPECT_EQ(pool.Alloc(), apElem[9]);
    EXPECT_EQ(pool.Alloc(), apElem[3]);
    EXPECT_EQ(pool.Alloc(), pSecond->m_ptrElems + 2 * 64);
    EXPECT_EQ(pool.m_ptrBlocks, pSecond);
    // The pool's destructor frees both blocks (leak-checked in a sanitizer build).
}

TEST(FixedPool, FreeThenAllocReturnsTheSameElement)
{
    clsFixedPool pool(32);
    void* p = pool.Alloc();
    void* q = pool.Alloc();
    EXPECT_EQ(static_cast<unsigned char*>(q) - static_cast<unsigned char*>(p), 32);
    pool.Free(p);
    EXPECT_EQ(pool.Alloc(), p);
    pool.Free(q);
    pool.Free(p);
    EXPECT_EQ(pool.Alloc(), p);
    EXPECT_EQ(pool.Alloc(), q);
}

TEST(FixedPool, ManyBlocksAreAllTornDown)
{
    clsFixedPool pool(256);
    std::set<void*> setElems;
    for (int i = 0; i < 16 * 5 + 1; ++i)
        setElems.insert(pool.Alloc());
    EXPECT_EQ(setElems.size(), 81u);
    int nBlocks = 0;
    for (clsPoolBlock* p = pool.m_ptrBlocks; p; p = p->m_ptrNext)
        ++nBlocks;
    EXPECT_EQ(nBlocks, 6);
}

TEST(PoolAllocFree, ReportsTheSizeOfItsClass)
{
    struct Case {
        UINT nSiz;
        UINT nActual;
    };
    const Case acase[] = {{0, 32},    {1, 32},    {32, 32},   {33, 64},    {64, 64},     {65, 128},
                          {128, 128}, {129, 256}, {256, 256}, {257, 257}, {1000, 1000}};
    for (const Case& c : acase) {
        UINT nActual = 0;
        void* p = PoolAlloc(c.nSiz, &nActual);
        ASSERT_NE(p, nullptr);
        EXPECT_EQ(nActual, c.nActual) << c.nSiz;
        std::memset(p, 0xAB, nActual); // the whole reported size is usable
        PoolRelease(c.nSiz, p);
    }
}

TEST(PoolAllocFree, SizesOfOneClassShareOnePool)
{
    // {smallest, largest} of each pooled class.
    const UINT anClass[][2] = {{0, 32}, {33, 64}, {65, 128}, {129, 256}};
    for (const auto& an : anClass) {
        UINT nActual = 0;
        void* p = PoolAlloc(an[0], &nActual);
        PoolRelease(an[1], p);
        EXPECT_EQ(PoolAlloc(an[1], &nActual), p) << an[0] << ".." << an[1];
        PoolRelease(an[0], p);
        // The next size up is another pool: the released element stays.
        void* q = PoolAlloc(an[1] + 1, &nActual);
        EXPECT_NE(q, p) << an[1] + 1;
        PoolRelease(an[1] + 1, q);
        EXPECT_EQ(PoolAlloc(an[0], &nActual), p);
        PoolRelease(an[0], p);
    }
}

TEST(PoolAllocFree, ReleasedElementsComeBackLastFreedFirst)
{
    UINT nActual = 0;
    std::vector<void*> ap;
    for (int i = 0; i < 3; ++i)
        ap.push_back(PoolAlloc(200, &nActual));
    EXPECT_EQ(nActual, 256u);
    std::set<void*> setDistinct(ap.begin(), ap.end());
    EXPECT_EQ(setDistinct.size(), 3u);
    for (void* p : ap)
        PoolRelease(200, p);
    EXPECT_EQ(PoolAlloc(200, &nActual), ap[2]);
    EXPECT_EQ(PoolAlloc(200, &nActual), ap[1]);
    EXPECT_EQ(PoolAlloc(200, &nActual), ap[0]);
    for (void* p : ap)
        PoolRelease(200, p);
}

TEST(PoolAllocFree, ReleaseBuildsAMissingPoolFirst)
{
    // The first call of this test's class is a release (under CTest each test
    // runs in a process of its own, so the pool of 65..128 bytes does not exist
    // yet). The element is then given out again from that pool.
    alignas(std::max_align_t) static unsigned char abElem[128];
    PoolRelease(100, abElem);
    UINT nActual = 0;
    EXPECT_EQ(PoolAlloc(65, &nActual), abElem);
    EXPECT_EQ(nActual, 128u);
}

TEST(PoolAllocFree, AboveTheLargestClassUsesTheHeap)
{
    UINT nActual = 0;
    void* p = PoolAlloc(257, &nActual);
    EXPECT_EQ(nActual, 257u);
    std::memset(p, 1, 257);
    PoolRelease(257, p); // a heap release; a sanitizer build checks the pairing
    void* q = PoolAlloc(4096, &nActual);
    EXPECT_EQ(nActual, 4096u);
    std::memset(q, 2, 4096);
    PoolRelease(4096, q);
}

TEST(PoolAllocFree, ReleasingNullDoesNothingAtEverySize)
{
    // 16 and 32 fall in the pool of 32 bytes, 200 in the pool of 256, 300 on
    // the heap. An element released first must come back after the null
    // release: a null pushed onto the free list would lose it.
    for (UINT nSiz : {16u, 32u, 200u, 300u}) {
        UINT nActual = 0;
        void* pElem = PoolAlloc(nSiz, &nActual);
        ASSERT_NE(pElem, nullptr);
        PoolRelease(nSiz, pElem);

        void* pNull = nullptr;
        UINT nUntouched = 4242;
        PoolAllocFree(0, nSiz, &pNull, &nUntouched);
        EXPECT_EQ(pNull, nullptr) << nSiz;
        EXPECT_EQ(nUntouched, 4242u) << nSiz;

        void* pNext = PoolAlloc(nSiz, &nActual);
        ASSERT_NE(pNext, nullptr) << nSiz;
        if (nSiz <= 256) {
            EXPECT_EQ(pNext, pElem) << nSiz;
        }
        std::memset(pNext, 0x5A, nActual);
        PoolRelease(nSiz, pNext);
    }
}
