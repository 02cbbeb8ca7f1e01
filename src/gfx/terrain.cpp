#include "gfx/terrain.h"

#include <epoxy/gl.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <thread>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/rng.h"
#include "core/time_window.h"

namespace {

constexpr int kW = kTerrainWidth;
constexpr int kH = kTerrainHeight;
constexpr int kK = kTerrainBumps;
constexpr uint64_t kTermsPerRow = uint64_t(kW) * kK;
const float kPi = 3.141592f; // the show's pi, as a float

struct {
    GLuint list = 0;
} state;

// The fine grain from a C-library draw modulo 32767.
inline float jitter(int m)
{
    return static_cast<float>(m) / 32767.0f * 0.008f;
}

// d: the distance to the bump; j: the jitter; g: the program generator's draw.
inline float sineArgument(float d, float j, float g)
{
    float v = (2.35f - 0.75f * d) / 2.35f + j;
    if (v < -0.1425f)
        v = -0.0001f; // far bumps all give the same tiny dip
    return v * kPi * (0.475f + 0.15f * g);
}

inline float heightTerm(float d, int cRandValue, float g)
{
    return 2.94f * std::sin(sineArgument(d, jitter(cRandValue % 32767), g));
}

// The program's generator step (rng::step), inlined for the build's hot loop.
inline uint32_t stepState(uint32_t x)
{
    return 1588635695u * (x & 1u) - 1117695901u * (x >> 1);
}

// One thread's stretch of rows, a row at a time: the sine arguments four at a
// time from the row's draws, then the sines together with the next row's
// draws, then the sums, each point's terms added in bump order.
class RowBuilder {
public:
    RowBuilder(const double* across, const double* along, const CRandState& c, uint32_t r)
        : across(across), along(along), rngState(r), words(34 + kTermsPerRow), draws(kTermsPerRow),
          jitters(kTermsPerRow), args(kTermsPerRow), jitterOf(32767)
    {
        for (int k = 0; k < 34; ++k)
            words[k] = c.r[(c.i + k) % 34]; // oldest first
        for (int m = 0; m < 32767; ++m)
            jitterOf[m] = jitter(m);
    }

    void build(int begin, int end, float* out, const std::atomic<bool>& cancel)
    {
        for (int r = begin; r < end && !cancel.load(std::memory_order_relaxed); ++r) {
            if (r == begin)
                pass(true, false);
            argumentsOfRow(r);
            // The arguments no longer need this row's draws: the next row's
            // are made alongside the sines, where the generators' chains
            // hide behind the sine's arithmetic.
            pass(r + 1 < end, true);
            sumRow(out + size_t(r) * kW);
        }
    }

    CRandState cRandState() const
    {
        CRandState s;
        for (int k = 0; k < 34; ++k)
            s.r[k] = words[k];
        s.i = 0;
        return s;
    }
    uint32_t rng() const { return rngState; }

private:
    // Makes the next row's draws, turns this row's arguments into terms, or
    // both in one loop: the generators are serial chains with little work in
    // them, which the sines' arithmetic hides.
    void pass(bool draw, bool sines)
    {
        // The C library's additive recurrence on a flat buffer: the 34 words
        // before the row, then the row's own.
        uint32_t* w = words.data() + 34;
        uint32_t x = rngState;
        for (size_t i = 0; i < kTermsPerRow; ++i) {
            if (sines)
                args[i] = 2.94f * std::sin(args[i]);
            if (draw) {
                w[i] = w[i - 31] + w[i - 3];
                jitters[i] = jitterOf[static_cast<int32_t>(w[i] >> 1) % 32767];
                x = stepState(x);
                draws[i] = static_cast<float>(static_cast<double>(x) / 4294967291.0);
            }
        }
        if (draw) {
            rngState = x;
            std::copy(words.end() - 34, words.end(), words.begin());
        }
    }

