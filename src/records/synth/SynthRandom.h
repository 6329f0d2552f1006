#pragma once
// CSynthRandom: the generator's own pseudo-random numbers (SplitMix64). Written out here
// rather than taken from <random> so that a seed gives the same recording on every
// machine, compiler and standard library.

#include <cstdint>

namespace mirado {

class CSynthRandom {
public:
    explicit CSynthRandom(uint64_t seed) : state_(seed) {}
    // An independent stream for one purpose, so that drawing more numbers for one aspect
    // of a recording does not shift the numbers of another.
    CSynthRandom(uint64_t seed, uint64_t stream) : state_(seed ^ (stream * kStreamSpacing)) {
        Next();
    }

    uint64_t Next() {
        state_ += kGoldenGamma;
        uint64_t z = state_;
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }

    // Uniform integer in [lo, hi] (hi >= lo).
    int Between(int lo, int hi) {
        const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(hi) - lo) + 1;
        return static_cast<int>(lo + static_cast<int64_t>(Next() % span));
    }

    // Uniform in [0, 1) with 53 random bits; exact on every IEEE machine.
    double Fraction() { return static_cast<double>(Next() >> 11) * kTwoToMinus53; }

    // Uniform in [-1, 1).
    double Signed() { return 2.0 * Fraction() - 1.0; }

private:
    static constexpr uint64_t kGoldenGamma = 0x9E3779B97F4A7C15ULL;
    static constexpr uint64_t kStreamSpacing = 0xD1B54A32D192ED03ULL;
    static constexpr double kTwoToMinus53 = 1.0 / 9007199254740992.0;
    uint64_t state_;
};

} // namespace mirado
