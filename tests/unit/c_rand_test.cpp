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

TEST(CRand, SkippingEqualsDrawing)
{
    CRandState drawn = cRandInitialState();
    CRandState skipped = drawn;
    for (int k = 0; k < 1000; ++k)
        cRandNext(drawn);
    cRandSkip(skipped, 1000);
    EXPECT_EQ(cRandNext(drawn), cRandNext(skipped));
}
