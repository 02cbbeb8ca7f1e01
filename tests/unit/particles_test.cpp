// The emitter without GL: how many it emits, in which draws of the shared
// sequences, how particles live and die, and the flow field's morph.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "core/c_rand.h"
#include "core/rng.h"
#include "effects/flow_field.h"
#include "effects/lens_flares.h"
#include "effects/particles.h"

namespace {

// A restorable point of both shared generators, so that tests do not move
// the sequences other tests see.
class Particles : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = cRandShared();
    }
    void TearDown() override { cRandShared() = saved_; }

    // The number of C-library draws fn makes.
    template <typename Fn>
    static int cDraws(Fn fn)
    {
        CRandState before = cRandShared();
        fn();
        CRandState after = cRandShared();
        CRandState walk = before;
        for (int n = 0; n < 1000; ++n) {
            if (std::equal(std::begin(walk.r), std::end(walk.r), std::begin(after.r)) && walk.i == after.i)
                return n;
            cRandNext(walk);
        }
        return -1;
    }

    static ParticleSystem smokeLike()
    {
        ParticleSystem s;
        s.allocate(1050);
        s.rate = 750;
        s.rateJitter = 20.0f;
        s.respawn = true;
        s.life = {1.15f, 25.05f};
        s.shaped = true;
        s.setShape(3);
        s.shapeRadius = 50.0f;
        s.shapeSpread = 6.2831855f;
        return s;
    }

    static int alive(const ParticleSystem& s)
    {
        int n = 0;
        for (const Particle& p : s.particles)
            n += p.alive;
        return n;
    }

    CRandState saved_;
};

} // namespace

TEST_F(Particles, TheWarmUpEmitsAsManyAsItsRateDrawSays)
{
    EXPECT_LE(emissionCount(0.1f, 750, 20.0f, 0.449f), 0);
    EXPECT_EQ(emissionCount(0.1f, 750, 20.0f, 1.0f), 825);

    ParticleSystem smoke = smokeLike();
    CRandState next = cRandShared();
    float u = static_cast<float>(cRandNext(next) >> 16) / 32767.0f;
    smoke.update(0.1f);
    EXPECT_EQ(alive(smoke), std::max(0, emissionCount(0.1f, 750, 20.0f, u)));
}

TEST_F(Particles, EmissionDrawsInItsFixedOrder)
{
    ParticleSystem s = smokeLike();
    s.life = {1.0f, 3.0f};
    Particle p;
    CRandState next = cRandShared();
    float lifeU = static_cast<float>(cRandNext(next) >> 16) / 32767.0f;
    uint32_t programState = rng::state();
    // Life, the disc's angle and two radii, three jitters, three directions,
    // speed, acceleration, two colours, two alphas, two sizes, spin and its acceleration.
    EXPECT_EQ(cDraws([&] { s.emit(p); }), 20);
    EXPECT_FLOAT_EQ(p.life, 1.0f + lifeU * 2.0f);
    EXPECT_EQ(rng::state(), programState) << "a disc takes no draw of the program's generator";
    EXPECT_TRUE(p.alive);

    s.setShape(1); // a sphere point takes two of the program's draws instead of three C-library ones
    EXPECT_EQ(cDraws([&] { s.emit(p); }), 17);
    EXPECT_NE(rng::state(), programState);
}

TEST_F(Particles, ALifeOfZeroNeverEmitsEvenWithRespawn)
{
    ParticleSystem s = smokeLike();
    s.life = {0.0f, 0.0f};
    for (bool respawn : {false, true}) {
        s.respawn = respawn;
        s.update(1.0f);
        EXPECT_EQ(alive(s), 0);
    }
}

TEST_F(Particles, AZeroStepEmitsNothingAndMovesNothing)
{
    ParticleSystem s = smokeLike();
    s.rateJitter = 0.0f; // 750 of the 1050 slots filled, so an emission would show
    s.update(1.0f);
    ASSERT_EQ(alive(s), 750);
    std::vector<Particle> before = s.particles;
    s.update(0.0f);
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(s.particles[i].alive, before[i].alive);
        EXPECT_EQ(s.particles[i].position.y, before[i].position.y);
    }
}

TEST_F(Particles, WithRespawnASlotNeverStaysDeadWithoutItWaitsForTheNextEmission)
{
    for (bool respawn : {true, false}) {
        ParticleSystem s = smokeLike();
        s.respawn = respawn;
        s.life = {0.5f, 0.5f};
        s.rate = 1; // at most one birth per second of update
        s.rateJitter = 0.0f;
        s.update(1.0f);
        ASSERT_EQ(alive(s), 1);
        s.update(0.2f); // n = 0: nothing new; the particle lives on or is re-emitted
        s.update(0.4f);
        EXPECT_EQ(alive(s), respawn ? 1 : 0) << (respawn ? "respawn" : "no respawn");
    }
}

