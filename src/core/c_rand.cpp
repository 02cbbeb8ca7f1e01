#include "core/c_rand.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

// Polynomials in the shift x of the C library's recurrence, reduced by its
// characteristic x^31 = x^28 + 1, coefficients modulo 2^32.
using Poly = std::array<uint32_t, 31>;

Poly polyMul(const Poly& a, const Poly& b)
{
    uint32_t wide[61] = {};
    for (int i = 0; i < 31; ++i)
        for (int k = 0; k < 31; ++k)
            wide[i + k] += a[i] * b[k];
    for (int d = 60; d >= 31; --d) {
        wide[d - 3] += wide[d];
        wide[d - 31] += wide[d];
    }
    Poly out;
    std::copy(wide, wide + 31, out.begin());
    return out;
}

} // namespace

// glibc's TYPE_3 generator: 31 words of state, r[i] = r[i-31] + r[i-3], the
// output is the sum shifted right by one. The 34-word ring holds the last 34
// words, enough to read both taps.
CRandState cRandInitialState()
{
    uint32_t r[344];
    int32_t word = 1; // an unseeded process behaves as srand(1)
    r[0] = static_cast<uint32_t>(word);
    for (int i = 1; i < 31; ++i) {
        // 16807 * word mod (2^31 - 1), by Schrage's method as glibc does.
        int32_t hi = word / 127773;
        int32_t lo = word % 127773;
        word = 16807 * lo - 2836 * hi;
        if (word < 0)
            word += 2147483647;
        r[i] = static_cast<uint32_t>(word);
    }
    for (int i = 31; i < 34; ++i)
        r[i] = r[i - 31];
    for (int i = 34; i < 344; ++i) // glibc discards the first 310 outputs
        r[i] = r[i - 31] + r[i - 3];
    CRandState state;
    for (int k = 0; k < 34; ++k)
        state.r[k] = r[310 + k];
    state.i = 0; // slot 0 holds r[310], the oldest word
    return state;
}

int cRandNext(CRandState& s)
{
    // The ring's slot i holds the word 34 back; the taps are 31 and 3 back.
    int i31 = s.i + 3;
    if (i31 >= 34)
        i31 -= 34;
    int i3 = s.i + 31;
    if (i3 >= 34)
        i3 -= 34;
    uint32_t word = s.r[i31] + s.r[i3];
    s.r[s.i] = word;
    s.i = s.i + 1 == 34 ? 0 : s.i + 1;
    return static_cast<int>(word >> 1);
}

void cRandSkip(CRandState& state, uint64_t count)
{
    for (uint64_t k = 0; k < count; ++k)
        cRandNext(state);
}

void cRandJump(CRandState& s, uint64_t count)
{
    if (count < 64) {
        cRandSkip(s, count);
        return;
    }
    // The 34 words of the ring, oldest first; the last 31 are the basis the
    // recurrence continues from.
    uint32_t words[34];
    for (int k = 0; k < 34; ++k)
        words[k] = s.r[(s.i + k) % 34];
    const uint32_t* basis = words + 3;
    // After count draws the ring holds the words count .. count + 33 of the
    // sequence numbered from words[0]: basis offsets count - 3 onwards.
    Poly power{}, shift{};
    power[0] = 1;
    shift[1] = 1;
    for (uint64_t e = count - 3; e != 0; e >>= 1) {
        if (e & 1)
            power = polyMul(power, shift);
        shift = polyMul(shift, shift);
    }
    for (int k = 0; k < 34; ++k) {
        uint32_t w = 0;
        for (int i = 0; i < 31; ++i)
            w += power[i] * basis[i];
        s.r[k] = w;
        // Multiply by x once more for the next word.
        uint32_t top = power[30];
        for (int i = 30; i > 0; --i)
            power[i] = power[i - 1];
        power[0] = top;
        power[28] += top;
    }
    s.i = 0;
}

namespace {

struct {
    CRandState shared = cRandInitialState();
} state;

} // namespace

CRandState& cRandShared()
{
    return state.shared;
}

int cRand()
{
    return cRandNext(cRandShared());
}

int cRand15()
{
    return cRand() >> 16;
}

float randomUpTo(float max)
{
    return static_cast<float>(cRand15() % 32767) / 32767.0f * max;
}

float randomRange(float lo, float hi)
{
    return lo + (hi - lo) * randomUpTo(hi);
}

Vec3 randomDiscPoint(float radius, float angle)
{
    float r1 = randomUpTo(radius);
    float r2 = randomUpTo(radius);
    return {std::cos(angle) * r2, 0.0f, std::sin(angle) * r1};
}