    void argumentsOfRow(int r)
    {
        const double* zz = along + r * kK;
        for (int c = 0; c < kW; ++c) {
            const double* xy = across + c * kK;
            size_t at = size_t(c) * kK;
            int k = 0;
#if defined(__SSE2__)
            for (; k + 4 <= kK; k += 4)
                arguments4(xy + k, zz + k, at + k);
#endif
            for (; k < kK; ++k) {
                float d = static_cast<float>(std::sqrt(xy[k] + zz[k]));
                args[at + k] = sineArgument(d, jitters[at + k], draws[at + k]);
            }
        }
    }

#if defined(__SSE2__)
    // The same operations as sineArgument, four lanes at once.
    void arguments4(const double* xy, const double* zz, size_t at)
    {
        __m128 dLo = _mm_cvtpd_ps(_mm_sqrt_pd(_mm_add_pd(_mm_loadu_pd(xy), _mm_loadu_pd(zz))));
        __m128 dHi = _mm_cvtpd_ps(_mm_sqrt_pd(_mm_add_pd(_mm_loadu_pd(xy + 2), _mm_loadu_pd(zz + 2))));
        __m128 d = _mm_movelh_ps(dLo, dHi);

        __m128 g = _mm_loadu_ps(&draws[at]);
        __m128 j = _mm_loadu_ps(&jitters[at]);
        __m128 v = _mm_div_ps(_mm_sub_ps(_mm_set1_ps(2.35f), _mm_mul_ps(_mm_set1_ps(0.75f), d)), _mm_set1_ps(2.35f));
        v = _mm_add_ps(v, j);
        __m128 far = _mm_cmplt_ps(v, _mm_set1_ps(-0.1425f));
        v = _mm_or_ps(_mm_and_ps(far, _mm_set1_ps(-0.0001f)), _mm_andnot_ps(far, v));
        __m128 spread = _mm_add_ps(_mm_set1_ps(0.475f), _mm_mul_ps(_mm_set1_ps(0.15f), g));
        _mm_storeu_ps(&args[at], _mm_mul_ps(_mm_mul_ps(v, _mm_set1_ps(kPi)), spread));
    }
#endif

    void sumRow(float* out)
    {
        // Four points at a time, so that four chains of additions interleave;
        // each point's terms are still added in bump order.
        static_assert(kW % 4 == 0);
        for (int c = 0; c < kW; c += 4) {
            const float* t = &args[size_t(c) * kK];
            float h0 = 0.0f, h1 = 0.0f, h2 = 0.0f, h3 = 0.0f;
            for (int k = 0; k < kK; ++k) {
                h0 += t[k];
                h1 += t[kK + k];
                h2 += t[2 * kK + k];
                h3 += t[3 * kK + k];
            }
            out[c] = h0;
            out[c + 1] = h1;
            out[c + 2] = h2;
            out[c + 3] = h3;
        }
    }

    const double* across;
    const double* along;
    uint32_t rngState;
    std::vector<uint32_t> words;
    std::vector<float> draws;   // the program generator's draws
    std::vector<float> jitters; // from the C-library draws
    std::vector<float> args;
    std::vector<float> jitterOf; // by C-library draw modulo 32767
};

} // namespace

Vec3 terrainBasePosition(int r, int c)
{
    return {0.1f * static_cast<float>(c - 256), -0.475f, 0.1f * static_cast<float>(r - 256)};
}

float bumpSpreadY(int k)
{
    switch (k) {
    case 7: case 43: case 91: case 100:
        return 15.0f;
    case 13: case 34: case 61:
        return 25.0f;
    case 24: case 46: case 78:
        return 35.0f;
    default:
        return 5.0f;
    }
}

std::vector<Vec3> makeBumpCentres()
{
    rng::seed(kTerrainSeed);
    std::vector<Vec3> centres(kK);
    for (int k = 0; k < kK; ++k) {
        Vec3 a = randomInCube(30.0f);
        Vec3 b = randomInCube(bumpSpreadY(k));
        Vec3 c = randomInCube(30.0f);
        centres[k] = {c.x, b.y, a.z};
    }
    return centres;
}

float terrainHeightTerm(float d, int cRandValue, float g)
{
    return heightTerm(d, cRandValue, g);
}

