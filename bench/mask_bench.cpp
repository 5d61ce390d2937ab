// Typing into a regular-expression mask whose alternatives all match the same character: the
// automaton's state sets stay as small as the expression, so each character costs the same and
// 64 characters take about four times as long as 16.
#include <benchmark/benchmark.h>

#include "tests/toolkit/editors/MaskHostTestSupport.h"

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

} // namespace

BENCHMARK(TypeIntoNestedAlternatives)->Arg(16)->Arg(64)->Complexity(benchmark::oN);
