#include <gtest/gtest.h>

#include <cstdlib>

#include "core/c_rand.h"

TEST(CRand, ReproducesTheCLibrarysUnseededSequenceOverMillionsOfCalls)
{
    std::srand(1); // the C library's own unseeded start, whatever ran before in this process
    CRandState state = cRandInitialState();
    for (int k = 0; k < 3000000; ++k) {
        int expected = std::rand();
        ASSERT_EQ(cRandNext(state), expected) << "call " << k;
    }
}

TEST(CRand, SkippingAndJumpingLandWhereDrawingDoes)
{
    CRandState start = cRandInitialState();
    cRandSkip(start, 5); // the ring's oldest word off slot 0
    for (uint64_t count : {0, 1, 3, 63, 64, 65, 1000, 55296 * 7 + 13}) {
        CRandState drawn = start, skipped = start, jumped = start;
        for (uint64_t k = 0; k < count; ++k)
            cRandNext(drawn);
        cRandSkip(skipped, count);
        cRandJump(jumped, count);
        for (int k = 0; k < 40; ++k) {
            int expected = cRandNext(drawn);
            ASSERT_EQ(cRandNext(skipped), expected) << count;
            ASSERT_EQ(cRandNext(jumped), expected) << count;
        }
    }
}