std::vector<float> terrainHeightsSerial(const std::vector<Vec3>& centres)
{
    std::vector<float> heights(size_t(kW) * kH);
    for (int r = 0; r < kH; ++r)
        for (int c = 0; c < kW; ++c) {
            Vec3 p = terrainBasePosition(r, c);
            float h = 0.0f;
            for (int k = 0; k < kK; ++k) {
                float d = (p - centres[k]).length();
                int j = cRand();
                float g = rng::next();
                h += heightTerm(d, j, g);
            }
            heights[r * kW + c] = h;
        }
    return heights;
}

namespace {

// The heights from the given generator states, which are moved on to where the
// build leaves them; the shared generators are not touched. A cancelled build
// stops between rows, its heights unfinished.
std::vector<float> heightsFrom(const std::vector<Vec3>& centres, CRandState& cRandState, uint32_t& rngState,
                               int threads, const std::atomic<bool>& cancel)
{
    // Squared distances split by what they depend on: x and y by column and
    // bump, z by row and bump.
    std::vector<double> across(size_t(kW) * kK), along(size_t(kH) * kK);
    for (int k = 0; k < kK; ++k) {
        for (int c = 0; c < kW; ++c) {
            Vec3 d = terrainBasePosition(0, c) - centres[k];
            double dx = d.x, dy = d.y;
            across[c * kK + k] = dx * dx + dy * dy;
        }
        for (int r = 0; r < kH; ++r) {
            double dz = terrainBasePosition(r, 0).z - centres[k].z;
            along[r * kK + k] = dz * dz;
        }
    }

    if (threads <= 0)
        threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    threads = std::min(threads, kH);
    std::vector<float> heights(size_t(kW) * kH);
    std::vector<CRandState> cStates(threads, cRandState);
    std::vector<uint32_t> rStates(threads, rngState);
    std::vector<std::thread> pool;
    for (int t = 0; t < threads; ++t) {
        int begin = kH * t / threads;
        int end = kH * (t + 1) / threads;
        auto work = [&, t, begin, end] {
            cRandJump(cStates[t], begin * kTermsPerRow);
            uint32_t x = rStates[t];
            for (uint64_t n = begin * kTermsPerRow; n != 0; --n)
                x = stepState(x);
            RowBuilder rows(across.data(), along.data(), cStates[t], x);
            rows.build(begin, end, heights.data(), cancel);
            cStates[t] = rows.cRandState();
            rStates[t] = rows.rng();
        };
        if (t + 1 < threads)
            pool.emplace_back(work);
        else
            work();
    }
    for (std::thread& thread : pool)
        thread.join();
    cRandState = cStates.back();
    rngState = rStates.back();
    return heights;
}

bool sameCRandState(const CRandState& a, const CRandState& b)
{
    for (int k = 0; k < 34; ++k)
        if (a.r[(a.i + k) % 34] != b.r[(b.i + k) % 34])
            return false;
    return true;
}

// The heights built ahead of the terrain's step, on a thread of their own.
struct HeadStart {
    std::thread worker;
    std::atomic<bool> cancel{false};
    CRandState cRandBefore; // what the step was expected to find
    CRandState cRandAfter;
    uint32_t rngAfter = 0;
    std::vector<float> heights;

    // Waits for the heights; they are kept only when the step finds the
    // C library's generator where the head start assumed it.
    std::vector<float> take()
    {
        if (!worker.joinable())
            return {};
        worker.join();
        std::vector<float> ahead = std::move(heights);
        if (!sameCRandState(cRandShared(), cRandBefore))
            return {};
        cRandShared() = cRandAfter;
        rng::seed(rngAfter);
        return ahead;
    }

    // A process that ends before the terrain's step (the dialog left, a
    // failure) stops the build rather than waiting for it.
    ~HeadStart()
    {
        cancel = true;
        if (worker.joinable())
            worker.join();
    }
} headStart;

} // namespace

std::vector<float> terrainHeights(const std::vector<Vec3>& centres, int threads)
{
    CRandState c = cRandShared();
    uint32_t r = rng::state();
    std::atomic<bool> never{false};
    std::vector<float> heights = heightsFrom(centres, c, r, threads, never);
    cRandShared() = c;
    rng::seed(r);
    return heights;
}

