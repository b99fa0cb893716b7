#include "random.h"

#include <ctime>

namespace {

constexpr int TableSize = 55;
constexpr int32_t LowBits30 = (1 << 30) - 1;

struct RandomState {
    int32_t table[TableSize] = {};
    int j = 0;
    int k = 31;
};

RandomState state;

}  // namespace

void SeedRandom() { SeedRandomAt(static_cast<int64_t>(std::time(nullptr))); }

void SeedRandomAt(int64_t secondsSince1970) {
    state.j = 0;
    state.k = 31;
    state.table[0] = static_cast<int32_t>(secondsSince1970 & LowBits30);
    state.table[1] = 1;
    for (int i = 2; i < TableSize; ++i) {
        state.table[i] = (state.table[i - 1] + state.table[i - 2]) & LowBits30;
    }
}

int RandomNext() {
    // Both words are below 2^30, so their sum fits in 32 signed bits.
    int32_t a = (state.table[state.j] + state.table[state.k]) & LowBits30;
    state.table[state.j] = a;
    state.j = (state.j + 1) % TableSize;
    state.k = (state.k + 1) % TableSize;
    return a >> 6;
}

int RandomRange(int low, int high) {
    // In 64 bits so that a range as wide as int does not overflow.
    int64_t n = static_cast<int64_t>(high) - low + 1;
    if (n <= 1) return low;
    int64_t m = 2;
    while (m < n) m *= 2;
    int64_t d;
    do {
        d = RandomNext() & (m - 1);
    } while (d >= n);
    return static_cast<int>(low + d);
}