TEST_F(Particles, TheFlowFieldMorphsFromThePreviousFieldAndIsZeroOutsideItsFour)
{
    const Vec3 p{1.0f, 0.5f, -2.0f};
    Vec3 f0 = flowField({0.0f, 1.0f}, p, 0);
    Vec3 f3 = flowField({0.0f, 1.0f}, p, 3);
    EXPECT_NE(f0.x, f3.x);
    Vec3 morph = flowField({0.0f, 0.25f}, p, 0);
    EXPECT_NEAR(morph.x, 0.25f * f0.x + 0.75f * f3.x, 1e-6f);
    EXPECT_NEAR(morph.z, 0.25f * f0.z + 0.75f * f3.z, 1e-6f);
    for (float blend : {0.25f, 1.0f}) {
        Vec3 none = flowField({0.0f, blend}, p, 4);
        EXPECT_EQ(none.x + none.y + none.z, 0.0f);
    }
    EXPECT_NE(flowField({1.0f, 1.0f}, p, 0).x, f0.x) << "the field moves with its time";
}

TEST_F(Particles, StepFlowDoesToTheFieldWhatDrawingTheLivingParticlesDid)
{
    ParticleSystem s = smokeLike();
    s.rateJitter = 0.0f;
    s.update(1.0f);
    ASSERT_EQ(alive(s), 750);
    std::vector<const Particle*> living;
    for (const Particle& p : s.particles)
        if (p.alive)
            living.push_back(&p);
    const Particle* dead =
        &*std::find_if(s.particles.begin(), s.particles.end(), [](const Particle& p) { return !p.alive; });

    // Off the flow, nothing moves.
    FlowField field{2.0f, 1.37f};
    s.stepFlow(field);
    EXPECT_EQ(field.blend, 1.37f);

    // Sprites hold the blend at 1, after the first one read it unclamped.
    s.flow = true;
    s.stepFlow(field);
    EXPECT_EQ(living[0]->flow.blend, 1.37f);
    EXPECT_EQ(living[1]->flow.blend, 1.0f);
    EXPECT_EQ(field.time, 2.0f);
    EXPECT_EQ(field.blend, 1.0f);

    // Each sphere reads the field before its own step; dead slots neither read nor step.
    s.setStyle(15);
    field = {2.0f, 0.99995f};
    s.stepFlow(field);
    EXPECT_EQ(living[0]->flow.time, 2.0f);
    EXPECT_EQ(living[1]->flow.time, 2.0f + 0.000015f);
    EXPECT_EQ(living[1]->flow.blend, 0.99995f + 0.00001f);
    EXPECT_EQ(dead->flow.time, 0.0f);
    EXPECT_NEAR(field.time, 2.0f + 750 * 0.000015f, 1e-4f);
    EXPECT_EQ(field.blend, 1.0f) << "the blend stops at 1";
}

TEST(LensFlares, EachVariantDrawsOnlyInsideItsOpenWindows)
{
    for (int variant : {0, 1}) {
        EXPECT_TRUE(lensFlareChains(0.65f, variant).empty()) << variant;
        EXPECT_TRUE(lensFlareChains(0.25f, variant).empty()) << variant;
        ASSERT_EQ(lensFlareChains(0.3f, variant).size(), 1u);
        EXPECT_EQ(lensFlareChains(0.3f, variant)[0].type, FlareChainType::A);
        EXPECT_EQ(lensFlareChains(0.8f, variant)[0].type, FlareChainType::B);
    }
    EXPECT_TRUE(lensFlareChains(0.26f, 2).empty());
    EXPECT_EQ(lensFlareChains(0.3f, 2).size(), 1u);
    EXPECT_TRUE(lensFlareChains(0.4625f, 2).empty());
    EXPECT_EQ(lensFlareChains(0.27f, 3)[0].type, FlareChainType::C);
    EXPECT_TRUE(lensFlareChains(0.3f, 3).empty());
    EXPECT_TRUE(lensFlareChains(0.5f, 4).empty());
}

TEST(LensFlares, AChainFlashesUpWithAFlatTopAndIsBlackOutsideItsBump)
{
    EXPECT_FLOAT_EQ(lensFlareChains(0.6f, 0)[0].strength, 0.0f); // in the window, past the bump
    EXPECT_FLOAT_EQ(lensFlareChains(0.335f, 0)[0].strength, 1.0f); // 1.5 clamps to 1 on top
    float rising = lensFlareChains(0.26f, 0)[0].strength;
    EXPECT_GT(rising, 0.0f);
    EXPECT_LT(rising, 1.0f);
}

TEST(LensFlares, MovingChainsAreScaledDownAndRiseAlongALine)
{
    FlareChain chain = lensFlareChains(0.3f, 1)[0];
    const float heights[4] = {7.0f, 10.5f, 14.0f, 17.5f};
    for (int k = 0; k < 4; ++k)
        EXPECT_FLOAT_EQ(chain.positions[k].y, heights[k]);
    FlareChain later = lensFlareChains(0.5f, 1)[0];
    EXPECT_NE(later.positions[0].x, chain.positions[0].x) << "the chain turns as t grows";
}