void startTerrainHeights(int threads)
{
    if (headStart.worker.joinable())
        return;
    // The centres come from their own seed; the program's generator is put
    // back as it was, for whatever draws from it before the terrain's step.
    uint32_t rngBefore = rng::state();
    std::vector<Vec3> centres = makeBumpCentres();
    headStart.rngAfter = rng::state();
    rng::seed(rngBefore);

    headStart.cRandBefore = cRandInitialState();
    cRandJump(headStart.cRandBefore, kCRandDrawsBeforeTerrain);
    headStart.cRandAfter = headStart.cRandBefore;
    // One core is left to the main thread, which opens the window meanwhile.
    if (threads <= 0)
        threads = static_cast<int>(std::max(2u, std::thread::hardware_concurrency())) - 1;
    headStart.worker = std::thread([centres = std::move(centres), threads] {
        headStart.heights =
            heightsFrom(centres, headStart.cRandAfter, headStart.rngAfter, threads, headStart.cancel);
    });
}

bool terrainQuadDrawn(const Vec3* raised, int r, int c)
{
    return raised[r * kW + c].y > 0.0f || raised[r * kW + c + 1].y > 0.0f ||
           raised[(r + 1) * kW + c + 1].y > 0.0f || raised[(r + 1) * kW + c].y > 0.0f;
}

int terrainStripIndex(int n)
{
    return n / (kW - 1) * kW + n % (kW - 1);
}

StripPoint terrainStripPoint(const Vec3& q)
{
    if (q.y <= 0.3f)
        return {{q.x, 0.3f, q.z}, {0.45f, 0.68f, 1.0f, 0.15f}};
    float a = ramp(q.y, 0.0f, 1.0f);
    return {q, {0.98f, 0.45f * a, 0.28f, 0.5f * q.y}};
}

std::vector<float> terrainHeightsAtStep()
{
    std::vector<float> heights = headStart.take();
    if (heights.empty())
        heights = terrainHeights(makeBumpCentres());
    return heights;
}

void buildTerrainGrid()
{
    std::vector<float> heights = terrainHeightsAtStep();
    releaseTerrain(); // a second build replaces the first
    // The raised grid is needed only while the list is compiled.
    std::vector<Vec3> raised(size_t(kW) * kH);
    for (int r = 0; r < kH; ++r)
        for (int c = 0; c < kW; ++c)
            raised[r * kW + c] = terrainBasePosition(r, c) + Vec3{0.0f, heights[r * kW + c], 0.0f};

    const Vec3* q = raised.data();
    state.list = glGenLists(1);
    glNewList(state.list, GL_COMPILE);
        // The high ground as dark translucent quads.
        glColor4f(0.0f, 0.0f, 0.0f, 0.85f);
        glPushMatrix();
        glScalef(3.0f, 1.15f, 3.0f);
        glBegin(GL_QUADS);
        for (int r = 0; r < kH - 1; ++r)
            for (int c = 0; c < kW - 1; ++c) {
                if (!terrainQuadDrawn(q, r, c))
                    continue;
                glVertex3fv(&q[r * kW + c].x);
                glVertex3fv(&q[r * kW + c + 1].x);
                glVertex3fv(&q[(r + 1) * kW + c + 1].x);
                glVertex3fv(&q[(r + 1) * kW + c].x);
            }
        glEnd();
        glPopMatrix();

        // One strip over every row, each row joined to the next.
        glLineWidth(2.0f);
        glDepthMask(GL_FALSE);
        glPushMatrix();
        glScalef(3.0f, 1.16f, 3.0f);
        glBegin(GL_LINE_STRIP);
        for (int n = 0; n < kTerrainStripPoints; ++n) {
            StripPoint p = terrainStripPoint(q[terrainStripIndex(n)]);
            glColor4fv(p.colour);
            glVertex3fv(&p.position.x);
        }
        glEnd();
        glPopMatrix();

        glDisable(GL_LINE_SMOOTH);
        glDepthMask(GL_TRUE);
    glEndList();
}

unsigned int terrainList()
{
    return state.list;
}

void releaseTerrain()
{
    if (state.list != 0)
        glDeleteLists(state.list, 1);
    state.list = 0;
}
