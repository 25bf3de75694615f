// Timings of the number class's operations at (38, 8) and (100, 8), with the
// heap allocations each one makes.
//
// Each case cycles through 1024 operand pairs drawn once from a fixed seed:
//   - general pairs: 20 to 30 significant digits at (38, 8), 80 to 90 at
//     (100, 8); every operand has exactly 8 decimals (the last one non-zero)
//     and a random sign;
//   - multiplication pairs: with C the integer capacity (30 or 92), a has
//     C/2-3 to C/2+3 integer digits and b from C/2-3 to C less a's, so that
//     the product always fits;
//   - parse texts: 30 digits at (38, 8), 90 at (100, 8), 8 of them decimals.
// Every case runs once over all its pairs before it is timed; an error there
// stops the binary, so a timing never includes an error path.
//
// The counter allocs/op counts calls of the global operator new, which this
// binary replaces; the library takes all its heap memory through it.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "tvdcndf.h"

// ---------------------------------------------------------------------------
// Allocation counter. The benchmarks run on one thread, so a plain counter
// does, and adds no locked instruction to the timed loops.
// ---------------------------------------------------------------------------
namespace {
unsigned long long g_nAllocations = 0;

void* CountedAlloc(std::size_t nSize)
{
    ++g_nAllocations;
    return std::malloc(nSize != 0 ? nSize : 1);
}

// Kept out of line: inlined into a caller, the free() would meet the pointer
// of an operator new that the compiler takes for the standard one.
[[gnu::noinline]] void Release(void* p) noexcept { std::free(p); }
}  // namespace

void* operator new(std::size_t nSize)
{
    if (void* p = CountedAlloc(nSize))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t nSize) { return operator new(nSize); }
