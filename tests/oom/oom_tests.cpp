// Exhausted memory. The global operator new of this binary can be told to
// fail the k-th allocation with std::bad_alloc. Every operation that writes a
// number is run once without failure for its result, then again for every k
// until it completes without reaching the k-th allocation; after each
// std::bad_alloc every number involved must hold either its value from before
// or the complete result, and pass its validity check. The exception's line
// must come without any allocation at all.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <new>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "tv_test_util.h"
#include "tvdcndf.h"

// ---------------------------------------------------------------------------
// The allocator. While armed it counts the calls of operator new; the one
// numbered nFailAt fails, and with bSticky every one after it too.
// ---------------------------------------------------------------------------
namespace {
struct AllocFault {
    bool bArmed = false;
    bool bSticky = false;
    long nCount = 0;
    long nFailAt = 0;
    bool bHit = false;
};
AllocFault g_fault;

void Arm(long nFailAt, bool bSticky)
{
    g_fault = AllocFault{true, bSticky, 0, nFailAt, false};
}

// Stops failing; gives whether an allocation was failed.
bool Disarm()
{
    g_fault.bArmed = false;
    return g_fault.bHit;
}
} // namespace

void* operator new(size_t nSiz)
{
    if (g_fault.bArmed) {
        ++g_fault.nCount;
        if (g_fault.nCount == g_fault.nFailAt || (g_fault.bSticky && g_fault.nCount > g_fault.nFailAt)) {
            g_fault.bHit = true;
            throw std::bad_alloc();
        }
    }
    void* p = std::malloc(nSiz ? nSiz : 1);
    if (!p)
        throw std::bad_alloc();
    return p;
}
void* operator new[](size_t nSiz)
{
    return ::operator new(nSiz);
}
void* operator new(size_t nSiz, const std::nothrow_t&) noexcept
{
    try {
        return ::operator new(nSiz);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](size_t nSiz, const std::nothrow_t&) noexcept
{
    return ::operator new(nSiz, std::nothrow);
}
namespace {
// Out of line, so that the compiler does not pair a call of the replaced
// operator new with free() and warn of a mismatch.
[[gnu::noinline]] void ReleaseBlock(void* p) noexcept
{
    std::free(p);
}
} // namespace
void operator delete(void* p) noexcept
{
    ReleaseBlock(p);
}
void operator delete[](void* p) noexcept
{
    ReleaseBlock(p);
}
void operator delete(void* p, size_t) noexcept
{
    ReleaseBlock(p);
}
void operator delete[](void* p, size_t) noexcept
{
    ReleaseBlock(p);
}

namespace {

// ---------------------------------------------------------------------------
// Scenes: five numbers, each at its own length and scale. x is the usual
// target, y and z the operands (with more decimals than x), q and r the
// targets of Divide.
// ---------------------------------------------------------------------------
struct NumSpec {
    int nLen;
    int nScale;
    const char* pszValue; // nullptr: the null value
};

struct Scene {
    const char* pszName;
    NumSpec x, y, z, q, r;
};

clsNumDbFld MakeNum(const NumSpec& spec)
{
    clsNumDbFld num(spec.nLen, spec.nScale);
    if (spec.pszValue)
        num = spec.pszValue;
    return num;
}

struct Nums {
    explicit Nums(const Scene& scene)
        : pScene(&scene),
          x(MakeNum(scene.x)),
          y(MakeNum(scene.y)),
          z(MakeNum(scene.z)),
          q(MakeNum(scene.q)),
          r(MakeNum(scene.r))
    {
    }
    static constexpr int nCount = 5;
    clsNumDbFld& operator[](int i) { return i == 0 ? x : i == 1 ? y : i == 2 ? z : i == 3 ? q : r; }
    static const char* Name(int i) { return i == 0 ? "x" : i == 1 ? "y" : i == 2 ? "z" : i == 3 ? "q" : "r"; }

    const Scene* pScene;
    clsNumDbFld x, y, z, q, r;
};

// What a number holds, read without validating it.
struct State {
    int nLen;
    int nScale;
    std::string strPacked; // the packed bytes as the tables write them
    std::string strText;
    bool operator==(const State& other) const
    {
        return nLen == other.nLen && nScale == other.nScale && strPacked == other.strPacked;
    }
};

std::ostream& operator<<(std::ostream& os, const State& st)
{
    return os << "(" << st.nLen << ", " << st.nScale << ") '" << st.strText << "' [" << st.strPacked << "]";
}

State StateOf(const clsNumDbFld& num)
{
    return State{NumProbe::Len(num), NumProbe::Scale(num), PackedText(num), TextOf(num)};
}

struct Snapshot {
    State aState[Nums::nCount];
    int nCode = 0; // the clsUtilException the operation raised, 0 for none
};

Snapshot SnapshotOf(Nums& nums)
{
    Snapshot snap;
    for (int i = 0; i < Nums::nCount; ++i)
        snap.aState[i] = StateOf(nums[i]);
    return snap;
}

// ---------------------------------------------------------------------------
// The writing operations.
// ---------------------------------------------------------------------------
enum class Start { Scene, Zero, Null };

struct OpCase {
    const char* pszName;
    Start start; // what x holds before the operation
    void (*pfnOp)(Nums& n);
};

// clang-format off
const OpCase aOps[] = {
    {"AssignNumber",           Start::Scene, [](Nums& n) { n.x = n.y; }},
    {"AssignNumberIntoNull",   Start::Null,  [](Nums& n) { n.x = n.y; }},
    {"AddAssign",              Start::Scene, [](Nums& n) { n.x += n.y; }},
    {"AddAssignOnZero",        Start::Zero,  [](Nums& n) { n.x += n.y; }},
    {"AddAssignOnNull",        Start::Null,  [](Nums& n) { n.x += n.y; }},
    {"SubtractAssign",         Start::Scene, [](Nums& n) { n.x -= n.y; }},
    {"SubtractAssignOnZero",   Start::Zero,  [](Nums& n) { n.x -= n.y; }},
    {"SubtractAssignOnNull",   Start::Null,  [](Nums& n) { n.x -= n.y; }},
    {"SubtractAssignItself",   Start::Scene, [](Nums& n) { n.x -= n.x; }},
    {"MultiplyAssign",         Start::Scene, [](Nums& n) { n.x *= n.y; }},
    {"MultiplyAssignByNull",   Start::Scene, [](Nums& n) { n.x *= clsNumDbFld(10, 2); }},
    {"DivideAssign",           Start::Scene, [](Nums& n) { n.x /= n.y; }},
    {"ModuloAssign",           Start::Scene, [](Nums& n) { n.x %= n.y; }},
    {"ModuloAssignOnZero",     Start::Zero,  [](Nums& n) { n.x %= n.y; }},
    {"AssignSum",              Start::Scene, [](Nums& n) { n.x = n.y + n.z; }},
    {"AssignDifference",       Start::Scene, [](Nums& n) { n.x = n.y - n.z; }},
    {"AssignProduct",          Start::Scene, [](Nums& n) { n.x = n.y * n.z; }},
    {"AssignQuotient",         Start::Scene, [](Nums& n) { n.x = n.y / n.z; }},
    {"AssignRemainder",        Start::Scene, [](Nums& n) { n.x = n.y % n.z; }},
    {"AssignSumWithInt",       Start::Scene, [](Nums& n) { n.x = n.y + 7; }},
    {"DivideQuotient",         Start::Scene, [](Nums& n) { n.y.Divide(n.z, &n.q, nullptr); }},
    {"DivideBoth",             Start::Scene, [](Nums& n) { n.y.Divide(n.z, &n.q, &n.r); }},
    {"DivideDividendQuotient", Start::Scene, [](Nums& n) { n.y.Divide(n.z, &n.y, &n.r); }},
    {"DivideDividendRemainder",Start::Scene, [](Nums& n) { n.y.Divide(n.z, &n.q, &n.y); }},
    {"DivideZeroDividend",     Start::Zero,  [](Nums& n) { n.x.Divide(n.z, &n.q, &n.r); }},
    {"AssignPow",              Start::Scene, [](Nums& n) { n.x = n.y.Pow(3); }},
    {"AssignNegativePow",      Start::Scene, [](Nums& n) { n.x = n.y.Pow(-2); }},
    {"AssignIntegerPart",      Start::Scene, [](Nums& n) { n.x = n.y.GetIntegerPart(); }},
    {"AssignDecimalPart",      Start::Scene, [](Nums& n) { n.x = n.y.GetDecimalPart(); }},
    {"ParseStr",               Start::Scene, [](Nums& n) { n.x.ParseStr(n.pScene->y.pszValue); }},
    {"AssignLong",             Start::Scene, [](Nums& n) { n.x = -1234567L; }},
    {"AssignLongZero",         Start::Scene, [](Nums& n) { n.x = 0L; }},
    {"AssignLongOne",          Start::Scene, [](Nums& n) { n.x = 1L; }},
    {"AssignULong",            Start::Scene, [](Nums& n) { n.x = 4294967295UL; }},
    {"AssignDouble",           Start::Scene, [](Nums& n) { n.x = -98765.4321; }},
    {"AssignDoubleZero",       Start::Scene, [](Nums& n) { n.x = 0.0; }},
    {"AssignDoubleOne",        Start::Scene, [](Nums& n) { n.x = 1.0; }},
    {"SetLenScaleShrinks",     Start::Scene, [](Nums& n) { n.x.SetLenScale(NumProbe::Len(n.x) - 2, NumProbe::Scale(n.x) - 1); }},
    {"SetLenScaleGrows",       Start::Scene, [](Nums& n) { n.x.SetLenScale(-1, NumProbe::Scale(n.x) + 1); }},
    {"Round",                  Start::Scene, [](Nums& n) { n.x.Round(1); }},
    {"Negate",                 Start::Scene, [](Nums& n) { n.x.Negate(); }},
    {"PrefixIncrement",        Start::Scene, [](Nums& n) { ++n.x; }},
    {"PostfixDecrement",       Start::Scene, [](Nums& n) { n.x--; }},
};

// x at (10, 2), (38, 8) and (100, 10); the operands carry more decimals.
const Scene aScenes[] = {
    {"L10S2",
     {10, 2, "500.25"},
     {38, 8, "123.45678912"},
     {20, 6, "-7.654321"},
     {10, 2, "11.11"},
     {10, 2, "-22.22"}},
    {"L38S8",
     {38, 8, "-98765.4321"},
     {60, 30, "12345.678901234567890123456789012345"},
     {50, 20, "-3.14159265358979323846"},
     {38, 8, "1.5"},
     {38, 8, "-2.5"}},
    {"L100",
     {100, 10, "-7777777777777777777777777777777777777777.1234567891"},
     {100, 60, "123456789012.123456789012345678901234567890123456789012345678901234567891"},
     {100, 50, "-98765.43210987654321098765432109876543210987654321098765"},
     {100, 10, "3.5"},
     {100, 10, "-4.5"}},
};
// clang-format on

// The scene with x as the case starts it.
Scene SceneFor(const Scene& scene, Start start)
{
    Scene out = scene;
    if (start == Start::Zero)
        out.x.pszValue = "0";
    else if (start == Start::Null)
        out.x.pszValue = nullptr;
    return out;
}

// Runs the operation, failing the nFailAt-th allocation (0: none). Gives
// whether that allocation was reached; *pbBadAlloc tells whether a
// std::bad_alloc escaped, *pnCode the code of a clsUtilException.
bool RunOp(const OpCase& op, Nums& nums, long nFailAt, bool* pbBadAlloc, int* pnCode)
{
    *pbBadAlloc = false;
    *pnCode = 0;
    Arm(nFailAt, false);
    try {
        op.pfnOp(nums);
    } catch (const std::bad_alloc&) {
        *pbBadAlloc = true;
    } catch (const clsUtilException& e) {
        *pnCode = e.m_nErrCode;
    }
    return Disarm();
}

// The whole check for one operation in one scene.
void CheckEveryFailure(const Scene& scene, const OpCase& op)
{
    bool bBadAlloc = false;
    Snapshot before;
    Snapshot after;
    {
        Nums nums(scene);
        before = SnapshotOf(nums);
        int nCode = 0;
        RunOp(op, nums, 0, &bBadAlloc, &nCode);
        after = SnapshotOf(nums);
        after.nCode = nCode;
    }
    EXPECT_FALSE(bBadAlloc);

    for (long k = 1;; ++k) {
        if (k > 1000000) {
            ADD_FAILURE() << "no end after a million allocations";
            return;
        }
        Nums nums(scene);
        int nCode = 0;
        bool bHit = RunOp(op, nums, k, &bBadAlloc, &nCode);
        Snapshot now = SnapshotOf(nums);
        if (!bHit) {
            // The operation completed before its k-th allocation: a plain run.
            EXPECT_EQ(nCode, after.nCode);
            for (int i = 0; i < Nums::nCount; ++i)
                EXPECT_EQ(now.aState[i], after.aState[i]) << Nums::Name(i);
            return;
        }
        if (!bBadAlloc) {
            ADD_FAILURE() << "allocation " << k << " failed, but no std::bad_alloc came out (code " << nCode << ")";
            return;
        }
        for (int i = 0; i < Nums::nCount; ++i) {
            const State& st = now.aState[i];
            if (!(st == before.aState[i]) && !(st == after.aState[i])) {
                ADD_FAILURE() << "after allocation " << k << " failed, " << Nums::Name(i) << " holds " << st
                              << "\n  before:    " << before.aState[i] << "\n  result:    " << after.aState[i];
                return;
            }
            nums[i].CheckValid();
        }
    }
}

// The allocator itself: the k-th call fails, the ones around it do not, and
// the sticky form fails every call from the k-th on.
TEST(FailingAllocator, FailsTheKthAllocation)
{
    bool abFailed[4] = {};
    for (bool bSticky : {false, true}) {
        Arm(2, bSticky);
        for (bool& bFailed : abFailed) {
            bFailed = false;
            try {
                ::operator delete(::operator new(16));
            } catch (const std::bad_alloc&) {
                bFailed = true;
            }
        }
        const long nCount = g_fault.nCount;
        const bool bHit = Disarm();
        EXPECT_TRUE(bHit);
        EXPECT_EQ(nCount, 4);
        EXPECT_FALSE(abFailed[0]);
        EXPECT_TRUE(abFailed[1]);
        EXPECT_EQ(abFailed[2], bSticky);
        EXPECT_EQ(abFailed[3], bSticky);
    }
}

class EveryWriteUnderFailure : public ::testing::TestWithParam<std::pair<const Scene*, const OpCase*>> {};

TEST_P(EveryWriteUnderFailure, LeavesOldValueOrResult)
{
    const Scene scene = SceneFor(*GetParam().first, GetParam().second->start);
    CheckEveryFailure(scene, *GetParam().second);
}

std::vector<std::pair<const Scene*, const OpCase*>> AllCases()
{
    std::vector<std::pair<const Scene*, const OpCase*>> aCases;
    for (const Scene& scene : aScenes)
        for (const OpCase& op : aOps)
            aCases.emplace_back(&scene, &op);
    return aCases;
}

INSTANTIATE_TEST_SUITE_P(Ops, EveryWriteUnderFailure, ::testing::ValuesIn(AllCases()),
                         [](const auto& info) {
                             return std::string(info.param.first->pszName) + "_" + info.param.second->pszName;
                         });

// ---------------------------------------------------------------------------
// Operations that raise a clsUtilException keep the state that error leaves,
// also when an allocation fails on the way.
// ---------------------------------------------------------------------------
struct ErrorCase {
    const char* pszName;
    Scene scene;
    OpCase op;
    int nCode;
};

// clang-format off
const ErrorCase aErrorCases[] = {
    // The rounding carries 9.999 to 10.00, beyond one integer digit: null value.
    {"AssignCarryOverflow", {"", {3, 2, "1.5"}, {5, 3, "9.999"}, {3, 2, nullptr}, {3, 2, nullptr}, {3, 2, nullptr}},
     {"", Start::Scene, [](Nums& n) { n.x = n.y; }}, -2053},
    // Integer digits that do not fit: the value stays.
    {"AssignTooLarge", {"", {5, 2, "1.5"}, {38, 8, "123456.789"}, {3, 2, nullptr}, {3, 2, nullptr}, {3, 2, nullptr}},
     {"", Start::Scene, [](Nums& n) { n.x = n.y; }}, -2053},
    {"AddCarryOverflow", {"", {10, 2, "99999999.99"}, {38, 8, "0.005"}, {3, 2, nullptr}, {3, 2, nullptr}, {3, 2, nullptr}},
     {"", Start::Scene, [](Nums& n) { n.x += n.y; }}, -2053},
    {"ParseSecondPoint", {"", {10, 2, "1.5"}, {3, 2, nullptr}, {3, 2, nullptr}, {3, 2, nullptr}, {3, 2, nullptr}},
     {"", Start::Scene, [](Nums& n) { n.x.ParseStr("1.2.5"); }}, -2044},
    {"ParseTooLarge", {"", {10, 2, "1.5"}, {3, 2, nullptr}, {3, 2, nullptr}, {3, 2, nullptr}, {3, 2, nullptr}},
     {"", Start::Scene, [](Nums& n) { n.x.ParseStr("123456789"); }}, -2053},
    {"DivideByZero", {"", {10, 2, "1.5"}, {10, 2, "0"}, {3, 2, nullptr}, {3, 2, nullptr}, {3, 2, nullptr}},
     {"", Start::Scene, [](Nums& n) { n.x /= n.y; }}, -2046},
    {"RoundCarryOverflow", {"", {4, 2, "99.95"}, {3, 2, nullptr}, {3, 2, nullptr}, {3, 2, nullptr}, {3, 2, nullptr}},
     {"", Start::Scene, [](Nums& n) { n.x.Round(1); }}, -2053},
    {"SetLenScaleTooNarrow", {"", {10, 2, "500.25"}, {3, 2, nullptr}, {3, 2, nullptr}, {3, 2, nullptr}, {3, 2, nullptr}},
     {"", Start::Scene, [](Nums& n) { n.x.SetLenScale(4, 2); }}, -2053},
    {"PowZeroNegative", {"", {10, 2, "1.5"}, {10, 2, "0"}, {3, 2, nullptr}, {3, 2, nullptr}, {3, 2, nullptr}},
     {"", Start::Scene, [](Nums& n) { n.x = n.y.Pow(-1); }}, -2055},
};
// clang-format on

class ErrorsUnderFailure : public ::testing::TestWithParam<const ErrorCase*> {};

TEST_P(ErrorsUnderFailure, KeepTheErrorAndItsState)
{
    const ErrorCase& ec = *GetParam();
    {
        Nums nums(ec.scene);
        bool bBadAlloc = false;
        int nCode = 0;
        RunOp(ec.op, nums, 0, &bBadAlloc, &nCode);
        EXPECT_EQ(nCode, ec.nCode);
    }
    CheckEveryFailure(ec.scene, ec.op);
}

std::vector<const ErrorCase*> AllErrorCases()
{
    std::vector<const ErrorCase*> aCases;
    for (const ErrorCase& ec : aErrorCases)
        aCases.push_back(&ec);
    return aCases;
}

INSTANTIATE_TEST_SUITE_P(Errors, ErrorsUnderFailure, ::testing::ValuesIn(AllErrorCases()),
                         [](const auto& info) { return std::string(info.param->pszName); });

// ---------------------------------------------------------------------------
// The exception's line with every allocation failing: thrown, caught by value
// as both programs do, its line formed, copied, copied into a buffer, caught
// again as std::exception.
// ---------------------------------------------------------------------------
static_assert(noexcept(std::declval<const clsUtilException&>().what()), "what() is noexcept");

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcatch-value"
TEST(ExceptionWithoutMemory, WhatAndCopiesNeedNoAllocation)
{
    const char* pszLine = "Error: -2043  Attempt to assign multiple characters to a variable of single character type";
    char szWhat[128] = "";
    char szCopy[128] = "";
    char szErrorText[128] = "";
    char szStd[128] = "";
    int nCopyCode = 0;

    // The allocator does fail every allocation.
    Arm(1, true);
    bool bAllocFails = false;
    try {
        ::operator delete(::operator new(1)); // a call, which no optimizer removes
    } catch (const std::bad_alloc&) {
        bAllocFails = true;
    }
    Disarm();
    ASSERT_TRUE(bAllocFails);

    Arm(1, true);
    try {
        try {
            ThrowUtilException(-2043);
        } catch (clsUtilException e) {
            std::strcpy(szWhat, e.what());
            const clsUtilException eCopy(e); // a copy of an exception whose line is formed
            std::strcpy(szCopy, eCopy.what());
            nCopyCode = eCopy.m_nErrCode;
            e.GetErrorText(szErrorText, sizeof(szErrorText), nullptr);
            throw;
        }
    } catch (const std::exception& e) {
        std::strcpy(szStd, e.what());
    }
    const long nAllocs = g_fault.nCount;
    Disarm();

    EXPECT_EQ(nAllocs, 0);
    EXPECT_STREQ(szWhat, pszLine);
    EXPECT_STREQ(szCopy, pszLine);
    EXPECT_EQ(nCopyCode, -2043);
    EXPECT_STREQ(szErrorText, pszLine);
    EXPECT_STREQ(szStd, pszLine);
}
#pragma GCC diagnostic pop

// ---------------------------------------------------------------------------
// How many blocks the operations take when memory is there: none for an
// operation that writes a number whose block already holds its result, one
// (the result's own) for an operation that makes a new number.
// ---------------------------------------------------------------------------
template <class F>
long AllocationsOf(F&& fn)
{
    Arm(0, false);
    fn();
    const long nAllocs = g_fault.nCount;
    Disarm();
    return nAllocs;
}

TEST(Allocations, OperationsInPlaceTakeNoBlock)
{
    for (int nLen : {38, 100}) {
        SCOPED_TRACE(nLen);
        const clsNumDbFld numA = NumAt(nLen, 8, "-1234567890123456789.12345678");
        const clsNumDbFld numB = NumAt(nLen, 8, "98765432109.87654321");
        const clsNumDbFld numFine = NumAt(nLen, 10, "0.0123456789");
        clsNumDbFld numX = numA; // numX's block
        EXPECT_EQ(AllocationsOf([&] { numX = numA; }), 0);
        EXPECT_EQ(AllocationsOf([&] { numX += numB; }), 0);
        EXPECT_EQ(AllocationsOf([&] { numX -= numB; }), 0);
        EXPECT_EQ(AllocationsOf([&] { numX -= numA; }), 0); // zero
        EXPECT_EQ(AllocationsOf([&] { numX = numA; }), 0);
        EXPECT_EQ(AllocationsOf([&] { numX += numFine; }), 0); // rounded
        EXPECT_EQ(AllocationsOf([&] { numX *= numB; }), 0);
        EXPECT_EQ(AllocationsOf([&] { numX = numB; }), 0);
        EXPECT_EQ(AllocationsOf([&] { numX *= numX; }), 0);
        EXPECT_EQ(AllocationsOf([&] { numX = numA; }), 0);
        EXPECT_EQ(AllocationsOf([&] { numX.Round(3); }), 0);
        EXPECT_EQ(AllocationsOf([&] { numX.SetLenScale(nLen, 1); }), 0);
        EXPECT_EQ(AllocationsOf([&] { numX.Negate(); }), 0);
        EXPECT_EQ(AllocationsOf([&] { (void)numX.Compare(numA); }), 0);
        EXPECT_EQ(AllocationsOf([&] { (void)numX.CompareAbs(numA); }), 0);
        EXPECT_EQ(AllocationsOf([&] { numX.CheckValid(); }), 0);
        EXPECT_EQ(TextOf(numX), "1234567890123456789.1");
    }
}

// The division writes each target once, into the block the target has:
// none once that block holds the result, and a / b, a % b take only the new
// number's block.
TEST(Allocations, DivisionTakesNoBlockBeyondItsResults)
{
    for (int nLen : {38, 100}) {
        SCOPED_TRACE(nLen);
        const clsNumDbFld numA = NumAt(nLen, 8, "-1234567890123456789.12345678");
        const clsNumDbFld numB = NumAt(nLen, 8, "98765.4321");
        const clsNumDbFld numTen = NumAt(nLen, 8, "-10");
        clsNumDbFld numX = numA;
        numX /= numB; // the block for a quotient of this length
        EXPECT_EQ(AllocationsOf([&] { numX = numA; }), 0);
        EXPECT_EQ(AllocationsOf([&] { numX /= numB; }), 0);
        EXPECT_EQ(AllocationsOf([&] { numX = numA; }), 0);
        EXPECT_EQ(AllocationsOf([&] { numX /= numTen; }), 0); // by a power of ten
        EXPECT_EQ(AllocationsOf([&] { numX = numA; }), 0);
        EXPECT_EQ(AllocationsOf([&] { numX %= numB; }), 0);
        EXPECT_EQ(AllocationsOf([&] { numX %= numB; }), 0); // a dividend below the divisor
        EXPECT_EQ(TextOf(numX), "-74073.21315678");
        clsNumDbFld numDividend = numA;
        clsNumDbFld numQ = numA;
        clsNumDbFld numR = numA;
        EXPECT_EQ(AllocationsOf([&] { numDividend.Divide(numB, &numQ, &numR); }), 0);
        EXPECT_EQ(AllocationsOf([&] { numDividend.Divide(numB, &numQ, nullptr); }), 0);
        EXPECT_EQ(TextOf(numQ), "-12499999887343");
        EXPECT_EQ(TextOf(numR), "-74073.21315678");
        EXPECT_EQ(AllocationsOf([&] { clsNumDbFld numRes = numA / numB; }), 1);
        EXPECT_EQ(AllocationsOf([&] { clsNumDbFld numRes = numA % numB; }), 1);
    }
}

TEST(Allocations, NewNumbersTakeTheirOwnBlockOnly)
{
    for (int nLen : {38, 100}) {
        SCOPED_TRACE(nLen);
        const clsNumDbFld numA = NumAt(nLen, 8, "-1234567890.12345678");
        const clsNumDbFld numB = NumAt(nLen, 8, "98765.4321");
        const clsNumDbFld numFine = NumAt(nLen, 10, "0.0123456789");
        EXPECT_EQ(AllocationsOf([&] { clsNumDbFld numR = numA + numB; }), 1);
        EXPECT_EQ(AllocationsOf([&] { clsNumDbFld numR = numA - numB; }), 1);
        EXPECT_EQ(AllocationsOf([&] { clsNumDbFld numR = numA * numB; }), 1);
        EXPECT_EQ(AllocationsOf([&] { clsNumDbFld numR = numFine + numA; }), 1); // rounded first
        EXPECT_EQ(AllocationsOf([&] { clsNumDbFld numR = numB.Pow(3); }), 1);
        EXPECT_EQ(AllocationsOf([&] { clsNumDbFld numR = -numA; }), 1);
        EXPECT_EQ(AllocationsOf([&] { clsStrPlus strText = numA.GetText(); }), 1);
    }
}

// An assignment from a built-in value leaves no scratch text in the number:
// a copy of it takes the copy's one block.
TEST(Allocations, CopiesAfterAssignmentsFromBuiltInValuesTakeOneBlock)
{
    clsNumDbFld numX(38, 8);
    const std::function<void()> aAssign[] = {
        [&] { numX = -1234567890L; },
        [&] { numX = 4294967295UL; },
        [&] { numX = 98765; },
        [&] { numX = 2.5; },
    };
    for (const auto& fnAssign : aAssign) {
        fnAssign();
        EXPECT_EQ(AllocationsOf([&] { clsNumDbFld numCopy(numX); }), 1) << TextOf(numX);
    }
}

} // namespace
