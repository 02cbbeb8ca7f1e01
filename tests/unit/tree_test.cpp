// The branch scene's tree and cameras, without GL.
#include <gtest/gtest.h>

#include <array>

#include "effects/flow_field.h"
#include "expect_vec.h"
#include "scenes/tree.h"

namespace {

// The dots the whole tree draws at time t of a shot.
int totalDots(float t, int shot)
{
    int total = 0;
    walkBranches(branchTrunk(t, shot), [&total](const Branch& b) {
        total += static_cast<int>(branchDots(b, FlowField{}).size());
    });
    return total;
}

} // namespace

TEST(BranchTree, DrawsNothingAtTheStartAndAfterItHasShrunkBack)
{
    for (float t : {0.0f, 1.0f})
        EXPECT_EQ(totalDots(t, 0) + totalDots(t, 1), 0) << t;
}

TEST(BranchTree, SubBranchesAreOneLevelDownWithFewerDots)
{
    Branch parent;
    parent.depth = 3;
    parent.time = 0.5f;
    parent.end = 0.2f;
    parent.count = 22;
    const std::array<Branch, 4> four = subBranches(parent);
    for (const Branch& child : four) {
        EXPECT_EQ(child.depth, 2);
        EXPECT_FLOAT_EQ(child.time, 0.3f);
        EXPECT_EQ(child.count, 18);
    }
    parent.count = 3;
    EXPECT_EQ(subBranches(parent)[0].count, 1);
}

TEST(TreeCamera, TheFirstShotCutsAtThreeTenthsAndSixtyFiveHundredths)
{
    // Values worked out in double precision; the float sines differ in the last digits.
    const TreeCamera before = treeCamera(0.29f, 0);
    expectVec(before.eye, 15.516015f, 5.22f, 4.7849866f, 1e-4f);
    EXPECT_NEAR(before.target.y, 2.8f, 1e-5f);
    const TreeCamera second = treeCamera(0.3f, 0);
    expectVec(second.eye, -26.902752f, -3.8f, 13.275613f, 1e-4f);
    expectVec(second.target, 0.0f, 3.6f, 0.0f, 1e-4f);
    const TreeCamera third = treeCamera(0.65f, 0);
    expectVec(third.eye, -17.630089f, 4.2f, 39.120598f, 1e-4f);
    expectVec(third.target, 0.0f, 4.2f, 0.0f, 1e-4f);
    for (float t : {1.0f, 1.5f}) {
        const TreeCamera rest = treeCamera(t, 0);
        expectVec(rest.eye, 0.0f, 0.0f, 0.0f);
        expectVec(rest.target, 0.0f, 0.0f, 0.0f);
    }
}