void* operator new(std::size_t nSize, const std::nothrow_t&) noexcept { return CountedAlloc(nSize); }
void* operator new[](std::size_t nSize, const std::nothrow_t&) noexcept { return CountedAlloc(nSize); }
void operator delete(void* p) noexcept { Release(p); }
void operator delete[](void* p) noexcept { Release(p); }
void operator delete(void* p, std::size_t) noexcept { Release(p); }
void operator delete[](void* p, std::size_t) noexcept { Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { Release(p); }

namespace {

constexpr int kScale = 8;
constexpr std::size_t kPairs = 1024;

enum class Op {
    Add,        // r = a + b
    Sub,        // r = a - b
    Mul,        // r = a * b (multiplication pairs)
    Div,        // r = a / b
    Mod,        // r = a % b
    AddAssign,  // x += b, then x += -b on the next pass over the pairs
    SubAssign,  // x -= b, then x -= -b on the next pass
    MulAssign,  // x = a; x *= b (multiplication pairs)
    DivAssign,  // x = a; x /= b
    Assign,     // x = a
    Parse,      // ParseStr into an existing number
    Text        // GetText
};

// A decimal text with nIntDigits integer digits (the first one non-zero, or
// none) and exactly kScale decimals, the last one non-zero.
std::string DrawText(std::mt19937_64& rng, int nIntDigits, bool bNegative)
{
    std::uniform_int_distribution<int> digit(0, 9), nonZero(1, 9);
    std::string s = bNegative ? "-" : "";
    for (int i = 0; i < nIntDigits; ++i)
        s += static_cast<char>('0' + (i == 0 ? nonZero(rng) : digit(rng)));
    if (nIntDigits == 0)
        s += '0';
    s += '.';
    for (int i = 0; i < kScale; ++i)
        s += static_cast<char>('0' + (i == kScale - 1 ? nonZero(rng) : digit(rng)));
    return s;
}

// The operands of one length, and the numbers that the in-place cases change.
struct Operands {
    int nLen;
    std::vector<clsNumDbFld> a, b, negB, mulA, mulB, x;
    std::vector<std::string> texts;
    clsNumDbFld parsed;

    explicit Operands(int nLength) : nLen(nLength), parsed(nLength, kScale)
    {
        const int nCap = nLen - kScale;
        const int nSigLo = nLen == 38 ? 20 : 80, nSigHi = nSigLo + 10;
        std::mt19937_64 rng(0x7465766e756dULL + static_cast<unsigned>(nLen));
        auto in = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        auto sign = [&rng]() { return (rng() & 1) != 0; };
        for (std::size_t i = 0; i < kPairs; ++i) {
            a.push_back(Make(DrawText(rng, in(nSigLo, nSigHi) - kScale, sign())));
            b.push_back(Make(DrawText(rng, in(nSigLo, nSigHi) - kScale, sign())));
            negB.push_back(-b.back());
            const int nIntA = in(nCap / 2 - 3, nCap / 2 + 3);
            mulA.push_back(Make(DrawText(rng, nIntA, sign())));
            mulB.push_back(Make(DrawText(rng, in(nCap / 2 - 3, nCap - nIntA), sign())));
            texts.push_back(DrawText(rng, (nLen == 38 ? 30 : 90) - kScale, sign()));
        }
        x = a;
    }
    clsNumDbFld Make(const std::string& text) const
    {
        clsNumDbFld num(nLen, kScale);
        num = text.c_str();
        return num;
    }
};

Operands& OperandsOf(int nLen)
{
    static Operands o38(38), o100(100);
    return nLen == 38 ? o38 : o100;
}

// One operation on pair i; bOddPass tells the in-place additions which way
// to go, so that x comes back to a after every two passes.
template <Op op>
inline void Step(Operands& o, std::size_t i, bool bOddPass)
{
    if constexpr (op == Op::Add) {
        clsNumDbFld r = o.a[i] + o.b[i];
        benchmark::DoNotOptimize(r);
    } else if constexpr (op == Op::Sub) {
        clsNumDbFld r = o.a[i] - o.b[i];
        benchmark::DoNotOptimize(r);
    } else if constexpr (op == Op::Mul) {
        clsNumDbFld r = o.mulA[i] * o.mulB[i];
        benchmark::DoNotOptimize(r);
    } else if constexpr (op == Op::Div) {
        clsNumDbFld r = o.a[i] / o.b[i];
        benchmark::DoNotOptimize(r);
    } else if constexpr (op == Op::Mod) {
        clsNumDbFld r = o.a[i] % o.b[i];
        benchmark::DoNotOptimize(r);
    } else if constexpr (op == Op::AddAssign) {
        o.x[i] += bOddPass ? o.negB[i] : o.b[i];
        benchmark::DoNotOptimize(o.x[i]);
    } else if constexpr (op == Op::SubAssign) {
        o.x[i] -= bOddPass ? o.negB[i] : o.b[i];
        benchmark::DoNotOptimize(o.x[i]);
    } else if constexpr (op == Op::MulAssign) {
        o.x[i] = o.mulA[i];
        o.x[i] *= o.mulB[i];
        benchmark::DoNotOptimize(o.x[i]);
    } else if constexpr (op == Op::DivAssign) {
        o.x[i] = o.a[i];
        o.x[i] /= o.b[i];
        benchmark::DoNotOptimize(o.x[i]);
    } else if constexpr (op == Op::Assign) {
        o.x[i] = o.a[i];
        benchmark::DoNotOptimize(o.x[i]);
    } else if constexpr (op == Op::Parse) {
        o.parsed.ParseStr(o.texts[i].c_str());
        benchmark::DoNotOptimize(o.parsed);
    } else if constexpr (op == Op::Text) {
        clsStrPlus text = o.a[i].GetText();
        benchmark::DoNotOptimize(text);
    }
}

// Untimed: one pass over every pair; the in-place cases then start again
// from x = a.
template <Op op>
void Rehearse(Operands& o)
{
    for (std::size_t i = 0; i < kPairs; ++i)
        Step<op>(o, i, false);
    o.x = o.a;
}

template <Op op>
void Run(benchmark::State& state, int nLen)
{
    Operands& o = OperandsOf(nLen);
    o.x = o.a;
    std::size_t i = 0;
    bool bOddPass = false;
    const unsigned long long nBefore = g_nAllocations;
    for (auto _ : state) {
        Step<op>(o, i, bOddPass);
        if (++i == kPairs) {
            i = 0;
            bOddPass = !bOddPass;
        }
    }
    const unsigned long long nAllocations = g_nAllocations - nBefore;
    state.counters["allocs/op"] =
        benchmark::Counter(static_cast<double>(nAllocations), benchmark::Counter::kAvgIterations);
}

template <Op op>
void Register(const char* pszName, int nLen)
{
    Rehearse<op>(OperandsOf(nLen));
    std::string name = std::string(pszName) + "/" + std::to_string(nLen);
    benchmark::RegisterBenchmark(name.c_str(), [nLen](benchmark::State& state) { Run<op>(state, nLen); });
}

template <Op op>
void RegisterBoth(const char* pszName)
{
    Register<op>(pszName, 38);
    Register<op>(pszName, 100);
}

void RegisterAll()
{
    RegisterBoth<Op::Add>("add");
    RegisterBoth<Op::Sub>("sub");
    RegisterBoth<Op::Mul>("mul");
    RegisterBoth<Op::Div>("div");
    RegisterBoth<Op::Mod>("mod");
    RegisterBoth<Op::AddAssign>("add_assign");
    RegisterBoth<Op::SubAssign>("sub_assign");
    RegisterBoth<Op::MulAssign>("assign_then_mul_assign");
    RegisterBoth<Op::DivAssign>("assign_then_div_assign");
    RegisterBoth<Op::Assign>("assign");
    RegisterBoth<Op::Parse>("parse");
    RegisterBoth<Op::Text>("text");
}

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    try {
        RegisterAll();
    } catch (const clsUtilException& e) {
        std::fprintf(stderr, "an operation failed on the benchmark's operands: %s\n", e.what());
        return 1;
    }
    benchmark::AddCustomContext("operands",
                                "1024 pairs a length; (38,8): 20-30 significant digits, (100,8): 80-90, "
                                "8 decimals, random signs; mul: integer digits around half the capacity");
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
