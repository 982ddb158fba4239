// The extended type's operations one at a time: the software type against the x87 doing the same.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "framework/Extended.h"

namespace {

// Operands of the sizes the game works with (offsets and distances up to a few thousand), the
// same for both types, cycled so that no result is known in advance.
template <class T>
std::vector<T> Operands() {
  std::mt19937_64 rng(1);
  std::uniform_real_distribution<double> d(1, 3000);
  std::vector<T> v;
  for (int i = 0; i < 1024; ++i) v.push_back(T(d(rng)));
  return v;
}

template <class T, class Op>
void Run(benchmark::State& state, Op op) {
  const std::vector<T> v = Operands<T>();
  std::size_t i = 0;
  for (auto _ : state) {
    T r = op(v[i & 1023], v[(i + 1) & 1023]);
    benchmark::DoNotOptimize(r);
    ++i;
  }
}

#ifdef TARNYX_X87_LONG_DOUBLE
using THard = long double;
#define EXTENDED_PAIR(name, expr)                                                                \
  void BM_Soft##name(benchmark::State& s) { Run<TSoftExtended>(s, [](TSoftExtended a, TSoftExtended b) { return expr; }); } \
  void BM_X87##name(benchmark::State& s) {                                                         \
    Run<THard>(s, [](THard a, THard b) {                                                         \
      using namespace X87;                                                                       \
      return expr;                                                                               \
    });                                                                                          \
  }                                                                                              \
  BENCHMARK(BM_Soft##name);                                                                      \
  BENCHMARK(BM_X87##name);
#else
#define EXTENDED_PAIR(name, expr)                                                                \
  void BM_Soft##name(benchmark::State& s) { Run<TSoftExtended>(s, [](TSoftExtended a, TSoftExtended b) { return expr; }); } \
  BENCHMARK(BM_Soft##name);
#endif

// Each lambda mentions both operands, so that the compiler cannot hoist anything out of the loop.
EXTENDED_PAIR(Add, a + b)
EXTENDED_PAIR(Multiply, a * b)
EXTENDED_PAIR(Divide, a / b)
EXTENDED_PAIR(Sqrt, Sqrt(a + b))
EXTENDED_PAIR(ToDouble, decltype(a)(static_cast<double>(a - b)))
EXTENDED_PAIR(RoundToInt, decltype(a)(RoundToInt(a - b)))
EXTENDED_PAIR(TruncToInt64, decltype(a)(TruncToInt64(a - b)))

#ifdef TARNYX_X87_LONG_DOUBLE
// Atan2 has one implementation on every machine; the peer is the C library's, the x87's fpatan.
void BM_Atan2(benchmark::State& s) { Run<TSoftExtended>(s, [](TSoftExtended a, TSoftExtended b) { return Atan2(a, -b); }); }
void BM_X87Atan2(benchmark::State& s) { Run<THard>(s, [](THard a, THard b) { return std::atan2(a, -b); }); }
BENCHMARK(BM_Atan2);
BENCHMARK(BM_X87Atan2);
#endif

}  // namespace

BENCHMARK_MAIN();
