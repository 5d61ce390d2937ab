// The mask machinery's costs.
//
// Typing into a regular-expression mask whose alternatives all match the same character: the
// automaton's state sets stay as small as the expression, so each character costs the same and
// 64 characters take about four times as long as 16.
//
// Compiling an expression takes time and memory in proportion to its length, whatever its shape:
// nested blocks, runs of optional items, and long mixed expressions. The memory counter is the
// peak of the bytes held on the heap while one expression compiles (the compiled expression
// included), counted by this program's own allocation functions, divided by the expression's
// length: it stays flat as the length grows. "states/char" is the automaton's size the same way.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "tests/toolkit/editors/MaskHostTestSupport.h"
#include "toolkit/editors/cxRegExpr.h"

namespace {

// Bytes held now and the most held since the last reset. The allocator's own size of each block
// is counted, so frees need no header.
std::atomic<long long> heldBytes{0};
std::atomic<long long> peakBytes{0};

void* Counted(void* p)
{
    if (!p)
        throw std::bad_alloc();
    const long long now = heldBytes.fetch_add(static_cast<long long>(malloc_usable_size(p))) +
                          static_cast<long long>(malloc_usable_size(p));
    long long peak = peakBytes.load();
    while (now > peak && !peakBytes.compare_exchange_weak(peak, now)) {
    }
    return p;
}

void Uncounted(void* p) noexcept
{
    if (!p)
        return;
    heldBytes.fetch_sub(static_cast<long long>(malloc_usable_size(p)));
    std::free(p);
}

} // namespace

void* operator new(std::size_t size) { return Counted(std::malloc(size ? size : 1)); }
void* operator new[](std::size_t size) { return Counted(std::malloc(size ? size : 1)); }
void* operator new(std::size_t size, std::align_val_t align)
{
    const std::size_t a = static_cast<std::size_t>(align);
    return Counted(std::aligned_alloc(a, (size + a - 1) / a * a));
}
void* operator new[](std::size_t size, std::align_val_t align) { return operator new(size, align); }
void operator delete(void* p) noexcept { Uncounted(p); }
void operator delete[](void* p) noexcept { Uncounted(p); }
void operator delete(void* p, std::size_t) noexcept { Uncounted(p); }
void operator delete[](void* p, std::size_t) noexcept { Uncounted(p); }
void operator delete(void* p, std::align_val_t) noexcept { Uncounted(p); }
void operator delete[](void* p, std::align_val_t) noexcept { Uncounted(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { Uncounted(p); }
void operator delete[](void* p, std::size_t, std::align_val_t) noexcept { Uncounted(p); }

namespace {

void TypeIntoNestedAlternatives(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    const std::u16string typed(count, u'a');
    FakeMaskHost host;
    cx::TcxMaskEditRegExprMode mode(&host, host.settings);
    mode.Compile(u"((a|a)|(a|a))*");
    for (auto _ : state) {
        host.text.clear();
        host.SetSelection(0, 0);
        mode.SetText(u"");   // back to the start state with an empty history
        host.Type(mode, typed);
        benchmark::DoNotOptimize(host.text);
    }
    state.SetComplexityN(count);
}

// Compiles the expression in every iteration and reports its peak memory and states per character.
void Compile(benchmark::State& state, const std::u16string& expression)
{
    long long peak = 0, states = 0;
    for (auto _ : state) {
        const long long before = heldBytes.load();
        peakBytes.store(before);
        {
            cx::TcxRegExpr e;
            e.Compile(expression);
            states = e.StateCount();
            peak = peakBytes.load() - before;
            benchmark::DoNotOptimize(states);
        }
    }
    const double length = static_cast<double>(expression.size());
    state.counters["bytes/char"] = static_cast<double>(peak) / length;
    state.counters["states/char"] = static_cast<double>(states) / length;
    state.SetComplexityN(static_cast<long long>(expression.size()));
}

// Blocks nested n deep around one character, up to the deepest that compiles.
void CompileNestedBlocks(benchmark::State& state)
{
    const auto depth = static_cast<std::size_t>(state.range(0));
    Compile(state, std::u16string(depth, u'(') + u"a" + std::u16string(depth, u')'));
}

// n optional characters in a row.
void CompileOptionalRun(benchmark::State& state)
{
    std::u16string expression;
    for (long long i = 0; i < state.range(0); ++i)
        expression += u"a?";
    Compile(state, expression);
}

// A long expression of every kind of item: n copies of a piece with blocks,
// alternatives, classes, escapes, quotes and quantifiers.
void CompileLongMixed(benchmark::State& state)
{
    std::u16string expression;
    for (long long i = 0; i < state.range(0); ++i)
        expression += u"(\\d\\d|[a-f]+)?'-'x*(y|z){1,3}";
    Compile(state, expression);
}

} // namespace

BENCHMARK(TypeIntoNestedAlternatives)->Arg(16)->Arg(64)->Complexity(benchmark::oN);
BENCHMARK(CompileNestedBlocks)->Arg(128)->Arg(256)->Arg(512)->Arg(1024)->Complexity(benchmark::oN);
BENCHMARK(CompileOptionalRun)->Arg(2000)->Arg(4000)->Arg(8000)->Arg(16000)->Complexity(benchmark::oN);
BENCHMARK(CompileLongMixed)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Complexity(benchmark::oN);
