// Times the terrain's heights: every term in order on one thread, against the
// start-up build (rows split over threads), checking that both give the same
// heights and leave both generators in the same place. No GL needed.
// Usage: bench_terrain [runs] [threads]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "core/c_rand.h"
#include "core/rng.h"
#include "gfx/terrain.h"

namespace {

double nowMs()
{
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Result {
    std::vector<float> heights;
    CRandState cAfter;
    uint32_t rngAfter;
    double ms;
};

// One build from the start-of-show generator states, as start-up does it
// (the bump centres included).
Result build(bool serial, int threads)
{
    cRandShared() = cRandInitialState();
    double start = nowMs();
    std::vector<Vec3> centres = makeBumpCentres();
    Result out;
    out.heights = serial ? terrainHeightsSerial(centres) : terrainHeights(centres, threads);
    out.ms = nowMs() - start;
    out.cAfter = cRandShared();
    out.rngAfter = rng::state();
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    int threads = argc > 2 ? std::atoi(argv[2]) : 0;

    std::vector<double> serialMs, parallelMs;
    Result reference = build(true, 1);
    for (int i = 0; i < runs; ++i) {
        serialMs.push_back(build(true, 1).ms);
        Result fast = build(false, threads);
        parallelMs.push_back(fast.ms);
        CRandState a = reference.cAfter, b = fast.cAfter;
        if (fast.heights != reference.heights || fast.rngAfter != reference.rngAfter ||
            cRandNext(a) != cRandNext(b) || cRandNext(a) != cRandNext(b)) {
            std::fprintf(stderr, "the threaded build differs from the serial one\n");
            return 1;
        }
    }
    std::printf("heights, every term in order, one thread: %8.1f ms wall (median of %d)\n", median(serialMs), runs);
    std::printf("heights as at start-up:                   %8.1f ms wall (median of %d)\n", median(parallelMs), runs);
    std::printf("heights and generator states identical; %u threads available\n",
                std::thread::hardware_concurrency());
    return 0;
}
