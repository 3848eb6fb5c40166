#pragma once
// The benchmarks' deterministic random numbers: a 64-bit linear
// congruential generator, the same figures on every run for one seed.

#include <algorithm>
#include <cstdint>

namespace bench {

struct Rng {
    std::uint64_t s;
    std::uint32_t next()
    {
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return std::uint32_t(s >> 33);
    }
    int below(int n) { return int(next() % std::uint32_t(n)); }
    bool chance(int percent) { return below(100) < percent; }
    // Skewed towards the start of a list, as word use is.
    int skewed(int n)
    {
        const int a = below(n), b = below(n);
        return std::min(a, b);
    }
};

}  // namespace bench
