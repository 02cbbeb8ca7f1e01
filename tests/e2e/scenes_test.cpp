// The scenes end to end: what their frames show between the whole seconds
// that the reference capture sees.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/test_support.h"

using namespace testsupport;

namespace {

// One 320 x 200 frame at music time t in a fresh work dir, with a script in
// place of the generated one when given; t lies on the steps of fps from 0.
Image freshFrame(const std::string& tag, int t, const std::string& script = "", int fps = 10)
{
    std::string dir = makeWorkDir(tag);
    if (!script.empty())
        useScript(dir, script);
    return frameAt(dir, t, fps);
}

} // namespace

TEST(Scenes, TheBeatTiltsTheMistCameraAndKicksTheBeastsSwarm)
{
    // The same point of a window on a beat and after the beat's pulse (the
    // window moved with it): off the beat only the ramp decides the picture.
    // Every frame of the show runs up to it, on steps of 5 ms, so that the
    // moved windows step through the same ramps. The smoke under the mist
    // moves by the frame clock's steps, which round alike only where the
    // windows lie a multiple of 125 ms apart.
    const struct {
        const char* window;
        int start, end, beat, after, control;
    } cases[] = {{"sous_la_brume", 12000, 24060, 13120, 13495, 13620},
                 {"la_bête_se_déchaîne", 54000, 72000, 60370, 60875, 60880}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        auto frame = [&](std::string tag, int t, int shift) {
            return freshFrame(tag + std::to_string(c.beat), t,
                              std::string(c.window) + ".start " + std::to_string(c.start + shift) + "\n" + c.window +
                                  ".end " + std::to_string(c.end + shift) + "\n",
                              200);
        };
        Image onBeat = frame("beat", c.beat, 0);
        Image between = frame("between", c.after, c.after - c.beat);
        Image control = frame("control", c.control, c.control - c.beat);
        EXPECT_NE(onBeat.rgb, between.rgb);
        EXPECT_EQ(between.rgb, control.rgb);
    }
}
