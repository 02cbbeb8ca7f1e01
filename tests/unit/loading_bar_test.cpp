#include <gtest/gtest.h>

#include "app/loading_bar.h"

TEST(LoadingBar, TheFillGrowsFromTheLeftEdgeByStepsAndTheAspectIsAnIntegerDivision)
{
    // After the shaders a third of the bar; the last step exactly inside the trough;
    // nothing before the first step or before the total is known.
    for (auto [steps, total, right] : {std::tuple{7, 22, -0.745f}, {22, 22, 2.05f}, {0, 22, -2.05f}, {3, 0, -2.05f}}) {
        BarFill fill = loadingBarFill(steps, total, 2.05f);
        EXPECT_FLOAT_EQ(fill.left, -2.05f) << steps;
        EXPECT_NEAR(fill.right, right, 0.001f) << steps << " of " << total;
    }
    for (auto [width, height, aspect] : {std::tuple{1024, 768, 1}, {1920, 1080, 1}, {2560, 1080, 2}, {640, 0, 1}})
        EXPECT_EQ(loadingBarAspect(width, height), aspect) << width << "x" << height;
}
